#pragma once

#include "platform/prefs/PlistValue.h"

#include <optional>
#include <string_view>

namespace Plist {

// The binary form ("bplist00"). Every offset, length, object reference and the trailer are
// checked against the file; an object that refers back to itself, directly or not, makes the
// file unreadable, as do the limits of PlistValue.h and text the XML form cannot carry. Sets,
// nulls and the later string forms have no place in a preference file or an Info.plist and
// are refused too. A UID (keyed archives) reads as the dictionary the XML form writes for it,
// { "CF$UID" = n }. Of two equal keys in one dictionary the later wins.
std::optional<PlistValue> parseBinary(std::string_view bytes);

} // namespace Plist

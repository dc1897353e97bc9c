#pragma once

#include "platform/prefs/PlistValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace Plist {

// The XML form, read with expat: a <plist> root (or a bare value) holding dict, key, array,
// string, data (base64), date (ISO 8601, UTC), integer, real, true and false, with the
// declaration, DOCTYPE, comments, CDATA and whitespace that real files have. A file that
// declares entities, or refers to one it does not define, is refused: nothing is ever
// expanded or loaded from elsewhere. Of two equal keys in one dictionary the later wins.
std::optional<PlistValue> parseXml(std::string_view bytes);

// parseXml's two halves, for the fuzzer that holds them to each other: the fast reader of plain
// UTF-8 files, which gives up on anything else, and expat, which reads every form.
std::optional<PlistValue> parsePlainXml(std::string_view bytes);
std::optional<PlistValue> parseXmlWithExpat(std::string_view bytes);

// The XML form the store writes: keys in UTF-16 order, tabs for indentation, base64 lines of
// the usual width. nullopt when the value holds text the XML form cannot carry, a date outside
// the years 0000 to 9999, or nesting deeper than any reader accepts.
std::optional<std::string> toXml(const PlistValue &value);

} // namespace Plist

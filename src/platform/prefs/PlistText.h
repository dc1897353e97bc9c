#pragma once

#include "platform/prefs/PlistValue.h"

#include <optional>
#include <string>
#include <string_view>

// The old-style property-list text form in which the defaults tool prints values: a list as
// "(", one element a line indented four spaces with commas between, ")"; a dictionary as
// "{", "key = value;" lines, "}"; strings bare when made of ASCII letters and digits only,
// else quoted. The output is 7-bit ASCII: the caller decodes it as ASCII.
//
// Also the UTF-8 rules of property-list text.
namespace PlistText {

std::string describe(const PlistValue &value);

// A string as a bare word or a quoted, escaped one.
std::string quoted(std::string_view utf8);

// The UTF-16 form of UTF-8 text the way the program's other half decodes it: each byte of a
// malformed sequence becomes U+FFFD and a leading byte-order mark is dropped.
std::u16string toUtf16(std::string_view utf8);

// The same decoding, back in UTF-8: what an argument or a key means to the program.
std::string toValidUtf8(std::string_view bytes);

// The code points of well-formed UTF-8 (a byte-order mark included); nullopt when malformed.
std::optional<std::u32string> codePoints(std::string_view utf8);

void appendUtf8(std::string &out, char32_t cp);

// A character XML 1.0 can carry.
bool isXmlChar(char32_t c);

// Well-formed UTF-8 of such characters only: what a property-list string or key may hold.
bool isPlistText(std::string_view utf8);

} // namespace PlistText

#pragma once

#include <optional>
#include <plist/plist.h>
#include <string>
#include <string_view>

// The old-style property-list text form in which the defaults tool prints values: a list as
// "(", one element a line indented four spaces with commas between, ")"; a dictionary as
// "{", "key = value;" lines, "}"; strings bare when made of ASCII letters, digits and '_',
// else quoted. The output is 7-bit ASCII: the caller decodes it as ASCII.
namespace PlistText {

// The text of `node`, which lies `depthInFile` levels below the root of its file (0 for the
// root itself). nullopt when there is nothing to show: a node without a value, or one nested
// deeper than any reader of the store goes.
std::optional<std::string> describe(plist_t node, int depthInFile = 0);

// A string as a bare word or a quoted, escaped one.
std::string quoted(std::string_view utf8);

// The UTF-16 form of UTF-8 text the way the program's other half decodes it: each byte of a
// malformed sequence becomes U+FFFD and a leading byte-order mark is dropped.
std::u16string toUtf16(std::string_view utf8);

// The same decoding, back in UTF-8: what an argument or a key means to the program.
std::string toValidUtf8(std::string_view bytes);

// The code points of well-formed UTF-8 (a byte-order mark included); nullopt when malformed.
std::optional<std::u32string> codePoints(std::string_view utf8);

} // namespace PlistText

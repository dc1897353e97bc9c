#include "platform/prefs/PlistText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace PlistText {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// One well-formed UTF-8 sequence at `i` (no overlong forms, no surrogates, nothing above
// U+10FFFF): its code point and length, or a length of 0.
std::pair<char32_t, size_t> decodeAt(std::string_view s, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return {lead, 1};
    size_t length = 0;
    char32_t cp = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return {0, 0};
    }
    if (i + length > s.size())
        return {0, 0};
    for (size_t k = 1; k < length; ++k) {
        const unsigned char c = byte(i + k);
        const unsigned char min = k == 1 ? low : 0x80;
        const unsigned char max = k == 1 ? high : 0xBF;
        if (c < min || c > max)
            return {0, 0};
        cp = (cp << 6) | (c & 0x3F);
    }
    return {cp, length};
}

template <typename Sink> void decode(std::string_view s, Sink &&sink)
{
    if (s.substr(0, 3) == "\xEF\xBB\xBF")
        s.remove_prefix(3);
    for (size_t i = 0; i < s.size();) {
        const auto [cp, length] = decodeAt(s, i);
        if (length == 0) {
            sink(char32_t(kReplacement));
            ++i;
        } else {
            sink(cp);
            i += length;
        }
    }
}

// Bare strings: ASCII letters and digits only, as the system tool prints them and as scripts
// that parse its output expect; everything else, '_', '-' and '.' included, is quoted
// ("en_US", "zh-Hant").
bool printsBare(const std::u16string &s)
{
    if (s.empty())
        return false;
    return std::all_of(s.begin(), s.end(), [](char16_t u) {
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9');
    });
}

std::string quotedUtf16(const std::u16string &s)
{
    if (printsBare(s))
        return std::string(s.begin(), s.end());
    static const char kHex[] = "0123456789abcdef";
    std::string out("\"");
    for (const char16_t u : s) {
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u >= 0x20 && u < 0x7f) {
                out += char(u);
            } else {
                out += "\\U";
                for (int shift = 12; shift >= 0; shift -= 4)
                    out += kHex[(u >> shift) & 0xF];
            }
        }
    }
    out += '"';
    return out;
}

// The shortest digits that read back as the same double, laid out as "%g" would but choosing
// whichever of the plain and the exponent form is shorter (the plain one on a tie), with a
// two-digit exponent at least: 1e-04, 0.0001234, 10000, 1e+05.
std::string real(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    if (value == 0)
        return "0";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view text(buffer, size_t(result.ptr - buffer));
    const size_t e = text.find('e');
    std::string_view mantissa = text.substr(0, e);
    const bool negative = mantissa.front() == '-';
    if (negative)
        mantissa.remove_prefix(1);
    std::string digits;
    for (const char c : mantissa) {
        if (c != '.')
            digits += c;
    }
    int exponent = 0;
    std::string_view expText = text.substr(e + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    const int n = int(digits.size());
    const int point = exponent + 1; // digits before the decimal point in the plain form
    const int plainLength = point <= 0 ? 2 - point + n : (point < n ? n + 1 : point);
    const int absExponent = std::abs(exponent);
    const int exponentDigits = absExponent >= 100 ? 3 : 2;
    const int exponentLength = n + (n > 1 ? 1 : 0) + 2 + exponentDigits;

    std::string out(negative ? "-" : "");
    if (plainLength <= exponentLength) {
        if (point <= 0)
            out += "0." + std::string(size_t(-point), '0') + digits;
        else if (point < n)
            out += digits.substr(0, size_t(point)) + '.' + digits.substr(size_t(point));
        else
            out += digits + std::string(size_t(point - n), '0');
        return out;
    }
    out += digits.front();
    if (n > 1)
        out += '.' + digits.substr(1);
    out += exponent < 0 ? "e-" : "e+";
    if (absExponent < 10)
        out += '0';
    out += std::to_string(absExponent);
    return out;
}

std::string twoDigits(unsigned v)
{
    return std::string{char('0' + v / 10 % 10), char('0' + v % 10)};
}

std::string date(double seconds)
{
    // Rounded to the millisecond first, as the store's readers round it; printed to the second.
    const int64_t msecs = Plist::unixMSecs(seconds);
    const int64_t secs = msecs / 1000 - (msecs % 1000 < 0 ? 1 : 0);
    const Plist::CivilTime t = Plist::civilFromUnixSeconds(secs);
    std::string year = std::to_string(t.year);
    if (year.size() < 4)
        year.insert(0, 4 - year.size(), '0');
    return '"' + year + '-' + twoDigits(t.month) + '-' + twoDigits(t.day) + ' ' +
           twoDigits(t.hour) + ':' + twoDigits(t.minute) + ':' + twoDigits(t.second) + " +0000\"";
}

std::string data(const std::string &bytes)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out("<");
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0 && i % 4 == 0)
            out += ' ';
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    out += '>';
    return out;
}

// Appends to `out`, so that a deep value costs its printed length, not that times its depth.
void describeAt(const PlistValue &value, int level, std::string &out)
{
    const auto indent = [&](int n) { out.append(size_t(4 * n), ' '); };
    switch (value.type()) {
    case PlistValue::Type::Array: {
        const PlistValue::Array &items = value.toArray();
        out += "(\n";
        for (size_t i = 0; i < items.size(); ++i) {
            indent(level + 1);
            describeAt(items[i], level + 1, out);
            out += i + 1 < items.size() ? ",\n" : "\n";
        }
        indent(level);
        out += ')';
        return;
    }
    case PlistValue::Type::Dictionary:
        // Already in UTF-16 order of the keys.
        out += "{\n";
        for (const auto &[key, item] : value.toDictionary()) {
            indent(level + 1);
            out += quoted(key) + " = ";
            describeAt(item, level + 1, out);
            out += ";\n";
        }
        indent(level);
        out += '}';
        return;
    case PlistValue::Type::Boolean:
        out += value.toBool() ? "1" : "0";
        return;
    case PlistValue::Type::Integer:
        out += value.isUnsigned() ? std::to_string(uint64_t(value.toInteger()))
                                  : std::to_string(value.toInteger());
        return;
    case PlistValue::Type::Real:
        out += real(value.toReal());
        return;
    case PlistValue::Type::Date:
        out += date(value.toDate());
        return;
    case PlistValue::Type::Data:
        out += data(value.bytes());
        return;
    case PlistValue::Type::String:
        out += quoted(value.bytes());
        return;
    }
}

} // namespace

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

std::string describe(const PlistValue &value)
{
    std::string out;
    describeAt(value, 0, out);
    return out;
}

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool isPlistText(std::string_view utf8)
{
    for (size_t i = 0; i < utf8.size();) {
        // Most text is ASCII: printable, tab or line end.
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c >= 0x20 && c < 0x80) || c == '\t' || c == '\n' || c == '\r') {
            ++i;
            continue;
        }
        const auto [cp, length] = decodeAt(utf8, i);
        if (length == 0 || !isXmlChar(cp))
            return false;
        i += length;
    }
    return true;
}

std::string quoted(std::string_view utf8)
{
    return quotedUtf16(toUtf16(utf8));
}

std::u16string toUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    decode(utf8, [&](char32_t cp) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    });
    return out;
}

std::string toValidUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    decode(bytes, [&](char32_t cp) { appendUtf8(out, cp); });
    return out;
}

std::optional<std::u32string> codePoints(std::string_view utf8)
{
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto [cp, length] = decodeAt(utf8, i);
        if (length == 0)
            return std::nullopt;
        out += cp;
        i += length;
    }
    return out;
}

} // namespace PlistText

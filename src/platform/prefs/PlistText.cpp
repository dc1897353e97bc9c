#include "PlistText.h"

#include "PlistNode.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace PlistText {

namespace {

// Matches the nesting limit of the store's readers: deeper nodes do not exist for them.
constexpr int kMaxDepth = 512;

// Property-list dates count seconds from 2001-01-01T00:00:00Z.
constexpr int64_t kReferenceDateMSecs = 978307200000LL;

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

// Bare strings: ASCII letters, digits and '_'. The underscore stays bare so that a code such
// as en_GB prints as the caller's language scan expects (it takes the leading letters of the
// first element); everything else, '-' and '.' included, is quoted.
bool printsBare(const std::u16string &s)
{
    if (s.empty())
        return false;
    return std::all_of(s.begin(), s.end(), [](char16_t u) {
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
               u == '_';
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

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(int64_t days, int64_t &year, unsigned &month, unsigned &day)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = unsigned(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = int64_t(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

std::string twoDigits(unsigned v)
{
    return std::string{char('0' + v / 10 % 10), char('0' + v % 10)};
}

// To the millisecond, as the store's readers round it; printed in UTC to the second.
std::string date(plist_t node)
{
    int32_t sec = 0;
    int32_t usec = 0;
    plist_get_date_val(node, &sec, &usec);
    // libplist splits the stored seconds into a truncated whole part and the magnitude of the
    // fraction, so the fraction of a date before 2001 counts backwards.
    const int64_t fraction = (int64_t(usec) + 500) / 1000;
    const int64_t msecs =
        kReferenceDateMSecs + int64_t(sec) * 1000 + (sec < 0 ? -fraction : fraction);
    const int64_t secs = floorDiv(msecs, 1000);
    const int64_t days = floorDiv(secs, 86400);
    const unsigned ofDay = unsigned(secs - days * 86400);
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    std::string y = std::to_string(year);
    if (y.size() < 4)
        y.insert(0, 4 - y.size(), '0');
    return '"' + y + '-' + twoDigits(month) + '-' + twoDigits(day) + ' ' + twoDigits(ofDay / 3600) +
           ':' + twoDigits(ofDay / 60 % 60) + ':' + twoDigits(ofDay % 60) + " +0000\"";
}

std::string data(plist_t node)
{
    static const char kHex[] = "0123456789abcdef";
    uint64_t length = 0;
    const char *bytes = plist_get_data_ptr(node, &length);
    std::string out("<");
    for (uint64_t i = 0; bytes && i < length; ++i) {
        if (i > 0 && i % 4 == 0)
            out += ' ';
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    out += '>';
    return out;
}

std::optional<std::string> describeAt(plist_t node, int depth, int level)
{
    if (!node || depth > kMaxDepth)
        return std::nullopt;
    const std::string indent(size_t(4 * level), ' ');
    const std::string inner(size_t(4 * (level + 1)), ' ');
    switch (plist_get_node_type(node)) {
    case PLIST_ARRAY: {
        std::vector<std::string> items;
        const uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i) {
            if (auto item = describeAt(plist_array_get_item(node, i), depth + 1, level + 1))
                items.push_back(std::move(*item));
        }
        std::string out("(\n");
        for (size_t i = 0; i < items.size(); ++i)
            out += inner + items[i] + (i + 1 < items.size() ? ",\n" : "\n");
        return out + indent + ')';
    }
    case PLIST_DICT: {
        std::vector<std::pair<std::u16string, std::string>> entries;
        PlistNode::forEachEntry(node, [&](const char *key, plist_t value) {
            if (auto item = describeAt(value, depth + 1, level + 1))
                entries.emplace_back(toUtf16(key), std::move(*item));
        });
        std::stable_sort(entries.begin(), entries.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        std::string out("{\n");
        for (const auto &[key, value] : entries)
            out += inner + quotedUtf16(key) + " = " + value + ";\n";
        return out + indent + '}';
    }
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return std::string(value ? "1" : "0");
    }
    case PLIST_UINT:
    case PLIST_UID: {
        // Negative integers come back two's-complement encoded.
        uint64_t value = 0;
        if (plist_get_node_type(node) == PLIST_UINT)
            plist_get_uint_val(node, &value);
        else
            plist_get_uid_val(node, &value);
        return std::to_string(static_cast<int64_t>(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return real(value);
    }
    case PLIST_DATE:
        return date(node);
    case PLIST_DATA:
        return data(node);
    case PLIST_STRING:
    case PLIST_KEY: {
        uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        return quoted(text ? std::string_view(text, length) : std::string_view());
    }
    case PLIST_NONE:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> describe(plist_t node, int depthInFile)
{
    return describeAt(node, depthInFile, 0);
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

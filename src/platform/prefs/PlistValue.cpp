#include "platform/prefs/PlistValue.h"

#include "platform/prefs/PlistBinary.h"
#include "platform/prefs/PlistXml.h"

#include <cmath>
#include <cstring>

namespace {

// UTF-8 sorts by code point when compared byte by byte; UTF-16 differs only in putting the
// characters above U+FFFF (lead bytes F0 to F4) before U+E000 to U+FFFF (lead bytes EE and
// EF). Moving those two lead bytes above the others gives UTF-16 order; the mapping is one to
// one, so any byte strings still compare equal only when they are equal.
unsigned char utf16Rank(unsigned char byte)
{
    if (byte == 0xEE || byte == 0xEF)
        return byte + 0x10;
    if (byte >= 0xF0)
        return byte - 0x02;
    return byte;
}

bool sameBits(double a, double b)
{
    if (std::isnan(a) && std::isnan(b))
        return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Property-list dates count from 2001-01-01T00:00:00Z.
constexpr int64_t kReferenceDateMSecs = 978307200000LL;
// 0000-01-01T00:00:00Z and 10000-01-01T00:00:00Z, in milliseconds since 1970.
constexpr int64_t kFirstDateMSecs = -62167219200000LL;
constexpr int64_t kEndDateMSecs = 253402300800000LL;

int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

bool PlistValue::KeyOrder::operator()(const std::string &a, const std::string &b) const
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return utf16Rank(x) < utf16Rank(y);
    }
    return a.size() < b.size();
}

PlistValue PlistValue::boolean(bool value)
{
    PlistValue v;
    v.m_value = value;
    return v;
}

PlistValue PlistValue::integer(int64_t value)
{
    PlistValue v;
    v.m_value = Integer{value, false};
    return v;
}

PlistValue PlistValue::unsignedInteger(uint64_t value)
{
    PlistValue v;
    // Only values a signed integer cannot hold are marked, so that each number has one form.
    v.m_value = Integer{int64_t(value), value > uint64_t(INT64_MAX)};
    return v;
}

PlistValue PlistValue::real(double value)
{
    PlistValue v;
    v.m_value = value;
    return v;
}

PlistValue PlistValue::string(std::string utf8)
{
    PlistValue v;
    v.m_value = Text{std::move(utf8)};
    return v;
}

PlistValue PlistValue::data(std::string bytes)
{
    PlistValue v;
    v.m_value = Data{std::move(bytes)};
    return v;
}

PlistValue PlistValue::date(double seconds)
{
    PlistValue v;
    v.m_value = Date{seconds};
    return v;
}

PlistValue PlistValue::array(Array items)
{
    PlistValue v;
    v.m_value = std::move(items);
    return v;
}

PlistValue PlistValue::dictionary(Dictionary entries)
{
    PlistValue v;
    v.m_value = std::move(entries);
    return v;
}

const std::string &PlistValue::bytes() const
{
    if (const Text *text = std::get_if<Text>(&m_value))
        return text->bytes;
    return std::get<Data>(m_value).bytes;
}

bool operator==(const PlistValue &a, const PlistValue &b)
{
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
    case PlistValue::Type::Boolean:
        return a.toBool() == b.toBool();
    case PlistValue::Type::Integer:
        return a.toInteger() == b.toInteger() && a.isUnsigned() == b.isUnsigned();
    case PlistValue::Type::Real:
        return sameBits(a.toReal(), b.toReal());
    case PlistValue::Type::Date:
        return sameBits(a.toDate(), b.toDate());
    case PlistValue::Type::String:
    case PlistValue::Type::Data:
        return a.bytes() == b.bytes();
    case PlistValue::Type::Array:
        return a.toArray() == b.toArray();
    case PlistValue::Type::Dictionary:
        return a.toDictionary() == b.toDictionary();
    }
    return false;
}

namespace Plist {

std::optional<PlistValue> parse(std::string_view bytes)
{
    if (bytes.substr(0, 8) == "bplist00")
        return parseBinary(bytes);
    return parseXml(bytes);
}

bool isDateInRange(double seconds)
{
    // The first test also keeps the rounding below within 64 bits.
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e13)
        return false;
    const int64_t msecs = unixMSecs(seconds);
    return msecs >= kFirstDateMSecs && msecs < kEndDateMSecs;
}

int64_t unixMSecs(double seconds)
{
    return std::llround(seconds * 1000.0) + kReferenceDateMSecs;
}

int64_t unixSecondsFloor(double seconds)
{
    return int64_t(std::floor(seconds)) + kReferenceDateMSecs / 1000;
}

double secondsFromUnixMSecs(int64_t msecs)
{
    return double(msecs - kReferenceDateMSecs) / 1000.0;
}

CivilTime civilFromUnixSeconds(int64_t seconds)
{
    const int64_t days = floorDiv(seconds, 86400);
    const auto ofDay = unsigned(seconds - days * 86400);
    // Days since 1970-01-01 to a civil date.
    const int64_t shifted = days + 719468;
    const int64_t era = floorDiv(shifted, 146097);
    const auto doe = unsigned(shifted - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    CivilTime t;
    t.day = doy - (153 * mp + 2) / 5 + 1;
    t.month = mp < 10 ? mp + 3 : mp - 9;
    t.year = int64_t(yoe) + era * 400 + (t.month <= 2 ? 1 : 0);
    t.hour = ofDay / 3600;
    t.minute = ofDay / 60 % 60;
    t.second = ofDay % 60;
    return t;
}

std::optional<int64_t> unixSecondsFromCivil(const CivilTime &t)
{
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < -1000000 || t.year > 1000000 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    if (t.day > kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0))
        return std::nullopt;
    // A civil date to days since 1970-01-01.
    const int64_t y = t.year - (t.month <= 2 ? 1 : 0);
    const int64_t era = floorDiv(y, 400);
    const auto yoe = unsigned(y - era * 400);
    const unsigned mp = t.month > 2 ? t.month - 3 : t.month + 9;
    const unsigned doy = (153 * mp + 2) / 5 + t.day - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t days = era * 146097 + int64_t(doe) - 719468;
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

} // namespace Plist

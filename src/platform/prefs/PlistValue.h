#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// One value of a property list, owned outright: copies are deep and keep every byte.
//
// Text (strings and keys) is UTF-8 made only of characters the XML form can carry: no U+0000,
// no other C0 control but tab, line feed and carriage return, no U+FFFE or U+FFFF. The readers
// refuse a file holding anything else, and the XML writer refuses such a value, so whatever is
// read can be written back and read again unchanged.
class PlistValue {
public:
    enum class Type { Boolean, Integer, Real, String, Data, Date, Array, Dictionary };

    // Dictionary keys in UTF-16 code-unit order, the order the XML form is written in, so that
    // equal contents give equal bytes whoever wrote them.
    struct KeyOrder {
        bool operator()(const std::string &a, const std::string &b) const;
    };
    using Array = std::vector<PlistValue>;
    using Dictionary = std::map<std::string, PlistValue, KeyOrder>;

    PlistValue() = default; // false
    static PlistValue boolean(bool value);
    static PlistValue integer(int64_t value);
    // Values above INT64_MAX exist in the binary form (16-byte integers) and in XML.
    static PlistValue unsignedInteger(uint64_t value);
    static PlistValue real(double value);
    static PlistValue string(std::string utf8);
    static PlistValue data(std::string bytes);
    // Seconds since 2001-01-01T00:00:00Z.
    static PlistValue date(double seconds);
    static PlistValue array(Array items = {});
    static PlistValue dictionary(Dictionary entries = {});

    Type type() const { return Type(m_value.index()); }
    bool isDictionary() const { return type() == Type::Dictionary; }

    bool toBool() const { return std::get<bool>(m_value); }
    // The integer's 64 bits; isUnsigned() tells whether they count from 0 to 2^64 - 1.
    int64_t toInteger() const { return std::get<Integer>(m_value).bits; }
    bool isUnsigned() const { return std::get<Integer>(m_value).isUnsigned; }
    double toReal() const { return std::get<double>(m_value); }
    double toDate() const { return std::get<Date>(m_value).seconds; }
    // The UTF-8 text of a string, or the bytes of data.
    const std::string &bytes() const;
    const Array &toArray() const { return std::get<Array>(m_value); }
    Array &toArray() { return std::get<Array>(m_value); }
    const Dictionary &toDictionary() const { return std::get<Dictionary>(m_value); }
    Dictionary &toDictionary() { return std::get<Dictionary>(m_value); }

    // Same type and contents; reals and dates compare by bit pattern (any NaN equals any NaN),
    // so equal values always write the same bytes.
    friend bool operator==(const PlistValue &a, const PlistValue &b);

private:
    struct Integer {
        int64_t bits = 0;
        bool isUnsigned = false;
    };
    struct Text {
        std::string bytes;
    };
    struct Data {
        std::string bytes;
    };
    struct Date {
        double seconds = 0;
    };
    // In the order of Type.
    std::variant<bool, Integer, double, Text, Data, Date, Array, Dictionary> m_value;
};

namespace Plist {

// What a reader builds at most: deep enough and large enough for any real file, while a
// hostile one (deep nesting, a binary object graph that repeats one object many times) cannot
// exhaust the stack, the memory or the time of the program, nor make the XML written back
// from it (indented by depth) grow out of bounds.
constexpr int kMaxDepth = 512;                 // levels below the root value
constexpr size_t kMaxWeight = size_t(1) << 20; // values, each counted 1 + its depth times
constexpr size_t kMaxBytes = size_t(16) << 20; // bytes of text and data in one file

// What a reader has built so far; false once a limit is passed.
class Budget {
public:
    bool takeValue(int depth)
    {
        m_weight += size_t(depth) + 1;
        return m_weight <= kMaxWeight;
    }
    bool takeBytes(size_t n)
    {
        if (n > kMaxBytes - m_bytes)
            return false;
        m_bytes += n;
        return true;
    }

private:
    size_t m_weight = 0;
    size_t m_bytes = 0;
};

// A binary ("bplist00") or XML property list; nullopt when the bytes are neither, or break
// one of the rules above. A leading UTF-8 byte-order mark before XML is allowed.
std::optional<PlistValue> parse(std::string_view bytes);

// Dates: seconds since 2001 to and from milliseconds since 1970, rounded to the millisecond as
// every reader of the store sees them. Only dates of the years 0000 to 9999 exist (the ones
// the XML form can write).
bool isDateInRange(double seconds);
int64_t unixMSecs(double seconds);        // the date must be in range
int64_t unixSecondsFloor(double seconds); // the second the date falls in; the same
double secondsFromUnixMSecs(int64_t msecs);

// A civil time in UTC (proleptic Gregorian).
struct CivilTime {
    int64_t year = 0;
    unsigned month = 1, day = 1, hour = 0, minute = 0, second = 0;
};
CivilTime civilFromUnixSeconds(int64_t seconds);
// nullopt for a field out of range (month 13, 31 April, second 60...).
std::optional<int64_t> unixSecondsFromCivil(const CivilTime &time);

} // namespace Plist

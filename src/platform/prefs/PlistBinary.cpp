#include "platform/prefs/PlistBinary.h"

#include "platform/prefs/PlistText.h"

#include <cstring>
#include <vector>

namespace Plist {

namespace {

constexpr size_t kHeaderSize = 8;
constexpr size_t kTrailerSize = 32;

class Reader {
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    std::optional<PlistValue> read()
    {
        if (!readTrailer())
            return std::nullopt;
        m_onPath.assign(size_t(m_count), false);
        return object(m_top, 0);
    }

private:
    uint64_t bigEndian(size_t pos, size_t n) const
    {
        uint64_t value = 0;
        for (size_t i = 0; i < n; ++i)
            value = (value << 8) | static_cast<unsigned char>(m_bytes[pos + i]);
        return value;
    }

    bool readTrailer()
    {
        if (m_bytes.size() < kHeaderSize + 1 + 1 + kTrailerSize)
            return false;
        const size_t trailer = m_bytes.size() - kTrailerSize;
        m_offsetSize = static_cast<unsigned char>(m_bytes[trailer + 6]);
        m_refSize = static_cast<unsigned char>(m_bytes[trailer + 7]);
        m_count = bigEndian(trailer + 8, 8);
        m_top = bigEndian(trailer + 16, 8);
        m_tableOffset = bigEndian(trailer + 24, 8);
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8)
            return false;
        if (m_count == 0 || m_top >= m_count)
            return false;
        // Objects lie between the header and the offset table, the table before the trailer.
        if (m_tableOffset <= kHeaderSize || m_tableOffset > trailer)
            return false;
        return m_count <= (trailer - m_tableOffset) / m_offsetSize;
    }

    // Where object `ref` starts; 0 when that is outside the object area.
    size_t offsetOf(uint64_t ref) const
    {
        const uint64_t offset = bigEndian(size_t(m_tableOffset + ref * m_offsetSize), m_offsetSize);
        return offset >= kHeaderSize && offset < m_tableOffset ? size_t(offset) : 0;
    }

    bool has(size_t pos, uint64_t n) const
    {
        return pos <= m_tableOffset && n <= m_tableOffset - pos;
    }

    // The element count of the object whose marker is at `pos`; `pos` moves past it.
    std::optional<uint64_t> count(size_t &pos)
    {
        const unsigned low = static_cast<unsigned char>(m_bytes[pos]) & 0x0F;
        ++pos;
        if (low != 0x0F)
            return low;
        // A longer count follows as an integer object of 1, 2, 4 or 8 bytes.
        if (!has(pos, 1))
            return std::nullopt;
        const auto marker = static_cast<unsigned char>(m_bytes[pos]);
        if ((marker & 0xF0) != 0x10 || (marker & 0x0F) > 3)
            return std::nullopt;
        const size_t n = size_t(1) << (marker & 0x0F);
        ++pos;
        if (!has(pos, n))
            return std::nullopt;
        const uint64_t value = bigEndian(pos, n);
        pos += n;
        return value;
    }

    std::optional<uint64_t> reference(size_t pos) const
    {
        const uint64_t ref = bigEndian(pos, m_refSize);
        if (ref >= m_count)
            return std::nullopt;
        return ref;
    }

    // The text of a string object, for strings and dictionary keys alike.
    std::optional<std::string> text(size_t pos)
    {
        const auto kind = static_cast<unsigned char>(m_bytes[pos]) >> 4;
        if (kind != 0x5 && kind != 0x6)
            return std::nullopt;
        const auto length = count(pos);
        if (!length)
            return std::nullopt;
        std::string out;
        if (kind == 0x5) {
            // ASCII, one byte a character.
            if (!has(pos, *length) || !m_budget.takeBytes(size_t(*length)))
                return std::nullopt;
            out.assign(m_bytes.substr(pos, size_t(*length)));
            for (const char c : out) {
                if (static_cast<unsigned char>(c) >= 0x80 || !PlistText::isXmlChar(char32_t(c)))
                    return std::nullopt;
            }
            return out;
        }
        // UTF-16, big-endian; a character never takes more bytes in UTF-8 than 1.5 times its
        // UTF-16 bytes.
        if (*length > m_tableOffset / 2 || !has(pos, *length * 2) ||
            !m_budget.takeBytes(size_t(*length * 3)))
            return std::nullopt;
        out.reserve(size_t(*length * 3));
        for (uint64_t i = 0; i < *length; ++i) {
            char32_t unit = char32_t(bigEndian(pos + size_t(2 * i), 2));
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                if (i + 1 >= *length)
                    return std::nullopt;
                const auto low = char32_t(bigEndian(pos + size_t(2 * (i + 1)), 2));
                if (low < 0xDC00 || low > 0xDFFF)
                    return std::nullopt;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                return std::nullopt;
            }
            if (!PlistText::isXmlChar(unit))
                return std::nullopt;
            PlistText::appendUtf8(out, unit);
        }
        return out;
    }

    std::optional<PlistValue> object(uint64_t ref, int depth)
    {
        if (depth > kMaxDepth || m_onPath[size_t(ref)] || !m_budget.takeValue(depth))
            return std::nullopt;
        size_t pos = offsetOf(ref);
        if (pos == 0)
            return std::nullopt;
        const auto marker = static_cast<unsigned char>(m_bytes[pos]);
        const unsigned low = marker & 0x0F;
        switch (marker >> 4) {
        case 0x0:
            if (marker == 0x08 || marker == 0x09)
                return PlistValue::boolean(marker == 0x09);
            return std::nullopt;
        case 0x1:
            return integer(pos + 1, low);
        case 0x2:
        case 0x3:
            return real(pos + 1, marker);
        case 0x4: {
            const auto length = count(pos);
            if (!length || !has(pos, *length) || !m_budget.takeBytes(size_t(*length)))
                return std::nullopt;
            return PlistValue::data(std::string(m_bytes.substr(pos, size_t(*length))));
        }
        case 0x5:
        case 0x6: {
            auto s = text(pos);
            if (!s)
                return std::nullopt;
            return PlistValue::string(std::move(*s));
        }
        case 0x8: {
            // A UID of 1 to 8 bytes.
            if (low > 7 || !has(pos + 1, low + 1))
                return std::nullopt;
            PlistValue::Dictionary uid;
            uid.emplace("CF$UID", PlistValue::unsignedInteger(bigEndian(pos + 1, low + 1)));
            return PlistValue::dictionary(std::move(uid));
        }
        case 0xA:
        case 0xD:
            return container(pos, marker >> 4 == 0xD, ref, depth);
        default:
            return std::nullopt;
        }
    }

    std::optional<PlistValue> integer(size_t pos, unsigned sizeLog2)
    {
        if (sizeLog2 > 4)
            return std::nullopt;
        const size_t n = size_t(1) << sizeLog2;
        if (!has(pos, n))
            return std::nullopt;
        if (n < 8)
            return PlistValue::integer(int64_t(bigEndian(pos, n)));
        if (n == 8)
            return PlistValue::integer(int64_t(bigEndian(pos, 8)));
        // 16 bytes: an unsigned value above INT64_MAX, or a sign-extended negative one.
        const uint64_t high = bigEndian(pos, 8);
        const uint64_t value = bigEndian(pos + 8, 8);
        if (high == 0)
            return PlistValue::unsignedInteger(value);
        if (high == UINT64_MAX && int64_t(value) < 0)
            return PlistValue::integer(int64_t(value));
        return std::nullopt;
    }

    std::optional<PlistValue> real(size_t pos, unsigned char marker)
    {
        double value = 0;
        if (marker == 0x22) {
            if (!has(pos, 4))
                return std::nullopt;
            const auto bits = uint32_t(bigEndian(pos, 4));
            float f = 0;
            std::memcpy(&f, &bits, sizeof f);
            value = f;
        } else if (marker == 0x23 || marker == 0x33) {
            if (!has(pos, 8))
                return std::nullopt;
            const uint64_t bits = bigEndian(pos, 8);
            std::memcpy(&value, &bits, sizeof value);
        } else {
            return std::nullopt;
        }
        if (marker != 0x33)
            return PlistValue::real(value);
        if (!isDateInRange(value))
            return std::nullopt;
        return PlistValue::date(value);
    }

    std::optional<PlistValue> container(size_t pos, bool isDictionary, uint64_t ref, int depth)
    {
        const auto length = count(pos);
        const uint64_t refs = isDictionary ? 2 : 1;
        if (!length || *length > m_tableOffset / (refs * m_refSize) ||
            !has(pos, *length * refs * m_refSize))
            return std::nullopt;
        m_onPath[size_t(ref)] = true;
        std::optional<PlistValue> result;
        if (isDictionary) {
            PlistValue::Dictionary entries;
            const size_t values = pos + size_t(*length) * m_refSize;
            uint64_t i = 0;
            for (; i < *length; ++i) {
                const auto keyRef = reference(pos + size_t(i) * m_refSize);
                const auto valueRef = reference(values + size_t(i) * m_refSize);
                if (!keyRef || !valueRef || !m_budget.takeValue(depth + 1))
                    break;
                const size_t keyPos = offsetOf(*keyRef);
                std::optional<std::string> key = keyPos ? text(keyPos) : std::nullopt;
                std::optional<PlistValue> value = key ? object(*valueRef, depth + 1) : std::nullopt;
                if (!value)
                    break;
                entries.insert_or_assign(std::move(*key), std::move(*value));
            }
            if (i == *length)
                result = PlistValue::dictionary(std::move(entries));
        } else {
            PlistValue::Array items;
            uint64_t i = 0;
            for (; i < *length; ++i) {
                const auto itemRef = reference(pos + size_t(i) * m_refSize);
                std::optional<PlistValue> item =
                    itemRef ? object(*itemRef, depth + 1) : std::nullopt;
                if (!item)
                    break;
                items.push_back(std::move(*item));
            }
            if (i == *length)
                result = PlistValue::array(std::move(items));
        }
        m_onPath[size_t(ref)] = false;
        return result;
    }

    std::string_view m_bytes;
    unsigned m_offsetSize = 0;
    unsigned m_refSize = 0;
    uint64_t m_count = 0;
    uint64_t m_top = 0;
    uint64_t m_tableOffset = 0;
    // The containers being read, from the root down: a reference to one of them is a cycle.
    std::vector<bool> m_onPath;
    Budget m_budget;
};

} // namespace

std::optional<PlistValue> parseBinary(std::string_view bytes)
{
    if (bytes.substr(0, 8) != "bplist00")
        return std::nullopt;
    return Reader(bytes).read();
}

} // namespace Plist

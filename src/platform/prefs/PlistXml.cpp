#include "PlistXml.h"

#include "PlistText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <expat.h>
#include <memory>
#include <vector>

namespace Plist {

namespace {

const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isXmlSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isXmlSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Trims a number's text and takes its sign off; true for a minus. A second sign is left for
// the caller to refuse.
bool takeSign(std::string_view &text)
{
    text = trimmed(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    return negative;
}

// Decimal, or hexadecimal after "0x"; from INT64_MIN up to UINT64_MAX.
std::optional<PlistValue> integerFromText(std::string_view text)
{
    const bool negative = takeSign(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    uint64_t magnitude = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (!negative)
        return PlistValue::unsignedInteger(magnitude);
    if (magnitude > uint64_t(INT64_MAX) + 1)
        return std::nullopt;
    return PlistValue::integer(int64_t(0 - magnitude));
}

std::optional<PlistValue> realFromText(std::string_view text)
{
    const bool negative = takeSign(text);
    // A second sign would be taken by from_chars.
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Out of range is a number all the same: from_chars leaves `value` alone then.
    if (error == std::errc::result_out_of_range)
        return std::nullopt;
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return PlistValue::real(negative ? -value : value);
}

// YYYY-MM-DDTHH:MM:SS, an optional fraction, then Z.
std::optional<PlistValue> dateFromText(std::string_view text)
{
    text = trimmed(text);
    const auto number = [&](size_t at, size_t digits, unsigned &out) {
        if (at + digits > text.size())
            return false;
        out = 0;
        for (size_t i = at; i < at + digits; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            out = out * 10 + unsigned(text[i] - '0');
        }
        return true;
    };
    unsigned year = 0;
    CivilTime t;
    if (text.size() < 20 || !number(0, 4, year) || text[4] != '-' || !number(5, 2, t.month) ||
        text[7] != '-' || !number(8, 2, t.day) || text[10] != 'T' || !number(11, 2, t.hour) ||
        text[13] != ':' || !number(14, 2, t.minute) || text[16] != ':' ||
        !number(17, 2, t.second) || text.back() != 'Z')
        return std::nullopt;
    t.year = year;
    double fraction = 0;
    std::string_view rest = text.substr(19, text.size() - 20);
    if (!rest.empty()) {
        if (rest.size() < 2 || rest.front() != '.')
            return std::nullopt;
        double scale = 0.1;
        for (const char c : rest.substr(1)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            fraction += (c - '0') * scale;
            scale /= 10;
        }
    }
    const auto seconds = unixSecondsFromCivil(t);
    if (!seconds)
        return std::nullopt;
    const double value = secondsFromUnixMSecs(*seconds * 1000) + fraction;
    if (!isDateInRange(value))
        return std::nullopt;
    return PlistValue::date(value);
}

std::optional<PlistValue> dataFromText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3);
    uint32_t bits = 0;
    int pending = 0;
    int padding = 0;
    for (const char c : text) {
        if (isXmlSpace(c))
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const char *at = std::strchr(kBase64, c);
        // Nothing may follow the padding.
        if (c == '\0' || !at || padding > 0)
            return std::nullopt;
        bits = (bits << 6) | uint32_t(at - kBase64);
        if (++pending == 4) {
            out += char(bits >> 16);
            out += char(bits >> 8);
            out += char(bits);
            bits = 0;
            pending = 0;
        }
    }
    // A last group of two or three characters holds one or two bytes.
    if (pending == 1 || padding > 2 || (padding > 0 && pending + padding != 4))
        return std::nullopt;
    if (pending == 2) {
        out += char(bits >> 4);
    } else if (pending == 3) {
        out += char(bits >> 10);
        out += char(bits >> 2);
    }
    return PlistValue::data(std::move(out));
}

// Builds the value from expat's events. Every element is one frame on an explicit stack, so
// nesting costs no native stack at all.
class Builder {
public:
    Builder() : m_parser(XML_ParserCreate(nullptr))
    {
        if (!m_parser)
            return;
        XML_SetUserData(m_parser, this);
        XML_SetElementHandler(m_parser, &Builder::onStart, &Builder::onEnd);
        XML_SetCharacterDataHandler(m_parser, &Builder::onText);
        // No entity is ever expanded: the predefined ones (&lt; ...) and character references
        // are all a property list needs, and a declared one is how a file makes a parser
        // expand text exponentially or read another file.
        XML_SetEntityDeclHandler(m_parser, &Builder::onEntityDecl);
        XML_SetSkippedEntityHandler(m_parser, &Builder::onSkippedEntity);
        XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    ~Builder()
    {
        if (m_parser)
            XML_ParserFree(m_parser);
    }
    Builder(const Builder &) = delete;
    Builder &operator=(const Builder &) = delete;

    std::optional<PlistValue> parse(std::string_view bytes)
    {
        if (!m_parser || bytes.empty())
            return std::nullopt;
        // expat takes int lengths.
        constexpr size_t kChunk = size_t(1) << 30;
        while (!m_failed) {
            const size_t n = std::min(bytes.size(), kChunk);
            const bool last = n == bytes.size();
            if (XML_Parse(m_parser, bytes.data(), int(n), last) != XML_STATUS_OK)
                return std::nullopt;
            if (last)
                break;
            bytes.remove_prefix(n);
        }
        if (m_failed || !m_result)
            return std::nullopt;
        return std::move(m_result);
    }

private:
    enum class Kind { Plist, Array, Dict, Key, String, Data, Date, Integer, Real, True, False };

    struct Frame {
        Kind kind;
        PlistValue value;               // the array or dictionary being filled
        std::optional<std::string> key; // a dictionary's key waiting for its value
        std::string text;               // a leaf's characters
        bool hasValue = false;          // a <plist> holds its one value
    };

    static std::optional<Kind> kindOf(const char *name)
    {
        static const std::pair<const char *, Kind> kNames[] = {
            {"plist", Kind::Plist}, {"array", Kind::Array},     {"dict", Kind::Dict},
            {"key", Kind::Key},     {"string", Kind::String},   {"data", Kind::Data},
            {"date", Kind::Date},   {"integer", Kind::Integer}, {"real", Kind::Real},
            {"true", Kind::True},   {"false", Kind::False}};
        for (const auto &[text, kind] : kNames) {
            if (std::strcmp(name, text) == 0)
                return kind;
        }
        return std::nullopt;
    }

    static bool isLeaf(Kind kind)
    {
        return kind != Kind::Plist && kind != Kind::Array && kind != Kind::Dict;
    }

    void fail()
    {
        if (!m_failed) {
            m_failed = true;
            XML_StopParser(m_parser, XML_FALSE);
        }
    }

    void start(const char *name)
    {
        const auto kind = kindOf(name);
        if (!kind || m_done) {
            fail();
            return;
        }
        if (m_stack.empty()) {
            if (*kind == Kind::Key) {
                fail();
                return;
            }
        } else {
            const Frame &parent = m_stack.back();
            bool fits = false;
            switch (parent.kind) {
            case Kind::Plist:
                fits = *kind != Kind::Plist && *kind != Kind::Key && !parent.hasValue;
                break;
            case Kind::Array:
                fits = *kind != Kind::Plist && *kind != Kind::Key;
                break;
            case Kind::Dict:
                fits = *kind == Kind::Key ? !parent.key : *kind != Kind::Plist && parent.key;
                break;
            default:
                break; // nothing nests in a leaf
            }
            if (!fits) {
                fail();
                return;
            }
        }
        if (*kind != Kind::Plist) {
            if (m_depth > kMaxDepth || !m_budget.takeValue(m_depth)) {
                fail();
                return;
            }
        }
        Frame frame{*kind, PlistValue(), std::nullopt, std::string(), false};
        if (*kind == Kind::Array) {
            frame.value = PlistValue::array();
            ++m_depth;
        } else if (*kind == Kind::Dict) {
            frame.value = PlistValue::dictionary();
            ++m_depth;
        }
        m_stack.push_back(std::move(frame));
    }

    std::optional<PlistValue> leafValue(Frame &frame)
    {
        switch (frame.kind) {
        case Kind::String:
            if (!PlistText::isPlistText(frame.text))
                return std::nullopt;
            return PlistValue::string(std::move(frame.text));
        case Kind::Data:
            return dataFromText(frame.text);
        case Kind::Date:
            return dateFromText(frame.text);
        case Kind::Integer:
            return integerFromText(frame.text);
        case Kind::Real:
            return realFromText(frame.text);
        case Kind::True:
        case Kind::False:
            if (!trimmed(frame.text).empty())
                return std::nullopt;
            return PlistValue::boolean(frame.kind == Kind::True);
        default:
            return std::nullopt;
        }
    }

    void end()
    {
        Frame frame = std::move(m_stack.back());
        m_stack.pop_back();
        std::optional<PlistValue> value;
        switch (frame.kind) {
        case Kind::Plist:
            if (!frame.hasValue)
                fail();
            m_done = true;
            return;
        case Kind::Key:
            if (!PlistText::isPlistText(frame.text)) {
                fail();
                return;
            }
            m_stack.back().key = std::move(frame.text);
            return;
        case Kind::Dict:
            if (frame.key) {
                fail(); // a key without its value
                return;
            }
            [[fallthrough]];
        case Kind::Array:
            --m_depth;
            value = std::move(frame.value);
            break;
        default:
            value = leafValue(frame);
            break;
        }
        if (!value) {
            fail();
            return;
        }
        if (m_stack.empty()) {
            m_result = std::move(value);
            m_done = true;
            return;
        }
        Frame &parent = m_stack.back();
        switch (parent.kind) {
        case Kind::Plist:
            parent.hasValue = true;
            m_result = std::move(value);
            break;
        case Kind::Array:
            parent.value.toArray().push_back(std::move(*value));
            break;
        case Kind::Dict:
            parent.value.toDictionary().insert_or_assign(std::move(*parent.key), std::move(*value));
            parent.key.reset();
            break;
        default:
            fail();
            break;
        }
    }

    void text(std::string_view chars)
    {
        if (m_stack.empty())
            return;
        Frame &frame = m_stack.back();
        if (isLeaf(frame.kind)) {
            if (!m_budget.takeBytes(chars.size())) {
                fail();
                return;
            }
            frame.text += chars;
            return;
        }
        // Between elements only blanks.
        for (const char c : chars) {
            if (!isXmlSpace(c)) {
                fail();
                return;
            }
        }
    }

    static void XMLCALL onStart(void *self, const XML_Char *name, const XML_Char **)
    {
        auto *builder = static_cast<Builder *>(self);
        if (!builder->m_failed)
            builder->start(name);
    }
    static void XMLCALL onEnd(void *self, const XML_Char *)
    {
        auto *builder = static_cast<Builder *>(self);
        if (!builder->m_failed)
            builder->end();
    }
    static void XMLCALL onText(void *self, const XML_Char *chars, int length)
    {
        auto *builder = static_cast<Builder *>(self);
        if (!builder->m_failed)
            builder->text(std::string_view(chars, size_t(length)));
    }
    static void XMLCALL onEntityDecl(void *self, const XML_Char *, int, const XML_Char *, int,
                                     const XML_Char *, const XML_Char *, const XML_Char *,
                                     const XML_Char *)
    {
        static_cast<Builder *>(self)->fail();
    }
    static void XMLCALL onSkippedEntity(void *self, const XML_Char *, int)
    {
        static_cast<Builder *>(self)->fail();
    }

    XML_Parser m_parser;
    std::vector<Frame> m_stack;
    std::optional<PlistValue> m_result;
    int m_depth = 0; // open arrays and dictionaries
    bool m_failed = false;
    bool m_done = false; // the root has ended: nothing else may start
    Budget m_budget;
};

class Writer {
public:
    bool value(const PlistValue &v, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        const std::string indent(size_t(depth), '\t');
        m_out += indent;
        switch (v.type()) {
        case PlistValue::Type::Dictionary: {
            const PlistValue::Dictionary &entries = v.toDictionary();
            if (entries.empty()) {
                m_out += "<dict/>\n";
                return true;
            }
            m_out += "<dict>\n";
            for (const auto &[key, item] : entries) {
                m_out += indent;
                m_out += "\t<key>";
                if (!text(key))
                    return false;
                m_out += "</key>\n";
                if (!value(item, depth + 1))
                    return false;
            }
            m_out += indent + "</dict>\n";
            return true;
        }
        case PlistValue::Type::Array: {
            const PlistValue::Array &items = v.toArray();
            if (items.empty()) {
                m_out += "<array/>\n";
                return true;
            }
            m_out += "<array>\n";
            for (const PlistValue &item : items) {
                if (!value(item, depth + 1))
                    return false;
            }
            m_out += indent + "</array>\n";
            return true;
        }
        case PlistValue::Type::String:
            m_out += "<string>";
            if (!text(v.bytes()))
                return false;
            m_out += "</string>\n";
            return true;
        case PlistValue::Type::Data:
            data(v.bytes(), depth);
            m_out += indent + "</data>\n";
            return true;
        case PlistValue::Type::Boolean:
            m_out += v.toBool() ? "<true/>\n" : "<false/>\n";
            return true;
        case PlistValue::Type::Integer:
            m_out += "<integer>";
            m_out += v.isUnsigned() ? std::to_string(uint64_t(v.toInteger()))
                                    : std::to_string(v.toInteger());
            m_out += "</integer>\n";
            return true;
        case PlistValue::Type::Real:
            m_out += "<real>" + real(v.toReal()) + "</real>\n";
            return true;
        case PlistValue::Type::Date:
            if (!isDateInRange(v.toDate()))
                return false;
            m_out += "<date>" + date(v.toDate()) + "</date>\n";
            return true;
        }
        return false;
    }

    std::string take() { return std::move(m_out); }

private:
    bool text(std::string_view utf8)
    {
        if (!PlistText::isPlistText(utf8))
            return false;
        for (const char c : utf8) {
            switch (c) {
            case '&':
                m_out += "&amp;";
                break;
            case '<':
                m_out += "&lt;";
                break;
            case '>':
                m_out += "&gt;";
                break;
            case '\r':
                // Written as is, a reader would take it for a line end and make it '\n'.
                m_out += "&#13;";
                break;
            default:
                m_out += c;
            }
        }
        return true;
    }

    // Lines of base64 that end near column 76 with tabs counted as 8, at most 8 tabs in.
    void data(const std::string &bytes, int depth)
    {
        m_out += "<data>\n";
        const int tabs = std::min(depth, 8);
        const size_t width = size_t(76 - 8 * tabs);
        std::string line;
        const auto flush = [&] {
            m_out += std::string(size_t(tabs), '\t') + line + '\n';
            line.clear();
        };
        for (size_t i = 0; i < bytes.size(); i += 3) {
            uint32_t bits = uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
            const size_t n = std::min<size_t>(3, bytes.size() - i);
            if (n > 1)
                bits |= uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
            if (n > 2)
                bits |= uint32_t(static_cast<unsigned char>(bytes[i + 2]));
            line += kBase64[(bits >> 18) & 0x3F];
            line += kBase64[(bits >> 12) & 0x3F];
            line += n > 1 ? kBase64[(bits >> 6) & 0x3F] : '=';
            line += n > 2 ? kBase64[bits & 0x3F] : '=';
            if (line.size() >= width)
                flush();
        }
        if (!line.empty())
            flush();
    }

    // The shortest form printf's "%.17g" gives, whatever the process's locale.
    static std::string real(double value)
    {
        if (std::isnan(value))
            return "nan";
        if (std::isinf(value))
            return value < 0 ? "-infinity" : "+infinity";
        char buffer[64];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
        return std::string(buffer, result.ptr);
    }

    static std::string date(double seconds)
    {
        const CivilTime t = civilFromUnixSeconds(unixSecondsFloor(seconds));
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02u:%02u:%02uZ",
                      static_cast<long long>(t.year), t.month, t.day, t.hour, t.minute, t.second);
        return buffer;
    }

    std::string m_out;
};

} // namespace

std::optional<PlistValue> parseXml(std::string_view bytes)
{
    return Builder().parse(bytes);
}

std::optional<std::string> toXml(const PlistValue &value)
{
    Writer writer;
    if (!writer.value(value, 0))
        return std::nullopt;
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           writer.take() + "</plist>\n";
}

} // namespace Plist

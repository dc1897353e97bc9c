#include "platform/prefs/PlistXml.h"

#include "platform/prefs/PlistText.h"

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

// Builds the value from a reader's events: start, characters, end. Every element is one frame
// on an explicit stack, so nesting costs no native stack at all.
class Builder {
public:
    // `textChecked`: the reader hands over only text it has already found to be plist text.
    explicit Builder(bool textChecked = false) : m_textChecked(textChecked) {}

    bool failed() const { return m_failed; }

    std::optional<PlistValue> result()
    {
        if (m_failed || !m_result)
            return std::nullopt;
        return std::move(m_result);
    }

    void start(std::string_view name)
    {
        if (!m_failed)
            open(name);
    }
    void end()
    {
        if (!m_failed)
            close();
    }
    void text(std::string_view chars)
    {
        if (!m_failed)
            characters(chars);
    }
    void fail() { m_failed = true; }

private:
    enum class Kind { Plist, Array, Dict, Key, String, Data, Date, Integer, Real, True, False };

    struct Frame {
        Kind kind;
        PlistValue value;               // the array or dictionary being filled
        std::optional<std::string> key; // a dictionary's key waiting for its value
        std::string text;               // a leaf's characters
        bool hasValue = false;          // a <plist> holds its one value
    };

    static std::optional<Kind> kindOf(std::string_view name)
    {
        static constexpr std::pair<std::string_view, Kind> kNames[] = {
            {"plist", Kind::Plist}, {"array", Kind::Array},     {"dict", Kind::Dict},
            {"key", Kind::Key},     {"string", Kind::String},   {"data", Kind::Data},
            {"date", Kind::Date},   {"integer", Kind::Integer}, {"real", Kind::Real},
            {"true", Kind::True},   {"false", Kind::False}};
        for (const auto &[text, kind] : kNames) {
            if (name == text)
                return kind;
        }
        return std::nullopt;
    }

    static bool isLeaf(Kind kind)
    {
        return kind != Kind::Plist && kind != Kind::Array && kind != Kind::Dict;
    }

    void open(std::string_view name)
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
            if (!m_textChecked && !PlistText::isPlistText(frame.text))
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

    void close()
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
            if (!m_textChecked && !PlistText::isPlistText(frame.text)) {
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

    void characters(std::string_view chars)
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

    std::vector<Frame> m_stack;
    std::optional<PlistValue> m_result;
    int m_depth = 0; // open arrays and dictionaries
    const bool m_textChecked;
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

// expat reads any XML: other encodings, comments, CDATA, processing instructions. No entity is
// ever expanded: the predefined ones (&lt; ...) and character references are all a property
// list needs, and a declared one is how a file makes a parser expand text exponentially or read
// another file.
class ExpatReader {
public:
    explicit ExpatReader(Builder &builder) : m_builder(builder), m_parser(XML_ParserCreate(nullptr))
    {
        if (!m_parser)
            return;
        XML_SetUserData(m_parser, this);
        XML_SetElementHandler(m_parser, &ExpatReader::onStart, &ExpatReader::onEnd);
        XML_SetCharacterDataHandler(m_parser, &ExpatReader::onText);
        XML_SetEntityDeclHandler(m_parser, &ExpatReader::onEntityDecl);
        XML_SetSkippedEntityHandler(m_parser, &ExpatReader::onSkippedEntity);
        XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
    }
    ~ExpatReader()
    {
        if (m_parser)
            XML_ParserFree(m_parser);
    }
    ExpatReader(const ExpatReader &) = delete;
    ExpatReader &operator=(const ExpatReader &) = delete;

    bool read(std::string_view bytes)
    {
        if (!m_parser || bytes.empty())
            return false;
        // expat takes int lengths.
        constexpr size_t kChunk = size_t(1) << 30;
        while (!m_builder.failed()) {
            const size_t n = std::min(bytes.size(), kChunk);
            const bool last = n == bytes.size();
            if (XML_Parse(m_parser, bytes.data(), int(n), last) != XML_STATUS_OK)
                return false;
            if (last)
                break;
            bytes.remove_prefix(n);
        }
        return !m_builder.failed();
    }

private:
    static ExpatReader &of(void *self) { return *static_cast<ExpatReader *>(self); }
    void stopIfFailed()
    {
        if (m_builder.failed())
            XML_StopParser(m_parser, XML_FALSE);
    }
    static void XMLCALL onStart(void *self, const XML_Char *name, const XML_Char **)
    {
        of(self).m_builder.start(name);
        of(self).stopIfFailed();
    }
    static void XMLCALL onEnd(void *self, const XML_Char *)
    {
        of(self).m_builder.end();
        of(self).stopIfFailed();
    }
    static void XMLCALL onText(void *self, const XML_Char *chars, int length)
    {
        of(self).m_builder.text(std::string_view(chars, size_t(length)));
        of(self).stopIfFailed();
    }
    static void XMLCALL onEntityDecl(void *self, const XML_Char *, int, const XML_Char *, int,
                                     const XML_Char *, const XML_Char *, const XML_Char *,
                                     const XML_Char *)
    {
        of(self).m_builder.fail();
        of(self).stopIfFailed();
    }
    static void XMLCALL onSkippedEntity(void *self, const XML_Char *, int)
    {
        of(self).m_builder.fail();
        of(self).stopIfFailed();
    }

    Builder &m_builder;
    XML_Parser m_parser;
};

// The plain UTF-8 files nearly every application has are read here, at a few instructions a
// byte where expat takes some eighty: elements with at most one plain attribute, text with the
// predefined entities and character references, a DOCTYPE without internal subset. Whatever
// else it meets, or anything it cannot vouch for being well-formed, it leaves to expat, which
// stays the judge: this reader answers only where expat would answer the same (the fuzzer
// checks that).
class PlainReader {
public:
    explicit PlainReader(Builder &builder) : m_builder(builder) {}

    bool read(std::string_view in)
    {
        m_in = in;
        m_at = in.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
        if (!declaration())
            return false;
        std::vector<std::string_view> open;
        bool rootSeen = false;
        bool doctypeSeen = false;
        while (m_at < m_in.size()) {
            if (m_in[m_at] != '<') {
                size_t end = m_in.find('<', m_at);
                if (end == std::string_view::npos)
                    end = m_in.size();
                const std::string_view raw = m_in.substr(m_at, end - m_at);
                m_at = end;
                if (open.empty()) {
                    if (!trimmed(raw).empty())
                        return false;
                } else if (!characters(raw)) {
                    return false;
                }
                continue;
            }
            if (startsWith("</")) {
                m_at += 2;
                const std::string_view name = this->name();
                blanks();
                if (open.empty() || name != open.back() || !take('>'))
                    return false;
                open.pop_back();
                m_builder.end();
            } else if (startsWith("<!DOCTYPE")) {
                if (doctypeSeen || rootSeen || !doctype())
                    return false;
                doctypeSeen = true;
            } else {
                // A start tag; comments, CDATA and processing instructions go to expat.
                ++m_at;
                const std::string_view name = this->name();
                if (name.empty() || (rootSeen && open.empty()))
                    return false;
                bool empty = false;
                if (!attributes(empty))
                    return false;
                rootSeen = true;
                m_builder.start(name);
                if (empty)
                    m_builder.end();
                else
                    open.push_back(name);
            }
            if (m_builder.failed())
                return false;
        }
        return rootSeen && open.empty();
    }

private:
    bool startsWith(std::string_view s) const { return m_in.substr(m_at, s.size()) == s; }
    bool take(char c)
    {
        if (m_at >= m_in.size() || m_in[m_at] != c)
            return false;
        ++m_at;
        return true;
    }
    bool blanks()
    {
        const size_t from = m_at;
        while (m_at < m_in.size() && isXmlSpace(m_in[m_at]))
            ++m_at;
        return m_at > from;
    }
    // ASCII names only.
    std::string_view name()
    {
        const auto first = [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
        };
        const auto other = [&](char c) {
            return first(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
        };
        const size_t from = m_at;
        if (m_at < m_in.size() && first(m_in[m_at])) {
            while (m_at < m_in.size() && other(m_in[m_at]))
                ++m_at;
        }
        return m_in.substr(from, m_at - from);
    }
    // A quoted value of printable ASCII with nothing to expand; `allowed` narrows it further.
    template <typename Allowed> std::optional<std::string_view> literal(Allowed allowed)
    {
        if (m_at >= m_in.size() || (m_in[m_at] != '"' && m_in[m_at] != '\''))
            return std::nullopt;
        const char quote = m_in[m_at++];
        const size_t from = m_at;
        while (m_at < m_in.size() && m_in[m_at] != quote) {
            const char c = m_in[m_at++];
            if (c < 0x20 || c > 0x7e || c == '<' || c == '&' || !allowed(c))
                return std::nullopt;
        }
        if (!take(quote))
            return std::nullopt;
        return m_in.substr(from, m_at - from - 1);
    }
    // <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, only at the very start: the
    // version, then each of the others at most once, in that order.
    bool declaration()
    {
        if (!startsWith("<?xml"))
            return true;
        m_at += 5;
        const auto any = [](char) { return true; };
        const std::string_view names[] = {"version", "encoding", "standalone"};
        size_t next = 0;
        for (;;) {
            const bool spaced = blanks();
            if (startsWith("?>")) {
                m_at += 2;
                return next > 0;
            }
            if (!spaced)
                return false;
            const std::string_view name = this->name();
            size_t which = next;
            while (which < 3 && name != names[which])
                ++which;
            if (which == 3 || (next == 0 && which != 0))
                return false;
            blanks();
            if (!take('='))
                return false;
            blanks();
            const auto value = literal(any);
            if (!value)
                return false;
            const bool fine = which == 0   ? *value == "1.0"
                              : which == 1 ? (*value == "UTF-8" || *value == "utf-8")
                                           : (*value == "yes" || *value == "no");
            if (!fine)
                return false;
            next = which + 1;
        }
    }
    // <!DOCTYPE name (PUBLIC "id" "system" | SYSTEM "system")?>, no internal subset.
    bool doctype()
    {
        m_at += 9;
        if (!blanks() || name().empty())
            return false;
        const bool spaced = blanks();
        const auto publicId = [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   std::strchr(" -'()+,./:=?;!*#@$_%", c) != nullptr;
        };
        const auto any = [](char) { return true; };
        if (spaced && startsWith("PUBLIC")) {
            m_at += 6;
            if (!blanks() || !literal(publicId) || !blanks() || !literal(any))
                return false;
        } else if (spaced && startsWith("SYSTEM")) {
            m_at += 6;
            if (!blanks() || !literal(any))
                return false;
        }
        blanks();
        return take('>');
    }
    // At most one attribute, whose value is ignored; then > or />.
    bool attributes(bool &empty)
    {
        const auto any = [](char) { return true; };
        int count = 0;
        for (;;) {
            const bool spaced = blanks();
            if (take('>'))
                return true;
            if (startsWith("/>")) {
                m_at += 2;
                empty = true;
                return true;
            }
            if (!spaced || ++count > 1 || name().empty())
                return false;
            blanks();
            if (!take('='))
                return false;
            blanks();
            if (!literal(any))
                return false;
        }
    }
    // Text between tags: UTF-8 of XML characters, the five predefined entities and character
    // references. A carriage return (which XML turns into a line feed) and "]]>" go to expat.
    bool characters(std::string_view raw)
    {
        if (!PlistText::isPlistText(raw) || raw.find('\r') != std::string_view::npos ||
            raw.find("]]>") != std::string_view::npos)
            return false;
        const size_t amp = raw.find('&');
        if (amp == std::string_view::npos) {
            m_builder.text(raw);
            return true;
        }
        std::string out(raw.substr(0, amp));
        for (size_t i = amp; i < raw.size();) {
            if (raw[i] != '&') {
                out += raw[i++];
                continue;
            }
            const size_t semicolon = raw.find(';', i);
            if (semicolon == std::string_view::npos || semicolon - i > 12)
                return false;
            const std::string_view ref = raw.substr(i + 1, semicolon - i - 1);
            i = semicolon + 1;
            static const std::pair<std::string_view, char> kPredefined[] = {
                {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
            bool known = false;
            for (const auto &[entity, c] : kPredefined) {
                if (ref == entity) {
                    out += c;
                    known = true;
                }
            }
            if (known)
                continue;
            if (ref.size() < 2 || ref[0] != '#')
                return false;
            const bool hex = ref[1] == 'x';
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            uint32_t code = 0;
            const auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
            if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
                !PlistText::isXmlChar(code))
                return false;
            PlistText::appendUtf8(out, code);
        }
        m_builder.text(out);
        return true;
    }
    Builder &m_builder;
    std::string_view m_in;
    size_t m_at = 0;
};

} // namespace

std::optional<PlistValue> parseXmlWithExpat(std::string_view bytes)
{
    Builder builder;
    if (!ExpatReader(builder).read(bytes))
        return std::nullopt;
    return builder.result();
}

std::optional<PlistValue> parsePlainXml(std::string_view bytes)
{
    // Its text is checked as it is read, entity by entity.
    Builder builder(true);
    if (!PlainReader(builder).read(bytes))
        return std::nullopt;
    return builder.result();
}

std::optional<PlistValue> parseXml(std::string_view bytes)
{
    if (auto value = parsePlainXml(bytes))
        return value;
    return parseXmlWithExpat(bytes);
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

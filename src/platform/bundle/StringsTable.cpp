#include "platform/bundle/StringsTable.h"

#include "platform/preferences/PropertyList.h"

#include <QStringDecoder>
#include <QVariantMap>

namespace {

using Table = QHash<QString, QString>;

std::optional<QString> decode(QByteArrayView bytes)
{
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    if (bytes.startsWith("\xFF\xFE")) {
        encoding = QStringConverter::Utf16LE;
        bytes = bytes.sliced(2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = QStringConverter::Utf16BE;
        bytes = bytes.sliced(2);
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    } else if (bytes.size() >= 2 && bytes.contains('\0')) {
        // UTF-16 written without a byte-order mark: the text is ASCII-led, so the NUL half of
        // the first code unit tells the byte order.
        if (bytes[0] != '\0' && bytes[1] == '\0')
            encoding = QStringConverter::Utf16LE;
        else if (bytes[0] == '\0' && bytes[1] != '\0')
            encoding = QStringConverter::Utf16BE;
        else
            return std::nullopt;
    }
    if (encoding != QStringConverter::Utf8 && bytes.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool isUnquotedChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u == '.' || u == '-' || u == '$' || u == ':' || u == '/';
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The text form: `key = value;` pairs (or `key;`), optionally wrapped in one pair of braces.
class Parser {
public:
    explicit Parser(const QString &text) : m_text(text) {}

    std::optional<Table> parse()
    {
        Table table;
        if (!skipSpace())
            return std::nullopt;
        const bool braced = peek() == u'{';
        if (braced) {
            ++m_pos;
            if (!skipSpace())
                return std::nullopt;
        }
        for (;;) {
            if (atEnd() || (braced && peek() == u'}'))
                break;
            if (!parsePair(table))
                return std::nullopt;
            if (!skipSpace())
                return std::nullopt;
        }
        if (braced) {
            if (atEnd())
                return std::nullopt;
            ++m_pos;
            if (!skipSpace() || !atEnd())
                return std::nullopt;
        }
        return table;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    // Skips blanks and comments; false on a comment that never ends.
    bool skipSpace()
    {
        while (!atEnd()) {
            const QChar c = peek();
            if (c.isSpace()) {
                ++m_pos;
            } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == u'*') {
                const qsizetype end = m_text.indexOf(QLatin1String("*/"), m_pos + 2);
                if (end < 0)
                    return false;
                m_pos = end + 2;
            } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text.at(m_pos + 1) == u'/') {
                while (!atEnd() && peek() != u'\n' && peek() != u'\r' && peek() != QChar(0x2028))
                    ++m_pos;
            } else {
                break;
            }
        }
        return true;
    }

    bool parsePair(Table &table)
    {
        const std::optional<QString> key = parseString();
        if (!key || !skipSpace())
            return false;
        if (peek() == u';') {
            ++m_pos;
            table.insert(*key, *key);
            return true;
        }
        if (peek() != u'=')
            return false;
        ++m_pos;
        if (!skipSpace())
            return false;
        const std::optional<QString> value = parseString();
        if (!value || !skipSpace() || peek() != u';')
            return false;
        ++m_pos;
        table.insert(*key, *value);
        return true;
    }

    std::optional<QString> parseString()
    {
        if (atEnd())
            return std::nullopt;
        const QChar c = peek();
        if (c == u'"' || c == u'\'')
            return parseQuoted(c);
        const qsizetype start = m_pos;
        while (!atEnd() && isUnquotedChar(peek()))
            ++m_pos;
        if (m_pos == start)
            return std::nullopt;
        return m_text.mid(start, m_pos - start);
    }

    std::optional<QString> parseQuoted(QChar quote)
    {
        ++m_pos;
        QString out;
        for (;;) {
            if (atEnd())
                return std::nullopt;
            const QChar c = m_text.at(m_pos++);
            if (c == quote)
                return out;
            if (c != u'\\') {
                out.append(c);
                continue;
            }
            if (atEnd())
                return std::nullopt;
            const QChar e = m_text.at(m_pos++);
            switch (e.unicode()) {
            case 'n':
                out.append(u'\n');
                break;
            case 't':
                out.append(u'\t');
                break;
            case 'r':
                out.append(u'\r');
                break;
            case 'a':
                out.append(QChar(7));
                break;
            case 'b':
                out.append(QChar(8));
                break;
            case 'f':
                out.append(QChar(12));
                break;
            case 'v':
                out.append(QChar(11));
                break;
            case 'U':
            case 'u': {
                // Up to four hex digits; surrogate halves written one escape each pair up
                // naturally in UTF-16.
                int value = 0;
                int digits = 0;
                while (digits < 4 && !atEnd() && hexValue(peek()) >= 0) {
                    value = value * 16 + hexValue(peek());
                    ++m_pos;
                    ++digits;
                }
                if (digits == 0)
                    return std::nullopt;
                out.append(QChar(char16_t(value)));
                break;
            }
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7': {
                // Up to three octal digits, a byte taken as Latin-1.
                int value = e.unicode() - '0';
                int digits = 1;
                while (digits < 3 && !atEnd() && peek() >= u'0' && peek() <= u'7') {
                    value = value * 8 + (peek().unicode() - '0');
                    ++m_pos;
                    ++digits;
                }
                out.append(QChar(char16_t(value & 0xFF)));
                break;
            }
            default:
                // \" \\ \' and any other character stand for themselves.
                out.append(e);
                break;
            }
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

std::optional<Table> fromPropertyList(const QByteArray &bytes)
{
    const std::optional<QVariant> root = PropertyList::parse(bytes);
    if (!root || root->metaType().id() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = root->toMap();
    Table table;
    table.reserve(map.size());
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().metaType().id() != QMetaType::QString)
            return std::nullopt;
        table.insert(it.key(), it.value().toString());
    }
    return table;
}

bool looksLikeXmlPropertyList(const QString &text)
{
    for (QChar c : text) {
        if (c.isSpace())
            continue;
        return c == u'<';
    }
    return false;
}

} // namespace

namespace StringsTable {

std::optional<QHash<QString, QString>> parse(const QByteArray &bytes)
{
    if (bytes.startsWith("bplist"))
        return fromPropertyList(bytes);
    const std::optional<QString> text = decode(bytes);
    if (!text)
        return std::nullopt;
    // A table saved as an XML property list; the text form never starts with '<'.
    if (looksLikeXmlPropertyList(*text))
        return fromPropertyList(text->toUtf8());
    return Parser(*text).parse();
}

} // namespace StringsTable

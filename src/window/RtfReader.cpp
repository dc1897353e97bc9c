#include "RtfReader.h"

#include <QColor>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <map>
#include <utility>
#include <vector>

namespace {

// Deeper nesting than this is no document anybody wrote; refusing it keeps the state stack small.
constexpr qsizetype kMaxDepth = 1000;
// A credits text is a few kilobytes; anything past this is not worth holding in memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxHalfPoints = 1000;
constexpr int kMaxTwips = 31680; // 22 inches, the widest page RTF writers produce
constexpr int kMaxFontNameBytes = 256;

// Upper halves of the two single-byte pages documents use most; Qt without ICU knows neither.
constexpr char16_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

// 0x80..0x9F of Windows-1252; the rest of the upper half is Latin-1. Unassigned bytes map to
// the same code point, as Windows itself decodes them.
constexpr char16_t kWindows1252C1[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Stands in for a codec Qt lacks; any page but Mac Roman is decoded as 1252.
QString decodeWithBuiltinTable(const QByteArray &bytes, int codePage)
{
    QString out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const uchar b = uchar(byte);
        if (b < 0x80)
            out += QChar(b);
        else if (codePage == 10000)
            out += QChar(kMacRomanHigh[b - 0x80]);
        else if (b < 0xA0)
            out += QChar(kWindows1252C1[b - 0x80]);
        else
            out += QChar(b);
    }
    return out;
}

enum class Align { Left, Center, Right, Justify };

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int vertical = 0; // > 0 superscript, < 0 subscript
    int halfPoints = kDefaultHalfPoints;
    int color = 0;      // colour table index; 0 and unknown indexes are the automatic colour
    int background = 0; // likewise
    int font = -1;      // -1: the document's default font
    bool operator==(const CharFormat &) const = default;
};

struct ParaFormat {
    Align align = Align::Left;
    int leftIndent = 0; // all in twips
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
};

enum class Destination { Text, Skip, FontTable, ColorTable, FieldInstruction };

struct State {
    CharFormat chr;
    ParaFormat para;
    Destination dest = Destination::Text;
    int unicodeSkip = 1;
    int field = -1;
    QString link;
};

struct Run {
    CharFormat chr;
    QString link;
    QString text;
};

struct Paragraph {
    ParaFormat para;
    CharFormat mark; // the formatting at the paragraph's end; sizes an empty line
    std::vector<Run> runs;
};

struct Font {
    QString name;
    QByteArray rawName;
    int codePage = 0; // 0: the document's code page
    const char *generic = nullptr;
};

struct Color {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool set = false;
};

// Windows charset numbers of \fcharset to code pages; 0 keeps the document's page.
int codePageForCharset(int charset)
{
    switch (charset) {
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

std::vector<QByteArray> codecNames(int codePage)
{
    switch (codePage) {
    case 10000:
        return {"macintosh"};
    case 932:
        return {"windows-31j", "Shift_JIS"};
    case 936:
        return {"GBK", "windows-936"};
    case 949:
        return {"windows-949", "EUC-KR"};
    case 950:
        return {"Big5", "windows-950"};
    case 20127:
        return {"US-ASCII"};
    case 51932:
        return {"EUC-JP"};
    case 54936:
        return {"GB18030"};
    case 65001:
        return {"UTF-8"};
    default:
        break;
    }
    if (codePage >= 28591 && codePage <= 28606)
        return {"ISO-8859-" + QByteArray::number(codePage - 28590)};
    const QByteArray number = QByteArray::number(codePage);
    return {"windows-" + number, "cp" + number, "IBM" + number};
}

// HYPERLINK "url" [\l "anchor"] [\o "tip"] ... -> url#anchor; empty for other fields.
QString hyperlinkTarget(const QString &instruction)
{
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = instruction.size();
    while (i < n) {
        while (i < n && instruction.at(i).isSpace())
            ++i;
        if (i >= n)
            break;
        QString word;
        if (instruction.at(i) == u'"') {
            for (++i; i < n && instruction.at(i) != u'"'; ++i) {
                if (instruction.at(i) == u'\\' && i + 1 < n)
                    ++i;
                word += instruction.at(i);
            }
            ++i;
        } else {
            while (i < n && !instruction.at(i).isSpace())
                word += instruction.at(i++);
        }
        words << word;
    }
    if (words.isEmpty() || words.first().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return {};
    QString url;
    QString anchor;
    for (qsizetype k = 1; k < words.size(); ++k) {
        const QString &word = words.at(k);
        if (word.startsWith(u'\\') && word.size() == 2) {
            const QChar sw = word.at(1).toLower();
            if (sw == u'l' && k + 1 < words.size())
                anchor = words.at(++k);
            else if ((sw == u'o' || sw == u't') && k + 1 < words.size())
                ++k;
        } else if (url.isEmpty()) {
            url = word;
        }
    }
    if (!anchor.isEmpty())
        url += u'#' + anchor;
    return url;
}

// Words of a space-separated literal; the views point into the literal itself.
QSet<QByteArrayView> wordSet(const char *words)
{
    QSet<QByteArrayView> set;
    const QByteArrayView all(words);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(' ', start);
        if (end < 0)
            end = all.size();
        if (end > start)
            set.insert(all.sliced(start, end - start));
        start = end + 1;
    }
    return set;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

// Text for the inside of an element: HTML-special characters escaped, line breaks as <br />,
// control characters and unpaired surrogates (from hostile \u values) dropped or replaced.
QString escapeText(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        if (c.isSurrogate()) {
            out += QChar::ReplacementCharacter;
            continue;
        }
        switch (c.unicode()) {
        case '&':
            out += u"&amp;";
            break;
        case '<':
            out += u"&lt;";
            break;
        case '>':
            out += u"&gt;";
            break;
        case '"':
            out += u"&quot;";
            break;
        case 0x2028:
            out += u"<br />";
            break;
        case '\t':
            out += c;
            break;
        default:
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
                out += c;
            break;
        }
    }
    return out;
}

// A font name inside a single-quoted CSS string inside a double-quoted attribute.
QString cssFontName(const QString &name)
{
    QString out;
    for (const QChar c : name) {
        if (c == u'\'' || c == u'\\' || c == u';' || c == u'{' || c == u'}' || c.unicode() < 0x20)
            continue;
        out += c;
    }
    return out.trimmed();
}

class Parser {
public:
    explicit Parser(const QByteArray &in) : m_in(in) {}
    std::optional<QString> parse();

private:
    bool readControl();
    void controlWord(QByteArrayView word, bool hasParam, int param);
    void textWord(QByteArrayView word, bool hasParam, int param);
    void fontTableWord(QByteArrayView word, bool hasParam, int param);
    void controlSymbol(char c);
    void textByte(char c);
    void textChars(const QString &text);
    void deliver(const QString &text);
    void flush();
    void breakParagraph();
    void leaveGroup();
    void finishFont();
    void finishColor();
    int currentCodePage() const;
    QString decode(const QByteArray &bytes, int codePage);
    QString html() const;
    QString paragraphHtml(const Paragraph &paragraph) const;
    QString spanStyle(const CharFormat &chr) const;
    std::optional<QColor> color(int index) const;

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    State m_state;
    std::vector<State> m_stack;
    int m_skip = 0; // bytes of a \u character's fallback still to skip
    bool m_ignorable = false;
    QByteArray m_pending; // text bytes not yet decoded, all of m_pendingCodePage
    int m_pendingCodePage = 0;
    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    int m_fontDef = -1;
    std::size_t m_fontDefDepth = 0; // the group the entry began in
    Font m_font;
    std::vector<std::optional<QColor>> m_colors;
    Color m_color;
    std::vector<QString> m_fields;
    std::vector<Paragraph> m_paragraphs;
    Paragraph m_current;
    std::map<int, std::optional<QStringDecoder>> m_decoders;
};

std::optional<QString> Parser::parse()
{
    const qsizetype n = m_in.size();
    while (m_pos < n && (m_in[m_pos] == ' ' || m_in[m_pos] == '\t' || m_in[m_pos] == '\r' ||
                         m_in[m_pos] == '\n'))
        ++m_pos;
    if (!QByteArrayView(m_in).sliced(m_pos).startsWith("{\\rtf") ||
        (m_pos + 5 < n && isLetter(m_in[m_pos + 5])))
        return std::nullopt;

    bool ended = false;
    while (!ended && m_pos < n) {
        const char c = m_in[m_pos++];
        switch (c) {
        case '{':
            flush();
            m_skip = 0;
            m_ignorable = false;
            if (qsizetype(m_stack.size()) >= kMaxDepth)
                return std::nullopt;
            m_stack.push_back(m_state);
            break;
        case '}':
            flush();
            m_skip = 0;
            m_ignorable = false;
            leaveGroup();
            ended = m_stack.empty();
            break;
        case '\\':
            if (!readControl())
                return std::nullopt;
            break;
        case '\r':
        case '\n':
            break; // line ends in the source are not text
        default:
            m_ignorable = false;
            if (m_skip > 0) {
                --m_skip;
            } else if (c == '\t') {
                textChars(QStringLiteral("\t"));
            } else if (uchar(c) >= 0x20) {
                textByte(c);
            }
            break;
        }
    }
    if (!ended)
        return std::nullopt;
    // Whatever trails the document is ignored, but a stray brace means it never balanced.
    const QByteArrayView rest = QByteArrayView(m_in).sliced(m_pos);
    if (rest.contains('{') || rest.contains('}'))
        return std::nullopt;
    if (!m_current.runs.empty())
        m_paragraphs.push_back(std::move(m_current));
    return html();
}

// After the backslash; false at the end of the input.
bool Parser::readControl()
{
    const qsizetype n = m_in.size();
    if (m_pos >= n)
        return false;
    const char c = m_in[m_pos];
    if (isLetter(c)) {
        const qsizetype start = m_pos;
        while (m_pos < n && isLetter(m_in[m_pos]))
            ++m_pos;
        const QByteArrayView word = QByteArrayView(m_in).sliced(start, m_pos - start);
        bool negative = false;
        if (m_pos + 1 < n && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        bool hasParam = false;
        qint64 value = 0;
        while (m_pos < n && isDigit(m_in[m_pos])) {
            hasParam = true;
            if (value < 1'000'000'000)
                value = value * 10 + (m_in[m_pos] - '0');
            ++m_pos;
        }
        if (m_pos < n && m_in[m_pos] == ' ')
            ++m_pos;
        value = std::min<qint64>(value, std::numeric_limits<int>::max());
        const int param = int(negative ? -value : value);
        if (word == "bin") {
            // Binary data may hold any byte, braces included: step over it unread.
            if (hasParam && param > 0)
                m_pos += std::min<qsizetype>(param, n - m_pos);
            if (m_skip > 0)
                --m_skip;
            return true;
        }
        if (m_skip > 0) {
            --m_skip;
            return true;
        }
        controlWord(word, hasParam, param);
        return true;
    }
    ++m_pos;
    if (c == '\'') {
        if (m_pos >= n)
            return false;
        const int hi = hexValue(m_in[m_pos]);
        const int lo = m_pos + 1 < n ? hexValue(m_in[m_pos + 1]) : -1;
        if (hi < 0 || lo < 0)
            return true; // a broken escape stands for nothing
        m_pos += 2;
        m_ignorable = false;
        if (m_skip > 0) {
            --m_skip;
            return true;
        }
        textByte(char(hi * 16 + lo));
        return true;
    }
    if (m_skip > 0) {
        --m_skip;
        return true;
    }
    controlSymbol(c);
    return true;
}

void Parser::controlSymbol(char c)
{
    if (c == '*') {
        m_ignorable = true;
        return;
    }
    m_ignorable = false;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(c);
        break;
    case '~':
        textChars(QString(QChar(0x00A0)));
        break;
    case '-':
        textChars(QString(QChar(0x00AD)));
        break;
    case '_':
        textChars(QString(QChar(0x2011)));
        break;
    case '\r':
    case '\n':
        breakParagraph();
        break;
    default:
        break; // \: \| and unknown symbols carry nothing we show
    }
}

void Parser::controlWord(QByteArrayView word, bool hasParam, int param)
{
    const bool ignorable = std::exchange(m_ignorable, false);
    flush();
    State &s = m_state;
    if (s.dest == Destination::Skip)
        return;

    if (word == "fldinst") {
        s.dest = s.field >= 0 ? Destination::FieldInstruction : Destination::Skip;
        return;
    }
    // Destinations that hold no visible text, and any \* destination we do not know.
    static const QSet<QByteArrayView> skipped = wordSet(
        "stylesheet info pict header headerl headerr headerf footer footerl footerr footerf "
        "listtable listoverridetable revtbl rsidtbl generator xmlnstbl themedata "
        "colorschememapping latentstyles datastore object objdata footnote annotation atnid "
        "atnauthor xe tc tcn pn NeXTGraphic nonesttables ftnsep ftnsepc ftncn aftnsep aftnsepc "
        "aftncn shpinst bkmkstart bkmkend template userprops docvar filetbl private do result "
        "fldtype");
    if (ignorable || skipped.contains(word)) {
        s.dest = Destination::Skip;
        return;
    }
    if (word == "fonttbl") {
        s.dest = Destination::FontTable;
        m_fontDef = -1;
        return;
    }
    if (word == "colortbl") {
        s.dest = Destination::ColorTable;
        m_colors.clear();
        m_color = {};
        return;
    }

    switch (s.dest) {
    case Destination::FontTable:
        fontTableWord(word, hasParam, param);
        return;
    case Destination::ColorTable:
        if (word == "red" || word == "green" || word == "blue") {
            const int value = std::clamp(param, 0, 255);
            (word == "red" ? m_color.red : word == "green" ? m_color.green : m_color.blue) = value;
            m_color.set = true;
        }
        return;
    case Destination::Text:
    case Destination::FieldInstruction:
        textWord(word, hasParam, param);
        return;
    case Destination::Skip:
        return;
    }
}

void Parser::fontTableWord(QByteArrayView word, bool hasParam, int param)
{
    if (word == "f") {
        if (m_fontDef >= 0)
            finishFont();
        m_fontDef = std::max(0, param);
        m_fontDefDepth = m_stack.size();
        m_font = {};
    } else if (m_fontDef < 0) {
        return;
    } else if (word == "fcharset") {
        if (m_font.codePage == 0)
            m_font.codePage = codePageForCharset(param);
    } else if (word == "cpg") {
        m_font.codePage = std::max(0, param);
    } else if (word == "froman") {
        m_font.generic = "serif";
    } else if (word == "fswiss") {
        m_font.generic = "sans-serif";
    } else if (word == "fmodern") {
        m_font.generic = "monospace";
    } else if (word == "fscript") {
        m_font.generic = "cursive";
    } else if (word == "fdecor") {
        m_font.generic = "fantasy";
    }
}

void Parser::textWord(QByteArrayView word, bool hasParam, int param)
{
    State &s = m_state;
    CharFormat &chr = s.chr;
    const bool on = !hasParam || param != 0;
    static const QSet<QByteArrayView> underlines =
        wordSet("ul uld uldash uldashd uldashdd uldb ulhwave ulldash ulth ulthd ulthdash "
                "ulthdashd ulthdashdd ulthldash ululdbwave ulw ulwave");
    static const std::map<QByteArrayView, char16_t> characters = {
        {"emdash", 0x2014},  {"endash", 0x2013},    {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005},   {"zwj", 0x200D},       {"zwnj", 0x200C},
        {"ltrmark", 0x200E}, {"rtlmark", 0x200F},   {"zwbo", 0x200B},      {"zwnbo", 0x2060},
        {"tab", u'\t'},      {"cell", u'\t'},       {"nestcell", u'\t'},   {"line", 0x2028}};

    if (const auto it = characters.find(word); it != characters.end()) {
        textChars(QString(QChar(it->second)));
    } else if (word == "par" || word == "row" || word == "nestrow" || word == "sect" ||
               word == "page") {
        breakParagraph();
    } else if (word == "u") {
        if (!hasParam)
            return;
        // Written as a signed 16-bit number; some writers give the code point itself.
        const int value = param < 0 ? param + 65536 : param;
        if (value >= 0 && value <= 0xFFFF)
            textChars(QString(QChar(char16_t(value))));
        else if (const char32_t ucs4 = char32_t(value); value > 0xFFFF && value <= 0x10FFFF)
            textChars(QString::fromUcs4(&ucs4, 1));
        else
            textChars(QString(QChar::ReplacementCharacter));
        m_skip = s.unicodeSkip;
    } else if (word == "uc") {
        s.unicodeSkip = hasParam ? std::clamp(param, 0, 16) : 1;
    } else if (word == "field") {
        m_fields.emplace_back();
        s.field = int(m_fields.size()) - 1;
    } else if (word == "fldrslt") {
        s.dest = Destination::Text;
        if (s.field >= 0) {
            const QString target = hyperlinkTarget(m_fields[s.field]);
            if (!target.isEmpty())
                s.link = target;
        }
    } else if (word == "ansi") {
        m_ansiCodePage = 1252;
    } else if (word == "mac") {
        m_ansiCodePage = 10000;
    } else if (word == "pc") {
        m_ansiCodePage = 437;
    } else if (word == "pca") {
        m_ansiCodePage = 850;
    } else if (word == "ansicpg") {
        if (hasParam && param > 0)
            m_ansiCodePage = param;
    } else if (word == "deff") {
        m_defaultFont = std::max(0, param);
    } else if (word == "plain") {
        chr = CharFormat{};
    } else if (word == "b") {
        chr.bold = on;
    } else if (word == "i") {
        chr.italic = on;
    } else if (word == "ulnone") {
        chr.underline = false;
    } else if (underlines.contains(word)) {
        chr.underline = on;
    } else if (word == "strike" || word == "striked") {
        chr.strike = on;
    } else if (word == "v") {
        chr.hidden = on;
    } else if (word == "fs") {
        chr.halfPoints =
            hasParam && param > 0 ? std::min(param, kMaxHalfPoints) : kDefaultHalfPoints;
    } else if (word == "f") {
        chr.font = std::max(0, param);
    } else if (word == "cf") {
        chr.color = std::max(0, param);
    } else if (word == "cb" || word == "highlight" || word == "chcbpat") {
        chr.background = std::max(0, param);
    } else if (word == "super") {
        chr.vertical = 1;
    } else if (word == "sub") {
        chr.vertical = -1;
    } else if (word == "nosupersub") {
        chr.vertical = 0;
    } else if (word == "up") {
        chr.vertical = (hasParam && param == 0) ? 0 : 1;
    } else if (word == "dn") {
        chr.vertical = (hasParam && param == 0) ? 0 : -1;
    } else if (word == "pard") {
        s.para = ParaFormat{};
    } else if (word == "ql") {
        s.para.align = Align::Left;
    } else if (word == "qc") {
        s.para.align = Align::Center;
    } else if (word == "qr") {
        s.para.align = Align::Right;
    } else if (word == "qj" || word == "qd") {
        s.para.align = Align::Justify;
    } else if (word == "li" || word == "ri" || word == "fi" || word == "sb" || word == "sa") {
        const int twips = std::clamp(param, -kMaxTwips, kMaxTwips);
        ParaFormat &p = s.para;
        (word == "li"   ? p.leftIndent
         : word == "ri" ? p.rightIndent
         : word == "fi" ? p.firstIndent
         : word == "sb" ? p.spaceBefore
                        : p.spaceAfter) = twips;
    }
}

void Parser::leaveGroup()
{
    // An entry written without its closing semicolon ends with its group.
    if (m_state.dest == Destination::FontTable && m_fontDef >= 0 &&
        m_stack.size() == m_fontDefDepth)
        finishFont();
    if (m_state.dest == Destination::ColorTable && m_color.set)
        finishColor();
    if (m_stack.empty())
        return;
    m_state = std::move(m_stack.back());
    m_stack.pop_back();
}

void Parser::finishFont()
{
    Font font = std::move(m_font);
    m_font = {};
    const int id = std::exchange(m_fontDef, -1);
    if (id < 0)
        return;
    font.name = decode(font.rawName, font.codePage ? font.codePage : m_ansiCodePage).trimmed();
    font.rawName.clear();
    m_fonts[id] = std::move(font);
}

void Parser::finishColor()
{
    m_colors.push_back(m_color.set ? std::optional(QColor(m_color.red, m_color.green, m_color.blue))
                                   : std::nullopt);
    m_color = {};
}

int Parser::currentCodePage() const
{
    const int id = m_state.chr.font >= 0 ? m_state.chr.font : m_defaultFont;
    const auto it = m_fonts.find(id);
    if (it != m_fonts.end() && it->second.codePage != 0)
        return it->second.codePage;
    return m_ansiCodePage;
}

void Parser::textByte(char c)
{
    switch (m_state.dest) {
    case Destination::Skip:
        return;
    case Destination::ColorTable:
        if (c == ';')
            finishColor();
        return;
    case Destination::FontTable:
        if (c == ';')
            finishFont();
        else if (m_fontDef >= 0 && m_font.rawName.size() < kMaxFontNameBytes)
            m_font.rawName += c;
        return;
    case Destination::Text:
    case Destination::FieldInstruction:
        break;
    }
    const int codePage = currentCodePage();
    if (!m_pending.isEmpty() && codePage != m_pendingCodePage)
        flush();
    m_pendingCodePage = codePage;
    m_pending += c;
}

void Parser::textChars(const QString &text)
{
    flush();
    deliver(text);
}

void Parser::flush()
{
    if (m_pending.isEmpty())
        return;
    const QString text = decode(m_pending, m_pendingCodePage);
    m_pending.clear();
    deliver(text);
}

void Parser::deliver(const QString &text)
{
    if (text.isEmpty())
        return;
    if (m_state.dest == Destination::FieldInstruction) {
        m_fields[m_state.field] += text;
        return;
    }
    if (m_state.dest != Destination::Text || m_state.chr.hidden)
        return;
    std::vector<Run> &runs = m_current.runs;
    if (runs.empty() || !(runs.back().chr == m_state.chr) || runs.back().link != m_state.link)
        runs.push_back({m_state.chr, m_state.link, {}});
    runs.back().text += text;
    m_current.para = m_state.para;
}

void Parser::breakParagraph()
{
    flush();
    if (m_state.dest == Destination::FieldInstruction) {
        m_fields[m_state.field] += u' ';
        return;
    }
    if (m_state.dest != Destination::Text)
        return;
    m_current.para = m_state.para;
    m_current.mark = m_state.chr;
    m_paragraphs.push_back(std::move(m_current));
    m_current = {};
}

QString Parser::decode(const QByteArray &bytes, int codePage)
{
    auto it = m_decoders.find(codePage);
    if (it == m_decoders.end()) {
        std::optional<QStringDecoder> decoder;
        for (const QByteArray &name : codecNames(codePage)) {
            QStringDecoder candidate(name.constData(), QStringConverter::Flag::Stateless);
            if (candidate.isValid()) {
                decoder.emplace(std::move(candidate));
                break;
            }
        }
        it = m_decoders.emplace(codePage, std::move(decoder)).first;
    }
    if (it->second)
        return it->second->decode(bytes);
    return decodeWithBuiltinTable(bytes, codePage);
}

std::optional<QColor> Parser::color(int index) const
{
    if (index <= 0 || index >= int(m_colors.size()))
        return std::nullopt;
    return m_colors[index];
}

QString Parser::spanStyle(const CharFormat &chr) const
{
    QString style = QStringLiteral("font-size:%1pt;").arg(number(chr.halfPoints / 2.0));
    const int id = chr.font >= 0 ? chr.font : m_defaultFont;
    if (const auto it = m_fonts.find(id); it != m_fonts.end()) {
        const QString name = cssFontName(it->second.name);
        QStringList families;
        if (!name.isEmpty())
            families << QStringLiteral("'%1'").arg(name);
        if (it->second.generic)
            families << QString::fromLatin1(it->second.generic);
        if (!families.isEmpty())
            style += QStringLiteral(" font-family:%1;").arg(families.join(QStringLiteral(", ")));
    }
    if (chr.bold)
        style += QStringLiteral(" font-weight:700;");
    if (chr.italic)
        style += QStringLiteral(" font-style:italic;");
    if (chr.underline || chr.strike) {
        style += QStringLiteral(" text-decoration:");
        if (chr.underline)
            style += QStringLiteral(" underline");
        if (chr.strike)
            style += QStringLiteral(" line-through");
        style += u';';
    }
    if (chr.vertical != 0) {
        style += chr.vertical > 0 ? QStringLiteral(" vertical-align:super;")
                                  : QStringLiteral(" vertical-align:sub;");
    }
    if (const auto c = color(chr.color))
        style += QStringLiteral(" color:%1;").arg(c->name());
    if (const auto c = color(chr.background))
        style += QStringLiteral(" background-color:%1;").arg(c->name());
    return style;
}

QString Parser::paragraphHtml(const Paragraph &paragraph) const
{
    const ParaFormat &p = paragraph.para;
    // Twips to CSS pixels (1/96 inch), the unit QTextDocument reads margins in.
    const auto px = [](int twips) { return number(twips / 15.0); };
    const QString style =
        QStringLiteral("margin-top:%1px; margin-bottom:%2px; margin-left:%3px; margin-right:%4px; "
                       "text-indent:%5px;")
            .arg(px(p.spaceBefore), px(p.spaceAfter), px(p.leftIndent), px(p.rightIndent),
                 px(p.firstIndent));

    const bool empty = std::all_of(paragraph.runs.begin(), paragraph.runs.end(),
                                   [](const Run &run) { return run.text.isEmpty(); });
    if (empty) {
        return QStringLiteral(
                   "<p style=\"-qt-paragraph-type:empty; %1 font-size:%2pt;\"><br /></p>")
            .arg(style, number(paragraph.mark.halfPoints / 2.0));
    }
    static const char *const aligns[] = {"left", "center", "right", "justify"};
    QString out = QStringLiteral("<p align=\"%1\" style=\"%2 white-space:pre-wrap;\">")
                      .arg(QLatin1String(aligns[int(p.align)]), style);
    QString openLink;
    for (const Run &run : paragraph.runs) {
        if (run.link != openLink) {
            if (!openLink.isEmpty())
                out += QStringLiteral("</a>");
            if (!run.link.isEmpty())
                out += QStringLiteral("<a href=\"%1\">").arg(run.link.toHtmlEscaped());
            openLink = run.link;
        }
        out += QStringLiteral("<span style=\"%1\">%2</span>")
                   .arg(spanStyle(run.chr).toHtmlEscaped(), escapeText(run.text));
    }
    if (!openLink.isEmpty())
        out += QStringLiteral("</a>");
    return out + QStringLiteral("</p>");
}

QString Parser::html() const
{
    // No white space between the paragraphs: Qt would make it text of the last one.
    QString out = QStringLiteral("<html><body>");
    for (const Paragraph &paragraph : m_paragraphs)
        out += paragraphHtml(paragraph);
    return out + QStringLiteral("</body></html>");
}

} // namespace

namespace RtfReader {

std::optional<QString> toHtml(const QByteArray &rtf)
{
    return Parser(rtf).parse();
}

std::optional<QString> htmlFromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize)
        return std::nullopt;
    return toHtml(bytes);
}

} // namespace RtfReader

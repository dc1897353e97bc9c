#include "window/RtfReader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>
#include <memory>

namespace {

std::unique_ptr<QTextDocument> load(const QByteArray &rtf)
{
    const std::optional<QString> html = RtfReader::toHtml(rtf);
    if (!html)
        return nullptr;
    auto doc = std::make_unique<QTextDocument>();
    doc->setHtml(*html);
    return doc;
}

// The formatting of the first character of the first occurrence of text.
std::optional<QTextCharFormat> formatOf(const QTextDocument &doc, const QString &text)
{
    const QTextCursor found = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return std::nullopt;
    QTextCursor at(const_cast<QTextDocument *>(&doc));
    at.setPosition(found.selectionStart() + 1);
    return at.charFormat();
}

Qt::Alignment alignmentOf(const QTextDocument &doc, const QString &text)
{
    const QTextCursor found = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return {};
    return found.block().blockFormat().alignment() &
           (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify);
}

QByteArray nested(int depth, const QByteArray &inner)
{
    return "{\\rtf1 " + QByteArray(depth - 1, '{') + inner + QByteArray(depth - 1, '}') + "}";
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    void plainText_data();
    void plainText();
    void rejected_data();
    void rejected();
    void nestingDepth_data();
    void nestingDepth();
    void truncatedDocumentsAreRejected();
    void garbageNeverCrashes();
    void characterFormatting_data();
    void characterFormatting();
    void colours_data();
    void colours();
    void fontFamilies_data();
    void fontFamilies();
    void alignment_data();
    void alignment();
    void hyperlinks_data();
    void hyperlinks();
    void builtinTablesMatchCodecs_data();
    void builtinTablesMatchCodecs();
    void builtinTables_data();
    void builtinTables();
    void realWorldFiles_data();
    void realWorldFiles();
    void realWorldText_data();
    void realWorldText();
    void fromFile_data();
    void fromFile();
};

void TestRtfReader::plainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("simple") << QByteArray("{\\rtf1 Hello world}") << "Hello world";
    QTest::newRow("leading white space") << QByteArray(" \r\n\t{\\rtf1 Hi}") << "Hi";
    QTest::newRow("par and line") << QByteArray("{\\rtf1 a\\par b\\line c}") << "a\nb\nc";
    QTest::newRow("backslash newline is par") << QByteArray("{\\rtf1 a\\\nb\\\r\nc}") << "a\nb\nc";
    QTest::newRow("source line ends ignored") << QByteArray("{\\rtf1 ab\r\ncd\ne}") << "abcde";
    QTest::newRow("empty paragraphs kept") << QByteArray("{\\rtf1 a\\par\\par b\\par}") << "a\n\nb";
    QTest::newRow("tab") << QByteArray("{\\rtf1 a\\tab b}") << "a\tb";
    QTest::newRow("spaces kept") << QByteArray("{\\rtf1 a   b}") << "a   b";
    QTest::newRow("escaped symbols") << QByteArray("{\\rtf1 \\{x\\} \\\\}") << "{x} \\";
    QTest::newRow("html stays text")
        << QByteArray("{\\rtf1 <b>&amp;</b> \"q\" 'a'}") << "<b>&amp;</b> \"q\" 'a'";
    QTest::newRow("cp1252 escapes")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'93q\\'94}") << "café “q”";
    QTest::newRow("upper-case hex") << QByteArray("{\\rtf1 caf\\'E9}") << "café";
    QTest::newRow("1252 is the default") << QByteArray("{\\rtf1 \\'80}") << "€";
    QTest::newRow("mac roman") << QByteArray("{\\rtf1\\mac\\ansicpg10000 \\'8e\\'d2x\\'d3\\'c9}")
                               << "é“x”…";
    QTest::newRow("mac without ansicpg") << QByteArray("{\\rtf1\\mac \\'a5 item}") << "• item";
    QTest::newRow("raw high byte uses the code page")
        << QByteArray("{\\rtf1\\mac\\ansicpg10000 caf\x8e}") << "café";
    QTest::newRow("font charset overrides the page")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl\\f0 A;\\f1\\fcharset77 M;}\\f1\\'8e\\f0\\'8e}")
        << "éŽ";
    QTest::newRow("unicode with fallback") << QByteArray("{\\rtf1 \\u8364?}") << "€";
    QTest::newRow("uc1 skips one") << QByteArray("{\\rtf1\\uc1 \\u8364? x}") << "€ x";
    QTest::newRow("uc2 skips two escapes")
        << QByteArray("{\\rtf1\\uc2\\u8364\\'80\\'81 y}") << "€ y";
    QTest::newRow("uc0 skips nothing") << QByteArray("{\\rtf1\\uc0\\u233 x}") << "éx";
    QTest::newRow("fallback control word skipped")
        << QByteArray("{\\rtf1 \\u8220\\ldblquote x}") << "“x";
    QTest::newRow("negative is plus 65536")
        << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << QString::fromUcs4(U"\U0001F600");
    QTest::newRow("group end stops the skip") << QByteArray("{\\rtf1 {\\u233}x}") << "éx";
    QTest::newRow("uc is group state")
        << QByteArray("{\\rtf1 {\\uc2 \\u233 ab}\\u233 cd}") << "ééd";
    QTest::newRow("lone surrogate replaced")
        << QByteArray("{\\rtf1 a\\u-10179?b}") << QString::fromUtf16(u"a\uFFFDb");
    QTest::newRow("named characters")
        << QByteArray("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}")
        << QString::fromUtf16(u"—–•‘’“”");
    QTest::newRow("hyphens") << QByteArray("{\\rtf1 b\\-c\\_d}")
                             << QString::fromUtf16(u"b\u00ADc\u2011d");
    QTest::newRow("skipped destinations")
        << QByteArray("{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;}{\\colortbl;\\red255\\green0"
                      "\\blue0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                      "{\\*\\generator G;}{\\*\\expandedcolortbl;;}{\\header H}{\\footer F}"
                      "{\\pict\\pngblip 89504e47}{\\listtable{\\list L}}Body}")
        << "Body";
    QTest::newRow("unknown starred destination")
        << QByteArray("{\\rtf1 a{\\*\\whatever zzz}b}") << "ab";
    QTest::newRow("unknown word ignored") << QByteArray("{\\rtf1 a\\foo12 b\\bar-3 c}") << "abc";
    QTest::newRow("binary data skipped") << QByteArray("{\\rtf1 a{\\pict\\bin3 }}{}b}") << "ab";
    QTest::newRow("hidden text") << QByteArray("{\\rtf1 a{\\v hidden}b}") << "ab";
    QTest::newRow("field result shown") << QByteArray("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK "
                                                      "\"http://x.org/\"}}{\\fldrslt here}}.}")
                                        << "see here.";
    QTest::newRow("other field") << QByteArray(
                                        "{\\rtf1 p{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}")
                                 << "p3";
    QTest::newRow("text after the document ignored")
        << QByteArray("{\\rtf1 a}\r\nxyz\0\0", 15) << "a";
    QTest::newRow("no text") << QByteArray("{\\rtf1\\ansi{\\fonttbl\\f0 A;}}") << "";
}

void TestRtfReader::plainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    const auto doc = load(rtf);
    QVERIFY(doc);
    QCOMPARE(doc->toPlainText(), text);
}

void TestRtfReader::rejected_data()
{
    QTest::addColumn<QByteArray>("rtf");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("white space only") << QByteArray(" \n ");
    QTest::newRow("plain text") << QByteArray("Hello {\\rtf1 a}");
    QTest::newRow("html") << QByteArray("<html><body>a</body></html>");
    QTest::newRow("other control word") << QByteArray("{\\rtfx a}");
    QTest::newRow("no brace") << QByteArray("\\rtf1 a}");
    QTest::newRow("missing close") << QByteArray("{\\rtf1 a");
    QTest::newRow("inner group open") << QByteArray("{\\rtf1 {\\b a}{b}");
    QTest::newRow("extra close") << QByteArray("{\\rtf1 a}}");
    QTest::newRow("stray close after text") << QByteArray("{\\rtf1 a} b}");
    QTest::newRow("second group opened") << QByteArray("{\\rtf1 a}{");
    QTest::newRow("escaped brace does not close") << QByteArray("{\\rtf1 a\\}");
    QTest::newRow("ends in backslash") << QByteArray("{\\rtf1 a\\");
    QTest::newRow("ends in hex escape") << QByteArray("{\\rtf1 a\\'e");
    QTest::newRow("binary swallows the end") << QByteArray("{\\rtf1 \\bin5 ab}");
}

void TestRtfReader::rejected()
{
    QFETCH(QByteArray, rtf);
    QVERIFY(!RtfReader::toHtml(rtf));
}

void TestRtfReader::nestingDepth_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("1000 levels") << nested(1000, "x") << true;
    QTest::newRow("1001 levels") << nested(1001, "x") << false;
    QTest::newRow("200000 open braces") << "{\\rtf1 " + QByteArray(200000, '{') << false;
    QTest::newRow("200000 balanced levels") << nested(200000, "x") << false;
}

void TestRtfReader::nestingDepth()
{
    QFETCH(QByteArray, rtf);
    QFETCH(bool, accepted);
    const auto doc = load(rtf);
    QCOMPARE(bool(doc), accepted);
    if (doc)
        QCOMPARE(doc->toPlainText(), QStringLiteral("x"));
}

// Every cut-off document lacks its closing brace; none may pass as a shorter text.
void TestRtfReader::truncatedDocumentsAreRejected()
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl\\f0\\fswiss\\fcharset0 Helvetica;}"
        "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs24 \\cf1 a\\'e9{\\b b}\\u8364? "
        "{\\field{\\*\\fldinst{HYPERLINK \"http://x/\"}}{\\fldrslt l}}\\par{\\pict\\bin2 }}}\\\n}";
    QVERIFY(RtfReader::toHtml(rtf));
    for (qsizetype length = 0; length < rtf.size(); ++length)
        QVERIFY2(!RtfReader::toHtml(rtf.left(length)), qPrintable(QString::number(length)));
}

void TestRtfReader::garbageNeverCrashes()
{
    static const char *const pieces[] = {"{",         "}",         "\\",           "\\'",
                                         "\\'9",      "\\'zz",     "\\u",          "\\u-",
                                         "\\u9999",   "\\uc5",     "\\bin",        "\\bin9",
                                         "\\*",       "\\par",     "\\field",      "\\fldinst",
                                         "\\fldrslt", "\\fonttbl", "\\colortbl",   "\\f",
                                         "\\fs-2",    "\\cf99",    "\\red",        ";",
                                         " ",         "a",         "\x8e",         "\r\n",
                                         "9",         "-",         "HYPERLINK \"", "\\~"};
    QRandomGenerator random(20240611);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray rtf = "{\\rtf1 ";
        const int count = random.bounded(1, 60);
        for (int i = 0; i < count; ++i)
            rtf += pieces[random.bounded(int(std::size(pieces)))];
        if (random.bounded(2))
            rtf += '}';
        const std::optional<QString> html = RtfReader::toHtml(rtf);
        if (!html)
            continue;
        ++accepted;
        QVERIFY2(html->startsWith(QStringLiteral("<html><body>")), rtf.constData());
        QVERIFY2(html->endsWith(QStringLiteral("</body></html>")), rtf.constData());
        QVERIFY2(!html->contains(QChar(0)), rtf.constData());
        QTextDocument doc;
        doc.setHtml(*html);
    }
    // The generator must also reach the accepting paths, or this test checks nothing.
    QVERIFY(accepted > 100);
}

void TestRtfReader::characterFormatting_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strike");
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("vertical");

    const int normal = QTextCharFormat::AlignNormal;
    const QByteArray groups = "{\\rtf1 a {\\b bold} plain}";
    QTest::newRow("bold group") << groups << "bold" << true << false << false << false << 12.0
                                << normal;
    QTest::newRow("group ends bold")
        << groups << "plain" << false << false << false << false << 12.0 << normal;
    const QByteArray toggles = "{\\rtf1 \\b on\\b0 off \\i it\\i0 up \\strike st\\strike0 sn}";
    QTest::newRow("b") << toggles << "on" << true << false << false << false << 12.0 << normal;
    QTest::newRow("b0") << toggles << "off" << false << false << false << false << 12.0 << normal;
    QTest::newRow("i") << toggles << "it" << false << true << false << false << 12.0 << normal;
    QTest::newRow("i0") << toggles << "up" << false << false << false << false << 12.0 << normal;
    QTest::newRow("strike") << toggles << "st" << false << false << false << true << 12.0 << normal;
    QTest::newRow("strike0") << toggles << "sn" << false << false << false << false << 12.0
                             << normal;
    const QByteArray underlines = "{\\rtf1 \\ul u1\\ulnone n1 \\ul u2\\ul0 n2 \\uldb u3\\ulc5 u4}";
    QTest::newRow("ul") << underlines << "u1" << false << false << true << false << 12.0 << normal;
    QTest::newRow("ulnone") << underlines << "n1" << false << false << false << false << 12.0
                            << normal;
    QTest::newRow("ul0") << underlines << "n2" << false << false << false << false << 12.0
                         << normal;
    QTest::newRow("uldb") << underlines << "u3" << false << false << true << false << 12.0
                          << normal;
    QTest::newRow("underline colour is no toggle")
        << underlines << "u4" << false << false << true << false << 12.0 << normal;
    const QByteArray plain = "{\\rtf1 \\b\\i\\ul\\fs40 big\\plain small}";
    QTest::newRow("several at once")
        << plain << "big" << true << true << true << false << 20.0 << normal;
    QTest::newRow("plain resets") << plain << "small" << false << false << false << false << 12.0
                                  << normal;
    QTest::newRow("half points") << QByteArray("{\\rtf1 \\fs21 half}") << "half" << false << false
                                 << false << false << 10.5 << normal;
    QTest::newRow("absurd size clamped") << QByteArray("{\\rtf1 \\fs99999999 huge}") << "huge"
                                         << false << false << false << false << 500.0 << normal;
    QTest::newRow("superscript") << QByteArray("{\\rtf1 x{\\super 2}y}") << "2" << false << false
                                 << false << false << 12.0
                                 << int(QTextCharFormat::AlignSuperScript);
    QTest::newRow("subscript") << QByteArray("{\\rtf1 H\\sub 2\\nosupersub O}") << "2" << false
                               << false << false << false << 12.0
                               << int(QTextCharFormat::AlignSubScript);
    QTest::newRow("markup is not formatting") << QByteArray("{\\rtf1 <b>x</b>}") << "x" << false
                                              << false << false << false << 12.0 << normal;
    QTest::newRow("field result keeps formatting")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://a/\"}{\\fldrslt{\\b "
                      "link}}}}")
        << "link" << true << false << true << false << 12.0 << normal;
}

void TestRtfReader::characterFormatting()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, word);
    const auto doc = load(rtf);
    QVERIFY(doc);
    const std::optional<QTextCharFormat> format = formatOf(*doc, word);
    QVERIFY2(format, qPrintable(doc->toPlainText()));
    QTEST(format->fontWeight() >= QFont::Bold, "bold");
    QTEST(format->fontItalic(), "italic");
    QTEST(format->fontUnderline(), "underline");
    QTEST(format->fontStrikeOut(), "strike");
    QTEST(format->fontPointSize(), "points");
    QTEST(int(format->verticalAlignment()), "vertical");
}

void TestRtfReader::colours_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("foreground");
    QTest::addColumn<QString>("background");

    const QByteArray rtf = "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                           "\\cf1 red \\cf2 blue \\cf0 auto \\cf9 unknown {\\cb2 back} {\\cf1 in}"
                           " out}";
    QTest::newRow("cf1") << rtf << "red"
                         << "#ff0000"
                         << "";
    QTest::newRow("cf2") << rtf << "blue"
                         << "#0000ff"
                         << "";
    QTest::newRow("cf0 automatic") << rtf << "auto"
                                   << ""
                                   << "";
    QTest::newRow("index past the table") << rtf << "unknown"
                                          << ""
                                          << "";
    QTest::newRow("cb") << rtf << "back"
                        << ""
                        << "#0000ff";
    QTest::newRow("group colour") << rtf << "in"
                                  << "#ff0000"
                                  << "";
    QTest::newRow("restored after group") << rtf << "out"
                                          << ""
                                          << "";
    QTest::newRow("entry without semicolon")
        << QByteArray("{\\rtf1{\\colortbl;\\red0\\green128\\blue0}\\cf1 green}") << "green"
        << "#008000"
        << "";
    QTest::newRow("out of range components")
        << QByteArray("{\\rtf1{\\colortbl;\\red999\\green-5\\blue7;}\\cf1 odd}") << "odd"
        << "#ff0007"
        << "";
}

void TestRtfReader::colours()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, word);
    QFETCH(QString, foreground);
    QFETCH(QString, background);
    const auto doc = load(rtf);
    QVERIFY(doc);
    const std::optional<QTextCharFormat> format = formatOf(*doc, word);
    QVERIFY(format);
    QCOMPARE(format->hasProperty(QTextFormat::ForegroundBrush) ? format->foreground().color().name()
                                                               : QString(),
             foreground);
    QCOMPARE(format->hasProperty(QTextFormat::BackgroundBrush) ? format->background().color().name()
                                                               : QString(),
             background);
}

void TestRtfReader::fontFamilies_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("families");

    const QByteArray rtf = "{\\rtf1\\deff1{\\fonttbl\\f0\\fmodern\\fcharset0 Courier;"
                           "{\\f1\\froman{\\*\\panose 0}Times New Roman;}{\\f2 O'Brien {Sans};}}"
                           "default \\f0 code \\plain reset \\f2 quoted \\f7 missing}";
    QTest::newRow("deff") << rtf << "default" << QStringList{"Times New Roman", "serif"};
    QTest::newRow("f0") << rtf << "code" << QStringList{"Courier", "monospace"};
    QTest::newRow("plain back to deff")
        << rtf << "reset" << QStringList{"Times New Roman", "serif"};
    QTest::newRow("quote and braces stripped") << rtf << "quoted" << QStringList{"OBrien Sans"};
    QTest::newRow("unknown font") << rtf << "missing" << QStringList{};
    QTest::newRow("entry without semicolon")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Helvetica}}\\f0 x}") << "x"
        << QStringList{"Helvetica", "sans-serif"};
}

void TestRtfReader::fontFamilies()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, word);
    QFETCH(QStringList, families);
    const auto doc = load(rtf);
    QVERIFY(doc);
    const std::optional<QTextCharFormat> format = formatOf(*doc, word);
    QVERIFY(format);
    QCOMPARE(format->fontFamilies().toStringList(), families);
}

void TestRtfReader::alignment_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("alignment");

    const QByteArray rtf = "{\\rtf1 \\qc centre\\par kept\\par\\pard left\\par\\qr right\\par"
                           "\\qj just\\par\\ql\\qnatural natural\\par\\qc changed\\qr\\par last}";
    QTest::newRow("qc") << rtf << "centre" << int(Qt::AlignHCenter);
    QTest::newRow("lasts until pard") << rtf << "kept" << int(Qt::AlignHCenter);
    QTest::newRow("pard") << rtf << "left" << int(Qt::AlignLeft);
    QTest::newRow("qr") << rtf << "right" << int(Qt::AlignRight);
    QTest::newRow("qj") << rtf << "just" << int(Qt::AlignJustify);
    QTest::newRow("ql qnatural") << rtf << "natural" << int(Qt::AlignLeft);
    QTest::newRow("the value at par counts") << rtf << "changed" << int(Qt::AlignRight);
    QTest::newRow("last paragraph without par") << rtf << "last" << int(Qt::AlignRight);
}

void TestRtfReader::alignment()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, word);
    const auto doc = load(rtf);
    QVERIFY(doc);
    QTEST(int(alignmentOf(*doc, word)), "alignment");
}

void TestRtfReader::hyperlinks_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("href");

    const QByteArray cocoa =
        "{\\rtf1 at {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/x\"}}{\\fldrslt "
        "site}} after}";
    QTest::newRow("cocoa form") << cocoa << "site"
                                << "https://example.org/x";
    QTest::newRow("text after the field") << cocoa << "after"
                                          << "";
    QTest::newRow("text before the field") << cocoa << "at"
                                           << "";
    QTest::newRow("anchor switch")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://a/\" \\\\l \"top\"}"
                      "{\\fldrslt go}}}")
        << "go"
        << "http://a/#top";
    QTest::newRow("tip switch ignored")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \\\\o \"tip\" \"http://b/\"}"
                      "{\\fldrslt bb}}}")
        << "bb"
        << "http://b/";
    QTest::newRow("unquoted") << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK http://e/}"
                                            "{\\fldrslt ee}}}")
                              << "ee"
                              << "http://e/";
    QTest::newRow("fldinst without star")
        << QByteArray("{\\rtf1 {\\field{\\fldinst HYPERLINK \"http://d/\"}{\\fldrslt dd}}}") << "dd"
        << "http://d/";
    QTest::newRow("html-special address")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://c/?a=1&b=<2>\"}"
                      "{\\fldrslt cc}}}")
        << "cc"
        << "http://c/?a=1&b=<2>";
    QTest::newRow("other field") << QByteArray("{\\rtf1 {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}}")
                                 << "7"
                                 << "";
    QTest::newRow("fldinst outside a field")
        << QByteArray("{\\rtf1 {\\*\\fldinst HYPERLINK \"http://f/\"}{\\fldrslt ff}}") << "ff"
        << "";
}

void TestRtfReader::hyperlinks()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, word);
    const auto doc = load(rtf);
    QVERIFY(doc);
    const std::optional<QTextCharFormat> format = formatOf(*doc, word);
    QVERIFY2(format, qPrintable(doc->toPlainText()));
    QTEST(format->anchorHref(), "href");
    QVERIFY(!doc->toPlainText().contains(QStringLiteral("HYPERLINK")));
}

void TestRtfReader::builtinTablesMatchCodecs_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("codec");
    QTest::newRow("mac roman") << 10000 << QByteArray("macintosh");
    QTest::newRow("windows 1252") << 1252 << QByteArray("windows-1252");
}

// Where Qt has the codec (ICU builds) the fallback tables must agree with it byte for byte.
void TestRtfReader::builtinTablesMatchCodecs()
{
    QFETCH(int, codePage);
    QFETCH(QByteArray, codec);
    QStringDecoder decoder(codec.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        QSKIP("this Qt has no codec to compare the table with");
    for (int byte = 0; byte < 256; ++byte) {
        const QByteArray one(1, char(byte));
        QCOMPARE(RtfReader::decodeWithBuiltinTable(one, codePage), decoder.decode(one));
    }
}

void TestRtfReader::builtinTables_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ascii unchanged") << 10000 << QByteArray("abc {}\\") << "abc {}\\";
    QTest::newRow("mac accents") << 10000 << QByteArray("\x8e\x88\x8d\x82") << "éàçÇ";
    QTest::newRow("mac punctuation") << 10000 << QByteArray("\xd2\xd3\xd5\xc9\xa5\xd1") << "“”’…•—";
    QTest::newRow("mac euro and apple")
        << 10000 << QByteArray("\xdb\xf0") << QString::fromUtf16(u"€\uF8FF");
    QTest::newRow("1252 c1 range") << 1252 << QByteArray("\x80\x92\x93\x94\x9f") << "€’“”Ÿ";
    QTest::newRow("1252 unassigned")
        << 1252 << QByteArray("\x81\x8d") << QString::fromUtf16(u"\u0081\u008D");
    QTest::newRow("1252 latin-1 half")
        << 1252 << QByteArray("\xe9\xff\xa0") << QString::fromUtf16(u"éÿ\u00A0");
    QTest::newRow("other page as 1252") << 437 << QByteArray("\x80\xe9") << "€é";
}

void TestRtfReader::builtinTables()
{
    QFETCH(int, codePage);
    QFETCH(QByteArray, bytes);
    QTEST(RtfReader::decodeWithBuiltinTable(bytes, codePage), "text");
}

void TestRtfReader::realWorldFiles_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator it(QStringLiteral(VEXILO_TEST_REALWORLD), {QStringLiteral("*.rtf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QTest::newRow(
            qPrintable(QDir(QStringLiteral(VEXILO_TEST_REALWORLD)).relativeFilePath(path)))
            << path;
        ++count;
    }
    if (count == 0)
        QTest::newRow("no files found") << QString();
}

void TestRtfReader::realWorldFiles()
{
    QFETCH(QString, path);
    QVERIFY2(!path.isEmpty(), "the real-world RTF files are missing");
    const std::optional<QString> html = RtfReader::htmlFromFile(path);
    QVERIFY(html);
    QTextDocument doc;
    doc.setHtml(*html);
    const QString text = doc.toPlainText();
    QVERIFY(text.size() > 1000);
    QVERIFY(text.startsWith(QStringLiteral("MidiKeys 1.")));
    const QRegularExpression controlWord(QStringLiteral(R"(\\[A-Za-z]+)"));
    QVERIFY2(!text.contains(controlWord), qPrintable(controlWord.match(text).captured()));
    for (const char *leak : {"{", "}", "\\", "fonttbl", "colortbl", "Helvetica", "cocoa",
                             "HYPERLINK", "\xef\xbf\xbd"}) {
        QVERIFY2(!text.contains(QString::fromUtf8(leak)), leak);
    }
}

void TestRtfReader::realWorldText_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<double>("points");
    QTest::addColumn<QString>("href");

    const QString english = QStringLiteral("MidiKeys-2009/English.lproj/ReadMe.rtf");
    const QString french = QStringLiteral("MidiKeys-2009/French.lproj/Lisez-Moi.rtf");
    const QString modern = QStringLiteral("MidiKeys-2021/docs/ReadMe.rtf");
    // Mac Roman: \'c9 ellipsis, \'a5 bullet, \'a9 copyright, \'8e \'88 \'8d \'82 accents,
    // \'d1 em dash.
    QTest::newRow("mac ellipsis") << english << QString::fromUtf16(u"about it…it just won't work")
                                  << false << 12.0 << "";
    QTest::newRow("mac bullet") << english << QString::fromUtf16(u"• Mac OS X 10.2 or greater")
                                << false << 12.0 << "";
    QTest::newRow("mac copyright")
        << english << QString::fromUtf16(u"Copyright © 2002-2003 Chris Reed") << false << 10.0
        << "";
    QTest::newRow("mac e acute and a grave")
        << french << QString::fromUtf16(u"représentant un petit clavier MIDI à l'écran") << false
        << 12.0 << "";
    QTest::newRow("mac c cedilla")
        << french << QString::fromUtf16(u"Il y a deux façons d'utiliser") << false << 12.0 << "";
    QTest::newRow("mac capital c cedilla")
        << french << QString::fromUtf16(u"Ça ne marchera pas") << false << 12.0 << "";
    QTest::newRow("mac em dash") << french << QString::fromUtf16(u"comme \"hotkeys\"—Cela") << false
                                 << 12.0 << "";
    QTest::newRow("heading bold") << french << QStringLiteral("Configuration requise") << true
                                  << 13.0 << "";
    QTest::newRow("title") << modern << QStringLiteral("MidiKeys 1.9") << true << 16.0 << "";
    QTest::newRow("1252 apostrophe")
        << modern << QString::fromUtf16(u"Apple’s AU Lab is excellent") << false << 12.0 << "";
    QTest::newRow("1252 double quotes")
        << modern << QString::fromUtf16(u"“ignore accidental input”") << false << 12.0 << "";
    QTest::newRow("link") << modern << QStringLiteral("https://github.com/flit/MidiKeys") << false
                          << 12.0 << "https://github.com/flit/MidiKeys";
    QTest::newRow("indented link")
        << modern << QStringLiteral("    http://www.apache.org/licenses/LICENSE-2.0") << false
        << 12.0 << "";
}

void TestRtfReader::realWorldText()
{
    QFETCH(QString, file);
    QFETCH(QString, phrase);
    const std::optional<QString> html =
        RtfReader::htmlFromFile(QStringLiteral(VEXILO_TEST_REALWORLD "/") + file);
    QVERIFY(html);
    QTextDocument doc;
    doc.setHtml(*html);
    QVERIFY2(doc.toPlainText().contains(phrase), qPrintable(phrase));
    const std::optional<QTextCharFormat> format = formatOf(doc, phrase);
    QVERIFY(format);
    QTEST(format->fontWeight() >= QFont::Bold, "bold");
    QTEST(format->fontPointSize(), "points");
    QTEST(format->anchorHref(), "href");
}

void TestRtfReader::fromFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("text");

    QTest::newRow("rtf file") << "Credits.rtf" << QByteArray("{\\rtf1 Thanks\\par all}")
                              << "Thanks\nall";
    QTest::newRow("not rtf") << "Credits.rtf" << QByteArray("Thanks") << QString();
    QTest::newRow("empty file") << "Credits.rtf" << QByteArray() << QString();
    QTest::newRow("missing file") << "" << QByteArray() << QString();
    QTest::newRow("a folder") << "folder/" << QByteArray() << QString();
}

void TestRtfReader::fromFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("absent.rtf"));
    if (name.endsWith(u'/')) {
        QVERIFY(QDir(dir.path()).mkdir(name));
        path = dir.filePath(name);
    } else if (!name.isEmpty()) {
        path = dir.filePath(name);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(contents), contents.size());
    }
    const std::optional<QString> html = RtfReader::htmlFromFile(path);
    QCOMPARE(bool(html), !text.isEmpty());
    if (html) {
        QTextDocument doc;
        doc.setHtml(*html);
        QCOMPARE(doc.toPlainText(), text);
    }
}

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"

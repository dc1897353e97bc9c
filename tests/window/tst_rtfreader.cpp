#include "window/RtfReader.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace {

// The text with bold as *x*, italic as _x_ and links as [x](href): one string states both the
// text and its formatting, as the about box would show them.
QString marked(const std::optional<QString> &html)
{
    QTextDocument doc;
    doc.setHtml(html.value_or(QString()));
    QString out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        out += block == doc.begin() ? QString() : QStringLiteral("\n");
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            QString text = it.fragment().text();
            if (format.fontWeight() >= QFont::Bold)
                text = u'*' + text + u'*';
            if (format.fontItalic())
                text = u'_' + text + u'_';
            if (format.isAnchor())
                text = QStringLiteral("[%1](%2)").arg(text, format.anchorHref());
            out += text;
        }
    }
    return out;
}

QByteArray nested(int depth)
{
    return "{\\rtf1 " + QByteArray(depth - 1, '{') + 'x' + QByteArray(depth - 1, '}') + '}';
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT

private slots:
    void documents_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bold and italic toggles")
            << QByteArray("{\\rtf1 \\b on\\b0  off \\i it\\i0  {\\b\\i both} up}")
            << "*on* off _it_ _*both*_ up";
        QTest::newRow("paragraphs, skipped destinations")
            << QByteArray(
                   "{\\rtf1{\\fonttbl\\f0 Helvetica;}{\\colortbl;\\red255\\green0\\blue0;}"
                   "{\\*\\generator G;}{\\info{\\title T}}a\\par b{\\pict\\bin3 }}{}\\line c}")
            << QStringLiteral("a\nb\u2028c");
        QTest::newRow("cp1252 escapes")
            << QByteArray("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'93q\\'94 \\'80}") << "café “q” €";
        QTest::newRow("mac roman escapes")
            << QByteArray("{\\rtf1\\mac\\ansicpg10000 \\'8e\\'d2x\\'d3\\'c9\\'a5}") << "é“x”…•";
        QTest::newRow("unicode, uc1 and uc2")
            << QByteArray("{\\rtf1\\uc1 \\u8364? {\\uc2\\u233\\'80\\'81 x}\\u-10179?\\u-8704?}")
            << QString::fromUtf8("€ é x\xF0\x9F\x98\x80");
        QTest::newRow("uc0 skips nothing") << QByteArray("{\\rtf1\\uc0\\u233 x}") << "éx";
        QTest::newRow("hyperlink field")
            << QByteArray("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"https://e.org/?a=1&b\"}}"
                          "{\\fldrslt here}}.}")
            << "see [here](https://e.org/?a=1&b).";
        QTest::newRow("escaped braces") << QByteArray("{\\rtf1 \\{x\\} \\\\}") << "{x} \\";
        QTest::newRow("markup stays text")
            << QByteArray("{\\rtf1 <b>&amp;</b> \"q\"}") << "<b>&amp;</b> \"q\"";
        QTest::newRow("1000 levels") << nested(1000) << "x";
    }

    void documents()
    {
        QFETCH(QByteArray, rtf);
        const std::optional<QString> html = RtfReader::toHtml(rtf);
        QVERIFY(html);
        QTEST(marked(html), "expected");
    }

    void rejected_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain text") << QByteArray("Hello {\\rtf1 a}");
        QTest::newRow("missing close") << QByteArray("{\\rtf1 {\\b a}{b}");
        QTest::newRow("extra close") << QByteArray("{\\rtf1 a} b}");
        QTest::newRow("escaped brace does not close") << QByteArray("{\\rtf1 a\\}");
        QTest::newRow("ends in hex escape") << QByteArray("{\\rtf1 a\\'e");
        QTest::newRow("binary swallows the end") << QByteArray("{\\rtf1 \\bin5 ab}");
        QTest::newRow("1001 levels") << nested(1001);
        QTest::newRow("200000 open braces") << "{\\rtf1 " + QByteArray(200000, '{');
        QTest::newRow("200000 balanced levels") << nested(200000);
    }

    void rejected()
    {
        QFETCH(QByteArray, rtf);
        QVERIFY(!RtfReader::toHtml(rtf));
    }

    void realFiles()
    {
        QVERIFY(!RtfReader::htmlFromFile(QStringLiteral(VEXILO_TEST_REALWORLD "/absent.rtf")));
        QString all;
        QDirIterator it(QStringLiteral(VEXILO_TEST_REALWORLD), {QStringLiteral("*.rtf")},
                        QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        for (; it.hasNext(); ++count) {
            const QString text = marked(RtfReader::htmlFromFile(it.next()));
            QVERIFY2(text.startsWith(QStringLiteral("*MidiKeys 1.")), qPrintable(it.filePath()));
            // No control word, brace, font table or undecodable byte leaks into the text.
            static const QRegularExpression leak(
                QStringLiteral(R"([\\{}\x{fffd}]|fonttbl|colortbl|Helvetica|HYPERLINK)"));
            QVERIFY2(!text.contains(leak), qPrintable(leak.match(text).captured()));
            all += text;
        }
        QCOMPARE(count, 3);
        // Mac Roman \'8e \'88 \'82 \'a5 \'a9 in 2009, code page 1252 quotes and a link in 2021.
        for (const char *phrase :
             {"représentant un petit clavier MIDI à l'écran", "Ça ne marchera pas",
              "• Mac OS X 10.2 or greater", "Copyright © 2002-2003 Chris Reed",
              "Apple’s AU Lab is excellent",
              "[https://github.com/flit/MidiKeys](https://github.com/flit/MidiKeys)"})
            QVERIFY2(all.contains(QString::fromUtf8(phrase)), phrase);
    }
};

QTEST_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"

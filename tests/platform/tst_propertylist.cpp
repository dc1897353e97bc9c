#include "BundleBuilder.h"
#include "HostilePlists.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/bundle/StringsTable.h"
#include "platform/preferences/PropertyList.h"
#include "platform/prefs/PlistXml.h"

#include <QDirIterator>
#include <QStringEncoder>
#include <QTest>
#include <QTimeZone>

using HostilePlists::binary;
using HostilePlists::ref;

// The binary form as written by the system's own library, not by our code.
const auto toBinary = BundleBuilder::binaryPlist;
using Table = QHash<QString, QString>;
using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(std::optional<QString>)

static const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                                "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                                "<plist version=\"1.0\">\n";

// Property lists, and the strings tables that may be written as one.
class TestPropertyList : public QObject {
    Q_OBJECT

private slots:
    void roundTripOfEveryType()
    {
        const QVariantMap value{
            {QStringLiteral("AppleLanguages"),
             QVariantList{QStringLiteral("fr"), QVariantList{QStringLiteral("en-GB")}}},
            {QStringLiteral("Name"), QStringLiteral("Grüße <&> ]]> \r\n\t \U0001F1EB")},
            {QStringLiteral("Numbers"),
             QVariantList{std::numeric_limits<qlonglong>::min(),
                          std::numeric_limits<qulonglong>::max(), -0.1, true, false}},
            {QStringLiteral("Before2001"),
             QDateTime(QDate(1984, 1, 24), QTime(8, 0, 5), QTimeZone::utc())},
            {QStringLiteral("Blob"), QByteArray("\x00\x01\xFE\xFF", 4)},
            {QStringLiteral("Nested"), QVariantMap{{QStringLiteral("Empty"), QVariantMap()}}}};
        const QByteArray xml = PropertyList::toXml(value);
        QCOMPARE(PropertyList::parse(xml), std::optional<QVariant>(value));
        QCOMPARE(PropertyList::parse(toBinary(xml)), std::optional<QVariant>(value));
    }

    // The exact bytes the store has always written, so that existing files do not change.
    void writesTheStoresForm()
    {
        const QVariantMap value{
            {QStringLiteral("b"), QByteArray(60, '\xFF')},
            {QStringLiteral("a<&>"), QStringLiteral("x\ry")},
            {QStringLiteral("\u00e9"), QVariantList{QVariantList(), QVariantMap(), 0.1, -1e300}},
            {QStringLiteral("\U0001F600"),
             QDateTime(QDate(2026, 12, 6), QTime(9, 24, 5, 900), QTimeZone::utc())},
            {QStringLiteral("\uFB01"), QVariantList{true, std::numeric_limits<qulonglong>::max()}}};
        // Keys in UTF-16 order: the emoji's surrogates sort before U+FB01.
        const QByteArray expected = kHead +
                                    "<dict>\n"
                                    "\t<key>a&lt;&amp;&gt;</key>\n"
                                    "\t<string>x&#13;y</string>\n"
                                    "\t<key>b</key>\n"
                                    "\t<data>\n\t" +
                                    QByteArray(68, '/') + "\n\t" + QByteArray(12, '/') +
                                    "\n"
                                    "\t</data>\n"
                                    "\t<key>\xC3\xA9</key>\n"
                                    "\t<array>\n"
                                    "\t\t<array/>\n"
                                    "\t\t<dict/>\n"
                                    "\t\t<real>0.10000000000000001</real>\n"
                                    "\t\t<real>-1.0000000000000001e+300</real>\n"
                                    "\t</array>\n"
                                    "\t<key>\xF0\x9F\x98\x80</key>\n"
                                    "\t<date>2026-12-06T09:24:05Z</date>\n"
                                    "\t<key>\xEF\xAC\x81</key>\n"
                                    "\t<array>\n"
                                    "\t\t<true/>\n"
                                    "\t\t<integer>18446744073709551615</integer>\n"
                                    "\t</array>\n"
                                    "</dict>\n"
                                    "</plist>\n";
        QCOMPARE(PropertyList::toXml(value), expected);
    }

    void refusesWhatXmlCannotCarry_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("control character") << QVariant(QStringLiteral("a\x01"));
        QTest::newRow("in a key") << QVariant(QVariantMap{{QStringLiteral("\x1b"), 1}});
        QTest::newRow("lone surrogate") << QVariant(QVariantList{QString(QChar(0xD800))});
        row("year 10000", QVariant(QDateTime(QDate(10000, 1, 1), QTime(0, 0), QTimeZone::utc())));
        QTest::newRow("not a plist type") << QVariant(QPoint(1, 2));
    }

    void refusesWhatXmlCannotCarry()
    {
        QFETCH(QVariant, value);
        QCOMPARE(PropertyList::toXml(value), QByteArray());
    }

    // What each file reads as; an invalid value: not a property list.
    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QVariant>("expected");
        const QVariantMap kv{{QStringLiteral("k"), QStringLiteral("v")}};

        row("byte-order mark", "\xEF\xBB\xBF" + PropertyList::toXml(kv), QVariant(kv));
        row("bare root, comments, CDATA",
            QByteArray("<!-- c --><dict><key>k</key><!-- c --><string><![CDATA[v]]></string>"
                       "</dict>"),
            QVariant(kv));
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        row("UTF-16", QByteArray(utf16(u"<string>\u00e9</string>"_s)), QVariant(u"\u00e9"_s));
        row("numbers and dates",
            QByteArray("<plist><array><integer> 0x1F </integer><integer>-9223372036854775808"
                       "</integer><real>+infinity</real><date>2001-01-01T00:00:00.25Z</date>"
                       "<data>AA\n==</data></array></plist>"),
            QVariant(QVariantList{qlonglong(31), std::numeric_limits<qlonglong>::min(),
                                  std::numeric_limits<double>::infinity(),
                                  QDateTime::fromMSecsSinceEpoch(978307200250, QTimeZone::utc()),
                                  QByteArray(1, '\0')}));
        row("later key wins",
            QByteArray("<dict><key>k</key><true/><key>k</key><string>v</string></dict>"),
            QVariant(kv));
        row("binary object used twice", binary({"\xA2" + ref(1) + ref(1), "\x51v"}),
            QVariant(QVariantList{u"v"_s, u"v"_s}));
        // The nesting limit: 512 levels below the root.
        QVariant deep = QVariantList();
        for (int level = 1; level < 513; ++level)
            deep = QVariantList{deep};
        QTest::newRow("513 XML levels") << HostilePlists::deepXml(513) << deep;
        QTest::newRow("513 binary levels") << HostilePlists::deepBinary(513) << deep;
        // Not a property list, or not one it can read whole.
        const auto garbage = [](const char *tag, const QByteArray &bytes) {
            QTest::newRow(tag) << bytes << QVariant();
        };
        const QByteArray binaryList = toBinary(PropertyList::toXml(QVariantList{1, 2}));
        garbage("random bytes", QByteArray("\x13\x37\x00\xFF\x80garbage<<<", 14));
        garbage("unterminated xml", QByteArray("<plist><string>abc</plist>"));
        garbage("truncated binary", binaryList.left(binaryList.size() - 10));
        for (const auto &[name, bytes] : HostilePlists::all())
            garbage(name, bytes);
        garbage("514 XML levels", HostilePlists::deepXml(514));
        garbage("514 binary levels", HostilePlists::deepBinary(514));

        garbage("array holding itself", binary({"\xA1" + ref(0)}));
        garbage("cycle of two", binary({"\xA1" + ref(1), "\xA1" + ref(0)}));
        QList<QByteArray> doubling;
        for (quint32 i = 0; i < 60; ++i)
            doubling.append("\xA2" + ref(i + 1) + ref(i + 1));
        doubling.append("\x09");
        garbage("2^60 values from 61 objects", binary(doubling));
        garbage("reference past the last object", binary({"\xA1" + ref(1)}));
        garbage("length past the end", binary({QByteArray("\x5F\x13\x7F\xFF\xFF\xFF\xFF"
                                                          "\xFF\xFF\xFF")}));
        QByteArray offsetOut = binary({"\x09"});
        offsetOut[9 + 3] = '\x7F'; // the object's offset
        garbage("offset past the objects", offsetOut);
        QByteArray noObjects = binary({"\x09"});
        noObjects[noObjects.size() - 32 + 15] = 0;
        garbage("trailer counts no object", noObjects);
        garbage("set", binary({"\xC1" + ref(1), "\x09"}));

        const QByteArray doctype = "<!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaaaaaaaa\">"
                                   "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>";
        garbage("entity declared", doctype + "<plist><string>&b;</string></plist>");
        garbage("external entity",
                QByteArray("<!DOCTYPE plist [<!ENTITY x SYSTEM \"/etc/hostname\">]>"
                           "<plist><string>&x;</string></plist>"));
        garbage("undefined entity", kHead + "<string>&x;</string></plist>");
        garbage("two values", kHead + "<true/><false/></plist>");
        garbage("key without value", QByteArray("<dict><key>k</key></dict>"));
        garbage("unknown element", QByteArray("<plist><set/></plist>"));
        garbage("text between elements", QByteArray("<array>x<true/></array>"));
        garbage("bad base64", QByteArray("<data>A===</data>"));
        garbage("31 April", QByteArray("<date>2026-04-31T00:00:00Z</date>"));
        garbage("integer above 64 bits", QByteArray("<integer>18446744073709551616</integer>"));
    }

    void parse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QVariant, expected);
        QCOMPARE(PropertyList::parse(bytes),
                 expected.isValid() ? std::optional(expected) : std::nullopt);
    }

    // Plain UTF-8 files, what applications have, are read without expat; the rest is left to
    // it. Either way the value is the one expat reads.
    void plainFilesSkipExpat_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plain");
        const QByteArray end = "</plist>\n";
        row("as the store writes",
            PropertyList::toXml(QVariantMap{
                {u"k"_s, QVariantList{1, 2.5, true, QByteArray("\x01"), QVariantMap()}}}),
            true);
        row("entities and references",
            kHead + "<string>&lt;&#233;&#x1F1EB;&amp;&quot;</string>" + end, true);
        row("no declaration, bare value", QByteArray("<string>v</string>"), true);
        row("comment", kHead + "<!-- c --><string>v</string>" + end, false);
        row("CDATA", kHead + "<string><![CDATA[<v>]]></string>" + end, false);
        row("carriage returns", kHead + "<string>a\r\nb</string>" + end, false);
        row("Latin-1",
            QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><string>\xe9</string>"),
            false);
        row("internal subset", QByteArray("<!DOCTYPE plist [ ]><string>v</string>"), false);
        const QDir realworld(QStringLiteral(VEXILO_TEST_REALWORLD));
        QDirIterator files(realworld.path(), {QStringLiteral("*.plist")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            QTest::newRow(qPrintable(realworld.relativeFilePath(file))) << readFile(file) << true;
        }
    }

    void plainFilesSkipExpat()
    {
        QFETCH(QByteArray, bytes);
        const std::string_view view(bytes.constData(), size_t(bytes.size()));
        const auto expat = Plist::parseXmlWithExpat(view);
        QVERIFY(expat);
        const auto fast = Plist::parsePlainXml(view);
        QTEST(fast.has_value(), "plain");
        if (fast)
            QVERIFY(*fast == *expat);
    }

    // The value of the key "k"; none: not a strings table.
    void stringsTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<QString>>("value");
        const auto row = [](const char *tag, const QByteArray &bytes,
                            std::optional<QString> value = std::nullopt) {
            QTest::newRow(tag) << bytes << value;
        };
        const QString cafe = u"Caf\u00e9 \u2328"_s;
        const QString text = "\"k\" = \"" + cafe + "\";\n";
        const auto bom = QStringConverter::Flag::WriteBom;
        row("utf-8", text.toUtf8(), cafe);
        row("utf-8 with bom", "\xEF\xBB\xBF" + text.toUtf8(), cafe);
        row("utf-16 le", QStringEncoder(QStringConverter::Utf16LE, bom)(text), cafe);
        row("utf-16 be", QStringEncoder(QStringConverter::Utf16BE, bom)(text), cafe);
        row("comments", "/**/k /*\n*/= \"/*\";//", u"/*"_s);
        row("escapes", "\"k\" = \"a\\n\\\"c\\\\\\U00e9\\UD83D\\UDE00\";",
            u"a\n\"c\\\u00e9\U0001F600"_s);
        row("unquoted", "k = 1.9-beta_2;", u"1.9-beta_2"_s);
        row("binary plist", toBinary(PropertyList::toXml(QVariantMap{{"k", u"\u00e9t\u00e9"_s}})),
            u"\u00e9t\u00e9"_s);
        row("missing semicolon", "\"a\" = \"b\"\n\"c\" = \"d\";");
        row("unterminated string", "\"a\" = \"b;\n");
        row("invalid utf-8", "\"a\" = \"\xC3\x28\";");
        row("odd-length utf-16", "\xFF\xFE\x22\x00\x61");
        row("binary non-string value", toBinary(PropertyList::toXml(QVariantMap{{"n", 3}})));
    }

    void stringsTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(std::optional<QString>, value);
        QCOMPARE(StringsTable::parse(bytes),
                 value ? std::optional<Table>({{u"k"_s, *value}}) : std::nullopt);
    }

    void realStringsTables()
    {
        VEXILO_REQUIRE_REALWORLD();
        QHash<QString, Table> tables;
        QDirIterator it(QStringLiteral(VEXILO_TEST_REALWORLD), {QStringLiteral("*.strings")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const Table table = StringsTable::parse(readFile(file)).value_or(Table());
            const QString text = (table.keys() + table.values()).join(QLatin1Char(' '));
            QVERIFY2(!table.isEmpty() && !text.contains(QChar(0)) && // no mis-decoded file
                         !text.contains(QChar::ReplacementCharacter),
                     qPrintable(file));
            tables.insert(file.section(QLatin1Char('/'), -3), table);
        }
        // In UTF-16 LE with unquoted keys, BE, and LE with quoted keys.
        const char *const expected[][3] = {
            {"MidiKeys-2009/English.lproj/InfoPlist.strings", "CFBundleName", "MidiKeys"},
            {"MidiKeys-2009/French.lproj/Localizable.strings", "Octave Up",
             "Octave Sup\u00e9rieure"},
            {"Resources/fr.lproj/Sparkle.strings", "Cancel Update", "Annuler la mise \u00e0 jour"}};
        for (const auto &[file, key, value] : expected)
            QCOMPARE(tables.value(QString::fromUtf8(file)).value(QString::fromUtf8(key)),
                     QString::fromUtf8(value));
    }
};

QTEST_GUILESS_MAIN(TestPropertyList)
#include "tst_propertylist.moc"

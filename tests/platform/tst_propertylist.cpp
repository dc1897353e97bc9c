#include "BundleBuilder.h"
#include "HostilePlists.h"
#include "TestEnvironment.h"
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
        QTest::newRow("year 10000")
            << QVariant(QDateTime(QDate(10000, 1, 1), QTime(0, 0), QTimeZone::utc()));
        QTest::newRow("not a plist type") << QVariant(QPoint(1, 2));
    }

    void refusesWhatXmlCannotCarry()
    {
        QFETCH(QVariant, value);
        QCOMPARE(PropertyList::toXml(value), QByteArray());
    }

    void readsFilesAsWritten_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QVariant>("expected");
        const QVariantMap kv{{QStringLiteral("k"), QStringLiteral("v")}};

        QTest::newRow("byte-order mark")
            << "\xEF\xBB\xBF" + PropertyList::toXml(kv) << QVariant(kv);
        QTest::newRow("bare root, comments, CDATA")
            << QByteArray("<!-- c --><dict><key>k</key><!-- c --><string><![CDATA[v]]></string>"
                          "</dict>")
            << QVariant(kv);
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("UTF-16") << QByteArray(utf16(QStringLiteral("<string>\u00e9</string>")))
                                << QVariant(QStringLiteral("\u00e9"));
        QTest::newRow("numbers and dates")
            << QByteArray("<plist><array><integer> 0x1F </integer><integer>-9223372036854775808"
                          "</integer><real>+infinity</real><date>2001-01-01T00:00:00.25Z</date>"
                          "<data>AA\n==</data></array></plist>")
            << QVariant(QVariantList{qlonglong(31), std::numeric_limits<qlonglong>::min(),
                                     std::numeric_limits<double>::infinity(),
                                     QDateTime::fromMSecsSinceEpoch(978307200250, QTimeZone::utc()),
                                     QByteArray(1, '\0')});
        QTest::newRow("later key wins") << QByteArray("<dict><key>k</key><true/><key>k</key>"
                                                      "<string>v</string></dict>")
                                        << QVariant(kv);
        QTest::newRow("binary object used twice")
            << binary({"\xA2" + ref(1) + ref(1), "\x51v"})
            << QVariant(QVariantList{QStringLiteral("v"), QStringLiteral("v")});
        // The nesting limit: 512 levels below the root.
        QTest::newRow("513 XML levels") << HostilePlists::deepXml(513) << QVariant();
        QTest::newRow("513 binary levels") << HostilePlists::deepBinary(513) << QVariant();
    }

    void readsFilesAsWritten()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QVariant, expected);
        const std::optional<QVariant> value = PropertyList::parse(bytes);
        QVERIFY(value);
        if (expected.isValid())
            QCOMPARE(*value, expected);
    }

    // Plain UTF-8 files, what applications have, are read without expat; the rest is left to
    // it. Either way the value is the one expat reads.
    void plainFilesSkipExpat_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("plain");
        const QByteArray end = "</plist>\n";
        QTest::newRow("as the store writes")
            << PropertyList::toXml(
                   QVariantMap{{QStringLiteral("k"),
                                QVariantList{1, 2.5, true, QByteArray("\x01"), QVariantMap()}}})
            << true;
        QTest::newRow("entities and references")
            << kHead + "<string>&lt;&#233;&#x1F1EB;&amp;&quot;</string>" + end << true;
        QTest::newRow("no declaration, bare value") << QByteArray("<string>v</string>") << true;
        QTest::newRow("comment") << kHead + "<!-- c --><string>v</string>" + end << false;
        QTest::newRow("CDATA") << kHead + "<string><![CDATA[<v>]]></string>" + end << false;
        QTest::newRow("carriage returns") << kHead + "<string>a\r\nb</string>" + end << false;
        QTest::newRow("Latin-1") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                                               "<string>\xe9</string>")
                                 << false;
        QTest::newRow("internal subset")
            << QByteArray("<!DOCTYPE plist [ ]><string>v</string>") << false;
        const QDir realworld(QStringLiteral(VEXILO_TEST_REALWORLD));
        QDirIterator files(realworld.path(), {QStringLiteral("*.plist")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(realworld.relativeFilePath(file.fileName())))
                << file.readAll() << true;
        }
    }

    void plainFilesSkipExpat()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plain);
        const std::string_view view(bytes.constData(), size_t(bytes.size()));
        const auto expat = Plist::parseXmlWithExpat(view);
        QVERIFY(expat);
        const auto fast = Plist::parsePlainXml(view);
        QCOMPARE(fast.has_value(), plain);
        if (fast)
            QVERIFY(*fast == *expat);
    }

    void rejectsGarbage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray binaryList = toBinary(PropertyList::toXml(QVariantList{1, 2}));
        QTest::newRow("random bytes") << QByteArray("\x13\x37\x00\xFF\x80garbage<<<", 14);
        QTest::newRow("unterminated xml") << QByteArray("<plist><string>abc</plist>");
        QTest::newRow("truncated binary") << binaryList.left(binaryList.size() - 10);
        for (const auto &[name, bytes] : HostilePlists::all())
            QTest::newRow(name) << bytes;
        QTest::newRow("514 XML levels") << HostilePlists::deepXml(514);
        QTest::newRow("514 binary levels") << HostilePlists::deepBinary(514);

        QTest::newRow("array holding itself") << binary({"\xA1" + ref(0)});
        QTest::newRow("cycle of two") << binary({"\xA1" + ref(1), "\xA1" + ref(0)});
        QList<QByteArray> doubling;
        for (quint32 i = 0; i < 60; ++i)
            doubling.append("\xA2" + ref(i + 1) + ref(i + 1));
        doubling.append("\x09");
        QTest::newRow("2^60 values from 61 objects") << binary(doubling);
        QTest::newRow("reference past the last object") << binary({"\xA1" + ref(1)});
        QTest::newRow("length past the end") << binary({QByteArray("\x5F\x13\x7F\xFF\xFF\xFF\xFF"
                                                                   "\xFF\xFF\xFF")});
        QByteArray offsetOut = binary({"\x09"});
        offsetOut[9 + 3] = '\x7F'; // the object's offset
        QTest::newRow("offset past the objects") << offsetOut;
        QByteArray noObjects = binary({"\x09"});
        noObjects[noObjects.size() - 32 + 15] = 0;
        QTest::newRow("trailer counts no object") << noObjects;
        QTest::newRow("set") << binary({"\xC1" + ref(1), "\x09"});

        const QByteArray doctype = "<!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaaaaaaaa\">"
                                   "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>";
        QTest::newRow("entity declared") << doctype + "<plist><string>&b;</string></plist>";
        QTest::newRow("external entity")
            << QByteArray("<!DOCTYPE plist [<!ENTITY x SYSTEM \"/etc/hostname\">]>"
                          "<plist><string>&x;</string></plist>");
        QTest::newRow("undefined entity") << kHead + "<string>&x;</string></plist>";
        QTest::newRow("two values") << kHead + "<true/><false/></plist>";
        QTest::newRow("key without value") << QByteArray("<dict><key>k</key></dict>");
        QTest::newRow("unknown element") << QByteArray("<plist><set/></plist>");
        QTest::newRow("text between elements") << QByteArray("<array>x<true/></array>");
        QTest::newRow("bad base64") << QByteArray("<data>A===</data>");
        QTest::newRow("31 April") << QByteArray("<date>2026-04-31T00:00:00Z</date>");
        QTest::newRow("integer above 64 bits")
            << QByteArray("<integer>18446744073709551616</integer>");
    }

    void rejectsGarbage()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!PropertyList::parse(bytes).has_value());
    }

    void stringsTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("value"); // of the key "k"
        const QString cafe = QStringLiteral("Caf\u00e9 \u2328");
        const QString text = "\"k\" = \"" + cafe + "\";\n";
        const auto bom = QStringConverter::Flag::WriteBom;
        QTest::newRow("utf-8") << text.toUtf8() << cafe;
        QTest::newRow("utf-8 with bom") << "\xEF\xBB\xBF" + text.toUtf8() << cafe;
        QTest::newRow("utf-16 le")
            << QByteArray(QStringEncoder(QStringConverter::Utf16LE, bom)(text)) << cafe;
        QTest::newRow("utf-16 be")
            << QByteArray(QStringEncoder(QStringConverter::Utf16BE, bom)(text)) << cafe;
        QTest::newRow("comments") << QByteArray("/**/k /*\n*/= \"/*\";//") << QStringLiteral("/*");
        QTest::newRow("escapes") << QByteArray("\"k\" = \"a\\n\\\"c\\\\\\U00e9\\UD83D\\UDE00\";")
                                 << QStringLiteral("a\n\"c\\\u00e9\U0001F600");
        QTest::newRow("unquoted") << QByteArray("k = 1.9-beta_2;") << QStringLiteral("1.9-beta_2");
        QTest::newRow("binary plist")
            << toBinary(PropertyList::toXml(QVariantMap{{"k", QStringLiteral("\u00e9t\u00e9")}}))
            << QStringLiteral("\u00e9t\u00e9");
    }

    void stringsTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, value);
        QCOMPARE(StringsTable::parse(bytes), std::optional<Table>({{QStringLiteral("k"), value}}));
    }

    void malformedStringsTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing semicolon") << QByteArray("\"a\" = \"b\"\n\"c\" = \"d\";");
        QTest::newRow("unterminated string") << QByteArray("\"a\" = \"b;\n");
        QTest::newRow("invalid utf-8") << QByteArray("\"a\" = \"\xC3\x28\";");
        QTest::newRow("odd-length utf-16") << QByteArray("\xFF\xFE\x22\x00\x61");
        QTest::newRow("binary non-string value")
            << toBinary(PropertyList::toXml(QVariantMap{{"n", 3}}));
    }

    void malformedStringsTable()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!StringsTable::parse(bytes).has_value());
    }

    void realStringsTables()
    {
        VEXILO_REQUIRE_REALWORLD();
        QHash<QString, Table> tables;
        QDirIterator it(QStringLiteral(VEXILO_TEST_REALWORLD), {QStringLiteral("*.strings")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            file.open(QIODevice::ReadOnly);
            const Table table = StringsTable::parse(file.readAll()).value_or(Table());
            const QString text = (table.keys() + table.values()).join(QLatin1Char(' '));
            QVERIFY2(!table.isEmpty() && !text.contains(QChar(0)) && // no mis-decoded file
                         !text.contains(QChar::ReplacementCharacter),
                     qPrintable(file.fileName()));
            tables.insert(file.fileName().section(QLatin1Char('/'), -3), table);
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

#include "StringsTable.h"

#include <QDirIterator>
#include <QFile>
#include <QStringEncoder>
#include <QTest>
#include <plist/plist.h>

using Table = QHash<QString, QString>;
Q_DECLARE_METATYPE(Table)

namespace {

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding, bool bom = true)
{
    QStringEncoder encoder(encoding, bom ? QStringConverter::Flag::WriteBom
                                         : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

QByteArray binaryPlist(const QList<QPair<const char *, plist_t>> &items)
{
    plist_t dict = plist_new_dict();
    for (const auto &[key, value] : items)
        plist_dict_set_item(dict, key, value);
    char *bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(dict, &bin, &length);
    QByteArray out(bin, qsizetype(length));
    free(bin);
    plist_free(dict);
    return out;
}

QString realworld(const QString &relative)
{
    return QStringLiteral(VEXILO_TEST_REALWORLD "/") + relative;
}

std::optional<Table> parseFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return StringsTable::parse(file.readAll());
}

} // namespace

class TestStringsTable : public QObject {
    Q_OBJECT

private slots:
    void parses_data();
    void parses();
    void rejectsMalformed_data();
    void rejectsMalformed();
    void realFilesAllParse_data();
    void realFilesAllParse();
    void realFileValues_data();
    void realFileValues();
};

void TestStringsTable::parses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Table>("expected");

    const QString pairs =
        QStringLiteral("\"CFBundleName\" = \"Caf\u00e9\";\n\"Greeting\" = \"Bonjour\";\n");
    const Table pairsTable{{QStringLiteral("CFBundleName"), QStringLiteral("Caf\u00e9")},
                           {QStringLiteral("Greeting"), QStringLiteral("Bonjour")}};

    QTest::newRow("utf-8") << pairs.toUtf8() << pairsTable;
    QTest::newRow("utf-8 with bom") << "\xEF\xBB\xBF" + pairs.toUtf8() << pairsTable;
    QTest::newRow("utf-16 le with bom") << utf16(pairs, QStringConverter::Utf16LE) << pairsTable;
    QTest::newRow("utf-16 be with bom") << utf16(pairs, QStringConverter::Utf16BE) << pairsTable;
    QTest::newRow("utf-16 le without bom")
        << utf16(pairs, QStringConverter::Utf16LE, false) << pairsTable;
    QTest::newRow("utf-16 be without bom")
        << utf16(pairs, QStringConverter::Utf16BE, false) << pairsTable;

    QTest::newRow("empty file") << QByteArray() << Table();
    QTest::newRow("comments only") << QByteArray("/* nothing */\n// at all\n") << Table();

    QTest::newRow("comments everywhere")
        << QByteArray("/* head\n   more */ \"a\" /* x */ = // y\n \"b\" /**/ ; // tail")
        << Table{{QStringLiteral("a"), QStringLiteral("b")}};
    QTest::newRow("comment markers inside a string")
        << QByteArray("\"url\" = \"http://example.org/*x*/\";")
        << Table{{QStringLiteral("url"), QStringLiteral("http://example.org/*x*/")}};

    QTest::newRow("escapes") << QByteArray(R"("k" = "a\nb\tc\rd\"e\\f\'g";)")
                             << Table{{QStringLiteral("k"), QStringLiteral("a\nb\tc\rd\"e\\f'g")}};
    QTest::newRow("unicode escapes")
        << QByteArray(R"("caf\U00e9" = "\u00E9t\U00E9 \U2026";)")
        << Table{{QStringLiteral("caf\u00e9"), QStringLiteral("\u00e9t\u00e9 \u2026")}};
    QTest::newRow("surrogate pair escapes")
        << QByteArray(R"("smile" = "\UD83D\UDE00";)")
        << Table{{QStringLiteral("smile"), QString::fromUtf8("\xF0\x9F\x98\x80")}};
    QTest::newRow("octal escapes")
        << QByteArray(R"("o" = "\101\12\0";)")
        << Table{{QStringLiteral("o"), QString(QStringLiteral("A\n")) + QChar(0)}};
    QTest::newRow("other escaped characters stand for themselves")
        << QByteArray(R"("q" = "\%\/";)") << Table{{QStringLiteral("q"), QStringLiteral("%/")}};

    QTest::newRow("unquoted key") << QByteArray("CFBundleName = \"MidiKeys\";")
                                  << Table{{QStringLiteral("CFBundleName"),
                                            QStringLiteral("MidiKeys")}};
    QTest::newRow("unquoted key and value with every allowed character")
        << QByteArray("a_b.c-d$e:f/g = 1.9-beta_2:x/y$z;")
        << Table{{QStringLiteral("a_b.c-d$e:f/g"), QStringLiteral("1.9-beta_2:x/y$z")}};
    QTest::newRow("no blanks") << QByteArray("a=\"b\";c=d;")
                               << Table{{QStringLiteral("a"), QStringLiteral("b")},
                                        {QStringLiteral("c"), QStringLiteral("d")}};
    QTest::newRow("key alone") << QByteArray("\"Cancel\";\nOK;")
                               << Table{{QStringLiteral("Cancel"), QStringLiteral("Cancel")},
                                        {QStringLiteral("OK"), QStringLiteral("OK")}};
    QTest::newRow("single quotes") << QByteArray("'it' = 'say \"hi\"';")
                                   << Table{{QStringLiteral("it"), QStringLiteral("say \"hi\"")}};
    QTest::newRow("empty key and value")
        << QByteArray("\"\" = \"\";") << Table{{QString(), QString()}};
    QTest::newRow("newline inside a quoted value")
        << QByteArray("\"k\" = \"two\nlines\";")
        << Table{{QStringLiteral("k"), QStringLiteral("two\nlines")}};
    QTest::newRow("later duplicate wins")
        << QByteArray("k = \"1\"; k = \"2\";") << Table{{QStringLiteral("k"), QStringLiteral("2")}};
    QTest::newRow("braces around the pairs") << QByteArray("{\n  \"a\" = \"b\";\n}\n")
                                             << Table{{QStringLiteral("a"), QStringLiteral("b")}};
    QTest::newRow("crlf line ends") << QByteArray("// c\r\n\"a\" = \"b\";\r\n")
                                    << Table{{QStringLiteral("a"), QStringLiteral("b")}};

    QTest::newRow("binary plist")
        << binaryPlist({{"CFBundleName", plist_new_string("Vexilo")},
                        {"PromoLine", plist_new_string("\xC3\xA9t\xC3\xA9")}})
        << Table{{QStringLiteral("CFBundleName"), QStringLiteral("Vexilo")},
                 {QStringLiteral("PromoLine"), QStringLiteral("\u00e9t\u00e9")}};
    QTest::newRow("xml plist")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                      "<key>a</key><string>b</string></dict></plist>")
        << Table{{QStringLiteral("a"), QStringLiteral("b")}};
}

void TestStringsTable::parses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Table, expected);
    const std::optional<Table> table = StringsTable::parse(bytes);
    QVERIFY(table.has_value());
    QCOMPARE(*table, expected);
}

void TestStringsTable::rejectsMalformed_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("missing semicolon") << QByteArray("\"a\" = \"b\"");
    QTest::newRow("missing semicolon between pairs") << QByteArray("\"a\" = \"b\"\n\"c\" = \"d\";");
    QTest::newRow("missing equals") << QByteArray("\"a\" \"b\";");
    QTest::newRow("missing value") << QByteArray("\"a\" = ;");
    QTest::newRow("unterminated string") << QByteArray("\"a\" = \"b;\n");
    QTest::newRow("backslash at the end") << QByteArray("\"a\" = \"b\\");
    QTest::newRow("unterminated comment") << QByteArray("\"a\" = \"b\"; /* never closed");
    QTest::newRow("unicode escape without digits") << QByteArray(R"("a" = "\Uzz";)");
    QTest::newRow("character not allowed unquoted") << QByteArray("a b = \"c\";");
    QTest::newRow("stray equals") << QByteArray("= \"c\";");
    QTest::newRow("unclosed brace") << QByteArray("{ \"a\" = \"b\";");
    QTest::newRow("text after brace") << QByteArray("{ \"a\" = \"b\"; } x");
    QTest::newRow("array value") << QByteArray("\"a\" = (\"b\");");
    QTest::newRow("invalid utf-8") << QByteArray("\"a\" = \"\xC3\x28\";");
    QTest::newRow("odd-length utf-16") << QByteArray("\xFF\xFE\x22\x00\x61");
    QTest::newRow("garbage bytes") << QByteArray("\x00\x00\x13\x37\xFF\xFF", 6);
    QTest::newRow("broken binary plist") << QByteArray("bplist00\x01\x02\x03");
    QTest::newRow("binary plist that is not a dictionary") << []() {
        plist_t array = plist_new_array();
        plist_array_append_item(array, plist_new_string("x"));
        char *bin = nullptr;
        uint32_t length = 0;
        plist_to_bin(array, &bin, &length);
        QByteArray out(bin, qsizetype(length));
        free(bin);
        plist_free(array);
        return out;
    }();
    QTest::newRow("binary plist with a non-string value")
        << binaryPlist({{"a", plist_new_string("b")}, {"n", plist_new_uint(3)}});
}

void TestStringsTable::rejectsMalformed()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!StringsTable::parse(bytes).has_value());
}

void TestStringsTable::realFilesAllParse_data()
{
    QTest::addColumn<QString>("path");
    QDirIterator it(QStringLiteral(VEXILO_TEST_REALWORLD), {QStringLiteral("*.strings")},
                    QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        QTest::newRow(qPrintable(path.mid(qsizetype(strlen(VEXILO_TEST_REALWORLD)) + 1))) << path;
        ++count;
    }
    // Every localisation of Autoupdate.app has its Sparkle.strings, plus the MidiKeys files.
    QVERIFY2(count >= 31 + 20, qPrintable(QStringLiteral("only %1 files found").arg(count)));
}

void TestStringsTable::realFilesAllParse()
{
    QFETCH(QString, path);
    const std::optional<Table> table = parseFile(path);
    QVERIFY(table.has_value());
    QVERIFY(!table->isEmpty());
    for (auto it = table->cbegin(); it != table->cend(); ++it) {
        // A mis-decoded file shows up as NULs or replacement characters.
        QVERIFY2(!it.key().contains(QChar(0)) && !it.key().contains(QChar::ReplacementCharacter),
                 qPrintable(it.key()));
        QVERIFY(!it.value().contains(QChar::ReplacementCharacter));
    }
}

void TestStringsTable::realFileValues_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    // UTF-16 LE with unquoted keys.
    QTest::newRow("2009 English name") << "MidiKeys-2009/English.lproj/InfoPlist.strings"
                                       << "CFBundleName"
                                       << "MidiKeys";
    QTest::newRow("2009 English copyright")
        << "MidiKeys-2009/English.lproj/InfoPlist.strings"
        << "NSHumanReadableCopyright"
        << QStringLiteral("Copyright \u00a9 2002-2018 Immo Software.");
    QTest::newRow("2009 French version") << "MidiKeys-2009/French.lproj/InfoPlist.strings"
                                         << "CFBundleShortVersionString"
                                         << "1.9";
    // UTF-16 BE with accented text and a trailing line comment.
    QTest::newRow("2009 French octave") << "MidiKeys-2009/French.lproj/Localizable.strings"
                                        << "Octave Up" << QStringLiteral("Octave Sup\u00e9rieure");
    QTest::newRow("2009 French dock badge") << "MidiKeys-2009/French.lproj/Localizable.strings"
                                            << "HotKeyDockBadge" << QStringLiteral("\u2328");
    QTest::newRow("2009 French key map (utf-16 be)")
        << "MidiKeys-2009/French.lproj/KeyMapNames.strings"
        << "Reversed Full" << QStringLiteral("Compl\u00e8te Invers\u00e9e");
    QTest::newRow("2021 French name") << "MidiKeys-2021/fr.lproj/InfoPlist.strings"
                                      << "CFBundleName"
                                      << "MidiKeys";
    QTest::newRow("2021 French copyright")
        << "MidiKeys-2021/fr.lproj/InfoPlist.strings"
        << "CFBundleGetInfoString" << QStringLiteral("Copyright \u00a9 2002-2021 beatimprint LLC");
    // Escaped quotes inside keys and values.
    QTest::newRow("2009 German escaped quotes")
        << "MidiKeys-2009/German.lproj/Localizable.strings"
        << "The key combination \"%@\" couldn't be used, because %@."
        << "Der Kurzbefehl \"%@\" konnte nicht benutzt werden, da %@.";
    QTest::newRow("Sparkle French positional placeholders")
        << "Autoupdate.app/Contents/Resources/fr.lproj/Sparkle.strings"
        << "%1$@ %2$@ has been downloaded and is ready to use! This is an important update; would "
           "you like to install it and relaunch %1$@ now?"
        << QStringLiteral("%1$@ %2$@ a \u00e9t\u00e9 t\u00e9l\u00e9charg\u00e9. C'est une mise "
                          "\u00e0 jour importante; voulez-vous l\u2019installer et relancer %1$@ "
                          "maintenant\u00a0?");
}

void TestStringsTable::realFileValues()
{
    QFETCH(QString, file);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const std::optional<Table> table = parseFile(realworld(file));
    QVERIFY(table.has_value());
    QVERIFY2(table->contains(key), qPrintable(key));
    QCOMPARE(table->value(key), value);
}

QTEST_GUILESS_MAIN(TestStringsTable)
#include "tst_stringstable.moc"

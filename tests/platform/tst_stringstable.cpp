#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "platform/bundle/StringsTable.h"
#include "platform/preferences/PropertyList.h"

#include <QtTest>

using Table = QHash<QString, QString>;

static QByteArray binaryPlist(const QVariantMap &values)
{
    return BundleBuilder::binaryPlist(PropertyList::toXml(values));
}

class TestStringsTable : public QObject {
    Q_OBJECT

private slots:
    void parses_data()
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
        QTest::newRow("binary plist") << binaryPlist({{"k", QStringLiteral("\u00e9t\u00e9")}})
                                      << QStringLiteral("\u00e9t\u00e9");
    }

    void parses()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, value);
        QCOMPARE(StringsTable::parse(bytes), std::optional<Table>({{QStringLiteral("k"), value}}));
    }

    void rejectsMalformed_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("missing semicolon") << QByteArray("\"a\" = \"b\"\n\"c\" = \"d\";");
        QTest::newRow("unterminated string") << QByteArray("\"a\" = \"b;\n");
        QTest::newRow("invalid utf-8") << QByteArray("\"a\" = \"\xC3\x28\";");
        QTest::newRow("odd-length utf-16") << QByteArray("\xFF\xFE\x22\x00\x61");
        QTest::newRow("binary non-string value") << binaryPlist({{"n", 3}});
    }

    void rejectsMalformed()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!StringsTable::parse(bytes).has_value());
    }

    void realFiles()
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

QTEST_GUILESS_MAIN(TestStringsTable)
#include "tst_stringstable.moc"

#include "PropertyList.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>
#include <plist/plist.h>

namespace {

QByteArray toBinary(const QByteArray &xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    if (!root)
        return {};
    char *bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bin, &length);
    QByteArray out(bin, qsizetype(length));
    free(bin);
    plist_free(root);
    return out;
}

QDateTime utc(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone::utc());
}

} // namespace

class TestPropertyList : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void binaryKeepsSubsecondDates_data();
    void binaryKeepsSubsecondDates();
    void writesAppleXml();
    void parsesAppleWrittenXml();
    void byteOrderMarkBeforeXml();
    void rejectsGarbage_data();
    void rejectsGarbage();
    void unwritableValuesAreSkipped();
};

void TestPropertyList::roundTrip_data()
{
    QTest::addColumn<QVariant>("value");

    QTest::newRow("string") << QVariant(QStringLiteral("Grüße <&> \"quoted\" 'x' ]]>"));
    QTest::newRow("empty string") << QVariant(QString());
    QTest::newRow("non-BMP string")
        << QVariant(QString::fromUtf8("flag \xF0\x9F\x87\xAB\xF0\x9F\x87\xB7"));
    QTest::newRow("integer") << QVariant(qlonglong(42));
    QTest::newRow("negative integer") << QVariant(qlonglong(-7));
    QTest::newRow("largest integer") << QVariant(std::numeric_limits<qlonglong>::max());
    QTest::newRow("smallest integer") << QVariant(std::numeric_limits<qlonglong>::min());
    QTest::newRow("real") << QVariant(0.1);
    QTest::newRow("negative real") << QVariant(-12345.678);
    QTest::newRow("true") << QVariant(true);
    QTest::newRow("false") << QVariant(false);
    QTest::newRow("date") << QVariant(utc(2009, 6, 15, 12, 30, 45));
    QTest::newRow("date before 2001") << QVariant(utc(1984, 1, 24, 8, 0, 0));
    QTest::newRow("reference date") << QVariant(utc(2001, 1, 1, 0, 0, 0));
    QTest::newRow("data") << QVariant(QByteArray("\x00\x01\xFE\xFF binary", 12));
    QTest::newRow("empty data") << QVariant(QByteArray());
    QTest::newRow("empty array") << QVariant(QVariantList());
    QTest::newRow("empty dict") << QVariant(QVariantMap());

    const QVariantList nested{QStringLiteral("fr"),
                              QVariantList{QStringLiteral("de"), QVariantList{qlonglong(1)}},
                              QVariantMap{{QStringLiteral("k"), QVariantList{}}}};
    QTest::newRow("nested arrays") << QVariant(nested);

    QVariantMap prefs;
    prefs.insert(QStringLiteral("AppleLanguages"),
                 QVariantList{QStringLiteral("fr"), QStringLiteral("en-GB")});
    prefs.insert(QStringLiteral("NumUses"), qlonglong(3));
    prefs.insert(QStringLiteral("ShownDonateBox"), true);
    prefs.insert(QStringLiteral("InstallDate"), utc(2010, 2, 28, 23, 59, 59));
    prefs.insert(QStringLiteral("Ratio"), 2.5);
    prefs.insert(QStringLiteral("Blob"), QByteArray("abc"));
    prefs.insert(QStringLiteral("Nested"),
                 QVariantMap{{QStringLiteral("Inner"),
                              QVariantMap{{QStringLiteral("x"), QStringLiteral("y")}}}});
    QTest::newRow("dictionary of every type") << QVariant(prefs);
}

void TestPropertyList::roundTrip()
{
    QFETCH(QVariant, value);

    const QByteArray xml = PropertyList::toXml(value);
    const std::optional<QVariant> fromXml = PropertyList::parse(xml);
    QVERIFY2(fromXml.has_value(), xml.constData());
    QCOMPARE(*fromXml, value);

    const QByteArray binary = toBinary(xml);
    QVERIFY(binary.startsWith("bplist00"));
    const std::optional<QVariant> fromBinary = PropertyList::parse(binary);
    QVERIFY(fromBinary.has_value());
    QCOMPARE(*fromBinary, value);
}

void TestPropertyList::binaryKeepsSubsecondDates_data()
{
    QTest::addColumn<QDateTime>("date");
    QTest::newRow("after 2001") << utc(2020, 1, 2, 3, 4, 5, 250);
    QTest::newRow("before 2001") << utc(1999, 12, 31, 23, 59, 58, 750);
    QTest::newRow("just after reference") << utc(2001, 1, 1, 0, 0, 1, 1);
}

void TestPropertyList::binaryKeepsSubsecondDates()
{
    // XML dates have whole seconds; the binary form keeps the fraction.
    QFETCH(QDateTime, date);
    plist_t node = nullptr;
    const qint64 msecs = date.toMSecsSinceEpoch() - 978307200000LL;
    const qint64 sec = msecs >= 0 ? msecs / 1000 : -((-msecs + 999) / 1000);
    node = plist_new_date(int32_t(sec), int32_t((msecs - sec * 1000) * 1000));
    char *bin = nullptr;
    uint32_t length = 0;
    plist_to_bin(node, &bin, &length);
    const QByteArray bytes(bin, qsizetype(length));
    free(bin);
    plist_free(node);

    const std::optional<QVariant> parsed = PropertyList::parse(bytes);
    QVERIFY(parsed.has_value());
    QCOMPARE(parsed->toDateTime(), date);
    QCOMPARE(parsed->toDateTime().timeSpec(), Qt::UTC);
}

void TestPropertyList::writesAppleXml()
{
    QVariantMap map;
    map.insert(QStringLiteral("AppleLanguages"), QStringList{QStringLiteral("fr")});
    map.insert(QStringLiteral("When"), utc(2009, 6, 15, 12, 30, 45));
    const QByteArray xml = PropertyList::toXml(map);

    QVERIFY(xml.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    QVERIFY(xml.contains("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                         "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"));
    QVERIFY(xml.contains("<plist version=\"1.0\">"));
    QVERIFY(xml.contains("<key>AppleLanguages</key>"));
    QVERIFY(xml.contains("<string>fr</string>"));
    QVERIFY(xml.contains("<date>2009-06-15T12:30:45Z</date>"));
    QVERIFY(xml.trimmed().endsWith("</plist>"));

    // A local time is written as the same instant in UTC.
    const QDateTime local(QDate(2009, 6, 15), QTime(14, 30, 45), QTimeZone(7200));
    QVERIFY(PropertyList::toXml(local).contains("<date>2009-06-15T12:30:45Z</date>"));
}

void TestPropertyList::parsesAppleWrittenXml()
{
    const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                           "<plist version=\"1.0\">\n<dict>\n"
                           "\t<key>CFBundleName</key>\n\t<string>Caf&#233; &amp; Co</string>\n"
                           "\t<key>Count</key>\n\t<integer>-3</integer>\n"
                           "\t<key>Icon</key>\n\t<data>\n\tAAEC\n\t</data>\n"
                           "\t<key>Since</key>\n\t<date>2001-01-01T00:00:10Z</date>\n"
                           "</dict>\n</plist>\n";
    const std::optional<QVariant> parsed = PropertyList::parse(xml);
    QVERIFY(parsed.has_value());
    const QVariantMap map = parsed->toMap();
    QCOMPARE(map.value(QStringLiteral("CFBundleName")).toString(), QString::fromUtf8("Café & Co"));
    QCOMPARE(map.value(QStringLiteral("Count")).metaType().id(), QMetaType::LongLong);
    QCOMPARE(map.value(QStringLiteral("Count")).toLongLong(), -3);
    QCOMPARE(map.value(QStringLiteral("Icon")).toByteArray(), QByteArray("\x00\x01\x02", 3));
    QCOMPARE(map.value(QStringLiteral("Since")).toDateTime(), utc(2001, 1, 1, 0, 0, 10));
}

void TestPropertyList::byteOrderMarkBeforeXml()
{
    const QByteArray xml = PropertyList::toXml(QVariantMap{{QStringLiteral("k"), 1}});
    const std::optional<QVariant> parsed = PropertyList::parse("\xEF\xBB\xBF" + xml);
    QVERIFY(parsed.has_value());
    QCOMPARE(parsed->toMap().value(QStringLiteral("k")).toLongLong(), 1);
}

void TestPropertyList::rejectsGarbage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = PropertyList::toXml(QVariantMap{{QStringLiteral("a"), 1}});
    const QByteArray binary = toBinary(good);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("bom only") << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("random bytes") << QByteArray("\x13\x37\x00\xFF\x80garbage<<<", 14);
    QTest::newRow("plain text") << QByteArray("CFBundleName = \"x\";");
    QTest::newRow("unterminated xml") << QByteArray("<plist><string>abc</plist>");
    QTest::newRow("truncated xml") << good.left(good.size() / 2);
    QTest::newRow("binary header only") << QByteArray("bplist00");
    QTest::newRow("truncated binary") << binary.left(binary.size() - 10);
    QTest::newRow("binary with broken trailer")
        << binary.left(binary.size() - 32) + QByteArray(32, '\xFF');
}

void TestPropertyList::rejectsGarbage()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!PropertyList::parse(bytes).has_value());
}

void TestPropertyList::unwritableValuesAreSkipped()
{
    // An invalid value in a dictionary must not corrupt the rest of the file.
    QVariantMap map;
    map.insert(QStringLiteral("keep"), QStringLiteral("yes"));
    map.insert(QStringLiteral("invalid"), QVariant());
    map.insert(QStringLiteral("list"), QVariantList{QVariant(), QStringLiteral("x")});
    const std::optional<QVariant> parsed = PropertyList::parse(PropertyList::toXml(map));
    QVERIFY(parsed.has_value());
    QVariantMap expected;
    expected.insert(QStringLiteral("keep"), QStringLiteral("yes"));
    expected.insert(QStringLiteral("list"), QVariantList{QStringLiteral("x")});
    QCOMPARE(parsed->toMap(), expected);

    // Other integer and list types are written as their plist counterparts.
    const QVariantMap other{{QStringLiteral("i"), int(-5)},
                            {QStringLiteral("u"), uint(5)},
                            {QStringLiteral("sl"), QStringList{QStringLiteral("a")}}};
    const QVariantMap back = PropertyList::parse(PropertyList::toXml(other))->toMap();
    QCOMPARE(back.value(QStringLiteral("i")).toLongLong(), -5);
    QCOMPARE(back.value(QStringLiteral("u")).toLongLong(), 5);
    QCOMPARE(back.value(QStringLiteral("sl")).toList(), QVariantList{QStringLiteral("a")});
}

QTEST_GUILESS_MAIN(TestPropertyList)
#include "tst_propertylist.moc"

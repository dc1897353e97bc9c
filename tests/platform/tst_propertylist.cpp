#include "PropertyList.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>
#include <plist/plist.h>

// The binary form as written by the system's own library, not by our code.
static QByteArray toBinary(const QByteArray &xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    char *bin = nullptr;
    uint32_t length = 0;
    if (root)
        plist_to_bin(root, &bin, &length);
    const QByteArray out(bin, qsizetype(length));
    free(bin);
    plist_free(root);
    return out;
}

class TestPropertyList : public QObject {
    Q_OBJECT

private slots:
    void roundTripOfEveryType()
    {
        const QVariantMap value{
            {QStringLiteral("AppleLanguages"),
             QVariantList{QStringLiteral("fr"), QVariantList{QStringLiteral("en-GB")}}},
            {QStringLiteral("Name"), QStringLiteral("Grüße <&> ]]> \U0001F1EB")},
            {QStringLiteral("Numbers"),
             QVariantList{std::numeric_limits<qlonglong>::min(), -0.1, true, false}},
            {QStringLiteral("Before2001"),
             QDateTime(QDate(1984, 1, 24), QTime(8, 0, 5), QTimeZone::utc())},
            {QStringLiteral("Blob"), QByteArray("\x00\x01\xFE\xFF", 4)},
            {QStringLiteral("Nested"), QVariantMap{{QStringLiteral("Empty"), QVariantMap()}}}};
        const QByteArray xml = PropertyList::toXml(value);
        QCOMPARE(PropertyList::parse(xml), std::optional<QVariant>(value));
        QCOMPARE(PropertyList::parse(toBinary(xml)), std::optional<QVariant>(value));
    }

    void byteOrderMarkBeforeXml()
    {
        const QVariant value = QVariantMap{{QStringLiteral("k"), qlonglong(1)}};
        const QByteArray bytes = "\xEF\xBB\xBF" + PropertyList::toXml(value);
        QCOMPARE(PropertyList::parse(bytes), std::optional<QVariant>(value));
    }

    void rejectsGarbage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray binary = toBinary(PropertyList::toXml(QVariantList{1, 2}));
        QTest::newRow("random bytes") << QByteArray("\x13\x37\x00\xFF\x80garbage<<<", 14);
        QTest::newRow("unterminated xml") << QByteArray("<plist><string>abc</plist>");
        QTest::newRow("truncated binary") << binary.left(binary.size() - 10);
    }

    void rejectsGarbage()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!PropertyList::parse(bytes).has_value());
    }
};

QTEST_GUILESS_MAIN(TestPropertyList)
#include "tst_propertylist.moc"

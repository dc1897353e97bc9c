#include "BundleBuilder.h"
#include "IconImage.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

static QString writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) >= 0 ? path : QString();
}

class TestIconImage : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void largestDecodableImageOfIcns()
    {
        // 256 is stored by png2icns as a payload Qt cannot decode: passed over, not fatal.
        // Only 128 is green, so the choice is known by more than its size.
        QStringList arguments{m_dir.filePath(QStringLiteral("AppIcon.icns"))};
        for (int size : {16, 128, 48, 256}) {
            QImage image(size, size, QImage::Format_ARGB32);
            image.fill(size == 128 ? Qt::green : Qt::red);
            arguments.append(m_dir.filePath(QStringLiteral("%1.png").arg(size)));
            QVERIFY(image.save(arguments.last(), "PNG"));
        }
        QCOMPARE(QProcess::execute(QStringLiteral("png2icns"), arguments), 0);
        const QImage image = IconImage::decodeLargest(arguments.first());
        QCOMPARE(image.size(), QSize(128, 128));
        QCOMPARE(QColor(image.pixel(64, 64)), QColor(Qt::green));
    }

    void unreadableFilesGiveNullImage_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x13\x37 not an image \xFF\x00", 18);
        QTest::newRow("lying length") << QByteArray("icns\x7F\xFF\xFF\xFFic08\x7F\xFF\xFF\xF0", 16);
    }

    void unreadableFilesGiveNullImage()
    {
        QFETCH(QByteArray, contents);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        if (!contents.isNull())
            QVERIFY(!writeFile(path, contents).isEmpty());
        QVERIFY(IconImage::decodeLargest(path).isNull());
    }
};

QTEST_GUILESS_MAIN(TestIconImage)
#include "tst_iconimage.moc"

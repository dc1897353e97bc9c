#include "BundleBuilder.h"
#include "IconImage.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <tuple>

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
        // The same when 256 would serve the drawing best.
        QFile icns(arguments.first());
        QVERIFY(icns.open(QIODevice::ReadOnly));
        QCOMPARE(IconImage::decodeToFit(icns.readAll(), 200).size(), QSize(128, 128));
    }

    // Only the entry that serves the drawn size is chosen: the smallest at least as large, else
    // the largest. Each entry has its own colour, so the choice shows in the pixels.
    void decodeToFitChoosesOneEntry_data()
    {
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("side");
        QTest::addColumn<QColor>("color");
        QTest::newRow("row icon at scale 1") << 58 << 64 << QColor(Qt::green);
        QTest::newRow("row icon at scale 2") << 116 << 128 << QColor(Qt::blue);
        QTest::newRow("exactly an entry") << 16 << 16 << QColor(Qt::red);
        QTest::newRow("between entries") << 129 << 1024 << QColor(Qt::yellow);
        QTest::newRow("larger than all") << 4096 << 1024 << QColor(Qt::yellow);
    }
    void decodeToFitChoosesOneEntry()
    {
        QFETCH(int, wanted);
        QFETCH(int, side);
        QFETCH(QColor, color);
        QList<QPair<QByteArray, QImage>> entries;
        for (const auto &[type, size, fill] :
             {std::tuple{"icp4", 16, Qt::red}, std::tuple{"ic10", 1024, Qt::yellow},
              std::tuple{"icp6", 64, Qt::green}, std::tuple{"ic07", 128, Qt::blue}}) {
            QImage image(size, size, QImage::Format_ARGB32);
            image.fill(fill);
            entries.append({type, image});
        }
        const QImage image =
            IconImage::decodeToFit(BundleBuilder::icnsWithPngEntries(entries), wanted);
        QCOMPARE(image.size(), QSize(side, side));
        QCOMPARE(QColor(image.pixel(side / 2, side / 2)), color);
    }

    // A pipe planted as an icon must not block the reader; a huge file is refused unread.
    void readFileTakesOnlyBoundedRegularFiles()
    {
        const QString fifo = m_dir.filePath(QStringLiteral("fifo.icns"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(!IconImage::readFile(fifo));

        QFile huge(m_dir.filePath(QStringLiteral("huge.icns")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(IconImage::kMaxFileSize + 1));
        huge.close();
        QVERIFY(!IconImage::readFile(huge.fileName()));
        QVERIFY(!IconImage::readFile(m_dir.path()));

        const QByteArray icon = BundleBuilder::icnsUpTo(32, QStringLiteral("red"));
        const QString plain = writeFile(m_dir.filePath(QStringLiteral("plain.icns")), icon);
        QCOMPARE(IconImage::readFile(plain), std::optional<QByteArray>(icon));
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

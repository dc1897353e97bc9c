#include "BundleBuilder.h"
#include "TestFiles.h"
#include "platform/icon/IconImage.h"

#include <QProcess>
#include <QTest>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

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
            arguments.append(m_dir.filePath(QStringLiteral("%1.png").arg(size)));
            QVERIFY(BundleBuilder::square(size, size == 128 ? Qt::green : Qt::red)
                        .save(arguments.last(), "PNG"));
        }
        QCOMPARE(QProcess::execute(QStringLiteral("png2icns"), arguments), 0);
        // Also when 256 would serve the drawing best.
        const QImage image = IconImage::loadToFit(arguments.first(), 200);
        QCOMPARE(image.size(), QSize(128, 128));
        QCOMPARE(QColor(image.pixel(64, 64)), QColor(Qt::green));
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
        QList<QPair<QByteArray, QImage>> entries;
        for (const auto &[type, size, fill] :
             {std::tuple{"icp4", 16, Qt::red}, std::tuple{"ic10", 1024, Qt::yellow},
              std::tuple{"icp6", 64, Qt::green}, std::tuple{"ic07", 128, Qt::blue}})
            entries.append({type, BundleBuilder::square(size, fill)});
        const QByteArray icns = BundleBuilder::icnsWithPngEntries(entries);
        const QString path = writeFile(m_dir.filePath(QStringLiteral("choice.icns")), icns);
        // From memory, and from the file reading the chosen entry alone.
        for (const QImage &image :
             {IconImage::decodeToFit(icns, wanted), IconImage::loadToFit(path, wanted)}) {
            QCOMPARE(image.size(), QSize(side, side));
            QTEST(QColor(image.pixel(side / 2, side / 2)), "color");
        }
    }

    // Reading one entry relies on the file's table of entries: a broken entry is passed over,
    // a table that does not hold together gives nothing, and neither reads past the file.
    void damagedTables_data()
    {
        QTest::addColumn<QByteArray>("change");
        QTest::addColumn<int>("side");
        QTest::newRow("the chosen PNG broken") << QByteArray("break 64") << 128;
        QTest::newRow("an entry longer than the file") << QByteArray("lie 64") << 0;
        QTest::newRow("an entry shorter than its header") << QByteArray("short 64") << 0;
    }
    void damagedTables()
    {
        QFETCH(QByteArray, change);
        QByteArray icns =
            BundleBuilder::icnsWithPngEntries({{"icp6", BundleBuilder::square(64, Qt::green)},
                                               {"ic07", BundleBuilder::square(128, Qt::blue)}});
        // The first entry's header is at 8, its PNG at 16.
        if (change.startsWith("break"))
            icns.replace(16 + 20, 16, QByteArray(16, 'x'));
        else if (change.startsWith("lie"))
            icns.replace(12, 4, QByteArray("\x7f\xff\xff\xf0", 4));
        else
            icns.replace(12, 4, QByteArray("\0\0\0\x04", 4));
        const QString path = writeFile(m_dir.filePath(QString::fromLatin1(change)), icns);
        const QImage image = IconImage::loadToFit(path, 58);
        QTEST(image.width(), "side");
    }

    // A few hundred bytes whose entries claim gigabytes: Qt's reader would allocate what they
    // claim. Decoded in a child under a 256 MB address-space cap, which such an allocation
    // would end.
    void entriesClaimingGigabytesAreNotDecoded()
    {
#ifdef VEXILO_TEST_SANITIZED
        QSKIP("the sanitizers reserve terabytes of address space: no cap can hold them");
#endif
        // What the fuzzer found: a table that lies, and past it an entry claiming 2 GB.
        const QByteArray icns = QByteArray::fromBase64(
            "aWNucwAAASVpY3A0AAAAWolQTkcNChoKAAAADUlIRFIAAAAQAAAAEAgGAAElaWNwNAAAAFqJUE5HDQoaCgAA"
            "AA1JSERSAAAAEAAAABAIBgAAAB/z/2EAAAAZSURBVHicYIJpY3A1AAAAcIlQTkcNChoKAAAADUlIRFIAAAAg"
            "AAAAIAgGCAAAc3p69AAAAC9JREFUeJztAAAAAAAAAAAnef8otIIYmIn5pdP9FP4BAQEBAQEBAQEBAQEBge/A"
            "AatADHlZkrMnAMMAAElFTkSuQmCCaWMwNwAAAFOJUE5HDQoaCgAAAA1JSERSAAAACAAAAPP/YQAAABlJREFU"
            "eJxjOCEn958SzDBqwKgBowYMFwMABtoDHwYLSb0AAAAASUVORK5CYIJpY3A2AAAAcIlQTkcNChoKAAAADUlI"
            "RFIAAAAgAAAAIAgGAAAAc3p69AAAAC9JREFUeJztziEBAAAIA7Anef8otIIYmIn5pdP9FP4BAQEBAQEBAQEB"
            "AQEBge/AAatADHlZkrMnAAAAAElFTkSuQmCCaWMwNHIAAFOJUE5HDQoaCgAAAA0ICAYAAADED76LAEwAEklE"
            "QVR4nGNgZGL+jw8zjAwEaWNucwUASJdBQfCSKnIAAAAASUUAAAElaQIAAAEGAFqJUE5HDQpORBoKAAAADUhE"
            "SVIAAAAQAAAAEAgGAGEAH/P/AAAArgAZQmBJ");
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            alarm(20); // a child stuck after a failed allocation fails the test too
            const rlimit cap{256u << 20, 256u << 20};
            setrlimit(RLIMIT_AS, &cap);
            IconImage::decodeToFit(icns, 1024);
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // Nothing to draw, and nothing blocks: a pipe planted as an icon is not opened, a file past
    // the bound is refused unread even when a valid icon starts it.
    void unusableFilesGiveNullImage_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("garbage") << QByteArray("\x13\x37 not an image \xFF\x00", 18);
        QTest::newRow("lying length") << QByteArray("icns\x7F\xFF\xFF\xFFic08\x7F\xFF\xFF\xF0", 16);
        QTest::newRow("fifo") << QByteArray("fifo");
        QTest::newRow("huge") << BundleBuilder::icnsUpTo(32, QStringLiteral("red"));
        QTest::newRow("folder") << QByteArray("folder");
    }
    void unusableFilesGiveNullImage()
    {
        QFETCH(QByteArray, contents);
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
        if (contents == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (contents == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (!contents.isNull())
            QVERIFY(!writeFile(path, contents).isEmpty());
        if (QTest::currentDataTag() == QByteArray("huge")) {
            QCOMPARE(IconImage::loadToFit(path, 58).size(), QSize(32, 32));
            QVERIFY(QFile::resize(path, IconImage::kMaxFileSize + 1));
        }
        QVERIFY(IconImage::loadToFit(path, 58).isNull());
    }
};

QTEST_GUILESS_MAIN(TestIconImage)
#include "tst_iconimage.moc"

#include "BundleBuilder.h"
#include "IconImage.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <array>

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &contents)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(contents);
    return path;
}

QByteArray pngBytes(int size, const QColor &color)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An .icns holding several sizes, made by png2icns from one PNG per size.
QByteArray multiSizeIcns(const QTemporaryDir &dir, const QList<QPair<int, QColor>> &sizes)
{
    QStringList arguments{dir.filePath(QStringLiteral("multi.icns"))};
    for (const auto &[size, color] : sizes) {
        const QString png =
            writeFile(dir, QStringLiteral("%1.png").arg(size), pngBytes(size, color));
        arguments.append(png);
    }
    if (QProcess::execute(QStringLiteral("png2icns"), arguments) != 0)
        return {};
    QFile file(arguments.first());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestIconImage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesOnlyWhenAsked();
    void largestImageOfIcns_data();
    void largestImageOfIcns();
    void contentDecidesFormat();
    void unreadableFilesGiveNullImage_data();
    void unreadableFilesGiveNullImage();
    void imageInMemory();
    void concurrentFirstUse();

private:
    QTemporaryDir m_dir;
};

void TestIconImage::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("png2icns")).isEmpty())
        QSKIP("png2icns (icnsutils) is needed to make test icons");
}

void TestIconImage::decodesOnlyWhenAsked()
{
    const QString path = writeFile(m_dir, QStringLiteral("lazy.icns"),
                                   BundleBuilder::icnsImage(128, QStringLiteral("red")));
    IconImage icon(path);
    QCOMPARE(icon.filePath(), path);
    QVERIFY(!icon.isLoaded());

    // Replacing the file before the first use shows the file was not read at construction.
    writeFile(m_dir, QStringLiteral("lazy.icns"),
              BundleBuilder::icnsImage(32, QStringLiteral("blue")));
    QVERIFY(!icon.isLoaded());

    const QImage image = icon.image();
    QVERIFY(icon.isLoaded());
    QCOMPARE(image.size(), QSize(32, 32));
    QCOMPARE(QColor(image.pixel(16, 16)), QColor(Qt::blue));

    // Decoded once: a later change of the file is not seen.
    QFile::remove(path);
    QCOMPARE(icon.image().size(), QSize(32, 32));
}

void TestIconImage::largestImageOfIcns_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<int>("largest");
    QTest::newRow("small to large") << QList<int>{16, 32, 128} << 128;
    QTest::newRow("large first") << QList<int>{128, 16, 48} << 128;
    // png2icns stores 256 as a payload Qt cannot decode: it is passed over, not fatal.
    QTest::newRow("undecodable size skipped") << QList<int>{256, 16, 48} << 48;
    QTest::newRow("single") << QList<int>{48} << 48;
}

void TestIconImage::largestImageOfIcns()
{
    QFETCH(QList<int>, sizes);
    QFETCH(int, largest);

    // Each size in its own colour, so the chosen image is known by more than its size.
    const std::array<QColor, 3> colors{QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)};
    QList<QPair<int, QColor>> images;
    QColor largestColor;
    for (int i = 0; i < sizes.size(); ++i) {
        images.append({sizes[i], colors[size_t(i)]});
        if (sizes[i] == largest)
            largestColor = colors[size_t(i)];
    }
    QTemporaryDir dir;
    const QByteArray icns = multiSizeIcns(dir, images);
    QVERIFY(icns.startsWith("icns"));

    IconImage icon(writeFile(dir, QStringLiteral("AppIcon.icns"), icns));
    const QImage image = icon.image();
    QCOMPARE(image.size(), QSize(largest, largest));
    QCOMPARE(QColor(image.pixel(largest / 2, largest / 2)), largestColor);
}

void TestIconImage::contentDecidesFormat()
{
    // A PNG named as an icon file still decodes, and so does an icns without extension.
    IconImage png(writeFile(m_dir, QStringLiteral("reallyPng.icns"), pngBytes(24, Qt::green)));
    QCOMPARE(png.image().size(), QSize(24, 24));
    IconImage icns(writeFile(m_dir, QStringLiteral("NoExtension"),
                             BundleBuilder::icnsImage(48, QStringLiteral("yellow"))));
    QCOMPARE(icns.image().size(), QSize(48, 48));
}

void TestIconImage::unreadableFilesGiveNullImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("missing") << QStringLiteral("missing.icns") << QByteArray();
    QTest::newRow("garbage") << QStringLiteral("garbage.icns")
                             << QByteArray("\x13\x37 not an image \xFF\x00", 18);
    QTest::newRow("empty") << QStringLiteral("empty.icns") << QByteArray("");
    QTest::newRow("icns header, nothing else")
        << QStringLiteral("header.icns") << QByteArray("icns\x00\x00\x00\x08", 8);
    QTest::newRow("icns with a lying length")
        << QStringLiteral("lying.icns")
        << QByteArray("icns\x7F\xFF\xFF\xFFic08\x7F\xFF\xFF\xF0\x89PNG", 20);
    QTest::newRow("truncated icns")
        << QStringLiteral("truncated.icns")
        << BundleBuilder::icnsImage(128, QStringLiteral("red")).left(40);
    QTest::newRow("empty path") << QString() << QByteArray();
}

void TestIconImage::unreadableFilesGiveNullImage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, contents);
    QString path;
    if (!name.isEmpty())
        path = contents.isNull() ? m_dir.filePath(name) : writeFile(m_dir, name, contents);
    IconImage icon(path);
    QVERIFY(icon.image().isNull());
    QVERIFY(icon.isLoaded());
    QVERIFY(icon.image().isNull());
}

void TestIconImage::imageInMemory()
{
    QImage generic(16, 16, QImage::Format_ARGB32);
    generic.fill(Qt::gray);
    IconImage icon(generic);
    QVERIFY(icon.isLoaded());
    QVERIFY(icon.filePath().isEmpty());
    QCOMPARE(icon.image(), generic);
}

void TestIconImage::concurrentFirstUse()
{
    // Views on the main thread and the loading thread may draw the same icon first.
    const auto icon = std::make_shared<IconImage>(
        writeFile(m_dir, QStringLiteral("shared.icns"),
                  BundleBuilder::icnsImage(128, QStringLiteral("red"))));
    QList<QThread *> threads;
    QList<QSize> sizes(4);
    for (int i = 0; i < 4; ++i)
        threads.append(QThread::create([icon, &sizes, i] { sizes[i] = icon->image().size(); }));
    for (QThread *thread : threads)
        thread->start();
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(QDeadlineTimer(60000)));
        delete thread;
    }
    for (const QSize &size : sizes)
        QCOMPARE(size, QSize(128, 128));
}

QTEST_GUILESS_MAIN(TestIconImage)
#include "tst_iconimage.moc"

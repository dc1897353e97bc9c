#include "BundleBuilder.h"
#include "FileOps.h"
#include "PropertyList.h"
#include "TestEnvironment.h"
#include "Workspace.h"

#include <QFile>
#include <QImage>
#include <QtTest>
#include <memory>
#include <thread>

class TestWorkspace : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultLocations();

    void applicationsFolderLookup_data();
    void applicationsFolderLookup();

    void rememberedBundleIsFoundAndPersisted();
    void rememberedBundleChangesIdentifier();
    void rememberedBundleDeleted();

    void whatIsNotRemembered_data();
    void whatIsNotRemembered();

    void unchangedEntryIsNotRewritten();
    void registryMergesWithOtherWriters();
    void corruptRegistry();
    void concurrentRemembering();

    void genericIconIsSharedAndNotNull();
    void genericIconFromTheme_data();
    void genericIconFromTheme();

private:
    std::unique_ptr<TestEnvironment> m_env;
    QByteArray m_savedDataDirs;

    QString registryFile() const
    {
        return m_env->root() + QStringLiteral("/data/vexilo/KnownApplications.plist");
    }
    Workspace &workspace() const { return *m_env->platform().workspace; }
    std::unique_ptr<Workspace> freshWorkspace() const
    {
        return std::make_unique<Workspace>(m_env->applicationsDirectory(), registryFile());
    }
    QVariantMap registryOnDisk() const
    {
        const auto bytes = FileOps::readAll(registryFile());
        if (!bytes)
            return {};
        const auto value = PropertyList::parse(*bytes);
        return value ? value->toMap() : QVariantMap();
    }
    QString outside(const QString &name) const
    {
        return m_env->root() + QStringLiteral("/elsewhere/") + name;
    }
};

void TestWorkspace::init()
{
    m_env = std::make_unique<TestEnvironment>();
    QVERIFY(m_env->isValid());
    m_savedDataDirs = qgetenv("XDG_DATA_DIRS");
}

void TestWorkspace::cleanup()
{
    if (m_savedDataDirs.isNull())
        qunsetenv("XDG_DATA_DIRS");
    else
        qputenv("XDG_DATA_DIRS", m_savedDataDirs);
    m_env.reset();
}

void TestWorkspace::defaultLocations()
{
    QCOMPARE(Workspace::defaultApplicationsDirectory(), m_env->applicationsDirectory());
    qputenv("VEXILO_APPLICATIONS_DIR", "");
    QCOMPARE(Workspace::defaultApplicationsDirectory(), QStringLiteral("/Applications"));
    qunsetenv("VEXILO_APPLICATIONS_DIR");
    QCOMPARE(Workspace::defaultApplicationsDirectory(), QStringLiteral("/Applications"));

    QCOMPARE(Workspace::defaultRegistryFile(), registryFile());
}

void TestWorkspace::applicationsFolderLookup_data()
{
    QTest::addColumn<QString>("identifier");
    QTest::addColumn<QString>("expected"); // relative to the applications folder

    QTest::newRow("bundle in the folder") << "org.example.alpha"
                                          << "Alpha.app";
    QTest::newRow("binary Info.plist") << "org.example.binary"
                                       << "Binary.app";
    QTest::newRow("link to a bundle") << "org.example.linked"
                                      << "Linked.app";
    QTest::newRow("nested one level too deep") << "org.example.deep" << QString();
    QTest::newRow("folder without .app") << "org.example.plain" << QString();
    QTest::newRow("unknown identifier") << "org.example.nobody" << QString();
    QTest::newRow("empty identifier") << "" << QString();
    QTest::newRow("case differs") << "ORG.EXAMPLE.ALPHA" << QString();
}

void TestWorkspace::applicationsFolderLookup()
{
    QFETCH(QString, identifier);
    QFETCH(QString, expected);

    const QString apps = m_env->applicationsDirectory();
    BundleBuilder(apps + "/Alpha.app").identifier("org.example.alpha").write();
    BundleBuilder(apps + "/Binary.app").identifier("org.example.binary").binaryInfoPlist().write();
    BundleBuilder(outside("Real.app")).identifier("org.example.linked").write();
    QVERIFY(QFile::link(outside("Real.app"), apps + "/Linked.app"));
    BundleBuilder(apps + "/Utilities/Deep.app").identifier("org.example.deep").write();
    BundleBuilder(apps + "/Plain").identifier("org.example.plain").write();
    // Broken neighbours must not stop the scan.
    BundleBuilder(apps + "/NoInfo.app").noInfoPlist().write();
    BundleBuilder(apps + "/Corrupt.app")
        .noInfoPlist()
        .file("Info.plist", "<plist><dict><key>")
        .write();
    QVERIFY(QFile::link(m_env->root() + "/missing.app", apps + "/Dangling.app"));
    QFile file(apps + "/File.app");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    const QString found = workspace().absolutePathForAppBundleWithIdentifier(identifier);
    QCOMPARE(found, expected.isEmpty() ? QString() : apps + QLatin1Char('/') + expected);
}

void TestWorkspace::rememberedBundleIsFoundAndPersisted()
{
    const QString path =
        BundleBuilder(outside("Outside.app")).identifier("org.example.out").write();
    QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.out"), QString());

    workspace().rememberApplication(path);
    QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.out"), path);
    QCOMPARE(registryOnDisk().value("org.example.out").toString(), path);

    // The next start finds it too.
    const auto later = freshWorkspace();
    QCOMPARE(later->absolutePathForAppBundleWithIdentifier("org.example.out"), path);
}

void TestWorkspace::rememberedBundleChangesIdentifier()
{
    const QString path =
        BundleBuilder(outside("Outside.app")).identifier("org.example.out").write();
    workspace().rememberApplication(path);

    BundleBuilder(path).identifier("org.example.other").write();
    QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.out"), QString());
    QCOMPARE(freshWorkspace()->absolutePathForAppBundleWithIdentifier("org.example.out"),
             QString());
}

void TestWorkspace::rememberedBundleDeleted()
{
    const QString path =
        BundleBuilder(outside("Outside.app")).identifier("org.example.out").write();
    workspace().rememberApplication(path);
    QVERIFY(QDir(path).removeRecursively());

    QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.out"), QString());
    QCOMPARE(freshWorkspace()->absolutePathForAppBundleWithIdentifier("org.example.out"),
             QString());
}

void TestWorkspace::whatIsNotRemembered_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no identifier") << "noIdentifier";
    QTest::newRow("no Info.plist") << "noInfo";
    QTest::newRow("inside the applications folder") << "inside";
    QTest::newRow("inside, through a dotted path") << "insideDotted";
    QTest::newRow("nonexistent path") << "missing";
    QTest::newRow("a file") << "file";
    QTest::newRow("empty path") << "empty";
}

void TestWorkspace::whatIsNotRemembered()
{
    QFETCH(QString, kind);
    QString path;
    if (kind == "noIdentifier") {
        path = BundleBuilder(outside("NoId.app")).info("CFBundleName", "NoId").write();
    } else if (kind == "noInfo") {
        path = BundleBuilder(outside("NoInfo.app")).noInfoPlist().write();
    } else if (kind == "inside") {
        path = BundleBuilder(m_env->applicationsDirectory() + "/In.app")
                   .identifier("org.example.in")
                   .write();
    } else if (kind == "insideDotted") {
        BundleBuilder(m_env->applicationsDirectory() + "/In.app")
            .identifier("org.example.in")
            .write();
        path = m_env->root() + "/elsewhere/../Applications/./In.app";
        QDir().mkpath(m_env->root() + "/elsewhere");
    } else if (kind == "missing") {
        path = outside("Gone.app");
    } else if (kind == "file") {
        path = outside("File.app");
        QDir().mkpath(outside(QString()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    workspace().rememberApplication(path);
    QVERIFY2(!QFile::exists(registryFile()), qPrintable(kind));
    QVERIFY(registryOnDisk().isEmpty());
}

void TestWorkspace::unchangedEntryIsNotRewritten()
{
    const QString path =
        BundleBuilder(outside("Outside.app")).identifier("org.example.out").write();
    workspace().rememberApplication(path);
    QVERIFY(QFile::exists(registryFile()));

    // Remembering the same bundle again on every start must not touch the file: a hand-written
    // copy of the same entry would be reformatted by a rewrite.
    const QByteArray handWritten =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>org.example.out</key><string>" +
        path.toUtf8() + "</string></dict></plist>\n";
    QFile f(registryFile());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(handWritten);
    f.close();
    workspace().rememberApplication(path);
    freshWorkspace()->rememberApplication(path);
    QCOMPARE(FileOps::readAll(registryFile()).value_or(QByteArray()), handWritten);

    // A new place for the same identifier is recorded.
    const QString moved = BundleBuilder(outside("Moved.app")).identifier("org.example.out").write();
    workspace().rememberApplication(moved);
    QCOMPARE(registryOnDisk().value("org.example.out").toString(), moved);
    QCOMPARE(freshWorkspace()->absolutePathForAppBundleWithIdentifier("org.example.out"), moved);
}

void TestWorkspace::registryMergesWithOtherWriters()
{
    const QString one = BundleBuilder(outside("One.app")).identifier("org.example.one").write();
    const QString two = BundleBuilder(outside("Two.app")).identifier("org.example.two").write();
    const QString three =
        BundleBuilder(outside("Three.app")).identifier("org.example.three").write();

    // Two Vexilo processes sharing the registry: neither loses the other's entries.
    const auto other = freshWorkspace();
    workspace().rememberApplication(one);
    other->rememberApplication(two);
    workspace().rememberApplication(three);

    const QVariantMap onDisk = registryOnDisk();
    QCOMPARE(onDisk.value("org.example.one").toString(), one);
    QCOMPARE(onDisk.value("org.example.two").toString(), two);
    QCOMPARE(onDisk.value("org.example.three").toString(), three);
    QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.two"), two);
}

void TestWorkspace::corruptRegistry()
{
    QDir().mkpath(QFileInfo(registryFile()).absolutePath());
    QFile f(registryFile());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("\xff\xfe garbage <plist>");
    f.close();

    const QString path =
        BundleBuilder(outside("Outside.app")).identifier("org.example.out").write();
    QCOMPARE(workspace().absolutePathForAppBundleWithIdentifier("org.example.out"), QString());
    workspace().rememberApplication(path);
    QCOMPARE(registryOnDisk().value("org.example.out").toString(), path);
    QCOMPARE(freshWorkspace()->absolutePathForAppBundleWithIdentifier("org.example.out"), path);

    // A registry of the wrong shape holds no entries, and non-string values are not paths.
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(PropertyList::toXml(QVariantMap{{"org.example.out", QVariantList{path}}}));
    f.close();
    QCOMPARE(freshWorkspace()->absolutePathForAppBundleWithIdentifier("org.example.out"),
             QString());
}

void TestWorkspace::concurrentRemembering()
{
    constexpr int count = 8;
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << BundleBuilder(outside(QStringLiteral("App%1.app").arg(i)))
                     .identifier(QStringLiteral("org.example.app%1").arg(i))
                     .write();

    Workspace &ws = workspace();
    std::thread first([&] {
        for (int i = 0; i < count; i += 2)
            ws.rememberApplication(paths[i]);
    });
    std::thread second([&] {
        for (int i = 1; i < count; i += 2) {
            ws.rememberApplication(paths[i]);
            ws.absolutePathForAppBundleWithIdentifier(QStringLiteral("org.example.app%1").arg(i));
        }
    });
    first.join();
    second.join();

    const QVariantMap onDisk = registryOnDisk();
    QCOMPARE(onDisk.size(), count);
    for (int i = 0; i < count; ++i)
        QCOMPARE(freshWorkspace()->absolutePathForAppBundleWithIdentifier(
                     QStringLiteral("org.example.app%1").arg(i)),
                 paths[i]);
}

void TestWorkspace::genericIconIsSharedAndNotNull()
{
    const IconImagePtr icon = workspace().iconForFile(outside("Any.app"));
    QVERIFY(icon);
    QVERIFY(!icon->image().isNull());
    QCOMPARE(workspace().iconForFile(m_env->root()).get(), icon.get());

    // Listings ask from the loading thread.
    IconImagePtr fromThread;
    std::thread([&] { fromThread = workspace().iconForFile(QString()); }).join();
    QCOMPARE(fromThread.get(), icon.get());
}

void TestWorkspace::genericIconFromTheme_data()
{
    QTest::addColumn<QStringList>("icons"); // "<theme>/<size folder>/<context>[:corrupt]"
    QTest::addColumn<QSize>("expected");

    QTest::newRow("largest size wins")
        << QStringList{"TestTheme/16x16/mimetypes", "TestTheme/256x256/mimetypes",
                       "TestTheme/48x48/mimetypes"}
        << QSize(256, 256);
    QTest::newRow("across themes")
        << QStringList{"One/32x32/mimetypes", "Two/64x64/apps"} << QSize(64, 64);
    QTest::newRow("unreadable largest skipped")
        << QStringList{"TestTheme/512x512/mimetypes:corrupt", "TestTheme/24x24/mimetypes"}
        << QSize(24, 24);
    QTest::newRow("scaled folder") << QStringList{"TestTheme/32x32@2/mimetypes"} << QSize(32, 32);
    QTest::newRow("not a size folder")
        << QStringList{"TestTheme/scalable/mimetypes", "TestTheme/legacy/mimetypes"}
        << QSize(128, 128);
    QTest::newRow("no theme at all: drawn") << QStringList{} << QSize(128, 128);
}

void TestWorkspace::genericIconFromTheme()
{
    QFETCH(QStringList, icons);
    QFETCH(QSize, expected);

    const QString share = m_env->root() + "/share";
    QDir().mkpath(share);
    qputenv("XDG_DATA_DIRS", QFile::encodeName(share));
    for (const QString &spec : icons) {
        const QStringList parts = spec.split(':');
        const QString folder = share + "/icons/" + parts[0];
        QDir().mkpath(folder);
        const QString file = folder + "/application-x-executable.png";
        const QRegularExpression sizeRe("/(\\d+)x\\d+");
        const int side =
            sizeRe.match(parts[0]).hasMatch() ? sizeRe.match(parts[0]).captured(1).toInt() : 100;
        if (parts.value(1) == "corrupt") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("\x89PNG\r\n\x1a\nnot really");
        } else {
            QImage image(side, side, QImage::Format_ARGB32);
            image.fill(Qt::red);
            QVERIFY(image.save(file));
        }
    }

    const IconImagePtr icon = freshWorkspace()->iconForFile(QString());
    QVERIFY(icon);
    const QImage image = icon->image();
    QCOMPARE(image.size(), expected);
    if (icons.isEmpty() || expected == QSize(128, 128)) {
        // The drawn glyph: something visible, with a transparent margin.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QVERIFY(qAlpha(image.pixel(64, 74)) > 0);
        QVERIFY(image.pixelColor(64, 74) != image.pixelColor(64, 40));
    }
}

QTEST_GUILESS_MAIN(TestWorkspace)
#include "tst_workspace.moc"

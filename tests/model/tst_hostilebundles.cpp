// Hostile bundles beside a good one. Each gets one outcome (listed as told, or left out), and
// loading the catalogue, selecting every listing, naming it and drawing its icon neither crashes
// nor hangs, and creates, loses, replaces or changes nothing anywhere: not in the bundles, not
// outside them.
#include "Bundle.h"
#include "BundleBuilder.h"
#include "FileTree.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "catalogue/Catalogue.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "row/IconCache.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Where a case builds its bundles, and a folder outside them that links may lead to.
struct World {
    QString apps;
    QString outside;
    QStringList locked; // folders made unreadable, opened again at the end
};

using Setup = std::function<void(World &)>;

void makeLink(const QString &target, const QString &link)
{
    QDir().mkpath(QFileInfo(link).absolutePath());
    QVERIFY2(
        ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0,
        qPrintable(link));
}

void makeFifo(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    QVERIFY2(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0, qPrintable(path));
}

void makeSparse(const QString &path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(file.resize(size));
}

void lock(World &world, const QString &folder)
{
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0) == 0);
    world.locked.append(folder);
}

// An ordinary bundle: two languages with a localised name, an icon, an executable.
BundleBuilder normal(const QString &path, const QString &identifier = u"org.example.Hostile"_s)
{
    BundleBuilder builder(path);
    builder.identifier(identifier)
        .languages({"en", "fr"})
        .localizedInfo("en", {{"CFBundleName", QFileInfo(path).completeBaseName()}})
        .info("CFBundleIconFile", "AppIcon")
        .file("Resources/AppIcon.icns", BundleBuilder::icnsUpTo(32, "red"))
        .info("CFBundleExecutable", "run")
        .file("MacOS/run", "#!/bin/sh\nexit 0\n");
    return builder;
}

QString normalAt(const World &w, const QString &name)
{
    return normal(w.apps + '/' + name + ".app").write();
}

const QHash<QString, Setup> &setups()
{
    static const QHash<QString, Setup> all{
        // Names
        {"quotes", [](World &w) { normalAt(w, R"(Say "Hi" & 'Bye' `now`)"); }},
        {"newline", [](World &w) { normalAt(w, "New\nLine"); }},
        {"leading dashes", [](World &w) { normalAt(w, "--help -rf"); }},
        {"non-Latin letters", [](World &w) { normalAt(w, u"Ελληνικά 日本語 عربي"_s); }},
        {"bytes that are not UTF-8",
         [](World &w) {
             const QString made = normalAt(w, "Latin1");
             const QByteArray raw = QFile::encodeName(w.apps) + "/Caf\xe9 \xff.app";
             QVERIFY(::rename(QFile::encodeName(made).constData(), raw.constData()) == 0);
         }},
        // Links
        {"link loop", [](World &w) { makeLink("Loop.app", w.apps + "/Loop.app"); }},
        {"link loop of two",
         [](World &w) {
             makeLink("B.app", w.apps + "/A.app");
             makeLink("A.app", w.apps + "/B.app");
         }},
        {"dangling link",
         [](World &w) { makeLink(w.outside + "/gone.app", w.apps + "/Gone.app"); }},
        {"link to a bundle elsewhere",
         [](World &w) {
             normal(w.outside + "/Real.app").write();
             makeLink(w.outside + "/Real.app", w.apps + "/Link.app");
         }},
        {"language folder leading out",
         [](World &w) {
             const QString bundle = normalAt(w, "Lproj");
             makeLink(w.outside + "/folder", bundle + "/Contents/Resources/de.lproj");
             makeLink("../../../..", bundle + "/Contents/Resources/es.lproj");
         }},
        {"contents leading out",
         [](World &w) {
             const QString bundle = w.apps + "/Contents.app";
             QDir().mkpath(bundle);
             makeLink(w.outside + "/Contents", bundle + "/Contents");
         }},
        {"disabled resources leading out",
         [](World &w) {
             const QString bundle = normalAt(w, "Disabled");
             makeLink(w.outside + "/Contents/Resources Disabled",
                      bundle + "/Contents/Resources Disabled");
         }},
        {"resources leading out",
         [](World &w) {
             const QString bundle = normal(w.apps + "/Resources.app").write();
             QDir(bundle + "/Contents/Resources").removeRecursively();
             makeLink(w.outside + "/Contents/Resources", bundle + "/Contents/Resources");
             QDir().mkpath(bundle + "/Contents/Resources Disabled/de.lproj");
         }},
        // Unreadable and odd kinds of file
        {"unreadable bundle", [](World &w) { lock(w, normalAt(w, "Locked")); }},
        {"unreadable resources",
         [](World &w) { lock(w, normalAt(w, "Closed") + "/Contents/Resources"); }},
        {"bundle that is a file",
         [](World &w) {
             QFile file(w.apps + "/File.app");
             QVERIFY(file.open(QIODevice::WriteOnly));
             file.write("not a folder");
         }},
        {"bundle that is a fifo", [](World &w) { makeFifo(w.apps + "/Pipe.app"); }},
        {"Info.plist a fifo",
         [](World &w) { makeFifo(normalAt(w, "InfoFifo") + "/Contents/Info.plist"); }},
        {"Info.plist a device",
         [](World &w) {
             const QString info = normalAt(w, "InfoDevice") + "/Contents/Info.plist";
             QFile::remove(info);
             makeLink("/dev/zero", info);
         }},
        {".strings a fifo",
         [](World &w) {
             makeFifo(normalAt(w, "StringsFifo") +
                      "/Contents/Resources/en.lproj/InfoPlist.strings");
         }},
        {".strings a device",
         [](World &w) {
             const QString strings =
                 normalAt(w, "StringsDevice") + "/Contents/Resources/en.lproj/InfoPlist.strings";
             QFile::remove(strings);
             makeLink("/dev/urandom", strings);
         }},
        {"icon a fifo",
         [](World &w) { makeFifo(normalAt(w, "IconFifo") + "/Contents/Resources/AppIcon.icns"); }},
        {"icon a device",
         [](World &w) {
             const QString icon = normalAt(w, "IconDevice") + "/Contents/Resources/AppIcon.icns";
             QFile::remove(icon);
             makeLink("/dev/zero", icon);
         }},
        // Sizes
        {"100 MB Info.plist",
         [](World &w) { makeSparse(normalAt(w, "HugeInfo") + "/Contents/Info.plist", 100 << 20); }},
        {"100 MB .strings",
         [](World &w) {
             makeSparse(normalAt(w, "HugeStrings") +
                            "/Contents/Resources/en.lproj/InfoPlist.strings",
                        100 << 20);
         }},
        {"100 MB icon",
         [](World &w) {
             makeSparse(normalAt(w, "HugeIcon") + "/Contents/Resources/AppIcon.icns", 100 << 20);
         }},
        {"ten thousand languages",
         [](World &w) {
             QStringList many;
             for (int i = 0; i < 10000; ++i)
                 many.append(u"x%1"_s.arg(i, 5, 10, QLatin1Char('0')));
             normal(w.apps + "/Babel.app").languages(many).write();
         }},
        // Identifiers
        {"identifier with ..",
         [](World &w) { normal(w.apps + "/Dots.app", "../../../outside/evil").write(); }},
        {"identifier with /", [](World &w) { normal(w.apps + "/Slash.app", "/tmp/evil").write(); }},
        {"identifier with spaces and dashes",
         [](World &w) { normal(w.apps + "/Spaces.app", "-rf org.example spaces").write(); }},
        {"identifier with a newline",
         [](World &w) { normal(w.apps + "/Newline.app", "org.example\nAppleLanguages").write(); }},
        // Executables and icons leading outside
        {"executable named outside",
         [](World &w) {
             normal(w.apps + "/ExeDots.app")
                 .info("CFBundleExecutable", "../../../../bin/sh")
                 .write();
         }},
        {"executable absolute",
         [](World &w) {
             normal(w.apps + "/ExeAbs.app").info("CFBundleExecutable", "/bin/sh").write();
         }},
        {"executable link leading out",
         [](World &w) {
             const QString run = normalAt(w, "ExeLink") + "/Contents/MacOS/run";
             QFile::remove(run);
             makeLink("/bin/sh", run);
         }},
        {"executable folder leading out",
         [](World &w) {
             const QString bundle =
                 normal(w.apps + "/ExeFolder.app").info("CFBundleExecutable", "sh").write();
             QDir(bundle + "/Contents/MacOS").removeRecursively();
             makeLink("/bin", bundle + "/Contents/MacOS");
         }},
        {"icon named outside",
         [](World &w) {
             normal(w.apps + "/IconDots.app")
                 .info("CFBundleIconFile", "../../../outside/icon.icns")
                 .write();
         }},
        {"icon absolute",
         [](World &w) {
             normal(w.apps + "/IconAbs.app")
                 .info("CFBundleIconFile", w.outside + "/icon.icns")
                 .write();
         }},
        {"icon link leading out",
         [](World &w) {
             const QString icon = normalAt(w, "IconLink") + "/Contents/Resources/AppIcon.icns";
             QFile::remove(icon);
             makeLink(w.outside + "/icon.icns", icon);
         }},
    };
    return all;
}

} // namespace

class TestHostileBundles : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    World m_world;

private slots:
    void initTestCase()
    {
        // Before any thread starts: threads take the rights of the thread that starts them.
        FileAccess::dropOverride();
    }

    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_world = World{m_env->applicationsDirectory(), m_env->root() + "/outside", {}};
        // What links may lead to: another bundle's parts, an icon, a folder of languages.
        BundleBuilder(m_world.outside + "/Contents.app")
            .identifier("org.example.Outside")
            .languages({"en"})
            .file("Resources Disabled/fr.lproj/Localizable.strings", "\"a\" = \"b\";")
            .write();
        QVERIFY(QDir().rename(m_world.outside + "/Contents.app/Contents",
                              m_world.outside + "/Contents"));
        QDir().rmdir(m_world.outside + "/Contents.app");
        QFile icon(m_world.outside + "/icon.icns");
        QVERIFY(icon.open(QIODevice::WriteOnly));
        icon.write(BundleBuilder::icnsUpTo(32, "blue"));
        icon.close();
        QDir().mkpath(m_world.outside + "/folder");
    }

    void cleanup()
    {
        for (const QString &folder : std::as_const(m_world.locked))
            ::chmod(QFile::encodeName(folder).constData(), 0755);
        // By bytes: Qt cannot name a file whose name is not UTF-8, so cannot remove it.
        std::error_code error;
        std::filesystem::remove_all(QFile::encodeName(m_env->root()).toStdString(), error);
        m_env.reset();
    }

    void cleanupTestCase() { FileAccess::restoreOverride(); }

    void oneOutcomeEach_data()
    {
        QTest::addColumn<QStringList>("listed"); // besides Good
        QTest::addColumn<int>("languages");      // of the first; -1 when it does not matter
        QTest::addColumn<bool>("identifier");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<bool>("executable");

        const QStringList no;
        auto row = [](const char *setup) -> QTestData & { return QTest::newRow(setup); };
        row("quotes") << QStringList{R"(Say "Hi" & 'Bye' `now`)"} << 2 << true << true << true;
        row("newline") << QStringList{"New\nLine"} << 2 << true << true << true;
        row("leading dashes") << QStringList{"--help -rf"} << 2 << true << true << true;
        row("non-Latin letters") << QStringList{u"Ελληνικά 日本語 عربي"_s} << 2 << true << true
                                 << true;
        // A name that does not decode names no folder Vexilo could open again.
        row("bytes that are not UTF-8") << no << -1 << false << false << false;
        row("link loop") << no << -1 << false << false << false;
        row("link loop of two") << no << -1 << false << false << false;
        row("dangling link") << no << -1 << false << false << false;
        row("link to a bundle elsewhere") << QStringList{"Real"} << 2 << true << true << true;
        // Folders only count as languages; nothing is read or written through them.
        row("language folder leading out") << QStringList{"Lproj"} << 4 << true << true << true;
        // Read through, as the bundle is; but nothing is moved there.
        row("contents leading out") << QStringList{"Contents"} << 1 << true << false << false;
        row("disabled resources leading out")
            << QStringList{"Disabled"} << 2 << true << true << true;
        row("resources leading out") << QStringList{"Resources"} << 1 << true << false << true;
        row("unreadable bundle") << QStringList{"Locked"} << 0 << false << false << false;
        row("unreadable resources") << QStringList{"Closed"} << 0 << true << false << true;
        row("bundle that is a file") << QStringList{"File"} << 0 << false << false << false;
        row("bundle that is a fifo") << QStringList{"Pipe"} << 0 << false << false << false;
        row("Info.plist a fifo") << QStringList{"InfoFifo"} << 2 << false << false << false;
        row("Info.plist a device") << QStringList{"InfoDevice"} << 2 << false << false << false;
        row(".strings a fifo") << QStringList{"StringsFifo"} << 2 << true << true << true;
        row(".strings a device") << QStringList{"StringsDevice"} << 2 << true << true << true;
        row("icon a fifo") << QStringList{"IconFifo"} << 2 << true << false << true;
        row("icon a device") << QStringList{"IconDevice"} << 2 << true << false << true;
        row("100 MB Info.plist") << QStringList{"HugeInfo"} << 2 << false << false << false;
        row("100 MB .strings") << QStringList{"HugeStrings"} << 2 << true << true << true;
        row("100 MB icon") << QStringList{"HugeIcon"} << 2 << true << false << true;
        row("ten thousand languages") << QStringList{"Babel"} << 10002 << true << true << true;
        row("identifier with ..") << QStringList{"Dots"} << 2 << true << true << true;
        row("identifier with /") << QStringList{"Slash"} << 2 << true << true << true;
        row("identifier with spaces and dashes")
            << QStringList{"Spaces"} << 2 << true << true << true;
        row("identifier with a newline") << QStringList{"Newline"} << 2 << true << true << true;
        row("executable named outside") << QStringList{"ExeDots"} << 2 << true << true << false;
        row("executable absolute") << QStringList{"ExeAbs"} << 2 << true << true << false;
        row("executable link leading out") << QStringList{"ExeLink"} << 2 << true << true << false;
        row("executable folder leading out")
            << QStringList{"ExeFolder"} << 2 << true << true << false;
        row("icon named outside") << QStringList{"IconDots"} << 2 << true << false << true;
        row("icon absolute") << QStringList{"IconAbs"} << 2 << true << false << true;
        row("icon link leading out") << QStringList{"IconLink"} << 2 << true << false << true;
    }

    void oneOutcomeEach()
    {
        QFETCH(QStringList, listed);
        QFETCH(int, languages);
        QFETCH(bool, identifier);
        QFETCH(bool, icon);
        QFETCH(bool, executable);

        normal(m_world.apps + "/Good.app", "org.example.Good").write();
        setups().value(QString::fromLatin1(QTest::currentDataTag()))(m_world);
        if (QTest::currentTestFailed())
            return;
        const FileTree before = FileTree::of(m_env->root());

        auto platform = std::make_shared<const Platform>(m_env->platform());
        auto defaults = std::make_shared<UserDefaults>(platform->preferences, "org.vexilo.Test");
        Catalogue catalogue(platform, defaults);
        QSignalSpy loaded(&catalogue, &Catalogue::loaded);
        catalogue.startLoading();
        QVERIFY(loaded.wait(60000));

        QStringList names;
        for (const AppListingPtr &listing : catalogue.allApps())
            names.append(listing->name());
        QStringList expected = QStringList{"Good"} + listed;
        expected.sort();
        names.sort();
        QCOMPARE(names, expected);

        // Everything a user can do with them today: select, read the name, draw the icon.
        StoredLanguages stored(platform->defaultsToolPath());
        RunningInstances running(platform->processes);
        Selection selection(platform, stored, running);
        for (const AppListingPtr &listing : catalogue.allApps()) {
            selection.select(listing);
            QVERIFY(selection.panel().showsApplication);
            QCOMPARE(selection.current()->name(), listing->name());
            QVERIFY(!listing->localizedAppName().isEmpty());
            listing->version();
            const bool drawn = !listing->iconPath().isEmpty() &&
                               !IconCache::load(listing->iconPath(), 58).isNull();
            const auto bundle = Bundle::bundleWithPath(listing->path());
            const bool runs = bundle && !bundle->executablePath().isEmpty();
            if (listing->name() == "Good") {
                QCOMPARE(listing->langs().size(), 2);
                QVERIFY(drawn && runs);
                QCOMPARE(selection.panel().name, "Good");
            } else if (listing->name() == listed.value(0)) {
                if (languages >= 0)
                    QCOMPARE(listing->langs().size(), languages);
                QCOMPARE(!listing->identifier().isEmpty(), identifier);
                QCOMPARE(drawn, icon);
                QCOMPARE(runs, executable);
            }
        }

        // The store and the registry of added applications are Vexilo's own to write.
        const QStringList changed =
            before.differences(FileTree::of(m_env->root()), {"config", "data"});
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join('\n')));
    }
};

QTEST_MAIN(TestHostileBundles)
#include "tst_hostilebundles.moc"

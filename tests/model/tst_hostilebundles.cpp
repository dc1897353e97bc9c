// Hostile bundles beside a good one. Each gets one outcome (listed as told, or left out), and
// loading the catalogue, selecting every listing, naming it and drawing its icon neither crashes
// nor hangs, and creates, loses, replaces or changes nothing anywhere: not in the bundles, not
// outside them.
#include "BundleBuilder.h"
#include "FileTree.h"
#include "HostilePlists.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "catalogue/Catalogue.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/bundle/Bundle.h"
#include "platform/preferences/UserDefaults.h"
#include "row/IconCache.h"

#include <QSignalSpy>
#include <QTest>
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

// Puts a link (or a FIFO, or a sparse file of `size` bytes) where `path` is, file or nothing.
void makeLink(const QString &target, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    QVERIFY2(
        ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0,
        qPrintable(path));
}
void makeFifo(const QString &path)
{
    QFile::remove(path);
    QVERIFY2(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0, qPrintable(path));
}
void makeSparse(const QString &path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(size));
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
QString normalAt(const World &w, const QString &name, const QString &inside = QString())
{
    return normal(w.apps + '/' + name + ".app").write() + inside;
}
const QString kInfo = u"/Contents/Info.plist"_s;
const QString kStrings = u"/Contents/Resources/en.lproj/InfoPlist.strings"_s;
const QString kIcon = u"/Contents/Resources/AppIcon.icns"_s;

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestHostileBundles : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    World m_world;

    // `listed`: the name it is listed under beside Good, empty when left out; `languages`: how
    // many it has, -1 when that does not matter; `works`: what of it can be used ("id icon run").
    static void row(const char *tag, const QString &listed, int languages, const char *works,
                    const Setup &setup)
    {
        QTest::newRow(tag) << listed << languages << QString::fromLatin1(works) << setup;
    }

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
        QDir().mkpath(m_world.outside + "/folder");
        QVERIFY(!writeFile(m_world.outside + "/icon.icns", BundleBuilder::icnsUpTo(32, "blue"))
                     .isEmpty());
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
        QTest::addColumn<QString>("listed");
        QTest::addColumn<int>("languages");
        QTest::addColumn<QString>("works");
        QTest::addColumn<Setup>("setup");
        const char *all = "id icon run";

        // Names
        const QString quotes = R"(Say "Hi" & 'Bye' `now`)", greek = u"Ελληνικά 日本語 عربي"_s;
        row("quotes", quotes, 2, all, [=](World &w) { normalAt(w, quotes); });
        row("newline", "New\nLine", 2, all, [](World &w) { normalAt(w, "New\nLine"); });
        row("leading dashes", "--help -rf", 2, all, [](World &w) { normalAt(w, "--help -rf"); });
        row("non-Latin letters", greek, 2, all, [=](World &w) { normalAt(w, greek); });
        // A name that does not decode names no folder Vexilo could open again.
        row("bytes that are not UTF-8", "", -1, "", [](World &w) {
            const QByteArray raw = QFile::encodeName(w.apps) + "/Caf\xe9 \xff.app";
            QVERIFY(::rename(QFile::encodeName(normalAt(w, "Latin1")).constData(), raw) == 0);
        });
        // Links
        row("link loop", "", -1, "", [](World &w) { makeLink("Loop.app", w.apps + "/Loop.app"); });
        row("dangling link", "", -1, "",
            [](World &w) { makeLink(w.outside + "/gone.app", w.apps + "/Gone.app"); });
        row("link to a bundle elsewhere", "Real", 2, all, [](World &w) {
            makeLink(normal(w.outside + "/Real.app").write(), w.apps + "/Link.app");
        });
        // Folders only count as languages; nothing is read or written through them.
        row("language folder leading out", "Lproj", 4, all, [](World &w) {
            const QString resources = normalAt(w, "Lproj", "/Contents/Resources");
            makeLink(w.outside + "/folder", resources + "/de.lproj");
            makeLink("../../../..", resources + "/es.lproj");
        });
        // Read through, as the bundle is; but nothing is moved there.
        row("contents leading out", "Contents", 1, "id",
            [](World &w) { makeLink(w.outside + "/Contents", w.apps + "/Contents.app/Contents"); });
        row("disabled resources leading out", "Disabled", 2, all, [](World &w) {
            makeLink(w.outside + "/Contents/Resources Disabled",
                     normalAt(w, "Disabled", "/Contents/Resources Disabled"));
        });
        row("resources leading out", "Resources", 1, "id run", [](World &w) {
            const QString resources = normalAt(w, "Resources", "/Contents/Resources");
            QDir(resources).removeRecursively();
            makeLink(w.outside + "/Contents/Resources", resources);
            QDir().mkpath(resources + " Disabled/de.lproj");
        });
        // Unreadable and odd kinds of file
        row("unreadable bundle", "Locked", 0, "", [](World &w) { lock(w, normalAt(w, "Locked")); });
        row("unreadable resources", "Closed", 0, "id run",
            [](World &w) { lock(w, normalAt(w, "Closed", "/Contents/Resources")); });
        row("bundle that is a file", "File", 0, "",
            [](World &w) { QVERIFY(!writeFile(w.apps + "/File.app", "not a folder").isEmpty()); });
        row("bundle that is a fifo", "Pipe", 0, "",
            [](World &w) { makeFifo(w.apps + "/Pipe.app"); });
        row("Info.plist a fifo", "InfoFifo", 2, "",
            [](World &w) { makeFifo(normalAt(w, "InfoFifo", kInfo)); });
        row("Info.plist a device", "InfoDevice", 2, "",
            [](World &w) { makeLink("/dev/zero", normalAt(w, "InfoDevice", kInfo)); });
        row(".strings a fifo", "StringsFifo", 2, all,
            [](World &w) { makeFifo(normalAt(w, "StringsFifo", kStrings)); });
        row(".strings a device", "StringsDevice", 2, all,
            [](World &w) { makeLink("/dev/urandom", normalAt(w, "StringsDevice", kStrings)); });
        row("icon a fifo", "IconFifo", 2, "id run",
            [](World &w) { makeFifo(normalAt(w, "IconFifo", kIcon)); });
        row("icon a device", "IconDevice", 2, "id run",
            [](World &w) { makeLink("/dev/zero", normalAt(w, "IconDevice", kIcon)); });
        // Sizes
        row("100 MB Info.plist", "HugeInfo", 2, "",
            [](World &w) { makeSparse(normalAt(w, "HugeInfo", kInfo), 100 << 20); });
        row("100 MB .strings", "HugeStrings", 2, all,
            [](World &w) { makeSparse(normalAt(w, "HugeStrings", kStrings), 100 << 20); });
        row("100 MB icon", "HugeIcon", 2, "id run",
            [](World &w) { makeSparse(normalAt(w, "HugeIcon", kIcon), 100 << 20); });
        row("ten thousand languages", "Babel", 10002, all, [](World &w) {
            QStringList many;
            for (int i = 0; i < 10000; ++i)
                many.append(u"x%1"_s.arg(i, 5, 10, QLatin1Char('0')));
            normal(w.apps + "/Babel.app").languages(many).write();
        });
        // Identifiers, and icons leading outside (executables are the bundle reader's own test)
        const auto declaring = [](const char *name, const char *key, const char *value) {
            return [=](World &w) { normal(w.apps + '/' + name + ".app").info(key, value).write(); };
        };
        constexpr const char *id = "CFBundleIdentifier", *icon = "CFBundleIconFile";
        row("identifier with ..", "Dots", 2, all, declaring("Dots", id, "../../../outside/evil"));
        row("identifier with /", "Slash", 2, all, declaring("Slash", id, "/tmp/evil"));
        row("identifier with spaces and dashes", "Spaces", 2, all,
            declaring("Spaces", id, "-rf org.example spaces"));
        row("identifier with a newline", "Newline", 2, all,
            declaring("Newline", id, "org.example\nAppleLanguages"));
        row("icon named outside", "IconDots", 2, "id run",
            declaring("IconDots", icon, "../../../../outside/icon.icns"));
        row("icon absolute", "IconAbs", 2, "id run", [](World &w) {
            normal(w.apps + "/IconAbs.app").info(icon, w.outside + "/icon.icns").write();
        });
        row("icon link leading out", "IconLink", 2, "id run",
            [](World &w) { makeLink(w.outside + "/icon.icns", normalAt(w, "IconLink", kIcon)); });
        // Crafted Info.plist files, each read as none: named after the folder, nothing declared.
        for (const HostilePlists::Case &plist : HostilePlists::all()) {
            row(plist.name, "Crafted", -1, "", [bytes = plist.bytes](World &w) {
                normal(w.apps + "/Crafted.app").noInfoPlist().file("Info.plist", bytes).write();
            });
        }
    }

    void oneOutcomeEach()
    {
        QFETCH(QString, listed);
        QFETCH(int, languages);
        QFETCH(QString, works);
        QFETCH(Setup, setup);

        normal(m_world.apps + "/Good.app", "org.example.Good").write();
        setup(m_world);
        if (QTest::currentTestFailed())
            return;
        const FileTree before = FileTree::of(m_env->root());

        auto platform = std::make_shared<const Platform>(m_env->platform());
        auto defaults = std::make_shared<UserDefaults>(platform->preferences, "org.vexilo.Test");
        Catalogue catalogue(platform, defaults);
        QSignalSpy loaded(&catalogue, &Catalogue::loaded);
        catalogue.startLoading();
        QVERIFY(loaded.wait(60000));

        QStringList names, expected{"Good"};
        for (const AppListingPtr &listing : catalogue.allApps())
            names.append(listing->name());
        if (!listed.isEmpty())
            expected.append(listed);
        expected.sort();
        names.sort();
        QCOMPARE(names, expected);

        // Everything a user can do with them today: select, read the name, draw the icon.
        StoredLanguages stored(platform);
        RunningInstances running(platform->processes);
        Selection selection(platform, stored, running);
        for (const AppListingPtr &listing : catalogue.allApps()) {
            selection.select(listing);
            QVERIFY(selection.panel().showsApplication);
            QCOMPARE(selection.current()->name(), listing->name());
            QVERIFY(!listing->localizedAppName().isEmpty());
            listing->version();
            const auto bundle = Bundle::bundleWithPath(listing->path());
            QStringList usable;
            if (!listing->identifier().isEmpty())
                usable.append("id");
            if (!listing->iconPath().isEmpty() &&
                !IconCache::load(listing->iconPath(), 58).isNull())
                usable.append("icon");
            if (bundle &&
                !Bundle::executablePath(bundle->bundlePath(), bundle->executableName()).isEmpty())
                usable.append("run");
            const QString name = listing->name();
            if (name != "Good" && name != listed)
                continue;
            const bool good = name == "Good";
            QCOMPARE(usable.join(' '), good ? u"id icon run"_s : works);
            if (good || languages >= 0)
                QCOMPARE(listing->langs().size(), good ? 2 : languages);
            if (good)
                QCOMPARE(selection.panel().name, "Good");
        }

        // The store and the registry of added applications are Vexilo's own to write.
        const QStringList changed =
            before.differences(FileTree::of(m_env->root()), {"config", "data"});
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join('\n')));
    }
};

QTEST_MAIN(TestHostileBundles)
#include "tst_hostilebundles.moc"

#include "BundleBuilder.h"
#include "FileTree.h"
#include "HostilePlists.h"
#include "PropertyList.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "WindowDriver.h"
#include "panel/Selection.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <climits>
#include <cmath>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace WindowDriver;

namespace {

QByteArray plist(const QVariantMap &map)
{
    return PropertyList::toXml(map);
}

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Vexilo's starts, what they count and remind of, the commands of its menus; and starts on what
// something else left: its own preferences damaged, of the wrong types or not a file at all,
// crafted bundles, an address space capped at 512 MB.
class TestStartup : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QList<QByteArray> m_opened;
    int m_asked = 0;

    // A start at `now` whose reminder answers "Donate Now" when `donate`.
    std::unique_ptr<AppController> start(const QDateTime &now = {}, bool donate = false)
    {
        return WindowDriver::start(m_env->platform(), [=, this](AppController &c) {
            c.setUrlOpener([this](const QByteArray &url) { m_opened.append(url); });
            c.setDonationAsker([this, donate](const DonationReminder::Texts &texts) {
                m_asked += texts.title == u"Thank you for using Vexilo!";
                return donate;
            });
            if (now.isValid())
                c.setClock([now] { return now; });
        });
    }
    void installed(const QStringList &names)
    {
        for (const QString &name : names)
            BundleBuilder(m_env->applicationsDirectory() + '/' + name + ".app")
                .identifier("org.example." + name)
                .write();
    }
    UserDefaults vexiloDefaults() const
    {
        return UserDefaults(m_env->platform().preferences, u"org.vexilo.Vexilo"_s);
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_opened.clear();
        m_asked = 0;
    }

    void firstAndSecondStart()
    {
        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/beta.app")
            .identifier("org.example.Beta")
            .languages({"en", "fr"})
            .localizedInfo("en", {{"CFBundleName", "Beta Pro"}})
            .write();
        installed({"Gamma"});
        QFile note(apps + "/ReadMe.txt");
        QVERIFY(note.open(QIODevice::WriteOnly));
        note.close();

        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        auto c = start();
        const QDateTime installDate = c->defaults().dateForKey("InstallDate");
        QVERIFY(installDate >= before && installDate <= QDateTime::currentDateTimeUtc().addSecs(1));
        QCOMPARE(c->defaults().integerForKey("NumUses"), 1);

        // The progress bar followed the load and is gone.
        auto *bar = c->window().findChild<QProgressBar *>();
        QCOMPARE(bar->maximum(), 3);
        QCOMPARE(bar->value(), 3);
        QVERIFY(bar->isHidden());

        // The first application is selected, read afresh.
        QCOMPARE(c->selection().current()->path(), c->catalogue().apps().first()->path());
        QVERIFY(c->selection().current() != c->catalogue().apps().first());
        QCOMPARE(label(c->window(), "Beta Pro"), "Beta Pro");
        QVERIFY(!label(c->window(), "Available in 2 different languages.").isEmpty());
        click(*c, "Gamma");
        QCOMPARE(label(c->window(), "Gamma"), "Gamma");
        QVERIFY(!label(c->window(), "(Unable to determine available languages)").isEmpty());

        // The about box shows the texts of Vexilo's own bundle, from their start.
        c->window().showAboutBox();
        auto *credits = c->window().findChild<QTextBrowser *>();
        QVERIFY(credits && credits->isVisible());
        QVERIFY(credits->toPlainText().contains("Libraries"));
        QCOMPARE(credits->textCursor().position(), 0);
        QVERIFY(!label(c->window(), "Version " VEXILO_VERSION).isEmpty());
        QVERIFY(!label(c->window(), "Open any application in any of its languages.").isEmpty());

        c.reset();
        c = start();
        QCOMPARE(c->defaults().integerForKey("NumUses"), 2);
        QCOMPARE(c->defaults().dateForKey("InstallDate"), installDate);
    }

    // Typing in the search field narrows the row and shows its first match; Remove over a
    // result asks about that application; no result leaves the panel blank.
    void searchAndRemoveReachTheController()
    {
        installed({"Alpha", "alpine", "Beta", "Bravo"});
        auto c = start();
        auto *search = c->window().findChild<QLineEdit *>();
        QTest::keyClicks(search, "b");
        QCOMPARE(c->selection().current()->name(), "Beta");
        QCOMPARE(c->row().shown().size(), 2);
        removeWithMenu(*c, 1);
        QCOMPARE(sheetLines(c->window()).value(0),
                 "Are you sure you want to remove Bravo from Vexilo?");
        answer(c->window(), "Cancel");

        QTest::keyClicks(search, "x");
        QVERIFY(!c->selection().panel().showsApplication);
        search->clear();
        QCOMPARE(c->selection().current()->name(), "Alpha");
        QCOMPARE(c->row().shown().size(), 4);
    }

    void emptyCatalogueLeavesPanelBlank()
    {
        auto c = start();
        QVERIFY(c->catalogue().isLoaded() && c->catalogue().apps().isEmpty());
        QVERIFY(!c->selection().current());
        QVERIFY(!launchButton(c->window())->isEnabled());
    }

    // Asked at the end of the load that counts the 50th use, once 42 days have passed since
    // the first start, and never again; when it is due is the reminder's rule, tested on its own.
    void donationReminder_data()
    {
        QTest::addColumn<int>("usesBefore"); // -1: the first start ever
        QTest::addColumn<bool>("donate");
        QTest::addColumn<bool>("asked");
        QTest::newRow("50th start, Donate Now") << 49 << true << true;
        QTest::newRow("50th start, Not yet") << 49 << false << true;
        QTest::newRow("49th start") << 48 << true << false;
        QTest::newRow("first start ever") << -1 << true << false;
    }
    void donationReminder()
    {
        QFETCH(int, usesBefore);
        QFETCH(bool, donate);
        QFETCH(bool, asked);
        // Whole seconds: the preference file keeps dates to the second.
        const QDateTime now(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);
        if (usesBefore >= 0) {
            UserDefaults defaults = vexiloDefaults();
            defaults.setObject("InstallDate", now.addDays(-43));
            defaults.setInteger("NumUses", usesBefore);
        }
        start(now, donate);
        QCOMPARE(m_asked, int(asked));
        QCOMPARE(m_opened.size(), int(asked && donate));
        if (asked && donate)
            QVERIFY(m_opened.first().startsWith("https://www.paypal.com/cgi-bin/webscr?"));
        QCOMPARE(vexiloDefaults().boolForKey("ShownDonateBox"), asked);
        QCOMPARE(vexiloDefaults().integerForKey("NumUses"), qMax(usesBefore, 0) + 1);

        // A later start asks only if this one did not, and then only when it is due.
        m_asked = 0;
        start(now.addDays(1));
        QCOMPARE(m_asked, int(!asked && usesBefore >= 0));
    }

    // Help in the user's language (which one is the support links' rule), feedback, donation.
    void menuCommandsOpenTheirAddresses()
    {
        TestEnvironment::setLanguage("fr_FR", "fr");
        auto c = std::make_unique<AppController>(std::make_shared<Platform>(m_env->platform()));
        c->setUrlOpener([this](const QByteArray &url) { m_opened.append(url); });
        emit c->window().helpRequested();
        emit c->window().feedbackRequested();
        emit c->window().donateRequested();
        QCOMPARE(m_opened.size(), 3);
        QCOMPARE(m_opened.at(0),
                 QUrl::fromLocalFile(VEXILO_TEST_BUNDLE "/Contents/Resources/fr.lproj/help.html")
                     .toEncoded());
        QCOMPARE(m_opened.at(1), "mailto:feedback@vexilo.org");
        QVERIFY(m_opened.at(2).startsWith("https://www.paypal.com/cgi-bin/webscr?"));

        // A bundle without a help page opens nothing.
        Platform bare = m_env->platform();
        bare.mainBundlePath =
            BundleBuilder(m_env->root() + "/Bare.app").identifier("org.vexilo.Vexilo").write();
        c = std::make_unique<AppController>(std::make_shared<Platform>(bare));
        c->setUrlOpener([this](const QByteArray &url) { m_opened.append(url); });
        emit c->window().helpRequested();
        QCOMPARE(m_opened.size(), 3);
    }

    // Each start ends with the catalogue shown; the preference file's bytes stay where they
    // were or are kept aside whole, and nothing is written anywhere else.
    void hostilePreferences_data()
    {
        QTest::addColumn<QString>("kind");      // "file", "fifo", "folder" or "device"
        QTest::addColumn<QByteArray>("bytes");  // of a file
        QTest::addColumn<qlonglong>("numUses"); // after the start; -1: nothing could be stored
        QTest::addColumn<int>("shown");         // applications in the row
        QTest::addColumn<bool>("reminded");     // the donation reminder asked
        const QByteArray none;
        const auto utc = [](const QDate &date) { return QDateTime(date, {}, Qt::UTC); };
        QTest::newRow("not a property list")
            << "file" << QByteArray("\x01garbage{<\xff") << 1LL << 1 << false;
        QTest::newRow("values of the wrong types") << "file"
                                                   << plist({{"ExtraApps", "org.example.Good"},
                                                             {"HiddenApps", 7},
                                                             {"NumUses", "many"},
                                                             {"ShownDonateBox", "yes"},
                                                             {"InstallDate", "yesterday"}})
                                                   << 1LL << 1 << false;
        QTest::newRow("arrays of the wrong things")
            << "file"
            << plist({{"ExtraApps",
                       QVariantList{42, QVariantMap{}, "", "relative/Thing.app", "../../x",
                                    "/dev/zero", "/", "org.example.Good", "/no/such\nthing.app"}},
                      {"HiddenApps", QVariantList{5, QVariantMap{}, "org.example.Nothing"}}})
            << 1LL << 8 << false;
        QTest::newRow("every application hidden")
            << "file" << plist({{"HiddenApps", QVariantList{"org.example.Good", 3}}}) << 1LL << 0
            << false;
        QTest::newRow("the largest count")
            << "file" << plist({{"NumUses", LLONG_MAX}}) << LLONG_MAX << 1 << false;
        QTest::newRow("a count above the signed range")
            << "file" << plist({{"NumUses", qulonglong(ULLONG_MAX)}}) << LLONG_MAX << 1 << false;
        QTest::newRow("a count that is no number")
            << "file" << plist({{"NumUses", std::nan("")}}) << 1LL << 1 << false;
        QTest::newRow("installed in the far future")
            << "file" << plist({{"NumUses", 500}, {"InstallDate", utc({9999, 12, 31})}}) << 501LL
            << 1 << false;
        QTest::newRow("installed long ago")
            << "file" << plist({{"NumUses", 500}, {"InstallDate", utc({1, 1, 1})}}) << 501LL << 1
            << true;
        QTest::newRow("a fifo") << "fifo" << none << -1LL << 1 << false;
        QTest::newRow("a folder") << "folder" << none << -1LL << 1 << false;
        QTest::newRow("a device") << "device" << none << -1LL << 1 << false;
    }
    void hostilePreferences()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(qlonglong, numUses);
        QFETCH(int, shown);
        QFETCH(bool, reminded);
        installed({"Good"});
        const QString path = m_env->preferencesDirectory() + "/org.vexilo.Vexilo.plist";
        QDir().mkpath(m_env->preferencesDirectory());
        if (kind == "file") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        } else if (kind == "fifo") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else {
            QVERIFY(QFile::link("/dev/zero", path));
        }
        const FileTree before = FileTree::of(m_env->root());
        const FileTree preferencesBefore = FileTree::of(m_env->preferencesDirectory());

        auto c = start();
        QVERIFY(c->catalogue().isLoaded());
        QCOMPARE(c->catalogue().apps().size(), shown);
        if (numUses >= 0)
            QCOMPARE(c->defaults().integerForKey("NumUses"), numUses);
        c.reset();
        QCOMPARE(m_asked, int(reminded));

        // Nothing outside the preferences store changed.
        const QStringList outside = before.differences(
            FileTree::of(m_env->root()), {"config/vexilo/Preferences", "data", "cache"});
        QVERIFY2(outside.isEmpty(), qPrintable(outside.join('\n')));
        if (kind != "file") {
            // What is no file is left as it is, and nothing is written beside it.
            const QStringList changed =
                preferencesBefore.differences(FileTree::of(m_env->preferencesDirectory()));
            QVERIFY2(changed.isEmpty(), qPrintable(changed.join('\n')));
            return;
        }
        // Kept aside whole when damaged; else every key that was there still is, with its value,
        // but the count Vexilo keeps.
        const std::optional<QVariant> was = PropertyList::parse(bytes);
        QCOMPARE(contentsOf(path + ".corrupt"), was ? QByteArray() : bytes);
        const QVariantMap old = was ? was->toMap() : QVariantMap();
        const QVariantMap now = PropertyList::parse(contentsOf(path)).value_or(QVariant()).toMap();
        for (auto it = old.cbegin(); it != old.cend(); ++it) {
            if (it.key() != "NumUses")
                QCOMPARE(now.value(it.key()), it.value());
        }
    }

    // Crafted Info.plist files list their bundles without identifier; the good one loads as
    // usual and each can be selected.
    void hostileBundlesBesideAGoodOne()
    {
        installed({"Good"});
        int i = 0;
        for (const auto &[name, bytes] : HostilePlists::all())
            BundleBuilder(m_env->applicationsDirectory() + u"/Hostile-%1.app"_s.arg(++i))
                .file("Info.plist", bytes)
                .noInfoPlist()
                .write();
        auto c = start();
        QCOMPARE(c->catalogue().allApps().size(), i + 1);
        for (const AppListingPtr &listing : c->catalogue().allApps())
            QCOMPARE(listing->identifier().isEmpty(), listing->name() != "Good");
        for (int index = 0; index < i; ++index)
            QTest::keyClick(row(*c), Qt::Key_Right);
        QCOMPARE(c->selection().current()->path(), c->catalogue().apps().last()->path());
        QVERIFY(c->selection().panel().showsApplication);
    }

    // Thread stacks and the allocator's per-thread arenas reserve address space far beyond what
    // is used; Vexilo must start and load its applications all the same.
    void startsUnderAMemoryCap()
    {
#ifdef VEXILO_TEST_SANITIZED
        QSKIP("the sanitizers reserve terabytes of address space: no cap can hold them");
#endif
        const QString prlimit = QStandardPaths::findExecutable("prlimit");
        if (prlimit.isEmpty())
            QSKIP("prlimit (util-linux) not found");
        const QString apps = m_env->root() + "/Demo";
        // A copy: Vexilo moves disabled resources back in the bundles it reads.
        QCOMPARE(QProcess::execute("cp", {"-a", VEXILO_TEST_DEMO_APPLICATIONS, apps}), 0);
        const int bundles = int(QDir(apps).entryList({"*.app"}, QDir::Dirs).size());
        QVERIFY(bundles > 5);

        QProcess vexilo;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("VEXILO_APPLICATIONS_DIR", apps);
        // Only the bundles: the machine's own application menu stays out of the count.
        environment.insert("XDG_DATA_DIRS", m_env->root() + "/no-menu");
        vexilo.setProcessEnvironment(environment);
        vexilo.setProcessChannelMode(QProcess::MergedChannels);
        vexilo.start(prlimit, {"--as=" + QString::number(512 << 20), "--",
                               VEXILO_TEST_BUNDLE "/Contents/MacOS/Vexilo"});
        QVERIFY(vexilo.waitForStarted());
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += vexilo.readAll()).contains("catalogue loaded"), 30000);
        QVERIFY2(output.contains(u"(%1 of %1 applications shown)"_s.arg(bundles).toUtf8()),
                 output.constData());
        // Still running once loaded: not ended by an allocation that failed after the message.
        QVERIFY(!vexilo.waitForFinished(1000));
        QCOMPARE(vexilo.state(), QProcess::Running);
        vexilo.terminate();
        QVERIFY(vexilo.waitForFinished(10000));
        output += vexilo.readAll();
        QVERIFY2(!output.contains("Cannot allocate") && !output.contains("std::bad_alloc"),
                 output.constData());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"

#include "BundleBuilder.h"
#include "DesktopTree.h"
#include "FileTree.h"
#include "HelpWindow.h"
#include "HiddenAppsSheet.h"
#include "HiddenAppsTableModel.h"
#include "ListingNames.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "WindowDriver.h"
#include "about/SupportLinks.h"
#include "panel/Selection.h"
#include "platform/preferences/PropertyList.h"
#include "platform/preferences/UserDefaults.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QUrl>
#include <climits>
#include <cmath>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace WindowDriver;

// Vexilo's window apart from launching: starts and what they count and remind of, the menus'
// commands, adding, removing and hiding applications (which one is the catalogue's rule, tested
// on its own), and starts on hostile preference files and bundles or under a cap on memory.
class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QList<QByteArray> m_opened;
    bool m_urlsOpen = true;
    int m_asked = 0;
    QStringList m_chosen;

    // A start at `now`: the URLs opened and the reminders asked (answered "Donate Now" when
    // `donate`) are noted, and the file chooser hands over m_chosen unless it is the real one.
    std::unique_ptr<AppController> start(const QDateTime &now = {}, bool donate = false,
                                         bool realChooser = false)
    {
        return WindowDriver::start(m_env->platform(), [=, this](AppController &c) {
            c.setUrlOpener([this](const QByteArray &url, const auto &done) {
                m_opened.append(url);
                done(m_urlsOpen);
            });
            c.setDonationAsker([this, donate](const DonationReminder::Texts &texts) {
                m_asked += texts.title == u"Thank you for using Vexilo!";
                return donate;
            });
            if (now.isValid())
                c.setClock([now] { return now; });
            if (!realChooser)
                c.setApplicationChooser([this](QWidget *, const auto &done) { done(m_chosen); });
        });
    }
    // "Folder/Name.app" below the test's root is a bundle in English and French, anything else
    // a plain folder; a bundle named Plain has no identifier.
    QString make(const QString &relative)
    {
        const QString path = m_env->root() + '/' + relative;
        const QString name = QFileInfo(path).completeBaseName();
        if (QFileInfo::exists(path) || !relative.endsWith(".app"))
            return QDir().mkpath(path) ? path : QString();
        BundleBuilder builder(path);
        builder.languages({"en", "fr"});
        if (name != "Plain")
            builder.identifier("org.example." + name);
        return builder.write();
    }
    void installed(const QStringList &names)
    {
        for (const QString &name : names)
            make("Applications/" + name + ".app");
    }
    // Switches the named application's check box in the Show Apps list, then closes it with
    // Return (OK) or Escape (Cancel).
    static void toggleInShowApps(AppController &c, const QString &name, Qt::Key close)
    {
        menuCommand(c.window(), "Show Apps");
        HiddenAppsSheet *list = nullptr;
        for (HiddenAppsSheet *sheet : c.window().findChildren<HiddenAppsSheet *>())
            list = sheet->isVisible() ? sheet : list;
        QVERIFY(list && list->windowModality() == Qt::WindowModal);
        auto *table = list->findChild<QAbstractItemView *>();
        for (int row = 0; row < list->model().rowCount(); ++row) {
            if (list->model().list().listing(row)->name() == name)
                table->setCurrentIndex(list->model().index(row, list->model().column("shown")));
        }
        QTest::keyClick(table, Qt::Key_Space);
        QTest::keyClick(table, close);
        QTRY_VERIFY(!list->isVisible());
    }
    // Where the keys go: the search field, the row, or the menu open (named by its title, or by
    // its first command).
    static QString focusName()
    {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            return QString(menu->title().isEmpty() ? menu->actions().first()->text()
                                                   : menu->title())
                .remove(u'&');
        QWidget *focus = QApplication::focusWidget();
        return qobject_cast<QLineEdit *>(focus)    ? "search"
               : qobject_cast<AppRowView *>(focus) ? "row"
                                                   : "";
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
        m_urlsOpen = true;
        m_asked = 0;
    }

    // What the first start shows; what it counts is the donation reminder's test.
    void firstStart()
    {
        const QString apps = m_env->applicationsDirectory();
        BundleBuilder(apps + "/beta.app")
            .identifier("org.example.Beta")
            .languages({"en", "fr"})
            .localizedInfo("en", {{"CFBundleName", "Beta Pro"}})
            .write();
        installed({"Gamma"});

        auto c = start();
        // The progress bar followed the load and is gone.
        auto *bar = c->window().findChild<QProgressBar *>();
        QCOMPARE(bar->maximum(), 2);
        QCOMPARE(bar->value(), 2);
        QVERIFY(bar->isHidden());

        // The first application is selected, read afresh.
        QCOMPARE(c->selection().current()->path(), c->catalogue().apps().first()->path());
        QVERIFY(c->selection().current() != c->catalogue().apps().first());
        QCOMPARE(label(c->window(), "Beta Pro"), "Beta Pro");
        QVERIFY(!label(c->window(), "Available in 2 different languages.").isEmpty());

        // The about box shows the texts of Vexilo's own bundle, from their start.
        c->window().showAboutBox();
        auto *credits = c->window().findChild<QTextBrowser *>();
        QVERIFY(credits && credits->isVisible());
        QCOMPARE(credits->textCursor().position(), 0);
        QVERIFY(!label(c->window(), "Version " VEXILO_VERSION).isEmpty());
    }

    // The keyboard and the wheel as on other desktop programs, each through the window: `input`
    // is "key:<sequence>", "type:<text>", "wheel:<vertical delta>" or "double-click", given to
    // `from` ("row", or "search" holding `typed`) with the entry `before` selected.
    void keysAndWheel_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("before");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("launches");
        QTest::addColumn<bool>("scrolls");
        const auto row = [](const char *tag, const QStringList &from, int before,
                            const QString &input, const QStringList &after, int selected,
                            int launches = 0, bool scrolls = false) {
            QTest::newRow(tag) << from.value(0) << from.value(1) << before << input
                               << after.value(0) << after.value(1) << selected << launches
                               << scrolls;
        };
        row("Ctrl+F", {"row"}, 2, "key:Ctrl+F", {"search"}, 2);
        row("Escape clears the search", {"search", "b"}, 0, "key:Esc", {"row"}, 0);
        row("typing in the row searches", {"row"}, 3, "type:b", {"search", "b"}, 0);
        row("a search that finds nothing", {"row"}, 3, "type:x", {"search", "x"}, 0);
        row("Home", {"row"}, 3, "key:Home", {"row"}, 0);
        row("End", {"row"}, 1, "key:End", {"row"}, 15, 0, true);
        row("Return launches", {"row"}, 2, "key:Return", {"row"}, 2, 1);
        row("Enter launches", {"row"}, 2, "key:Enter", {"row"}, 2, 1);
        row("double click launches", {"row"}, 0, "double-click", {"row"}, 4, 1);
        row("Menu key", {"row"}, 13, "key:Menu", {"Remove"}, 13);
        row("Shift+F10", {"row"}, 1, "key:Shift+F10", {"Remove"}, 1);
        row("Alt+F", {"row"}, 0, "key:Alt+F", {"File"}, 0);
        row("Alt+H", {"search"}, 0, "key:Alt+H", {"Help"}, 0);
        row("Tab from the search reaches the row", {"search"}, 2, "key:Tab", {"row"}, 2);
        row("wheel down scrolls to the right", {"row"}, 0, "wheel:-120", {"row"}, 0, 0, true);
    }
    void keysAndWheel()
    {
        QFETCH(QString, from);
        QFETCH(QString, typed);
        QFETCH(int, before);
        QFETCH(QString, input);
        QStringList names{"Bravo"};
        for (char name = 'a'; name < 'p'; ++name)
            names.append(QString(name) + "pp");
        installed(names);
        auto c = start();
        QVERIFY(QTest::qWaitForWindowActive(&c->window()));
        // What Launch would do is not this test's.
        disconnect(&c->window(), &MainWindow::launchRequested, nullptr, nullptr);
        QSignalSpy launches(&c->window(), &MainWindow::launchRequested);
        auto *search = c->window().findChild<QLineEdit *>();
        AppRowView *row = WindowDriver::row(*c);
        QTest::keyClicks(search, typed);
        for (int i = 0; i < before; ++i)
            QTest::keyClick(row, Qt::Key_Right);
        (from == u"row" ? static_cast<QWidget *>(row) : search)->setFocus();
        QScrollBar *bar = c->window().findChild<QScrollArea *>()->horizontalScrollBar();
        const int offset = bar->value();

        const QString argument = input.section(u':', 1);
        if (input.startsWith(u"key:")) {
            const QKeyCombination key = QKeySequence(argument)[0];
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        } else if (input.startsWith(u"type:")) {
            QTest::keyClicks(QApplication::focusWidget(), argument);
        } else if (input.startsWith(u"wheel:")) {
            const QPointF at = RowGeometry::iconRect(2, false).center();
            QWheelEvent wheel(at, row->mapToGlobal(at), {}, {0, argument.toInt()}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(row, &wheel);
        } else {
            QTest::mouseDClick(row, Qt::LeftButton, {}, RowGeometry::iconRect(4, false).center());
        }

        QFETCH(QString, focus);
        QTRY_COMPARE(focusName(), focus);
        QTEST(search->text(), "search");
        QTEST(c->row().selected(), "selected");
        QTEST(int(launches.size()), "launches");
        QTEST(bar->value() > offset, "scrolls");
        // The panel shows the selected application, or nothing without one.
        const AppListingPtr shown = c->row().shownAt(c->row().selected());
        QTRY_COMPARE(c->selection().panel().name, shown ? shown->name() : QString());
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            // The row's menu opens below the selected icon (moved left where the screen ends).
            const QPoint icon = row->mapToGlobal(RowGeometry::iconRect(before, true).bottomLeft());
            if (menu->parent() == row)
                QVERIFY(menu->y() == icon.y() && menu->x() <= icon.x());
            menu->close();
        }
    }

    // Alpha, Beta and Gamma are installed; what the Add command then shows.
    void add_data()
    {
        QTest::addColumn<QString>("hidden");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<bool>("unwritable");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("sheet");
        // Lists are written space-separated.
        const auto row = [](const char *tag, const char *hidden, const char *chosen,
                            bool unwritable, const char *row, const char *selected,
                            const char *sheet) {
            QTest::newRow(tag) << hidden << QString(chosen).split(' ') << unwritable
                               << QString(row).split(' ') << selected << sheet;
        };
        const char *abg = "Alpha Beta Gamma";
        row("two new and a shown one", "", "X/Zulu.app Applications/Beta.app X/Delta.app", false,
            "Alpha Beta Delta Gamma Zulu", "Zulu", "Done! 2 apps have been added to Vexilo.");
        row("one new", "", "X/Delta.app", false, "Alpha Beta Delta Gamma", "Delta", "");
        row("a hidden one shown again", "org.example.Beta", "Applications/Beta.app", false, abg,
            "Beta", "");
        row("only shown ones", "", "Applications/Alpha.app Applications/Gamma.app", false, abg,
            "Alpha",
            "No apps were added. All the applications you selected are already in Vexilo.");
        row("a folder that is no application beside one that is", "", "X/Delta.app X/Notes", false,
            "Alpha Beta Delta Gamma", "Delta",
            "Notes is not an application. Only application bundles can be added");
        row("a folder that is no application beside a shown one", "",
            "X/Notes Applications/Beta.app", false, abg, "Alpha",
            "Notes is not an application. Only application bundles can be added: folders whose "
            "names end in .app and that hold a Contents/Info.plist file. The other applications "
            "you selected are already in Vexilo.");
        row("preferences that cannot be written", "", "X/Delta.app", true, abg, "Alpha",
            "Vexilo could not save your change.");
    }
    void add()
    {
        QFETCH(QString, hidden);
        QFETCH(QStringList, chosen);
        QFETCH(bool, unwritable);
        QFETCH(QString, selected);
        QFETCH(QString, sheet);
        installed({"Alpha", "Beta", "Gamma"});
        vexiloDefaults().setObject("HiddenApps",
                                   hidden.isEmpty() ? QStringList{} : QStringList{hidden});
        m_chosen.clear();
        for (const QString &relative : chosen)
            m_chosen.append(make(relative));
        auto c = start();
        const QString folder = m_env->preferencesDirectory();
        if (unwritable)
            QVERIFY(m_env->blockPreferences());
        menuCommand(c->window(), u"Add Application…"_s);
        QTRY_VERIFY(c->selection().isSettled());

        QTEST(names(c->row().shown()), "row");
        QCOMPARE(c->row().shownAt(c->row().selected())->name(), selected);
        QCOMPARE(c->selection().panel().name, selected);
        const QString shown = sheetLines(c->window()).join(' ');
        QVERIFY2(sheet.isEmpty() ? shown.isEmpty() : shown.startsWith(sheet), qPrintable(shown));
        QVERIFY(!unwritable || shown.contains(folder));
        QVERIFY(c->defaults().stringArrayForKey("HiddenApps").isEmpty());
    }

    // Remove over icon `index`, answered with `button`.
    void remove_data()
    {
        QTest::addColumn<QStringList>("apps");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("panel"); // empty: blank
        const QStringList five{"Alpha", "Beta", "Charlie", "Delta", "Echo"};
        const QString sure = "Are you sure you want to remove %1 from Vexilo?";
        row("the selected first one", five, 0, sure.arg("Alpha"), "OK", five.mid(1), "Beta");
        row("cancelled", five, 3, sure.arg("Delta"), "Cancel", five, "Alpha");
        row("the last one left", QStringList{"Alpha"}, 0, sure.arg("Alpha"), "OK", QStringList{},
            "");
        // Hidden applications are remembered by identifier: one without says so.
        row("without identifier", QStringList{"Alpha", "Plain"}, 1,
            "Plain cannot be removed from Vexilo.", "OK", QStringList{"Alpha", "Plain"}, "Alpha");
    }
    void remove()
    {
        QFETCH(QStringList, apps);
        QFETCH(int, index);
        QFETCH(QString, button);
        QFETCH(QStringList, row);
        QFETCH(QString, panel);
        installed(apps);
        auto c = start();
        removeWithMenu(*c, index);
        QTEST(sheetLines(c->window()).value(0), "question");
        answer(c->window(), button);
        QTRY_VERIFY(c->selection().isSettled());
        QCOMPARE(names(c->row().shown()), row);
        QCOMPARE(c->selection().panel().showsApplication, !panel.isEmpty());
        QCOMPARE(c->selection().panel().name, panel);
        QCOMPARE(c->defaults().stringArrayForKey("HiddenApps"),
                 row.size() < apps.size() ? QStringList{"org.example." + apps.at(index)}
                                          : QStringList{});
    }

    // Cancel stores nothing; OK stores what the list shows, keeping what it does not know.
    void showApps()
    {
        installed({"Alpha", "Beta", "Gamma"});
        const QVariantList stored{"org.example.Beta", 5, "org.example.Beta"};
        vexiloDefaults().setObject("HiddenApps", stored);
        auto c = start();
        toggleInShowApps(*c, "Gamma", Qt::Key_Escape);
        QCOMPARE(c->defaults().objectForKey("HiddenApps"), QVariant(stored));
        toggleInShowApps(*c, "Gamma", Qt::Key_Return);
        QCOMPARE(names(c->row().shown()), QStringList{"Alpha"});
        QCOMPARE(c->defaults().objectForKey("HiddenApps"),
                 QVariant(stored + QVariantList{"org.example.Gamma"}));
        // The row's width follows the list.
        QCOMPARE(row(*c)->size(), RowGeometry::sizeToFit(1, row(*c)->visibleArea()));
    }

    // Two bundles from outside the applications folder added with the real file chooser; what
    // is stored and found at the next start is the catalogue's test.
    void addWithTheRealChooser()
    {
        installed({"Mike"});
        make("Downloads/Kilo.app");
        make("Downloads/Lima.app");
        auto c = start({}, false, true);
        menuCommand(c->window(), u"Add Application…"_s);
        QFileDialog *chooser = nullptr;
        QTRY_VERIFY((chooser = qobject_cast<QFileDialog *>(qApp->activeModalWidget())));
        chooser->setDirectory(m_env->root() + "/Downloads");
        auto *view = chooser->findChild<QAbstractItemView *>("listView");
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 2);
        view->selectAll();
        for (QAbstractButton *button : chooser->findChild<QDialogButtonBox *>()->buttons()) {
            if (button->text() == "Add")
                button->click();
        }
        QTRY_COMPARE(names(c->row().shown()), (QStringList{"Kilo", "Lima", "Mike"}));
        answer(c->window(), "OK"); // Done!
    }

    // Asked at the end of the load that counts the 50th use, once 42 days have passed since
    // the first start, and never again; when it is due is the reminder's rule, tested on its own.
    void donationReminder_data()
    {
        QTest::addColumn<int>("usesBefore"); // -1: the first start ever
        QTest::addColumn<bool>("donate");
        QTest::addColumn<bool>("asked");
        row("50th start, Donate Now", 49, true, true);
        row("50th start, Not yet", 49, false, true);
        row("first start ever", -1, true, false);
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
        auto c = start(now, donate);
        // Nothing is installed: the panel is blank.
        QVERIFY(c->catalogue().isLoaded() && !c->selection().current());
        QVERIFY(!launchButton(c->window())->isEnabled());
        QCOMPARE(m_asked, int(asked));
        QCOMPARE(m_opened.size(), int(asked && donate));
        if (asked && donate)
            QCOMPARE(m_opened.first(), SupportLinks::donationUrl());
        QCOMPARE(vexiloDefaults().boolForKey("ShownDonateBox"), asked);
        QCOMPARE(vexiloDefaults().integerForKey("NumUses"), qMax(usesBefore, 0) + 1);

        // A later start asks only if this one did not, and then only when it is due.
        m_asked = 0;
        c.reset();
        start(now.addDays(1));
        QCOMPARE(m_asked, int(!asked && usesBefore >= 0));
        QCOMPARE(vexiloDefaults().integerForKey("NumUses"), qMax(usesBefore, 0) + 2);
        // The first start is the one recorded.
        QCOMPARE(vexiloDefaults().dateForKey("InstallDate"), now.addDays(usesBefore < 0 ? 0 : -43));
    }

    // Help in the user's language (which one is the support links' rule), feedback, donation;
    // a bundle without a help page opens none. Where no program takes them, the help page is
    // shown inside Vexilo and the addresses are said in sheets.
    void menuCommandsOpenTheirAddresses_data()
    {
        QTest::addColumn<bool>("opens");
        row("opened", true);
        row("no program takes them", false);
    }
    void menuCommandsOpenTheirAddresses()
    {
        QFETCH(bool, opens);
        m_urlsOpen = opens;
        TestEnvironment::setLanguage("fr_FR", "fr");
        Platform bare = m_env->platform();
        bare.mainBundlePath =
            BundleBuilder(m_env->root() + "/Bare.app").identifier("org.vexilo.Vexilo").write();
        const QString helpFile = VEXILO_TEST_BUNDLE "/Contents/Resources/fr.lproj/help.html";
        for (const Platform &platform : {m_env->platform(), bare}) {
            AppController c(std::make_shared<Platform>(platform));
            c.setUrlOpener([this](const QByteArray &url, const auto &done) {
                m_opened.append(url);
                done(m_urlsOpen);
            });
            emit c.window().helpRequested();
            emit c.window().feedbackRequested();
            emit c.window().donateRequested();
            auto *shown = c.window().findChild<HelpWindow *>();
            auto *help = shown ? shown->findChild<QTextBrowser *>() : nullptr;
            QCOMPARE(help && help->isVisible(),
                     !opens && platform.mainBundlePath != bare.mainBundlePath);
            if (help)
                QCOMPARE(help->source(), QUrl::fromLocalFile(helpFile));
            QStringList said;
            for (QMessageBox *box : c.window().findChildren<QMessageBox *>())
                said.append(box->informativeText());
            QCOMPARE(said.join('\n').contains("feedback@vexilo.org"), !opens);
            QCOMPARE(said.join('\n').contains(SupportLinks::donationUrl()), !opens);
        }
        const QByteArray help = QUrl::fromLocalFile(helpFile).toEncoded();
        const QByteArray feedback = "mailto:feedback@vexilo.org",
                         donate = SupportLinks::donationUrl();
        QCOMPARE(m_opened, (QList<QByteArray>{help, feedback, donate, feedback, donate}));
    }

    void hostilePreferences_data()
    {
        QTest::addColumn<QString>("kind");      // "file", "fifo", "folder" or "device"
        QTest::addColumn<QByteArray>("bytes");  // of a file
        QTest::addColumn<qlonglong>("numUses"); // after the start; -1: nothing could be stored
        QTest::addColumn<int>("shown");         // applications in the row
        QTest::addColumn<bool>("reminded");     // the donation reminder asked
        const auto file = [](const char *tag, const QByteArray &bytes, qlonglong numUses,
                             int shown = 1, bool reminded = false) {
            QTest::newRow(tag) << "file" << bytes << numUses << shown << reminded;
        };
        const auto utc = [](const QDate &date) { return QDateTime(date, {}, Qt::UTC); };
        const auto plist = [](const QVariantMap &map) { return PropertyList::toXml(map); };
        file("not a property list", "\x01garbage{<\xff", 1);
        file("values of the wrong types",
             plist({{"ExtraApps", "org.example.Good"},
                    {"HiddenApps", 7},
                    {"NumUses", "many"},
                    {"ShownDonateBox", "yes"},
                    {"InstallDate", "yesterday"}}),
             1);
        file("arrays of the wrong things",
             plist({{"ExtraApps",
                     QVariantList{42, QVariantMap{}, "", "relative/Thing.app", "../../x",
                                  "/dev/zero", "/", "org.example.Good", "/no/such\nthing.app"}},
                    {"HiddenApps", QVariantList{5, QVariantMap{}, "org.example.Nothing"}}}),
             1, 8);
        file("the largest count", plist({{"NumUses", LLONG_MAX}}), LLONG_MAX);
        file("a count above the signed range", plist({{"NumUses", qulonglong(ULLONG_MAX)}}),
             LLONG_MAX);
        file("a count that is no number", plist({{"NumUses", std::nan("")}}), 1);
        file("installed in the far future",
             plist({{"NumUses", 500}, {"InstallDate", utc({9999, 12, 31})}}), 501);
        file("installed long ago", plist({{"NumUses", 500}, {"InstallDate", utc({1, 1, 1})}}), 501,
             1, true);
        for (const char *kind : {"fifo", "folder", "device"})
            QTest::newRow(kind) << kind << QByteArray() << -1LL << 1 << false;
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
            QVERIFY(!writeFile(path, bytes).isEmpty());
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
        QCOMPARE(readFile(path + ".corrupt"), was ? QByteArray() : bytes);
        const QVariantMap old = was ? was->toMap() : QVariantMap();
        const QVariantMap now = PropertyList::parse(readFile(path)).value_or(QVariant()).toMap();
        for (auto it = old.cbegin(); it != old.cend(); ++it) {
            if (it.key() != "NumUses")
                QCOMPARE(now.value(it.key()), it.value());
        }
    }

    // However long the name a bundle or a menu entry gives, the window stays on the screen.
    void longNamesStayOnTheScreen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("length");
        row("bundle folder", "folder", 240);
        row("bundle's localised name", "bundle", 900000);
        row("menu entry", "entry", 900000);
    }
    void longNamesStayOnTheScreen()
    {
        QFETCH(QString, kind);
        QFETCH(int, length);
        const QString name(length, u'W');
        if (kind == "folder")
            installed({name});
        if (kind == "bundle")
            BundleBuilder(m_env->applicationsDirectory() + "/Long.app")
                .identifier("org.example.Long")
                .languages({"en"})
                .localizedInfo("en", {{"CFBundleName", name}})
                .write();
        DesktopTree tree(m_env->root());
        if (kind == "entry")
            tree.entry(tree.systemFolder(), "long.desktop", "Exec=sh\nName=" + name.toUtf8());
        m_env->setDesktopEntries(std::make_shared<DesktopEntries>(tree.setup()));
        auto c = start();
        QVERIFY(c->selection().panel().name.startsWith("WWW"));
        QVERIFY(c->selection().panel().name.size() <= 256);
        QTest::qWait(50);
        QVERIFY2(c->window().frameGeometry().width() <=
                     c->window().screen()->availableGeometry().width(),
                 qPrintable(QString::number(c->window().frameGeometry().width())));
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

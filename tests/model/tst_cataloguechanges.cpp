#include "BundleBuilder.h"
#include "ListingNames.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueChanges.h"
#include "catalogue/HiddenAppsList.h"
#include "catalogue/VexiloDefaults.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/preferences/UserDefaults.h"

#include <QSignalSpy>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

class TestCatalogueChanges : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::shared_ptr<const Platform> m_platform;

    // Bundles at these paths below the test's root, named after their folders; "NoId" bundles
    // declare no identifier.
    QList<AppListingPtr> listings(const QStringList &relatives)
    {
        QList<AppListingPtr> out;
        for (const QString &relative : relatives) {
            const QString path = m_env->root() + '/' + relative;
            const QString name = QFileInfo(path).completeBaseName();
            BundleBuilder builder(path);
            if (!name.startsWith("NoId"))
                builder.identifier("org.example." + name);
            if (!QFileInfo::exists(path))
                builder.write();
            out.append(
                AppListing::fromPath(QFileInfo(path).canonicalFilePath(), *m_platform->workspace));
        }
        return out;
    }
    AppListingPtr listing(const QString &relative) { return listings({relative}).first(); }

    std::shared_ptr<UserDefaults> defaults()
    {
        return std::make_shared<UserDefaults>(m_platform->preferences, "org.vexilo.Test");
    }
    std::unique_ptr<Catalogue> loadedCatalogue(std::shared_ptr<UserDefaults> defaults)
    {
        auto catalogue = std::make_unique<Catalogue>(m_platform, std::move(defaults));
        QSignalSpy loaded(catalogue.get(), &Catalogue::loaded);
        catalogue->startLoading();
        if (!loaded.wait(20000))
            qWarning("catalogue not loaded");
        return catalogue;
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_platform = std::make_shared<const Platform>(m_env->platform());
        TestEnvironment::setLanguage("en_US", "en");
    }

    // The catalogue holds Applications/{Alpha,Beta,Gamma}.app; `hidden` are identifier
    // suffixes. Paths are relative to the test's root; each list is written space-separated.
    void add_data()
    {
        for (const char *column : {"hidden", "chosen", "added", "extraApps", "shownAgain", "apps"})
            QTest::addColumn<QStringList>(column);
        QTest::addColumn<int>("firstNewIndex");
        const auto row = [](const char *tag, std::initializer_list<const char *> lists, int first) {
            QTestData &data = QTest::newRow(tag);
            for (const char *list : lists)
                data << QString::fromLatin1(list).split(u' ', Qt::SkipEmptyParts);
            data << first;
        };
        row("two new and a shown one",
            {"", "Z/Zulu.app Applications/Beta.app D/Delta.app", "Zulu Delta",
             "org.example.Zulu org.example.Delta", "", "Alpha Beta Delta Gamma Zulu"},
            4);
        row("a hidden one",
            {"Beta", "Applications/Beta.app", "Beta", "", "org.example.Beta", "Alpha Beta Gamma"},
            1);
        row("two copies of one application",
            {"", "X/Delta.app Y/Delta.app", "Delta Delta", "org.example.Delta org.example.Delta",
             "", "Alpha Beta Delta Delta Gamma"},
            2);
        row("another copy of a shown one", {"", "Copy/Beta.app", "", "", "", "Alpha Beta Gamma"},
            -1);
        // Shown again without a second listing, and not hidden again at the next start.
        row("another copy of a hidden one",
            {"Beta", "X/Beta.app", "Beta", "org.example.Beta", "org.example.Beta",
             "Alpha Beta Beta Gamma"},
            1);
        row("without identifier: stored by path, once",
            {"", "X/NoIdApp.app", "NoIdApp", "@X/NoIdApp.app", "", "Alpha Beta Gamma NoIdApp"}, 3);
    }
    void add()
    {
        QFETCH(QStringList, hidden);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, added);
        QFETCH(QStringList, extraApps);
        QFETCH(int, firstNewIndex);
        for (QString &h : hidden)
            h.prepend("org.example.");
        const QList<AppListingPtr> all =
            listings({"Applications/Alpha.app", "Applications/Beta.app", "Applications/Gamma.app"});
        const QList<AppListingPtr> visible = CatalogueChanges::visibleApps(all, hidden);
        const QList<AppListingPtr> chosenListings = listings(chosen);
        for (QString &e : extraApps) {
            if (e.startsWith('@'))
                e = QFileInfo(m_env->root() + '/' + e.mid(1)).canonicalFilePath();
        }

        const auto result = CatalogueChanges::add(visible, all, hidden, chosenListings);
        QCOMPARE(names(result.added), added);
        QCOMPARE(result.count(), added.size());
        QCOMPARE(result.extraApps, extraApps);
        QTEST(result.shownAgain, "shownAgain");
        QTEST(names(result.apps), "apps");
        QCOMPARE(result.firstNewIndex, firstNewIndex);
        if (firstNewIndex >= 0)
            QCOMPARE(result.apps.at(firstNewIndex), result.added.first());
        QCOMPARE(result.allApps.size(), all.size() + extraApps.size());

        // Chosen again: nothing is new any more.
        const auto again = CatalogueChanges::add(result.apps, result.allApps, {}, listings(chosen));
        QVERIFY(again.added.isEmpty());
    }

    // `selected` before, the shown names after, the panel's name: where the selection goes.
    void selectionAfterHiding_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("moves");
        const auto row = [](const char *tag, int selected, const QStringList &shown,
                            const char *panel, int index, bool moves) {
            QTest::newRow(tag) << selected << shown << panel << index << moves;
        };
        row("the selected one hidden", 2, {"A", "B", "D", "E"}, "C", 1, true);
        row("one before the selected one hidden", 2, {"B", "C", "D", "E"}, "C", 1, true);
        row("one after the selected one hidden", 2, {"A", "B", "C", "E"}, "C", 2, false);
        row("the first, selected, hidden", 0, {"B", "C", "D"}, "A", 0, true);
        row("the last, selected, hidden", 3, {"A", "B", "C"}, "D", 2, true);
        row("the selected last stays, one before hidden", 3, {"A", "C", "D"}, "D", 2, true);
        row("everything hidden", 1, {}, "B", -1, true);
        row("no selection", -1, {"A"}, "", 0, true);
    }
    void selectionAfterHiding()
    {
        QFETCH(int, selected);
        QFETCH(QStringList, shown);
        QFETCH(QString, panel);
        QStringList paths;
        for (const QString &name : shown)
            paths.append("Applications/" + name + ".app");
        const auto next = CatalogueChanges::selectionAfterHiding(selected, listings(paths), panel);
        QTEST(next.index, "index");
        QTEST(next.moveSelection, "moves");
    }

    void hiddenAppsListSwitches()
    {
        QList<AppListingPtr> all = listings({"Applications/Alpha.app", "Applications/Beta.app",
                                             "X/Beta.app", "Applications/NoIdApp.app"});
        all.append(
            AppListing::fromPath(m_env->root() + "/Gone/Lost.app", *m_platform->workspace, true));
        HiddenAppsList list(all, {"org.example.Beta", "org.example.Beta", "org.Elsewhere"});
        // Each one's check box: Y shown, N hidden, - none.
        const auto boxes = [&list] {
            QString states;
            for (int i = 0; i < list.count(); ++i)
                states += !list.isShown(i) ? u'-' : *list.isShown(i) ? u'Y' : u'N';
            return states;
        };
        QCOMPARE(list.name(0), "Alpha");
        QCOMPARE(boxes(), "YNNY-");
        // The moved one's tip is the sheet's test.
        QVERIFY(!list.toolTip(3).isEmpty() && list.isInvalid(4));
        // Neither a moved application nor one without identifier can be switched.
        QVERIFY(!list.setShown(4, true) && !list.setShown(3, false));
        QVERIFY(list.changes().isEmpty());
        // Both copies of Beta follow one switch; every occurrence leaves.
        QVERIFY(list.setShown(2, true) && list.setShown(0, false));
        QCOMPARE(boxes(), "NYYY-");
        QCOMPARE(list.skipped(), (QStringList{"org.Elsewhere", "org.example.Alpha"}));
        QCOMPARE(list.changes(),
                 (HiddenAppsList::Changes{{"org.example.Beta"}, {"org.example.Alpha"}}));
        // Back as it was: nothing to store.
        list.setShown(0, true);
        list.setShown(1, false);
        QVERIFY(list.changes().isEmpty());
    }

    // Applied to the array as stored now: another program's entries and elements that are no
    // strings stay; every occurrence of one shown again goes; one hidden is there once.
    void appliedKeepsWhatItDoesNotChange()
    {
        QVariantList stored{42, "org.A", "org.Other", "org.A", QVariantMap{{"k", 1}}, "org.B"};
        for (int i = 0; i < 1000; ++i)
            stored.append(QStringLiteral("org.many.%1").arg(i));
        const QVariantList after =
            HiddenAppsList::applied(stored, {{"org.A", "org.Missing"}, {"org.B", "org.C"}});
        QVariantList expected = stored;
        expected.removeAt(3);
        expected.removeAt(1);
        expected.append("org.C");
        QCOMPARE(after, expected);
    }

    // Two running copies of Vexilo, each with its own catalogue on one preferences file: what
    // one stores, the other's next change keeps.
    void twoRunningCopiesLoseNothing()
    {
        listings({"Applications/Alpha.app", "Applications/Beta.app", "Applications/Gamma.app"});
        PreferencesStore store(m_env->preferencesDirectory());
        QVERIFY(store.setValue("org.vexilo.Test", "ExtraApps", QVariantList{7}));
        auto first = loadedCatalogue(defaults());
        auto second = loadedCatalogue(defaults());

        listing("X/Delta.app");
        QCOMPARE(first->add({m_env->root() + "/X/Delta.app"}).status,
                 Catalogue::AddOutcome::Status::Added);
        QCOMPARE(second->hide(second->apps().at(1)), Catalogue::HideOutcome::Hidden);
        listing("Y/Echo.app");
        QCOMPARE(second->add({m_env->root() + "/Y/Echo.app"}).status,
                 Catalogue::AddOutcome::Status::Added);
        HiddenAppsList list = first->hiddenAppsList();
        QCOMPARE(list.isShown(1), std::optional<bool>(false)); // as stored now
        QVERIFY(list.setShown(2, false));                      // Delta
        QSignalSpy changed(first.get(), &Catalogue::listChanged);
        QVERIFY(first->applyHiddenApps(list));
        QCOMPARE(changed.size(), 1);

        QCOMPARE(store.value("org.vexilo.Test", "ExtraApps"),
                 QVariant(QVariantList{7, "org.example.Delta", "org.example.Echo"}));
        QCOMPARE(store.value("org.vexilo.Test", "HiddenApps"),
                 QVariant(QVariantList{"org.example.Beta", "org.example.Delta"}));
        // The visible list follows what is stored.
        QCOMPARE(names(first->apps()), (QStringList{"Alpha", "Gamma"}));
        QCOMPARE(names(first->allApps()), (QStringList{"Alpha", "Beta", "Delta", "Gamma"}));
    }

    // Two Vexilo processes starting at once, each counting its starts: none is lost.
    void concurrentStartsAreAllCounted()
    {
        constexpr int kStarts = 30;
        pid_t children[2];
        for (pid_t &child : children) {
            child = ::fork();
            if (child == 0) {
                UserDefaults own(std::make_shared<PreferencesStore>(m_env->preferencesDirectory()),
                                 "org.vexilo.Test");
                for (int i = 0; i < kStarts; ++i)
                    VexiloDefaults::countUse(own);
                ::_exit(0);
            }
            QVERIFY(child > 0);
        }
        for (const pid_t child : children) {
            int status = -1;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        QCOMPARE(defaults()->integerForKey("NumUses"), 2 * kStarts);
    }

    // A change that cannot be stored is not made.
    void failedWritesChangeNothing()
    {
        listings({"Applications/Alpha.app", "Applications/Beta.app"});
        auto catalogue = loadedCatalogue(defaults());
        listing("X/Delta.app");
        QVERIFY(m_env->blockPreferences());

        QCOMPARE(catalogue->add({m_env->root() + "/X/Delta.app"}).status,
                 Catalogue::AddOutcome::Status::NotSaved);
        QCOMPARE(catalogue->hide(catalogue->apps().first()), Catalogue::HideOutcome::NotSaved);
        HiddenAppsList list = catalogue->hiddenAppsList();
        list.setShown(0, false);
        QSignalSpy changed(catalogue.get(), &Catalogue::listChanged);
        QVERIFY(!catalogue->applyHiddenApps(list));
        QVERIFY(changed.isEmpty());
        QCOMPARE(names(catalogue->apps()), (QStringList{"Alpha", "Beta"}));
        QCOMPARE(names(catalogue->allApps()), (QStringList{"Alpha", "Beta"}));
    }

    // What is not an application bundle is left out, named, and never read; the rest of the
    // choice is added.
    void notAnApplicationIsLeftOut_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::newRow("plain folder") << "Docs";
        QTest::newRow("no Info.plist") << "Empty.app";
        QTest::newRow("missing") << "Nowhere.app";
        QTest::newRow("a file") << "note.app";
    }
    void notAnApplicationIsLeftOut()
    {
        QFETCH(QString, bad);
        listing("Applications/Alpha.app");
        auto catalogue = loadedCatalogue(defaults());
        const QString good = BundleBuilder(m_env->root() + "/X/Good.app")
                                 .identifier("org.Good")
                                 .languages({"en"})
                                 .file("Resources Disabled/fr.lproj/x")
                                 .write();
        for (const char *plain : {"/X/Docs", "/X/Empty.app"}) {
            QDir().mkpath(m_env->root() + plain + "/Contents/Resources");
            QDir().mkpath(m_env->root() + plain + "/Contents/Resources Disabled/fr.lproj");
        }
        QVERIFY(!writeFile(m_env->root() + "/X/note.app", "").isEmpty());

        auto outcome = catalogue->add({m_env->root() + "/X/" + bad});
        QCOMPARE(outcome.status, Catalogue::AddOutcome::Status::NotAnApplication);
        QCOMPARE(outcome.rejected, QStringList{bad});
        QVERIFY(!QFileInfo::exists(m_env->preferencesDirectory() + "/org.vexilo.Test.plist"));

        outcome = catalogue->add({m_env->root() + "/X/" + bad + "/", good});
        QCOMPARE(outcome.status, Catalogue::AddOutcome::Status::Added);
        QCOMPARE(outcome.rejected, QStringList{bad});
        QCOMPARE(names(catalogue->apps()), (QStringList{"Alpha", "Good"}));
        QVERIFY(!QFileInfo::exists(good + "/Contents/Resources Disabled/fr.lproj/x"));
        for (const char *plain : {"/X/Docs", "/X/Empty.app"})
            QVERIFY(
                QFileInfo::exists(m_env->root() + plain + "/Contents/Resources Disabled/fr.lproj"));
    }
};

QTEST_MAIN(TestCatalogueChanges)
#include "tst_cataloguechanges.moc"

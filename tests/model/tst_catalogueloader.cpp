#include "BundleBuilder.h"
#include "ListingNames.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueLoader.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/preferences/UserDefaults.h"

#include <QSignalSpy>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestCatalogueLoader : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::shared_ptr<const Platform> m_platform;
    std::shared_ptr<UserDefaults> m_defaults;
    qsizetype m_max = -1;
    QList<qsizetype> m_progress;

    QString apps() const { return m_env->applicationsDirectory(); }

    CatalogueLoader::Result load()
    {
        m_progress.clear();
        return CatalogueLoader::load(*m_platform, *m_defaults,
                                     [this](qsizetype done, qsizetype total) {
                                         m_max = total;
                                         m_progress.append(done);
                                     });
    }

    QString domainFile() const { return m_env->preferencesDirectory() + "/org.vexilo.Test.plist"; }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_platform = std::make_shared<const Platform>(m_env->platform());
        m_defaults = std::make_shared<UserDefaults>(m_platform->preferences, "org.vexilo.Test");
        TestEnvironment::setLanguage("en_US", "en");
    }

    // Only folders named .app count, links at their target; every entry counts for progress.
    void onlyBundlesNamedAppCount()
    {
        BundleBuilder(apps() + "/Foo.app").identifier("org.Foo").write();
        BundleBuilder(apps() + "/Bar.APP").identifier("org.Bar").write();
        QDir().mkpath(apps() + "/Utilities");
        QVERIFY(!writeFile(apps() + "/.DS_Store", "").isEmpty());
        // Hidden folders are no applications, whatever their extension.
        BundleBuilder(apps() + "/.app").identifier("org.Dot").write();
        BundleBuilder(apps() + "/._Foo.app").identifier("org.Resource").write();
        const QString target =
            BundleBuilder(m_env->root() + "/Store/Target.app").identifier("org.Target").write();
        QVERIFY(QFile::link(target, apps() + "/Link.app"));
        QVERIFY(QFile::link(m_env->root() + "/nowhere.app", apps() + "/Dangling.app"));
        QTest::ignoreMessage(QtWarningMsg,
                             "Error: omitting Dangling.app: could not get full path.");

        const auto catalogue = load();
        QCOMPARE(names(catalogue.allApps), (QStringList{"Foo", "Target"}));
        QCOMPARE(catalogue.allApps.last()->path(), QFileInfo(target).canonicalFilePath());
        QCOMPARE(m_max, 8);
        QCOMPARE(m_progress, (QList<qsizetype>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    }

    // A large folder reports its progress in steps, not once per entry, and always its end.
    void progressIsReportedInBoundedSteps()
    {
        constexpr int kEntries = 5000;
        for (int i = 0; i < kEntries; ++i)
            QVERIFY(!writeFile(apps() + QStringLiteral("/note%1.txt").arg(i), "").isEmpty());
        load();
        QVERIFY(m_progress.size() <= CatalogueLoader::kProgressReports + 1);
        QVERIFY(m_progress.size() >= CatalogueLoader::kProgressReports / 2);
        QVERIFY(std::is_sorted(m_progress.cbegin(), m_progress.cend()));
        QCOMPARE(m_progress.last(), kEntries);
    }

    // The catalogue is built off the main thread and reaches it whole, after its progress. The
    // hidden, added ones too, are left out of what is shown; an element that is no string is
    // passed over.
    void catalogueHandsTheResultOver()
    {
        BundleBuilder(apps() + "/Beta.app").identifier("org.Beta").write();
        BundleBuilder(apps() + "/Alpha.app").identifier("org.Alpha").write();
        BundleBuilder(apps() + "/NoId.app").languages({"en"}).write();
        const QString gamma =
            BundleBuilder(m_env->root() + "/Extra/Gamma.app").identifier("org.Gamma").write();
        m_defaults->setObject("ExtraApps", QStringList{gamma});
        m_defaults->setObject("HiddenApps", QVariantList{42, "org.Beta", QString(), "org.Gamma"});
        Catalogue catalogue(m_platform, m_defaults);
        QSignalSpy progress(&catalogue, &Catalogue::loadingProgress);
        QSignalSpy loaded(&catalogue, &Catalogue::loaded);
        QVERIFY(!catalogue.isLoaded());
        catalogue.startLoading();
        QVERIFY(loaded.wait(20000));
        QVERIFY(catalogue.isLoaded());
        QCOMPARE(names(catalogue.apps()), (QStringList{"Alpha", "NoId"}));
        QCOMPARE(names(catalogue.allApps()), (QStringList{"Alpha", "Beta", "Gamma", "NoId"}));
        QCOMPARE(progress.last(), (QVariantList{4, 4}));
        // Loaded once per run.
        catalogue.startLoading();
        QVERIFY(!loaded.wait(200));
    }

    // ExtraApps as stored ("@Name" stands for the path of Extra/Name.app), what the catalogue
    // lists from it beside Installed.app ("*": as moved or deleted), and what is stored after;
    // an array with nothing to rewrite is not written at all.
    void extraApps_data()
    {
        QTest::addColumn<QVariantList>("stored");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QVariantList>("after"); // empty: as stored
        const QVariantMap map{{"a", 1}};
        // The installed application appears twice: from the folder and from ExtraApps.
        row("paths become identifiers", QVariantList{"org.Installed", map, "@Kept", "@Deleted"},
            QStringList{"Deleted*", "Installed", "Installed", "Kept"},
            QVariantList{"org.Installed", map, "org.Kept", "@Deleted"});
        row("nothing to rewrite", QVariantList{"org.Installed", 7, "@NoId", "@Gone"},
            QStringList{"Gone*", "Installed", "Installed", "NoId"}, QVariantList());
        // Never read relative to the working folder, where a bundle of that name waits.
        row("neither identifier nor absolute path", QVariantList{"org.Gone"},
            QStringList{"Installed", "org*"}, QVariantList());
    }
    void extraApps()
    {
        QFETCH(QVariantList, stored);
        QFETCH(QVariantList, after);
        const auto resolved = [this](QVariantList list) {
            for (QVariant &element : list) {
                if (element.toString().startsWith('@'))
                    element = m_env->root() + "/Extra/" + element.toString().mid(1) + ".app";
            }
            return list;
        };
        BundleBuilder(apps() + "/Installed.app").identifier("org.Installed").write();
        BundleBuilder(m_env->root() + "/Extra/Kept.app").identifier("org.Kept").write();
        BundleBuilder(m_env->root() + "/Extra/NoId.app").write();
        const QString cwd = m_env->root() + "/cwd";
        const QString decoy = BundleBuilder(cwd + "/org.Gone")
                                  .identifier("org.Decoy")
                                  .file("Resources Disabled/fr.lproj/")
                                  .write();
        PreferencesStore store(m_env->preferencesDirectory());
        QVERIFY(store.setValue("org.vexilo.Test", "ExtraApps", resolved(stored)));
        const auto inode = [this] {
            struct stat info {};
            return ::stat(QFile::encodeName(domainFile()).constData(), &info) == 0 ? info.st_ino
                                                                                   : 0;
        };
        const ino_t before = inode();

        const QString previous = QDir::currentPath();
        QDir::setCurrent(cwd);
        const auto catalogue = load();
        QDir::setCurrent(previous);
        QStringList seen;
        for (const AppListingPtr &listing : catalogue.allApps)
            seen.append(listing->name() + (listing->invalid() ? "*" : ""));
        QTEST(seen, "listed");
        QCOMPARE(m_defaults->objectForKey("ExtraApps"),
                 QVariant(resolved(after.isEmpty() ? stored : after)));
        if (after.isEmpty())
            QCOMPARE(inode(), before);
        QVERIFY(QFileInfo(decoy + "/Contents/Resources Disabled/fr.lproj").isDir());
        // The next start finds the same, rewritten identifiers now outside the folder included.
        QCOMPARE(names(load().allApps), names(catalogue.allApps));
    }

    void unreadableApplicationsFolderStillLoadsAddedApps()
    {
        QDir(apps()).removeRecursively();
        const QString added =
            BundleBuilder(m_env->root() + "/Extra/Added.app").identifier("org.Added").write();
        m_defaults->setObject("ExtraApps", QStringList{added});
        QCOMPARE(names(load().apps), QStringList{"Added"});
        QCOMPARE(m_max, 1);
    }

    // An application added from a disk that is later taken out stays, invalid, under its
    // folder's name, and is itself again once the disk is back.
    void addedApplicationOnADiskThatIsGone()
    {
        const QString disk = m_env->root() + "/Media/Stick";
        const QString bundle =
            BundleBuilder(disk + "/Portable.app").identifier("org.example.Portable").write();
        m_defaults->setObject("ExtraApps", QStringList{bundle});
        QVERIFY(!load().allApps.first()->invalid());

        QVERIFY(QDir().rename(disk, m_env->root() + "/Media/Away"));
        const auto gone = load();
        QCOMPARE(gone.allApps.size(), 1);
        const AppListingPtr listing = gone.allApps.first();
        QVERIFY(listing->invalid());
        QCOMPARE(listing->name(), "Portable");
        QCOMPARE(listing->path(), bundle);
        QCOMPARE(m_defaults->stringArrayForKey("ExtraApps"), QStringList{"org.example.Portable"});

        QVERIFY(QDir().rename(m_env->root() + "/Media/Away", disk));
        QVERIFY(!load().allApps.first()->invalid());
    }

    void localeAwareOrder_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("collate"); // LC_COLLATE, when set
        QTest::addColumn<QStringList>("expected");
        const QStringList english{"alpha", "beta", "Émile", "Olle", "Örn", "Zeta"};
        // Swedish sorts Ö after Z.
        const QStringList swedish{"alpha", "beta", "Émile", "Olle", "Zeta", "Örn"};
        // Not by character codes (which would put Zeta before alpha and Örn last everywhere).
        row("english", "en_US", QString(), english);
        row("swedish", "sv_SE", QString(), swedish);
        // The collation's own variable decides, not the messages' language.
        row("LC_COLLATE over LANG", "en_US", "sv_SE.UTF-8", swedish);
    }
    void localeAwareOrder()
    {
        QFETCH(QString, locale);
        QFETCH(QString, collate);
        TestEnvironment::setLanguage(locale);
        qputenv("LC_MESSAGES", "en_US.UTF-8");
        if (!collate.isEmpty())
            qputenv("LC_COLLATE", collate.toUtf8());
        for (const char *n : {"Zeta", "Örn", "alpha", "Émile", "Olle", "beta"})
            BundleBuilder(apps() + QLatin1Char('/') + QString::fromUtf8(n) + ".app").write();
        const auto catalogue = load();
        qunsetenv("LC_MESSAGES");
        qunsetenv("LC_COLLATE");
        QTEST(names(catalogue.apps), "expected");
    }
};

QTEST_GUILESS_MAIN(TestCatalogueLoader)
#include "tst_catalogueloader.moc"

#include "BundleBuilder.h"
#include "ListingNames.h"
#include "PreferencesStore.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueLoader.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>

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

    void onlyBundlesNamedAppCount()
    {
        BundleBuilder(apps() + "/Foo.app").identifier("org.Foo").write();
        BundleBuilder(apps() + "/Bar.APP").identifier("org.Bar").write();
        QDir().mkpath(apps() + "/Utilities");
        QFile ds(apps() + "/.DS_Store");
        QVERIFY(ds.open(QIODevice::WriteOnly));
        ds.close();
        // Hidden folders are no applications, whatever their extension.
        BundleBuilder(apps() + "/.app").identifier("org.Dot").write();
        BundleBuilder(apps() + "/._Foo.app").identifier("org.Resource").write();

        const auto catalogue = load();
        QCOMPARE(names(catalogue.apps), QStringList{"Foo"});
        QCOMPARE(names(catalogue.allApps), QStringList{"Foo"});
        QCOMPARE(m_max, 6);
        QCOMPARE(m_progress, (QList<qsizetype>{0, 1, 2, 3, 4, 5, 6}));
    }

    // A large folder reports its progress in steps, not once per entry, and always its end.
    void progressIsReportedInBoundedSteps()
    {
        constexpr int kEntries = 5000;
        for (int i = 0; i < kEntries; ++i) {
            QFile f(apps() + QStringLiteral("/note%1.txt").arg(i));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        load();
        QVERIFY(m_progress.size() <= CatalogueLoader::kProgressReports + 1);
        QVERIFY(m_progress.size() >= CatalogueLoader::kProgressReports / 2);
        QVERIFY(std::is_sorted(m_progress.cbegin(), m_progress.cend()));
        QCOMPARE(m_progress.last(), kEntries);
    }

    // The catalogue is built off the main thread and reaches it whole, after its progress.
    void catalogueHandsTheResultOver()
    {
        BundleBuilder(apps() + "/Beta.app").identifier("org.Beta").write();
        BundleBuilder(apps() + "/Alpha.app").identifier("org.Alpha").write();
        m_defaults->setObject("HiddenApps", QStringList{"org.Beta"});
        Catalogue catalogue(m_platform, m_defaults);
        QSignalSpy progress(&catalogue, &Catalogue::loadingProgress);
        QSignalSpy loaded(&catalogue, &Catalogue::loaded);
        QVERIFY(!catalogue.isLoaded());
        catalogue.startLoading();
        QVERIFY(loaded.wait(20000));
        QVERIFY(catalogue.isLoaded());
        QCOMPARE(names(catalogue.apps()), QStringList{"Alpha"});
        QCOMPARE(names(catalogue.allApps()), (QStringList{"Alpha", "Beta"}));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last(), (QVariantList{2, 2}));
        // Loaded once per run.
        catalogue.startLoading();
        QVERIFY(!loaded.wait(200));
    }

    void unreadableApplicationsFolderStillLoadsAddedApps()
    {
        QDir(apps()).removeRecursively();
        const QString added =
            BundleBuilder(m_env->root() + "/Extra/Added.app").identifier("org.Added").write();
        m_defaults->setObject("ExtraApps", QStringList{added});
        const auto catalogue = load();
        QCOMPARE(names(catalogue.apps), QStringList{"Added"});
        QCOMPARE(m_max, 1);
    }

    void linkedBundleIsListedAtItsTarget()
    {
        const QString target =
            BundleBuilder(m_env->root() + "/Store/Target.app").identifier("org.Target").write();
        QVERIFY(QFile::link(target, apps() + "/Link.app"));
        QVERIFY(QFile::link(m_env->root() + "/nowhere.app", apps() + "/Dangling.app"));
        QTest::ignoreMessage(QtWarningMsg,
                             "Error: omitting Dangling.app: could not get full path.");
        const auto catalogue = load();
        QCOMPARE(catalogue.allApps.size(), 1);
        QCOMPARE(catalogue.allApps.first()->path(), QFileInfo(target).canonicalFilePath());
        QCOMPARE(catalogue.allApps.first()->name(), "Target");
    }

    void hiddenApplications()
    {
        BundleBuilder(apps() + "/Shown.app").identifier("org.Shown").write();
        BundleBuilder(apps() + "/Hidden.app").identifier("org.Hidden").write();
        BundleBuilder(apps() + "/NoId.app").languages({"en"}).write();
        // An element that is no string is passed over; the others still count.
        m_defaults->setObject("HiddenApps", QVariantList{42, "org.Hidden", QString()});
        const auto catalogue = load();
        QCOMPARE(names(catalogue.apps), (QStringList{"NoId", "Shown"}));
        QCOMPARE(names(catalogue.allApps), (QStringList{"Hidden", "NoId", "Shown"}));
    }

    void extraAppsAreRewrittenToIdentifiers()
    {
        BundleBuilder(apps() + "/Installed.app").identifier("org.Installed").write();
        const QString existing =
            BundleBuilder(m_env->root() + "/Extra/Kept.app").identifier("org.Kept").write();
        const QString deleted = m_env->root() + "/Extra/Deleted.app";
        // What is not a string stays where it is when the array is written back.
        m_defaults->setObject(
            "ExtraApps", QVariantList{"org.Installed", QVariantMap{{"a", 1}}, existing, deleted});

        const auto catalogue = load();
        QCOMPARE(m_max, 4);
        QCOMPARE(m_progress.last(), 4);
        // The installed application appears twice: from the folder and from ExtraApps.
        QCOMPARE(names(catalogue.allApps),
                 (QStringList{"Deleted", "Installed", "Installed", "Kept"}));
        for (const AppListingPtr &l : catalogue.allApps)
            QCOMPARE(l->invalid(), l->name() == QLatin1String("Deleted"));
        QCOMPARE(m_defaults->objectForKey("ExtraApps"),
                 (QVariantList{"org.Installed", QVariantMap{{"a", 1}}, "org.Kept", deleted}));

        // Next start: the rewritten identifier is found again, now outside the folder.
        const auto again = load();
        QCOMPARE(names(again.allApps), names(catalogue.allApps));
    }

    // Nothing to rewrite: identifiers, an element that is no string, a path whose bundle has no
    // identifier and a path that is gone.
    void unchangedExtraAppsAreNotWritten()
    {
        BundleBuilder(apps() + "/Installed.app").identifier("org.Installed").write();
        const QString noId = BundleBuilder(m_env->root() + "/Extra/NoId.app").write();
        const QVariantList stored{"org.Installed", 7, noId, m_env->root() + "/Gone.app"};
        // Stored by another writer; the load must leave the file as it is.
        PreferencesStore store(m_env->preferencesDirectory());
        QVERIFY(store.setValue("org.vexilo.Test", "ExtraApps", stored));
        const QDateTime before = QFileInfo(domainFile()).lastModified();
        QFile::setPermissions(domainFile(), QFile::ReadOwner);
        QTest::qWait(20);
        load();
        QFile::setPermissions(domainFile(), QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QFileInfo(domainFile()).lastModified(), before);
        QCOMPARE(m_defaults->objectForKey("ExtraApps"), stored);
    }

    // An application added from a disk that is later taken out stays, invalid, under its
    // folder's name, and is itself again once the disk is back.
    void addedApplicationOnADiskThatIsGone()
    {
        const QString disk = m_env->root() + "/Media/Stick";
        const QString bundle =
            BundleBuilder(disk + "/Portable.app").identifier("org.example.Portable").write();
        // Stored in the old form: the first load reads the bundle and keeps its identifier.
        m_defaults->setObject("ExtraApps", QStringList{bundle});
        QVERIFY(!load().allApps.first()->invalid());
        QCOMPARE(m_defaults->stringArrayForKey("ExtraApps"), QStringList{"org.example.Portable"});

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

    // An entry that is neither a known identifier nor an absolute path is never read relative
    // to the working folder.
    void relativeEntryIsNotReadFromWorkingFolder()
    {
        const QString cwd = m_env->root() + "/cwd";
        const QString decoy = cwd + "/org.Gone";
        BundleBuilder(decoy)
            .identifier("org.Decoy")
            .file("Resources Disabled/fr.lproj/")
            .file("Resources/en.lproj/")
            .write();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(cwd);
        m_defaults->setObject("ExtraApps", QStringList{"org.Gone"});
        const auto catalogue = load();
        QDir::setCurrent(previous);

        QCOMPARE(catalogue.allApps.size(), 1);
        const AppListingPtr listing = catalogue.allApps.first();
        QVERIFY(listing->invalid());
        QCOMPARE(listing->name(), "org");
        QVERIFY(listing->identifier().isEmpty());
        QVERIFY(QFileInfo(decoy + "/Contents/Resources Disabled/fr.lproj").isDir());
        QCOMPARE(m_defaults->stringArrayForKey("ExtraApps"), QStringList{"org.Gone"});
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
        QTest::newRow("english") << u"en_US"_s << QString() << english;
        QTest::newRow("swedish") << u"sv_SE"_s << QString() << swedish;
        // The collation's own variable decides, not the messages' language.
        QTest::newRow("LC_COLLATE over LANG") << u"en_US"_s << u"sv_SE.UTF-8"_s << swedish;
    }
    void localeAwareOrder()
    {
        QFETCH(QString, locale);
        QFETCH(QString, collate);
        QFETCH(QStringList, expected);
        TestEnvironment::setLanguage(locale);
        qputenv("LC_MESSAGES", "en_US.UTF-8");
        if (!collate.isEmpty())
            qputenv("LC_COLLATE", collate.toUtf8());
        for (const char *n : {"Zeta", "Örn", "alpha", "Émile", "Olle", "beta"})
            BundleBuilder(apps() + QLatin1Char('/') + QString::fromUtf8(n) + ".app").write();
        const auto catalogue = load();
        qunsetenv("LC_MESSAGES");
        qunsetenv("LC_COLLATE");
        QCOMPARE(names(catalogue.apps), expected);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueLoader)
#include "tst_catalogueloader.moc"

#include "DesktopTree.h"
#include "TestEnvironment.h"
#include "catalogue/CatalogueLoader.h"
#include "language/RunningInstances.h"
#include "platform/preferences/UserDefaults.h"
#include "platform/process/ProcessControl.h"
#include "platform/process/Processes.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The desktop's applications as listings: in the catalogue beside the bundles, hidden by their
// desktop-file ID, and which processes are their running copies (the language each was opened
// in is the running line's test, with the bundles').
class TestDesktopListings : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DesktopTree> m_tree;
    QList<qint64> m_started;

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage(u"en_US"_s, u"en"_s);
        m_tree = std::make_unique<DesktopTree>(m_env->root());
        m_tree->recorder(u"bin/writer"_s, u"writer"_s);
        m_tree->entry(m_tree->systemFolder(), u"org.example.Writer.desktop"_s,
                      "Name=Writer\nIcon=writer\nExec=writer %F\n");
        m_tree->entry(m_tree->systemFolder(), u"org.example.Other.desktop"_s,
                      "Name=Other\nExec=writer --other\n");
        for (const char *lang : {"de", "fr"})
            m_tree->write(u"system/locale/%1/LC_MESSAGES/writer.mo"_s.arg(QLatin1String(lang)), "");
        m_tree->write(u"system/icons/hicolor/48x48/apps/writer.png"_s, "png");
        m_tree->write(u"system/icons/hicolor/256x256/apps/writer.png"_s, "png");
        m_env->setDesktopEntries(std::make_shared<DesktopEntries>(m_tree->setup()));
    }

    void cleanup()
    {
        ProcessControl::quit(m_started, std::chrono::seconds(5));
        m_started.clear();
    }

    void catalogueHoldsThemHiddenByIdentifier()
    {
        UserDefaults defaults(m_env->platform().preferences, u"org.vexilo.Test"_s);
        defaults.setObject(u"HiddenApps"_s, QStringList{u"org.example.Other.desktop"_s});
        // Vexilo's own entry is not listed: its bundle is Vexilo.
        m_tree->entry(m_tree->systemFolder(), u"org.vexilo.Vexilo.desktop"_s,
                      "Name=Vexilo\nExec=writer\n");
        const CatalogueLoader::Result result =
            CatalogueLoader::load(m_env->platform(), defaults, {});
        QCOMPARE(result.allApps.size(), 2);
        QCOMPARE(result.apps.size(), 1);
        const AppListing &writer = *result.apps.first();
        QCOMPARE(writer.name(), u"Writer"_s);
        QCOMPARE(writer.identifier(), u"org.example.Writer.desktop"_s);
        QCOMPARE(writer.path(), m_tree->systemFolder() + u"/org.example.Writer.desktop"_s);
        // The largest size of the theme wins.
        QCOMPARE(writer.iconPath(),
                 m_tree->systemData() + u"/icons/hicolor/256x256/apps/writer.png"_s);
        // Languages are looked for once it is selected.
        QVERIFY(writer.langs().isEmpty());
        const AppListingPtr fresh = writer.reread(m_env->platform());
        QCOMPARE(fresh->langs().size(), 3);
    }

    // Only the interpreter running the entry's own script is a copy of it.
    void interpreterCopies_data()
    {
        QTest::addColumn<bool>("ownScript");
        QTest::newRow("another script") << false;
        QTest::newRow("its script") << true;
    }
    void interpreterCopies()
    {
        QFETCH(bool, ownScript);
        const QString script = m_tree->write(u"share/tool.sh"_s, "while :; do sleep 0.2; done\n");
        m_tree->entry(m_tree->systemFolder(), u"tool.desktop"_s,
                      ("Name=Tool\nExec=sh " + script + " --flag %f\n").toUtf8());
        const DesktopEntries entries(m_tree->setup());
        const auto app = entries.application(u"tool.desktop"_s);
        QVERIFY(app);
        const AppListingPtr listing = AppListing::fromDesktopApplication(*app, entries, true);
        RunningInstances running(m_env->platform().processes);

        const QStringList arguments = ownScript
                                          ? QStringList{script}
                                          : QStringList{u"-c"_s, u"while :; do sleep 0.2; done"_s};
        const qint64 pid =
            ProcessControl::startDetached(u"/bin/sh"_s, arguments, QProcessEnvironment());
        QVERIFY(pid > 0);
        m_started.append(pid);
        QVERIFY(ProcessControl::waitUntilKnown(pid, std::chrono::seconds(5)));
        QTest::qWait(200);
        QCOMPARE(running.isAppRunning(listing.get()), ownScript);
    }
};

QTEST_GUILESS_MAIN(TestDesktopListings)
#include "tst_desktoplistings.moc"

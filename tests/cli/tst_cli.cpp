#include "BundleBuilder.h"
#include "CliArguments.h"
#include "CliCommands.h"
#include "DesktopTree.h"
#include "TestEnvironment.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/preferences/UserDefaults.h"
#include "platform/process/ProcessControl.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

// The shell commands against a private tree: two bundles, a bundle without identifier, a menu
// entry (whose program logs how it was started), a hidden application and two of one name.
class TestCli : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DesktopTree> m_tree;
    std::shared_ptr<const Platform> m_platform;
    QString m_atlas;
    QByteArray m_path;

    Cli::Outcome run(const QString &line)
    {
        return Cli::run(*m_platform, u"org.vexilo.Test"_s, line.split(u' ', Qt::SkipEmptyParts));
    }
private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage(u"en_US"_s, u"en"_s);
        m_tree = std::make_unique<DesktopTree>(m_env->root());
        const QString apps = m_env->applicationsDirectory();
        m_atlas = BundleBuilder(apps + u"/Atlas.app"_s)
                      .identifier(u"org.example.Atlas"_s)
                      .languages({u"en"_s, u"fr"_s, u"de"_s})
                      .executable(u"Atlas"_s)
                      .write();
        BundleBuilder(apps + u"/Anon.app"_s).languages({u"en"_s, u"fr"_s}).write();
        BundleBuilder(apps + u"/Twin.app"_s).identifier(u"org.example.Twin"_s).write();
        BundleBuilder(apps + u"/Shy.app"_s).identifier(u"org.example.Shy"_s).write();
        m_tree->recorder(u"bin/writer"_s, u"writer"_s);
        // The menu entry's program is started through PATH.
        qputenv("PATH", m_tree->path().toUtf8());
        m_tree->entry(m_tree->systemFolder(), u"org.example.Writer.desktop"_s,
                      "Name=Writer\nName[fr]=Rédacteur\nExec=writer %F\n");
        m_tree->entry(m_tree->systemFolder(), u"twin.desktop"_s, "Name=Twin\nExec=writer\n");
        for (const char *lang : {"de", "fr"})
            m_tree->write(u"system/locale/%1/LC_MESSAGES/writer.mo"_s.arg(QLatin1String(lang)), "");
        m_env->setDesktopEntries(std::make_shared<DesktopEntries>(m_tree->setup()));
        m_platform = std::make_shared<const Platform>(m_env->platform());
        UserDefaults(m_platform->preferences, u"org.vexilo.Test"_s)
            .setObject(u"HiddenApps"_s, QStringList{u"org.example.Shy"_s});
    }

    void initTestCase() { m_path = qgetenv("PATH"); }
    void cleanup()
    {
        for (const QString &app : {u"Atlas"_s, u"Writer"_s}) {
            QList<qint64> pids;
            for (const QJsonValue &copy :
                 QJsonDocument::fromJson(run(u"running %1 --json"_s.arg(app)).out.toUtf8()).array())
                pids.append(copy[u"pid"_s].toInteger());
            ProcessControl::quit(pids, std::chrono::seconds(5));
        }
        qputenv("PATH", m_path);
    }
    // Runs a command that should succeed.
    Cli::Outcome done(const QString &line)
    {
        const Cli::Outcome outcome = run(line);
        if (outcome.status != 0)
            qWarning().noquote() << line << outcome.status << outcome.err;
        return outcome;
    }

    // What each command prints and its exit status, including every refusal that needs no
    // running copy.
    void commands_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // a part of it

        const auto row = [](const char *tag, const QString &line, int status, const QString &out,
                            const QString &err = {}) {
            QTest::newRow(tag) << line << status << out << err;
        };
        // {apps}: the applications folder, known once the test's tree is made.
        const QString anon = u"{apps}/Anon.app"_s;
        row("list", u"list"_s, 0,
            u"Anon\t%1\t2\nAtlas\torg.example.Atlas\t3\n"
            "Shy\torg.example.Shy\t0\thidden\nTwin\torg.example.Twin\t0\n"
            "Twin\ttwin.desktop\t3\nWriter\torg.example.Writer.desktop\t3\n"_s.arg(anon));
        row("list quiet", u"list -q"_s, 0,
            u"%1\nAnon\norg.example.Atlas\nAtlas\norg.example.Twin\nTwin\n"
            "twin.desktop\nTwin\norg.example.Writer.desktop\nWriter\n"_s.arg(anon));
        const QString three = u"  en\tEnglish\n  fr\tFrench\n  de\tGerman\n"_s;
        row("by name", u"languages atlas"_s, 0, three);
        row("by path", u"languages {apps}/Atlas.app"_s, 0, three);
        row("by desktop-file ID", u"languages org.example.Writer"_s, 0, three);
        row("by shown name", u"languages Writer"_s, 0, three);
        row("quiet codes", u"languages Writer --quiet"_s, 0, u"en\nfr\nde\n"_s);
        row("ambiguous", u"languages Twin"_s, 1, {},
            u"Several applications match “Twin”:\n  Twin"_s);
        row("unknown app", u"running Nobody"_s, 1, {}, u"No application matches “Nobody”."_s);
        row("not running", u"running Atlas"_s, 0, u"Atlas is not running.\n"_s);
        row("unknown language", u"launch Atlas Klingon"_s, 1, {},
            u"Atlas has no language “Klingon”. Its languages: en, fr, de"_s);
        row("no identifier", u"always Anon fr"_s, 4, {}, u"no bundle identifier"_s);
        row("unknown command", u"frob"_s, 2, {}, u"Unknown command: frob\nUsage: vexilo"_s);
        row("unknown option", u"list --restart"_s, 2, {}, u"Unknown option: --restart"_s);
        row("missing language", u"launch Atlas"_s, 2, {}, u"Wrong number of arguments."_s);
        row("reset and language", u"always Atlas fr --reset"_s, 2, {},
            u"Wrong number of arguments."_s);
        row("command help", u"launch x y --help"_s, 0, Cli::help(u"launch"_s));
    }
    void commands()
    {
        QFETCH(QString, line);
        QFETCH(QString, out);
        const QString apps = m_env->applicationsDirectory();
        const Cli::Outcome outcome = run(line.replace(u"{apps}"_s, apps));
        QFETCH(QString, err);
        QVERIFY2(err.isEmpty() ? outcome.err.isEmpty() : outcome.err.contains(err),
                 qPrintable(outcome.err));
        QCOMPARE(outcome.out, out.replace(u"{apps}"_s, apps));
        QTEST(outcome.status, "status");
    }

    // Launch starts the application in the language named by code or by name; a running copy
    // is refused until --restart, which quits it first. Both kinds of application.
    void launch_data()
    {
        QTest::addColumn<QString>("app");
        QTest::addColumn<QString>("started"); // what the menu entry's first start logged
        QTest::newRow("bundle") << u"Atlas"_s << QString();
        QTest::newRow("menu entry") << u"org.example.Writer.desktop"_s << u"LANGUAGE=fr:en"_s;
    }
    void launch()
    {
        QFETCH(QString, app);
        QCOMPARE(done(u"launch %1 french"_s.arg(app)).status, 0);
        QFETCH(QString, started);
        if (!started.isEmpty())
            QTRY_VERIFY2(m_tree->log(u"writer"_s).value(0).contains(started),
                         qPrintable(m_tree->log(u"writer"_s).join('\n')));
        // The stand-in program forks for a moment now and then, a transient second copy: the
        // copies are compared by language and by the first one's PID.
        const auto copies = [&] {
            QMap<qint64, QString> byPid;
            const QString json = run(u"running %1 --json"_s.arg(app)).out;
            for (const QJsonValue &copy : QJsonDocument::fromJson(json.toUtf8()).array())
                byPid.insert(copy[u"pid"_s].toInteger(), copy[u"language"_s].toString());
            return byPid;
        };
        QVERIFY(!copies().isEmpty());
        const qint64 first = copies().firstKey();
        QCOMPARE(copies().first(), u"French"_s);
        QVERIFY(run(u"running "_s + app).out.startsWith(u"%1\tFrench\n"_s.arg(first)));

        const Cli::Outcome refused = run(u"launch %1 de"_s.arg(app));
        QCOMPARE(refused.status, 3);
        QVERIFY(refused.err.contains(u"--restart"_s));
        QCOMPARE(copies().firstKey(), first);

        QCOMPARE(run(u"launch %1 Allemand --restart"_s.arg(app)).status, 1); // not a name here
        QCOMPARE(done(u"launch %1 Deutsch --restart"_s.arg(app)).status, 0);
        QVERIFY(!copies().contains(first));
        const auto after = copies();
        QCOMPARE(QSet<QString>(after.cbegin(), after.cend()), QSet<QString>{u"German"_s});
    }

    // always writes the stored language the window then marks, and --reset removes it; a file
    // of the entry's ID that the user wrote is left alone.
    void always_data()
    {
        QTest::addColumn<QString>("app");
        QTest::addColumn<bool>("userFile");
        QTest::newRow("bundle") << u"Atlas"_s << false;
        QTest::newRow("menu entry") << u"Writer"_s << false;
        QTest::newRow("menu entry, the user's file") << u"Writer"_s << true;
    }
    void always()
    {
        QFETCH(QString, app);
        QFETCH(bool, userFile);
        const QString mine = m_tree->userFolder() + u"/org.example.Writer.desktop"_s;
        if (userFile)
            m_tree->entry(m_tree->userFolder(), u"org.example.Writer.desktop"_s,
                          "Name=Writer\nExec=env LANGUAGE=de writer\n");
        const auto before = DesktopTree::snapshot(m_tree->userFolder());

        const Cli::Outcome outcome = run(u"always %1 fr"_s.arg(app));
        if (userFile) {
            QCOMPARE(outcome.status, 4);
            QVERIFY2(outcome.err.contains(mine), qPrintable(outcome.err));
            QCOMPARE(DesktopTree::snapshot(m_tree->userFolder()), before);
            return;
        }
        QCOMPARE(outcome.status, 0);
        QVERIFY(run(u"languages "_s + app).out.contains(u"* fr\tFrench\n"_s));

        StoredLanguages stored(m_platform);
        RunningInstances running(m_platform->processes);
        Selection selection(m_platform, stored, running);
        const Cli::Outcome listed = run(u"list --json"_s);
        QString path;
        for (const QJsonValue &row : QJsonDocument::fromJson(listed.out.toUtf8()).array())
            if (row[u"name"_s].toString() == app)
                path = row[u"path"_s].toString();
        const AppListingPtr listing =
            app == u"Atlas"_s
                ? AppListing::fromPath(path, *m_platform->workspace)
                : AppListing::fromDesktopApplication(
                      *m_platform->desktopEntries->application(u"org.example.Writer.desktop"_s),
                      *m_platform->desktopEntries, false);
        selection.select(listing);
        QVERIFY(selection.panel().entries.first().checked);
        QCOMPARE(selection.panel().entries.at(selection.panel().selectedEntry).title, u"French"_s);

        QCOMPARE(run(u"always %1 --reset"_s.arg(app)).status, 0);
        QVERIFY(!run(u"languages "_s + app).out.contains(u'*'));
        QCOMPARE(DesktopTree::snapshot(m_tree->userFolder()), before);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

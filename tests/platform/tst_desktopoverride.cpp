#include "DesktopTree.h"
#include "TestFiles.h"
#include "platform/desktop/DesktopEntries.h"
#include "platform/desktop/DesktopLanguageSetting.h"
#include "platform/desktop/DesktopLaunch.h"
#include "platform/desktop/DesktopOverride.h"
#include "platform/desktop/DesktopProcesses.h"
#include "platform/desktop/FlatpakOverride.h"
#include "platform/process/Processes.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Always open for the desktop's applications (the user override, Flatpak's environment
// override), the command that starts one once, and reading a copy's language.
class TestDesktopOverride : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DesktopTree> m_tree;
    std::unique_ptr<DesktopEntries> m_entries;
    QProcessEnvironment m_user;

    DesktopApplication app(const QString &id)
    {
        return m_entries->application(id).value_or(DesktopApplication{});
    }
    QByteArray userEntry() const
    {
        return readFile(m_tree->userFolder() + u"/org.example.Editor.desktop"_s);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->path() + u"/data"_s));
        qunsetenv("FLATPAK_USER_DIR");
        m_tree = std::make_unique<DesktopTree>(m_dir->path());
        DesktopTree &t = *m_tree;
        t.recorder(u"bin/editor"_s, u"editor"_s);
        t.recorder(u"bin/flatpak"_s, u"flatpak"_s);
        t.entry(t.systemFolder(), u"org.example.Editor.desktop"_s,
                "Name=Editor\n# a comment kept\nExec=editor --new %F\nDBusActivatable=true\n"
                "Actions=win;\n\n[Desktop Action win]\nName=New window\nExec=editor --win\n");
        t.entry(t.systemFolder(), u"org.example.Flat.desktop"_s,
                "Name=Flat\nExec=flatpak run org.example.Flat\nX-Flatpak=org.example.Flat\n");
        // The user's own entries, which no change of Vexilo's may touch.
        t.entry(t.userFolder(), u"mine.desktop"_s, "Name=Mine\nExec=editor --mine\n");
        t.write(u"data/applications/mimeapps.list"_s, "[Default Applications]\n");
        // D-Bus starts the DBusActivatable editor from its service file; the user has another.
        t.write(u"system/dbus-1/services/org.example.Editor.service"_s,
                "[D-BUS Service]\nName=org.example.Editor\nExec=" + QFile::encodeName(t.bin()) +
                    "/editor --gapplication-service\nSystemdService=editor.service\n");
        t.write(u"data/dbus-1/services/org.example.Mine.service"_s, "[D-BUS Service]\n");
        m_entries = std::make_unique<DesktopEntries>(t.setup());
        // Under C, LANGUAGE takes effect only with a messages locale of another name.
        m_user = QProcessEnvironment();
        m_user.insert(u"LANG"_s, u"C"_s);
        m_user.insert(u"LANGUAGE"_s, u"de:en"_s);
        m_user.insert(u"XDG_DATA_HOME"_s, m_dir->path() + u"/data"_s);
        m_user.insert(u"PATH"_s, t.path());
    }

    void writeAndRemoveLeaveOthersAlone()
    {
        const QString data = m_dir->path() + u"/data"_s;
        const QHash<QString, QByteArray> before = DesktopTree::snapshot(data);
        const DesktopApplication editor = app(u"org.example.Editor.desktop"_s);
        QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"fr"_s, m_user),
                 DesktopOverride::Result::Done);

        const QByteArray text = userEntry();
        // Both Exec lines set the language; the launcher runs Exec, not D-Bus activation.
        const QByteArray env = "env LANGUAGE=fr:de:en LC_MESSAGES=C.UTF-8 LC_CTYPE=C.UTF-8 ";
        QVERIFY2(text.contains("\nExec=" + env + "editor --new %F\n"), text.constData());
        QVERIFY(text.contains("\nExec=" + env + "editor --win\n"));
        QVERIFY(text.contains("\nDBusActivatable=false\n"));
        QVERIFY(text.contains("# a comment kept\n"));
        // D-Bus activation starts it with the same language, not through systemd.
        const QByteArray serviceText =
            readFile(data + u"/dbus-1/services/org.example.Editor.service"_s);
        QVERIFY2(serviceText.contains("\nExec=/usr/bin/" + env + QFile::encodeName(m_tree->bin()) +
                                      "/editor --gapplication-service\n"),
                 serviceText.constData());
        QVERIFY(!serviceText.contains("SystemdService"));
        QCOMPARE(DesktopOverride::findService(data + u"/dbus-1/services"_s, u"org.example.Editor"_s)
                     .language,
                 u"fr"_s);
        // The menu still shows the application as the system's entry, its language read back.
        const auto shown = m_entries->application(u"org.example.Editor.desktop"_s);
        QVERIFY(shown);
        QCOMPARE(shown->path, m_tree->systemFolder() + u"/org.example.Editor.desktop"_s);
        QCOMPARE(shown->overrideLanguage, u"fr"_s);
        QCOMPARE(DesktopLanguageSetting::find(editor, *m_entries, m_user).language, u"fr"_s);

        // Another language replaces Vexilo's own file.
        QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"es"_s, m_user),
                 DesktopOverride::Result::Done);
        QCOMPARE(DesktopLanguageSetting::find(editor, *m_entries, m_user).language, u"es"_s);

        QCOMPARE(DesktopLanguageSetting::reset(editor, *m_entries, m_user),
                 DesktopOverride::Result::Done);
        QCOMPARE(DesktopTree::snapshot(data), before);
        QCOMPARE(m_entries->application(u"org.example.Editor.desktop"_s)->overrideLanguage,
                 QString());

        // A language list the bus's Exec cannot hold leaves nothing half set.
        QProcessEnvironment odd = m_user;
        odd.insert(u"LANGUAGE"_s, u"de:it'x"_s);
        QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"fr"_s, odd),
                 DesktopOverride::Result::Failed);
        QCOMPARE(DesktopTree::snapshot(data), before);
    }

    // What takes the place of Vexilo's file between the check and the write (a link to a file
    // elsewhere, a file of the user's) stays, and nothing is written through a link.
    void swappedInAtTheLastMoment_data()
    {
        QTest::addColumn<bool>("link");
        QTest::newRow("link to a file elsewhere") << true;
        QTest::newRow("the user's file") << false;
    }
    void swappedInAtTheLastMoment()
    {
        QFETCH(bool, link);
        const DesktopApplication editor = app(u"org.example.Editor.desktop"_s);
        QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"fr"_s, m_user),
                 DesktopOverride::Result::Done);
        const QString path = m_tree->userFolder() + u"/org.example.Editor.desktop"_s;
        const QByteArray mine = "[Desktop Entry]\nType=Application\nName=Mine\nExec=editor\n";
        const QString elsewhere = m_tree->write(u"elsewhere.desktop"_s, mine);
        DesktopOverride::setBeforeReplaceForTesting([&] {
            QFile::remove(path);
            QVERIFY(link ? QFile::link(elsewhere, path) : QFile::copy(elsewhere, path));
        });
        const auto result = DesktopLanguageSetting::set(editor, *m_entries, u"es"_s, m_user);
        DesktopOverride::setBeforeReplaceForTesting({});
        QCOMPARE(result, DesktopOverride::Result::UserFile);
        QCOMPARE(QFileInfo(path).symLinkTarget(), link ? elsewhere : QString());
        QCOMPARE(userEntry(), mine);
        QCOMPARE(readFile(elsewhere), mine);
        QCOMPARE(QDir(m_tree->userFolder()).entryList({u".vexilo-*"_s}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // A file of that ID that Vexilo did not write, or that was changed since, stays as it is.
    void userFileNeverTouched_data()
    {
        QTest::addColumn<QString>("file"); // below data/
        QTest::addColumn<bool>("vexiloWroteFirst");
        QTest::addColumn<QByteArray>("userText");
        const QString entry = u"applications/org.example.Editor.desktop"_s;
        const QString service = u"dbus-1/services/org.example.Editor.service"_s;
        row("the user's own", entry, false,
            QByteArray(
                "[Desktop Entry]\nType=Application\nName=Editor\nExec=env LANGUAGE=it editor\n"));
        row("Vexilo's, edited", entry, true, QByteArray("# my change\n"));
        row("marker copied by hand", entry, false,
            QByteArray("[Desktop Entry]\nX-Vexilo-Language=fr\nX-Vexilo-Checksum=00\n"
                       "Type=Application\nName=Editor\nExec=editor\n"));
        row("the user's service", service, false,
            QByteArray("[D-BUS Service]\nName=org.example.Editor\n"));
        row("Vexilo's service, edited", service, true, QByteArray("# mine\n"));
    }
    void userFileNeverTouched()
    {
        QFETCH(QString, file);
        QFETCH(bool, vexiloWroteFirst);
        QFETCH(QByteArray, userText);
        const DesktopApplication editor = app(u"org.example.Editor.desktop"_s);
        const QString data = m_dir->path() + u"/data"_s;
        if (vexiloWroteFirst)
            QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"fr"_s, m_user),
                     DesktopOverride::Result::Done);
        m_tree->write("data/" + file, readFile(data + '/' + file) + userText);
        const bool entry = file.startsWith(u"applications/"_s);
        if (entry) {
            const DesktopOverride::Found found =
                DesktopLanguageSetting::find(editor, *m_entries, m_user);
            QCOMPARE(found.owner, DesktopOverride::Owner::User);
            QCOMPARE(found.path, data + '/' + file);
        }
        // Nothing is set beside a file of the user's; a reset removes only Vexilo's own files.
        QHash<QString, QByteArray> before = DesktopTree::snapshot(data);
        QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"de"_s, m_user),
                 DesktopOverride::Result::UserFile);
        QCOMPARE(DesktopTree::snapshot(data), before);
        QCOMPARE(DesktopLanguageSetting::reset(editor, *m_entries, m_user),
                 entry ? DesktopOverride::Result::UserFile : DesktopOverride::Result::Done);
        for (const QString &vexilos : {u"applications/org.example.Editor.desktop"_s,
                                       u"dbus-1/services/org.example.Editor.service"_s}) {
            if (vexilos != file)
                before.remove(data + '/' + vexilos);
        }
        QCOMPARE(DesktopTree::snapshot(data), before);
    }

    void flatpakOverride()
    {
        const DesktopApplication flat = app(u"org.example.Flat.desktop"_s);
        QCOMPARE(DesktopLanguageSetting::set(flat, *m_entries, u"fr"_s, m_user),
                 DesktopOverride::Result::Done);
        const QStringList calls = m_tree->log(u"flatpak"_s);
        QVERIFY(!calls.isEmpty());
        QVERIFY2(calls.last().contains(u"[override] [--user] [--env=LANGUAGE=fr:de:en]"_s),
                 qPrintable(calls.last()));
        QCOMPARE(DesktopLanguageSetting::find(flat, *m_entries, m_user).language, u"fr"_s);
        QCOMPARE(DesktopLanguageSetting::reset(flat, *m_entries, m_user),
                 DesktopOverride::Result::Done);
        QCOMPARE(DesktopLanguageSetting::find(flat, *m_entries, m_user).owner,
                 DesktopOverride::Owner::Nobody);

        // A LANGUAGE the user set with the tool is theirs.
        m_tree->write(u"data/flatpak/overrides/org.example.Flat"_s, "[Environment]\nLANGUAGE=it\n");
        const qsizetype callsBefore = m_tree->log(u"flatpak"_s).size();
        QCOMPARE(DesktopLanguageSetting::set(flat, *m_entries, u"fr"_s, m_user),
                 DesktopOverride::Result::UserFile);
        QCOMPARE(DesktopLanguageSetting::reset(flat, *m_entries, m_user),
                 DesktopOverride::Result::UserFile);
        // An application ID with a line feed is no ID: flatpak is not even asked.
        DesktopApplication forged = flat;
        forged.flatpakId += u'\n';
        QCOMPARE(DesktopLanguageSetting::set(forged, *m_entries, u"fr"_s, m_user),
                 DesktopOverride::Result::Failed);
        QCOMPARE(m_tree->log(u"flatpak"_s).size(), callsBefore);
    }

    void launchCommand_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("chromium");
        QTest::addColumn<QStringList>("arguments");
        row("plain", "org.example.Editor.desktop", false, words("--new"));
        row("chromium-style", "org.example.Editor.desktop", true, words("--lang=pt-BR --new"));
        row("flatpak", "org.example.Flat.desktop", false,
            words("run --env=LANGUAGE=pt_BR:de:en --env=LC_MESSAGES=C.UTF-8 org.example.Flat"));
    }
    void launchCommand()
    {
        QFETCH(QString, id);
        QFETCH(bool, chromium);
        DesktopApplication application = app(id);
        application.chromium = chromium;
        QProcessEnvironment child = m_user;
        child.insert(u"LANGUAGE"_s, u"pt_BR:de:en"_s);
        child.insert(u"LC_MESSAGES"_s, u"C.UTF-8"_s);
        const DesktopLaunch::Command command =
            DesktopLaunch::command(application, u"pt-BR"_s, m_user, child, m_tree->path());
        QTEST(command.arguments, "arguments");
        QVERIFY(command.program.startsWith(m_tree->bin()));
        QCOMPARE(command.environment.value(u"LANGUAGE"_s), u"pt_BR:de:en"_s);
    }

    void environmentLanguages_data()
    {
        QTest::addColumn<QByteArray>("environ");
        QTest::addColumn<bool>("localeOnly"); // a program that reads the locale alone
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<bool>("loads"); // with es_ES and it_IT installed
        const auto row = [](const char *tag, QByteArrayView environ, bool localeOnly,
                            const QStringList &languages, bool loads = true) {
            QTest::newRow(tag) << environ.toByteArray() << localeOnly << languages << loads;
        };
        row("LANGUAGE then locale", "LANGUAGE=fr:de\0LANG=es_ES.UTF-8\0"_ba, false,
            {u"fr"_s, u"de"_s, u"es_ES"_s});
        row("locale only", "LANGUAGE=fr:de\0LANG=es_ES.UTF-8\0"_ba, true, {u"es_ES"_s});
        row("LC_ALL wins", "LC_ALL=it_IT.UTF-8\0LANG=es_ES.UTF-8\0"_ba, false, {u"it_IT"_s});
        row("C ignores LANGUAGE", "LANGUAGE=fr\0LC_ALL=C\0"_ba, false, {});
        row("C.UTF-8 reads it", "LANGUAGE=fr\0LC_MESSAGES=C.UTF-8\0"_ba, false, {u"fr"_s});
        row("garbage", "\0\0=x\0LANG\0"_ba, false, {});
        row("not installed", "LC_MESSAGES=fr_FR.UTF-8\0LANG=es_ES.UTF-8\0"_ba, true, {u"fr_FR"_s},
            false);
        row("LOCPATH hides the installed", "LANG=es_ES.UTF-8\0LOCPATH=/nowhere\0"_ba, true,
            {u"es_ES"_s}, false);
    }
    void environmentLanguages()
    {
        QFETCH(QByteArray, environ);
        QFETCH(bool, localeOnly);
        QTEST(DesktopProcesses::environmentLanguages(environ, localeOnly), "languages");
        QTEST(DesktopProcesses::messagesLocaleLoads(environ,
                                                    [](const QString &name) {
                                                        return name == u"es_ES.UTF-8"_s ||
                                                               name == u"it_IT.UTF-8"_s;
                                                    }),
              "loads");
    }

    // A program a wrapper script ends in is the entry's running copy, whoever started it; one
    // that hides its environment runs in a language that cannot be known, unless its --lang
    // tells it.
    void wrappedCopies_data()
    {
        QTest::addColumn<QString>("through"); // what the wrapper execs the program with
        QTest::addColumn<QString>("argument");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("languages");
        using Copy = DesktopProcesses::RunningCopy;
        const auto row = [](const char *tag, const QString &through, const QString &argument,
                            Copy::State state, const QStringList &languages) {
            QTest::newRow(tag) << through << argument << int(state) << languages;
        };
        row("environment read", {}, {}, Copy::Known, {u"fr"_s, u"de"_s});
        row("environment hidden", u"env -i"_s, {}, Copy::LanguageUnknown, {});
        row("hidden, --lang shown", u"env -i"_s, u"--lang=pt-BR"_s, Copy::Known, {u"pt-BR"_s});
    }
    void wrappedCopies()
    {
        QFETCH(QString, through);
        QFETCH(QString, argument);
        DesktopTree &t = *m_tree;
        // The real program: a shell of its own, so that /proc names it as the executable.
        QVERIFY(QDir().mkpath(t.root() + u"/opt/real"_s));
        QVERIFY(QFile::copy(u"/bin/sh"_s, t.root() + u"/opt/real/real"_s));
        t.write(u"bin/wrapped"_s,
                "#!/bin/sh\nNAME=real\nDIR=" + QFile::encodeName(t.root()) + "/opt/$NAME\nexec " +
                    through.toUtf8() + " $DIR/$NAME -c 'while :; do sleep 0.2; done' \"$@\"\n",
                true);
        t.entry(t.systemFolder(), u"wrapped.desktop"_s, "Name=Wrapped\nExec=wrapped\n");
        const DesktopApplication wrapped =
            DesktopEntries(t.setup()).application(u"wrapped.desktop"_s).value();
        const Processes processes;
        QCOMPARE(DesktopProcesses::runningCopy(wrapped, processes).state,
                 DesktopProcesses::RunningCopy::NotRunning);

        QProcess process; // started outside Vexilo
        QProcessEnvironment environment;
        environment.insert(u"LANGUAGE"_s, u"fr:de"_s);
        environment.insert(u"LANG"_s, u"C.UTF-8"_s);
        process.setProcessEnvironment(environment);
        process.start(t.bin() + u"/wrapped"_s,
                      argument.isEmpty() ? QStringList() : QStringList{argument});
        QVERIFY(process.waitForStarted());
        // Past the wrapper, which is the entry's copy too while it runs.
        QTRY_COMPARE(QFileInfo(u"/proc/%1/exe"_s.arg(process.processId())).symLinkTarget(),
                     t.root() + u"/opt/real/real"_s);
        DesktopProcesses::RunningCopy copy;
        QTRY_VERIFY((copy = DesktopProcesses::runningCopy(wrapped, processes)).pids.size() == 1);
        QCOMPARE(copy.pids.first(), process.processId());
        QTEST(int(copy.state), "state");
        QTEST(copy.languages, "languages");
        process.kill();
        process.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestDesktopOverride)
#include "tst_desktopoverride.moc"

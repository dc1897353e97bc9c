#include "DesktopTree.h"
#include "platform/desktop/DesktopEntries.h"
#include "platform/desktop/DesktopLanguageSetting.h"
#include "platform/desktop/DesktopLaunch.h"
#include "platform/desktop/DesktopOverride.h"
#include "platform/desktop/DesktopProcesses.h"
#include "platform/desktop/FlatpakOverride.h"

#include <QtTest>

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
        QFile file(m_tree->userFolder() + u"/org.example.Editor.desktop"_s);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        const QHash<QString, QByteArray> before = DesktopTree::snapshot(m_tree->userFolder());
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
        QCOMPARE(DesktopTree::snapshot(m_tree->userFolder()), before);
        QCOMPARE(m_entries->application(u"org.example.Editor.desktop"_s)->overrideLanguage,
                 QString());
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
        QFile outside(elsewhere);
        QVERIFY(outside.open(QIODevice::ReadOnly));
        QCOMPARE(outside.readAll(), mine);
        QCOMPARE(QDir(m_tree->userFolder()).entryList({u".vexilo-*"_s}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    // A file of that ID that Vexilo did not write, or that was changed since, stays as it is.
    void userFileNeverTouched_data()
    {
        QTest::addColumn<bool>("vexiloWroteFirst");
        QTest::addColumn<QByteArray>("userText");
        QTest::newRow("the user's own") << false
                                        << QByteArray("[Desktop Entry]\nType=Application\n"
                                                      "Name=Editor\nExec=env LANGUAGE=it editor\n");
        QTest::newRow("Vexilo's, edited") << true << QByteArray("# my change\n");
        QTest::newRow("marker copied by hand")
            << false
            << QByteArray("[Desktop Entry]\nX-Vexilo-Language=fr\nX-Vexilo-Checksum=00\n"
                          "Type=Application\nName=Editor\nExec=editor\n");
    }
    void userFileNeverTouched()
    {
        QFETCH(bool, vexiloWroteFirst);
        QFETCH(QByteArray, userText);
        const DesktopApplication editor = app(u"org.example.Editor.desktop"_s);
        const QString path = m_tree->userFolder() + u"/org.example.Editor.desktop"_s;
        if (vexiloWroteFirst)
            QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"fr"_s, m_user),
                     DesktopOverride::Result::Done);
        m_tree->write(u"data/applications/org.example.Editor.desktop"_s, userEntry() + userText);
        const QHash<QString, QByteArray> before = DesktopTree::snapshot(m_tree->userFolder());

        const DesktopOverride::Found found =
            DesktopLanguageSetting::find(editor, *m_entries, m_user);
        QCOMPARE(found.owner, DesktopOverride::Owner::User);
        QCOMPARE(found.path, path);
        QCOMPARE(DesktopLanguageSetting::set(editor, *m_entries, u"de"_s, m_user),
                 DesktopOverride::Result::UserFile);
        QCOMPARE(DesktopLanguageSetting::reset(editor, *m_entries, m_user),
                 DesktopOverride::Result::UserFile);
        QCOMPARE(DesktopTree::snapshot(m_tree->userFolder()), before);
    }

    void flatpakOverride()
    {
        const DesktopApplication flat = app(u"org.example.Flat.desktop"_s);
        QCOMPARE(flat.flatpakId, u"org.example.Flat"_s);
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
        QTest::newRow("plain") << u"org.example.Editor.desktop"_s << false
                               << QStringList{u"--new"_s};
        QTest::newRow("chromium-style") << u"org.example.Editor.desktop"_s << true
                                        << QStringList{u"--lang=pt-BR"_s, u"--new"_s};
        QTest::newRow("flatpak") << u"org.example.Flat.desktop"_s << false
                                 << QStringList{u"run"_s, u"--env=LANGUAGE=pt_BR:de:en"_s,
                                                u"--env=LC_MESSAGES=C.UTF-8"_s,
                                                u"org.example.Flat"_s};
    }
    void launchCommand()
    {
        QFETCH(QString, id);
        QFETCH(bool, chromium);
        QFETCH(QStringList, arguments);
        DesktopApplication application = app(id);
        application.chromium = chromium;
        QProcessEnvironment child = m_user;
        child.insert(u"LANGUAGE"_s, u"pt_BR:de:en"_s);
        child.insert(u"LC_MESSAGES"_s, u"C.UTF-8"_s);
        const DesktopLaunch::Command command =
            DesktopLaunch::command(application, u"pt-BR"_s, m_user, child, m_tree->path());
        QCOMPARE(command.arguments, arguments);
        QVERIFY(command.program.startsWith(m_tree->bin()));
        QCOMPARE(command.environment.value(u"LANGUAGE"_s), u"pt_BR:de:en"_s);
    }

    void environmentLanguages_data()
    {
        QTest::addColumn<QByteArray>("environ");
        QTest::addColumn<QStringList>("languages");
        QTest::newRow("LANGUAGE then locale")
            << QByteArray("LANGUAGE=fr:de\0LANG=es_ES.UTF-8\0", 31)
            << QStringList{u"fr"_s, u"de"_s, u"es_ES"_s};
        QTest::newRow("LC_ALL wins")
            << QByteArray("LC_ALL=it_IT.UTF-8\0LANG=es_ES.UTF-8\0", 36) << QStringList{u"it_IT"_s};
        QTest::newRow("C ignores LANGUAGE")
            << QByteArray("LANGUAGE=fr\0LC_ALL=C\0", 21) << QStringList{};
        QTest::newRow("C.UTF-8 reads it")
            << QByteArray("LANGUAGE=fr\0LC_MESSAGES=C.UTF-8\0", 32) << QStringList{u"fr"_s};
        QTest::newRow("garbage") << QByteArray("\0\0=x\0LANG\0", 10) << QStringList{};
    }
    void environmentLanguages()
    {
        QFETCH(QByteArray, environ);
        QTEST(DesktopProcesses::environmentLanguages(environ), "languages");
    }
};

QTEST_GUILESS_MAIN(TestDesktopOverride)
#include "tst_desktopoverride.moc"

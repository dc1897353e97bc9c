#include "DesktopTree.h"
#include "TestFiles.h"
#include "platform/desktop/DesktopEntries.h"
#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/DesktopExec.h"
#include "platform/desktop/Translations.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Reading the desktop's application menu: Exec lines, the menu's rules and the translations
// each program has.
class TestDesktopEntries : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<DesktopTree> m_tree;

private slots:
    void initTestCase()
    {
        m_tree = std::make_unique<DesktopTree>(m_dir.path());
        DesktopTree &t = *m_tree;
        for (const QString program :
             {"bin/gtkapp", "bin/qtapp", "opt/chromish/chromish", "bin/flatpak", "bin/plain",
              "bin/variants", "bin/torrent-gtk", "bin/sol", "bin/disks", "bin/tagger-qt"})
            t.write(program, "#!/bin/sh\n", true);
        QVERIFY(QFile::link(t.root() + u"/opt/chromish/chromish"_s, t.bin() + u"/chromish"_s));
        const QString sys = t.systemFolder(), user = t.userFolder();
        const std::pair<QString, QByteArray> entries[] = {
            {sys + "/org.example.Gtk.desktop",
             "Name=Gtk App\nName[fr]=Appli Gtk\nIcon=gtk-app.png\nExec=gtkapp %U\n"
             "X-GNOME-Gettext-Domain=gtk-domain\n"},
            {sys + "/qtapp.desktop", "Name=Qt App\nExec=qtapp --new-window %f\n"},
            {sys + "/chromish.desktop", "Name=Chromish\nExec=chromish %U\n"},
            {sys + "/org.example.Flat.desktop",
             "Name=Flat\nExec=flatpak run --branch=stable --command=flat org.example.Flat %u\n"
             "X-Flatpak=org.example.Flat\n"},
            {sys + "/nodisplay.desktop", "Name=No Display\nExec=plain\nNoDisplay=true\n"},
            {sys + "/hidden.desktop", "Name=Hidden\nExec=plain\nHidden=true\n"},
            {sys + "/missing.desktop", "Name=Missing\nExec=no-such-program-here\n"},
            {sys + "/tryexec.desktop", "Name=Try\nExec=plain\nTryExec=no-such-program\n"},
            {sys + "/onlyother.desktop", "Name=Other desk\nExec=plain\nOnlyShowIn=Other;\n"},
            {sys + "/shadowed.desktop", "Name=System copy\nExec=plain\n"},
            {user + "/shadowed.desktop", "Name=User copy\nExec=plain --user\n"},
            // The user hides an entry of the system by one of the same ID.
            {sys + "/unwanted.desktop", "Name=Unwanted\nExec=plain\n"},
            {user + "/unwanted.desktop", "Name=Unwanted\nExec=plain\nHidden=true\n"},
            {sys + "/kde/sub.desktop", "Name=In a subfolder\nExec=plain\n"},
            {sys + "/variants.desktop", "Name=V\nExec=variants\n"},
            {sys + "/torrent.desktop",
             "Name=T\nExec=torrent-gtk\nX-Ubuntu-Gettext-Domain=torrent\n"},
            {sys + "/sol.desktop", "Name=Sol\nExec=sol\n"},
            {sys + "/disks.desktop", "Name=Disks\nExec=disks\n"},
            {sys + "/tagger-qt.desktop", "Name=Tagger\nExec=tagger-qt\n"}};
        for (const auto &[path, lines] : entries)
            t.entry(QFileInfo(path).path(), QFileInfo(path).fileName(), lines);
        t.write(u"system/applications/link.desktop"_s,
                "[Desktop Entry]\nType=Link\nName=Link\nURL=https://example.org\n");

        // Translations of each kind; a folder "pt\n" is no language.
        for (const QString file :
             {"locale/fr/LC_MESSAGES/gtk-domain.mo", "locale/de/LC_MESSAGES/gtk-domain.mo",
              "locale/pt\n/LC_MESSAGES/gtk-domain.mo", "locale/pt_BR/LC_MESSAGES/gtk-domain.mo",
              "locale/sr@latin/LC_MESSAGES/gtk-domain.mo", "locale/es/LC_MESSAGES/other-domain.mo",
              "qtapp/translations/qtapp_fr.qm", "qtapp/translations/qtapp_de_DE.qm",
              "qtapp/translations/qt_ja.qm"})
            t.write("system/" + file, "");
        // Each variant is a language of its own; spellings of one are one.
        for (const QString lang : {"ca", "ca@valencia", "en@shaw", "sr@latin", "sr@Latn", "sr@ije",
                                   "be@latin", "uz@cyrillic", "iw", "he"})
            t.write("system/locale/" + lang + "/LC_MESSAGES/variants.mo", "");
        // The declared domain has no catalogue; the program's name has.
        for (const QString lang : {"fr", "de"})
            t.write("system/locale/" + lang + "/LC_MESSAGES/torrent-gtk.mo", "");
        // Catalogues named after neither: the Debian packages tell them, the package of the
        // entry or one of the same source; the program's most translated domain counts.
        const QString locale = t.systemData() + "/locale/";
        t.package(u"solitaire"_s, u"solitaire"_s,
                  {sys + "/sol.desktop", locale + "fr/LC_MESSAGES/solitaire.mo",
                   locale + "ja/LC_MESSAGES/solitaire.mo",
                   locale + "de/LC_MESSAGES/solitaire-help.mo"});
        t.package(u"disks-ui"_s, u"diskutil"_s, {sys + "/disks.desktop"});
        t.package(
            u"diskutil-data:amd64"_s, u"diskutil"_s,
            {locale + "es/LC_MESSAGES/disk-utility.mo", locale + "it/LC_MESSAGES/disk-utility.mo"});
        t.package(u"unrelated"_s, u"other"_s, {locale + "pl/LC_MESSAGES/disk-utility.mo"});
        // Qt catalogues named after the project, not its Qt build.
        for (const QString file : {"tagger_fr.qm", "tagger_ca@valencia.qm"})
            t.write("system/tagger/translations/" + file, "");
        for (const QString file : {"fr.pak", "en-US.pak", "pt-BR.pak", "README"})
            t.write("opt/chromish/locales/" + file, "");
        for (const QString lang : {"fr", "ja", "pt\n"})
            QDir().mkpath(t.root() +
                          "/data/flatpak/app/org.example.Flat/current/active/files/"
                          "share/locale/" +
                          lang);
    }

    void execArguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("expected"); // empty: refused
        const auto row = [](const char *tag, const char *exec, const QStringList &expected = {}) {
            QTest::newRow(tag) << QString(exec) << expected;
        };
        row("file codes go", "gedit %U", {"gedit"});
        row("codes among options", "app --new %f --x", {"app", "--new", "--x"});
        row("double quotes", "\"/opt/My App/run\" \"a \\\"b\\\" \\$c \\`\"",
            {"/opt/My App/run", "a \"b\" $c `"});
        row("single quotes literal", "sh -c 'echo %%f \\x'", {"sh", "-c", "echo %%f \\x"});
        row("percent sign", "app 100%% A=fr:en", {"app", "100%", "A=fr:en"});
        row("icon name file", "app %i %c %k",
            {"app", "--icon", "the-icon", "The Name", "/e.desktop"});
        row("quoted empty stays", "app \"\"", {"app", QString()});
        row("open quote", "app \"unfinished");
        row("only codes", "%U %f");
        row("env without program", "env A=1");
        row("env option with a value", "env -u GTK_THEME A=1");
    }
    void execArguments()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, expected);
        const auto args =
            DesktopExec::arguments(exec, {u"The Name"_s, u"the-icon"_s, u"/e.desktop"_s});
        QCOMPARE(args.value_or(QStringList()), expected);
        QCOMPARE(args.has_value(), !expected.isEmpty());
        // What quote() writes, arguments() reads back.
        for (const QString &argument : expected)
            QCOMPARE(DesktopExec::arguments("prog " + DesktopExec::quote(argument), {})
                         .value_or(QStringList()),
                     (QStringList{"prog", argument}));
    }

    // The menu's rules, the same whether the whole menu is read or one ID asked for; `exec` is
    // what a listed entry runs, its program first.
    void menuRules_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("exec");
        const auto row = [](const char *id, const char *name = "", const char *exec = "") {
            QTest::newRow(id) << QString(id) << QString(name) << QString(exec);
        };
        row("org.example.Gtk.desktop", "Gtk App", "gtkapp");
        row("qtapp.desktop", "Qt App", "qtapp --new-window");
        row("chromish.desktop", "Chromish", "chromish");
        row("org.example.Flat.desktop", "Flat",
            "flatpak run --branch=stable --command=flat org.example.Flat");
        row("shadowed.desktop", "User copy", "plain --user"); // the user's shadows the system's
        row("kde-sub.desktop", "In a subfolder", "plain");
        for (const char *id :
             {"nodisplay.desktop", "hidden.desktop", "unwanted.desktop", "missing.desktop",
              "tryexec.desktop", "onlyother.desktop", "link.desktop"})
            row(id);
    }
    void menuRules()
    {
        QFETCH(QString, id);
        QFETCH(QString, name);
        QFETCH(QString, exec);
        const DesktopEntries entries(m_tree->setup());
        const QList<DesktopApplication> apps = entries.applications();
        QCOMPARE(apps.size(), 11);
        const auto listed = std::find_if(apps.cbegin(), apps.cend(),
                                         [&](const DesktopApplication &a) { return a.id == id; });
        QCOMPARE(listed == apps.cend() ? QString() : listed->name, name);
        const auto one = entries.application(id);
        QCOMPARE(one ? one->name : QString(), name);
        QCOMPARE(one ? one->arguments : QStringList(), words(exec));
        if (one)
            QCOMPARE(one->program, m_tree->bin() + '/' + words(exec).first());
    }

    void entryDetails()
    {
        const DesktopEntries entries(m_tree->setup());
        QCOMPARE(entries.application(u"org.example.Flat.desktop"_s)->flatpakId,
                 u"org.example.Flat"_s);
        const auto gtk = entries.application(u"org.example.Gtk.desktop"_s);
        QCOMPARE(gtk->gettextDomain, u"gtk-domain"_s);
        QCOMPARE(gtk->icon, u"gtk-app"_s);
        // The name in the user's language: a region falls back to its language.
        for (const auto &[locale, name] :
             {std::pair{"fr_CA.UTF-8", "Appli Gtk"}, std::pair{"de_DE.UTF-8", "Gtk App"},
              std::pair{"C", "Gtk App"}}) {
            DesktopEntries::Setup setup = m_tree->setup();
            setup.locales = {locale};
            QCOMPARE(DesktopEntries(setup).application(u"org.example.Gtk.desktop"_s)->name,
                     QString::fromUtf8(name));
        }
        const QStringList paths = DesktopEntries::candidatePaths(u"/a"_s, u"kde-x-y.desktop"_s);
        QCOMPARE(paths.size(), 4);
        QVERIFY(paths.contains(u"/a/kde/x/y.desktop"_s) && paths.contains(u"/a/kde-x-y.desktop"_s));
        QVERIFY(!DesktopEntries::isSafeId(u"a/../b.desktop"_s));
        QVERIFY(!DesktopEntries::isSafeId(u".desktop"_s));
    }

    // The icon an entry's Icon= names: hicolor, then other themes, each largest first, sizes
    // before data folders, PNG before SVG; then pixmaps. `files` are relative to the system's
    // icons folder, or to the tree when they start with '/' ("a->b" a link, "a/" a folder); '@'
    // in the icon is the tree.
    void iconLookup_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("expected"); // empty: none
        row("largest first", "x", "hicolor/48x48/apps/x.png hicolor/256x256/apps/x.png",
            "hicolor/256x256/apps/x.png");
        row("size before data folder", "x",
            "/data/icons/hicolor/48x48/apps/x.png hicolor/128x128/apps/x.png",
            "hicolor/128x128/apps/x.png");
        row("user's data folder first", "x",
            "/data/icons/hicolor/64x64/apps/x.svg hicolor/64x64/apps/x.png",
            "/data/icons/hicolor/64x64/apps/x.svg");
        row("hicolor before other themes", "x",
            "Adwaita/256x256/apps/x.png hicolor/32x32/apps/x.png", "hicolor/32x32/apps/x.png");
        row("png before svg", "x", "hicolor/scalable/apps/x.svg hicolor/scalable/apps/x.png",
            "hicolor/scalable/apps/x.png");
        row("pixmaps last", "x", "/system/pixmaps/x.png breeze/48x48/apps/x.svg",
            "breeze/48x48/apps/x.svg");
        row("pixmaps xpm", "x", "/system/pixmaps/x.xpm", "/system/pixmaps/x.xpm");
        row("xpm only in pixmaps", "x", "hicolor/48x48/apps/x.xpm", "");
        row("extension in the entry", "x.png", "hicolor/scalable/apps/x.svg",
            "hicolor/scalable/apps/x.svg");
        row("link to a file", "x", "/system/real.png hicolor/256x256/apps/x.png->/system/real.png",
            "hicolor/256x256/apps/x.png");
        row("dangling link and folder passed over", "x",
            "hicolor/256x256/apps/x.png->/system/gone.png hicolor/scalable/apps/x.svg/ "
            "hicolor/48x48/apps/x.png",
            "hicolor/48x48/apps/x.png");
        row("absolute path", "@/elsewhere/x.png", "/elsewhere/x.png", "/elsewhere/x.png");
        row("absolute path missing", "@/elsewhere/x.png", "hicolor/256x256/apps/x.png", "");
        row("missing", "x", "hicolor/256x256/apps/y.png", "");
        row("name reaching out", "../x", "hicolor/256x256/x.png", "");
    }
    void iconLookup()
    {
        QFETCH(QString, icon);
        QFETCH(QString, files);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        DesktopTree t(dir.path());
        t.write(u"bin/plain"_s, "#!/bin/sh\n", true);
        const auto relative = [](const QString &file) {
            return file.startsWith(u'/') ? file.mid(1) : "system/icons/" + file;
        };
        for (const QString &file : words(files)) {
            const QStringList link = file.split(u"->"_s);
            const QString path = t.root() + '/' + relative(link[0]);
            QVERIFY(QDir().mkpath(file.endsWith(u'/') ? path : QFileInfo(path).path()));
            if (link.size() == 2)
                QVERIFY(QFile::link(t.root() + '/' + relative(link[1]), path));
            else if (!file.endsWith(u'/'))
                t.write(relative(file), "icon");
        }
        t.entry(t.systemFolder(), u"icon.desktop"_s,
                "Name=I\nExec=plain\nIcon=" + icon.replace(u'@', t.root()).toUtf8() + '\n');
        const QString want = expected.isEmpty() ? QString() : t.root() + '/' + relative(expected);
        const DesktopEntries entries(t.setup());
        QCOMPARE(entries.applications().value(0).iconFile, want);
        QCOMPARE(entries.application(u"icon.desktop"_s)->iconFile, want);
    }

    void translations_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("codes");
        QTest::addColumn<bool>("chromium");
        row("gettext domain, English added", "org.example.Gtk.desktop", "de en fr pt_BR sr@latin",
            false);
        row("variants, each spelling once", "variants.desktop",
            "be@latin ca ca@valencia en en@shaw he sr@ije sr@latin uz@cyrillic", false);
        row("declared domain without catalogues", "torrent.desktop", "de en fr", false);
        row("package's catalogues", "sol.desktop", "en fr ja", false);
        row("sibling package's catalogues", "disks.desktop", "en es it", false);
        row("qt project name", "tagger-qt.desktop", "ca@valencia en fr", false);
        row("qt catalogues, not Qt's own", "qtapp.desktop", "de_DE en fr", false);
        row("chromium locales", "chromish.desktop", "en-US fr pt-BR", true);
        row("flatpak locale folders", "org.example.Flat.desktop", "en fr ja", false);
        row("none found", "shadowed.desktop", "", false);
    }
    void translations()
    {
        QFETCH(QString, id);
        QFETCH(QString, codes);
        const DesktopEntries entries(m_tree->setup());
        const auto app = entries.application(id);
        QVERIFY(app);
        Translations::Found found = Translations::find(*app, entries.setup());
        found.codes.sort();
        QCOMPARE(found.codes, words(codes));
        QTEST(found.chromium, "chromium");
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("code");
        QTest::newRow("qm region") << u"feather_pad_pt_BR.qm"_s << u"pt_BR"_s;
        QTest::newRow("qm script") << u"app_zh_Hant.qm"_s << u"zh_Hant"_s;
        QTest::newRow("qm no language") << u"app.qm"_s << QString();
        QTest::newRow("qm not a code") << u"app_French.qm"_s << QString();
        QTest::newRow("pak") << u"es-419.pak"_s << u"es-419"_s;
        QTest::newRow("pak other") << u"resources.pak"_s << QString();
    }
    void fileNames()
    {
        QFETCH(QString, file);
        QTEST(file.endsWith(u".qm"_s) ? Translations::qmLanguage(file)
                                      : Translations::pakLanguage(file),
              "code");
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntries)
#include "tst_desktopentries.moc"

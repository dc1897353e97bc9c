#include "DesktopEntries.h"
#include "DesktopEntry.h"
#include "DesktopExec.h"
#include "DesktopTree.h"
#include "Translations.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// Reading the desktop's application menu: Exec lines, the menu's rules and the translations
// each program has.
class TestDesktopEntries : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<DesktopTree> m_tree;

    std::optional<DesktopApplication> find(const QList<DesktopApplication> &apps, const QString &id)
    {
        for (const DesktopApplication &app : apps) {
            if (app.id == id)
                return app;
        }
        return std::nullopt;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_tree = std::make_unique<DesktopTree>(m_dir.path());
        DesktopTree &t = *m_tree;
        t.recorder(u"bin/gtkapp"_s, u"gtkapp"_s);
        t.recorder(u"bin/qtapp"_s, u"qtapp"_s);
        t.recorder(u"opt/chromish/chromish"_s, u"chromish"_s);
        QVERIFY(QFile::link(t.root() + u"/opt/chromish/chromish"_s, t.bin() + u"/chromish"_s));
        t.recorder(u"bin/flatpak"_s, u"flatpak"_s);
        t.recorder(u"bin/plain"_s, u"plain"_s);
        const QString sys = t.systemFolder();
        t.entry(sys, u"org.example.Gtk.desktop"_s,
                "Name=Gtk App\nName[fr]=Appli Gtk\nIcon=gtk-app.png\nExec=gtkapp %U\n"
                "X-GNOME-Gettext-Domain=gtk-domain\n");
        t.entry(sys, u"qtapp.desktop"_s, "Name=Qt App\nExec=qtapp --new-window %f\n");
        t.entry(sys, u"chromish.desktop"_s, "Name=Chromish\nExec=chromish %U\n");
        t.entry(sys, u"org.example.Flat.desktop"_s,
                "Name=Flat\nExec=flatpak run --branch=stable --command=flat org.example.Flat %u\n"
                "X-Flatpak=org.example.Flat\n");
        t.entry(sys, u"nodisplay.desktop"_s, "Name=No Display\nExec=plain\nNoDisplay=true\n");
        t.entry(sys, u"hidden.desktop"_s, "Name=Hidden\nExec=plain\nHidden=true\n");
        t.entry(sys, u"missing.desktop"_s, "Name=Missing\nExec=no-such-program-here\n");
        t.entry(sys, u"tryexec.desktop"_s, "Name=Try\nExec=plain\nTryExec=no-such-program\n");
        t.entry(sys, u"onlyother.desktop"_s, "Name=Other desk\nExec=plain\nOnlyShowIn=Other;\n");
        t.write(u"system/applications/link.desktop"_s,
                "[Desktop Entry]\nType=Link\nName=Link\nURL=https://example.org\n");
        t.entry(sys, u"shadowed.desktop"_s, "Name=System copy\nExec=plain\n");
        t.entry(t.userFolder(), u"shadowed.desktop"_s, "Name=User copy\nExec=plain --user\n");
        // The user hides an entry of the system by one of the same ID.
        t.entry(sys, u"unwanted.desktop"_s, "Name=Unwanted\nExec=plain\n");
        t.entry(t.userFolder(), u"unwanted.desktop"_s, "Name=Unwanted\nExec=plain\nHidden=true\n");
        t.entry(sys + u"/kde"_s, u"sub.desktop"_s, "Name=In a subfolder\nExec=plain\n");

        // Translations of each kind.
        for (const char *lang : {"fr", "de", "pt_BR", "sr@latin"})
            t.write(u"system/locale/%1/LC_MESSAGES/gtk-domain.mo"_s.arg(QLatin1String(lang)), "");
        t.write(u"system/locale/es/LC_MESSAGES/other-domain.mo"_s, "");
        for (const char *file : {"qtapp_fr.qm", "qtapp_de_DE.qm", "qt_ja.qm"})
            t.write(u"system/qtapp/translations/%1"_s.arg(QLatin1String(file)), "");
        for (const char *file : {"fr.pak", "en-US.pak", "pt-BR.pak", "README"})
            t.write(u"opt/chromish/locales/%1"_s.arg(QLatin1String(file)), "");
        for (const char *lang : {"fr", "ja"})
            QDir().mkpath(
                t.root() +
                u"/data/flatpak/app/org.example.Flat/current/active/files/share/locale/"_s +
                QLatin1String(lang));
    }

    void execArguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("valid");
        QTest::newRow("file codes go") << u"gedit %U"_s << QStringList{u"gedit"_s} << true;
        QTest::newRow("codes among options")
            << u"app --new %f --x"_s << QStringList{u"app"_s, u"--new"_s, u"--x"_s} << true;
        QTest::newRow("double quotes")
            << u"\"/opt/My App/run\" \"a \\\"b\\\" \\$c\""_s
            << QStringList{u"/opt/My App/run"_s, u"a \"b\" $c"_s} << true;
        QTest::newRow("single quotes literal")
            << u"sh -c 'echo %%f \\x'"_s << QStringList{u"sh"_s, u"-c"_s, u"echo %%f \\x"_s}
            << true;
        QTest::newRow("percent sign") << u"app 100%%"_s << QStringList{u"app"_s, u"100%"_s} << true;
        QTest::newRow("icon name file")
            << u"app %i %c %k"_s
            << QStringList{u"app"_s, u"--icon"_s, u"the-icon"_s, u"The Name"_s, u"/e.desktop"_s}
            << true;
        QTest::newRow("quoted empty stays")
            << u"app \"\""_s << QStringList{u"app"_s, QString()} << true;
        QTest::newRow("open quote") << u"app \"unfinished"_s << QStringList{} << false;
        QTest::newRow("only codes") << u"%U %f"_s << QStringList{} << false;
        QTest::newRow("env without program") << u"env A=1"_s << QStringList{} << false;
        QTest::newRow("env option with a value")
            << u"env -u GTK_THEME A=1"_s << QStringList{} << false;
    }
    void execArguments()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, expected);
        QFETCH(bool, valid);
        const auto args =
            DesktopExec::arguments(exec, {u"The Name"_s, u"the-icon"_s, u"/e.desktop"_s});
        QCOMPARE(args.has_value(), valid);
        if (valid)
            QCOMPARE(*args, expected);
    }

    // What quote() writes, arguments() reads back.
    void quoteRoundTrip_data()
    {
        QTest::addColumn<QString>("argument");
        for (const QString &a : {u"plain"_s, u"with space"_s, u"LANGUAGE=fr:en"_s, u"q\"u`o$t\\e"_s,
                                 u"50%"_s, QString()})
            QTest::newRow(qPrintable(a.isEmpty() ? u"empty"_s : a)) << a;
    }
    void quoteRoundTrip()
    {
        QFETCH(QString, argument);
        const auto args = DesktopExec::arguments(u"prog "_s + DesktopExec::quote(argument), {});
        QVERIFY(args);
        QCOMPARE(*args, (QStringList{u"prog"_s, argument}));
    }

    void localisedName_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("name");
        QTest::newRow("region falls back to language") << u"fr_CA.UTF-8"_s << u"Appli Gtk"_s;
        QTest::newRow("other language") << u"de_DE.UTF-8"_s << u"Gtk App"_s;
        QTest::newRow("C") << u"C"_s << u"Gtk App"_s;
    }
    void localisedName()
    {
        QFETCH(QString, locale);
        QFETCH(QString, name);
        DesktopEntries::Setup setup = m_tree->setup();
        setup.locales = {locale};
        const auto app = DesktopEntries(setup).application(u"org.example.Gtk.desktop"_s);
        QVERIFY(app);
        QCOMPARE(app->name, name);
    }

    void menuRules_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::newRow("gettext") << u"org.example.Gtk.desktop"_s << u"Gtk App"_s;
        QTest::newRow("qt") << u"qtapp.desktop"_s << u"Qt App"_s;
        QTest::newRow("chromium") << u"chromish.desktop"_s << u"Chromish"_s;
        QTest::newRow("flatpak") << u"org.example.Flat.desktop"_s << u"Flat"_s;
        QTest::newRow("user's shadows") << u"shadowed.desktop"_s << u"User copy"_s;
        QTest::newRow("subfolder") << u"kde-sub.desktop"_s << u"In a subfolder"_s;
        QTest::newRow("no display") << u"nodisplay.desktop"_s << QString();
        QTest::newRow("hidden") << u"hidden.desktop"_s << QString();
        QTest::newRow("hidden by the user's") << u"unwanted.desktop"_s << QString();
        QTest::newRow("program missing") << u"missing.desktop"_s << QString();
        QTest::newRow("try exec missing") << u"tryexec.desktop"_s << QString();
        QTest::newRow("other desktop only") << u"onlyother.desktop"_s << QString();
        QTest::newRow("not an application") << u"link.desktop"_s << QString();
    }
    void menuRules()
    {
        QFETCH(QString, id);
        QFETCH(QString, name);
        const DesktopEntries entries(m_tree->setup());
        const QList<DesktopApplication> apps = entries.applications();
        const auto listed = find(apps, id);
        QCOMPARE(listed ? listed->name : QString(), name);
        // Asked for one ID, the menu answers as the whole scan does.
        const auto one = entries.application(id);
        QCOMPARE(one ? one->name : QString(), name);
        QCOMPARE(apps.size(), 6);
    }

    void programs()
    {
        const DesktopEntries entries(m_tree->setup());
        const auto flat = entries.application(u"org.example.Flat.desktop"_s);
        QVERIFY(flat);
        QCOMPARE(flat->flatpakId, u"org.example.Flat"_s);
        QCOMPARE(flat->arguments.last(), u"org.example.Flat"_s);
        const auto gtk = entries.application(u"org.example.Gtk.desktop"_s);
        QCOMPARE(gtk->program, m_tree->bin() + u"/gtkapp"_s);
        QCOMPARE(gtk->gettextDomain, u"gtk-domain"_s);
        QCOMPARE(gtk->icon, u"gtk-app"_s);
        QCOMPARE(entries.application(u"shadowed.desktop"_s)->arguments,
                 (QStringList{u"plain"_s, u"--user"_s}));
    }

    void translations_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<bool>("chromium");
        QTest::newRow("gettext domain, English added")
            << u"org.example.Gtk.desktop"_s
            << QStringList{u"de"_s, u"en"_s, u"fr"_s, u"pt_BR"_s, u"sr_Latn"_s} << false;
        QTest::newRow("qt catalogues, not Qt's own")
            << u"qtapp.desktop"_s << QStringList{u"de_DE"_s, u"en"_s, u"fr"_s} << false;
        QTest::newRow("chromium locales")
            << u"chromish.desktop"_s << QStringList{u"en-US"_s, u"fr"_s, u"pt-BR"_s} << true;
        QTest::newRow("flatpak locale folders")
            << u"org.example.Flat.desktop"_s << QStringList{u"en"_s, u"fr"_s, u"ja"_s} << false;
        QTest::newRow("none found") << u"shadowed.desktop"_s << QStringList{} << false;
    }
    void translations()
    {
        QFETCH(QString, id);
        QFETCH(QStringList, codes);
        QFETCH(bool, chromium);
        const DesktopEntries entries(m_tree->setup());
        const auto app = entries.application(id);
        QVERIFY(app);
        Translations::Found found = Translations::find(*app, entries.setup());
        found.codes.sort();
        QCOMPARE(found.codes, codes);
        QCOMPARE(found.chromium, chromium);
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
        QFETCH(QString, code);
        const QString found = file.endsWith(u".qm"_s) ? Translations::qmLanguage(file)
                                                      : Translations::pakLanguage(file);
        QCOMPARE(found, code);
    }

    void candidatePaths()
    {
        const QStringList paths = DesktopEntries::candidatePaths(u"/a"_s, u"kde-x-y.desktop"_s);
        QCOMPARE(paths.size(), 4);
        QVERIFY(paths.contains(u"/a/kde/x/y.desktop"_s));
        QVERIFY(paths.contains(u"/a/kde-x-y.desktop"_s));
        QVERIFY(!DesktopEntries::isSafeId(u"a/../b.desktop"_s));
        QVERIFY(!DesktopEntries::isSafeId(u".desktop"_s));
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntries)
#include "tst_desktopentries.moc"

#include "AppController.h"
#include "AppRowView.h"
#include "DesktopTree.h"
#include "LanguagePopUp.h"
#include "MainWindow.h"
#include "SpinningIndicator.h"
#include "TestEnvironment.h"
#include "WindowDriver.h"
#include "catalogue/Catalogue.h"
#include "row/RowBrowser.h"
#include "row/RowGeometry.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>

using namespace Qt::StringLiterals;

// The desktop's own applications through the window, as the user meets them: in the row, their
// languages, Launch, Always open and its reset, and the running-copy line.
class TestDesktopApps : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<DesktopTree> m_tree;
    std::unique_ptr<AppController> m_controller;
    QByteArray m_path;

    MainWindow &window() { return m_controller->window(); }

    void start()
    {
        m_env->setDesktopEntries(std::make_shared<DesktopEntries>(m_tree->setup()));
        m_controller =
            std::make_unique<AppController>(std::make_shared<Platform>(m_env->platform()));
        QSignalSpy shown(m_controller.get(), &AppController::catalogueShown);
        m_controller->start();
        QVERIFY(shown.wait(20000));
    }

    QStringList rowNames()
    {
        QStringList names;
        for (const AppListingPtr &listing : m_controller->row().shown())
            names.append(listing->localizedAppName());
        return names;
    }

    void click(const QString &name)
    {
        const int index = int(rowNames().indexOf(name));
        QVERIFY2(index >= 0, qPrintable(name));
        WindowDriver::clickIcon(*m_controller, index);
    }

    LanguagePopUp *popUp() { return window().findChild<LanguagePopUp *>(); }

    QStringList popUpTitles()
    {
        QStringList titles;
        for (QAction *action : popUp()->menu()->actions()) {
            if (!action->isSeparator())
                titles.append(action->text());
        }
        return titles;
    }

    // The visible label that starts so.
    QString label(const QString &start)
    {
        for (QLabel *label : window().findChildren<QLabel *>()) {
            if (label->text().startsWith(start) && label->isVisible())
                return label->text();
        }
        return {};
    }

    void pick(const QString &title) { WindowDriver::pick(window(), title); }
    QPushButton *launchButton() { return WindowDriver::launchButton(window()); }
    bool isIdle() { return WindowDriver::isIdle(window()); }
    QMessageBox *sheet() { return WindowDriver::sheet(window()); }
    void answer(const QString &button) { WindowDriver::answer(window(), button); }

    void launch(const QString &name, const QString &language)
    {
        click(name);
        pick(language);
        QTest::mouseClick(launchButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 15000);
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage(u"en_US"_s, u"en:it"_s);
        m_tree = std::make_unique<DesktopTree>(m_env->root());
        DesktopTree &t = *m_tree;
        m_path = qgetenv("PATH");
        qputenv("PATH", t.path().toUtf8());
        t.recorder(u"bin/gtkapp"_s, u"gtkapp"_s);
        t.recorder(u"opt/chromish/chromish"_s, u"chromish"_s);
        t.recorder(u"bin/flatpak"_s, u"flatpak"_s);
        t.recorder(u"bin/plain"_s, u"plain"_s);
        const QString sys = t.systemFolder();
        t.entry(sys, u"org.example.Gtk.desktop"_s,
                "Name=Gtk App\nExec=gtkapp --title \"Two words\" %U\n"
                "X-GNOME-Gettext-Domain=gtk-domain\n");
        for (const char *lang : {"fr", "de"})
            t.write(u"system/locale/%1/LC_MESSAGES/gtk-domain.mo"_s.arg(QLatin1String(lang)), "");
        t.entry(sys, u"chromish.desktop"_s,
                ("Name=Chromish\nExec=" + t.root() + "/opt/chromish/chromish %U\n").toUtf8());
        for (const char *file : {"fr.pak", "de.pak", "en-US.pak"})
            t.write(u"opt/chromish/locales/%1"_s.arg(QLatin1String(file)), "");
        t.entry(sys, u"org.example.Flat.desktop"_s,
                "Name=Flat\nExec=flatpak run --branch=stable org.example.Flat %u\n"
                "X-Flatpak=org.example.Flat\n");
        for (const char *lang : {"fr", "ja"})
            QDir().mkpath(
                t.root() +
                u"/data/flatpak/app/org.example.Flat/current/active/files/share/locale/"_s +
                QLatin1String(lang));
        t.entry(sys, u"untranslated.desktop"_s, "Name=Untranslated\nExec=plain\n");
        t.entry(sys, u"secret.desktop"_s, "Name=Secret\nExec=plain\nNoDisplay=true\n");
        t.entry(sys, u"console.desktop"_s, "Name=Console\nExec=plain\nTerminal=true\n");
        // The user's own entries.
        t.entry(t.userFolder(), u"mine.desktop"_s, "Name=Mine\nExec=plain --mine\n");
        t.entry(t.userFolder(), u"untranslated.desktop"_s,
                "Name=Untranslated\nExec=env LANGUAGE=it plain\n");
    }

    void cleanup()
    {
        if (m_controller)
            QTRY_VERIFY_WITH_TIMEOUT(isIdle(), 30000);
        m_controller.reset();
        for (const QString &name : {u"gtkapp"_s, u"chromish"_s, u"flatpak"_s, u"plain"_s}) {
            for (const QString &line : m_tree->log(name)) {
                if (line.startsWith(u"start "))
                    ::kill(pid_t(line.section(u' ', 1, 1).toLongLong()), SIGKILL);
            }
        }
        qputenv("PATH", m_path);
    }

    void rowListsTheMenu()
    {
        start();
        // Sorted by name; the hidden and terminal entries are left out.
        QCOMPARE(rowNames(), (QStringList{u"Chromish"_s, u"Flat"_s, u"Gtk App"_s, u"Mine"_s,
                                          u"Untranslated"_s}));
        window().findChild<QLineEdit *>()->setText(u"gtk"_s);
        QTRY_COMPARE(rowNames(), QStringList{u"Gtk App"_s});
    }

    void languagesOfEachKind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QStringList>("titles");
        const QString always = u"Always open in this language"_s;
        QTest::newRow("gettext") << u"Gtk App"_s << u"Available in 3 different languages."_s
                                 << QStringList{always, u"English"_s, u"French"_s, u"German"_s};
        QTest::newRow("chromium") << u"Chromish"_s << u"Available in 3 different languages."_s
                                  << QStringList{always, u"English (United States)"_s, u"French"_s,
                                                 u"German"_s};
        QTest::newRow("flatpak") << u"Flat"_s << u"Available in 3 different languages."_s
                                 << QStringList{always, u"English"_s, u"French"_s, u"Japanese"_s};
        QTest::newRow("none found")
            << u"Untranslated"_s << u"(Unable to determine available languages)"_s << QStringList{};
    }
    void languagesOfEachKind()
    {
        QFETCH(QString, name);
        QFETCH(QString, count);
        QFETCH(QStringList, titles);
        start();
        click(name);
        QCOMPARE(label(name), name);
        QVERIFY(!label(count).isEmpty());
        QCOMPARE(popUpTitles(), titles);
        QCOMPARE(launchButton()->isEnabled(), !titles.isEmpty());
    }

    void launchOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("expected");
        QTest::newRow("gettext") << u"Gtk App"_s << u"gtkapp"_s
                                 << u"[--title] [Two words] LANGUAGE=fr:en:it"_s;
        QTest::newRow("chromium") << u"Chromish"_s << u"chromish"_s
                                  << u"[--lang=fr] LANGUAGE=fr:en:it"_s;
        QTest::newRow("flatpak") << u"Flat"_s << u"flatpak"_s
                                 << u"[run] [--env=LANGUAGE=fr:en:it] "_s;
    }
    void launchOnce()
    {
        QFETCH(QString, name);
        QFETCH(QString, log);
        QFETCH(QString, expected);
        start();
        launch(name, u"French"_s);
        const QStringList lines = m_tree->log(log);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().contains(expected), qPrintable(lines.first()));
        if (log == u"flatpak")
            QVERIFY(lines.first().contains(u"[--branch=stable] [org.example.Flat] LANGUAGE="_s));
        // The copy's own environment tells its language.
        QCOMPARE(WindowDriver::runningLine(window()), u"Currently open in French."_s);
    }

    void alwaysOpenAndReset()
    {
        const QHash<QString, QByteArray> before = DesktopTree::snapshot(m_tree->userFolder());
        start();
        launch(u"Gtk App"_s, u"German"_s);
        QCOMPARE(WindowDriver::runningLine(window()), u"Currently open in German."_s);

        pick(u"French"_s);
        pick(u"Always open in this language"_s);
        QCOMPARE(sheet()->text(), u"Always open in French?"_s);
        QCOMPARE(sheet()->informativeText(), u"Vexilo will need to quit Gtk App."_s);
        answer(u"OK"_s);
        QTRY_VERIFY_WITH_TIMEOUT(m_tree->log(u"gtkapp"_s).size() == 3 && isIdle(), 20000);
        const QStringList lines = m_tree->log(u"gtkapp"_s);
        QVERIFY(lines.at(1).startsWith(u"end "_s));
        QVERIFY2(lines.at(2).contains(u"LANGUAGE=fr:en:it"_s), qPrintable(lines.at(2)));
        QVERIFY(popUp()->itemState(0));
        QFile written(m_tree->userFolder() + u"/org.example.Gtk.desktop"_s);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains("Exec=env LANGUAGE=fr:en:it"));
        written.close();

        // Selected again, the mark is read back from the override.
        click(u"Mine"_s);
        click(u"Gtk App"_s);
        pick(u"French"_s);
        QVERIFY(popUp()->itemState(0));

        pick(u"Always open in this language"_s);
        QCOMPARE(sheet()->text(), u"Reset to default language?"_s);
        answer(u"OK"_s);
        QTRY_VERIFY_WITH_TIMEOUT(isIdle() && !popUp()->itemState(0), 20000);
        QCOMPARE(DesktopTree::snapshot(m_tree->userFolder()), before);
    }

    void userOverrideIsLeftAlone()
    {
        const QHash<QString, QByteArray> before = DesktopTree::snapshot(m_tree->userFolder());
        // The user's own entry for it gives it a language; Vexilo finds none to offer, so the
        // test gives it one.
        m_tree->write(u"system/locale/fr/LC_MESSAGES/untranslated.mo"_s, "");
        m_tree->write(u"system/locale/de/LC_MESSAGES/untranslated.mo"_s, "");
        start();
        click(u"Untranslated"_s);
        pick(u"German"_s);
        pick(u"Always open in this language"_s);
        QCOMPARE(sheet()->text(), u"The language was not changed"_s);
        QVERIFY(
            sheet()->informativeText().contains(m_tree->userFolder() + u"/untranslated.desktop"_s));
        QCOMPARE(sheet()->buttons().size(), 1);
        answer(u"OK"_s);
        QCOMPARE(DesktopTree::snapshot(m_tree->userFolder()), before);
        QVERIFY(m_tree->log(u"plain"_s).isEmpty());
    }
};

QTEST_MAIN(TestDesktopApps)
#include "tst_desktopapps.moc"

#include "AppController.h"
#include "AppRowView.h"
#include "BundleBuilder.h"
#include "HiddenAppsSheet.h"
#include "HiddenAppsTableModel.h"
#include "ListingNames.h"
#include "MainWindow.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "catalogue/Catalogue.h"
#include "panel/Selection.h"
#include "row/RowBrowser.h"
#include "row/RowGeometry.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// What a sheet on the main window says: title, then message.
using SheetLines = QStringList;

} // namespace

// Adding, removing and hiding applications through the real window, with a stand-in for the
// file chooser.
class TestAddRemove : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QStringList m_chosen;

    QString outside(const QString &name, const QString &folder = "Elsewhere")
    {
        return BundleBuilder(m_env->root() + '/' + folder + '/' + name + ".app")
            .identifier("org.example." + name)
            .write();
    }
    void installed(const QStringList &names)
    {
        for (const QString &name : names)
            BundleBuilder(m_env->applicationsDirectory() + '/' + name + ".app")
                .identifier("org.example." + name)
                .write();
    }

    // One start of Vexilo up to the end of loading; the file chooser is a stand-in unless
    // `realChooser`.
    std::unique_ptr<AppController> start(bool realChooser = false)
    {
        auto c = std::make_unique<AppController>(std::make_shared<Platform>(m_env->platform()));
        if (!realChooser)
            c->setApplicationChooser(
                [this](QWidget *, std::function<void(const QStringList &)> done) {
                    done(m_chosen);
                });
        QSignalSpy shown(c.get(), &AppController::catalogueShown);
        c->start();
        if (!shown.wait(20000))
            qWarning("catalogue was not shown");
        return c;
    }

    static QAction *menuCommand(AppController &c, const QString &text)
    {
        for (QAction *menu : c.window().menuBar()->actions()) {
            for (QAction *action : menu->menu()->actions()) {
                if (action->text() == text)
                    return action;
            }
        }
        return nullptr;
    }
    void add(AppController &c, const QStringList &paths)
    {
        m_chosen = paths;
        menuCommand(c, u"Add Application…"_s)->trigger();
    }

    static QMessageBox *sheet(AppController &c)
    {
        for (QMessageBox *box : c.window().findChildren<QMessageBox *>()) {
            if (box->isVisible())
                return box;
        }
        return nullptr;
    }
    static SheetLines sheetLines(AppController &c)
    {
        QMessageBox *box = sheet(c);
        return box ? SheetLines{box->text(), box->informativeText()} : SheetLines{};
    }
    static void answer(AppController &c, const QString &button)
    {
        QMessageBox *box = sheet(c);
        QVERIFY(box);
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == button) {
                b->click();
                QTRY_VERIFY(!box->isVisible());
                return;
            }
        }
        QFAIL(qPrintable("no button " + button));
    }

    // The Remove command of the row's context menu over icon `index`.
    static void removeWithMenu(AppController &c, int index)
    {
        auto *row = c.window().findChild<AppRowView *>();
        row->repaint();
        const QPoint icon = RowGeometry::iconRect(index, c.row().selected() == index).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, icon, row->mapToGlobal(icon));
        QApplication::sendEvent(row, &event);
        auto *menu = row->findChild<QMenu *>();
        QTRY_VERIFY(menu->isVisible());
        menu->actions().first()->trigger();
        menu->hide();
    }

    static HiddenAppsSheet *showApps(AppController &c)
    {
        menuCommand(c, "Show Apps")->trigger();
        // A sheet closed before lingers until the event loop deletes it.
        for (HiddenAppsSheet *sheet : c.window().findChildren<HiddenAppsSheet *>()) {
            if (sheet->isVisible())
                return sheet;
        }
        return nullptr;
    }
    // Switches the row of the application named `name` in the sheet with the keyboard.
    static void toggle(HiddenAppsSheet *sheet, const QString &name)
    {
        auto *table = sheet->findChild<QAbstractItemView *>();
        const auto &model = sheet->model();
        const int shown = model.column("shown");
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.list().listing(row)->name() == name) {
                table->setCurrentIndex(model.index(row, shown));
                QTest::keyClick(table, Qt::Key_Space);
                return;
            }
        }
        QFAIL(qPrintable("no row " + name));
    }
    static QList<bool> checks(HiddenAppsSheet *sheet)
    {
        const auto &model = sheet->model();
        QList<bool> out;
        for (int row = 0; row < model.rowCount(); ++row)
            out.append(model.index(row, model.column("shown")).data(Qt::CheckStateRole) ==
                       Qt::Checked);
        return out;
    }
    static void close(HiddenAppsSheet *sheet, const QString &button)
    {
        for (QAbstractButton *b : sheet->findChild<QDialogButtonBox *>()->buttons()) {
            if (b->text() == button)
                b->click();
        }
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
    }

    void add_data()
    {
        QTest::addColumn<QStringList>("hidden");
        QTest::addColumn<QStringList>("chosen"); // "+Name": installed; else from elsewhere
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QStringList>("extraApps");
        QTest::addColumn<int>("selected");
        QTest::addColumn<SheetLines>("sheetShown");

        QTest::newRow("three chosen, one shown")
            << QStringList{} << QStringList{"Zulu", "+Beta", "Delta"}
            << QStringList{"Alpha", "Beta", "Delta", "Gamma", "Zulu"}
            << QStringList{"org.example.Zulu", "org.example.Delta"} << 4
            << SheetLines{"Done!", "2 apps have been added to Vexilo."};
        QTest::newRow("one new") << QStringList{} << QStringList{"Delta"}
                                 << QStringList{"Alpha", "Beta", "Delta", "Gamma"}
                                 << QStringList{"org.example.Delta"} << 2 << SheetLines{};
        QTest::newRow("only shown ones")
            << QStringList{} << QStringList{"+Alpha", "+Gamma"}
            << QStringList{"Alpha", "Beta", "Gamma"} << QStringList{} << 0
            << SheetLines{"No apps were added.",
                          "All the applications you selected are already in Vexilo."};
        QTest::newRow("a hidden one")
            << QStringList{"org.example.Beta"} << QStringList{"+Beta"}
            << QStringList{"Alpha", "Beta", "Gamma"} << QStringList{} << 1 << SheetLines{};
        QTest::newRow("two copies of one application")
            << QStringList{} << QStringList{"Delta", "Delta@Copy"}
            << QStringList{"Alpha", "Beta", "Delta", "Delta", "Gamma"}
            << QStringList{"org.example.Delta", "org.example.Delta"} << 2
            << SheetLines{"Done!", "2 apps have been added to Vexilo."};
    }
    void add()
    {
        QFETCH(QStringList, hidden);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, row);
        QFETCH(QStringList, extraApps);
        QFETCH(int, selected);
        QFETCH(SheetLines, sheetShown);
        installed({"Alpha", "Beta", "Gamma"});
        QStringList paths;
        for (const QString &name : chosen) {
            if (name.startsWith('+'))
                paths.append(m_env->applicationsDirectory() + '/' + name.mid(1) + ".app");
            else if (name.contains('@'))
                paths.append(outside(name.section('@', 0, 0), name.section('@', 1)));
            else
                paths.append(outside(name));
        }
        {
            UserDefaults stored(m_env->platform().preferences, "org.vexilo.Vexilo");
            stored.setObject("HiddenApps", hidden);
        }
        auto c = start();
        add(*c, paths);

        QCOMPARE(names(c->row().shown()), row);
        QCOMPARE(c->defaults().stringArrayForKey("ExtraApps"), extraApps);
        QCOMPARE(c->row().selected(), selected);
        QCOMPARE(c->selection().panel().name, row.at(selected));
        QCOMPARE(sheetLines(*c), sheetShown);
        if (!sheetShown.isEmpty())
            QCOMPARE(sheet(*c)->buttons().size(), 1);
        // The stored defaults are what the next start reads.
        c.reset();
        c = start();
        QCOMPARE(names(c->row().shown()), row);
        QVERIFY(c->defaults().stringArrayForKey("HiddenApps").isEmpty());
    }

    // A chosen folder that is no application is named; nothing is stored.
    void notAnApplication()
    {
        installed({"Alpha"});
        QDir().mkpath(m_env->root() + "/Elsewhere/Notes");
        auto c = start();
        add(*c, {outside("Delta"), m_env->root() + "/Elsewhere/Notes"});
        QCOMPARE(sheetLines(*c).value(0), "Notes is not an application.");
        QCOMPARE(names(c->row().shown()), QStringList{"Alpha"});
        QVERIFY(!c->defaults().hasStoredValue("ExtraApps"));
    }

    void remove_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("shownInPanel");
        QTest::newRow("index 0") << 0 << "OK" << 0 << "Beta";
        QTest::newRow("index 4") << 4 << "OK" << 3 << "Delta";
        QTest::newRow("cancelled") << 4 << "Cancel" << 0 << "Alpha";
    }
    void remove()
    {
        QFETCH(int, index);
        QFETCH(QString, answer);
        QFETCH(int, selected);
        QFETCH(QString, shownInPanel);
        const QStringList all{"Alpha", "Beta", "Charlie", "Delta", "Echo", "Foxtrot"};
        installed(all);
        auto c = start();
        QVERIFY(QTest::qWaitForWindowExposed(&c->window()));
        removeWithMenu(*c, index);
        QCOMPARE(sheetLines(*c),
                 (SheetLines{"Are you sure you want to remove " + all.at(index) + " from Vexilo?",
                             "You can restore it later using \"Edit > Show Apps\"."}));
        this->answer(*c, answer);

        const bool removed = answer == "OK";
        QStringList row = all;
        if (removed)
            row.removeAt(index);
        QCOMPARE(names(c->row().shown()), row);
        QCOMPARE(c->row().selected(), selected);
        QCOMPARE(c->selection().panel().name, shownInPanel);
        QCOMPARE(c->defaults().stringArrayForKey("HiddenApps"),
                 removed ? QStringList{"org.example." + all.at(index)} : QStringList{});
        QVERIFY(!c->defaults().hasStoredValue("ExtraApps"));

        // The hidden-applications list shows it with its check box off.
        HiddenAppsSheet *list = showApps(*c);
        QVERIFY(list);
        QList<bool> expected(all.size(), true);
        expected[index] = !removed;
        QCOMPARE(checks(list), expected);
        close(list, "Cancel");
    }

    // The last visible application leaves: the panel is blank and nothing refers to it.
    void removeTheLastOne()
    {
        installed({"Alpha"});
        auto c = start();
        removeWithMenu(*c, 0);
        answer(*c, "OK");
        QVERIFY(c->row().shown().isEmpty());
        QVERIFY(!c->selection().panel().showsApplication);
        QVERIFY(!c->row().shownAt(c->row().selected()));
    }

    // Hidden applications are remembered by identifier: one without is not hidden, and says so.
    void removeWithoutIdentifier()
    {
        installed({"Alpha"});
        BundleBuilder(m_env->applicationsDirectory() + "/Plain.app").languages({"en"}).write();
        auto c = start();
        removeWithMenu(*c, 1);
        QCOMPARE(sheetLines(*c).value(0), "Plain cannot be removed from Vexilo.");
        QCOMPARE(sheet(*c)->buttons().size(), 1);
        answer(*c, "OK");
        QCOMPARE(names(c->row().shown()), (QStringList{"Alpha", "Plain"}));
        QVERIFY(!c->defaults().hasStoredValue("HiddenApps"));
    }

    // OK stores what the list shows; Cancel stores nothing and reopening shows the stored state.
    void hiddenList()
    {
        installed({"Alpha", "Beta", "Gamma"});
        {
            UserDefaults stored(m_env->platform().preferences, "org.vexilo.Vexilo");
            stored.setObject("HiddenApps", QVariantList{"org.example.Beta", 5, "org.example.Beta"});
        }
        auto c = start();
        QSignalSpy listChanged(&c->catalogue(), &Catalogue::listChanged);
        QSignalSpy resized(&c->row(), &RowBrowser::sizeUpdateRequested);

        HiddenAppsSheet *list = showApps(*c);
        QCOMPARE(list->windowModality(), Qt::WindowModal);
        QCOMPARE(checks(list), (QList<bool>{true, false, true}));
        toggle(list, "Gamma");
        toggle(list, "Beta");
        close(list, "Cancel");
        QVERIFY(listChanged.isEmpty());
        QCOMPARE(c->defaults().objectForKey("HiddenApps"),
                 QVariant(QVariantList{"org.example.Beta", 5, "org.example.Beta"}));

        list = showApps(*c);
        QCOMPARE(checks(list), (QList<bool>{true, false, true}));
        toggle(list, "Gamma");
        close(list, "OK");
        QCOMPARE(listChanged.size(), 1);
        QCOMPARE(resized.size(), 1);
        QCOMPARE(names(c->row().shown()), QStringList{"Alpha"});
        QCOMPARE(
            c->defaults().objectForKey("HiddenApps"),
            QVariant(QVariantList{"org.example.Beta", 5, "org.example.Beta", "org.example.Gamma"}));

        // Shown again: every occurrence goes, and it returns at its place.
        list = showApps(*c);
        toggle(list, "Beta");
        close(list, "OK");
        QCOMPARE(listChanged.size(), 2);
        QCOMPARE(names(c->row().shown()), (QStringList{"Alpha", "Beta"}));
        QCOMPARE(c->defaults().objectForKey("HiddenApps"),
                 QVariant(QVariantList{5, "org.example.Gamma"}));
        // The row's width follows the list.
        auto *row = c->window().findChild<AppRowView *>();
        QCOMPARE(row->size(), RowGeometry::sizeToFit(2, row->visibleArea()));
    }

    // A B C D E with C selected; hiding one of them keeps the selection near.
    void selectionAfterHiding_data()
    {
        QTest::addColumn<QString>("hide");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("shownInPanel");
        QTest::newRow("the selected one") << "Charlie" << 1 << "Beta";
        QTest::newRow("one before it") << "Alpha" << 1 << "Charlie";
        QTest::newRow("one after it") << "Delta" << 2 << "Charlie";
    }
    void selectionAfterHiding()
    {
        QFETCH(QString, hide);
        QFETCH(int, selected);
        QFETCH(QString, shownInPanel);
        installed({"Alpha", "Beta", "Charlie", "Delta", "Echo"});
        auto c = start();
        c->window().findChild<AppRowView *>()->activate(2);
        QCOMPARE(c->selection().panel().name, "Charlie");
        HiddenAppsSheet *list = showApps(*c);
        toggle(list, hide);
        close(list, "OK");
        QCOMPARE(c->row().selected(), selected);
        QCOMPARE(c->selection().panel().name, shownInPanel);
    }

    // A failed write is told, and nothing changes.
    void failedWriteIsReported()
    {
        installed({"Alpha"});
        auto c = start();
        const QString folder = m_env->preferencesDirectory();
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        add(*c, {outside("Delta")});
        QCOMPARE(sheetLines(*c).value(0), "Vexilo could not save your change.");
        QVERIFY(sheetLines(*c).value(1).contains(folder));
        QCOMPARE(names(c->row().shown()), QStringList{"Alpha"});
    }

    // Through the window from start to restart: two bundles from outside the applications
    // folder added with the real file chooser, one hidden with the context menu.
    void addHideRestart()
    {
        installed({"Mike"});
        outside("Kilo", "Downloads");
        const QString lima = outside("Lima", "Downloads");
        auto c = start(true);

        menuCommand(*c, u"Add Application…"_s)->trigger();
        QFileDialog *chooser = nullptr;
        QTRY_VERIFY((chooser = qApp->activeModalWidget()
                                   ? qobject_cast<QFileDialog *>(qApp->activeModalWidget())
                                   : nullptr));
        chooser->setDirectory(m_env->root() + "/Downloads");
        auto *view = chooser->findChild<QAbstractItemView *>("listView");
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 2);
        view->selectAll();
        for (QAbstractButton *button : chooser->findChild<QDialogButtonBox *>()->buttons()) {
            if (button->text() == "Add")
                button->click();
        }
        QTRY_COMPARE(names(c->row().shown()), (QStringList{"Kilo", "Lima", "Mike"}));
        answer(*c, "OK"); // Done!

        QVERIFY(QTest::qWaitForWindowExposed(&c->window()));
        removeWithMenu(*c, 1);
        answer(*c, "OK");
        QCOMPARE(names(c->row().shown()), (QStringList{"Kilo", "Mike"}));

        c.reset();
        c = start();
        QCOMPARE(names(c->row().shown()), (QStringList{"Kilo", "Mike"}));
        QCOMPARE(names(c->catalogue().allApps()), (QStringList{"Kilo", "Lima", "Mike"}));
        QCOMPARE(c->catalogue().allApps().at(1)->path(), QFileInfo(lima).canonicalFilePath());
    }
};

QTEST_MAIN(TestAddRemove)
#include "tst_addremove.moc"

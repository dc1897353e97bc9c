#include "BundleBuilder.h"
#include "HiddenAppsSheet.h"
#include "HiddenAppsTableModel.h"
#include "ListingNames.h"
#include "TestEnvironment.h"
#include "UserDefaults.h"
#include "WindowDriver.h"
#include "panel/Selection.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>

using namespace Qt::StringLiterals;
using namespace WindowDriver;

// Adding, removing and hiding applications through the real window; which application joins,
// leaves or is selected then is the catalogue's rule, tested on its own.
class TestAddRemove : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QStringList m_chosen;

    // "Folder/Name.app" below the test's root is a bundle, anything else a plain folder; a
    // bundle named Plain has no identifier.
    QString make(const QString &relative)
    {
        const QString path = m_env->root() + '/' + relative;
        const QString name = QFileInfo(path).completeBaseName();
        if (QFileInfo::exists(path) || !relative.endsWith(".app"))
            return QDir().mkpath(path) ? path : QString();
        BundleBuilder builder(path);
        if (name != "Plain")
            builder.identifier("org.example." + name);
        return builder.write();
    }
    void installed(const QStringList &names)
    {
        for (const QString &name : names)
            make("Applications/" + name + ".app");
    }
    // A start whose file chooser hands over m_chosen; the real one when `realChooser`.
    std::unique_ptr<AppController> start(bool realChooser = false)
    {
        return WindowDriver::start(m_env->platform(), [this, realChooser](AppController &c) {
            if (!realChooser)
                c.setApplicationChooser([this](QWidget *, const auto &done) { done(m_chosen); });
        });
    }
    // Switches the named application's check box in the Show Apps list, then closes it with
    // Return (OK) or Escape (Cancel).
    static void toggleInShowApps(AppController &c, const QString &name, Qt::Key close)
    {
        menuCommand(c.window(), "Show Apps");
        HiddenAppsSheet *list = nullptr;
        for (HiddenAppsSheet *sheet : c.window().findChildren<HiddenAppsSheet *>())
            list = sheet->isVisible() ? sheet : list;
        QVERIFY(list && list->windowModality() == Qt::WindowModal);
        auto *table = list->findChild<QAbstractItemView *>();
        for (int row = 0; row < list->model().rowCount(); ++row) {
            if (list->model().list().listing(row)->name() == name)
                table->setCurrentIndex(list->model().index(row, list->model().column("shown")));
        }
        QTest::keyClick(table, Qt::Key_Space);
        QTest::keyClick(table, close);
        QTRY_VERIFY(!list->isVisible());
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
    }

    // Alpha, Beta and Gamma are installed; what the Add command then shows.
    void add_data()
    {
        QTest::addColumn<QString>("hidden");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<bool>("unwritable");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("sheet");
        const QStringList abg{"Alpha", "Beta", "Gamma"};
        QTest::newRow("two new and a shown one")
            << "" << QStringList{"X/Zulu.app", "Applications/Beta.app", "X/Delta.app"} << false
            << QStringList{"Alpha", "Beta", "Delta", "Gamma", "Zulu"} << "Zulu"
            << "Done! 2 apps have been added to Vexilo.";
        QTest::newRow("one new") << "" << QStringList{"X/Delta.app"} << false
                                 << QStringList{"Alpha", "Beta", "Delta", "Gamma"} << "Delta"
                                 << "";
        QTest::newRow("a hidden one shown again")
            << "org.example.Beta" << QStringList{"Applications/Beta.app"} << false << abg << "Beta"
            << "";
        QTest::newRow("only shown ones")
            << "" << QStringList{"Applications/Alpha.app", "Applications/Gamma.app"} << false << abg
            << "Alpha"
            << "No apps were added. All the applications you selected are already in Vexilo.";
        QTest::newRow("a folder that is no application")
            << "" << QStringList{"X/Delta.app", "X/Notes"} << false << abg << "Alpha"
            << "Notes is not an application.";
        QTest::newRow("preferences that cannot be written")
            << "" << QStringList{"X/Delta.app"} << true << abg << "Alpha"
            << "Vexilo could not save your change.";
    }
    void add()
    {
        QFETCH(QString, hidden);
        QFETCH(QStringList, chosen);
        QFETCH(bool, unwritable);
        QFETCH(QStringList, row);
        QFETCH(QString, selected);
        QFETCH(QString, sheet);
        installed({"Alpha", "Beta", "Gamma"});
        UserDefaults(m_env->platform().preferences, "org.vexilo.Vexilo")
            .setObject("HiddenApps", hidden.isEmpty() ? QStringList{} : QStringList{hidden});
        m_chosen.clear();
        for (const QString &relative : chosen)
            m_chosen.append(make(relative));
        auto c = start();
        const QString folder = m_env->preferencesDirectory();
        if (unwritable) {
            QVERIFY(QDir(folder).removeRecursively());
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        menuCommand(c->window(), u"Add Application…"_s);

        QCOMPARE(names(c->row().shown()), row);
        QCOMPARE(c->row().shownAt(c->row().selected())->name(), selected);
        QCOMPARE(c->selection().panel().name, selected);
        const QString shown = sheetLines(c->window()).join(' ');
        QVERIFY2(sheet.isEmpty() ? shown.isEmpty() : shown.startsWith(sheet), qPrintable(shown));
        QVERIFY(!unwritable || shown.contains(folder));
        QVERIFY(c->defaults().stringArrayForKey("HiddenApps").isEmpty());
    }

    // Remove over icon `index`, answered with `button`.
    void remove_data()
    {
        QTest::addColumn<QStringList>("apps");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("panel"); // empty: blank
        const QStringList five{"Alpha", "Beta", "Charlie", "Delta", "Echo"};
        const QString sure = "Are you sure you want to remove %1 from Vexilo?";
        QTest::newRow("the selected first one")
            << five << 0 << sure.arg("Alpha") << "OK" << five.mid(1) << "Beta";
        QTest::newRow("one after the selection: the one before it is selected")
            << five << 3 << sure.arg("Delta") << "OK"
            << QStringList{"Alpha", "Beta", "Charlie", "Echo"} << "Charlie";
        QTest::newRow("cancelled") << five << 3 << sure.arg("Delta") << "Cancel" << five << "Alpha";
        QTest::newRow("the last one left")
            << QStringList{"Alpha"} << 0 << sure.arg("Alpha") << "OK" << QStringList{} << "";
        // Hidden applications are remembered by identifier: one without says so.
        QTest::newRow("without identifier")
            << QStringList{"Alpha", "Plain"} << 1 << "Plain cannot be removed from Vexilo."
            << "OK" << QStringList{"Alpha", "Plain"} << "Alpha";
    }
    void remove()
    {
        QFETCH(QStringList, apps);
        QFETCH(int, index);
        QFETCH(QString, question);
        QFETCH(QString, button);
        QFETCH(QStringList, row);
        QFETCH(QString, panel);
        installed(apps);
        auto c = start();
        removeWithMenu(*c, index);
        QCOMPARE(sheetLines(c->window()).value(0), question);
        answer(c->window(), button);
        QCOMPARE(names(c->row().shown()), row);
        QCOMPARE(c->selection().panel().showsApplication, !panel.isEmpty());
        QCOMPARE(c->selection().panel().name, panel);
        QCOMPARE(c->defaults().stringArrayForKey("HiddenApps"),
                 row.size() < apps.size() ? QStringList{"org.example." + apps.at(index)}
                                          : QStringList{});
    }

    // Cancel stores nothing; OK stores what the list shows, keeping what it does not know.
    void showApps()
    {
        installed({"Alpha", "Beta", "Gamma"});
        const QVariantList stored{"org.example.Beta", 5, "org.example.Beta"};
        UserDefaults(m_env->platform().preferences, "org.vexilo.Vexilo")
            .setObject("HiddenApps", stored);
        auto c = start();
        toggleInShowApps(*c, "Gamma", Qt::Key_Escape);
        QCOMPARE(c->defaults().objectForKey("HiddenApps"), QVariant(stored));
        toggleInShowApps(*c, "Gamma", Qt::Key_Return);
        QCOMPARE(names(c->row().shown()), QStringList{"Alpha"});
        QCOMPARE(c->defaults().objectForKey("HiddenApps"),
                 QVariant(stored + QVariantList{"org.example.Gamma"}));
        // The row's width follows the list.
        QCOMPARE(row(*c)->size(), RowGeometry::sizeToFit(1, row(*c)->visibleArea()));
    }

    // From start to restart: two bundles from outside the applications folder added with the
    // real file chooser, one of them removed with the context menu.
    void addRemoveRestart()
    {
        installed({"Mike"});
        make("Downloads/Kilo.app");
        const QString lima = make("Downloads/Lima.app");
        auto c = start(true);
        menuCommand(c->window(), u"Add Application…"_s);
        QFileDialog *chooser = nullptr;
        QTRY_VERIFY((chooser = qobject_cast<QFileDialog *>(qApp->activeModalWidget())));
        chooser->setDirectory(m_env->root() + "/Downloads");
        auto *view = chooser->findChild<QAbstractItemView *>("listView");
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 2);
        view->selectAll();
        for (QAbstractButton *button : chooser->findChild<QDialogButtonBox *>()->buttons()) {
            if (button->text() == "Add")
                button->click();
        }
        QTRY_COMPARE(names(c->row().shown()), (QStringList{"Kilo", "Lima", "Mike"}));
        answer(c->window(), "OK"); // Done!
        removeWithMenu(*c, 1);
        answer(c->window(), "OK");

        c.reset();
        c = start();
        QCOMPARE(names(c->row().shown()), (QStringList{"Kilo", "Mike"}));
        QCOMPARE(names(c->catalogue().allApps()), (QStringList{"Kilo", "Lima", "Mike"}));
        QCOMPARE(c->catalogue().allApps().at(1)->path(), QFileInfo(lima).canonicalFilePath());
    }
};

QTEST_MAIN(TestAddRemove)
#include "tst_addremove.moc"

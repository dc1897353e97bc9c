#include "BundleBuilder.h"
#include "HiddenAppsSheet.h"
#include "HiddenAppsTableModel.h"
#include "TestEnvironment.h"
#include "chrome/VXTableView.h"

#include <QStyle>
#include <QtTest>

class TestHiddenAppsSheet : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QWidget m_window;
    std::optional<std::optional<HiddenAppsList>> m_answer;

    // Alpha (shown), Beta (hidden), Lost (moved or deleted).
    HiddenAppsSheet *open()
    {
        Workspace &workspace = *m_env->platform().workspace;
        QList<AppListingPtr> apps;
        for (const QString name : {"Alpha", "Beta"}) {
            apps.append(AppListing::fromPath(
                BundleBuilder(m_env->applicationsDirectory() + '/' + name + ".app")
                    .identifier("org.example." + name)
                    .write(),
                workspace));
        }
        apps.append(AppListing::fromPath(m_env->root() + "/Gone/Lost.app", workspace, true));
        m_answer.reset();
        return HiddenAppsSheet::showOn(&m_window, HiddenAppsList(apps, {"org.example.Beta"}),
                                       [this](const auto &list) { m_answer = list; });
    }

    // Clicks the check box of `row` where a user would.
    static void clickCheckBox(QTableView *table, const QModelIndex &index)
    {
        QStyleOptionViewItem option;
        option.initFrom(table);
        option.rect = table->visualRect(index);
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            table->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, table);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, box.center());
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_window.show();
    }

    void table()
    {
        HiddenAppsSheet *sheet = open();
        auto *table = sheet->findChild<VXTableView *>();
        const HiddenAppsTableModel &model = sheet->model();
        const int name = model.column("applicationName");
        const int shown = model.column("shown");
        QCOMPARE(model.index(0, name).data().toString(), "Alpha");
        // A moved application is in red, and says why.
        QCOMPARE(model.index(0, name).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::white));
        QCOMPARE(model.index(2, name).data(Qt::ForegroundRole).value<QBrush>().color(),
                 QColor(Qt::red));
        for (int column : {name, shown}) {
            QVERIFY(model.index(0, column).data(Qt::ToolTipRole).isNull());
            QCOMPARE(model.index(2, column).data(Qt::ToolTipRole).toString(),
                     "This app has been moved or deleted.");
        }
        QCOMPARE(model.index(1, shown).data(Qt::CheckStateRole), QVariant(Qt::Unchecked));

        // The keyboard starts on the first check box, and Space switches it.
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QCOMPARE(QApplication::focusWidget(), table);
        QCOMPARE(table->currentIndex(), model.index(0, shown));
        QTest::keyClick(table, Qt::Key_Space);
        QCOMPARE(model.index(0, shown).data(Qt::CheckStateRole), QVariant(Qt::Unchecked));
        clickCheckBox(table, model.index(1, shown));
        QCOMPARE(model.index(1, shown).data(Qt::CheckStateRole), QVariant(Qt::Checked));

        // A moved application cannot be switched by mouse, nor reached by keyboard.
        clickCheckBox(table, model.index(2, shown));
        QCOMPARE(model.index(2, shown).data(Qt::CheckStateRole), QVariant(Qt::Unchecked));
        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(table->currentIndex(), model.index(1, shown));
        QVERIFY(!m_answer);

        QTest::keyClick(table, Qt::Key_Return);
        QTRY_VERIFY(m_answer);
        QVERIFY(m_answer->has_value());
        QCOMPARE((*m_answer)->changes(),
                 (HiddenAppsList::Changes{{"org.example.Beta"}, {"org.example.Alpha"}}));
    }
};

QTEST_MAIN(TestHiddenAppsSheet)
#include "tst_hiddenappssheet.moc"

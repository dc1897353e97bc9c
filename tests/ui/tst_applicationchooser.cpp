#include "ApplicationChooser.h"
#include "BundleBuilder.h"
#include "TestEnvironment.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QtTest>

class TestApplicationChooser : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QWidget m_window;
    std::optional<QStringList> m_chosen;
    QString m_folder;
    QFileDialog *m_dialog = nullptr;
    QAbstractItemView *m_view = nullptr;

    // The chooser on a folder with Alpha.app, Beta.app and a plain folder, once listed.
    void open()
    {
        m_folder = m_env->root() + "/Downloads";
        for (const char *name : {"Alpha", "Beta"})
            BundleBuilder(m_folder + '/' + name + ".app").identifier(name).write();
        QDir().mkpath(m_folder + "/Notes");
        m_chosen.reset();
        m_dialog = ApplicationChooser::open(&m_window,
                                            [this](const QStringList &paths) { m_chosen = paths; });
        m_dialog->setDirectory(m_folder);
        // The list or the detailed view, whichever the dialog shows.
        for (const char *name : {"listView", "treeView"}) {
            auto *view = m_dialog->findChild<QAbstractItemView *>(name);
            if (view && view->isVisibleTo(m_dialog))
                m_view = view;
        }
        QVERIFY(m_view);
        QTRY_COMPARE(m_view->model()->rowCount(m_view->rootIndex()), 3);
    }
    static QModelIndex row(QAbstractItemView *view, const QString &name)
    {
        const QModelIndexList found =
            view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole,
                                 name, 1, Qt::MatchExactly);
        return found.value(0);
    }
    // What a window system delivers for a double click: press, release, double click, release.
    static void doubleClick(QAbstractItemView *view, const QString &name)
    {
        const QPoint at = view->visualRect(row(view, name)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }
    static void click(QFileDialog *dialog, const QString &text)
    {
        for (QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons()) {
            if (button->text() == text)
                button->click();
        }
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_window.show();
    }

    // Several bundles at once, in the chooser's order.
    void choosesSeveral()
    {
        open();
        if (QTest::currentTestFailed())
            return;
        QFileDialog *dialog = m_dialog;
        QAbstractItemView *view = m_view;
        QCOMPARE(dialog->windowTitle(), "Add");
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QVERIFY(dialog->isVisible());
        for (const char *name : {"Alpha.app", "Beta.app"})
            view->selectionModel()->select(row(view, name),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        click(dialog, "Add");
        QTRY_VERIFY(m_chosen);
        QCOMPARE(*m_chosen, (QStringList{m_folder + "/Alpha.app", m_folder + "/Beta.app"}));
    }

    // A bundle is chosen, not opened, by a double click; a plain folder is opened.
    void doubleClickChoosesABundle()
    {
        open();
        if (QTest::currentTestFailed())
            return;
        QFileDialog *dialog = m_dialog;
        QAbstractItemView *view = m_view;
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        doubleClick(view, "Notes");
        QTRY_COMPARE(dialog->directory().absolutePath(), m_folder + "/Notes");
        QVERIFY(!m_chosen);
        dialog->setDirectory(m_folder);
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 3);
        doubleClick(view, "Beta.app");
        QTRY_VERIFY(m_chosen);
        QCOMPARE(*m_chosen, QStringList{m_folder + "/Beta.app"});
    }

    void cancelChoosesNothing()
    {
        open();
        if (QTest::currentTestFailed())
            return;
        click(m_dialog, "Cancel");
        QTRY_VERIFY(m_chosen);
        QVERIFY(m_chosen->isEmpty());
    }
};

QTEST_MAIN(TestApplicationChooser)
#include "tst_applicationchooser.moc"

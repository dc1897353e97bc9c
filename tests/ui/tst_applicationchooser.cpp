#include "ApplicationChooser.h"
#include "BundleBuilder.h"
#include "TestEnvironment.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QtTest>

// Several bundles chosen at once are added through the whole window (tst_addremove).
class TestApplicationChooser : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QWidget m_window;
    std::optional<QStringList> m_chosen;
    QString m_folder;
    QFileDialog *m_dialog = nullptr;
    QAbstractItemView *m_view = nullptr;

    // What a window system delivers for a double click: press, release, double click, release.
    void doubleClick(const QString &name)
    {
        const QModelIndexList found = m_view->model()->match(
            m_view->model()->index(0, 0, m_view->rootIndex()), Qt::DisplayRole, name);
        QVERIFY(!found.isEmpty());
        const QPoint at = m_view->visualRect(found.first()).center();
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(m_view->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    // The chooser on a folder with Alpha.app, Beta.app and a plain folder, once listed.
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_window.show();
        m_folder = m_env->root() + "/Downloads";
        for (const char *name : {"Alpha", "Beta"})
            BundleBuilder(m_folder + '/' + name + ".app").identifier(name).write();
        QDir().mkpath(m_folder + "/Notes");
        m_chosen.reset();
        m_dialog = ApplicationChooser::open(&m_window,
                                            [this](const QStringList &paths) { m_chosen = paths; });
        QCOMPARE(m_dialog->windowTitle(), "Add");
        QCOMPARE(m_dialog->windowModality(), Qt::ApplicationModal);
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

    // A bundle is chosen, not opened, by a double click; a plain folder is opened.
    void doubleClickChoosesABundle()
    {
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
        doubleClick("Notes");
        QTRY_COMPARE(m_dialog->directory().absolutePath(), m_folder + "/Notes");
        QVERIFY(!m_chosen);
        m_dialog->setDirectory(m_folder);
        QTRY_COMPARE(m_view->model()->rowCount(m_view->rootIndex()), 3);
        doubleClick("Beta.app");
        QTRY_VERIFY(m_chosen);
        QCOMPARE(*m_chosen, QStringList{m_folder + "/Beta.app"});
    }

    void cancelChoosesNothing()
    {
        for (QAbstractButton *button : m_dialog->findChild<QDialogButtonBox *>()->buttons()) {
            if (button->text() == "Cancel")
                button->click();
        }
        QTRY_VERIFY(m_chosen);
        QVERIFY(m_chosen->isEmpty());
    }
};

QTEST_MAIN(TestApplicationChooser)
#include "tst_applicationchooser.moc"

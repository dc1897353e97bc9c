#include "ApplicationChooser.h"
#include "BundleBuilder.h"
#include "DonationAlert.h"
#include "HiddenAppsSheet.h"
#include "HiddenAppsTableModel.h"
#include "Sheet.h"
#include "TestEnvironment.h"
#include "chrome/VXTableView.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

void clickButton(const QList<QAbstractButton *> &buttons, const QString &text)
{
    for (QAbstractButton *button : buttons) {
        if (button->text() == text)
            return button->click();
    }
    QFAIL(qPrintable("no button " + text));
}

} // namespace

// The sheets, the donation reminder, the hidden-applications list and the file chooser of Add.
class TestDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    QWidget m_window;

    // The chooser on a folder with Alpha.app, Beta.app and a plain folder, once listed; what
    // it hands over goes to `chosen`.
    QFileDialog *openChooser(std::optional<QStringList> &chosen)
    {
        const QString folder = m_env->root() + "/Downloads";
        for (const char *name : {"Alpha", "Beta"})
            BundleBuilder(folder + '/' + name + ".app").identifier(name).write();
        QDir().mkpath(folder + "/Notes");
        QFileDialog *dialog = ApplicationChooser::open(
            &m_window, [&chosen](const QStringList &paths) { chosen = paths; });
        dialog->setDirectory(folder);
        return dialog;
    }
    // The list or the detailed view, whichever the dialog shows, once it lists the folder.
    static QAbstractItemView *listing(QFileDialog *dialog)
    {
        QAbstractItemView *shown = nullptr;
        for (const char *name : {"listView", "treeView"}) {
            auto *view = dialog->findChild<QAbstractItemView *>(name);
            shown = view && view->isVisibleTo(dialog) ? view : shown;
        }
        if (shown &&
            !QTest::qWaitFor([&] { return shown->model()->rowCount(shown->rootIndex()) == 3; }))
            return nullptr;
        return shown;
    }
    // What a window system delivers for a double click: press, release, double click, release.
    static void doubleClick(QAbstractItemView *view, const QString &name)
    {
        const QModelIndexList found = view->model()->match(
            view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole, name);
        QVERIFY(!found.isEmpty());
        const QPoint at = view->visualRect(found.first()).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
    }
    // Clicks the check box of `index` where a user would.
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

    // The sheet is modal to its window only and returns at once; its answer arrives later, once.
    void sheetAnswers_data()
    {
        QTest::addColumn<bool>("isQuestion");
        QTest::addColumn<QString>("button"); // empty: closed otherwise
        QTest::addColumn<bool>("answer");
        QTest::newRow("OK") << true << "OK" << true;
        QTest::newRow("Cancel") << true << "Cancel" << false;
        QTest::newRow("information") << false << "OK" << true;
        QTest::newRow("closed otherwise") << true << "" << false;
    }
    void sheetAnswers()
    {
        QFETCH(bool, isQuestion);
        QFETCH(QString, button);
        QFETCH(bool, answer);
        QList<bool> received;
        QMessageBox *box = Sheet::open(&m_window, {"Quit?", "Sure?", isQuestion},
                                       [&](bool accepted) { received.append(accepted); });
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QVERIFY(box->isVisible());
        QCOMPARE(box->buttons().size(), isQuestion ? 2 : 1);
        QVERIFY(received.isEmpty());
        if (button.isEmpty())
            box->reject();
        else
            clickButton(box->buttons(), button);
        QTRY_COMPARE(received, QList<bool>{answer});
    }

    // The reminder waits for its answer, application-modal, "Donate Now" being the default.
    void donationAlert_data()
    {
        QTest::addColumn<QString>("press");
        QTest::addColumn<bool>("donate");
        QTest::newRow("Donate Now") << u"Donate Now"_s << true;
        QTest::newRow("Not yet") << u"Not yet"_s << false;
        QTest::newRow("Return takes the default") << u"Return"_s << true;
        QTest::newRow("Escape") << u"Escape"_s << false;
    }
    void donationAlert()
    {
        QFETCH(QString, press);
        QFETCH(bool, donate);
        const DonationReminder::Texts texts = DonationReminder::texts();
        // What the alert shows, noted once its event loop runs, before it is answered.
        QMessageBox *box = nullptr;
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowModality(), Qt::ApplicationModal);
            shown << box->text() << box->findChild<QLabel *>("qt_msgbox_informativelabel")->text()
                  << box->defaultButton()->text();
            for (QAbstractButton *button : box->buttons())
                shown << button->text();
            if (press == u"Return" || press == u"Escape")
                QTest::keyClick(box, press == u"Return" ? Qt::Key_Return : Qt::Key_Escape);
            else
                clickButton(box->buttons(), press);
        });
        QCOMPARE(askToDonate(nullptr, texts), donate);
        // The message is shown as written, line breaks included; "Donate Now" is the default.
        QVERIFY(texts.message.contains(u"costs.\n\n(If you've donated already"_s));
        QCOMPARE(shown.mid(0, 3),
                 (QStringList{u"Thank you for using Vexilo!"_s, texts.message, u"Donate Now"_s}));
        QCOMPARE(QSet<QString>(shown.begin() + 3, shown.end()),
                 (QSet<QString>{u"Donate Now"_s, u"Not yet"_s}));
    }

    // Alpha (shown), Beta (hidden) and Lost (moved or deleted): how each looks, what the
    // keyboard and the mouse switch, and what Return hands over.
    void hiddenAppsSheet()
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
        std::optional<std::optional<HiddenAppsList>> answer;
        HiddenAppsSheet *sheet =
            HiddenAppsSheet::showOn(&m_window, HiddenAppsList(apps, {"org.example.Beta"}),
                                    [&answer](const auto &list) { answer = list; });
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

        // The keyboard starts on the first check box, and Space switches it; the mouse switches
        // others.
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QCOMPARE(QApplication::focusWidget(), table);
        QCOMPARE(table->currentIndex(), model.index(0, shown));
        QTest::keyClick(table, Qt::Key_Space);
        clickCheckBox(table, model.index(1, shown));
        QCOMPARE(model.index(1, shown).data(Qt::CheckStateRole), QVariant(Qt::Checked));
        // A moved application cannot be switched.
        clickCheckBox(table, model.index(2, shown));
        QCOMPARE(model.index(2, shown).data(Qt::CheckStateRole), QVariant(Qt::Unchecked));
        QVERIFY(!answer);
        QTest::keyClick(table, Qt::Key_Return);
        QTRY_VERIFY(answer && answer->has_value());
        QCOMPARE((*answer)->changes(),
                 (HiddenAppsList::Changes{{"org.example.Beta"}, {"org.example.Alpha"}}));
    }

    // A bundle is chosen, not opened, by a double click; a plain folder is opened. Cancel
    // chooses nothing.
    void chooser()
    {
        std::optional<QStringList> chosen;
        clickButton(openChooser(chosen)->findChild<QDialogButtonBox *>()->buttons(), "Cancel");
        QTRY_VERIFY(chosen && chosen->isEmpty());
        chosen.reset();
        QFileDialog *dialog = openChooser(chosen);
        QCOMPARE(dialog->windowTitle(), "Add");
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QAbstractItemView *view = listing(dialog);
        QVERIFY(view && QTest::qWaitForWindowExposed(dialog));
        doubleClick(view, "Notes");
        QTRY_COMPARE(dialog->directory().dirName(), "Notes");
        QVERIFY(!chosen);
        dialog->setDirectory(m_env->root() + "/Downloads");
        QVERIFY(listing(dialog));
        doubleClick(view, "Beta.app");
        QTRY_VERIFY(chosen);
        QCOMPARE(*chosen, QStringList{m_env->root() + "/Downloads/Beta.app"});
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

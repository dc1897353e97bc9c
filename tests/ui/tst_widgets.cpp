#include "AppRowView.h"
#include "ApplicationChooser.h"
#include "BundleBuilder.h"
#include "DonationAlert.h"
#include "HiddenAppsSheet.h"
#include "HiddenAppsTableModel.h"
#include "LanguagePopUp.h"
#include "ListingNames.h"
#include "SelectionPanelView.h"
#include "Sheet.h"
#include "TestEnvironment.h"
#include "chrome/RoundedWindowView.h"
#include "chrome/VXTableView.h"
#include "platform/bundle/Workspace.h"
#include "row/RowGeometry.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

// The row's figures are written with the origin at the row's bottom left, y upwards, as its
// design gives them; the view's coordinates have it at the top left, y downwards.
QRect flip(const QRect &bottomLeft)
{
    return {bottomLeft.x(), RowGeometry::kRowHeight - bottomLeft.y() - bottomLeft.height(),
            bottomLeft.width(), bottomLeft.height()};
}

// The background's grey at row y: black at the top to a third of white at the bottom.
QColor grey(int y)
{
    const int level = int(std::lround(85.0 * (y + 0.5) / RowGeometry::kRowHeight));
    return QColor(level, level, level);
}

// To within `tolerance` in each channel: stored premultiplied, a translucent colour comes back
// rounded.
bool near(const QColor &actual, const QColor &expected, int tolerance = 3)
{
    return qAbs(actual.red() - expected.red()) <= tolerance &&
           qAbs(actual.green() - expected.green()) <= tolerance &&
           qAbs(actual.blue() - expected.blue()) <= tolerance &&
           qAbs(actual.alpha() - expected.alpha()) <= tolerance;
}

#define VERIFY_PIXEL(image, point, colour)                                                         \
    QVERIFY2(near((image).pixelColor(point), colour),                                              \
             qPrintable(QStringLiteral("(%1, %2) is %3")                                           \
                            .arg((point).x())                                                      \
                            .arg((point).y())                                                      \
                            .arg((image).pixelColor(point).name(QColor::HexArgb))))

QImage render(QWidget &view)
{
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::blue);
    view.render(&image);
    return image;
}

void clickButton(const QList<QAbstractButton *> &buttons, const QString &text)
{
    for (QAbstractButton *button : buttons) {
        if (button->text() == text)
            return button->click();
    }
    QFAIL(qPrintable("no button " + text));
}

} // namespace

// The UI's widgets on their own: the icon row, the selection panel, the chrome of the glass
// sheets, the sheets, the donation reminder, the hidden-applications list and Add's chooser.
class TestWidgets : public QObject {
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
        return ApplicationChooser::open(&m_window, folder,
                                        [&chosen](const QStringList &paths) { chosen = paths; });
    }
    // The chooser's detailed list, as a dialog without settings of its own shows it, once it
    // shows the folder's three entries.
    static QAbstractItemView *listing(QFileDialog *dialog)
    {
        auto *view = dialog->findChild<QAbstractItemView *>("treeView");
        const auto listed = [view] { return view->model()->rowCount(view->rootIndex()) == 3; };
        return view && QTest::qWaitFor(listed) ? view : nullptr;
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

    // App0, App1...: bundles that are not there.
    QList<AppListingPtr> listings(int count)
    {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append("App" + QString::number(i));
        return listingsIn(m_env->applicationsDirectory(), names, *m_env->platform().workspace);
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        TestEnvironment::setLanguage("en_US", "en");
        m_window.show();
    }

    // The sheet is modal to its window only and returns at once; its answer arrives later, once.
    // A long name in it is elided, and markup in it is shown as written.
    void sheetAnswers_data()
    {
        QTest::addColumn<QString>("button"); // empty: closed otherwise
        QTest::addColumn<bool>("answer");
        QTest::newRow("OK") << "OK" << true;
        QTest::newRow("Cancel") << "Cancel" << false;
        QTest::newRow("closed otherwise") << "" << false;
    }
    void sheetAnswers()
    {
        QFETCH(QString, button);
        QFETCH(bool, answer);
        QList<bool> received;
        const QString name = "<b>" + QString(300, u'W') + "</b>";
        QMessageBox *box = Sheet::open(&m_window, {"Quit " + name + "?", "Sure?", true},
                                       [&](bool accepted) { received.append(accepted); });
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        QCOMPARE(box->textFormat(), Qt::PlainText);
        QVERIFY(box->text().startsWith("Quit <b>WW") && box->text().size() < name.size());
        QVERIFY(box->isVisible());
        QCOMPARE(box->buttons().size(), 2);
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
        QTest::newRow("Donate Now") << u"&Donate Now"_s << true;
        QTest::newRow("Not yet") << u"&Not yet"_s << false;
        QTest::newRow("Return takes the default") << u"Return"_s << true;
        QTest::newRow("Escape") << u"Escape"_s << false;
    }
    void donationAlert()
    {
        QFETCH(QString, press);
        const DonationReminder::Texts texts = DonationReminder::texts();
        // What the alert shows, noted once its event loop runs, before it is answered.
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
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
        QTEST(askToDonate(nullptr, texts), "donate");
        // The message is shown as written; "Donate Now" is the default.
        QCOMPARE(shown.mid(0, 3),
                 (QStringList{u"Thank you for using Vexilo!"_s, texts.message, u"&Donate Now"_s}));
        QCOMPARE(QSet<QString>(shown.begin() + 3, shown.end()),
                 (QSet<QString>{u"&Donate Now"_s, u"&Not yet"_s}));
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
        const auto data = [&model](int row, int column, int role) {
            return model.index(row, column).data(role);
        };
        // A moved application is in red, and says why.
        QCOMPARE(data(0, name, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::white));
        QCOMPARE(data(2, name, Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        for (int column : {name, shown}) {
            QVERIFY(data(0, column, Qt::ToolTipRole).isNull());
            QCOMPARE(data(2, column, Qt::ToolTipRole), u"This app has been moved or deleted."_s);
        }
        QCOMPARE(data(1, shown, Qt::CheckStateRole), QVariant(Qt::Unchecked));

        // The keyboard starts on the first check box, and Space switches it; the mouse switches
        // others.
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QCOMPARE(QApplication::focusWidget(), table);
        QCOMPARE(table->currentIndex(), model.index(0, shown));
        QTest::keyClick(table, Qt::Key_Space);
        clickCheckBox(table, model.index(1, shown));
        QCOMPARE(data(1, shown, Qt::CheckStateRole), QVariant(Qt::Checked));
        QVERIFY(!answer);
        QTest::keyClick(table, Qt::Key_Return);
        QTRY_VERIFY(answer && answer->has_value());
        QCOMPARE((*answer)->changes(),
                 (HiddenAppsList::Changes{{"org.example.Beta"}, {"org.example.Alpha"}}));
    }

    // It opens in the applications folder. A bundle is chosen, not opened, by a double click
    // or its typed path; a plain folder's typed path opens it. Cancel chooses nothing.
    void chooser()
    {
        std::optional<QStringList> chosen;
        QFileDialog *dialog = openChooser(chosen);
        QCOMPARE(dialog->directory().dirName(), "Downloads");
        clickButton(dialog->findChild<QDialogButtonBox *>()->buttons(), "Cancel");
        QTRY_VERIFY(chosen && chosen->isEmpty());
        chosen.reset();
        dialog = openChooser(chosen);
        QCOMPARE(dialog->windowTitle(), "Add Applications");
        QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
        QAbstractItemView *view = listing(dialog);
        QVERIFY(view && QTest::qWaitForWindowExposed(dialog));
        auto *typed = dialog->findChild<QLineEdit *>("fileNameEdit");
        typed->setText(m_env->root() + "/Downloads/Notes");
        QTest::keyClick(typed, Qt::Key_Return);
        QTRY_COMPARE(dialog->directory().dirName(), "Notes");
        QVERIFY(!chosen);
        typed->setText(m_env->root() + "/Downloads/Alpha.app");
        QTest::keyClick(typed, Qt::Key_Return);
        QTRY_VERIFY(chosen);
        QCOMPARE(*chosen, QStringList{m_env->root() + "/Downloads/Alpha.app"});
        chosen.reset();
        dialog = openChooser(chosen);
        dialog->setDirectory(m_env->root() + "/Downloads");
        doubleClick(listing(dialog), "Beta.app");
        QTRY_VERIFY(chosen);
        QCOMPARE(*chosen, QStringList{m_env->root() + "/Downloads/Beta.app"});
    }

    // Twelve entries in a frame 600 wide with entry 3 selected: icon 3 grown and opaque, icon 4
    // at 0.4 over the background with its name as tool tip, the row 730 wide afterwards.
    void twelveEntries()
    {
        RowBrowser browser;
        browser.bridge(listings(12));
        browser.setSelected(3);
        AppRowView view(browser);
        view.setGenericIcon([] { return BundleBuilder::square(64, Qt::red); });
        view.resize(600, RowGeometry::kRowHeight);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage image = render(view);

        const QRect icon3 = flip({186, 17, 58, 58});
        for (const QPoint &p : {icon3.topLeft(), icon3.bottomRight()})
            VERIFY_PIXEL(image, p, QColor(Qt::red));
        for (const QPoint &p :
             {icon3.topLeft() - QPoint(1, 0), icon3.bottomRight() + QPoint(1, 0), QPoint(40, 5)})
            VERIFY_PIXEL(image, p, grey(p.y()));
        const QRect icon4 = flip({250, 21, 50, 50});
        for (const QPoint &p :
             {icon4.topLeft() + QPoint(1, 1), icon4.bottomRight() - QPoint(1, 1)}) {
            const int under = int(std::lround(0.6 * grey(p.y()).red()));
            VERIFY_PIXEL(image, p, QColor(102 + under, under, under));
        }
        VERIFY_PIXEL(image, icon4.topLeft() - QPoint(1, 0), grey(icon4.top()));

        QHelpEvent help(QEvent::ToolTip, icon4.center(), view.mapToGlobal(icon4.center()));
        QApplication::sendEvent(&view, &help);
        QTRY_COMPARE(QToolTip::text(), "App4");
        QHelpEvent onSelected(QEvent::ToolTip, icon3.center(), view.mapToGlobal(icon3.center()));
        QApplication::sendEvent(&view, &onSelected);
        QTRY_VERIFY(QToolTip::text().isEmpty());
        QTRY_COMPARE(view.size(), QSize(730, 86));
    }

    // Selecting far along widens the row first, then scrolls just enough. Scrolled so, a
    // search without result shrinks the row to the view and centres its message there.
    void scrolling()
    {
        RowBrowser browser;
        QScrollArea area; // 600 wide with a scroll bar, as the window holds the row
        area.setFrameShape(QFrame::NoFrame);
        area.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        auto *view = new AppRowView(browser);
        area.setWidget(view);
        area.resize(600, RowGeometry::kRowHeight + area.horizontalScrollBar()->sizeHint().height());
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        browser.bridge(listings(30));
        browser.setSelected(20);
        QCOMPARE(view->width(), RowGeometry::widthFor(30));
        QCOMPARE(area.horizontalScrollBar()->value(), 60 * 20 + 6 + 66 - 600);
        browser.search("x");
        QTRY_COMPARE(view->size(), QSize(600, 86));
        QCOMPARE(view->visibleArea(), QRect(0, 0, 600, 86));

        const QImage image = render(*view);
        QFont font = QApplication::font();
        font.setPixelSize(RowGeometry::kMessagePixelSize);
        const QFontMetrics metrics(font);
        const QRect box = RowGeometry::messageRect(
            {600, 86}, {metrics.horizontalAdvance("No Results Found"), metrics.height()}, 86);
        QRect ink;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) > 160)
                    ink |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(!ink.isEmpty() && box.contains(ink));
        QVERIFY(std::abs(ink.center().x() - 300) <= 4 && std::abs(ink.center().y() - 43) <= 4);
    }

    // A real icon file: a placeholder first, the icon once decoded, never the generic icon.
    void iconsArriveAfterThePlaceholder()
    {
        const QString green =
            BundleBuilder(m_env->applicationsDirectory() + "/Green.app")
                .info("CFBundleIconFile", "AppIcon")
                .file("Resources/AppIcon.icns", BundleBuilder::icnsUpTo(1024, "lime"))
                .write();
        RowBrowser browser;
        browser.bridge({AppListing::fromPath(green, *m_env->platform().workspace)});
        AppRowView view(browser);
        view.setGenericIcon([] { return BundleBuilder::square(64, Qt::red); });
        view.resize(600, 86);
        const QPoint centre = RowGeometry::iconRect(0, true).center();
        const QImage first = render(view);
        QVERIFY(!near(first.pixelColor(centre), Qt::green) &&
                !near(first.pixelColor(centre), Qt::red));
        QTRY_VERIFY(near(render(view).pixelColor(centre), Qt::green));
    }

    // Each shown application is an item a screen reader can name, with its selected state and
    // its place in the row; pressing one selects it as a click would.
    void accessibleItems()
    {
        RowBrowser browser;
        browser.bridge(listings(5));
        browser.setSelected(1);
        AppRowView view(browser);
        view.setAccessibleName("Applications");
        view.resize(600, 86);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QAccessibleInterface *row = QAccessible::queryAccessibleInterface(&view);
        QCOMPARE(row->role(), QAccessible::List);
        QCOMPARE(row->text(QAccessible::Name), "Applications");
        QCOMPARE(row->childCount(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(row->child(i)->text(QAccessible::Name), "App" + QString::number(i));
            QCOMPARE(row->indexOfChild(row->child(i)), i);
            QCOMPARE(row->child(i)->parent(), row);
        }
        QVERIFY(row->child(1)->state().selected && !row->child(0)->state().selected);
        const QRect drawn = RowGeometry::iconRect(1, true);
        QCOMPARE(row->child(1)->rect(), QRect(view.mapToGlobal(drawn.topLeft()), drawn.size()));
        view.setFocus();
        QTRY_COMPARE(row->focusChild(), row->child(1));

        QSignalSpy clicked(&browser, &RowBrowser::currentChanged);
        row->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(browser.selected(), 3);
        QCOMPARE(clicked.size(), 1);
        QVERIFY(row->child(3)->state().selected && !row->child(1)->state().selected);
        browser.search("x");
        QCOMPARE(row->childCount(), 0);
        QVERIFY(!row->child(0));
    }

    // The language pop-up as a screen reader reaches it without opening it: the always-open
    // command, a separator, the languages, and their check marks. A blank panel shows nothing.
    void selectionPanel()
    {
        SelectionPanelView view;
        view.show();
        view.showContent(Panel::forApplication("Atlas", {"fr", "de"}, [] { return 0; }));
        auto *popUp = view.findChild<LanguagePopUp *>();
        QAccessibleInterface *popUpItem = QAccessible::queryAccessibleInterface(popUp);
        QCOMPARE(popUpItem->role(), QAccessible::ComboBox);
        QCOMPARE(popUpItem->text(QAccessible::Name), "Language");
        QCOMPARE(popUpItem->text(QAccessible::Value), "French");
        // The name is read as itself; what the field is comes after it.
        QAccessibleInterface *name =
            QAccessible::queryAccessibleInterface(view.findChildren<QLabel *>().first());
        QCOMPARE(name->text(QAccessible::Name), "Atlas");
        QCOMPARE(name->text(QAccessible::Description), "Application");
        QAccessibleInterface *menu = popUpItem->child(0);
        QCOMPARE(menu->childCount(), 4);
        QCOMPARE(menu->child(0)->text(QAccessible::Name), "Always open in this language");
        QCOMPARE(menu->child(1)->role(), QAccessible::Separator);
        QCOMPARE(menu->child(3)->text(QAccessible::Name), "German");
        QVERIFY(menu->child(0)->state().checked && menu->child(2)->state().checked);
        QVERIFY(!menu->child(3)->state().checked);
        // Picking an entry through it is a pick like any other.
        QSignalSpy chosen(&view, &SelectionPanelView::languageChosen);
        menu->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toInt(), 3);

        // A language named by a long folder is elided on the button and read whole.
        const QString code(300, u'x');
        view.showContent(Panel::forApplication("Atlas", {code, "fr"}, [] { return 0; }));
        QVERIFY(popUp->text().size() < 300);
        QCOMPARE(popUpItem->text(QAccessible::Value), code);

        view.showContent(Panel::blank());
        for (QLabel *label : view.findChildren<QLabel *>())
            QVERIFY(label->isHidden());
        QCOMPARE(popUp->numberOfItems(), 0);
        QVERIFY(!popUp->isEnabled());
        for (QPushButton *button : view.findChildren<QPushButton *>())
            QVERIFY(!button->isEnabled());
    }

    // Five rows over an opaque red backdrop: each row's colour replaces the red (it is not
    // blended with it), the rows alternate, and the red below the last row is left alone.
    void tableRowsReplaceWhatIsBeneathAndNothingBelow()
    {
        QStandardItemModel model(5, 2);
        VXTableView table;
        table.setModel(&model);
        table.horizontalHeader()->hide();
        table.verticalHeader()->hide();
        table.verticalHeader()->setDefaultSectionSize(20);
        table.setShowGrid(false);
        // No focus frame around the current cell over the colours looked at.
        table.setFocusPolicy(Qt::NoFocus);
        table.resize(300, 200);
        table.show();
        QVERIFY(QTest::qWaitForWindowExposed(&table));

        QImage image(table.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::red);
        table.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

        const QList<QColor> colors = VXTableViewAlternatingRowBackgroundColors();
        const QPoint origin = table.viewport()->mapTo(&table, QPoint(0, 0));
        for (int row = 0; row < 5; ++row) {
            const QRect cell = table.visualRect(model.index(row, 1)).translated(origin);
            for (const QPoint &p :
                 {cell.center(), QPoint(origin.x() + 2, cell.center().y()),
                  QPoint(table.viewport()->width() - 2 + origin.x(), cell.center().y())})
                VERIFY_PIXEL(image, p, colors.at(row % 2));
        }
        const int below = table.visualRect(model.index(4, 0)).bottom() + origin.y() + 1;
        for (int y = below; y < table.viewport()->height() + origin.y(); y += 7)
            QCOMPARE(image.pixelColor(table.width() / 2, y), QColor(Qt::red));
    }

    void roundedViewBlendsARoundedRectangle_data()
    {
        QTest::addColumn<QColor>("backdrop");
        QTest::addColumn<QColor>("inside");
        QTest::newRow("over nothing") << QColor(Qt::transparent) << QColor(0, 0, 0, 204);
        QTest::newRow("over white") << QColor(Qt::white) << QColor(51, 51, 51);
    }
    void roundedViewBlendsARoundedRectangle()
    {
        QFETCH(QColor, backdrop);
        QFETCH(QColor, inside);
        RoundedWindowView view;
        view.resize(120, 80);
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(backdrop);
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        for (const QPoint &p : {QPoint(60, 40), QPoint(60, 0), QPoint(0, 40)})
            VERIFY_PIXEL(image, p, inside);
        // The corners are round: outside the radius-10 arcs nothing is painted.
        for (const QPoint &corner :
             {QPoint(0, 0), QPoint(119, 0), QPoint(0, 79), QPoint(119, 79), QPoint(2, 1)})
            QCOMPARE(image.pixelColor(corner), backdrop);
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"

#include "AppRowView.h"
#include "BundleBuilder.h"
#include "TestEnvironment.h"
#include "Workspace.h"
#include "row/RowGeometry.h"

#include <QAccessible>
#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

namespace {

// The row's figures are written with the origin at the row's bottom left, y upwards, as its
// design gives them; the view's coordinates have it at the top left, y downwards.
QRect flip(const QRect &bottomLeft)
{
    return {bottomLeft.x(), RowGeometry::kRowHeight - bottomLeft.y() - bottomLeft.height(),
            bottomLeft.width(), bottomLeft.height()};
}

// The background's grey at row y: black at the top to a third of white at the bottom.
int gradientAt(int y)
{
    return int(std::lround(85.0 * (y + 0.5) / RowGeometry::kRowHeight));
}

bool near(QColor actual, int r, int g, int b)
{
    return std::abs(actual.red() - r) <= 3 && std::abs(actual.green() - g) <= 3 &&
           std::abs(actual.blue() - b) <= 3;
}

#define VERIFY_PIXEL(image, x, y, r, g, b)                                                         \
    QVERIFY2(near(QColor((image).pixel(x, y)), r, g, b),                                           \
             qPrintable(QStringLiteral("(%1, %2) is %3")                                           \
                            .arg(x)                                                                \
                            .arg(y)                                                                \
                            .arg(QColor((image).pixel(x, y)).name())))
#define VERIFY_BACKGROUND(image, x, y)                                                             \
    VERIFY_PIXEL(image, x, y, gradientAt(y), gradientAt(y), gradientAt(y))

QImage render(QWidget &view)
{
    QImage image(view.size(), QImage::Format_ARGB32);
    image.fill(Qt::blue);
    view.render(&image);
    return image;
}

QImage redIcon()
{
    QImage icon(64, 64, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    return icon;
}

} // namespace

class TestAppRowView : public QObject {
    Q_OBJECT

    TestEnvironment m_env;

    QList<AppListingPtr> listings(int count)
    {
        QList<AppListingPtr> result;
        for (int i = 0; i < count; ++i) {
            result.append(AppListing::fromPath(m_env.applicationsDirectory() + "/App" +
                                                   QString::number(i) + ".app",
                                               *m_env.platform().workspace));
        }
        return result;
    }

private slots:
    void init() { TestEnvironment::setLanguage("en_US", "en"); }

    // Twelve entries in a frame 600 wide with entry 3 selected: icon 3 grown and opaque, icon 4
    // at 0.4 over the background with its name as tool tip, the row 730 wide afterwards.
    void twelveEntries()
    {
        RowBrowser browser;
        browser.bridge(listings(12));
        browser.setSelected(3);
        AppRowView view(browser);
        view.setGenericIcon(redIcon);
        view.resize(600, RowGeometry::kRowHeight);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage image = render(view);

        const QRect icon3 = flip({186, 17, 58, 58});
        for (const QPoint &p : {icon3.topLeft(), icon3.bottomRight(), icon3.center()})
            VERIFY_PIXEL(image, p.x(), p.y(), 255, 0, 0);
        VERIFY_BACKGROUND(image, icon3.left() - 1, 40);
        VERIFY_BACKGROUND(image, icon3.right() + 1, icon3.bottom());
        const QRect icon4 = flip({250, 21, 50, 50});
        for (const QPoint &p :
             {icon4.topLeft() + QPoint(1, 1), icon4.center(), icon4.bottomRight() - QPoint(1, 1)}) {
            const int under = int(std::lround(0.6 * gradientAt(p.y())));
            VERIFY_PIXEL(image, p.x(), p.y(), int(std::lround(0.4 * 255)) + under, under, under);
        }
        VERIFY_BACKGROUND(image, icon4.left() - 1, icon4.top());
        VERIFY_BACKGROUND(image, 40, 5);

        QHelpEvent help(QEvent::ToolTip, icon4.center(), view.mapToGlobal(icon4.center()));
        QApplication::sendEvent(&view, &help);
        QTRY_COMPARE(QToolTip::text(), "App4");
        QHelpEvent onSelected(QEvent::ToolTip, icon3.center(), view.mapToGlobal(icon3.center()));
        QApplication::sendEvent(&view, &onSelected);
        QTRY_VERIFY(QToolTip::text().isEmpty());
        QTRY_COMPARE(view.size(), QSize(730, 86));
    }

    // A pass over part of the row registers regions for the icons it painted only.
    void partialRepaintRegistersWhatItPainted()
    {
        RowBrowser browser;
        browser.bridge(listings(12));
        AppRowView view(browser);
        view.resize(730, RowGeometry::kRowHeight);
        QImage image(view.size(), QImage::Format_ARGB32);
        const QRect icon5 = RowGeometry::iconRect(5, false);
        view.render(&image, icon5.topLeft(), QRegion(icon5));
        QCOMPARE(browser.pointer().regions().size(), 1);
        QCOMPARE(browser.pointer().regions().first().index, 5);
        QCOMPARE(browser.pointer().regions().first().rect, icon5);
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
            BundleBuilder(m_env.applicationsDirectory() + "/Green.app")
                .info("CFBundleIconFile", "AppIcon")
                .file("Resources/AppIcon.icns", BundleBuilder::icnsUpTo(1024, "lime"))
                .write();
        RowBrowser browser;
        browser.bridge({AppListing::fromPath(green, *m_env.platform().workspace)});
        AppRowView view(browser);
        view.setGenericIcon(redIcon);
        view.resize(600, 86);
        const QPoint centre = RowGeometry::iconRect(0, true).center();
        const QImage first = render(view);
        QVERIFY(!near(first.pixel(centre), 0, 255, 0) && !near(first.pixel(centre), 255, 0, 0));
        QTRY_VERIFY(near(render(view).pixel(centre), 0, 255, 0));
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
            QAccessibleInterface *item = row->child(i);
            QCOMPARE(item->text(QAccessible::Name), "App" + QString::number(i));
            QCOMPARE(item->state().selected, i == 1);
            QCOMPARE(row->indexOfChild(item), i);
            QCOMPARE(item->parent(), row);
        }
        const QRect drawn = RowGeometry::iconRect(1, true);
        QCOMPARE(row->child(1)->rect(), QRect(view.mapToGlobal(drawn.topLeft()), drawn.size()));
        view.setFocus();
        QTRY_COMPARE(row->focusChild(), row->child(1));

        QSignalSpy clicked(&browser, &RowBrowser::listingClicked);
        row->child(3)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(browser.selected(), 3);
        QCOMPARE(clicked.size(), 1);
        QVERIFY(row->child(3)->state().selected && !row->child(1)->state().selected);
        browser.search("x");
        QCOMPARE(row->childCount(), 0);
        QVERIFY(!row->child(0));
    }
};

QTEST_MAIN(TestAppRowView)
#include "tst_approwview.moc"

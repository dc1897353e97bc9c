#include "chrome/RoundedWindowView.h"
#include "chrome/VXTableView.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// Colours compared to within one step of 8 bits: stored premultiplied, a translucent colour
// comes back rounded.
bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 1 && qAbs(a.green() - b.green()) <= 1 &&
           qAbs(a.blue() - b.blue()) <= 1 && qAbs(a.alpha() - b.alpha()) <= 1;
}

} // namespace

class TestChrome : public QObject {
    Q_OBJECT

private slots:
    // What a caller does to the pair it was given changes no other caller's.
    void rowColoursAreAFreshPairEachCall()
    {
        QList<QColor> first = VXTableViewAlternatingRowBackgroundColors();
        first[0] = Qt::red;
        const QList<QColor> second = VXTableViewAlternatingRowBackgroundColors();
        QCOMPARE(second.size(), 2);
        QVERIFY(near(second.at(0), QColor(26, 26, 26, 204)));
        QVERIFY(near(second.at(1), QColor(51, 51, 51, 204)));
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
                  QPoint(table.viewport()->width() - 2 + origin.x(), cell.center().y())}) {
                const QColor pixel = image.pixelColor(p);
                QVERIFY2(near(pixel, colors.at(row % 2)),
                         qPrintable(QStringLiteral("row %1 at (%2, %3): %4")
                                        .arg(row)
                                        .arg(p.x())
                                        .arg(p.y())
                                        .arg(pixel.name(QColor::HexArgb))));
            }
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
        QVERIFY(near(image.pixelColor(60, 40), inside));
        QVERIFY(near(image.pixelColor(60, 0), inside));
        QVERIFY(near(image.pixelColor(0, 40), inside));
        // The corners are round: outside the radius-10 arcs nothing is painted.
        for (const QPoint &corner :
             {QPoint(0, 0), QPoint(119, 0), QPoint(0, 79), QPoint(119, 79), QPoint(2, 1)})
            QCOMPARE(image.pixelColor(corner), backdrop);
    }
};

QTEST_MAIN(TestChrome)
#include "tst_chrome.moc"

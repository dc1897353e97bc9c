#include "row/RowGeometry.h"

#include <QtTest>

class TestRowGeometry : public QObject {
    Q_OBJECT

private slots:
    // Rectangles in the row's own coordinates, y downwards in a row 86 points high.
    void iconRect_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("first") << 0 << false << QRect(10, 15, 50, 50);
        QTest::newRow("fourth, not selected") << 4 << false << QRect(250, 15, 50, 50);
        QTest::newRow("third, selected, grown by 4") << 3 << true << QRect(186, 11, 58, 58);
    }
    void iconRect()
    {
        QFETCH(int, index);
        QFETCH(bool, selected);
        QFETCH(QRect, expected);
        QCOMPARE(RowGeometry::iconRect(index, selected), expected);
    }

    void indexAt_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("expected");
        QTest::newRow("inside the second icon") << QPoint(100, 40) << 0 << 1;
        QTest::newRow("between two icons") << QPoint(65, 40) << 0 << -1;
        QTest::newRow("the selected icon's grown border") << QPoint(63, 40) << 0 << 0;
        QTest::newRow("the same point unselected") << QPoint(63, 40) << 1 << -1;
        QTest::newRow("above the icons") << QPoint(100, 5) << 0 << -1;
        QTest::newRow("left margin") << QPoint(3, 40) << 0 << -1;
        QTest::newRow("past the last icon") << QPoint(10 + 60 * 5 + 20, 40) << 0 << -1;
        QTest::newRow("last icon") << QPoint(10 + 60 * 4 + 20, 40) << 0 << 4;
    }
    void indexAt()
    {
        QFETCH(QPoint, point);
        QFETCH(int, selected);
        QFETCH(int, expected);
        QCOMPARE(RowGeometry::indexAt(point, 5, selected), expected);
    }

    // What is hit is what is drawn: every point of every drawn icon hits that icon.
    void hitTestingMatchesDrawing()
    {
        for (int selected = 0; selected < 3; ++selected) {
            for (int index = 0; index < 3; ++index) {
                const QRect rect = RowGeometry::iconRect(index, index == selected);
                for (const QPoint &p : {rect.topLeft(), rect.bottomRight(), rect.center()})
                    QCOMPARE(RowGeometry::indexAt(p, 3, selected), index);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestRowGeometry)
#include "tst_rowgeometry.moc"

#include "BundleBuilder.h"
#include "TestFiles.h"
#include "row/IconCache.h"
#include "row/RowGeometry.h"

#include <QSignalSpy>
#include <QTest>
#include <sys/stat.h>

namespace {

// The row's figures are written with the origin at the row's bottom left, y upwards, as its
// design gives them; the view's coordinates have it at the top left, y downwards.
QRect flip(const QRect &bottomLeft)
{
    return {bottomLeft.x(), RowGeometry::kRowHeight - bottomLeft.y() - bottomLeft.height(),
            bottomLeft.width(), bottomLeft.height()};
}

} // namespace

// The row of icons: where each is drawn and hit, and the cache its images come from.
class TestRow : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeIcon(const QString &name, const QByteArray &contents)
    {
        return writeFile(m_dir.filePath(name), contents);
    }

private slots:
    void iconRect_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QRect>("expected");
        row("first", 0, false, flip({10, 21, 50, 50}));
        row("fourth, not selected", 4, false, flip({250, 21, 50, 50}));
        row("third, selected, grown by 4", 3, true, flip({186, 17, 58, 58}));
    }
    void iconRect()
    {
        QFETCH(int, index);
        QFETCH(bool, selected);
        QTEST(RowGeometry::iconRect(index, selected), "expected");
    }

    void indexAt_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("expected");
        row("inside the second icon", QPoint(100, 40), 0, 1);
        row("between two icons", QPoint(65, 40), 0, -1);
        row("the selected icon's grown border", QPoint(63, 40), 0, 0);
        row("the same point unselected", QPoint(63, 40), 1, -1);
        row("above the icons", QPoint(100, 5), 0, -1);
        row("left margin", QPoint(3, 40), 0, -1);
        row("past the last icon", QPoint(10 + 60 * 5 + 20, 40), 0, -1);
        row("last icon", QPoint(10 + 60 * 4 + 20, 40), 0, 4);
    }
    void indexAt()
    {
        QFETCH(QPoint, point);
        QFETCH(int, selected);
        QTEST(RowGeometry::indexAt(point, 5, selected), "expected");
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

    // A pass looks only at the cells it may have to paint, and at every one of them: each cell
    // whose icon, grown or not, meets the area is in the range.
    void cellsInCoverEveryIconInTheArea_data()
    {
        QTest::addColumn<QRect>("area");
        row("the whole of a short row", QRect(0, 0, 730, 86));
        row("a screenful far along", QRect(300000, 0, 600, 86));
        row("one pixel on a grown icon's edge", QRect(66, 40, 1, 1));
        row("one pixel between icons", QRect(5, 40, 1, 1));
        row("left of the row", QRect(-100, 0, 50, 86));
    }
    void cellsInCoverEveryIconInTheArea()
    {
        QFETCH(QRect, area);
        const int count = 10000;
        const auto [first, last] = RowGeometry::cellsIn(area, count);
        QVERIFY(first >= 0 && first <= last && last <= count);
        QVERIFY(last - first <= area.width() / RowGeometry::kCellWidth + 2);
        for (int i = std::max(0, first - 3); i < std::min(count, last + 3); ++i) {
            const bool meets = RowGeometry::iconRect(i, false).intersects(area) ||
                               RowGeometry::iconRect(i, true).intersects(area);
            if (meets)
                QVERIFY2(i >= first && i < last, qPrintable(QString::number(i)));
        }
    }

    // Scrolling brings the target in moving as little as it can, and stays within the content.
    void offsetToShow_data()
    {
        QTest::addColumn<QRect>("target");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("expected");
        row("already shown", RowGeometry::scrollTarget(3), 0, 0);
        row("past the right edge", RowGeometry::scrollTarget(12), 0, 726 + 66 - 600);
        row("left of the view", RowGeometry::scrollTarget(2), 500, 126);
        row("the start", RowGeometry::scrollTarget(0), 500, 0);
        row("past the content", RowGeometry::scrollTarget(99), 0, 1000 - 600);
    }
    void offsetToShow()
    {
        QFETCH(QRect, target);
        QFETCH(int, offset);
        QTEST(RowGeometry::offsetToShow(target, offset, 600, 1000), "expected");
    }

    // The full list only ever widens the row; search results also shrink it to the visible
    // area, even with no result at all.
    void widthRules_data()
    {
        QTest::addColumn<bool>("fullList");
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("expected");
        row("12 entries grow the row", true, 12, QSize(730, 86));
        row("10 entries fit 600 exactly", true, 10, QSize(600, 86));
        row("a short list never narrows it", true, 2, QSize(600, 86));
        row("11 results", false, 11, QSize(670, 86));
        row("8 results fit", false, 8, QSize(500, 86));
        row("no results", false, 0, QSize(500, 86));
    }
    void widthRules()
    {
        QFETCH(bool, fullList);
        QFETCH(int, count);
        QFETCH(QSize, expected);
        const QSize size(600, 86);
        const QRect visible(40, 0, 500, 86);
        QCOMPARE(fullList ? RowGeometry::sizeForFullList(count, size)
                          : RowGeometry::sizeToFit(count, visible),
                 expected);
    }

    // Centred by the visible width and height, each offset rounded toward zero from the
    // bottom-left corner.
    void messageRect_data()
    {
        QTest::addColumn<QSize>("visible");
        QTest::addColumn<QSize>("text");
        QTest::addColumn<QRect>("expectedBottomLeft");
        row("odd sizes", QSize(601, 86), QSize(121, 19), QRect(240, 33, 121, 19));
        row("wider than the view", QSize(100, 86), QSize(121, 18), QRect(-10, 34, 121, 18));
    }
    void messageRect()
    {
        QFETCH(QSize, visible);
        QFETCH(QSize, text);
        QFETCH(QRect, expectedBottomLeft);
        QCOMPARE(RowGeometry::messageRect(visible, text, RowGeometry::kRowHeight),
                 flip(expectedBottomLeft));
    }

    // Asked for while painting: nothing at first, the fitting entry scaled to the drawn size
    // once decoded elsewhere.
    void iconArrivesLater()
    {
        const QString path = writeIcon("Atlas.icns", BundleBuilder::icnsUpTo(1024, "green"));
        IconCache cache;
        QSignalSpy ready(&cache, &IconCache::iconReady);
        bool failed = true;
        QVERIFY(cache.icon(path, 58, &failed).isNull());
        QVERIFY(!failed);
        QCOMPARE(cache.pending(), 1);
        QVERIFY(ready.wait());
        QCOMPARE(ready.first().first().toString(), path);
        const QImage icon = cache.icon(path, 58, &failed);
        QVERIFY(!failed);
        QCOMPARE(icon.size(), QSize(58, 58));
        QCOMPARE(QColor(icon.pixel(29, 29)), QColor("green"));
        QCOMPARE(cache.bytes(), icon.sizeInBytes());
        QCOMPARE(cache.pending(), 0);
    }

    // A file that cannot give an icon (here a pipe, which must not block the decoding) is
    // answered as failed, once.
    void unusableFileFails()
    {
        const QString path = m_dir.filePath("fifo");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        IconCache cache;
        QSignalSpy idle(&cache, &IconCache::idle);
        bool failed = false;
        QVERIFY(cache.icon(path, 58, &failed).isNull());
        QVERIFY(idle.wait());
        QVERIFY(cache.icon(path, 58, &failed).isNull());
        QVERIFY(failed);
        QCOMPARE(cache.pending(), 0);
    }

    // However many icons go by, the cache holds at most its bound, and the ones used last.
    void memoryIsBounded()
    {
        const QByteArray bytes = BundleBuilder::icnsUpTo(128, "blue");
        const qint64 oneIcon = qint64(58) * 58 * 4;
        IconCache cache(3 * oneIcon + 100);
        QStringList paths;
        for (int i = 0; i < 10; ++i) {
            paths.append(writeIcon(QStringLiteral("%1.icns").arg(i), bytes));
            QSignalSpy idle(&cache, &IconCache::idle);
            cache.icon(paths.last(), 58);
            QVERIFY(idle.wait());
            QVERIFY(cache.bytes() <= cache.maxBytes());
        }
        QCOMPARE(cache.bytes(), 3 * oneIcon);
        QVERIFY(!cache.icon(paths.last(), 58).isNull());
        QVERIFY(cache.icon(paths.first(), 58).isNull());
    }

    // Scrolling fast past many icons: those asked for long ago are dropped unread, the newest
    // are decoded.
    void oldRequestsAreDropped()
    {
        const QByteArray bytes = BundleBuilder::icnsUpTo(128, "red");
        QStringList paths;
        for (int i = 0; i < 3 * IconCache::kMaxWaiting; ++i)
            paths.append(writeIcon(QStringLiteral("fast%1.icns").arg(i), bytes));
        IconCache cache;
        QSignalSpy ready(&cache, &IconCache::iconReady);
        QSignalSpy idle(&cache, &IconCache::idle);
        for (const QString &path : paths)
            cache.icon(path, 58);
        QVERIFY(cache.pending() <= IconCache::kMaxWaiting + 1);
        QVERIFY(idle.wait(20000));
        QVERIFY(ready.size() <= IconCache::kMaxWaiting + 1);
        QVERIFY(!cache.icon(paths.last(), 58).isNull());
        QVERIFY(cache.icon(paths.at(1), 58).isNull());
    }
};

QTEST_GUILESS_MAIN(TestRow)
#include "tst_row.moc"

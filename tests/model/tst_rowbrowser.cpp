#include "ListingNames.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/bundle/Workspace.h"
#include "row/RowBrowser.h"
#include "row/RowGeometry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QPoint centreOf(int index, bool selected = false)
{
    return RowGeometry::iconRect(index, selected).center();
}

const QStringList kNames{"Alpha", "alpine", "Beta", "Bravo", QStringLiteral("Émile")};
const QRect kScreen(0, 0, 600, RowGeometry::kRowHeight);

} // namespace

class TestRowBrowser : public QObject {
    Q_OBJECT

    TestEnvironment m_env;

    QList<AppListingPtr> listings(const QStringList &names)
    {
        return listingsIn(m_env.applicationsDirectory(), names, *m_env.platform().workspace);
    }

private slots:
    void search_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<bool>("inSearch");
        QTest::addColumn<QStringList>("reported");
        const auto row = [](const char *tag, const QStringList &typed, const QStringList &results,
                            bool inSearch, const QStringList &reported) {
            QTest::newRow(tag) << typed << results << inSearch << reported;
        };
        const QString emile = QStringLiteral("Émile");
        row("AL", {"AL"}, {"Alpha", "alpine"}, true, {"Alpha"});
        row("e finds the accented name", {"e"}, {emile}, true, {emile});
        row("an accented text finds it too", {QStringLiteral("ÉMI")}, {emile}, true, {emile});
        row("x finds nothing", {"x"}, {}, true, {"(none)"});
        row("inside a name is no match", {"lpha"}, {}, true, {"(none)"});
        row("refining", {"a", "al", "alpi"}, {"alpine"}, true, {"Alpha", "Alpha", "alpine"});
        row("shortening widens again", {"alpi", "al"}, {"Alpha", "alpine"}, true,
            {"alpine", "Alpha"});
        row("clearing returns to the full list's start", {"br", ""}, kNames, false,
            {"Bravo", "Alpha"});
        row("clearing twice reports once", {"br", "", ""}, kNames, false, {"Bravo", "Alpha"});
        row("clearing without a search does nothing", {""}, kNames, false, {});
    }
    void search()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, results);
        QFETCH(bool, inSearch);
        QFETCH(QStringList, reported);

        RowBrowser browser;
        browser.bridge(listings(kNames));
        // Whatever was selected before the search is not come back to.
        browser.setSelected(3);
        QStringList heard;
        connect(&browser, &RowBrowser::currentChanged, this,
                [&heard](const AppListingPtr &listing) {
                    heard.append(listing ? listing->name() : QStringLiteral("(none)"));
                });
        QSignalSpy scrolled(&browser, &RowBrowser::scrollRequested);

        for (const QString &text : typed)
            browser.search(text);
        QCOMPARE(names(browser.shown()), results);
        QCOMPARE(browser.inSearch(), inSearch);
        QCOMPARE(heard, reported);
        if (!reported.isEmpty()) {
            QCOMPARE(browser.selected(), 0);
            QCOMPARE(scrolled.last().first().toRect(), RowGeometry::scrollTarget(0));
        } else {
            QCOMPARE(browser.selected(), 3);
        }
        // Only an empty search result paints the message.
        const RowBrowser::Pass pass = browser.paintPass(kScreen, kScreen.size(), kScreen);
        QCOMPARE(pass.noResults, inSearch && results.isEmpty());
        QCOMPARE(pass.cells.size(), results.size());
    }

    // The controller's selections reach the panel when they name another application than the
    // one it shows, and the first always; the user's are reported even when the same.
    void reportsWhatChanges()
    {
        RowBrowser browser;
        QStringList heard;
        connect(&browser, &RowBrowser::currentChanged, this,
                [&heard](const AppListingPtr &listing) {
                    heard.append(listing ? listing->name() : QStringLiteral("(none)"));
                });
        browser.bridge({});
        browser.setSelected(0);
        browser.search("a");
        browser.search("");
        QList<AppListingPtr> list = listings(kNames);
        browser.bridge(list.mid(1));
        browser.setSelected(0);
        browser.bridge(list);
        browser.setSelected(1);
        browser.setSelected(2);
        browser.pointerMoved(centreOf(2, true));
        browser.click();
        QCOMPARE(heard, QStringList({"(none)", "(none)", "(none)", "alpine", "Beta", "Beta"}));
        QCOMPARE(browser.current(), list.at(2));
    }

    void keys_data()
    {
        using Key = RowBrowser::Key;
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("selected");
        QTest::addColumn<Key>("key");
        QTest::addColumn<bool>("alert");
        QTest::addColumn<int>("expected");
        row("right at the last entry", 5, "", 4, Key::Right, true, 4);
        row("left at the first entry", 5, "", 0, Key::Left, true, 0);
        row("right in the middle", 5, "", 2, Key::Right, false, 3);
        row("left in the middle", 5, "", 2, Key::Left, false, 1);
        row("right in an empty list", 0, "", 0, Key::Right, true, 0);
        row("left in an empty list", 0, "", 0, Key::Left, true, 0);
        row("right past the results' end", 5, "b", 1, Key::Right, true, 1);
        row("right within the results", 5, "b", 0, Key::Right, false, 1);
        row("home", 5, "", 3, Key::Home, false, 0);
        row("end", 5, "", 1, Key::End, false, 4);
        row("end of the results", 5, "b", 0, Key::End, false, 1);
        row("end in an empty list", 0, "", 0, Key::End, true, 0);
    }
    void keys()
    {
        QFETCH(int, count);
        QFETCH(QString, search);
        QFETCH(int, selected);
        QFETCH(RowBrowser::Key, key);
        QFETCH(bool, alert);
        QFETCH(int, expected);
        RowBrowser browser;
        browser.bridge(listings(kNames.mid(0, count)));
        browser.search(search);
        browser.setSelected(selected);
        QSignalSpy reported(&browser, &RowBrowser::currentChanged);
        QSignalSpy scrolled(&browser, &RowBrowser::scrollRequested);

        QCOMPARE(browser.keyPressed(key) == RowBrowser::KeyResult::Alert, alert);
        QCOMPARE(browser.selected(), expected);
        QCOMPARE(reported.size(), alert ? 0 : 1);
        if (!alert)
            QCOMPARE(reported.first().first().value<AppListingPtr>(), browser.shownAt(expected));
        QCOMPARE(scrolled.size(), alert ? 0 : 1);
        if (!alert)
            QCOMPARE(scrolled.last().first().toRect(), RowGeometry::scrollTarget(expected));
    }

    // Clicks, tool tips and the context menu act on the icon the pointer is over, as the row
    // draws it (which point that is, is the geometry's test); Remove names the application by
    // its place in the full list.
    void pointer_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("toolTip");
        row("an unselected icon", "", centreOf(2), 2, "Beta", 2, "Beta");
        row("the selected icon again", "", centreOf(0, true), 0, "Alpha", 0, "");
        row("between two icons", "", QPoint(65, 40), 0, "", -1, "");
        row("an unselected search result", "b", centreOf(1), 1, "Bravo", 3, "Bravo");
        row("the selected search result", QStringLiteral("é"), centreOf(0, true), 0,
            QStringLiteral("Émile"), 4, "");
    }
    void pointer()
    {
        QFETCH(QString, search);
        QFETCH(QPoint, point);
        QFETCH(QString, clicked);
        QFETCH(int, removed);
        RowBrowser browser;
        browser.bridge(listings(kNames));
        browser.search(search);
        browser.setSelected(0);
        QSignalSpy clicks(&browser, &RowBrowser::currentChanged);
        QSignalSpy removals(&browser, &RowBrowser::removeRequested);

        const AppListingPtr tip = browser.toolTipAt(point);
        QTEST(tip ? tip->name() : QString(), "toolTip");
        browser.pointerMoved(point);
        QCOMPARE(browser.menuIndex() >= 0, removed >= 0);
        browser.remove(browser.menuIndex());
        QCOMPARE(removals.size(), removed >= 0 ? 1 : 0);
        if (removed >= 0)
            QCOMPARE(removals.first().first().toInt(), removed);
        // Showing the menu and removing leave the selection alone.
        QCOMPARE(browser.selected(), 0);

        browser.click();
        QTEST(browser.selected(), "selected");
        QCOMPARE(clicks.size(), clicked.isEmpty() ? 0 : 1);
        if (!clicked.isEmpty())
            QCOMPARE(clicks.first().first().value<AppListingPtr>()->name(), clicked);
    }

    // Off the icons the pointer names nothing to act on: moved between two (the icon it
    // entered last stays named), out of the row, or left on an icon the list has since lost.
    void pointerOffTheIcons()
    {
        RowBrowser browser;
        browser.bridge(listings(kNames));
        browser.pointerMoved(centreOf(2));
        browser.pointerMoved(QPoint(185, 40));
        QVERIFY(!browser.inArea());
        QCOMPARE(browser.tempSelection(), 2);
        browser.pointerMoved(centreOf(3));
        browser.pointerLeft();
        QVERIFY(!browser.inArea() && browser.menuIndex() < 0);

        browser.pointerMoved(centreOf(4));
        browser.bridge(listings(kNames.mid(0, 2)));
        QSignalSpy clicks(&browser, &RowBrowser::currentChanged);
        QSignalSpy removals(&browser, &RowBrowser::removeRequested);
        browser.click();
        browser.remove(browser.tempSelection());
        QVERIFY(clicks.isEmpty() && removals.isEmpty());
        QCOMPARE(browser.selected(), 0);
        QVERIFY(!browser.shownAt(-1) && !browser.shownAt(2));
    }

    // A new list during a search keeps the search and takes its results from the new list, so
    // a removed application is not shown and Remove names the right entry.
    void handOverDuringASearch()
    {
        RowBrowser browser;
        QList<AppListingPtr> list = listings(kNames);
        browser.bridge(list);
        browser.search("b");
        list.removeAt(2);
        browser.bridge(list);
        QVERIFY(browser.inSearch());
        QCOMPARE(names(browser.shown()), QStringList{"Bravo"});
        browser.setSelected(0);
        QSignalSpy removals(&browser, &RowBrowser::removeRequested);
        browser.pointerMoved(centreOf(0, true));
        browser.remove(browser.menuIndex());
        QCOMPARE(removals.size(), 1);
        QCOMPARE(removals.first().first().toInt(), 2);
    }
};

QTEST_MAIN(TestRowBrowser)
#include "tst_rowbrowser.moc"

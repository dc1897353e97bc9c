#pragma once

#include "catalogue/AppListing.h"

#include <QList>
#include <QObject>
#include <QRegion>
#include <QSize>
#include <QStringList>

// What the icon row knows and decides, without a window: the list handed over by the
// controller, the search and its results, the selected application, the pointer, and what each
// paint pass draws. The view paints what a pass returns and forwards input here. The selected
// application is the row's: the selection panel hears of it through currentChanged only.
//
// Every index is a position in the shown list (the search results while a search is active,
// else the full list) and is checked against it before it names an application. What lies
// under a point is worked out from the row's geometry, as it is drawn.
class RowBrowser : public QObject {
    Q_OBJECT
public:
    explicit RowBrowser(QObject *parent = nullptr);

    // Takes a new full list over. The selection is left to the caller, who follows with
    // setSelected. An active search stays active and its results are taken from the new list,
    // so they never show an application the list no longer has.
    void bridge(const QList<AppListingPtr> &applications);
    const QList<AppListingPtr> &applications() const { return m_applications; }

    // The search field's text changed.
    void search(const QString &text);
    bool inSearch() const { return m_inSearch; }

    const QList<AppListingPtr> &shown() const { return m_inSearch ? m_results : m_applications; }
    // The shown listing at `index`, or null outside the shown list.
    AppListingPtr shownAt(int index) const;

    int selected() const { return m_selected; }
    // The selected application as the panel shows it; null when none is.
    AppListingPtr current() const { return m_current; }
    // Selects `index` and brings it into view. The panel hears of it when that is another
    // application than the one it shows (always the first time).
    void setSelected(int index);

    // The arrow keys move the selection and Home and End go to the ends; past the ends, and in
    // an empty list, the answer is the system alert.
    enum class Key { Left, Right, Home, End };
    enum class KeyResult { Moved, Alert };
    KeyResult keyPressed(Key key);

    // The pointer, in the row's coordinates.
    void pointerMoved(const QPoint &point);
    void pointerLeft();
    // Over an icon (between entering and leaving it).
    bool inArea() const { return m_inArea; }
    // The icon the pointer entered last; -1 before the first.
    int tempSelection() const { return m_tempSelection; }
    // A press: selects the icon under the pointer, without scrolling, and reports it.
    void click();
    // Selects the shown entry at `index` as a click on it would (assistive technology).
    void activate(int index);
    // The icon the context menu (with its Remove command) is offered for: the one under the
    // pointer; -1 beside the icons, where there is none.
    int menuIndex() const { return m_inArea ? m_tempSelection : -1; }
    // The Remove command for the shown entry at `index`: asks the controller to remove that
    // application, by its index in the full list.
    void remove(int index);
    // The application a tool tip at `point` names (unselected icons only); null where there is
    // none.
    AppListingPtr toolTipAt(const QPoint &point, QRect *region = nullptr) const;

    // One paint pass over `area` of a row of `size` of which `visible` is on screen: the icons
    // to draw, and the size the row takes afterwards.
    struct Cell {
        int index = -1;
        QRect rect;
        bool selected = false;
        AppListingPtr listing;
    };
    struct Pass {
        bool loading = false;
        QList<Cell> cells;
        bool noResults = false;
        QSize size;
    };
    Pass paintPass(const QRegion &area, const QSize &size, const QRect &visible) const;

    // The size the row needs right now for what it shows; the same rule as the end of a pass.
    QSize sizeFor(const QSize &size, const QRect &visible) const;
    // The list's width may have changed (hidden applications shown again): the view resizes the
    // row to the shown list, shrinking it to the visible area when the entries fit.
    void updateSize() { emit sizeUpdateRequested(); }

signals:
    // The selected application is now `listing` (null: none). The user's clicks, keys and
    // searches report it even when it is the same again, so the panel reads it afresh.
    void currentChanged(const AppListingPtr &listing);
    // To the controller: the user asked to remove the application at this index of the full list.
    void removeRequested(int index);

    // To the view: bring `target` into view and redraw what is visible.
    void scrollRequested(const QRect &target);
    // To the view: redraw what is visible (the selection changed in place).
    void redrawRequested();
    // To the view: the shown list is another one (hand-over or search).
    void shownListChanged();
    void sizeUpdateRequested();
    void selectionChanged(int index);

private:
    enum class Report { Always, IfChanged };
    void select(int index, Report report);
    void report(const AppListingPtr &listing, Report report);

    QList<AppListingPtr> m_applications;
    QStringList m_keys;
    QList<AppListingPtr> m_results;
    QString m_searchText;
    AppListingPtr m_current;
    bool m_reported = false;
    bool m_loading = true;
    bool m_inSearch = false;
    bool m_inArea = false;
    int m_selected = 0;
    int m_tempSelection = -1;
};

#pragma once

#include "RowPointer.h"
#include "catalogue/AppListing.h"

#include <QList>
#include <QObject>
#include <QRegion>
#include <QSize>
#include <QStringList>

// What the icon row knows and decides, without a window: the list handed over by the
// controller, the search and its results, the selection, the pointer, and what each paint pass
// draws. The view paints what a pass returns and forwards input here; the controller hears of
// selections and removals through the signals.
//
// Every index is a position in the shown list (the search results while a search is active,
// else the full list) and is checked against it before it names an application.
class RowBrowser : public QObject {
    Q_OBJECT
public:
    explicit RowBrowser(QObject *parent = nullptr);

    // Takes a new full list over. The selection is left to the caller, who follows with
    // setSelected. An active search stays active and its results are taken from the new list,
    // so they never show an application the list no longer has.
    void bridge(const QList<AppListingPtr> &applications);
    // True until the first hand-over.
    bool isLoading() const { return m_loading; }
    const QList<AppListingPtr> &applications() const { return m_applications; }

    // The search field's text changed.
    void search(const QString &text);
    bool inSearch() const { return m_inSearch; }
    const QList<AppListingPtr> &searchSelection() const { return m_results; }

    const QList<AppListingPtr> &shown() const { return m_inSearch ? m_results : m_applications; }
    // The shown listing at `index`, or null outside the shown list.
    AppListingPtr shownAt(int index) const;

    int selected() const { return m_selected; }
    // Selects `index` and asks the view to bring it into view. Tells the controller nothing.
    void setSelected(int index);

    // The arrow keys move the selection; the ends of the list answer with the system alert.
    enum class Key { Left, Right };
    enum class KeyResult { Moved, Alert };
    KeyResult keyPressed(Key key);

    // The pointer, in the row's coordinates.
    void pointerMoved(const QPoint &point);
    void pointerLeft();
    const RowPointer &pointer() const { return m_pointer; }
    // A press: selects the icon under the pointer, without scrolling, and reports it.
    void click();
    // Selects the shown entry at `index` as a click on it would (assistive technology).
    void activate(int index);
    // The context menu (with its Remove command) is offered over an icon only.
    bool offersMenu() const { return m_pointer.inArea(); }
    // The Remove command: asks the controller to remove the application whose icon the pointer
    // entered last, by its index in the full list.
    void remove();
    // The application a tool tip at `point` names; null where there is none.
    AppListingPtr toolTipAt(const QPoint &point, QRect *region = nullptr) const;

    // One paint pass over `area` of a row of `size` of which `visible` is on screen: the icons
    // to draw, and the size the row takes afterwards. Registers the pointer regions of the icons
    // it returns.
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
    Pass paintPass(const QRegion &area, const QSize &size, const QRect &visible);

    // The size the row needs right now for what it shows; the same rule as the end of a pass.
    QSize sizeFor(const QSize &size, const QRect &visible) const;
    // The list's width may have changed (hidden applications shown again): the view resizes the
    // row to the shown list, shrinking it to the visible area when the entries fit.
    void updateSize() { emit sizeUpdateRequested(); }

signals:
    // To the controller: the user selected this application.
    void listingClicked(const AppListingPtr &listing);
    // To the controller: a search found nothing.
    void selectionEmptied();
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
    void report(int index);

    QList<AppListingPtr> m_applications;
    QStringList m_keys;
    QList<AppListingPtr> m_results;
    QString m_searchText;
    RowPointer m_pointer;
    bool m_loading = true;
    bool m_inSearch = false;
    int m_selected = 0;
};

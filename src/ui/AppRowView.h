#pragma once

#include "row/IconCache.h"
#include "row/RowBrowser.h"

#include <QImage>
#include <QWidget>
#include <functional>

class QMenu;
class QScrollBar;

// The row of application icons. It paints what the row's model says a pass draws and forwards
// the pointer, the keys and the context menu to it; it decides nothing itself. Placed in a
// scroll area, it keeps its size to the model's width rules, scrolls the selection into view and
// turns the vertical wheel into horizontal scrolling.
class AppRowView : public QWidget {
    Q_OBJECT
public:
    explicit AppRowView(RowBrowser &browser, QWidget *parent = nullptr);

    // Drawn for applications without an icon of their own, or whose icon cannot be read.
    // What a listing without an icon of its own shows, asked for when first needed.
    void setGenericIcon(std::function<QImage()> source);

    const RowBrowser &browser() const { return m_browser; }
    const IconCache &icons() const { return m_icons; }
    // The part of the row on screen, in the row's coordinates: the scroll area's viewport, or
    // the whole row outside one.
    QRect visibleArea() const;
    // Selects the icon at `index` as a click on it would.
    void activate(int index);

    QSize sizeHint() const override;

signals:
    // Return, Enter or a double click on an icon: launch the selection as the Launch button
    // would.
    void launchRequested();
    // A printable text typed while the row has the focus: a search starts with it.
    void typed(const QString &text);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QImage iconFor(const AppListing &listing, int side);
    void iconArrived(const QString &path);
    void scrollToShow(const QRect &target);
    void resizeTo(const QSize &size);
    void selectionChanged(int index);
    QScrollBar *scrollBar() const;
    // The context menu for the shown entry at `index`, at `globalPos`.
    void popUpMenu(int index, const QPoint &globalPos);

    RowBrowser &m_browser;
    IconCache m_icons;
    std::function<QImage()> m_genericSource;
    QImage m_genericIcon;
    QImage m_genericScaled;
    int m_genericSide = 0;
    QMenu *m_menu;
    QWidget *m_watched = nullptr;
    int m_lastSelected = -1;
    // The entry the open context menu's Remove acts on.
    int m_menuIndex = -1;
};

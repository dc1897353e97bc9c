#include "AppRowView.h"

#include "AccessibleFactory.h"
#include "AppRowAccessible.h"
#include "row/RowGeometry.h"
#include "text/Texts.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <cmath>

AppRowView::AppRowView(RowBrowser &browser, QWidget *parent)
    : QWidget(parent), m_browser(browser), m_menu(new QMenu(this))
{
    installAccessibleFactory();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Entering and leaving icons is derived from every move.
    setMouseTracking(true);
    resize(sizeHint());

    m_menu->addAction(Vexilo::tr("Remove"), this, [this] { m_browser.remove(); });

    connect(&m_browser, &RowBrowser::scrollRequested, this, &AppRowView::scrollToShow);
    connect(&m_browser, &RowBrowser::redrawRequested, this, [this] { update(visibleArea()); });
    connect(&m_browser, &RowBrowser::shownListChanged, this, [this] {
        AppRowAccessible::listChanged(this);
        update();
    });
    connect(&m_browser, &RowBrowser::sizeUpdateRequested, this, [this] {
        resizeTo(RowGeometry::sizeToFit(int(m_browser.shown().size()), visibleArea()));
    });
    connect(&m_browser, &RowBrowser::selectionChanged, this, &AppRowView::selectionChanged);
    connect(&m_icons, &IconCache::iconReady, this, &AppRowView::iconArrived);
}

void AppRowView::setGenericIcon(std::function<QImage()> source)
{
    m_genericSource = std::move(source);
    m_genericIcon = QImage();
    m_genericScaled = QImage();
    m_genericSide = 0;
    update();
}

QSize AppRowView::sizeHint() const
{
    return {RowGeometry::widthFor(int(m_browser.shown().size())), RowGeometry::kRowHeight};
}

QRect AppRowView::visibleArea() const
{
    if (!parentWidget() || isWindow())
        return rect();
    return {mapFromParent(QPoint(0, 0)), parentWidget()->size()};
}

void AppRowView::activate(int index)
{
    m_browser.activate(index);
}

QImage AppRowView::iconFor(const AppListing &listing, int side)
{
    bool failed = listing.iconPath().isEmpty();
    if (!failed) {
        const QImage icon = m_icons.icon(listing.iconPath(), side, &failed);
        if (!failed)
            return icon;
    }
    // Looked up when first drawn: finding it in the icon theme costs a noticeable part of
    // start-up, and a row without an icon to fill never needs it.
    if (m_genericIcon.isNull() && m_genericSource) {
        m_genericIcon = m_genericSource();
        m_genericSource = nullptr;
    }
    if (m_genericSide != side && !m_genericIcon.isNull()) {
        m_genericScaled =
            m_genericIcon.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_genericSide = side;
    }
    return m_genericScaled;
}

void AppRowView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, Qt::black);
    // Dark grey as the white level of one third, lighter than Qt's own dark grey.
    background.setColorAt(1, QColor::fromRgbF(1.0 / 3, 1.0 / 3, 1.0 / 3));
    painter.fillRect(rect(), background);

    const QRect visible = visibleArea();
    const RowBrowser::Pass pass = m_browser.paintPass(event->region(), size(), visible);
    if (pass.loading)
        return;

    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    // One decoded size serves both the grown and the plain icon.
    const int side = int(std::ceil(RowGeometry::kSelectedIconSize * devicePixelRatioF()));
    for (const RowBrowser::Cell &cell : pass.cells) {
        painter.setOpacity(cell.selected ? RowGeometry::kSelectedOpacity
                                         : RowGeometry::kUnselectedOpacity);
        const QImage icon = cell.listing ? iconFor(*cell.listing, side) : QImage();
        if (!icon.isNull()) {
            painter.drawImage(QRectF(cell.rect), icon);
        } else if (cell.listing && !cell.listing->iconPath().isEmpty()) {
            // The icon is on its way.
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 255, 255, 40));
            painter.drawRoundedRect(QRectF(cell.rect).adjusted(5, 5, -5, -5), 8, 8);
        }
    }

    if (pass.noResults) {
        QFont font = QApplication::font();
        font.setPixelSize(RowGeometry::kMessagePixelSize);
        painter.setFont(font);
        painter.setOpacity(1.0);
        painter.setPen(Qt::white);
        const QString text = Vexilo::tr("No Results Found");
        const QFontMetrics metrics(font);
        const QSize textSize(metrics.horizontalAdvance(text), metrics.height());
        painter.drawText(RowGeometry::messageRect(visible.size(), textSize, height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }

    // Not inside the paint event: a resize there would move the scroll area under the painter.
    if (pass.size != size())
        QMetaObject::invokeMethod(
            this, [this, size = pass.size] { resizeTo(size); }, Qt::QueuedConnection);
}

void AppRowView::iconArrived(const QString &path)
{
    // Only the icons drawn from that file are painted again.
    const QList<AppListingPtr> &shown = m_browser.shown();
    const auto [first, last] = RowGeometry::cellsIn(visibleArea(), int(shown.size()));
    for (int i = first; i < last; ++i) {
        if (shown.at(i) && shown.at(i)->iconPath() == path)
            update(RowGeometry::iconRect(i, i == m_browser.selected()));
    }
}

void AppRowView::resizeTo(const QSize &size)
{
    if (size != this->size())
        resize(size);
}

void AppRowView::scrollToShow(const QRect &target)
{
    // The row first takes the width the shown list needs, so that the target can be reached.
    resizeTo(m_browser.sizeFor(size(), visibleArea()));
    auto *area =
        parentWidget() ? qobject_cast<QAbstractScrollArea *>(parentWidget()->parent()) : nullptr;
    if (area && area->viewport() == parentWidget()) {
        QScrollBar *bar = area->horizontalScrollBar();
        bar->setValue(
            RowGeometry::offsetToShow(target, bar->value(), area->viewport()->width(), width()));
    }
    // Whether it scrolled or not, the old and the new selection are drawn afresh.
    update(visibleArea());
}

void AppRowView::selectionChanged(int index)
{
    AppRowAccessible::selectionChanged(this, m_lastSelected, index);
    m_lastSelected = index;
}

bool AppRowView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        QRect region;
        if (const AppListingPtr listing = m_browser.toolTipAt(help->pos(), &region)) {
            QToolTip::showText(help->globalPos(), listing->localizedAppName(), this, region);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    if (event->type() == QEvent::ParentChange) {
        // The viewport's size is the row's visible area: follow it.
        if (m_watched)
            m_watched->removeEventFilter(this);
        m_watched = parentWidget();
        if (m_watched)
            m_watched->installEventFilter(this);
    }
    return QWidget::event(event);
}

bool AppRowView::eventFilter(QObject *watched, QEvent *event)
{
    // The row fills its scroll area when the window grows, and follows a narrower one.
    if (watched == m_watched && event->type() == QEvent::Resize)
        resizeTo(RowGeometry::sizeToFit(int(m_browser.shown().size()), visibleArea()));
    return QWidget::eventFilter(watched, event);
}

void AppRowView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    m_browser.pointerMoved(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        m_browser.click();
}

void AppRowView::mouseMoveEvent(QMouseEvent *event)
{
    m_browser.pointerMoved(event->position().toPoint());
}

void AppRowView::leaveEvent(QEvent *event)
{
    m_browser.pointerLeft();
    QWidget::leaveEvent(event);
}

void AppRowView::keyPressEvent(QKeyEvent *event)
{
    RowBrowser::Key key;
    if (event->key() == Qt::Key_Right)
        key = RowBrowser::Key::Right;
    else if (event->key() == Qt::Key_Left)
        key = RowBrowser::Key::Left;
    else
        return QWidget::keyPressEvent(event);
    if (m_browser.keyPressed(key) == RowBrowser::KeyResult::Alert)
        QApplication::beep();
}

void AppRowView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        m_browser.pointerMoved(event->pos());
    if (!m_browser.offersMenu()) {
        event->ignore();
        return;
    }
    m_menu->popup(event->globalPos());
}

void AppRowView::focusInEvent(QFocusEvent *event)
{
    AppRowAccessible::focused(this);
    QWidget::focusInEvent(event);
}

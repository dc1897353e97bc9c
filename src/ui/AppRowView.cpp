#include "AppRowView.h"

#include "AccessibleFactory.h"
#include "AppRowAccessible.h"
#include "Elision.h"
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
#include <QWheelEvent>
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

    m_menu->addAction(Vexilo::tr("&Remove"), this, [this] { m_browser.remove(m_menuIndex); });

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

    // The focus frame around the selected icon, where the keys act.
    if (hasFocus() && m_browser.shownAt(m_browser.selected())) {
        painter.setOpacity(1.0);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRoundedRect(
            QRectF(RowGeometry::iconRect(m_browser.selected(), true)).adjusted(-4, -4, 4, 4), 5, 5);
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
    if (QScrollBar *bar = scrollBar())
        bar->setValue(
            RowGeometry::offsetToShow(target, bar->value(), parentWidget()->width(), width()));
    // Whether it scrolled or not, the old and the new selection are drawn afresh.
    update(visibleArea());
}

QScrollBar *AppRowView::scrollBar() const
{
    auto *area =
        parentWidget() ? qobject_cast<QAbstractScrollArea *>(parentWidget()->parent()) : nullptr;
    return area && area->viewport() == parentWidget() ? area->horizontalScrollBar() : nullptr;
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
            // A long name gives way in its middle rather than stretch the tip across the screen.
            QToolTip::showText(
                help->globalPos(),
                Elision::name(listing->localizedAppName(), QFontMetrics(QToolTip::font()), 480),
                this, region);
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

void AppRowView::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && m_browser.inArea())
        emit launchRequested();
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

void AppRowView::wheelEvent(QWheelEvent *event)
{
    // The row scrolls only sideways: the vertical wheel moves it as a horizontal one would.
    QScrollBar *bar = scrollBar();
    const QPoint delta = event->angleDelta();
    if (!bar || delta.y() == 0 || std::abs(delta.x()) >= std::abs(delta.y()))
        return QWidget::wheelEvent(event);
    QWheelEvent sideways(event->position(), event->globalPosition(),
                         QPoint(event->pixelDelta().y(), 0), QPoint(delta.y(), 0), event->buttons(),
                         event->modifiers(), event->phase(), event->inverted(), event->source());
    QApplication::sendEvent(bar, &sideways);
    event->setAccepted(sideways.isAccepted());
}

void AppRowView::keyPressEvent(QKeyEvent *event)
{
    RowBrowser::Key key;
    switch (event->key()) {
    case Qt::Key_Right:
        key = RowBrowser::Key::Right;
        break;
    case Qt::Key_Left:
        key = RowBrowser::Key::Left;
        break;
    case Qt::Key_Home:
        key = RowBrowser::Key::Home;
        break;
    case Qt::Key_End:
        key = RowBrowser::Key::End;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_browser.shownAt(m_browser.selected()))
            emit launchRequested();
        return;
    case Qt::Key_Menu:
        return popUpMenu(m_browser.selected(), {});
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier)
            return popUpMenu(m_browser.selected(), {});
        return QWidget::keyPressEvent(event);
    default: {
        // Printable text without a command modifier starts a search (no name begins with a
        // blank).
        const QString text = event->text();
        if (!text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace() &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            emit typed(text);
            return;
        }
        return QWidget::keyPressEvent(event);
    }
    }
    if (m_browser.keyPressed(key) == RowBrowser::KeyResult::Alert)
        QApplication::beep();
}

void AppRowView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() != QContextMenuEvent::Mouse)
        return popUpMenu(m_browser.selected(), {});
    m_browser.pointerMoved(event->pos());
    if (m_browser.menuIndex() < 0) {
        event->ignore();
        return;
    }
    popUpMenu(m_browser.menuIndex(), event->globalPos());
}

void AppRowView::popUpMenu(int index, const QPoint &globalPos)
{
    if (!m_browser.shownAt(index))
        return;
    m_menuIndex = index;
    // From the keyboard: below the icon, which is brought into view first.
    QPoint at = globalPos;
    if (at.isNull()) {
        const QRect icon = RowGeometry::iconRect(index, index == m_browser.selected());
        scrollToShow(RowGeometry::scrollTarget(index));
        at = mapToGlobal(icon.bottomLeft());
    }
    m_menu->popup(at);
}

void AppRowView::focusInEvent(QFocusEvent *event)
{
    AppRowAccessible::focused(this);
    // The focus frame.
    update(visibleArea());
    QWidget::focusInEvent(event);
}

void AppRowView::focusOutEvent(QFocusEvent *event)
{
    update(visibleArea());
    QWidget::focusOutEvent(event);
}

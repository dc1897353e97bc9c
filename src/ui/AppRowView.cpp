#include "AppRowView.h"

#include "IconImage.h"
#include "row/RowGeometry.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

AppRowView::AppRowView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

void AppRowView::setApplications(const QList<AppListingPtr> &applications)
{
    m_state.setApplications(applications);
    updateGeometry();
    resize(std::max(width(), sizeHint().width()), RowGeometry::kRowHeight);
    update();
}

void AppRowView::setSelected(int index)
{
    m_state.setSelected(index);
    update();
}

void AppRowView::setGenericIcon(const QImage &icon)
{
    m_genericIcon = icon;
    update();
}

QSize AppRowView::sizeHint() const
{
    return {RowGeometry::widthFor(int(m_state.applications().size())), RowGeometry::kRowHeight};
}

QImage AppRowView::iconFor(const AppListing &listing)
{
    if (listing.iconPath().isEmpty())
        return m_genericIcon;
    auto it = m_icons.find(listing.iconPath());
    if (it == m_icons.end()) {
        // Kept at the size drawn, not the file's largest.
        const int side =
            int((RowGeometry::kIconSize + 2 * RowGeometry::kSelectedGrowth) * devicePixelRatioF());
        QImage image = IconImage::decodeLargest(listing.iconPath());
        if (!image.isNull())
            image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        it = m_icons.insert(listing.iconPath(), image);
    }
    return it->isNull() ? m_genericIcon : *it;
}

void AppRowView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, Qt::black);
    // Dark grey as the white level of one third, lighter than Qt's own dark grey.
    background.setColorAt(1, QColor::fromRgbF(1.0 / 3, 1.0 / 3, 1.0 / 3));
    painter.fillRect(rect(), background);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QList<AppListingPtr> &applications = m_state.applications();
    for (int i = 0; i < applications.size(); ++i) {
        const bool selected = i == m_state.selected();
        const QRect target = RowGeometry::iconRect(i, selected);
        if (!target.intersects(event->rect()))
            continue;
        const QImage icon = iconFor(*applications.at(i));
        if (icon.isNull())
            continue;
        painter.setOpacity(selected ? RowGeometry::kSelectedOpacity
                                    : RowGeometry::kUnselectedOpacity);
        painter.drawImage(target, icon);
    }
}

void AppRowView::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    const int index = RowGeometry::indexAt(event->position().toPoint(),
                                           int(m_state.applications().size()), m_state.selected());
    if (!m_state.entryAt(index))
        return;
    m_state.setSelected(index);
    update();
    emit clicked(index);
}

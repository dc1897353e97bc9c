#include "AppBrowseController.h"

#include "catalogue/Controller.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {

// Icons stand 60 points apart, 10 points from the left edge.
constexpr int kStep = 60;
constexpr int kLeft = 10;
constexpr int kIconSize = 48;
constexpr int kTop = 20;

} // namespace

AppBrowseController::AppBrowseController(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(96);
}

void AppBrowseController::bridge()
{
    m_applications = controller ? controller->apps() : QList<AppListingPtr>();
    updateGeometry();
    resize(sizeHint().width(), height());
    update();
}

void AppBrowseController::setSelected(int index)
{
    m_selected = index;
    update();
}

void AppBrowseController::search(const QString &text)
{
    Q_UNUSED(text);
}

void AppBrowseController::remove() {}

void AppBrowseController::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    const QPoint p = event->position().toPoint();
    const int index = (p.x() - kLeft) / kStep;
    if (p.x() < kLeft || index >= m_applications.size() || p.y() < kTop - 5 ||
        p.y() > kTop + kIconSize + 5)
        return;
    m_selected = index;
    update();
    if (controller)
        controller->clickedListing(m_applications.at(index));
}

QSize AppBrowseController::sizeHint() const
{
    return {kLeft * 2 + kStep * int(m_applications.size()), 96};
}

void AppBrowseController::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int i = 0; i < m_applications.size(); ++i) {
        const QRect target(kLeft + kStep * i + (kStep - kIconSize) / 2 - 6, kTop, kIconSize,
                           kIconSize);
        if (!target.intersects(event->rect()))
            continue;
        if (i == m_selected) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 255, 255, 60));
            painter.drawRoundedRect(target.adjusted(-5, -5, 5, 5), 8, 8);
        }
        const IconImagePtr icon = m_applications.at(i)->icon();
        if (icon && !icon->image().isNull())
            painter.drawImage(target, icon->image());
    }
}

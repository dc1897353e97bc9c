#include "RoundedWindowView.h"

#include <QPainter>
#include <QPainterPath>

RoundedWindowView::RoundedWindowView(QWidget *parent) : QWidget(parent) {}

void RoundedWindowView::paintEvent(QPaintEvent *)
{
    // Always over the whole bounds, so a partial repaint matches a full one.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, QColor::fromRgbF(0, 0, 0, 0.8f));
}

#include "SpinningIndicator.h"

#include <QPainter>

namespace {
constexpr int kSpokes = 12;
}

SpinningIndicator::SpinningIndicator(QWidget *parent) : QWidget(parent)
{
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % kSpokes;
        update();
    });
    setFixedSize(sizeHint());
}

void SpinningIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(width() / 2.0, height() / 2.0);
    const qreal radius = qMin(width(), height()) / 2.0;
    for (int i = 0; i < kSpokes; ++i) {
        QColor c = palette().color(QPalette::WindowText);
        c.setAlphaF(0.15 + 0.85 * ((i + kSpokes - m_step) % kSpokes) / double(kSpokes));
        p.setPen(QPen(c, radius / 4.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.85));
        p.rotate(360.0 / kSpokes);
    }
}

void SpinningIndicator::showEvent(QShowEvent *)
{
    m_timer.start();
}

void SpinningIndicator::hideEvent(QHideEvent *)
{
    m_timer.stop();
}

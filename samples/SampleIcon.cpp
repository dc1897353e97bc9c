#include "SampleIcon.h"

#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace SampleIcon {

QImage render(const QString &color, const QString &letter, int size)
{
    if (!QColor::isValidColorName(color) || letter.trimmed().isEmpty() || size < 16 || size > 1024)
        return {};
    const QColor base = QColor::fromString(color);

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.scale(qreal(size) / kSize, qreal(size) / kSize);

    // The margin leaves room for the shadow, as the system's own icons do.
    const QRectF square(16, 12, kSize - 32, kSize - 32);
    QPainterPath shape;
    shape.addRoundedRect(square, 52, 52);
    painter.fillPath(shape.translated(0, 6), QColor(0, 0, 0, 60));

    QLinearGradient gradient(square.topLeft(), square.bottomLeft());
    gradient.setColorAt(0, base.lighter(118));
    gradient.setColorAt(1, base.darker(118));
    painter.fillPath(shape, gradient);

    // A single grapheme, however many code units the caller gave.
    QString glyph = letter.trimmed();
    if (glyph.size() > 1 && glyph.at(0).isHighSurrogate())
        glyph.truncate(2);
    else
        glyph.truncate(1);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(150);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0, 50));
    painter.drawText(square.translated(0, 4), Qt::AlignCenter, glyph);
    painter.setPen(Qt::white);
    painter.drawText(square, Qt::AlignCenter, glyph);
    painter.end();
    return image;
}

} // namespace SampleIcon

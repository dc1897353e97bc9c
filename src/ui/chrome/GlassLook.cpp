#include "GlassLook.h"

#include "platform/x11/Desktop.h"

#include <QPainter>
#include <QWidget>

namespace GlassLook {

QColor backgroundColor()
{
    return QColor::fromRgbF(0, 0, 0, 0.8f);
}

QColor opaqueBackgroundColor()
{
    // 0.2 of a 50 % grey shows through 0.8 black.
    return QColor(26, 26, 26);
}

QPalette palette()
{
    const QColor text(238, 238, 238);
    const QColor dimText(150, 150, 150);
    QPalette p;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, opaqueBackgroundColor());
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, QColor(38, 38, 38));
        p.setColor(group, QPalette::AlternateBase, QColor(51, 51, 51));
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::PlaceholderText, dimText);
        p.setColor(group, QPalette::Button, QColor(58, 58, 58));
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::BrightText, Qt::white);
        p.setColor(group, QPalette::Light, QColor(90, 90, 90));
        p.setColor(group, QPalette::Midlight, QColor(72, 72, 72));
        p.setColor(group, QPalette::Mid, QColor(44, 44, 44));
        p.setColor(group, QPalette::Dark, QColor(20, 20, 20));
        p.setColor(group, QPalette::Shadow, Qt::black);
        p.setColor(group, QPalette::Highlight, QColor(58, 110, 200));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::Link, QColor(150, 190, 255));
        p.setColor(group, QPalette::LinkVisited, QColor(190, 160, 255));
        p.setColor(group, QPalette::ToolTipBase, QColor(58, 58, 58));
        p.setColor(group, QPalette::ToolTipText, text);
    }
    // Disabled controls stay legible, only dimmer.
    p.setColor(QPalette::Disabled, QPalette::Window, opaqueBackgroundColor());
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(32, 32, 32));
    p.setColor(QPalette::Disabled, QPalette::Button, QColor(44, 44, 44));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        p.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(70, 70, 70));
    p.setColor(QPalette::Disabled, QPalette::HighlightedText, QColor(160, 160, 160));
    return p;
}

void apply(QWidget *window)
{
    // An ARGB window on a display without a compositing manager shows whatever lay beneath
    // when it was mapped, or plain black: there the background is painted opaque instead.
    if (Desktop::hasCompositingManager())
        window->setAttribute(Qt::WA_TranslucentBackground);
    window->setWindowFlag(Qt::NoDropShadowWindowHint);
    window->setPalette(palette());
}

bool isTranslucent(const QWidget *window)
{
    return window->testAttribute(Qt::WA_TranslucentBackground);
}

void paintBackground(QWidget *window)
{
    QPainter painter(window);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(window->rect(),
                     isTranslucent(window) ? backgroundColor() : opaqueBackgroundColor());
}

} // namespace GlassLook

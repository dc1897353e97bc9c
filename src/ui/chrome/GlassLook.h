#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

// The dark, translucent look of Vexilo's windows.
namespace GlassLook {

// A glass window's background: black at alpha 0.8.
QColor backgroundColor();
// What stands in for it where the display cannot show translucent windows: that black over a
// mid-grey desktop, opaque.
QColor opaqueBackgroundColor();
// Light text on dark controls. Every colour is opaque, so menus and pop-ups that inherit it
// look the same on any display.
QPalette palette();

// Makes a top-level widget glass: translucent where the display composites windows, no
// shadow, the dark palette. Its other window flags stay as they are. Call it before the
// window is shown; its paintEvent calls paintBackground().
void apply(QWidget *window);
bool isTranslucent(const QWidget *window);
// Replaces the window's pixels with its background: the translucent black where the window is
// translucent, else the opaque stand-in.
void paintBackground(QWidget *window);

} // namespace GlassLook

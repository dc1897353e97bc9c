#include "Glass.h"

#include "chrome/GlassLook.h"

Glass::Glass(QWidget *parent, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    GlassLook::apply(this);
    setSizeGripEnabled(false);
}

void Glass::paintEvent(QPaintEvent *)
{
    GlassLook::paintBackground(this);
}

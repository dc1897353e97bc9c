#pragma once

#include <QDialog>

// A panel with the glass look: black at alpha 0.8 over what lies behind, no shadow, no size
// grip. It keeps the window type and flags it is given. Where the display has no compositing
// manager the background is an opaque dark grey instead (see GlassLook).
class Glass : public QDialog {
    Q_OBJECT
public:
    explicit Glass(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

protected:
    void paintEvent(QPaintEvent *event) override;
};

#pragma once

#include <QProxyStyle>

// Every push button with the keyboard focus shows a ring inside its edge. The style alone tells
// focus by the highlighted edge it also gives the default button, so a focused default button
// (Launch) would look as it does unfocused.
class FocusRingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};

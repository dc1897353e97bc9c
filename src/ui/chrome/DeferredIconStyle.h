#pragma once

#include <QProxyStyle>

// The application's style, except that the icons of the menu bar's extension button and the
// search field's clear button are made when first drawn. Qt makes them when the widgets are
// built, and finding their image format loads every image plugin there is: a noticeable part of
// start-up, for buttons that show only on a narrow window or with text in the field.
class DeferredIconStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

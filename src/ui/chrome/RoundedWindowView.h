#pragma once

#include <QWidget>

// A window background: a black rounded rectangle at alpha 0.8, corner radius 10, over the
// view's bounds, blended over what lies beneath. Child widgets sit on it.
class RoundedWindowView : public QWidget {
    Q_OBJECT
public:
    explicit RoundedWindowView(QWidget *parent = nullptr);

    static constexpr qreal kCornerRadius = 10;

protected:
    void paintEvent(QPaintEvent *event) override;
};

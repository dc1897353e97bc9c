#pragma once

#include <QTimer>
#include <QWidget>

// The small spinning wheel shown while an application is being launched.
class SpinningIndicator : public QWidget {
    Q_OBJECT
public:
    explicit SpinningIndicator(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer m_timer;
    int m_step = 0;
};

#pragma once

#include <QColor>
#include <QList>
#include <QTableView>

// The row colours of VXTableView: white level 0.1, then 0.2, both at alpha 0.8. A new list on
// every call.
QList<QColor> VXTableViewAlternatingRowBackgroundColors();

// A table whose rows replace what lies beneath them with the two translucent greys in turn
// (even rows the first), and which paints no background of its own: below the last row, the
// window shows through.
class VXTableView : public QTableView {
    Q_OBJECT
public:
    explicit VXTableView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

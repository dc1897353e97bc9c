#include "VXTableView.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>

QList<QColor> VXTableViewAlternatingRowBackgroundColors()
{
    return {QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.8f), QColor::fromRgbF(0.2f, 0.2f, 0.2f, 0.8f)};
}

VXTableView::VXTableView(QWidget *parent) : QTableView(parent)
{
    viewport()->setAutoFillBackground(false);
    setAlternatingRowColors(false);
}

void VXTableView::paintEvent(QPaintEvent *event)
{
    const QHeaderView *rows = verticalHeader();
    const int count = rows->count();
    const QRect area = event->rect();
    // No row where the area starts: it lies below the last one, where nothing is painted.
    const int first = rows->visualIndexAt(area.top());
    if (first >= 0) {
        int last = rows->visualIndexAt(area.bottom());
        if (last < 0)
            last = count - 1;
        // The whole width of every column, or of the view where the columns are narrower.
        const int width =
            qMax(viewport()->width(), horizontalHeader()->length() - horizontalOffset());
        const QList<QColor> colors = VXTableViewAlternatingRowBackgroundColors();
        QPainter painter(viewport());
        // The row's colour replaces what is there; it does not blend with it.
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (int visual = first; visual <= last; ++visual) {
            const int row = rows->logicalIndex(visual);
            if (isRowHidden(row))
                continue;
            painter.fillRect(QRect(0, rowViewportPosition(row), width, rowHeight(row)),
                             colors.at(visual % 2));
        }
    }
    QTableView::paintEvent(event);
}

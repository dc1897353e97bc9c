#pragma once

#include "row/RowState.h"

#include <QHash>
#include <QImage>
#include <QWidget>

// The row of application icons: it paints the list it is given, with the geometry of
// RowGeometry, and reports clicks on icons.
class AppRowView : public QWidget {
    Q_OBJECT
public:
    explicit AppRowView(QWidget *parent = nullptr);

    void setApplications(const QList<AppListingPtr> &applications);
    void setSelected(int index);
    int selected() const { return m_state.selected(); }
    // Drawn for applications without an icon of their own.
    void setGenericIcon(const QImage &icon);

    QSize sizeHint() const override;

signals:
    void clicked(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QImage iconFor(const AppListing &listing);

    RowState m_state;
    QImage m_genericIcon;
    QHash<QString, QImage> m_icons;
};

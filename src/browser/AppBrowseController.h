#pragma once

#include "catalogue/AppListing.h"

#include <QList>
#include <QWidget>

class Controller;
class QMenu;

// The row of application icons. It shows the list the controller hands over with bridge() and
// reports selections back through the controller's clickedListing().
class AppBrowseController : public QWidget {
    Q_OBJECT
public:
    explicit AppBrowseController(QWidget *parent = nullptr);

    // Outlets.
    Controller *controller = nullptr;
    QMenu *removeMenu = nullptr;

    // Takes the controller's visible list.
    void bridge();
    void setSelected(int index);
    int selected() const { return m_selected; }
    // The search field's action.
    void search(const QString &text);
    // The context menu's command.
    void remove();

    QList<AppListingPtr> applications() const { return m_applications; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QList<AppListingPtr> m_applications;
    int m_selected = 0;
};

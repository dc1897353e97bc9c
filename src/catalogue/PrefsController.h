#pragma once

#include "AppListing.h"

#include <QList>
#include <QObject>

class QTableView;

// The hidden-applications list: the table's data source, working on its own copy of the
// catalogue while the window is open.
class PrefsController : public QObject {
    Q_OBJECT
public:
    explicit PrefsController(QObject *parent = nullptr) : QObject(parent) {}

    // Outlets of the "Preferences" window.
    QTableView *appsTable = nullptr;
    QList<AppListingPtr> data;
};

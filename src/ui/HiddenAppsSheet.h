#pragma once

#include "catalogue/HiddenAppsList.h"
#include "chrome/Glass.h"

#include <functional>
#include <optional>

class HiddenAppsTableModel;
class VXTableView;

// The hidden-applications list, a sheet on the main window: every application with a check box,
// OK to apply and Cancel to forget.
class HiddenAppsSheet : public Glass {
    Q_OBJECT
public:
    // The list as the user left it on OK; nothing on Cancel.
    using Done = std::function<void(const std::optional<HiddenAppsList> &list)>;

    // Opens the sheet modal to `window` and returns at once.
    static HiddenAppsSheet *showOn(QWidget *window, HiddenAppsList list, Done done);

    const HiddenAppsTableModel &model() const { return *m_model; }

private:
    HiddenAppsSheet(QWidget *window, HiddenAppsList list);

    HiddenAppsTableModel *m_model;
    VXTableView *m_table;
};

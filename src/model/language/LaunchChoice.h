#pragma once

#include "catalogue/AppListing.h"

#include <QString>

// What Launch starts, captured when the user accepts it: the application and the language
// chosen for it. The launch work holds these values and never reads the panel while it runs.
struct LaunchChoice {
    AppListingPtr app;
    // The language code, as the application names it, and its entry's title.
    QString code;
    QString title;
    // The application's name as the panel shows it.
    QString name;

    // False for Vexilo's own entry and for an application whose languages cannot be told.
    bool launchable() const { return app && !code.isEmpty(); }
};

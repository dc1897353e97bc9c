#pragma once

#include "PanelContent.h"
#include "catalogue/AppListing.h"
#include "language/LaunchChoice.h"
#include "language/LaunchEvent.h"

#include <QObject>
#include <memory>

struct Platform;
class RunningInstances;
class StoredLanguages;

// The application shown in the selection panel and what the panel shows for it. Each selection
// reads the application afresh and looks its stored language up again, so that changes made
// outside Vexilo show.
class Selection : public QObject {
    Q_OBJECT
public:
    Selection(std::shared_ptr<const Platform> platform, StoredLanguages &storedLanguages,
              RunningInstances &runningInstances, QObject *parent = nullptr);

    // Shows the application of a catalogue listing.
    void select(const AppListingPtr &listing);
    // Blanks the panel; the last listing stays current.
    void clear();
    // The user picked the language entry `entry` of the pop-up.
    void chooseLanguage(int entry);
    // Vexilo became the active application: the running-instance line is worked out again, as
    // the application may have quit or been started in another language meanwhile. Vexilo's
    // own entry has no such line.
    void refreshRunning();

    // Launch work runs: the Launch button waits, titled "Launching...", beside the spinner, and
    // the always-open entry waits too.
    void setLaunching(bool launching);
    // A step of launch work: the stored language it wrote or deleted, or the copy it started.
    void applyLaunchEvent(const LaunchEvent &event);

    // A fresh reading of the selected application; null before the first selection.
    AppListingPtr current() const { return m_current; }
    const PanelContent &panel() const { return m_panel; }
    // The application and language Launch would start now.
    LaunchChoice launchChoice() const;

signals:
    void panelChanged(const PanelContent &panel);

private:
    // The bundle at Vexilo's own path.
    bool isOwnEntry(const AppListing &listing) const;
    void updateRunningLine();
    void updateAlwaysOpenEntry();
    Panel::StoredIndex storedIndex() const;
    bool isCurrent(const QString &path) const;
    void publish();

    std::shared_ptr<const Platform> m_platform;
    StoredLanguages &m_storedLanguages;
    RunningInstances &m_runningInstances;
    AppListingPtr m_current;
    PanelContent m_panel;
    bool m_launching = false;
};

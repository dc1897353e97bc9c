#pragma once

#include "PanelContent.h"
#include "catalogue/AppListing.h"
#include "language/LaunchChoice.h"
#include "language/LaunchEvent.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <memory>

struct Platform;
class RunningInstances;
class StoredLanguages;

// What a selection learns from the disk, other processes and the preferences tool; gathered off
// the window's thread, as any of them may be slow.
struct SelectionFacts {
    // A fresh reading of the application.
    AppListingPtr app;
    // Vexilo's own bundle, which has nothing to launch.
    bool ownEntry = false;
    AppListing::StoredSetting stored;
    QString ownLanguage;
    QString runningLine;
};

// The application shown in the selection panel and what the panel shows for it. Each selection
// reads the application afresh and looks its stored language up again, so that changes made
// outside Vexilo show.
class Selection : public QObject {
    Q_OBJECT
public:
    Selection(std::shared_ptr<const Platform> platform, StoredLanguages &storedLanguages,
              RunningInstances &runningInstances, QObject *parent = nullptr);
    ~Selection() override;

    // Shows the application of a catalogue listing, once what the panel needs is gathered.
    void select(const AppListingPtr &listing);
    // The same without waiting: what it needs is gathered on another thread and shown when it
    // is ready; a later selection wins. Until then the panel keeps what it showed, and after a
    // moment shows the name alone.
    void selectInBackground(const AppListingPtr &listing);
    // No selection is being gathered: the panel shows the selected application.
    bool isSettled() const { return !m_pending; }
    // What select gathers for `listing`; safe to call from any thread.
    static SelectionFacts gather(const Platform &platform, const AppListingPtr &listing,
                                 const RunningInstances &runningInstances);
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
    // A selection made in the background is shown.
    void settled();

private:
    void gatherPending();
    void show(const SelectionFacts &facts);
    void updateAlwaysOpenEntry();
    Panel::StoredIndex storedIndex() const;
    bool isCurrent(const QString &path) const;
    void publish();

    std::shared_ptr<const Platform> m_platform;
    StoredLanguages &m_storedLanguages;
    RunningInstances &m_runningInstances;
    AppListingPtr m_current;
    PanelContent m_panel;
    bool m_ownEntry = false;
    bool m_launching = false;
    // The listing to show once gathered in the background; the one being gathered, and the
    // work that gathers it (one at a time).
    AppListingPtr m_pending;
    AppListingPtr m_gathered;
    QFutureWatcher<SelectionFacts> m_gathering;
    bool m_gatheringRuns = false;
    QElapsedTimer m_gatherClock;
    // The running line worked out again in the background, for the application it names.
    QFutureWatcher<QString> m_runningScan;
    AppListingPtr m_scanned;
};

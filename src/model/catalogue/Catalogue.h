#pragma once

#include "AppListing.h"
#include "CatalogueChanges.h"
#include "CatalogueLoader.h"
#include "HiddenAppsList.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>

struct Platform;
class UserDefaults;

// The applications Vexilo knows: every listing (`allApps`, hidden ones included) and the visible
// ones (`apps`), both sorted by name. Built once per run on a worker thread; the result reaches
// the main thread as a value. Afterwards the user adds, removes and hides applications here; each
// change is one locked read-modify-write of the stored arrays as they are on disk at that moment,
// so another running Vexilo loses nothing, and a change that cannot be stored is not made.
class Catalogue : public QObject {
    Q_OBJECT
public:
    Catalogue(std::shared_ptr<const Platform> platform, std::shared_ptr<UserDefaults> defaults,
              QObject *parent = nullptr);
    ~Catalogue() override;

    void startLoading();
    bool isLoaded() const { return m_loaded; }

    QList<AppListingPtr> apps() const { return m_apps; }
    QList<AppListingPtr> allApps() const { return m_allApps; }

    struct AddOutcome {
        enum class Status {
            Added,
            NothingChosen,
            // Every chosen application is in the row already.
            NothingNew,
            // No chosen folder is an application bundle.
            NotAnApplication,
            // ExtraApps or HiddenApps could not be written; nothing was added.
            NotSaved,
        };
        Status status = Status::NothingChosen;
        CatalogueChanges::Addition addition;
        // The names of the chosen folders that are no application bundles, left out whatever
        // the status.
        QStringList rejected;
    };
    // Adds the bundles at the chosen paths, in the chooser's order; folders that are no
    // application bundles are left out.
    AddOutcome add(const QStringList &paths);

    enum class HideOutcome { Hidden, NoIdentifier, NotSaved };
    // Leaves `listing` out of the row from now on: its identifier is appended to HiddenApps,
    // and every visible listing of it leaves `apps`. The full catalogue keeps it.
    HideOutcome hide(const AppListingPtr &listing);

    // A fresh working list of the full catalogue and HiddenApps as stored now.
    HiddenAppsList hiddenAppsList() const;
    // Stores what the user changed in `list` and rebuilds the visible list from the stored
    // HiddenApps; then listChanged. False, and nothing changes, when it cannot be stored.
    bool applyHiddenApps(const HiddenAppsList &list);

signals:
    // Entries looked at so far against entries to look at, a bounded number of times per load.
    void loadingProgress(int done, int total);
    void loaded();
    // The hidden-applications list was applied: `apps` is rebuilt and the row's width may have
    // changed. Adding and removing do not send it.
    void listChanged();

private:
    void takeResult();

    std::shared_ptr<const Platform> m_platform;
    std::shared_ptr<UserDefaults> m_defaults;
    QFutureWatcher<CatalogueLoader::Result> m_watcher;
    QList<AppListingPtr> m_apps;
    QList<AppListingPtr> m_allApps;
    bool m_loaded = false;
};

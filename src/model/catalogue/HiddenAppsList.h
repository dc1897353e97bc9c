#pragma once

#include "AppListing.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <QVariantList>
#include <optional>

// The working state of the hidden-applications list: one row per application of the full
// catalogue, each shown or hidden by its identifier, changed freely until the user confirms.
// Nothing is stored here; changes() says what the user changed against the state the list
// started from.
class HiddenAppsList {
public:
    HiddenAppsList() = default;
    // `apps` is the full catalogue in its order; `hidden` the identifiers stored now.
    HiddenAppsList(QList<AppListingPtr> apps, const QStringList &hidden);

    int count() const { return int(m_apps.size()); }
    AppListingPtr listing(int row) const;
    // The name shown: the application's display name.
    QString name(int row) const;
    // Whether the row is shown; no value for an application that has been moved or deleted.
    std::optional<bool> isShown(int row) const;
    // Moved or deleted applications, and those without identifier, cannot be switched.
    bool canSwitch(int row) const;
    bool isInvalid(int row) const;
    // Why a row cannot be switched; empty for one that can.
    QString toolTip(int row) const;
    // False, and nothing changes, for a row that cannot be switched. Every row of the same
    // identifier follows.
    bool setShown(int row, bool shown);

    // The identifiers to be hidden: the working copy of HiddenApps.
    QStringList skipped() const;

    struct Changes {
        QStringList shown;  // hidden before, shown now
        QStringList hidden; // shown before, hidden now
        bool isEmpty() const { return shown.isEmpty() && hidden.isEmpty(); }
        bool operator==(const Changes &) const = default;
    };
    Changes changes() const;

    // HiddenApps as stored now with the changes applied: every occurrence of an identifier
    // shown again goes, an identifier hidden is appended once, and everything else (another
    // program's change, an element that is no string) stays as it is.
    static QVariantList applied(const QVariantList &stored, const Changes &changes);

private:
    QList<AppListingPtr> m_apps;
    QStringList m_initial;
    QSet<QString> m_initialSet;
    QSet<QString> m_hidden;
};

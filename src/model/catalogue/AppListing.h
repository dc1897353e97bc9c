#pragma once

#include "platform/desktop/DesktopEntries.h"
#include "platform/desktop/DesktopOverride.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <climits>
#include <memory>
#include <mutex>
#include <optional>

class AppListing;
class Workspace;
class DesktopEntries;
using AppListingPtr = std::shared_ptr<const AppListing>;

// One application bundle of the catalogue: what the program needs from the bundle, read once
// when the listing is made. A listing does not change once made, except for the display name it
// looks up when first asked; listings are made on the loading thread and read on the main thread
// only after the hand-over. A catalogue holds thousands, so each keeps little: its language list
// is worked out when first asked for (a selection does), and what many bundles have alike (the
// names of their localisation folders, where their icon lies) is held once for all of them.
class AppListing {
public:
    static constexpr int NotFound = INT_MAX;

    // The listing of the bundle at `path`; always a listing (an unreadable bundle gives one
    // without identifier and languages). Moves disabled resources back on the way. A relative
    // path is not read at all: it would be taken from whatever folder Vexilo was started in.
    // `invalid` marks an added bundle that is no longer there.
    static AppListingPtr fromPath(const QString &path, Workspace &workspace, bool invalid = false);
    // The listing of the bundle the workspace finds for `identifier`.
    static AppListingPtr fromIdentifier(const QString &identifier, Workspace &workspace);
    // The listing of an application of the desktop's menu: path is its entry's file, identifier
    // its desktop-file ID, name its localised Name, icon its theme icon's file. Its languages
    // (Translations) and its always-open setting are looked for only `withLanguages`, as the
    // row does not need them.
    static AppListingPtr fromDesktopApplication(const DesktopApplication &app,
                                                const DesktopEntries &entries, bool withLanguages);
    // A fresh reading of the menu's application `listing` shows; when the menu no longer shows
    // it, the listing without languages.
    static AppListingPtr reread(const AppListing &listing, const DesktopEntries &entries);

    // Full path of the bundle folder.
    QString path() const { return m_path; }
    // The folder's name without its extension; the catalogue's sort key.
    QString name() const { return m_name; }
    // The identifier the bundle declares; empty when it declares none or cannot be read.
    QString identifier() const { return m_identifier; }
    // The languages the user can open the application in (LanguageList): its localisation
    // folders as they were when the listing was made, without Base, and the languages of its
    // CFBundleLocalizations, one entry per language, in the order of their display names.
    QStringList langs() const;
    // The bundle's own icon file; empty when it has none, which shows the generic icon.
    QString iconPath() const;
    bool invalid() const { return m_invalid; }
    // An application of the desktop's menu rather than a bundle.
    const std::optional<DesktopApplication> &desktop() const { return m_desktop; }
    // For the menu's applications read with their languages: who set the language it always
    // opens in, and that language.
    const DesktopOverride::Found &desktopSetting() const { return m_desktopSetting; }

    // The name shown to the user: the bundle's localised CFBundleName, else `name`.
    QString localizedAppName() const;
    // CFBundleVersion, a localised value winning; read when asked, as loading does not need it.
    QString version() const;

    // Equal when both declare the same identifier; a listing without one equals only itself.
    bool isEqualToListing(const AppListing &other) const;

private:
    struct Private {};

public:
    explicit AppListing(Private) {} // use fromPath()

private:
    void read(const QString &path, Workspace &workspace);

    QString m_path;
    QString m_name;
    QString m_identifier;
    QStringList m_localizations; // folder names, sorted
    QVariant m_declaredLocalizations;
    // Relative to m_path; a desktop application's theme icon is absolute. Empty for none.
    QString m_iconFile;
    bool m_invalid = false;
    std::optional<DesktopApplication> m_desktop;
    DesktopOverride::Found m_desktopSetting;
    mutable std::once_flag m_langsMade;
    mutable QStringList m_langs;
    mutable std::optional<QString> m_localizedName;
};

// Moves the entries of Contents/Resources Disabled back into Contents/Resources, replacing
// nothing; true when none is left behind.
bool restoreDisabledResources(const QString &bundlePath);

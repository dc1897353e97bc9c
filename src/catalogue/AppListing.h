#pragma once

#include "IconImage.h"
#include "Platform.h"

#include <QString>
#include <QStringList>
#include <climits>
#include <memory>

class Bundle;
class AppListing;
using AppListingPtr = std::shared_ptr<AppListing>;

// One application bundle of the catalogue: what the program needs from the bundle, read once at
// creation, and the cached state of the application's stored language.
//
// Listings are created on the loading thread and handed to the main thread as a whole (queued),
// and only the main thread changes them afterwards, so the fields need no locking.
//
// A copy (copy()) is a fresh reading of the bundle linked to the listing it was made from, its
// parent. A copy starts with the stored language untested, so every selection (which copies)
// looks the preference up again and sees changes made outside Vexilo; whatever the copy learns
// or is told about the stored language is passed on to its parent, which therefore always holds
// the latest known state.
class AppListing : public std::enable_shared_from_this<AppListing> {
public:
    static constexpr int NotFound = INT_MAX;

    // A listing for the bundle at `path`; always returns a listing (an unreadable bundle gives
    // one without identifier and languages). Moves disabled resources back on the way. A relative
    // path is not read at all: it would be taken from whatever folder Vexilo was started in.
    static AppListingPtr initWithPath(const QString &path,
                                      std::shared_ptr<const Platform> platform);
    // A listing for the bundle the workspace finds for `identifier`.
    static AppListingPtr initWithIdentifier(const QString &identifier,
                                            std::shared_ptr<const Platform> platform);

    ~AppListing();
    AppListing(const AppListing &) = delete;
    AppListing &operator=(const AppListing &) = delete;

    // A fresh listing read again from this one's path, linked to this one as its parent.
    AppListingPtr copy();

    // Moves the entries of Contents/Resources Disabled back into Contents/Resources.
    bool resetResourcesDisabled();

    // The name shown to the user: the bundle's localised CFBundleName, else `name`.
    QString localizedAppName() const;

    bool isEqualToListing(const AppListing &other) const;
    bool operator==(const AppListing &other) const { return isEqualToListing(other); }

    IconImagePtr icon() const { return m_icon; }
    void setIcon(IconImagePtr icon) { m_icon = std::move(icon); }
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString identifier() const { return m_identifier; }
    QStringList langs() const { return m_langs; }
    // CFBundleVersion, a localised value winning; read when first asked, as nothing needs it
    // while the catalogue loads.
    QString version() const;
    void setVersion(const QString &version);
    bool invalid() const { return m_invalid; }
    void setInvalid(bool invalid) { m_invalid = invalid; }
    AppListingPtr observer() const { return m_observer; }
    void setObserver(AppListingPtr observer) { m_observer = std::move(observer); }

    // Cached stored-language state; the setters also tell the parent (see the class comment).
    QString autoLang() const { return m_autoLang; }
    void setAutoLang(const QString &autoLang);
    bool hasAutoLang() const { return m_hasAutoLang; }
    void setHasAutoLang(bool hasAutoLang);
    bool testedForAutoLang() const { return m_testedForAutoLang; }
    void setTestedForAutoLang(bool tested);

    // The stored language, looked up with the preferences tool the first time one of these is
    // asked on this listing object (defined with the language code).
    bool hasAutomaticLanguage();
    QString automaticLanguage();
    int indexOfAutoLang();
    QString localizedAutoLang();

    // The parent's side of the link: its copy changed one of the stored-language fields.
    void observeValueForKeyPath(const QString &keyPath, const AppListing &copy);

    const Platform &platform() const { return *m_platform; }

private:
    explicit AppListing(std::shared_ptr<const Platform> platform);
    void readBundle(const QString &path);
    void setPathAndName(const QString &path);
    void tellObserver(const QString &keyPath) const;
    void runProbe();

    std::shared_ptr<const Platform> m_platform;
    std::shared_ptr<const Bundle> m_bundle;
    IconImagePtr m_icon;
    QString m_path;
    QString m_name;
    QString m_identifier;
    QStringList m_langs;
    QString m_autoLang;
    mutable QString m_version;
    mutable bool m_versionRead = false;
    AppListingPtr m_observer;
    mutable QString m_localizedName;
    mutable bool m_localizedNameRead = false;
    bool m_hasAutoLang = false;
    bool m_testedForAutoLang = false;
    bool m_invalid = false;
};

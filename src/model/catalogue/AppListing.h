#pragma once

#include <QString>
#include <QStringList>
#include <climits>
#include <memory>
#include <mutex>
#include <optional>

class AppListing;
class DesktopEntries;
class Processes;
class Workspace;
struct DesktopApplication;
struct Platform;
using AppListingPtr = std::shared_ptr<const AppListing>;

// One application of the catalogue, whatever its kind (a bundle, an entry of the desktop's
// menu), and the language questions every kind answers in its own way. The rest of the program
// asks these and never which kind it holds.
//
// A listing does not change once made but for what it works out when first asked; listings are
// made on the loading thread and read on the main thread only after the hand-over, and the
// launch worker asks a listing it was handed. A catalogue holds thousands, so each keeps little.
class AppListing {
public:
    static constexpr int NotFound = INT_MAX;

    virtual ~AppListing();

    // The listing of the bundle at `path`; always a listing (an unreadable bundle gives one
    // without identifier and languages). Moves disabled resources back on the way. A relative
    // path is not read at all: it would be taken from whatever folder Vexilo was started in.
    // `invalid` marks an added bundle that is no longer there.
    static AppListingPtr fromPath(const QString &path, Workspace &workspace, bool invalid = false);
    // The listing of an application of the desktop's menu. Its languages and its always-open
    // setting are looked for only `withLanguages`, as the row does not need them.
    static AppListingPtr fromDesktopApplication(const DesktopApplication &app,
                                                const DesktopEntries &entries, bool withLanguages);

    // Where it lives: the bundle folder, or the menu entry's file.
    QString path() const { return m_path; }
    // The catalogue's sort key: the bundle folder's name without extension, the entry's Name.
    QString name() const { return m_name; }
    // The bundle's identifier (empty when it declares none), or the desktop-file ID.
    QString identifier() const { return m_identifier; }
    // The icon file to draw; empty for the generic icon.
    QString iconPath() const;
    bool invalid() const { return m_invalid; }
    // The name shown to the user, in the user's language.
    virtual QString localizedAppName() const = 0;
    // Its version, read when asked; empty when it has none.
    virtual QString version() const { return {}; }
    // The languages the user can open it in, one entry per language, in the order of their
    // display names (LanguageList).
    virtual QStringList langs() const = 0;

    // Equal when both have the same identifier; a listing without one equals only itself.
    bool isEqualToListing(const AppListing &other) const;

    // A fresh reading for a selection, with its languages, so that changes made outside Vexilo
    // show.
    virtual AppListingPtr reread(const Platform &platform) const = 0;

    // The entry of `langs` the application opens in by itself for a user who prefers these
    // languages (most preferred first); empty when it has none. The panel's first choice and the
    // running copies' line both come from here.
    virtual QString ownLanguage(const QStringList &preferredLanguages) const = 0;

    // Its stored ("always open") language, as set now.
    struct StoredSetting {
        std::optional<QString> code;
        // Set by a file that Vexilo did not write, which it leaves alone; empty otherwise.
        QString foreignFile;
        bool operator==(const StoredSetting &) const = default;
    };
    // Why it can keep no stored language; empty when it can.
    virtual QString whyNoStoredLanguage() const = 0;
    // Asks the system for it; may run a tool.
    virtual StoredSetting readStoredLanguage(const Platform &platform) const = 0;

    // Writes `code` as its stored language, or removes it (nullopt).
    struct SettingChange {
        enum class Result { Done, UserFile, Failed };
        Result result = Result::Failed;
        // UserFile: the file left alone; Failed: why it failed, as the system said it.
        QString detail;
    };
    virtual SettingChange changeStoredLanguage(const Platform &platform,
                                               const std::optional<QString> &code) const = 0;

    // Starts it, in a session of its own, waits until it is known and brings it to the front:
    // Once in `language` (Launch), or AsStored, opening as its stored language `language` (empty
    // for none) says.
    enum class StartMode { Once, AsStored };
    struct StartOutcome {
        // The new copy runs as the start returns.
        bool running = false;
        // Why it could not be started; empty when it was.
        QString failure;
    };
    virtual StartOutcome start(Processes &processes, StartMode mode,
                               const QString &language) const = 0;

    // The processes of its running copies, in PID order.
    virtual QList<qint64> runningCopies(const Processes &processes) const = 0;
    // The user's name for the language the running copy `pid` was opened in; empty when it
    // cannot be known. `stored` is its stored language, when it was looked up.
    virtual QString runningLanguage(const Processes &processes, qint64 pid,
                                    const std::optional<QString> &stored) const = 0;

protected:
    AppListing() = default;

    QString m_path;
    QString m_name;
    QString m_identifier;
    // Relative to m_path for a bundle's own icon, absolute for a theme icon; empty for none.
    QString m_iconFile;
    bool m_invalid = false;
};

// Moves the entries of Contents/Resources Disabled back into Contents/Resources, replacing
// nothing; true when none is left behind.
bool restoreDisabledResources(const QString &bundlePath);

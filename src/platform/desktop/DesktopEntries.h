#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One application of the desktop's application menu, read from its desktop entry.
struct DesktopApplication {
    // The desktop-file ID: the file's path below an applications folder, '/' turned into '-'
    // ("org.gnome.Calculator.desktop", "kde-kcalc.desktop").
    QString id;
    // The file the application is read from.
    QString path;
    // Name in the user's language.
    QString name;
    // Icon: a theme icon's name, or an absolute file path.
    QString icon;
    // The file it is drawn from (IconTheme); empty for the generic icon.
    QString iconFile;
    // What Exec runs for a launch without files, field codes expanded.
    QStringList arguments;
    // The program Exec runs (past "env"), found on PATH; symbolic links kept.
    QString program;
    // Declared text domain (X-GNOME-Gettext-Domain, X-Ubuntu-Gettext-Domain); usually empty.
    QString gettextDomain;
    // The Flatpak application it starts; empty for others.
    QString flatpakId;
    bool terminal = false;
    // The entry asks to be started over D-Bus (DBusActivatable).
    bool dbusActivatable = false;
    // The language Vexilo's own override of the entry opens it in; empty when there is none.
    QString overrideLanguage;
    // Filled in when the application is selected (Translations): a Chromium-style program,
    // which takes its language from --lang too, and the language the program is written in
    // when it has no catalogue of its own (English for gettext and Qt programs).
    bool chromium = false;
    QString untranslatedLanguage;

    bool operator==(const DesktopApplication &) const = default;
};

// The application menu as the freedesktop menu rules build it: the desktop entries of type
// Application in each applications folder, an earlier folder's entry shadowing a later one's of
// the same ID, without those the user should not see here (NoDisplay, Hidden, OnlyShowIn and
// NotShowIn for this desktop) or that cannot run (TryExec or Exec's program not found).
class DesktopEntries {
public:
    struct Setup {
        // Applications folders, most important first; the first is the user's own.
        QStringList folders;
        // XDG_CURRENT_DESKTOP's names.
        QStringList currentDesktops;
        // Where programs are looked for (PATH).
        QString path;
        // The user's locales for localised names: LANGUAGE's entries, then the messages locale.
        QStringList locales;
        // Where translations are looked for besides each applications folder's data folder:
        // gettext's locale folders, and Flatpak's installations (per user first).
        QStringList localeFolders;
        QStringList flatpakInstallations;
        // The package manager's database (DebianPackages); empty for none.
        QString packageDatabase;
        // Where the user's D-Bus service files go ($XDG_DATA_HOME/dbus-1/services).
        QString userServices;
    };

    // The data folders of the applications folders (without "/applications").
    QStringList dataFolders() const;

    explicit DesktopEntries(Setup setup);

    // $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS' (default /usr/local/share and
    // /usr/share), then Flatpak's and Snap's export folders where XDG_DATA_DIRS lacks them.
    static Setup standardSetup();

    const Setup &setup() const { return m_setup; }
    // The user's own applications folder: where overrides of other folders' entries go.
    QString userFolder() const;

    // Every application of the menu, in no particular order.
    QList<DesktopApplication> applications() const;
    // The application of one ID as the menu shows it now; nullopt when it shows none.
    std::optional<DesktopApplication> application(const QString &id) const;

    // The files of an ID in one folder: "a-b.desktop" may be a-b.desktop, a/b.desktop.
    static QStringList candidatePaths(const QString &folder, const QString &id);
    // Whether an ID can be a file's name in the user's folder: a plain name ending in .desktop.
    static bool isSafeId(const QString &id);

private:
    // What a reading of the menu looks up once for all its entries: icon folders, programs.
    struct Lookups;
    // The application of an entry file, applying the menu's rules; `lower` finds the entry an
    // override by Vexilo stands in front of.
    std::optional<DesktopApplication> fromFile(const QString &id, const QString &path,
                                               int folderIndex, Lookups &lookups) const;
    std::optional<DesktopApplication> readEntry(const QString &id, const QString &path,
                                                QString *overrideLanguage, Lookups &lookups) const;

    Setup m_setup;
    QStringList m_localeKeys;
};

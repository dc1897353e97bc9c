#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// "Always open in this language" for a desktop entry: a copy of the entry in the user's own
// applications folder, under the same desktop-file ID, so that it shadows the original in the
// desktop's menus and its Exec lines set the language. Vexilo marks the copy as its own and
// records a checksum of it, so that it never overwrites or removes a file that someone else
// wrote or changed.
namespace DesktopOverride {

inline const QString kLanguageKey = QStringLiteral("X-Vexilo-Language");
inline const QString kChecksumKey = QStringLiteral("X-Vexilo-Checksum");

// The override of `original` (an entry's file as it is) that opens it in `language` (the code
// Vexilo lists): every Exec line of the entry and of its actions starts with
// "env <assignments>" (LANGUAGE=... and the locale variables it needs), followed by `option`
// (--lang=... for Chromium-style programs) after the program when it is set; D-Bus activation
// is turned off, since a launcher activating the application over D-Bus would not run Exec.
// Every other line stays as it was. The marker key, a comment and the checksum are added.
QByteArray text(const QByteArray &original, const QString &language, const QStringList &assignments,
                const QString &option = QString());

// The language of an override Vexilo wrote and nobody changed since; nullopt for any other text.
std::optional<QString> vexiloLanguage(const QByteArray &text);

enum class Owner {
    // No file of that ID in the user's folder.
    Nobody,
    // Vexilo's own override, unchanged.
    Vexilo,
    // A file the user (or another program) wrote, or Vexilo's changed since.
    User,
};

struct Found {
    Owner owner = Owner::Nobody;
    // The file; for Nobody, where Vexilo would write one.
    QString path;
    // Vexilo's: the language it opens the application in.
    QString language;
};

// What the user's folder holds for an ID (in any of the ID's file names).
Found find(const QString &userFolder, const QString &id);

enum class Result { Done, UserFile, Failed };

// Writes (or replaces Vexilo's own) override of the entry at `originalPath`, atomically; a file
// of the user's is left alone (UserFile). Never writes outside `userFolder`.
Result write(const QString &userFolder, const QString &id, const QString &originalPath,
             const QString &language, const QStringList &assignments,
             const QString &option = QString());

// Runs between write()'s check of the user's folder and its change of it: tests swap a file
// there. Empty by default.
void setBeforeReplaceForTesting(std::function<void()> hook);

// Removes Vexilo's own override of the ID; a file of the user's is left alone (UserFile).
Result remove(const QString &userFolder, const QString &id);

// D-Bus activation starts a DBusActivatable application from its service file, not its entry:
// the user's service file of the same name ($XDG_DATA_HOME/dbus-1/services/<name>.service),
// which the session bus prefers to the system's, starts it with the language the same way. It
// is marked, checksummed, read back and removed by the same rules as the entry's override.

// The bus name of a DBusActivatable entry: its ID without ".desktop"; empty for an unsafe ID.
QString serviceName(const QString &id);
// The copy of a service file whose Exec starts with "env <assignments>"; SystemdService is left
// out, since a bus that starts services through systemd would not run Exec. Empty when an
// assignment cannot be written for the bus's word splitting.
QByteArray serviceText(const QByteArray &original, const QString &language,
                       const QStringList &assignments);
Found findService(const QString &userServices, const QString &name);
Result writeService(const QString &userServices, const QString &name, const QString &originalPath,
                    const QString &language, const QStringList &assignments);
Result removeService(const QString &userServices, const QString &name);

} // namespace DesktopOverride

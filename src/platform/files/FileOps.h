#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace FileOps {

// Moves a file or folder to a name that must not exist yet. Unlike rename(), never replaces
// an existing entry: fails instead, leaving both in place.
bool moveNoReplace(const QString &from, const QString &to);

// Swaps two names at once (renameat2 RENAME_EXCHANGE); a link at either is moved, never
// followed. Where the file system cannot swap, `from` is renamed over `to` instead (which also
// replaces a link rather than following it) and `from` names nothing afterwards.
bool exchange(const QString &from, const QString &to);

// Read-modify-write of a small file under an exclusive lock file (<path>.lock), replacing it
// atomically so a reader sees the old or the new contents, never a part. `change` gets the
// current contents (nullopt when the file does not exist) and returns the new contents, or
// nullopt to leave the file as it is. Creates missing parent folders. False when the file
// could not be written.
bool updateLocked(
    const QString &path,
    const std::function<std::optional<QByteArray>(std::optional<QByteArray>)> &change);

// Whole-file read; nullopt when it does not exist or cannot be read.
std::optional<QByteArray> readAll(const QString &path);

} // namespace FileOps

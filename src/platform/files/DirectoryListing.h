#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Folder contents straight from the file system, without a stat of every entry: catalogues of
// many bundles list many folders. Names that are not UTF-8 are left out: no path built from
// them would lead back to the entry.
namespace DirectoryListing {

// The names of every entry but "." and "..", hidden ones included, in the order the file system
// gives them. Empty when the folder cannot be read.
QStringList entries(const QString &folder);

// The entries with whether each may be a symbolic link (only those need resolving).
struct Entry {
    QString name;
    bool mayBeLink = false;
};
QList<Entry> entriesWithLinks(const QString &folder);

// What is at a path itself, links not followed.
enum class Kind { Missing, Folder, Link, Other };
Kind kindOf(const QString &path);

// When a file, or a folder's list of entries, last changed, in nanoseconds; -1 when there is
// nothing to read.
qint64 changeStamp(const QString &path);

// The path with every link resolved, absolute and clean; empty when it leads nowhere (missing,
// a dangling link or a loop of links).
QString canonicalPath(const QString &path);

// The names of the entries that are folders or links to folders, in file-system order.
// `readable` tells whether the folder could be opened at all.
QStringList folders(const QString &folder, bool *readable = nullptr);

// Each entry but "." and ".." as raw bytes, with its type as the folder tells it (DT_DIR, DT_REG,
// DT_LNK, DT_UNKNOWN...), in file-system order: a folder of many files costs no string per file.
// `linkFree` tells whether the folder and every folder on the way to it are real folders, no
// links. False when the folder cannot be read.
bool visitEntries(const QString &folder,
                  const std::function<void(const char *name, unsigned char type)> &visit,
                  bool *linkFree = nullptr);
// A file name as the file system gives it, as a string; nullopt when it is not UTF-8.
std::optional<QString> decodedName(const char *name);

// Whether the entry `name` of `folder` is a folder or a link to one.
bool isFolderEntry(const QString &folder, const char *name);

// The whole contents of a regular file of at most `maxSize` bytes; nullopt for anything else
// (missing, a folder, a device or a pipe, which could block, or a larger file).
// `opened` tells whether the path led to something that could be opened.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxSize,
                                          bool *opened = nullptr);

} // namespace DirectoryListing

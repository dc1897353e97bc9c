#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// What a folder holds, links not followed: for each path below it its kind, permissions, link
// target or a digest of its contents. Two snapshots of one folder are equal when nothing in it
// was created, lost, replaced or changed. FIFOs and devices are never opened.
class FileTree {
public:
    static FileTree of(const QString &root);

    // The paths (relative to the root) that differ between the two, each with what it was and
    // what it is; empty when the trees are the same. Paths below `ignored` (relative folders)
    // are left out.
    QStringList differences(const FileTree &after, const QStringList &ignored = {}) const;

private:
    QMap<QString, QByteArray> m_entries;
};

// Root reads every file whatever its permissions: a test that needs an unreadable folder lays
// that power down while it runs (and FileTree takes it up again to look). No-ops for other users.
namespace FileAccess {
void dropOverride();
void restoreOverride();
} // namespace FileAccess

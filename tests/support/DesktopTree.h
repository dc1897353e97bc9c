#pragma once

#include "platform/desktop/DesktopEntries.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// A desktop's application menu in a test's folder: the user's applications folder under
// <root>/data (XDG_DATA_HOME of TestEnvironment), a system data folder with its applications and
// locale folders, and a bin folder of stand-in programs that log how they were started.
class DesktopTree {
public:
    explicit DesktopTree(const QString &root);

    QString root() const { return m_root; }
    QString userFolder() const { return m_root + QStringLiteral("/data/applications"); }
    QString systemData() const { return m_root + QStringLiteral("/system"); }
    QString systemFolder() const { return systemData() + QStringLiteral("/applications"); }
    QString bin() const { return m_root + QStringLiteral("/bin"); }
    // Folders of the tree first, then the system's PATH (for sh and env).
    QString path() const;
    DesktopEntries::Setup setup() const;

    // Writes `bytes` to root/<relative>, making its folders; the file's path.
    QString write(const QString &relative, const QByteArray &bytes, bool executable = false);
    // A desktop entry of type Application with these further lines in `folder`.
    QString entry(const QString &folder, const QString &id, const QByteArray &lines);
    // A program at root/<relative> that appends "start <pid> [arg]... LANGUAGE=... LC_ALL=...
    // LC_MESSAGES=... LC_CTYPE=..." to <name>.log and runs until it is asked to quit. Acting as
    // `flatpak`, "override" arguments change the per-user overrides file as the tool does.
    QString recorder(const QString &relative, const QString &name);
    QStringList log(const QString &name) const;
    // A package installed in the tree's package database (<root>/dpkg): its file list, made of
    // `files` (each also written, empty, below the root, which their paths start with), and its
    // status stanza naming `source`.
    void package(const QString &name, const QString &source, const QStringList &files);
    // Every file below `folder` (hidden ones too) and its bytes.
    static QHash<QString, QByteArray> snapshot(const QString &folder);

private:
    QString m_root;
};

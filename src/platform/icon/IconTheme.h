#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The files of theme icons desktop entries name ("org.gnome.Calculator"), looked up the way the
// icon theme rules do for one size: the large sizes of the hicolor theme (every application
// installs there) and of a few common themes, then the old pixmaps folders. Each folder is
// listed once, when a lookup first reaches it: a menu of thousands of entries then costs a
// listing per folder, not a file check per entry, folder and extension.
class IconTheme {
public:
    explicit IconTheme(const QStringList &dataFolders);

    // An absolute path is taken as it is when it is a file. Empty when nothing is found; the row
    // then draws the generic icon.
    QString iconFile(const QString &name);

private:
    struct Folder {
        bool listed = false;
        // Names with an icon's extension: regular files, and entries that may be links (checked
        // when asked for).
        QSet<QString> files;
        QSet<QString> links;
    };
    // The folders in lookup order: each theme's sizes, each size in every data folder; then
    // the pixmaps folders.
    QString folderPath(qsizetype index) const;
    bool isPixmaps(qsizetype index) const;
    void list(qsizetype index);

    QStringList m_dataFolders;
    QList<Folder> m_folders;
};

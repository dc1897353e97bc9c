#pragma once

#include <QString>
#include <QStringList>

// The file of a theme icon a desktop entry names ("org.gnome.Calculator"), looked up the way
// the icon theme rules do for one size: the large sizes of the hicolor theme (every
// application installs there) and of a few common themes, then the old pixmaps folders.
namespace IconTheme {

// An absolute path is taken as it is when it is a file. Empty when nothing is found; the row then
// draws the generic icon.
QString iconFile(const QString &name, const QStringList &dataFolders);

} // namespace IconTheme

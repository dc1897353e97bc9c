#pragma once

#include <QString>
#include <QStringList>

// What the package manager knows of the installed files, read from its own records as files:
// <database>/info/<package>.list (a package's files, one a line) and <database>/status (which
// package is built from which source). No tool is run. The lists are read once per database
// and kept for the run.
namespace DebianPackages {

// Debian's database folder.
inline const QString kDatabase = QStringLiteral("/var/lib/dpkg");

// The package that installed `path` (a desktop entry or a program in a bin folder); empty when
// none did or `database` is empty.
QString owner(const QString &path, const QString &database);

// The files of `package` and of the other installed packages built from the same source
// (a program's catalogues are often in its -data or -common package), in list order.
QStringList files(const QString &package, const QString &database);

} // namespace DebianPackages

#pragma once

#include <QString>
#include <QStringList>

// What a menu entry's program file tells about the program that really runs: the programs a
// wrapper script ends in, and the libraries a program is built on.
namespace ProgramFiles {

// The programs a shell script (#!/bin/sh, bash, dash) hands over to with `exec` (past env and
// its options and assignments), as absolute
// paths of executables other than the script: "exec $LIBDIR/$APPNAME ..." after
// "APPNAME=chromium" and "LIBDIR=/usr/lib/$APPNAME" gives /usr/lib/chromium/chromium. Only
// plain assignments are expanded; a path that needs more is left out. Empty for other files.
QStringList execTargets(const QString &script);

// The libraries an ELF program names as needed (DT_NEEDED); empty for other files.
QStringList neededLibraries(const QString &program);

// Whether the program picks its language from the locale variables (LC_ALL, LC_MESSAGES,
// LANG) rather than gettext's LANGUAGE, as wxWidgets programs do; a wrapper script is judged by
// the programs it ends in. Kept for the run per program.
bool readsLanguageFromLocale(const QString &program);

} // namespace ProgramFiles

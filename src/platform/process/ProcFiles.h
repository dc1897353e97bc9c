#pragma once

#include <QByteArray>
#include <climits>

// Reading the files of /proc/<pid>, shared by the process listings.
namespace ProcFiles {

// /proc files report a size of 0, so they are read until end of file, at most `limit` bytes.
QByteArray readProcFile(const QByteArray &path, qsizetype limit = LLONG_MAX);
// A symbolic link's target; empty when it cannot be read.
QByteArray readLink(const QByteArray &path);
// The state letter of /proc/<pid>/stat; '\0' when the process is gone.
char processState(const QByteArray &procDir);

} // namespace ProcFiles

#pragma once

#include "platform/process/ProcessCommandLine.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <climits>
#include <optional>
#include <sys/types.h>

// Reading the files of /proc/<pid>, shared by the process listings.
namespace ProcFiles {

// /proc files report a size of 0, so they are read until end of file, at most `limit` bytes.
QByteArray readProcFile(const QByteArray &path, qsizetype limit = LLONG_MAX);
// A symbolic link's target; empty when it cannot be read.
QByteArray readLink(const QByteArray &path);
// The state letter of /proc/<pid>/stat; '\0' when the process is gone.
char processState(const QByteArray &procDir);
// The program a process runs (/proc/<pid>/exe); one replaced on disk since counts as the same.
QByteArray executable(const QByteArray &procDir);

// A "#!" script: the file and its interpreter line. nullopt when `path` is no regular file
// starting with "#!" (a FIFO of that name is not waited for).
struct Script {
    dev_t device = 0;
    ino_t inode = 0;
    ProcessCommandLine::Interpreter interpreter;
};
std::optional<Script> script(const QString &path);

// Whether the process (its words `argv`) is the interpreter of `script` running that file:
// argv[1] or argv[2] (relative to the process's working folder) is that very file, the words are
// those the kernel gives such a start, and the process's executable is the interpreter the
// script's line names, links resolved ("#!/usr/bin/env name": `name` on the process's PATH).
// Words alone prove nothing: any program can choose its argv.
bool runsScript(const QByteArray &procDir, const QList<QByteArray> &argv, const Script &script);

} // namespace ProcFiles

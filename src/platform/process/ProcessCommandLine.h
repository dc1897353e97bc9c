#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// The pure parts of reading a process's command line: what /proc hands over is written by
// whoever started the process, so these take any bytes.
namespace ProcessCommandLine {

// The `ps -o args` form of a /proc/PID/cmdline: the header line "ARGS", then the NUL-separated
// words joined by blanks and a line feed, control characters shown as '?' so that an argument
// cannot forge a line of its own. Only the header when there are no words.
QByteArray report(QByteArray cmdline);

// A script's interpreter line as the kernel reads it: "#!/bin/sh -e" gives the interpreter
// "/bin/sh" and everything after it as one argument, "-e". nullopt when `head` (the start of
// the file) does not begin with "#!".
struct Interpreter {
    QByteArray program;
    QByteArray argument;
};
std::optional<Interpreter> interpreterLine(QByteArrayView head);

// Whether a process whose words are `argv` is `interpreter` running the script at argv[k]
// (k is 1 or 2): "/bin/sh <script>" for "#!/bin/sh", "/bin/sh -e <script>" for "#!/bin/sh -e",
// and "python3 <script>" for "#!/usr/bin/env python3". An editor opened on the file is not.
bool runsScript(const QList<QByteArray> &argv, qsizetype k, const Interpreter &interpreter);

// "/x/Foo.app/Contents/MacOS/Foo" -> "/x/Foo.app"; empty when the path is not in a bundle's
// MacOS folder. The innermost bundle wins for helpers nested inside another bundle.
QString bundlePathOfExecutable(const QString &path);

} // namespace ProcessCommandLine

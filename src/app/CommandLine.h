#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What Vexilo's command line asks for, read before any window exists. Later commands join
// `Command` here.
namespace CommandLine {

enum class Command { OpenWindow, Help, Version, Refused };

struct Request {
    Command command = Command::OpenWindow;
    // What to print: the help or version text on standard output, or why Vexilo cannot start on
    // standard error.
    QString text;
    int exitStatus = 0;
};

// `arguments` without the program's name; `environment` answers a variable's value (empty
// when unset). Qt's own options (-platform, -display, …) are left to Qt.
Request parse(const QStringList &arguments,
              const std::function<QString(const char *)> &environment);

} // namespace CommandLine

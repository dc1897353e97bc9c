#pragma once

#include <QString>
#include <QStringList>

namespace Cli {

// The documented exit statuses.
enum Status {
    Ok = 0,
    Error = 1,
    Usage = 2,
    // A copy of the application runs and --restart was not given.
    Running = 3,
    // The application keeps no stored language, or a setting it has is not Vexilo's to change.
    Refused = 4,
};

struct Command {
    enum class Kind { Help, List, Languages, Launch, Always, Running };
    Kind kind = Kind::Help;
    // Help: the command asked about; empty for all of them.
    QString topic;
    QString app;
    QString language;
    bool restart = false;
    bool reset = false;
    bool json = false;
    // One word a line, for completion: identifiers and names, or language codes.
    bool quiet = false;
};

struct Parsed {
    Command command;
    // Set when the arguments are not a command; the status is then Usage.
    QString error;
};

// The arguments after the program's name.
Parsed parse(const QStringList &arguments);

// The help of a command, or of all of them for an empty or unknown topic.
QString help(const QString &topic);

} // namespace Cli

#pragma once

#include <QString>
#include <QStringList>

struct Platform;

namespace Cli {

struct Outcome {
    int status = 0;
    QString out;
    QString err;
};

// Runs the command the arguments (after the program's name) give, against `platform`'s
// applications and preferences; `ownIdentifier` names Vexilo's own preferences.
Outcome run(const Platform &platform, const QString &ownIdentifier, const QStringList &arguments);

} // namespace Cli

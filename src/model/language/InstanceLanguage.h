#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Reading the language a running instance was opened in.
namespace InstanceLanguage {

// The code of the "-AppleLanguages (xx)" argument in the output of `ps -p PID -o args` (header
// line "ARGS", then the command line in UTF-8; both matched ignoring case). nullopt when the output
// lacks the header or the argument, or the parentheses hold nothing: such an instance chose its
// language by itself.
std::optional<QString> languageArgument(const QByteArray &psOutput);

// The user's name for the code of a language argument: its name as a locale identifier, else its
// canonical identifier's name as a language code, else the canonical identifier. Empty when
// nothing can be named.
QString nameForArgument(const QString &code);

} // namespace InstanceLanguage

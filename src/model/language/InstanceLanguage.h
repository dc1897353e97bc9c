#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Reading the language a running instance was opened in.
namespace InstanceLanguage {

// The code of the "-AppleLanguages (xx)" argument in the output of `ps -p PID -o args` (header
// line "ARGS", then the command line; both matched ignoring case). nullopt when the output is not
// ASCII, lacks the header or the argument, or the parentheses hold nothing: such an instance
// chose its language by itself.
std::optional<QString> languageArgument(const QByteArray &psOutput);

// The user's name for the code of a language argument: its name as a locale identifier, else its
// canonical identifier's name as a language code, else the canonical identifier. Empty when
// nothing can be named.
QString nameForArgument(const QString &code);

// The language an application picks by itself from the user's preferred languages: the first
// preferred code (or its language alone, "fr" for "fr_CA") it has a folder for, named as a language
// code (empty when that name is unknown), or an English-named folder ("French") matching a
// preferred code's name. Empty when none matches.
QString nameForOwnChoice(const QStringList &preferredLanguages, const QStringList &langs);

} // namespace InstanceLanguage

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace StoredLanguage {

// The stored language in the output of `defaults read <domain> AppleLanguages`: the list's first
// element, printed in quotation marks ("zh_TW", "en-GB") or bare (zh_TW). nullopt when the
// output is not a list, the list is empty, or its first element is not a code (letters first,
// then letters, digits, '_' or '-').
std::optional<QString> parseReadOutput(const QByteArray &output);

// The position of `code` in `langs`, else of the entry the application would open in for it
// (LocalizationMatch: "fr" -> "French", "en_GB" -> "en"), else -1.
int indexInLanguages(const QString &code, const QStringList &langs);

// The arguments of the tool's three command lines.
QStringList readArguments(const QString &domain);
QStringList writeArguments(const QString &domain, const QString &code);
QStringList deleteArguments(const QString &domain);

} // namespace StoredLanguage

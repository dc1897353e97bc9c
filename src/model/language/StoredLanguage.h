#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace StoredLanguage {

// The stored language in the output of `defaults read <domain> AppleLanguages`: the leading run of
// letters of the list's first element ("en_GB" -> "en"). A first element the tool printed in
// quotation marks ("en-GB") is read without them, so it gives "en" like its unquoted forms.
// nullopt when the output is not ASCII, not a list, an empty list, or its first element does not
// begin with a letter.
std::optional<QString> parseReadOutput(const QByteArray &output);

// The position of `code` in `langs`, else of its English language name ("fr" -> "French"),
// else -1.
int indexInLanguages(const QString &code, const QStringList &langs);

// The arguments of the tool's three command lines.
QStringList readArguments(const QString &domain);
QStringList writeArguments(const QString &domain, const QString &code);
QStringList deleteArguments(const QString &domain);

} // namespace StoredLanguage

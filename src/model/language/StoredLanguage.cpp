#include "StoredLanguage.h"

#include "platform/locale/LocalizationMatch.h"

namespace StoredLanguage {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isCodeCharacter(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

} // namespace

std::optional<QString> parseReadOutput(const QByteArray &output)
{
    if (output.isEmpty() || output.front() != '(')
        return std::nullopt;
    qsizetype i = 0;
    const qsizetype n = output.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(output[i]))
            ++i;
    };
    skipBlanks();
    while (i < n && (output[i] == '\n' || output[i] == '(' || output[i] == ')'))
        ++i;
    skipBlanks();
    // The tool quotes every element that is not letters and digits only ("zh_TW", "en-GB");
    // older output and other writers leave them bare (zh_TW). Both name the same code.
    const bool quoted = i < n && output[i] == '"';
    if (quoted)
        ++i;
    const qsizetype start = i;
    while (i < n && isCodeCharacter(output[i]))
        ++i;
    const qsizetype end = i;
    // The element must end here: a code is never followed by anything else inside its quotes,
    // and a bare one ends at a separator.
    if (quoted ? i >= n || output[i] != '"'
               : i < n && !isBlank(output[i]) && output[i] != ',' && output[i] != ')')
        return std::nullopt;
    if (end == start || !isLetter(output[start]))
        return std::nullopt;
    return QString::fromLatin1(output.mid(start, end - start));
}

int indexInLanguages(const QString &code, const QStringList &langs)
{
    const int direct = int(langs.indexOf(code));
    if (direct >= 0)
        return direct;
    // The entry the application itself would open in for this code: "fr" is served by a
    // classic "French" folder, "zh_TW" by "zh-Hant".
    const QString match = LocalizationMatch::bestMatch(langs, code);
    return match.isEmpty() ? -1 : int(langs.indexOf(match));
}

QStringList readArguments(const QString &domain)
{
    return {QStringLiteral("read"), domain, QStringLiteral("AppleLanguages")};
}

QStringList writeArguments(const QString &domain, const QString &code)
{
    return {QStringLiteral("write"), domain, QStringLiteral("AppleLanguages"),
            QStringLiteral("-array"), code};
}

QStringList deleteArguments(const QString &domain)
{
    return {QStringLiteral("delete"), domain, QStringLiteral("AppleLanguages")};
}

} // namespace StoredLanguage

#include "StoredLanguage.h"

#include "LanguageNames.h"

namespace StoredLanguage {

namespace {

bool isAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7f)
            return false;
    }
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

} // namespace

std::optional<QString> parseReadOutput(const QByteArray &output)
{
    if (output.isEmpty() || !isAscii(output) || output.front() != '(')
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
    if (i < n && output[i] == '"')
        ++i;
    const qsizetype start = i;
    while (i < n && isLetter(output[i]))
        ++i;
    if (i == start)
        return std::nullopt;
    return QString::fromLatin1(output.mid(start, i - start));
}

int indexInLanguages(const QString &code, const QStringList &langs)
{
    const int direct = int(langs.indexOf(code));
    if (direct >= 0)
        return direct;
    const QString english = LanguageNames::displayNameForLanguageCode(code, QStringLiteral("en"));
    if (english.isEmpty())
        return -1;
    return int(langs.indexOf(english));
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

#include "InstanceLanguage.h"

#include "LanguageDisplay.h"
#include "platform/locale/LanguageNames.h"

namespace InstanceLanguage {

std::optional<QString> languageArgument(const QByteArray &psOutput)
{
    // Paths and arguments come as the process holds them, in UTF-8 ("/Applications/Écho
    // Zeta.app/..."): the markers are ASCII, so the bytes are searched and only the value decoded.
    qsizetype i = 0;
    while (i < psOutput.size() && QChar::isSpace(static_cast<unsigned char>(psOutput.at(i))))
        ++i;
    static const QByteArray header = "ARGS\n";
    if (psOutput.mid(i, header.size()).compare(header, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    static const QByteArray marker = "-applelanguages (";
    const QByteArray lower = psOutput.toLower(); // ASCII letters only; UTF-8 bytes stay
    const qsizetype at = lower.indexOf(marker, i + header.size());
    if (at < 0)
        return std::nullopt;
    qsizetype start = at + marker.size();
    while (start < psOutput.size() &&
           QChar::isSpace(static_cast<unsigned char>(psOutput.at(start))))
        ++start;
    qsizetype end = psOutput.indexOf(')', start);
    if (end < 0)
        end = psOutput.size();
    QString value = QString::fromUtf8(psOutput.mid(start, end - start));
    static const QString trimmed = QStringLiteral("( )");
    while (!value.isEmpty() && trimmed.contains(value.front()))
        value.remove(0, 1);
    while (!value.isEmpty() && trimmed.contains(value.back()))
        value.chop(1);
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

QString nameForArgument(const QString &code)
{
    const QString name = LanguageNames::displayNameForLocaleIdentifier(code);
    if (!name.isEmpty())
        return name;
    const QString canonical = LanguageNames::canonicalLocaleIdentifier(code);
    if (canonical.isEmpty())
        return {};
    const QString languageName = LanguageNames::displayNameForLanguageCode(canonical);
    return languageName.isEmpty() ? canonical : languageName;
}

} // namespace InstanceLanguage

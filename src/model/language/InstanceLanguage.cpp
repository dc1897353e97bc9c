#include "InstanceLanguage.h"

#include "LanguageNames.h"

#include <QRegularExpression>

namespace InstanceLanguage {

std::optional<QString> languageArgument(const QByteArray &psOutput)
{
    for (char c : psOutput) {
        if (static_cast<unsigned char>(c) > 0x7f)
            return std::nullopt;
    }
    const QString text = QString::fromLatin1(psOutput);
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    static const QString header = QStringLiteral("ARGS\n");
    if (text.mid(i, header.size()).compare(header, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    static const QString marker = QStringLiteral("-AppleLanguages (");
    const qsizetype at = text.indexOf(marker, i + header.size(), Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    qsizetype start = at + marker.size();
    while (start < text.size() && text.at(start).isSpace())
        ++start;
    qsizetype end = text.indexOf(QLatin1Char(')'), start);
    if (end < 0)
        end = text.size();
    QString value = text.mid(start, end - start);
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

QString nameForOwnChoice(const QStringList &preferredLanguages, const QStringList &langs)
{
    for (const QString &preferred : preferredLanguages) {
        // A user's "fr_CA" is served by an application's "fr", as the application itself falls
        // back to the language alone.
        QStringList candidates{preferred};
        const QString language =
            preferred.section(QRegularExpression(QStringLiteral("[-_]")), 0, 0);
        if (language != preferred)
            candidates.append(language);
        for (const QString &code : candidates) {
            const QString name = LanguageNames::displayNameForLanguageCode(code);
            if (langs.contains(code))
                return name;
            if (!name.isEmpty() && langs.contains(name))
                return name;
        }
    }
    return {};
}

} // namespace InstanceLanguage

#include "CliOutput.h"

#include "language/LanguageDisplay.h"
#include "language/StoredLanguage.h"
#include "platform/locale/LanguageNames.h"
#include "text/Texts.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace CliOutput {

namespace {

QString json(const QJsonArray &array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

// Tabs and line breaks in a name would break the columns a script reads.
QString cell(const QString &text)
{
    QString flat = text;
    for (QChar &c : flat)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return flat;
}

QString key(const AppRow &row)
{
    return row.identifier.isEmpty() ? row.path : row.identifier;
}

QString canonicalCode(const QString &code)
{
    QString c = code.toLower();
    c.replace(QLatin1Char('-'), QLatin1Char('_'));
    return c;
}

} // namespace

QString listText(const QList<AppRow> &rows)
{
    QString out;
    for (const AppRow &row : rows) {
        QStringList cells{cell(row.name), cell(key(row)), QString::number(row.languages)};
        if (row.hidden)
            cells.append(Vexilo::tr("hidden"));
        out += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return out;
}

QString listQuiet(const QList<AppRow> &rows)
{
    QString out;
    for (const AppRow &row : rows)
        if (!row.hidden)
            out += cell(key(row)) + QLatin1Char('\n') + cell(row.name) + QLatin1Char('\n');
    return out;
}

QString listJson(const QList<AppRow> &rows)
{
    QJsonArray array;
    for (const AppRow &row : rows)
        array.append(QJsonObject{{QStringLiteral("name"), row.name},
                                 {QStringLiteral("identifier"), row.identifier},
                                 {QStringLiteral("path"), row.path},
                                 {QStringLiteral("languages"), row.languages},
                                 {QStringLiteral("hidden"), row.hidden}});
    return json(array);
}

QString languagesText(const QList<LanguageRow> &rows)
{
    QString out;
    for (const LanguageRow &row : rows)
        out += (row.stored ? QStringLiteral("* ") : QStringLiteral("  ")) + row.code +
               QLatin1Char('\t') + cell(row.name) + QLatin1Char('\n');
    return out;
}

QString languagesQuiet(const QList<LanguageRow> &rows)
{
    QString out;
    for (const LanguageRow &row : rows)
        out += row.code + QLatin1Char('\n');
    return out;
}

QString languagesJson(const QList<LanguageRow> &rows)
{
    QJsonArray array;
    for (const LanguageRow &row : rows)
        array.append(QJsonObject{{QStringLiteral("code"), row.code},
                                 {QStringLiteral("name"), row.name},
                                 {QStringLiteral("stored"), row.stored}});
    return json(array);
}

QString runningText(const QString &appName, const QList<CopyRow> &rows)
{
    if (rows.isEmpty())
        return formatText(Vexilo::tr("%@ is not running."), {appName}) + QLatin1Char('\n');
    QString out;
    for (const CopyRow &row : rows)
        out += QString::number(row.pid) + QLatin1Char('\t') +
               (row.language.isEmpty() ? Vexilo::tr("unknown") : row.language) + QLatin1Char('\n');
    return out;
}

QString runningJson(const QList<CopyRow> &rows)
{
    QJsonArray array;
    for (const CopyRow &row : rows)
        array.append(
            QJsonObject{{QStringLiteral("pid"), row.pid},
                        {QStringLiteral("language"),
                         row.language.isEmpty() ? QJsonValue() : QJsonValue(row.language)}});
    return json(array);
}

QList<int> matchApps(const QString &query, const QList<AppRow> &rows, const QStringList &shownNames)
{
    QList<int> exact;
    const QString path = QFileInfo(query).absoluteFilePath();
    const bool pathLike = query.contains(QLatin1Char('/'));
    for (int i = 0; i < rows.size(); ++i) {
        const AppRow &row = rows.at(i);
        const bool byIdentifier =
            !row.identifier.isEmpty() &&
            (row.identifier == query || row.identifier == query + QStringLiteral(".desktop"));
        const bool byPath = pathLike && QFileInfo(row.path).absoluteFilePath() == path;
        if (byIdentifier || byPath)
            exact.append(i);
    }
    if (!exact.isEmpty())
        return exact;
    QList<int> named;
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).name.compare(query, Qt::CaseInsensitive) == 0 ||
            shownNames.value(i).compare(query, Qt::CaseInsensitive) == 0)
            named.append(i);
    return named;
}

std::optional<int> matchLanguage(const QString &query, const QStringList &langs)
{
    if (query.isEmpty())
        return std::nullopt;
    for (int i = 0; i < langs.size(); ++i)
        if (canonicalCode(langs.at(i)) == canonicalCode(query))
            return i;
    for (int i = 0; i < langs.size(); ++i) {
        const QString canonical = LanguageNames::canonicalLocaleIdentifier(langs.at(i));
        const QString locale = canonical.isEmpty() ? langs.at(i) : canonical;
        const QStringList names{
            LanguageDisplay::name(langs.at(i)),
            LanguageNames::displayNameForLocaleIdentifier(locale, QStringLiteral("en")),
            LanguageNames::displayNameForLocaleIdentifier(locale, locale)};
        if (names.contains(query, Qt::CaseInsensitive))
            return i;
    }
    // "fr" for a bundle's "French.lproj", "en_GB" for one that has "en" only.
    const int related = StoredLanguage::indexInLanguages(query, langs);
    if (related >= 0)
        return related;
    return std::nullopt;
}

} // namespace CliOutput

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the commands print, as plain values, and the lookups of their arguments.
namespace CliOutput {

struct AppRow {
    QString name;
    QString identifier;
    QString path;
    // -1 when not counted.
    int languages = -1;
    bool hidden = false;
};
struct LanguageRow {
    QString code;
    QString name;
    bool stored = false;
};
struct CopyRow {
    qint64 pid = 0;
    // Empty when it cannot be known.
    QString language;
};

// One application a line: name, identifier (its path when it has none), languages, "hidden".
QString listText(const QList<AppRow> &rows);
// Each application shown (not hidden) by identifier and by name, one a line, for completion.
QString listQuiet(const QList<AppRow> &rows);
QString listJson(const QList<AppRow> &rows);

// "* " before the stored language; code and name separated by a tab.
QString languagesText(const QList<LanguageRow> &rows);
QString languagesQuiet(const QList<LanguageRow> &rows);
QString languagesJson(const QList<LanguageRow> &rows);

QString runningText(const QString &appName, const QList<CopyRow> &rows);
QString runningJson(const QList<CopyRow> &rows);

// The applications `query` names: those whose identifier or path is `query` (a desktop-file ID
// also without ".desktop"); else those whose name, in either form, is `query` ignoring case.
// `names` holds each row's shown name beside its sort name.
QList<int> matchApps(const QString &query, const QList<AppRow> &rows,
                     const QStringList &shownNames);
// The entry of `langs` that `query` names: a code (any case, '-' or '_'), a related code the
// application would open in, or a language's name in English, in the user's language or in its
// own.
std::optional<int> matchLanguage(const QString &query, const QStringList &langs);

} // namespace CliOutput

#include "platform/locale/PrivateLocales.h"

#include "platform/files/FileOps.h"
#include "platform/locale/LocaleName.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/process/ToolRun.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <gnu/libc-version.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateLocales {

namespace {

const QString kLocalePath = QStringLiteral("LOCPATH");
constexpr std::chrono::seconds kCompileBound(30);

// The locales the C library loads for a program started with `environment`; C and POSIX are
// built in.
QStringList namedLocales(const QProcessEnvironment &environment)
{
    QStringList names;
    const QString all = environment.value(QStringLiteral("LC_ALL"));
    if (!all.isEmpty()) {
        names.append(all);
    } else {
        for (const char *category : LocaleName::kCategoryVariables) {
            const QString name = environment.value(QString::fromLatin1(category));
            if (!names.contains(name))
                names.append(name);
        }
    }
    names.removeIf([](const QString &name) { return LocaleName::isPlainC(name); });
    return names;
}

// Makes the missing folders of `path`, each readable by the user alone.
bool makeFolders(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return true;
    const QString parent = info.absolutePath();
    if (parent == info.absoluteFilePath() || !makeFolders(parent))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || errno == EEXIST;
}

// A folder of the user's own that nobody else may write to, and no link to elsewhere.
bool isPrivateFolder(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace

QString folderName(const QString &locale)
{
    const qsizetype dot = locale.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return locale;
    const qsizetype at = locale.indexOf(QLatin1Char('@'), dot);
    const QString codeset = locale.mid(dot + 1, at < 0 ? -1 : at - dot - 1);
    QString normalised;
    for (const QChar c : codeset) {
        if (c.isDigit() && c.unicode() < 128)
            normalised += c;
        else if (c.isLetter() && c.unicode() < 128)
            normalised += c.toLower();
    }
    if (std::all_of(normalised.cbegin(), normalised.cend(), [](QChar c) { return c.isDigit(); }))
        normalised.prepend(QStringLiteral("iso"));
    return locale.left(dot + 1) + normalised + (at < 0 ? QString() : locale.mid(at));
}

bool holds(const QString &folder, const QString &locale)
{
    for (const QString &name : {folderName(locale), locale}) {
        if (QFileInfo(folder + QLatin1Char('/') + name + QStringLiteral("/LC_CTYPE")).isFile())
            return true;
    }
    return false;
}

QStringList compileArguments(const QString &locale, const QString &i18n, const QString &target)
{
    // A name the C library itself would take: no path, no hidden name.
    static const QRegularExpression plain(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z][A-Za-z0-9_]*\\.[A-Za-z0-9_-]+(@[A-Za-z0-9]+)?")));
    if (!plain.match(locale).hasMatch())
        return {};
    const qsizetype dot = locale.indexOf(QLatin1Char('.'));
    const qsizetype at = locale.indexOf(QLatin1Char('@'), dot);
    const QString codeset = locale.mid(dot + 1, at < 0 ? -1 : at - dot - 1);
    const QString source = i18n + QStringLiteral("/locales/") + locale.left(dot) +
                           (at < 0 ? QString() : locale.mid(at));
    const QString charmap = folderName(QStringLiteral("x.") + codeset) == QLatin1String("x.utf8")
                                ? QStringLiteral("UTF-8")
                                : codeset;
    const QString charmaps = i18n + QStringLiteral("/charmaps/") + charmap;
    if (!QFileInfo(source).isFile() ||
        !(QFileInfo(charmaps).isFile() || QFileInfo(charmaps + QStringLiteral(".gz")).isFile()))
        return {};
    // Written even where the sources draw warnings, as Debian's locale-gen does.
    return {QStringLiteral("--no-archive"),
            QStringLiteral("-c"),
            QStringLiteral("-i"),
            source,
            QStringLiteral("-f"),
            charmap,
            target};
}

QProcessEnvironment withMissingLocales(const QProcessEnvironment &child, const Setup &setup)
{
    const QStringList named = namedLocales(child);
    if (setup.folder.isEmpty() || std::all_of(named.cbegin(), named.cend(), setup.localeExists))
        return child;
    const QString userPath = child.value(kLocalePath);
    QStringList folders{setup.folder};
    folders += userPath.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders.append(setup.systemFolder);
    for (const QString &name : named) {
        const bool found = std::any_of(folders.cbegin(), folders.cend(),
                                       [&](const QString &folder) { return holds(folder, name); });
        if (!found && !setup.compile(name))
            return child;
    }
    QProcessEnvironment out = child;
    out.insert(kLocalePath,
               userPath.isEmpty() ? setup.folder : setup.folder + QLatin1Char(':') + userPath);
    return out;
}

QString folderFor(const QProcessEnvironment &user)
{
    QString cache = user.value(QStringLiteral("XDG_CACHE_HOME"));
    if (!QDir::isAbsolutePath(cache)) {
        const QString home = user.value(QStringLiteral("HOME"));
        if (!QDir::isAbsolutePath(home))
            return {};
        cache = home + QStringLiteral("/.cache");
    }
    return QDir::cleanPath(cache + QStringLiteral("/vexilo/locales/") +
                           QString::fromLatin1(::gnu_get_libc_version()));
}

bool compile(const QString &folder, const QString &locale, const QString &i18n,
             std::chrono::milliseconds bound)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("localedef"));
    if (program.isEmpty() || folder.isEmpty() || !makeFolders(folder) || !isPrivateFolder(folder))
        return false;
    QTemporaryDir temporary(folder + QStringLiteral("/.compiling-XXXXXX"));
    if (!temporary.isValid())
        return false;
    const QString name = folderName(locale);
    const QString built = temporary.path() + QLatin1Char('/') + name;
    const QStringList arguments = compileArguments(locale, i18n, built);
    if (arguments.isEmpty())
        return false;
    const ToolRun::Result result = ToolRun::run(program, arguments, bound);
    // Status 1 reports warnings over a locale written all the same.
    if (!result.finished || result.exitCode < 0 || result.exitCode > 1 ||
        !holds(temporary.path(), locale))
        return false;
    // Another start may have put one there meanwhile: either serves.
    return FileOps::moveNoReplace(built, folder + QLatin1Char('/') + name) || holds(folder, locale);
}

Setup machineSetup(const QProcessEnvironment &user)
{
    Setup setup;
    setup.folder = folderFor(user);
    setup.systemFolder = kSystemFolder;
    setup.localeExists = LaunchEnvironment::localeExists;
    setup.compile = [folder = setup.folder](const QString &locale) {
        return compile(folder, locale, QStringLiteral("/usr/share/i18n"), kCompileBound);
    };
    return setup;
}

} // namespace PrivateLocales

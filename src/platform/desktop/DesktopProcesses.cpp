#include "platform/desktop/DesktopProcesses.h"

#include "platform/desktop/DesktopEntry.h"
#include "platform/desktop/DesktopExec.h"
#include "platform/desktop/ProgramFiles.h"
#include "platform/files/DirectoryListing.h"
#include "platform/locale/LocaleName.h"
#include "platform/locale/PrivateLocales.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/process/ProcFiles.h"
#include "platform/process/Processes.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DesktopProcesses {

namespace {

using ProcFiles::readProcFile;

bool isRunning(const QByteArray &procDir)
{
    const char state = ProcFiles::processState(procDir);
    return state != '\0' && state != 'Z' && state != 'X';
}

} // namespace

QString flatpakApplication(const QByteArray &flatpakInfo)
{
    const std::optional<DesktopEntry> info = DesktopEntry::parse(flatpakInfo, QString());
    return info ? info->value(QStringLiteral("name"), QStringLiteral("Application")) : QString();
}

QList<qint64> running(const DesktopApplication &app, const Processes &processes)
{
    QList<qint64> pids = processes.startedFrom(app.path);
    const QByteArray target = QFile::encodeName(QFileInfo(app.program).canonicalFilePath());
    const std::optional<ProcFiles::Script> script =
        app.flatpakId.isEmpty() ? ProcFiles::script(app.program) : std::nullopt;
    if (app.flatpakId.isEmpty() && target.isEmpty())
        return pids;
    // A wrapper script hands over to the real program ("exec /usr/lib/chromium/chromium"),
    // which then runs with no trace of the script.
    QList<QByteArray> realPrograms;
    if (script) {
        for (const QString &real : ProgramFiles::execTargets(app.program))
            realPrograms.append(QFile::encodeName(QFileInfo(real).canonicalFilePath()));
    }
    // A program run with a file of its own (an interpreter and its script: "python3
    // /usr/share/app/app.py") is that application only with that file among its arguments;
    // every other copy of the interpreter is another program, not one to quit.
    QByteArray ownFile;
    if (const qsizetype program = DesktopExec::programIndex(app.arguments); program >= 0) {
        for (qsizetype i = program + 1; i < app.arguments.size(); ++i) {
            if (!app.arguments.at(i).startsWith(QLatin1Char('-'))) {
                ownFile = QFile::encodeName(app.arguments.at(i));
                break;
            }
        }
    }
    const uid_t me = ::getuid();
    const qint64 self = ::getpid();

    for (const QString &entry : DirectoryListing::entries(QStringLiteral("/proc"))) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || pid <= 0 || pid == self || pids.contains(pid))
            continue;
        const QByteArray procDir = "/proc/" + entry.toLatin1();
        struct stat info;
        if (::stat(procDir.constData(), &info) != 0 || info.st_uid != me)
            continue;
        bool match = false;
        if (!app.flatpakId.isEmpty()) {
            match = flatpakApplication(readProcFile(procDir + "/root/.flatpak-info", 65536)) ==
                    app.flatpakId;
        } else if (const QByteArray executable = ProcFiles::executable(procDir);
                   executable == target) {
            match = ownFile.isEmpty() ||
                    readProcFile(procDir + "/cmdline").split('\0').mid(1).contains(ownFile);
        } else if (realPrograms.contains(executable)) {
            match = true;
        } else if (script) {
            match = ProcFiles::runsScript(procDir, readProcFile(procDir + "/cmdline").split('\0'),
                                          *script);
        }
        if (match && isRunning(procDir))
            pids.append(pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

namespace {

QHash<QByteArray, QString> variables(const QByteArray &environment)
{
    QHash<QByteArray, QString> values;
    for (const QByteArray &pair : environment.split('\0')) {
        const qsizetype equals = pair.indexOf('=');
        if (equals > 0)
            values.insert(pair.left(equals), QString::fromUtf8(pair.mid(equals + 1)));
    }
    return values;
}

QString messagesLocale(const QHash<QByteArray, QString> &values)
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const QString value = values.value(name); !value.isEmpty())
            return value;
    }
    return {};
}

} // namespace

bool messagesLocaleLoads(const QByteArray &environment,
                         const std::function<bool(const QString &)> &localeExists)
{
    const QHash<QByteArray, QString> values = variables(environment);
    const QString messages = messagesLocale(values);
    if (LocaleName::namesNoLanguage(messages))
        return true;
    const QString path = values.value("LOCPATH");
    if (path.isEmpty())
        return localeExists(messages);
    // Under LOCPATH the C library reads its folders and its own, not the locale archive.
    QStringList folders = path.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders.append(PrivateLocales::kSystemFolder);
    return std::any_of(folders.cbegin(), folders.cend(), [&](const QString &folder) {
        return PrivateLocales::holds(folder, messages);
    });
}

QStringList environmentLanguages(const QByteArray &environment, bool localeOnly)
{
    const QHash<QByteArray, QString> values = variables(environment);
    const QString messages = messagesLocale(values);
    if (LocaleName::isPlainC(messages))
        return {};
    QStringList languages;
    if (!localeOnly)
        languages = values.value("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // C.UTF-8 names no language, though gettext reads LANGUAGE under it.
    if (!LocaleName::namesNoLanguage(messages))
        languages.append(LaunchEnvironment::withoutCodeset(messages));
    languages.removeDuplicates();
    return languages;
}

QStringList languagesOf(qint64 pid)
{
    return knownLanguagesOf(pid).value_or(QStringList());
}

std::optional<QStringList> knownLanguagesOf(qint64 pid)
{
    if (pid <= 0)
        return std::nullopt;
    const QByteArray procDir = "/proc/" + QByteArray::number(pid);
    const QByteArray environment = readProcFile(procDir + "/environ");
    if (!environment.contains('=')) {
        // Chromium blanks its environment; the --lang it was started with still shows.
        for (const QByteArray &argument : readProcFile(procDir + "/cmdline").split('\0')) {
            if (argument.startsWith("--lang=") && argument.size() > 7)
                return QStringList{QString::fromUtf8(argument.mid(7))};
        }
        return std::nullopt;
    }
    const QString program = QFile::decodeName(ProcFiles::executable(procDir));
    const bool localeOnly = ProgramFiles::readsLanguageFromLocale(program);
    // Such a program may keep its own texts under a locale it cannot load (FileZilla does).
    if (localeOnly && !messagesLocaleLoads(environment, LaunchEnvironment::localeExists))
        return std::nullopt;
    return environmentLanguages(environment, localeOnly);
}

RunningCopy runningCopy(const DesktopApplication &app, const Processes &processes)
{
    RunningCopy copy;
    copy.pids = running(app, processes);
    if (copy.pids.isEmpty())
        return copy;
    const std::optional<QStringList> languages = knownLanguagesOf(copy.pids.first());
    copy.state = languages ? RunningCopy::Known : RunningCopy::LanguageUnknown;
    copy.languages = languages.value_or(QStringList());
    return copy;
}

} // namespace DesktopProcesses

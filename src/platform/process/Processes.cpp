#include "platform/process/Processes.h"

#include "platform/bundle/Bundle.h"
#include "platform/files/DirectoryListing.h"
#include "platform/process/ProcFiles.h"
#include "platform/process/ProcessCommandLine.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <algorithm>
#include <climits>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using ProcFiles::processState;
using ProcFiles::readLink;
using ProcFiles::readProcFile;

// Field 22 of /proc/<pid>/stat, the process's start time: with the PID it names one process.
QByteArray startTime(const QByteArray &procDir)
{
    const QByteArray stat = readProcFile(procDir + "/stat");
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    // The fields after the name start with the third, the state.
    return fields.size() > 19 ? fields.at(19) : QByteArray();
}

// The bundle of a program path as a process wrote it; relative ones are taken from its working
// folder (read at most once, into `cwd`). Empty when the program lies in no bundle's MacOS folder.
QString bundleOfProgram(const QByteArray &procDir, const QByteArray &program,
                        std::optional<QByteArray> &cwd)
{
    static const QByteArray marker = ".app/Contents/MacOS/";
    if (program.isEmpty())
        return {};
    // Most processes are not in a bundle: the bytes tell without decoding anything.
    if (program.startsWith('/'))
        return program.contains(marker)
                   ? ProcessCommandLine::bundlePathOfExecutable(QFile::decodeName(program))
                   : QString();
    if (!cwd)
        cwd = readLink(procDir + "/cwd");
    if (cwd->isEmpty())
        return {};
    return ProcessCommandLine::bundlePathOfExecutable(
        QDir::cleanPath(QFile::decodeName(*cwd) + QLatin1Char('/') + QFile::decodeName(program)));
}

// The script a process runs through its #! line, when it lies in a bundle's MacOS folder.
// The kernel starts "#!/bin/sh" scripts as "/bin/sh <script> <arguments>" and
// "#!/usr/bin/env python3" ones, through env, as "python3 <script> <arguments>"; the process
// must be that interpreter running that file, so that an editor opened on the file, or a
// program that only names it in its arguments, is no instance.
QString scriptBundlePath(const QByteArray &procDir, const QList<QByteArray> &argv)
{
    std::optional<QByteArray> cwd;
    for (qsizetype k = 1; k <= 2 && k < argv.size(); ++k) {
        const QString bundle = bundleOfProgram(procDir, argv.at(k), cwd);
        if (bundle.isEmpty())
            continue;
        const QString path = argv.at(k).startsWith('/')
                                 ? QFile::decodeName(argv.at(k))
                                 : QDir::cleanPath(QFile::decodeName(*cwd) + QLatin1Char('/') +
                                                   QFile::decodeName(argv.at(k)));
        if (const auto script = ProcFiles::script(path);
            script && ProcFiles::runsScript(procDir, argv, *script))
            return bundle;
    }
    return {};
}

// The bundle whose running copy the process is: its executable lies in the bundle's MacOS
// folder, or it is the interpreter of a script there. argv[0] is never trusted on its own: any
// program can give itself a bundle's path there (exec -a).
QString executableBundlePath(const QByteArray &procDir)
{
    static const QByteArray marker = ".app/Contents/MacOS/";
    const QByteArray exe = ProcFiles::executable(procDir);
    if (exe.contains(marker)) {
        QString bundle = ProcessCommandLine::bundlePathOfExecutable(QFile::decodeName(exe));
        if (!bundle.isEmpty())
            return bundle;
    }
    const QList<QByteArray> argv = readProcFile(procDir + "/cmdline").split('\0');
    if (argv.size() < 2)
        return {};
    return scriptBundlePath(procDir, argv);
}

} // namespace

QList<RunningApplication> Processes::launchedApplications() const
{
    QList<RunningApplication> running;
    QHash<QString, QString> identifiers; // bundle path -> identifier, for this call only
    const uid_t me = ::getuid();

    // Names only: a stat of every /proc entry would cost more than the whole scan.
    const QStringList entries = DirectoryListing::entries(QStringLiteral("/proc"));
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || pid <= 0)
            continue;
        const QByteArray procDir = "/proc/" + entry.toLatin1();
        struct stat info;
        if (::stat(procDir.constData(), &info) != 0 || info.st_uid != me)
            continue;
        const QString bundlePath = executableBundlePath(procDir);
        if (bundlePath.isEmpty())
            continue;
        const char state = processState(procDir);
        if (state == '\0' || state == 'Z' || state == 'X')
            continue;

        auto known = identifiers.constFind(bundlePath);
        if (known == identifiers.constEnd()) {
            const auto bundle = Bundle::bundleWithPath(bundlePath);
            known = identifiers.insert(bundlePath, bundle ? bundle->bundleIdentifier() : QString());
        }
        if (known->isEmpty())
            continue;
        running.append({*known, bundlePath, pid});
    }

    {
        QMutexLocker lock(&m_mutex);
        for (auto it = m_started.begin(); it != m_started.end();) {
            const QByteArray procDir = "/proc/" + QByteArray::number(it->pid);
            const char state = processState(procDir);
            if (state == '\0' || state == 'Z' || state == 'X' ||
                startTime(procDir) != it->startTime) {
                it = m_started.erase(it);
                continue;
            }
            const qint64 pid = it->pid;
            const bool listed =
                std::any_of(running.cbegin(), running.cend(),
                            [pid](const auto &app) { return app.processIdentifier == pid; });
            if (!listed) {
                const auto bundle = Bundle::bundleWithPath(it->bundlePath);
                const QString identifier = bundle ? bundle->bundleIdentifier() : QString();
                if (!identifier.isEmpty())
                    running.append({identifier, it->bundlePath, pid});
            }
            ++it;
        }
    }
    std::sort(running.begin(), running.end(), [](const auto &a, const auto &b) {
        return a.processIdentifier < b.processIdentifier;
    });
    return running;
}

QByteArray Processes::commandLineReport(qint64 pid) const
{
    if (pid <= 0)
        return ProcessCommandLine::report({});
    const QByteArray procDir = "/proc/" + QByteArray::number(pid);
    QByteArray cmdline = readProcFile(procDir + "/cmdline");
    // A wrapper that handed over to another program dropped the arguments Vexilo gave it.
    if (const auto started = startedProcess(pid);
        started && executableBundlePath(procDir).isEmpty())
        cmdline = started->commandLine;
    return ProcessCommandLine::report(cmdline);
}

void Processes::rememberStart(qint64 pid, const QString &bundlePath, const QStringList &commandLine)
{
    if (pid <= 0)
        return;
    const QByteArray time = startTime("/proc/" + QByteArray::number(pid));
    if (time.isEmpty())
        return;
    QByteArrayList words;
    for (const QString &word : commandLine)
        words.append(QFile::encodeName(word));
    QMutexLocker lock(&m_mutex);
    m_started.append({pid, time, bundlePath, words.join('\0')});
}

std::optional<Processes::Started> Processes::startedProcess(qint64 pid) const
{
    QMutexLocker lock(&m_mutex);
    for (const Started &started : std::as_const(m_started)) {
        if (started.pid == pid &&
            startTime("/proc/" + QByteArray::number(pid)) == started.startTime)
            return started;
    }
    return std::nullopt;
}

QList<qint64> Processes::startedFrom(const QString &path) const
{
    QList<qint64> pids;
    QMutexLocker lock(&m_mutex);
    for (const Started &started : std::as_const(m_started)) {
        const QByteArray procDir = "/proc/" + QByteArray::number(started.pid);
        const char state = processState(procDir);
        if (started.bundlePath == path && state != '\0' && state != 'Z' && state != 'X' &&
            startTime(procDir) == started.startTime)
            pids.append(started.pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

#include "Processes.h"

#include "Bundle.h"
#include "DirectoryListing.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// /proc files report a size of 0, so they are read until end of file.
QByteArray readProcFile(const QByteArray &path)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;
        }
    }
    ::close(fd);
    return bytes;
}

QByteArray readLink(const QByteArray &path)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(path.constData(), buffer, sizeof buffer);
    if (n <= 0 || n >= ssize_t(sizeof buffer))
        return {};
    return QByteArray(buffer, n);
}

// The state letter of /proc/<pid>/stat; the command name before it may hold blanks and
// parentheses, so the last ')' ends it.
char processState(const QByteArray &procDir)
{
    const QByteArray stat = readProcFile(procDir + "/stat");
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0 || close + 2 >= stat.size())
        return '\0';
    return stat.at(close + 2);
}

// "/x/Foo.app/Contents/MacOS/Foo" -> "/x/Foo.app"; empty when the path is not in a bundle's
// MacOS folder. The innermost bundle wins for helpers nested inside another bundle.
QString bundlePathOfExecutable(const QString &path)
{
    static const QString marker = QStringLiteral(".app/Contents/MacOS/");
    const qsizetype at = path.lastIndexOf(marker);
    if (at <= 0 || path.at(at - 1) == QLatin1Char('/'))
        return {};
    // Something must follow the folder: the executable itself.
    if (at + marker.size() >= path.size())
        return {};
    return path.left(at + 4);
}

QString executableBundlePath(const QByteArray &procDir)
{
    static const QByteArray marker = ".app/Contents/MacOS/";
    QByteArray exe = readLink(procDir + "/exe");
    static const QByteArray deleted = " (deleted)";
    if (exe.endsWith(deleted))
        exe.chop(deleted.size());
    // Most processes are not in a bundle: the bytes tell without decoding anything.
    if (exe.contains(marker)) {
        QString bundle = bundlePathOfExecutable(QFile::decodeName(exe));
        if (!bundle.isEmpty())
            return bundle;
    }

    // A program started through an interpreter or a loader still names itself in argv[0].
    const QByteArray cmdline = readProcFile(procDir + "/cmdline");
    const QByteArray argv0 = cmdline.left(cmdline.indexOf('\0'));
    if (argv0.isEmpty())
        return {};
    if (argv0.startsWith('/') && !argv0.contains(marker))
        return {};
    QString program = QFile::decodeName(argv0);
    if (!program.startsWith(QLatin1Char('/'))) {
        const QByteArray cwd = readLink(procDir + "/cwd");
        if (cwd.isEmpty())
            return {};
        program = QDir::cleanPath(QFile::decodeName(cwd) + QLatin1Char('/') + program);
    }
    return bundlePathOfExecutable(program);
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
    std::sort(running.begin(), running.end(), [](const auto &a, const auto &b) {
        return a.processIdentifier < b.processIdentifier;
    });
    return running;
}

QByteArray Processes::commandLineReport(qint64 pid) const
{
    QByteArray report = "ARGS\n";
    if (pid <= 0)
        return report;
    QByteArray cmdline = readProcFile("/proc/" + QByteArray::number(pid) + "/cmdline");
    if (cmdline.endsWith('\0'))
        cmdline.chop(1);
    if (cmdline.isEmpty())
        return report;
    // Words are NUL-separated; control characters are shown as '?' as the status tool does,
    // so an argument cannot forge a line of its own.
    for (char &c : cmdline) {
        if (c == '\0')
            c = ' ';
        else if ((static_cast<unsigned char>(c) < 0x20) || c == 0x7f)
            c = '?';
    }
    return report + cmdline + '\n';
}

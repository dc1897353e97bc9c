#include "platform/process/ProcFiles.h"

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray canonical(const QByteArray &path)
{
    char buffer[PATH_MAX];
    return ::realpath(path.constData(), buffer) ? QByteArray(buffer) : QByteArray();
}

// Whether `exe` is the program the interpreter line starts: its own program, or the one env
// finds on the process's PATH.
bool startsProgram(const QByteArray &procDir, const ProcessCommandLine::Interpreter &line,
                   const QByteArray &exe)
{
    if (exe.isEmpty())
        return false;
    if (canonical(line.program) == exe)
        return true;
    const QByteArray name = line.argument;
    if (!line.program.endsWith("/env") || name.isEmpty())
        return false;
    if (name.contains('/'))
        return canonical(name) == exe;
    QByteArray path = "/usr/local/bin:/usr/bin:/bin";
    for (const QByteArray &pair : ProcFiles::readProcFile(procDir + "/environ").split('\0')) {
        if (pair.startsWith("PATH="))
            path = pair.mid(5);
    }
    for (const QByteArray &folder : path.split(':')) {
        if (folder.startsWith('/') && canonical(folder + '/' + name) == exe)
            return true;
    }
    return false;
}

} // namespace

namespace ProcFiles {

// /proc files report a size of 0, so they are read until end of file.
QByteArray readProcFile(const QByteArray &path, qsizetype limit)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return bytes;
    char buffer[4096];
    while (bytes.size() < limit) {
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

QByteArray executable(const QByteArray &procDir)
{
    QByteArray target = readLink(procDir + "/exe");
    static const QByteArray deleted = " (deleted)";
    if (target.endsWith(deleted))
        target.chop(deleted.size());
    return target;
}

std::optional<Script> script(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    char buffer[256];
    ssize_t n = -1;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        do {
            n = ::read(fd, buffer, sizeof buffer);
        } while (n < 0 && errno == EINTR);
    }
    ::close(fd);
    const auto line =
        n > 0 ? ProcessCommandLine::interpreterLine(QByteArrayView(buffer, n)) : std::nullopt;
    if (!line)
        return std::nullopt;
    return Script{info.st_dev, info.st_ino, *line};
}

bool runsScript(const QByteArray &procDir, const QList<QByteArray> &argv, const Script &file)
{
    std::optional<QByteArray> cwd;
    for (qsizetype k = 1; k <= 2 && k < argv.size(); ++k) {
        QByteArray path = argv.at(k);
        if (path.isEmpty() || !ProcessCommandLine::runsScript(argv, k, file.interpreter))
            continue;
        if (!path.startsWith('/')) {
            if (!cwd)
                cwd = readLink(procDir + "/cwd");
            if (cwd->isEmpty())
                continue;
            path = *cwd + '/' + path;
        }
        struct stat info;
        if (::stat(path.constData(), &info) == 0 && info.st_dev == file.device &&
            info.st_ino == file.inode)
            return startsProgram(procDir, file.interpreter, executable(procDir));
    }
    return false;
}

} // namespace ProcFiles

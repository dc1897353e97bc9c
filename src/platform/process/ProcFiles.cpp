#include "platform/process/ProcFiles.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

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

} // namespace ProcFiles

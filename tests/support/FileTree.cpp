#include "FileTree.h"

#include <QCryptographicHash>
#include <QFile>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool s_overrideDropped = false;

// CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH in the calling thread's effective set.
bool setOverride(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        const quint32 bit = 1u << (capability % 32);
        if (on)
            data[capability / 32].effective |= bit;
        else
            data[capability / 32].effective &= ~bit;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

QByteArray digestOf(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return "unreadable";
    QCryptographicHash hash(QCryptographicHash::Sha256);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        hash.addData(QByteArrayView(buffer, n));
    }
    ::close(fd);
    return hash.result().toHex().left(16);
}

void walk(const QByteArray &root, const QByteArray &relative, QMap<QString, QByteArray> &entries)
{
    const QByteArray path = relative.isEmpty() ? root : root + '/' + relative;
    struct stat info;
    if (::lstat(path.constData(), &info) != 0)
        return;
    const QByteArray mode = QByteArray::number(info.st_mode & 07777, 8);
    QByteArray description;
    if (S_ISLNK(info.st_mode)) {
        char target[4096];
        const ssize_t n = ::readlink(path.constData(), target, sizeof target);
        description = "link -> " + QByteArray(target, n > 0 ? n : 0);
    } else if (S_ISREG(info.st_mode)) {
        description =
            "file " + mode + ' ' + QByteArray::number(qint64(info.st_size)) + ' ' + digestOf(path);
    } else if (S_ISDIR(info.st_mode)) {
        description = "folder " + mode;
    } else if (S_ISFIFO(info.st_mode)) {
        description = "fifo " + mode;
    } else {
        description = "other " + mode;
    }
    entries.insert(QFile::decodeName(relative), description);
    if (!S_ISDIR(info.st_mode))
        return;
    DIR *dir = ::opendir(path.constData());
    if (!dir) {
        entries[QFile::decodeName(relative)] += " unlistable";
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        walk(root, relative.isEmpty() ? name : relative + '/' + name, entries);
    }
    ::closedir(dir);
}

} // namespace

FileTree FileTree::of(const QString &root)
{
    FileTree tree;
    if (s_overrideDropped)
        setOverride(true);
    walk(QFile::encodeName(root), QByteArray(), tree.m_entries);
    if (s_overrideDropped)
        setOverride(false);
    return tree;
}

QStringList FileTree::differences(const FileTree &after, const QStringList &ignored) const
{
    auto isIgnored = [&ignored](const QString &path) {
        for (const QString &folder : ignored) {
            if (path == folder || path.startsWith(folder + QLatin1Char('/')))
                return true;
        }
        return false;
    };
    QStringList found;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (isIgnored(it.key()))
            continue;
        const QByteArray now = after.m_entries.value(it.key(), "missing");
        if (now != it.value())
            found.append(it.key() + QStringLiteral(": ") + QString::fromLatin1(it.value()) +
                         QStringLiteral(" -> ") + QString::fromLatin1(now));
    }
    for (auto it = after.m_entries.cbegin(); it != after.m_entries.cend(); ++it) {
        if (!isIgnored(it.key()) && !m_entries.contains(it.key()))
            found.append(it.key() + QStringLiteral(": new ") + QString::fromLatin1(it.value()));
    }
    return found;
}

namespace FileAccess {

void dropOverride()
{
    if (::geteuid() == 0 && setOverride(false))
        s_overrideDropped = true;
}

void restoreOverride()
{
    if (s_overrideDropped && setOverride(true))
        s_overrideDropped = false;
}

} // namespace FileAccess

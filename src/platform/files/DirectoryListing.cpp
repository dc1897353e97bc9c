#include "platform/files/DirectoryListing.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

template <typename Keep>
QStringList list(const QString &folder, Keep keep, bool *readable = nullptr)
{
    QStringList names;
    const QByteArray path = QFile::encodeName(folder);
    DIR *dir = ::opendir(path.constData());
    if (readable)
        *readable = dir != nullptr;
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        if (!keep(path, entry))
            continue;
        if (auto decoded = DirectoryListing::decodedName(name))
            names.append(std::move(*decoded));
    }
    ::closedir(dir);
    return names;
}

} // namespace

namespace DirectoryListing {

std::optional<QString> decodedName(const char *name)
{
    // Most names are ASCII, which reads the same in any case.
    const char *end = name;
    while (static_cast<unsigned char>(*end) - 1u < 0x7fu)
        ++end;
    if (*end == '\0')
        return QString::fromLatin1(name, end - name);
    // A name that does not read back as the same bytes (not UTF-8) names nothing the program
    // could open again: the path it would build leads elsewhere, or nowhere.
    QString decoded = QFile::decodeName(name);
    if (decoded.contains(QChar::ReplacementCharacter) && QFile::encodeName(decoded) != name)
        return std::nullopt;
    return decoded;
}

QStringList entries(const QString &folder)
{
    return list(folder, [](const QByteArray &, const dirent *) { return true; });
}

QList<Entry> entriesWithLinks(const QString &folder)
{
    QList<Entry> result;
    const QByteArray path = QFile::encodeName(folder);
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return result;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        if (auto decoded = DirectoryListing::decodedName(name))
            result.append(
                {std::move(*decoded), entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN});
    }
    ::closedir(dir);
    return result;
}

Kind kindOf(const QString &path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return Kind::Missing;
    if (S_ISLNK(info.st_mode))
        return Kind::Link;
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}

qint64 changeStamp(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

QString canonicalPath(const QString &path)
{
    // realpath() itself: QFileInfo::canonicalFilePath() answers a loop of links with the
    // unresolved path.
    if (path.isEmpty())
        return {};
    char *resolved = ::realpath(QFile::encodeName(path).constData(), nullptr);
    if (!resolved)
        return {};
    const QString result = QFile::decodeName(resolved);
    ::free(resolved);
    return result;
}

QStringList folders(const QString &folder, bool *readable)
{
    return list(
        folder,
        [](const QByteArray &path, const dirent *entry) {
            if (entry->d_type == DT_DIR)
                return true;
            if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
                return false;
            // Links and file systems that do not tell the type need a look at the target.
            struct stat info;
            const QByteArray full = path + '/' + entry->d_name;
            return ::stat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode);
        },
        readable);
}

bool visitEntries(const QString &folder,
                  const std::function<void(const char *name, unsigned char type)> &visit,
                  bool *linkFree)
{
    const QByteArray path = QFile::encodeName(folder);
    // One call both opens the folder and tells that no link leads to it; where the kernel cannot
    // (before Linux 5.6, or a sandbox refusing the call) or a link is there, a plain open.
    bool noLinks = false;
    int fd = -1;
#ifdef SYS_openat2
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    how.resolve = RESOLVE_NO_SYMLINKS;
    fd = int(::syscall(SYS_openat2, AT_FDCWD, path.constData(), &how, sizeof how));
    noLinks = fd >= 0;
#endif
    if (fd < 0)
        fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (linkFree)
        *linkFree = noLinks;
    if (fd < 0)
        return false;
    // getdents64 itself: opendir() would also fstat the folder.
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto *entry = reinterpret_cast<const dirent64 *>(buffer + at);
            at += entry->d_reclen;
            const char *name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            visit(name, entry->d_type);
        }
    }
    ::close(fd);
    return true;
}

bool isFolderEntry(const QString &folder, const char *name)
{
    struct stat info;
    const QByteArray full = QFile::encodeName(folder) + '/' + name;
    return ::stat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxSize, bool *opened)
{
    // O_NONBLOCK: a FIFO planted at the name must not hang the reader; only regular files are
    // read anyway.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (opened)
        *opened = fd >= 0;
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxSize) {
        ::close(fd);
        return std::nullopt;
    }
    // The file as it was when opened: read up to the size it had then, without a read more to
    // find its end. Files that tell no size (such as those of /proc) are read to their end.
    const qsizetype expected = qsizetype(info.st_size);
    QByteArray bytes(expected > 0 ? expected : 4096, Qt::Uninitialized);
    qsizetype size = 0;
    while (expected == 0 || size < expected) {
        if (size == bytes.size())
            bytes.resize(size + 65536);
        const ssize_t n = ::read(fd, bytes.data() + size, size_t(bytes.size() - size));
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        // A file that grows while it is read is held to the bound too.
        if (n < 0 || (size += n) > maxSize) {
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    bytes.truncate(size);
    return bytes;
}

} // namespace DirectoryListing

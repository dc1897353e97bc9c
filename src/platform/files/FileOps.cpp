#include "platform/files/FileOps.h"

#include "platform/prefs/LockedFile.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif
#ifndef RENAME_EXCHANGE
#define RENAME_EXCHANGE (1 << 1)
#endif

namespace {

// For file systems without RENAME_NOREPLACE: a hard link is created only when the name is
// free, so the target can never be replaced. Folders cannot be linked; they are not moved
// rather than risk a rename() that replaces an empty folder.
bool moveByLinkNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    struct stat st;
    if (::lstat(source.constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    if (::link(source.constData(), target.constData()) != 0)
        return false;
    if (::unlink(source.constData()) != 0) {
        // Keep the single original rather than leave two names for one file.
        ::unlink(target.constData());
        return false;
    }
    return true;
}

} // namespace

namespace FileOps {

bool moveNoReplace(const QString &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty())
        return false;
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    const int rc =
        ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (rc == 0)
        return true;
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
        return moveByLinkNoReplace(from, to);
    return false;
}

bool exchange(const QString &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty())
        return false;
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) ==
        0)
        return true;
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
        return ::rename(source.constData(), target.constData()) == 0;
    return false;
}

bool updateLocked(const QString &path,
                  const std::function<std::optional<QByteArray>(std::optional<QByteArray>)> &change)
{
    if (path.isEmpty())
        return false;
    // The lock protocol and the atomic replace live in LockedFile, shared with the defaults
    // tool, so that the two kinds of writer exclude each other.
    return LockedFile::update(
        QFile::encodeName(path).toStdString(),
        [&](const std::optional<std::string> &bytes) -> std::optional<std::string> {
            std::optional<QByteArray> before;
            if (bytes)
                before = QByteArray(bytes->data(), qsizetype(bytes->size()));
            const std::optional<QByteArray> after = change(std::move(before));
            if (!after)
                return std::nullopt;
            return after->toStdString();
        });
}

std::optional<QByteArray> readAll(const QString &path)
{
    std::string bytes;
    if (path.isEmpty() || LockedFile::read(QFile::encodeName(path).toStdString(), bytes) !=
                              LockedFile::ReadResult::Ok)
        return std::nullopt;
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace FileOps

#include "FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QtGlobal>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace FileOps {

namespace detail {

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

} // namespace detail

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
        return detail::moveByLinkNoReplace(from, to);
    return false;
}

namespace {

// Long enough for a slow disk, short enough that a writer killed mid-update does not block
// the preferences for long; a lock of a process that no longer runs is broken at once.
constexpr int kStaleLockMs = 10 * 1000;
constexpr int kLockWaitMs = 10 * 1000;

// QLockFile::tryLock(timeout) doubles its sleep up to seconds, which starves a waiter behind
// a busy writer; short randomised polls keep concurrent writers moving.
bool acquire(QLockFile &lock)
{
    static thread_local std::minstd_rand jitter(std::random_device{}() ^
                                                static_cast<unsigned>(::getpid()));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
    for (;;) {
        if (lock.tryLock(0))
            return true;
        if (lock.error() != QLockFile::LockFailedError)
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1 + jitter() % 8));
    }
}

enum class ReadResult { Ok, Missing, Failed };

ReadResult readFile(const QString &path, QByteArray &out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Something there that cannot be read is not the same as nothing there.
        return QFileInfo::exists(path) || QFileInfo(path).isSymLink() ? ReadResult::Failed
                                                                      : ReadResult::Missing;
    }
    if (QFileInfo(path).isDir())
        return ReadResult::Failed;
    out = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadResult::Failed;
    return ReadResult::Ok;
}

} // namespace

bool updateLocked(const QString &path,
                  const std::function<std::optional<QByteArray>(std::optional<QByteArray>)> &change)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return false;

    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(kStaleLockMs);
    if (!acquire(lock))
        return false;

    QByteArray current;
    std::optional<QByteArray> before;
    switch (readFile(path, current)) {
    case ReadResult::Ok:
        before = current;
        break;
    case ReadResult::Missing:
        break;
    case ReadResult::Failed:
        return false;
    }

    const std::optional<QByteArray> after = change(before);
    if (!after)
        return true;

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(*after) != after->size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

std::optional<QByteArray> readAll(const QString &path)
{
    QByteArray bytes;
    if (readFile(path, bytes) != ReadResult::Ok)
        return std::nullopt;
    return bytes;
}

} // namespace FileOps

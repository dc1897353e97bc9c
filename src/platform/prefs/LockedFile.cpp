#include "platform/prefs/LockedFile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace LockedFile {

namespace {

// Long enough for a slow disk under a busy writer; a dead holder costs nothing, the kernel
// releases its lock at once.
constexpr auto kLockWait = std::chrono::seconds(10);
constexpr int kMaxLinkHops = 40;

std::string folderOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

unsigned jitter()
{
    // Short randomised polls keep concurrent writers moving; a fixed period could lock-step
    // two waiters behind each other.
    static thread_local std::minstd_rand generator(
        unsigned(::getpid()) ^
        unsigned(std::chrono::steady_clock::now().time_since_epoch().count()));
    return unsigned(generator());
}

class Lock {
public:
    explicit Lock(std::string path) : m_path(std::move(path)) {}
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;
    ~Lock()
    {
        if (m_fd >= 0) {
            // Unlinked while still held, so the next writer never locks a name about to go.
            ::unlink(m_path.c_str());
            ::close(m_fd);
        }
    }

    bool acquire()
    {
        const auto deadline = std::chrono::steady_clock::now() + kLockWait;
        for (;;) {
            // O_NOFOLLOW: a link planted at the lock's name must not make us create or lock a
            // file elsewhere.
            const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (fd < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            bool locked = false;
            for (;;) {
                if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                    locked = true;
                    break;
                }
                if (errno != EWOULDBLOCK && errno != EINTR)
                    break;
                if (std::chrono::steady_clock::now() >= deadline)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(1 + jitter() % 5));
            }
            if (locked && stillNamed(fd)) {
                m_fd = fd;
                // The coarse clock is the one file times are taken from.
                ::clock_gettime(CLOCK_REALTIME_COARSE, &m_acquired);
                return true;
            }
            ::close(fd);
            if (!locked || std::chrono::steady_clock::now() >= deadline)
                return false;
        }
    }

    // When the lock was taken: a temporary file older than that is no live writer's.
    timespec acquired() const { return m_acquired; }

private:
    bool stillNamed(int fd) const
    {
        struct stat held;
        struct stat named;
        return ::fstat(fd, &held) == 0 && ::lstat(m_path.c_str(), &named) == 0 &&
               held.st_dev == named.st_dev && held.st_ino == named.st_ino;
    }

    std::string m_path;
    int m_fd = -1;
    timespec m_acquired{};
};

// Where a write to `path` lands: the end of a chain of links, so a linked preference file
// stays linked. nullopt for a loop.
std::optional<std::string> resolveLinks(std::string path)
{
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::string target(size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || size_t(n) >= target.size())
            return std::nullopt;
        target.resize(size_t(n));
        path = target.front() == '/' ? target : folderOf(path) + '/' + target;
    }
    return std::nullopt;
}

bool syncFolder(const std::string &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

const char kTemporaryChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr size_t kTemporarySuffix = 6;

// <name>.XXXXXX, the names replaceAtomically gives its temporary files.
bool isTemporaryOf(std::string_view entry, std::string_view name)
{
    if (entry.size() != name.size() + 1 + kTemporarySuffix || !entry.starts_with(name) ||
        entry[name.size()] != '.')
        return false;
    for (const char c : entry.substr(name.size() + 1)) {
        if (c == '\0' || std::strchr(kTemporaryChars, c) == nullptr)
            return false;
    }
    return true;
}

// Temporary files of `name` that a writer killed between writing and renaming left behind.
// Called under the lock: a writer that went through it before us is done with its file; one
// made after the lock was taken (a writer reaching the file through another link) is kept.
void removeStaleTemporaries(const std::string &folder, const std::string &name,
                            const timespec &lockedAt)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryOf(entry->d_name, name))
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        const bool older =
            st.st_mtim.tv_sec < lockedAt.tv_sec ||
            (st.st_mtim.tv_sec == lockedAt.tv_sec && st.st_mtim.tv_nsec < lockedAt.tv_nsec);
        if (older)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

bool replaceAtomically(const std::string &path, const std::string &bytes, const timespec &lockedAt)
{
    const auto target = resolveLinks(path);
    if (!target)
        return false;
    struct stat existing;
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    // A file made read-only is a value somebody froze.
    if (exists && (!S_ISREG(existing.st_mode) || ::access(target->c_str(), W_OK) != 0))
        return false;

    const std::string folder = folderOf(*target);
    const std::string base = folder + '/' + nameOf(*target) + '.';
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = base;
        for (size_t i = 0; i < kTemporarySuffix; ++i)
            temporary += kTemporaryChars[jitter() % (sizeof kTemporaryChars - 1)];
        // 0666 lets the umask decide, as for any new file of the user.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR)
            return false;
    }
    if (fd < 0)
        return false;

    bool ok = (!exists || ::fchmod(fd, existing.st_mode & 07777) == 0) && writeAll(fd, bytes) &&
              ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), target->c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself must survive a crash; it has happened, so a failure here is not one
    // of the write.
    syncFolder(folder);
    removeStaleTemporaries(folder, nameOf(*target), lockedAt);
    return true;
}

} // namespace

ReadResult read(const std::string &path, std::string &out, std::size_t maxSize)
{
    out.clear();
    // O_NONBLOCK: a fifo planted at the name must not hang the reader; only regular files are
    // read anyway.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        struct stat st;
        // Something there that cannot be read is not the same as nothing there.
        return ::lstat(path.c_str(), &st) == 0 ? ReadResult::Failed : ReadResult::Missing;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || std::size_t(st.st_size) > maxSize) {
        ::close(fd);
        return ReadResult::Failed;
    }
    if (st.st_size > 0)
        out.reserve(size_t(st.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            out.clear();
            return ReadResult::Failed;
        }
        out.append(buffer, size_t(n));
        // A file that grows while it is read is held to the bound too.
        if (out.size() > maxSize) {
            ::close(fd);
            out.clear();
            return ReadResult::Failed;
        }
    }
    ::close(fd);
    return ReadResult::Ok;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(size_t(n));
    }
    return true;
}

bool makeFolders(const std::string &folder)
{
    struct stat st;
    if (folder.empty())
        return false;
    if (::stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent))
        return false;
    if (::mkdir(folder.c_str(), 0777) == 0)
        return true;
    // Made by somebody else in the meantime.
    return errno == EEXIST && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool update(
    const std::string &path,
    const std::function<std::optional<std::string>(const std::optional<std::string> &)> &change)
{
    if (path.empty() || path.back() == '/')
        return false;
    if (!makeFolders(folderOf(path)))
        return false;

    Lock lock(path + ".lock");
    if (!lock.acquire())
        return false;

    std::string current;
    std::optional<std::string> before;
    switch (read(path, current)) {
    case ReadResult::Ok:
        before = std::move(current);
        break;
    case ReadResult::Missing:
        break;
    case ReadResult::Failed:
        return false;
    }

    const std::optional<std::string> after = change(before);
    if (!after)
        return true;
    return replaceAtomically(path, *after, lock.acquired());
}

} // namespace LockedFile

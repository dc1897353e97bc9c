#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Small files that several processes read and rewrite: Vexilo, the defaults tool and the
// applications all go through these functions, so they exclude one another.
//
// Lock protocol: flock(LOCK_EX) on "<path>.lock". The kernel drops the lock of a process that
// dies, so no lock is ever stale. The holder unlinks the lock file before it lets go, and a
// writer that gets the lock checks that the file it locked still has that name; otherwise it
// locked a file nobody else will see, and starts over.
namespace LockedFile {

enum class ReadResult { Ok, Missing, Failed };

// Whole-file read. Failed (not Missing) when something is there but cannot be read: a
// folder, a dangling link, a file without permission, anything but a regular file.
ReadResult read(const std::string &path, std::string &out, std::size_t maxSize = SIZE_MAX);

// Read-modify-write under the lock, replacing the file atomically (a temporary file in the
// same folder, synced, renamed over it) so that a reader sees the old or the new contents,
// never a part. `change` gets the current contents (nullopt when there is no file) and
// returns the new ones, or nullopt to leave the file as it is. Missing parent folders are
// created. A link at `path` is followed and stays a link. A successful write also removes the
// temporary files of writers killed before their rename (<name>.XXXXXX, older than the lock).
// False when the lock could not be had within about ten seconds or the file could not be read
// or written.
bool update(
    const std::string &path,
    const std::function<std::optional<std::string>(const std::optional<std::string> &)> &change);

// write(2) until every byte is written; false on an error.
bool writeAll(int fd, std::string_view bytes);

// mkdir -p; true when the folder exists afterwards.
bool makeFolders(const std::string &folder);

} // namespace LockedFile

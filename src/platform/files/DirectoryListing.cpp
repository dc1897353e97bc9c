#include "platform/files/DirectoryListing.h"

#include "platform/prefs/LockedFile.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A name that does not read back as the same bytes (not UTF-8) names nothing the program could
// open again: the path it would build leads elsewhere, or nowhere.
std::optional<QString> decodedName(const char *name)
{
    QString decoded = QFile::decodeName(name);
    if (decoded.contains(QChar::ReplacementCharacter) && QFile::encodeName(decoded) != name)
        return std::nullopt;
    return decoded;
}

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
        if (auto decoded = decodedName(name))
            names.append(std::move(*decoded));
    }
    ::closedir(dir);
    return names;
}

} // namespace

namespace DirectoryListing {

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
        if (auto decoded = decodedName(name))
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

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxSize)
{
    std::string bytes;
    if (LockedFile::read(QFile::encodeName(path).toStdString(), bytes, std::size_t(maxSize)) !=
        LockedFile::ReadResult::Ok)
        return std::nullopt;
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

} // namespace DirectoryListing

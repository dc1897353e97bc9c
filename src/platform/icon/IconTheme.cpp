#include "platform/icon/IconTheme.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <dirent.h>

namespace {

const QString kPng = QStringLiteral(".png");
const QString kSvg = QStringLiteral(".svg");
const QString kXpm = QStringLiteral(".xpm");

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool endsWith(const char *name, size_t length, const char *suffix)
{
    return length > 4 && std::memcmp(name + length - 4, suffix, 4) == 0;
}

} // namespace

IconTheme::IconTheme(const QStringList &dataFolders)
{
    // Largest first: the row draws icons at up to twice 58 pixels. Sizes before data folders,
    // as the rules say.
    static const QStringList sizes{
        QStringLiteral("256x256"), QStringLiteral("scalable"), QStringLiteral("512x512"),
        QStringLiteral("192x192"), QStringLiteral("128x128"),  QStringLiteral("96x96"),
        QStringLiteral("64x64"),   QStringLiteral("48x48"),    QStringLiteral("32x32")};
    static const QStringList themes{QStringLiteral("hicolor"), QStringLiteral("Adwaita"),
                                    QStringLiteral("breeze")};
    for (const QString &theme : themes) {
        for (const QString &size : sizes) {
            for (const QString &data : dataFolders) {
                m_folders.append(Folder(data + QStringLiteral("/icons/") + theme +
                                            QLatin1Char('/') + size + QStringLiteral("/apps/"),
                                        false));
            }
        }
    }
    for (const QString &data : dataFolders)
        m_folders.append(Folder(data + QStringLiteral("/pixmaps/"), true));
}

void IconTheme::list(Folder &folder)
{
    folder.listed = true;
    DIR *dir = ::opendir(QFile::encodeName(folder.path).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const size_t length = std::strlen(entry->d_name);
        if (!endsWith(entry->d_name, length, ".png") && !endsWith(entry->d_name, length, ".svg") &&
            !(folder.pixmaps && endsWith(entry->d_name, length, ".xpm")))
            continue;
        // The file system tells regular files; a link, or an entry of unknown kind, is checked
        // when asked for; folders and devices are no icons.
        if (entry->d_type == DT_REG)
            folder.files.insert(QFile::decodeName(entry->d_name));
        else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            folder.links.insert(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
}

QString IconTheme::iconFile(const QString &name)
{
    if (name.isEmpty())
        return {};
    if (name.startsWith(QLatin1Char('/')))
        return isFile(name) ? name : QString();
    // A name with a slash would reach outside the icon folders.
    if (name.contains(QLatin1Char('/')) || name == QLatin1String("..") ||
        name == QLatin1String("."))
        return {};
    const QString files[] = {name + kPng, name + kSvg, name + kXpm};
    for (Folder &folder : m_folders) {
        if (!folder.listed)
            list(folder);
        for (const QString &file : files) {
            if (&file == &files[2] && !folder.pixmaps)
                break;
            // A listed regular file is one; a link counts when it leads to one.
            if (folder.files.contains(file) ||
                (folder.links.contains(file) && isFile(folder.path + file)))
                return folder.path + file;
        }
    }
    return {};
}

#include "platform/icon/IconTheme.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <dirent.h>
#include <iterator>

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

// Largest first: the row draws icons at up to twice 58 pixels.
const QString kSizes[] = {
    QStringLiteral("256x256"), QStringLiteral("scalable"), QStringLiteral("512x512"),
    QStringLiteral("192x192"), QStringLiteral("128x128"),  QStringLiteral("96x96"),
    QStringLiteral("64x64"),   QStringLiteral("48x48"),    QStringLiteral("32x32")};
const QString kThemes[] = {QStringLiteral("hicolor"), QStringLiteral("Adwaita"),
                           QStringLiteral("breeze")};
constexpr qsizetype kThemeFolders = std::size(kSizes) * std::size(kThemes);

} // namespace

IconTheme::IconTheme(const QStringList &dataFolders)
    : m_dataFolders(dataFolders), m_folders((kThemeFolders + 1) * dataFolders.size())
{
}

bool IconTheme::isPixmaps(qsizetype index) const
{
    return index >= kThemeFolders * m_dataFolders.size();
}

QString IconTheme::folderPath(qsizetype index) const
{
    const qsizetype data = index % m_dataFolders.size();
    if (isPixmaps(index))
        return m_dataFolders.at(data) + QStringLiteral("/pixmaps/");
    // Sizes before data folders, as the rules say.
    const qsizetype themeSize = index / m_dataFolders.size();
    return m_dataFolders.at(data) + QStringLiteral("/icons/") +
           kThemes[themeSize / std::size(kSizes)] + QLatin1Char('/') +
           kSizes[themeSize % std::size(kSizes)] + QStringLiteral("/apps/");
}

void IconTheme::list(qsizetype index)
{
    Folder &folder = m_folders[index];
    folder.listed = true;
    const bool pixmaps = isPixmaps(index);
    DIR *dir = ::opendir(QFile::encodeName(folderPath(index)).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const size_t length = std::strlen(entry->d_name);
        if (!endsWith(entry->d_name, length, ".png") && !endsWith(entry->d_name, length, ".svg") &&
            !(pixmaps && endsWith(entry->d_name, length, ".xpm")))
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
    for (qsizetype index = 0; index < m_folders.size(); ++index) {
        Folder &folder = m_folders[index];
        if (!folder.listed)
            list(index);
        if (folder.files.isEmpty() && folder.links.isEmpty())
            continue;
        for (const QString &file : files) {
            if (&file == &files[2] && !isPixmaps(index))
                break;
            // A listed regular file is one; a link counts when it leads to one.
            if (folder.files.contains(file) ||
                (folder.links.contains(file) && isFile(folderPath(index) + file)))
                return folderPath(index) + file;
        }
    }
    return {};
}

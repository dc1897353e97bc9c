#include "platform/icon/IconTheme.h"

#include <QFileInfo>

namespace IconTheme {

namespace {

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

} // namespace

QString iconFile(const QString &name, const QStringList &dataFolders)
{
    if (name.isEmpty())
        return {};
    if (name.startsWith(QLatin1Char('/')))
        return isFile(name) ? name : QString();
    // A name with a slash would reach outside the icon folders.
    if (name.contains(QLatin1Char('/')) || name == QLatin1String("..") ||
        name == QLatin1String("."))
        return {};
    // Largest first: the row draws icons at up to twice 58 pixels.
    static const QStringList sizes{
        QStringLiteral("256x256"), QStringLiteral("scalable"), QStringLiteral("512x512"),
        QStringLiteral("192x192"), QStringLiteral("128x128"),  QStringLiteral("96x96"),
        QStringLiteral("64x64"),   QStringLiteral("48x48"),    QStringLiteral("32x32")};
    static const QStringList themes{QStringLiteral("hicolor"), QStringLiteral("Adwaita"),
                                    QStringLiteral("breeze")};
    static const QStringList suffixes{QStringLiteral(".png"), QStringLiteral(".svg")};
    for (const QString &theme : themes) {
        for (const QString &size : sizes) {
            for (const QString &data : dataFolders) {
                const QString base = data + QStringLiteral("/icons/") + theme + QLatin1Char('/') +
                                     size + QStringLiteral("/apps/") + name;
                for (const QString &suffix : suffixes) {
                    if (isFile(base + suffix))
                        return base + suffix;
                }
            }
        }
    }
    for (const QString &data : dataFolders) {
        for (const QString &suffix :
             {QStringLiteral(".png"), QStringLiteral(".svg"), QStringLiteral(".xpm")}) {
            const QString path = data + QStringLiteral("/pixmaps/") + name + suffix;
            if (isFile(path))
                return path;
        }
    }
    return {};
}

} // namespace IconTheme

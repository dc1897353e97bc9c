// An icon file as a bundle may hold one: decoded whole from memory, and read from a file as the
// icon row reads it (the .icns table of entries first, then only the chosen entry). The first
// byte picks the size the icon is drawn at.

#include "platform/icon/IconImage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/vexilo-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/vexilo-fuzz-XXXXXX"));
    static const QString path = folder.path() + QStringLiteral("/AppIcon.icns");
    if (size < 1)
        return 0;
    const int side = 16 + data[0] * 4;
    const QByteArray contents(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    const QImage decoded = IconImage::decodeToFit(contents, side);
    if (!decoded.isNull() && (decoded.width() <= 0 || decoded.height() <= 0))
        std::abort();

    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(contents) != contents.size())
            std::abort();
    }
    const QImage loaded = IconImage::loadToFit(path, side);
    if (!loaded.isNull() && (loaded.width() <= 0 || loaded.height() <= 0))
        std::abort();
    return 0;
}

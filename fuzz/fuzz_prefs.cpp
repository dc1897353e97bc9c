// The preference store on a domain file holding the input: reading it, then setting one key.
// The set must keep every key that was read, and a file that could not be read must be kept
// aside byte for byte.

#include "platform/preferences/PreferencesStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

const QString kDomain = QStringLiteral("org.vexilo.Fuzz");
const QString kKey = QStringLiteral("FuzzKey");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // On tmpfs where there is one: every write is synced, which a disk makes slow.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/vexilo-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/vexilo-fuzz-XXXXXX"));
    static PreferencesStore store(folder.path());
    const QString path = store.pathForDomain(kDomain);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            std::abort();
    }

    const QVariantMap before = store.read(kDomain);
    if (!store.setValue(kDomain, kKey, qlonglong(7)))
        std::abort();
    const QVariantMap after = store.read(kDomain);
    if (after.value(kKey) != QVariant(qlonglong(7)))
        std::abort();
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it.key() != kKey && !after.contains(it.key()))
            std::abort();
    }
    // Nothing was read yet the file was replaced: its bytes must be kept aside.
    const QString corrupt = path + QStringLiteral(".corrupt");
    if (QFile::exists(corrupt)) {
        if (contents(corrupt) != bytes)
            std::abort();
        QFile::remove(corrupt);
    }
    return 0;
}

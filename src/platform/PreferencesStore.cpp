#include "PreferencesStore.h"

#include "FileOps.h"
#include "PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QStandardPaths>
#include <QVariantHash>
#include <limits>

namespace {

const QLatin1String kSuffix(".plist");
const QLatin1String kCorruptSuffix(".corrupt");

// Every name the store derives from a domain (the file, its lock, the atomic-save temporary,
// the copies of corrupt files) must fit in one 255-byte file name.
constexpr int kMaxDomainBytes = 255 - 32;

// Brings a value to the types PropertyList writes; nullopt for a type a property list cannot
// hold, so nothing half-converted is ever stored.
std::optional<QVariant> normalised(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::LongLong:
        return value;
    case QMetaType::Float:
        return QVariant(value.toDouble());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return QVariant(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong v = value.toULongLong();
        if (v > qulonglong(std::numeric_limits<qlonglong>::max()))
            return std::nullopt;
        return QVariant(qlonglong(v));
    }
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        if (!date.isValid())
            return std::nullopt;
        return QVariant(date.toUTC());
    }
    case QMetaType::QStringList: {
        QVariantList list;
        for (const QString &s : value.toStringList())
            list.append(s);
        return QVariant(list);
    }
    case QMetaType::QVariantList: {
        QVariantList list;
        for (const QVariant &element : value.toList()) {
            const auto v = normalised(element);
            if (!v)
                return std::nullopt;
            list.append(*v);
        }
        return QVariant(list);
    }
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash: {
        QVariantMap map;
        const QVariantMap source = value.toMap();
        for (auto it = source.cbegin(); it != source.cend(); ++it) {
            const auto v = normalised(it.value());
            if (!v)
                return std::nullopt;
            map.insert(it.key(), *v);
        }
        return QVariant(map);
    }
    default:
        return std::nullopt;
    }
}

// Keeps the bytes of a domain file we cannot read under a name nothing else uses, before the
// next write replaces it.
bool keepCorruptCopy(const QString &path, const QByteArray &bytes)
{
    for (int n = 1; n < 1000; ++n) {
        QString name = path + kCorruptSuffix;
        if (n > 1)
            name += QLatin1Char('-') + QString::number(n);
        QFile file(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const bool ok = file.write(bytes) == bytes.size() && file.flush();
            file.close();
            if (!ok)
                file.remove();
            return ok;
        }
        if (!file.exists())
            return false;
    }
    return false;
}

enum class Contents { Missing, Dictionary, Corrupt };

Contents decode(const std::optional<QByteArray> &bytes, QVariantMap &map)
{
    map.clear();
    if (!bytes)
        return Contents::Missing;
    // An empty file holds nothing worth keeping.
    if (bytes->trimmed().isEmpty())
        return Contents::Missing;
    const auto parsed = PropertyList::parse(*bytes);
    if (!parsed || parsed->typeId() != QMetaType::QVariantMap)
        return Contents::Corrupt;
    map = parsed->toMap();
    return Contents::Dictionary;
}

} // namespace

PreferencesStore::PreferencesStore(QString directory) : m_directory(std::move(directory)) {}

QString PreferencesStore::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vexilo/Preferences");
}

bool PreferencesStore::isValidDomain(const QString &domain)
{
    if (domain.isEmpty() || domain.startsWith(QLatin1Char('.')))
        return false;
    if (domain.contains(QLatin1Char('/')) || domain.contains(QLatin1Char('\\')) ||
        domain.contains(QLatin1String("..")))
        return false;
    for (qsizetype i = 0; i < domain.size(); ++i) {
        const QChar c = domain.at(i);
        if (c.category() == QChar::Other_Control)
            return false;
        // A lone surrogate has no file-name encoding that reads back as the same domain.
        if (c.isHighSurrogate()) {
            if (i + 1 >= domain.size() || !domain.at(i + 1).isLowSurrogate())
                return false;
            ++i;
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return QFile::encodeName(domain).size() <= kMaxDomainBytes;
}

QString PreferencesStore::pathForDomain(const QString &domain) const
{
    if (!isValidDomain(domain) || m_directory.isEmpty())
        return QString();
    return m_directory + QLatin1Char('/') + domain + kSuffix;
}

QVariantMap PreferencesStore::read(const QString &domain) const
{
    const QString path = pathForDomain(domain);
    if (path.isEmpty())
        return {};
    QVariantMap map;
    decode(FileOps::readAll(path), map);
    return map;
}

std::optional<QVariant> PreferencesStore::value(const QString &domain, const QString &key) const
{
    const QVariantMap map = read(domain);
    const auto it = map.constFind(key);
    if (it == map.cend())
        return std::nullopt;
    return it.value();
}

bool PreferencesStore::setValue(const QString &domain, const QString &key, const QVariant &value)
{
    const auto v = normalised(value);
    if (!v)
        return false;
    return update(domain, [&](QVariantMap &map) { map.insert(key, *v); });
}

bool PreferencesStore::removeValue(const QString &domain, const QString &key)
{
    return update(domain, [&](QVariantMap &map) { map.remove(key); });
}

bool PreferencesStore::update(const QString &domain,
                              const std::function<void(QVariantMap &)> &change)
{
    const QString path = pathForDomain(domain);
    if (path.isEmpty())
        return false;
    bool ok = true;
    const bool written = FileOps::updateLocked(
        path, [&](std::optional<QByteArray> bytes) -> std::optional<QByteArray> {
            QVariantMap map;
            const Contents contents = decode(bytes, map);
            QVariantMap changed = map;
            change(changed);
            const auto clean = normalised(QVariant(changed));
            if (!clean) {
                ok = false;
                return std::nullopt;
            }
            const QByteArray xml = PropertyList::toXml(*clean);
            if (xml.isEmpty()) {
                ok = false;
                return std::nullopt;
            }
            // Nothing to do: an unchanged dictionary is not rewritten, a missing domain not
            // created, and a corrupt file stays as it is. Compared in written form so that a
            // change of type (1 to YES) still counts.
            const auto old = normalised(QVariant(map));
            if (old && PropertyList::toXml(*old) == xml)
                return std::nullopt;
            if (contents == Contents::Corrupt && !keepCorruptCopy(path, *bytes)) {
                ok = false;
                return std::nullopt;
            }
            return xml;
        });
    return written && ok;
}

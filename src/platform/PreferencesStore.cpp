#include "PreferencesStore.h"

#include "DomainFiles.h"
#include "PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QVariantHash>
#include <limits>
#include <string>

namespace {

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

// A domain or folder as file-system bytes; nullopt for a lone surrogate, which has no
// encoding that reads back as the same name.
std::optional<std::string> fileName(const QString &name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 >= name.size() || !name.at(i + 1).isLowSurrogate())
                return std::nullopt;
            ++i;
        } else if (c.isLowSurrogate()) {
            return std::nullopt;
        }
    }
    return QFile::encodeName(name).toStdString();
}

// The dictionary the file rules hand over, in the program's own types. Both sides are
// property lists, so the binary form carries every value across unchanged.
QVariantMap toMap(plist_t dict)
{
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(dict, &bytes, &length);
    if (!bytes)
        return {};
    const auto parsed = PropertyList::parse(QByteArray(bytes, qsizetype(length)));
    plist_to_bin_free(bytes);
    return parsed ? parsed->toMap() : QVariantMap();
}

} // namespace

PreferencesStore::PreferencesStore(QString directory) : m_directory(std::move(directory)) {}

QString PreferencesStore::defaultDirectory()
{
    return QFile::decodeName(QByteArray::fromStdString(DomainFiles::defaultDirectory()));
}

bool PreferencesStore::isValidDomain(const QString &domain)
{
    const auto name = fileName(domain);
    return name && DomainFiles::isValidDomain(*name);
}

QString PreferencesStore::pathForDomain(const QString &domain) const
{
    const auto name = fileName(domain);
    const auto folder = fileName(m_directory);
    if (!name || !folder)
        return QString();
    return QFile::decodeName(QByteArray::fromStdString(DomainFiles::pathForDomain(*folder, *name)));
}

QVariantMap PreferencesStore::read(const QString &domain) const
{
    const QString path = pathForDomain(domain);
    if (path.isEmpty())
        return {};
    const PlistNode::Ptr dict = DomainFiles::read(QFile::encodeName(path).toStdString());
    return toMap(dict.get());
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
    return DomainFiles::update(QFile::encodeName(path).toStdString(), [&](PlistNode::Ptr &dict) {
        const QVariantMap map = toMap(dict.get());
        QVariantMap changed = map;
        change(changed);
        const auto clean = normalised(QVariant(changed));
        if (!clean)
            return false;
        const QByteArray xml = PropertyList::toXml(*clean);
        // Left untouched when nothing changed in the program's terms, so that values this
        // side rounds (a date's microseconds) are not rewritten for nothing.
        const auto old = normalised(QVariant(map));
        if (old && PropertyList::toXml(*old) == xml)
            return true;
        PlistNode::Ptr fresh =
            PlistNode::parse(std::string_view(xml.constData(), size_t(xml.size())));
        if (!fresh)
            return false;
        dict = std::move(fresh);
        return true;
    });
}

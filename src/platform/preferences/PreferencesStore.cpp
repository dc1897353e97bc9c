#include "platform/preferences/PreferencesStore.h"

#include "platform/preferences/PropertyList.h"
#include "platform/prefs/DomainFiles.h"

#include <QFile>
#include <string>

namespace {

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

QVariantMap toMap(const PlistValue::Dictionary &dict)
{
    return PropertyList::toVariant(PlistValue::dictionary(dict)).toMap();
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
    PlistValue::Dictionary dict;
    DomainFiles::read(QFile::encodeName(path).toStdString(), dict);
    return toMap(dict);
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
    // Refused before the file is touched when the value has no property-list form.
    if (!PropertyList::fromVariant(value))
        return false;
    return update(domain, [&](QVariantMap &map) { map.insert(key, value); });
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
    return DomainFiles::update(QFile::encodeName(path).toStdString(),
                               [&](PlistValue::Dictionary &dict) {
                                   const QVariantMap before = toMap(dict);
                                   QVariantMap after = before;
                                   change(after);
                                   // Only what the change touched is converted back: every other
                                   // value stays exactly as the file holds it (a date's
                                   // microseconds included).
                                   for (auto it = dict.begin(); it != dict.end();) {
                                       if (after.contains(QString::fromStdString(it->first)))
                                           ++it;
                                       else
                                           it = dict.erase(it);
                                   }
                                   for (auto it = after.cbegin(); it != after.cend(); ++it) {
                                       const auto old = before.constFind(it.key());
                                       if (old != before.cend() && old.value() == it.value())
                                           continue;
                                       auto key = PropertyList::fromVariant(it.key());
                                       auto value = PropertyList::fromVariant(it.value());
                                       if (!key || !value)
                                           return false;
                                       dict.insert_or_assign(key->bytes(), std::move(*value));
                                   }
                                   return true;
                               });
}

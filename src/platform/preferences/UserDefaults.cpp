#include "platform/preferences/UserDefaults.h"

#include "platform/preferences/PreferencesStore.h"

#include <QMutexLocker>
#include <algorithm>
#include <cmath>
#include <limits>

UserDefaults::UserDefaults(std::shared_ptr<PreferencesStore> store, QString domain)
    : m_store(std::move(store)), m_domain(std::move(domain))
{
}

void UserDefaults::registerDefaults(const QVariantMap &defaults)
{
    QMutexLocker locker(&m_mutex);
    // Later registrations add to earlier ones and win for the same key.
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        m_registered.insert(it.key(), it.value());
}

QVariant UserDefaults::objectForKey(const QString &key) const
{
    // Read the file every time: the defaults tool or another instance may have changed it.
    if (m_store) {
        if (const auto stored = m_store->value(m_domain, key))
            return *stored;
    }
    QMutexLocker locker(&m_mutex);
    return m_registered.value(key);
}

bool UserDefaults::hasStoredValue(const QString &key) const
{
    return m_store && m_store->value(m_domain, key).has_value();
}

QStringList UserDefaults::stringArrayForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    if (value.typeId() != QMetaType::QVariantList)
        return {};
    QStringList strings;
    for (const QVariant &element : value.toList()) {
        // One foreign element must not cost the whole list (every added application): it is
        // passed over.
        if (element.typeId() == QMetaType::QString)
            strings.append(element.toString());
    }
    return strings;
}

namespace {

bool isInteger(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

} // namespace

qlonglong UserDefaults::integerForKey(const QString &key) const
{
    return integerValue(objectForKey(key));
}

qlonglong UserDefaults::integerValue(const QVariant &value)
{
    // Property lists hold integers above the signed range as unsigned: clamped, not wrapped.
    if (value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong)
        return qlonglong(
            std::min<qulonglong>(value.toULongLong(), std::numeric_limits<qlonglong>::max()));
    if (isInteger(value))
        return value.toLongLong();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        // A stored real counts as a number, truncated as a C cast would, clamped to range.
        const double d = value.toDouble();
        if (std::isnan(d))
            return 0;
        if (d >= 9.2233720368547758e18)
            return std::numeric_limits<qlonglong>::max();
        if (d <= -9.2233720368547758e18)
            return std::numeric_limits<qlonglong>::min();
        return static_cast<qlonglong>(d);
    }
    default:
        return 0;
    }
}

bool UserDefaults::boolForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (isInteger(value))
        return value.toLongLong() != 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble() != 0.0;
    default:
        return false;
    }
}

QDateTime UserDefaults::dateForKey(const QString &key) const
{
    const QVariant value = objectForKey(key);
    if (value.typeId() != QMetaType::QDateTime)
        return QDateTime();
    return value.toDateTime();
}

bool UserDefaults::setObject(const QString &key, const QVariant &value)
{
    if (!m_store)
        return false;
    // Setting nothing clears the stored value, so the registered default answers again.
    if (!value.isValid())
        return m_store->removeValue(m_domain, key);
    return m_store->setValue(m_domain, key, value);
}

bool UserDefaults::removeObject(const QString &key)
{
    return m_store && m_store->removeValue(m_domain, key);
}

bool UserDefaults::update(const std::function<void(QVariantMap &stored)> &change)
{
    return m_store && m_store->update(m_domain, change);
}

QString UserDefaults::filePath() const
{
    return m_store ? m_store->pathForDomain(m_domain) : QString();
}

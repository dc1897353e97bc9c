#pragma once

#include <QDateTime>
#include <QMutex>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>

class PreferencesStore;

// A program's own settings on the preferences store, one domain. Registered defaults live in
// memory only and answer for keys without a stored value. Every set is written at once.
// Safe to use from several threads.
class UserDefaults {
public:
    UserDefaults(std::shared_ptr<PreferencesStore> store, QString domain);

    QString domain() const { return m_domain; }
    void registerDefaults(const QVariantMap &defaults);

    // Stored value, else registered default, else an invalid QVariant.
    QVariant objectForKey(const QString &key) const;
    bool hasStoredValue(const QString &key) const;
    // Typed reads; a value of another type reads as the empty/zero value. An array's elements
    // that are not strings are left out of stringArrayForKey.
    QStringList stringArrayForKey(const QString &key) const;
    qlonglong integerForKey(const QString &key) const;
    bool boolForKey(const QString &key) const;
    QDateTime dateForKey(const QString &key) const; // invalid when absent or not a date
    // A value as integerForKey reads it, for values read in update().
    static qlonglong integerValue(const QVariant &value);

    bool setObject(const QString &key, const QVariant &value);
    bool setInteger(const QString &key, qlonglong value) { return setObject(key, value); }
    bool setBool(const QString &key, bool value) { return setObject(key, value); }
    bool removeObject(const QString &key);
    // One locked read-modify-write of the domain as stored now: `change` edits the stored
    // values (registered defaults are not in it), so what another process wrote in between is
    // kept. False when the file could not be written.
    bool update(const std::function<void(QVariantMap &stored)> &change);

    // The file the values are stored in, to name it to the user when a write fails.
    QString filePath() const;

private:
    std::shared_ptr<PreferencesStore> m_store;
    QString m_domain;
    mutable QMutex m_mutex;
    QVariantMap m_registered;
};

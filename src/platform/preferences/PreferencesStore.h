#pragma once

#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

// The preferences system: one XML property list per domain,
// <dir>/<domain>.plist, by default $XDG_CONFIG_HOME/vexilo/Preferences. Every write is a locked
// read-modify-write with an atomic replace, so concurrent writers (Vexilo, the defaults tool,
// applications) lose no update and readers never see a partial file.
class PreferencesStore {
public:
    explicit PreferencesStore(QString directory);
    // $XDG_CONFIG_HOME/vexilo/Preferences (QStandardPaths::GenericConfigLocation).
    static QString defaultDirectory();

    QString directory() const { return m_directory; }

    // A domain is an identifier, never a path: empty names, "/", "\\", "..", a leading "." and
    // control characters are refused.
    static bool isValidDomain(const QString &domain);
    // The file of a valid domain; empty for an invalid one.
    QString pathForDomain(const QString &domain) const;

    // The domain's dictionary; empty when missing, unreadable or corrupt (a corrupt file is
    // left as it is until the next write replaces it).
    QVariantMap read(const QString &domain) const;
    std::optional<QVariant> value(const QString &domain, const QString &key) const;

    // False for an invalid domain or a failed write; nothing is written then.
    bool setValue(const QString &domain, const QString &key, const QVariant &value);
    bool removeValue(const QString &domain, const QString &key);
    // General form: `change` edits the dictionary read under the lock.
    bool update(const QString &domain, const std::function<void(QVariantMap &)> &change);

private:
    QString m_directory;
};

#pragma once

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>

// Where applications live and how to find one by its identifier.
class Workspace {
public:
    // `registryFile` remembers bundles opened from outside the applications folder, so that
    // an application added from anywhere is found by identifier at the next start.
    Workspace(QString applicationsDirectory, QString registryFile);

    // VEXILO_APPLICATIONS_DIR when set, else /Applications.
    static QString defaultApplicationsDirectory();
    // $XDG_DATA_HOME/vexilo/KnownApplications.plist
    static QString defaultRegistryFile();

    QString applicationsDirectory() const { return m_applicationsDirectory; }

    // The bundle path for an identifier: a bundle one level inside the applications folder, else
    // a remembered bundle whose Info.plist still declares that identifier. Empty when none.
    QString absolutePathForAppBundleWithIdentifier(const QString &identifier) const;
    // The same for many identifiers at once (those found), checking the folder only once.
    QHash<QString, QString>
    absolutePathsForAppBundlesWithIdentifiers(const QStringList &identifiers) const;

    // Where the registry last saw the bundle of `identifier`, whether or not it is still there
    // (a removable disk may be gone); empty when it never saw one.
    QString lastKnownPath(const QString &identifier) const;

    // Records a bundle opened by path (no-op for bundles without identifier or inside the
    // applications folder, and when the registry already has it).
    void rememberApplication(const QString &bundlePath);
    // The same for a bundle already read, whose identifier the caller knows.
    void rememberApplication(const QString &bundlePath, const QString &identifier);

private:
    // All three with m_mutex held.
    void loadRegistry() const;
    void refreshFolderIndex() const;
    QString rememberedPath(const QString &identifier) const;
    bool isInApplicationsDirectory(const QString &bundlePath) const;

    QString m_applicationsDirectory;
    mutable QString m_canonicalApplicationsDirectory;
    mutable QString m_cleanApplicationsDirectory;
    QString m_registryFile;
    mutable QMutex m_mutex;
    mutable bool m_registryLoaded = false;
    mutable QHash<QString, QString> m_registry; // identifier -> bundle path
    // The applications folder by identifier, rebuilt when the folder or an Info.plist in it
    // changes.
    mutable QHash<QString, QString> m_folderIndex;
    mutable QHash<QString, qint64> m_infoStamps; // Info.plist path -> change stamp
    mutable qint64 m_folderIndexStamp = -2;
};

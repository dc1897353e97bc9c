#include "platform/bundle/Workspace.h"

#include "platform/bundle/Bundle.h"
#include "platform/files/DirectoryListing.h"
#include "platform/files/FileOps.h"
#include "platform/preferences/PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// identifier -> path entries of a registry file; anything else in it is ignored.
QHash<QString, QString> registryEntries(const QVariantMap &map)
{
    QHash<QString, QString> entries;
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (it.value().typeId() == QMetaType::QString && !it.key().isEmpty() &&
            !it.value().toString().isEmpty())
            entries.insert(it.key(), it.value().toString());
    }
    return entries;
}

QVariantMap parseRegistry(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return {};
    const std::optional<QVariant> value = PropertyList::parse(*bytes);
    if (!value || value->typeId() != QMetaType::QVariantMap)
        return {};
    return value->toMap();
}

QString canonicalDirectory(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : canonical;
}

QString absoluteCleanPath(const QString &path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QFileInfo(path).absoluteFilePath());
}

} // namespace

Workspace::Workspace(QString applicationsDirectory, QString registryFile)
    : m_applicationsDirectory(std::move(applicationsDirectory)),
      m_registryFile(std::move(registryFile))
{
}

QString Workspace::defaultApplicationsDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("VEXILO_APPLICATIONS_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral("/Applications") : fromEnvironment;
}

QString Workspace::defaultRegistryFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vexilo/KnownApplications.plist");
}

QString Workspace::absolutePathForAppBundleWithIdentifier(const QString &identifier) const
{
    return absolutePathsForAppBundlesWithIdentifiers({identifier}).value(identifier);
}

QHash<QString, QString>
Workspace::absolutePathsForAppBundlesWithIdentifiers(const QStringList &identifiers) const
{
    QHash<QString, QString> found;
    if (identifiers.isEmpty())
        return found;
    QMutexLocker lock(&m_mutex);
    refreshFolderIndex();
    for (const QString &identifier : identifiers) {
        if (identifier.isEmpty() || found.contains(identifier))
            continue;
        QString path = m_folderIndex.value(identifier);
        if (path.isEmpty())
            path = rememberedPath(identifier);
        if (!path.isEmpty())
            found.insert(identifier, path);
    }
    return found;
}

void Workspace::loadRegistry() const
{
    if (!m_registryLoaded) {
        m_registry = registryEntries(parseRegistry(FileOps::readAll(m_registryFile)));
        m_registryLoaded = true;
    }
}

QString Workspace::rememberedPath(const QString &identifier) const
{
    loadRegistry();
    const QString remembered = m_registry.value(identifier);
    if (remembered.isEmpty())
        return {};
    // The bundle may have been replaced or deleted since it was remembered.
    const auto bundle = Bundle::bundleWithPath(remembered);
    if (bundle && bundle->bundleIdentifier() == identifier)
        return remembered;
    return {};
}

QString Workspace::lastKnownPath(const QString &identifier) const
{
    QMutexLocker lock(&m_mutex);
    loadRegistry();
    return m_registry.value(identifier);
}

void Workspace::refreshFolderIndex() const
{
    // Reading every bundle of the folder at each question would grow with the folder times the
    // questions; checking that neither the folder nor any Info.plist in it changed costs a stat
    // each, and loading asks about all added applications at once.
    bool current = DirectoryListing::changeStamp(m_applicationsDirectory) == m_folderIndexStamp;
    for (auto it = m_infoStamps.cbegin(); current && it != m_infoStamps.cend(); ++it)
        current = DirectoryListing::changeStamp(it.key()) == it.value();
    if (!current) {
        m_folderIndex.clear();
        m_infoStamps.clear();
        m_folderIndexStamp = DirectoryListing::changeStamp(m_applicationsDirectory);
        // QDir::Dirs follows links, so a link to a bundle counts and a dangling one does not.
        const QDir applications(m_applicationsDirectory);
        const QStringList entries = applications.entryList(
            {QStringLiteral("*.app")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &entry : entries) {
            const QString path = QDir::cleanPath(applications.absoluteFilePath(entry));
            const QString info = path + QStringLiteral("/Contents/Info.plist");
            m_infoStamps.insert(info, DirectoryListing::changeStamp(info));
            const auto bundle = Bundle::bundleWithPath(path);
            if (bundle && !bundle->bundleIdentifier().isEmpty() &&
                !m_folderIndex.contains(bundle->bundleIdentifier()))
                m_folderIndex.insert(bundle->bundleIdentifier(), path);
        }
    }
}

void Workspace::rememberApplication(const QString &bundlePath)
{
    if (bundlePath.isEmpty())
        return;
    const QString path = absoluteCleanPath(bundlePath);
    if (isInApplicationsDirectory(path))
        return;
    const auto bundle = Bundle::bundleWithPath(path);
    if (bundle)
        rememberApplication(path, bundle->bundleIdentifier());
}

bool Workspace::isInApplicationsDirectory(const QString &path) const
{
    // `path` is clean and absolute: its folder is all before the last slash.
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QStringView parent = slash > 0 ? QStringView(path).left(slash) : QStringView(u"/", 1);
    {
        QMutexLocker lock(&m_mutex);
        if (m_canonicalApplicationsDirectory.isEmpty()) {
            m_canonicalApplicationsDirectory = canonicalDirectory(m_applicationsDirectory);
            m_cleanApplicationsDirectory = QDir::cleanPath(m_applicationsDirectory);
        }
        // Listings of the folder come with resolved paths: most answers need no file system.
        if (parent == m_canonicalApplicationsDirectory || parent == m_cleanApplicationsDirectory)
            return true;
    }
    return canonicalDirectory(parent.toString()) == canonicalDirectory(m_applicationsDirectory);
}

void Workspace::rememberApplication(const QString &bundlePath, const QString &identifier)
{
    if (bundlePath.isEmpty() || identifier.isEmpty())
        return;
    const QString path = absoluteCleanPath(bundlePath);
    // The folder scan finds these anyway.
    if (isInApplicationsDirectory(path))
        return;

    QMutexLocker lock(&m_mutex);
    loadRegistry();
    if (m_registry.value(identifier) == path)
        return;

    // Merged with what is on disk now, so entries another process added meanwhile survive.
    QVariantMap merged;
    bool writable = true;
    const bool written = FileOps::updateLocked(
        m_registryFile, [&](std::optional<QByteArray> current) -> std::optional<QByteArray> {
            merged = parseRegistry(current);
            if (merged.value(identifier).toString() == path)
                return std::nullopt;
            merged.insert(identifier, path);
            // A path a property list cannot hold (a control character) must not cost the
            // file the other entries.
            const QByteArray xml = PropertyList::toXml(merged);
            writable = !xml.isEmpty();
            return writable ? std::optional<QByteArray>(xml) : std::nullopt;
        });
    if (written && writable) {
        m_registry = registryEntries(merged);
    } else {
        // Still found for the rest of this run even if the disk refused the write.
        m_registry.insert(identifier, path);
        qWarning("Error: could not remember the application %s.", qUtf8Printable(path));
    }
}

#include "AppListing.h"

#include "BundleListing.h"
#include "MenuEntryListing.h"
#include "platform/bundle/Workspace.h"
#include "platform/files/DirectoryListing.h"
#include "platform/files/FileOps.h"

#include <QDir>

AppListing::~AppListing() = default;

AppListingPtr AppListing::fromPath(const QString &path, Workspace &workspace, bool invalid)
{
    return BundleListing::read(path, workspace, invalid);
}

AppListingPtr AppListing::fromDesktopApplication(const DesktopApplication &app,
                                                 const DesktopEntries &entries, bool withLanguages)
{
    return MenuEntryListing::read(app, entries, withLanguages);
}

QString AppListing::iconPath() const
{
    if (m_iconFile.isEmpty() || QDir::isAbsolutePath(m_iconFile))
        return m_iconFile;
    return m_path + QLatin1Char('/') + m_iconFile;
}

bool AppListing::isEqualToListing(const AppListing &other) const
{
    if (this == &other)
        return true;
    return !m_identifier.isEmpty() && m_identifier == other.m_identifier;
}

bool restoreDisabledResources(const QString &bundlePath)
{
    if (bundlePath.isEmpty())
        return true;
    // Only a real folder holds disabled resources, in a Contents folder that is the bundle's own.
    // A file or a link of either name is left alone: deleting it would lose data, and following
    // a link would move files about elsewhere. Most bundles have none: that look comes first.
    const QString disabled = bundlePath + QStringLiteral("/Contents/Resources Disabled");
    if (DirectoryListing::kindOf(disabled) != DirectoryListing::Kind::Folder)
        return true;
    const QString contents = bundlePath + QStringLiteral("/Contents");
    const QString resources = contents + QStringLiteral("/Resources");
    if (DirectoryListing::kindOf(contents) != DirectoryListing::Kind::Folder)
        return true;

    const QStringList entries = DirectoryListing::entries(disabled);
    if (entries.isEmpty()) {
        QDir().rmdir(disabled);
        return true;
    }
    // Never move into a Resources that is a link: that would write outside the bundle.
    if (DirectoryListing::kindOf(resources) == DirectoryListing::Kind::Folder) {
        for (const QString &entry : entries)
            FileOps::moveNoReplace(disabled + QLatin1Char('/') + entry,
                                   resources + QLatin1Char('/') + entry);
    }
    if (!DirectoryListing::entries(disabled).isEmpty())
        return false;
    return QDir().rmdir(disabled);
}

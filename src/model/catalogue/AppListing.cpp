#include "AppListing.h"

#include "language/LanguageList.h"
#include "platform/bundle/Bundle.h"
#include "platform/bundle/Workspace.h"
#include "platform/desktop/DesktopLanguageSetting.h"
#include "platform/desktop/Translations.h"
#include "platform/files/DirectoryListing.h"
#include "platform/files/FileOps.h"
#include "platform/icon/IconTheme.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

namespace {

// What many listings hold alike, held once: the sets of localisation folders bundles have (most
// have one of a few), and where their icons lie ("Contents/Resources/AppIcon.icns"). Listings
// are made on the loading thread and the main thread. Bounded: a catalogue of odd bundles makes
// new copies rather than grow the pool without end.
template <typename T> T shared(const T &value)
{
    static QMutex mutex;
    static QSet<T> pool;
    if (value.isEmpty() || value.size() > 256)
        return value;
    QMutexLocker lock(&mutex);
    const auto it = pool.constFind(value);
    if (it != pool.cend())
        return *it;
    if (pool.size() >= 4096)
        pool.clear();
    pool.insert(value);
    return value;
}

// Every selection reads its bundle afresh; a bundle that cannot be restored is told about once a
// run, not once a click. Listings are made on the loading thread too.
bool isFirstFailure(const QString &path)
{
    static QMutex mutex;
    static QSet<QString> reported;
    QMutexLocker lock(&mutex);
    if (reported.contains(path))
        return false;
    reported.insert(path);
    return true;
}

} // namespace

AppListingPtr AppListing::fromPath(const QString &path, Workspace &workspace, bool invalid)
{
    auto listing = std::make_shared<AppListing>(Private{});
    listing->read(path, workspace);
    listing->m_invalid = invalid;
    return listing;
}

AppListingPtr AppListing::fromDesktopApplication(const DesktopApplication &app,
                                                 const DesktopEntries &entries, bool withLanguages)
{
    auto listing = std::make_shared<AppListing>(Private{});
    listing->m_path = app.path;
    listing->m_name = app.name;
    listing->m_identifier = app.id;
    listing->m_localizedName = app.name;
    listing->m_iconFile = IconTheme::iconFile(app.icon, entries.dataFolders());
    DesktopApplication desktop = app;
    if (withLanguages) {
        const Translations::Found found = Translations::find(app, entries.setup());
        desktop.chromium = found.chromium;
        desktop.untranslatedLanguage = found.untranslated;
        listing->m_langs = LanguageList::sortedByDisplayName(found.codes);
        listing->m_desktopSetting = DesktopLanguageSetting::find(
            desktop, entries, QProcessEnvironment::systemEnvironment());
    }
    listing->m_desktop = std::move(desktop);
    return listing;
}

AppListingPtr AppListing::reread(const AppListing &listing, const DesktopEntries &entries)
{
    if (const auto app = entries.application(listing.identifier()))
        return fromDesktopApplication(*app, entries, true);
    auto gone = std::make_shared<AppListing>(Private{});
    gone->m_path = listing.m_path;
    gone->m_name = listing.m_name;
    gone->m_identifier = listing.m_identifier;
    gone->m_localizedName = listing.m_localizedName;
    gone->m_iconFile = listing.m_iconFile;
    gone->m_desktop = listing.m_desktop;
    return gone;
}

AppListingPtr AppListing::fromIdentifier(const QString &identifier, Workspace &workspace)
{
    return fromPath(workspace.absolutePathForAppBundleWithIdentifier(identifier), workspace);
}

void AppListing::read(const QString &path, Workspace &workspace)
{
    m_path = path;
    // Only the last extension goes ("Foo.Bar.app" -> "Foo.Bar"); a leading dot is no extension.
    const QString fileName = QFileInfo(QDir::cleanPath(path)).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    m_name = dot > 0 ? fileName.left(dot) : fileName;
    if (!QDir::isAbsolutePath(path))
        return;

    if (const auto bundle = Bundle::bundleWithPath(path)) {
        // The path the bundle registry keeps too, one copy for both.
        if (bundle->bundlePath() == path)
            m_path = bundle->bundlePath();
        // As read now: disabled resources moved back below show at the next reading.
        QStringList localizations = bundle->localizations();
        localizations.sort();
        m_localizations = shared(localizations);
        m_declaredLocalizations =
            bundle->infoDictionary().value(QStringLiteral("CFBundleLocalizations"));
        const QString iconFile =
            bundle->infoDictionary().value(QStringLiteral("CFBundleIconFile")).toString();
        const QString resources = bundle->resourcePath();
        if (!resources.isEmpty() && !iconFile.isEmpty()) {
            QString iconPath = resources + QLatin1Char('/') + iconFile;
            if (QFileInfo(iconPath).suffix().isEmpty())
                iconPath += QStringLiteral(".icns");
            // The icon is the bundle's own, by its name and by where links lead; a declared
            // icon that is not there would draw as nothing at all.
            iconPath = QDir::cleanPath(iconPath);
            if (iconPath.startsWith(resources + QLatin1Char('/')) && bundle->containsFile(iconPath))
                m_iconFile = shared(iconPath.mid(bundle->bundlePath().size() + 1));
        }
        m_identifier = bundle->bundleIdentifier();
        if (!m_identifier.isEmpty())
            workspace.rememberApplication(path, m_identifier);
    }

    if (!restoreDisabledResources(path) && isFirstFailure(path))
        qWarning().noquote() << QStringLiteral(
                                    "Error: could not reset disabled language resources for %1.")
                                    .arg(m_name);
}

QStringList AppListing::langs() const
{
    // A desktop application's languages are found, and sorted, when its listing is made.
    if (m_desktop)
        return m_langs;
    // Sorting by display name asks the locale data for every name: only the listings a user
    // selects need it.
    std::call_once(m_langsMade, [this] {
        m_langs = LanguageList::sortedByDisplayName(
            LanguageList::languages(m_localizations, m_declaredLocalizations));
    });
    return m_langs;
}

QString AppListing::iconPath() const
{
    if (m_iconFile.isEmpty() || QDir::isAbsolutePath(m_iconFile))
        return m_iconFile;
    return m_path + QLatin1Char('/') + m_iconFile;
}

QString AppListing::localizedAppName() const
{
    if (!m_localizedName) {
        QString name;
        // The listing's own bundle, which is the one found by identifier unless several copies
        // of one application are installed; then each copy shows its own name.
        if (!m_identifier.isEmpty()) {
            if (const auto bundle = Bundle::bundleWithPath(m_path))
                name = bundle->localizedInfoDictionary()
                           .value(QStringLiteral("CFBundleName"))
                           .toString();
        }
        m_localizedName = name;
    }
    return m_localizedName->isEmpty() ? m_name : *m_localizedName;
}

QString AppListing::version() const
{
    const auto bundle = QDir::isAbsolutePath(m_path) ? Bundle::bundleWithPath(m_path) : nullptr;
    return bundle ? bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleVersion")).toString()
                  : QString();
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
    const QString contents = bundlePath + QStringLiteral("/Contents");
    const QString disabled = contents + QStringLiteral("/Resources Disabled");
    const QString resources = contents + QStringLiteral("/Resources");

    // Only a real folder holds disabled resources, in a Contents folder that is the bundle's own.
    // A file or a link of either name is left alone: deleting it would lose data, and following
    // a link would move files about elsewhere. Most bundles have none: that look comes first.
    if (DirectoryListing::kindOf(disabled) != DirectoryListing::Kind::Folder ||
        DirectoryListing::kindOf(contents) != DirectoryListing::Kind::Folder)
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

#include "AppListing.h"

#include "Bundle.h"
#include "DirectoryListing.h"
#include "FileOps.h"
#include "Workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace {

const QString kTestedKey = QStringLiteral("testedForAutoLang");
const QString kHasKey = QStringLiteral("hasAutoLang");
const QString kAutoLangKey = QStringLiteral("autoLang");

} // namespace

AppListing::AppListing(std::shared_ptr<const Platform> platform) : m_platform(std::move(platform))
{
}

AppListing::~AppListing() = default;

AppListingPtr AppListing::initWithPath(const QString &path,
                                       std::shared_ptr<const Platform> platform)
{
    AppListingPtr listing(new AppListing(std::move(platform)));
    listing->readBundle(path);
    return listing;
}

AppListingPtr AppListing::initWithIdentifier(const QString &identifier,
                                             std::shared_ptr<const Platform> platform)
{
    const QString path = platform->workspace->absolutePathForAppBundleWithIdentifier(identifier);
    AppListingPtr listing(new AppListing(std::move(platform)));
    listing->readBundle(path);
    return listing;
}

void AppListing::setPathAndName(const QString &path)
{
    m_path = path;
    // Only the last extension goes ("Foo.Bar.app" -> "Foo.Bar"); a leading dot is no extension.
    const QString fileName = QFileInfo(QDir::cleanPath(path)).fileName();
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    m_name = dot > 0 ? fileName.left(dot) : fileName;
}

void AppListing::readBundle(const QString &path)
{
    setPathAndName(path);
    if (!QDir::isAbsolutePath(path)) {
        m_icon = m_platform->workspace->iconForFile(path);
        return;
    }

    m_bundle = Bundle::bundleWithPath(path);
    if (m_bundle) {
        m_langs = m_bundle->localizations();
        const QString iconFile =
            m_bundle->infoDictionary().value(QStringLiteral("CFBundleIconFile")).toString();
        if (!m_bundle->resourcePath().isEmpty() && !iconFile.isEmpty()) {
            QString iconPath = m_bundle->resourcePath() + QLatin1Char('/') + iconFile;
            if (QFileInfo(iconPath).suffix().isEmpty())
                iconPath += QStringLiteral(".icns");
            // The icon is the bundle's own; a declared icon that is not there would draw as
            // nothing at all.
            const bool inBundle =
                QDir::cleanPath(iconPath).startsWith(m_bundle->resourcePath() + QLatin1Char('/'));
            if (inBundle && QFileInfo::exists(iconPath))
                m_icon = std::make_shared<IconImage>(iconPath);
        }
        m_identifier = m_bundle->bundleIdentifier();
        if (!m_identifier.isEmpty())
            m_platform->workspace->rememberApplication(path, m_identifier);
    }
    if (!m_icon)
        m_icon = m_platform->workspace->iconForFile(path);
    m_invalid = false;

    if (!resetResourcesDisabled())
        qWarning().noquote() << QStringLiteral(
                                    "Error: could not reset disabled language resources for %1.")
                                    .arg(m_name);
}

bool AppListing::resetResourcesDisabled()
{
    if (m_path.isEmpty())
        return true;
    const QString contents = m_path + QStringLiteral("/Contents");
    const QString disabled = contents + QStringLiteral("/Resources Disabled");
    const QString resources = contents + QStringLiteral("/Resources");

    // Only a real folder holds disabled resources. A file or a link of that name is left alone:
    // deleting it would lose data, and following a link would move files in from elsewhere.
    if (DirectoryListing::kindOf(disabled) != DirectoryListing::Kind::Folder)
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

QString AppListing::version() const
{
    if (!m_versionRead) {
        m_versionRead = true;
        if (m_bundle)
            m_version =
                m_bundle->objectForInfoDictionaryKey(QStringLiteral("CFBundleVersion")).toString();
    }
    return m_version;
}

void AppListing::setVersion(const QString &version)
{
    m_version = version;
    m_versionRead = true;
}

QString AppListing::localizedAppName() const
{
    if (!m_localizedNameRead) {
        m_localizedNameRead = true;
        // The listing's own bundle, which is the one found by identifier unless several copies
        // of one application are installed; then each copy shows its own name.
        if (m_bundle && !m_identifier.isEmpty())
            m_localizedName = m_bundle->localizedInfoDictionary()
                                  .value(QStringLiteral("CFBundleName"))
                                  .toString();
    }
    return m_localizedName.isEmpty() ? m_name : m_localizedName;
}

bool AppListing::isEqualToListing(const AppListing &other) const
{
    if (this == &other)
        return true;
    return !m_identifier.isEmpty() && m_identifier == other.m_identifier;
}

AppListingPtr AppListing::copy()
{
    AppListingPtr copy = initWithPath(m_path, m_platform);
    copy->m_observer = shared_from_this();
    return copy;
}

void AppListing::setAutoLang(const QString &autoLang)
{
    m_autoLang = autoLang;
    tellObserver(kAutoLangKey);
}

void AppListing::setHasAutoLang(bool hasAutoLang)
{
    m_hasAutoLang = hasAutoLang;
    tellObserver(kHasKey);
}

void AppListing::setTestedForAutoLang(bool tested)
{
    m_testedForAutoLang = tested;
    // Observers hear of every call, also when the value stays the same.
    tellObserver(kTestedKey);
}

void AppListing::tellObserver(const QString &keyPath) const
{
    if (m_observer)
        m_observer->observeValueForKeyPath(keyPath, *this);
}

void AppListing::observeValueForKeyPath(const QString &keyPath, const AppListing &copy)
{
    if (keyPath == kTestedKey)
        setTestedForAutoLang(copy.testedForAutoLang());
    else if (keyPath == kHasKey)
        setHasAutoLang(copy.hasAutoLang());
    else if (keyPath == kAutoLangKey)
        setAutoLang(copy.autoLang());
}

#include "platform/bundle/Bundle.h"

#include "platform/bundle/StringsTable.h"
#include "platform/files/DirectoryListing.h"
#include "platform/locale/LanguageNames.h"
#include "platform/locale/LocalizationMatch.h"
#include "platform/preferences/PropertyList.h"
#include "platform/text/BoundedName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace {

// Info.plist and InfoPlist.strings are small; anything far larger is not a real one.
constexpr qint64 kMaxMetadataFileSize = 16 * 1024 * 1024;

const QString kLprojSuffix = QStringLiteral(".lproj");

// Reads a small regular file; a FIFO, device or oversized file could block or flood us.
std::optional<QByteArray> readSmallFile(const QString &path)
{
    return DirectoryListing::readRegularFile(path, kMaxMetadataFileSize);
}

QString stringValue(const QVariantMap &map, const QString &key)
{
    const QVariant value = map.value(key);
    return value.metaType().id() == QMetaType::QString ? value.toString() : QString();
}

// Base.lproj holds the interface before translation: it is no language a user can prefer.
bool isBase(const QString &localization)
{
    return localization.compare(QLatin1String("Base"), Qt::CaseInsensitive) == 0;
}

bool isConfinedRelativePath(const QString &name)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name) || name.startsWith(QLatin1Char('/')))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'));
    return !parts.contains(QStringLiteral(".."));
}

} // namespace

std::shared_ptr<const Bundle> Bundle::bundleWithPath(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    const QFileInfo info(path);
    if (!info.isDir())
        return nullptr;
    return std::make_shared<const Bundle>(QDir::cleanPath(info.absoluteFilePath()));
}

Bundle::Bundle(QString path) : m_path(std::move(path))
{
    read();
}

void Bundle::read()
{
    const QString contents = m_path + QStringLiteral("/Contents");

    if (const auto bytes = readSmallFile(contents + QStringLiteral("/Info.plist"))) {
        const std::optional<QVariant> root = PropertyList::parse(*bytes);
        if (root && root->metaType().id() == QMetaType::QVariantMap)
            m_info = root->toMap();
    }

    const QString resources = contents + QStringLiteral("/Resources");
    bool readable = false;
    const QStringList folders = DirectoryListing::folders(resources, &readable);
    if (!readable)
        return;
    m_resourcePath = resources;

    for (const QString &entry : folders) {
        if (!entry.endsWith(kLprojSuffix, Qt::CaseSensitive))
            continue;
        const QString name = entry.chopped(kLprojSuffix.size());
        if (!name.isEmpty())
            m_localizations.append(name);
    }
}

QString Bundle::bundleIdentifier() const
{
    return stringValue(m_info, QStringLiteral("CFBundleIdentifier"));
}

QString Bundle::executableName() const
{
    return stringValue(m_info, QStringLiteral("CFBundleExecutable"));
}

QString Bundle::executablePath(const QString &bundlePath, const QString &name)
{
    if (!isConfinedRelativePath(name))
        return {};
    const QString macOS = bundlePath + QStringLiteral("/Contents/MacOS");
    const QString candidate = QDir::cleanPath(macOS + QLatin1Char('/') + name);

    // Links are followed before deciding: the file that would really run must lie inside the
    // bundle's own MacOS folder, which itself must not lead elsewhere.
    const QString realBundle = DirectoryListing::canonicalPath(bundlePath);
    const QString realMacOS = DirectoryListing::canonicalPath(macOS);
    const QString realCandidate = DirectoryListing::canonicalPath(candidate);
    if (realBundle.isEmpty() || realCandidate.isEmpty() ||
        realMacOS != realBundle + QStringLiteral("/Contents/MacOS"))
        return {};
    if (!realCandidate.startsWith(realMacOS + QLatin1Char('/')))
        return {};
    if (!QFileInfo(realCandidate).isFile())
        return {};
    return candidate;
}

bool Bundle::containsFile(const QString &path) const
{
    if (!path.startsWith(m_path + QLatin1Char('/')))
        return false;
    // Most bundles hold no links: a look at each step below the bundle's folder tells.
    QString step = m_path;
    bool linked = false;
    for (const QString &part : path.mid(m_path.size() + 1).split(QLatin1Char('/'))) {
        step += QLatin1Char('/') + part;
        const DirectoryListing::Kind kind = DirectoryListing::kindOf(step);
        if (kind == DirectoryListing::Kind::Missing)
            return false;
        if (kind == DirectoryListing::Kind::Link) {
            linked = true;
            break;
        }
    }
    if (!linked)
        return true;
    const QString real = DirectoryListing::canonicalPath(path);
    const QString realBundle = DirectoryListing::canonicalPath(m_path);
    return !real.isEmpty() && !realBundle.isEmpty() &&
           real.startsWith(realBundle + QLatin1Char('/'));
}

QString Bundle::preferredLocalization(const QStringList &preferredLanguages) const
{
    QStringList languages;
    for (const QString &localization : m_localizations) {
        if (!isBase(localization))
            languages.append(localization);
    }
    if (languages.isEmpty())
        return m_localizations.isEmpty() ? QString() : m_localizations.first();
    const QString development = stringValue(m_info, QStringLiteral("CFBundleDevelopmentRegion"));
    for (const QStringList &wanted :
         {preferredLanguages, QStringList{development}, QStringList{QStringLiteral("en")}}) {
        const QString match = LocalizationMatch::firstMatch(languages, wanted);
        if (!match.isEmpty())
            return match;
    }
    // Folders come in the file system's order; name order keeps the choice the same everywhere.
    return *std::min_element(languages.cbegin(), languages.cend());
}

QVariantMap Bundle::localizedInfoDictionary(const QStringList &preferredLanguages) const
{
    const QString localization = preferredLocalization(preferredLanguages);
    if (localization.isEmpty())
        return {};
    const auto bytes = readSmallFile(m_resourcePath + QLatin1Char('/') + localization +
                                     kLprojSuffix + QStringLiteral("/InfoPlist.strings"));
    if (!bytes)
        return {};
    const auto table = StringsTable::parse(*bytes);
    if (!table)
        return {};
    QVariantMap map;
    for (auto it = table->cbegin(); it != table->cend(); ++it)
        map.insert(it.key(), it.value());
    // The names shown for the application, bounded as they are read.
    for (const QString &key :
         {QStringLiteral("CFBundleName"), QStringLiteral("CFBundleDisplayName")}) {
        const auto name = map.find(key);
        if (name != map.end())
            *name = BoundedName::bounded(name->toString());
    }
    return map;
}

QVariantMap Bundle::localizedInfoDictionary() const
{
    return localizedInfoDictionary(LanguageNames::preferredLanguages());
}

QVariant Bundle::objectForInfoDictionaryKey(const QString &key,
                                            const QStringList &preferredLanguages) const
{
    const QVariantMap localized = localizedInfoDictionary(preferredLanguages);
    const auto it = localized.constFind(key);
    if (it != localized.cend())
        return it.value();
    return m_info.value(key);
}

QVariant Bundle::objectForInfoDictionaryKey(const QString &key) const
{
    return objectForInfoDictionaryKey(key, LanguageNames::preferredLanguages());
}

QString Bundle::pathForResource(const QString &name, const QString &type) const
{
    return pathForResource(name, type, LanguageNames::preferredLanguages());
}

QString Bundle::pathForResource(const QString &name, const QString &type,
                                const QStringList &preferredLanguages) const
{
    if (m_resourcePath.isEmpty())
        return {};
    QString file = name;
    if (!type.isEmpty())
        file += type.startsWith(QLatin1Char('.')) ? type : QLatin1Char('.') + type;
    // A resource name never leads out of the resource folder.
    if (!isConfinedRelativePath(file))
        return {};

    const QString plain = m_resourcePath + QLatin1Char('/') + file;
    if (QFileInfo::exists(plain))
        return plain;
    const QString localization = preferredLocalization(preferredLanguages);
    if (localization.isEmpty())
        return {};
    const QString localized =
        m_resourcePath + QLatin1Char('/') + localization + kLprojSuffix + QLatin1Char('/') + file;
    return QFileInfo::exists(localized) ? localized : QString();
}

#include "Workspace.h"

#include "Bundle.h"
#include "DirectoryListing.h"
#include "FileOps.h"
#include "PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QString kExecutableIconName = QStringLiteral("application-x-executable.png");

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

// The theme PNGs of the executable icon, largest first. Theme folders are laid out as
// <theme>/<size>x<size>[@scale]/<context>/<name>.png.
QStringList executableIconCandidates()
{
    static const QRegularExpression sizeFolder(QStringLiteral("^(\\d+)x(\\d+)(@\\d+)?$"));
    QList<QPair<int, QString>> found;
    const QStringList iconRoots =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                  QStandardPaths::LocateDirectory);
    for (const QString &root : iconRoots) {
        const QDir rootDir(root);
        for (const QString &theme :
             rootDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const QDir themeDir(rootDir.filePath(theme));
            for (const QString &size :
                 themeDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
                const QRegularExpressionMatch match = sizeFolder.match(size);
                if (!match.hasMatch())
                    continue;
                const QDir sizeDir(themeDir.filePath(size));
                for (const QString &context :
                     sizeDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
                    const QString file =
                        sizeDir.filePath(context + QLatin1Char('/') + kExecutableIconName);
                    if (QFileInfo(file).isFile())
                        found.append({match.captured(1).toInt(), file});
                }
            }
        }
    }
    // Stable, so that among equal sizes the earlier data folder and theme win.
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList paths;
    for (const auto &entry : found)
        paths.append(entry.second);
    return paths;
}

// A plain application window with a diamond on it, for systems without an icon theme.
QImage drawnApplicationIcon()
{
    constexpr int side = 128;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF frame(10.5, 18.5, 107, 92);
    QLinearGradient body(frame.topLeft(), frame.bottomLeft());
    body.setColorAt(0, QColor(0xf4, 0xf5, 0xf7));
    body.setColorAt(1, QColor(0xd3, 0xd7, 0xdd));
    p.setPen(QPen(QColor(0x5a, 0x63, 0x70), 3));
    p.setBrush(body);
    p.drawRoundedRect(frame, 10, 10);

    // Title bar, clipped to the frame's rounded top.
    QPainterPath clip;
    clip.addRoundedRect(frame, 10, 10);
    p.save();
    p.setClipPath(clip);
    p.setPen(Qt::NoPen);
    QLinearGradient bar(frame.topLeft(), frame.topLeft() + QPointF(0, 20));
    bar.setColorAt(0, QColor(0x6c, 0x8e, 0xbf));
    bar.setColorAt(1, QColor(0x3d, 0x64, 0x9a));
    p.setBrush(bar);
    p.drawRect(QRectF(frame.left(), frame.top(), frame.width(), 20));
    p.restore();
    p.setPen(QPen(QColor(0x5a, 0x63, 0x70), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 10, 10);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(frame.left() + 12 + i * 11, frame.top() + 10), 3.5, 3.5);

    // The mark in the middle: a faceted diamond.
    const QPointF centre(64, 74);
    const qreal r = 24;
    const QPointF top(centre.x(), centre.y() - r), right(centre.x() + r, centre.y()),
        bottom(centre.x(), centre.y() + r), left(centre.x() - r, centre.y());
    p.setBrush(QColor(0x4a, 0x90, 0xd9));
    p.drawPolygon(QPolygonF({top, right, centre, left}));
    p.setBrush(QColor(0x2f, 0x6d, 0xb5));
    p.drawPolygon(QPolygonF({left, centre, right, bottom}));
    p.setPen(QPen(QColor(0x25, 0x4f, 0x82), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF({top, right, bottom, left}));
    p.end();
    return image;
}

QImage genericApplicationImage()
{
    for (const QString &candidate : executableIconCandidates()) {
        QImageReader reader(candidate);
        const QImage image = reader.read();
        if (!image.isNull())
            return image;
    }
    return drawnApplicationIcon();
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

QString Workspace::rememberedPath(const QString &identifier) const
{
    if (!m_registryLoaded) {
        m_registry = registryEntries(parseRegistry(FileOps::readAll(m_registryFile)));
        m_registryLoaded = true;
    }
    const QString remembered = m_registry.value(identifier);
    if (remembered.isEmpty())
        return {};
    // The bundle may have been replaced or deleted since it was remembered.
    const auto bundle = Bundle::bundleWithPath(remembered);
    if (bundle && bundle->bundleIdentifier() == identifier)
        return remembered;
    return {};
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
    const QString path = QDir::cleanPath(QFileInfo(bundlePath).absoluteFilePath());
    if (isInApplicationsDirectory(path))
        return;
    const auto bundle = Bundle::bundleWithPath(path);
    if (bundle)
        rememberApplication(path, bundle->bundleIdentifier());
}

bool Workspace::isInApplicationsDirectory(const QString &path) const
{
    const QString parent = QFileInfo(path).absolutePath();
    {
        QMutexLocker lock(&m_mutex);
        if (m_canonicalApplicationsDirectory.isEmpty())
            m_canonicalApplicationsDirectory = canonicalDirectory(m_applicationsDirectory);
        // Listings of the folder come with resolved paths: most answers need no file system.
        if (parent == m_canonicalApplicationsDirectory ||
            parent == QDir::cleanPath(m_applicationsDirectory))
            return true;
    }
    return canonicalDirectory(parent) == canonicalDirectory(m_applicationsDirectory);
}

void Workspace::rememberApplication(const QString &bundlePath, const QString &identifier)
{
    if (bundlePath.isEmpty() || identifier.isEmpty())
        return;
    const QString path = QDir::cleanPath(QFileInfo(bundlePath).absoluteFilePath());
    // The folder scan finds these anyway.
    if (isInApplicationsDirectory(path))
        return;

    QMutexLocker lock(&m_mutex);
    if (!m_registryLoaded) {
        m_registry = registryEntries(parseRegistry(FileOps::readAll(m_registryFile)));
        m_registryLoaded = true;
    }
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

IconImagePtr Workspace::iconForFile(const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    if (!m_genericIcon)
        m_genericIcon = std::make_shared<IconImage>(genericApplicationImage());
    return m_genericIcon;
}

#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <mutex>

class PlistValue;

// An application bundle: a folder X.app with Contents/Info.plist (XML or binary),
// Contents/Resources/<lang>.lproj localisation folders and Contents/MacOS/<executable>.
// Everything is read when the bundle is opened; a Bundle never changes afterwards, so it can be
// shared between threads.
class Bundle {
public:
    // nullptr when nothing readable as a folder exists at the path. A folder without an
    // Info.plist still opens: it has no Info values, no identifier and no executable.
    static std::shared_ptr<const Bundle> bundleWithPath(const QString &path);

    QString bundlePath() const { return m_path; }
    // The plain Info dictionary; empty when Info.plist is missing or unreadable.
    QVariantMap infoDictionary() const;
    // One value of it, without converting the others; invalid when absent.
    QVariant infoValue(const QString &key) const;
    // CFBundleIdentifier; empty when the bundle declares none.
    QString bundleIdentifier() const;
    // Localisation folder names without ".lproj", Base included, in directory order.
    QStringList localizations() const { return m_localizations; }
    // Contents/Resources; empty when the bundle has no resource folder.
    QString resourcePath() const { return m_resourcePath; }
    // CFBundleExecutable: the name of its program in Contents/MacOS, as declared.
    QString executableName() const;
    // The file `name` in the Contents/MacOS folder of the bundle at `bundlePath`. Empty when
    // missing, not a file, or when the name (or a link) leads outside Contents/MacOS.
    static QString executablePath(const QString &bundlePath, const QString &name);

    // The localisation the user's preferred languages choose among this bundle's, each language
    // tried with its parents (LocalizationMatch); falls back to the development region, then
    // English, then the first in name order. Base is chosen only when it is all there is. Empty
    // when the bundle has no localisation.
    QString preferredLocalization(const QStringList &preferredLanguages) const;
    // InfoPlist.strings of the preferred localisation (empty map when there is none).
    QVariantMap localizedInfoDictionary(const QStringList &preferredLanguages) const;
    QVariantMap localizedInfoDictionary() const;
    // A localised value wins over the plain Info value.
    QVariant objectForInfoDictionaryKey(const QString &key,
                                        const QStringList &preferredLanguages) const;
    QVariant objectForInfoDictionaryKey(const QString &key) const;

    // The icon file CFBundleIconFile names in Resources (".icns" added when it has no
    // extension), when it is there and neither its name nor a link leads out of the bundle;
    // empty otherwise.
    QString iconPath() const { return m_iconPath; }

    // Whether `path` (a clean absolute path below the bundle's folder) is there and lies inside
    // the bundle, every link on the way resolved.
    bool containsFile(const QString &path) const;

    // Resources/<name>.<type>, else Resources/<preferred lproj>/<name>.<type>; empty if absent.
    QString pathForResource(const QString &name, const QString &type) const;
    QString pathForResource(const QString &name, const QString &type,
                            const QStringList &preferredLanguages) const;

    explicit Bundle(QString path); // use bundleWithPath()
    ~Bundle();

private:
    // False when nothing at the path is a folder.
    bool read();
    QString stringValue(const QString &key) const;

    QString m_path;
    QString m_resourcePath;
    QString m_iconPath;
    // Info.plist as read; most readers want a few of its values, not all of them converted.
    std::unique_ptr<const PlistValue> m_infoValue;
    mutable std::once_flag m_infoConverted;
    mutable QVariantMap m_info;
    QStringList m_localizations;
    bool m_isFolder = false;
};

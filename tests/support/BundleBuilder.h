#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Writes an application bundle for a test:
//   BundleBuilder(dir + "/Foo.app").identifier("org.example.Foo").languages({"en", "fr"}).write();
class BundleBuilder {
public:
    explicit BundleBuilder(QString bundlePath);

    BundleBuilder &identifier(const QString &identifier);
    BundleBuilder &info(const QString &key, const QVariant &value);
    BundleBuilder &noInfoPlist();
    BundleBuilder &binaryInfoPlist();
    // Empty Resources/<lang>.lproj folders.
    BundleBuilder &languages(const QStringList &languages);
    // Resources/<lang>.lproj/InfoPlist.strings in UTF-8 text form, with these pairs.
    BundleBuilder &localizedInfo(const QString &language, const QVariantMap &pairs);
    // Any file below Contents (e.g. "Resources/AppIcon.icns", "Resources Disabled/fr.lproj/x").
    BundleBuilder &file(const QString &relativePath, const QByteArray &contents = QByteArray());
    // Contents/MacOS/<name>, executable; the sample application when `sourceExecutable` is empty.
    BundleBuilder &executable(const QString &name, const QString &sourceExecutable = QString());

    // Writes the bundle and returns its path.
    QString write();

    // The binary form of an XML property list, as the system's own library writes it.
    static QByteArray binaryPlist(const QByteArray &xml);
    // An .icns file written entry by entry, each image stored as PNG under its type ("ic10"
    // for 1024 pixels): png2icns stores sizes from 256 up as JPEG 2000, which Qt cannot read.
    static QByteArray icnsWithPngEntries(const QList<QPair<QByteArray, QImage>> &entries);
    // A square image of `side` pixels in one colour.
    static QImage square(int side, const QColor &color);
    // The usual entries of an application icon, 16 to `largest` pixels, each one colour.
    static QByteArray icnsUpTo(int largest, const QString &colorName);

private:
    QString m_path;
    QVariantMap m_info;
    bool m_writeInfo = true;
    bool m_binary = false;
    QStringList m_languages;
    QList<QPair<QString, QVariantMap>> m_localizedInfo;
    QList<QPair<QString, QByteArray>> m_files;
    QString m_executable;
    QString m_executableSource;
};

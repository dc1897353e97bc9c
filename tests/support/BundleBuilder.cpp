#include "BundleBuilder.h"

#include "platform/preferences/PropertyList.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>
#include <plist/plist.h>

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(contents);
}

QString quoted(QString s)
{
    s.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

BundleBuilder::BundleBuilder(QString bundlePath) : m_path(std::move(bundlePath)) {}

BundleBuilder &BundleBuilder::identifier(const QString &identifier)
{
    return info(QStringLiteral("CFBundleIdentifier"), identifier);
}

BundleBuilder &BundleBuilder::info(const QString &key, const QVariant &value)
{
    m_info.insert(key, value);
    return *this;
}

BundleBuilder &BundleBuilder::noInfoPlist()
{
    m_writeInfo = false;
    return *this;
}

BundleBuilder &BundleBuilder::binaryInfoPlist()
{
    m_binary = true;
    return *this;
}

BundleBuilder &BundleBuilder::languages(const QStringList &languages)
{
    m_languages += languages;
    return *this;
}

BundleBuilder &BundleBuilder::localizedInfo(const QString &language, const QVariantMap &pairs)
{
    m_localizedInfo.append({language, pairs});
    return *this;
}

BundleBuilder &BundleBuilder::file(const QString &relativePath, const QByteArray &contents)
{
    m_files.append({relativePath, contents});
    return *this;
}

BundleBuilder &BundleBuilder::executable(const QString &name, const QString &sourceExecutable)
{
    m_executable = name;
    m_executableSource = sourceExecutable.isEmpty() ? QStringLiteral(VEXILO_TEST_SAMPLE_EXECUTABLE)
                                                    : sourceExecutable;
    return info(QStringLiteral("CFBundleExecutable"), name);
}

QString BundleBuilder::write()
{
    const QString contents = m_path + QStringLiteral("/Contents");
    QDir().mkpath(contents);
    if (m_writeInfo) {
        const QByteArray xml = PropertyList::toXml(m_info);
        writeFile(contents + QStringLiteral("/Info.plist"), m_binary ? binaryPlist(xml) : xml);
    }
    for (const QString &lang : m_languages)
        QDir().mkpath(contents + QStringLiteral("/Resources/") + lang + QStringLiteral(".lproj"));
    for (const auto &[lang, pairs] : m_localizedInfo) {
        QString text;
        for (auto it = pairs.begin(); it != pairs.end(); ++it)
            text += quoted(it.key()) + QStringLiteral(" = ") + quoted(it.value().toString()) +
                    QStringLiteral(";\n");
        writeFile(contents + QStringLiteral("/Resources/") + lang +
                      QStringLiteral(".lproj/InfoPlist.strings"),
                  text.toUtf8());
    }
    for (const auto &[relative, bytes] : m_files) {
        if (relative.endsWith(QLatin1Char('/')))
            QDir().mkpath(contents + QLatin1Char('/') + relative);
        else
            writeFile(contents + QLatin1Char('/') + relative, bytes);
    }
    if (!m_executable.isEmpty()) {
        const QString target = contents + QStringLiteral("/MacOS/") + m_executable;
        QDir().mkpath(contents + QStringLiteral("/MacOS"));
        QFile::remove(target);
        QFile::copy(m_executableSource, target);
        QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeUser);
    }
    return m_path;
}

QByteArray BundleBuilder::binaryPlist(const QByteArray &xml)
{
    plist_t root = nullptr;
    plist_from_xml(xml.constData(), uint32_t(xml.size()), &root);
    char *bin = nullptr;
    uint32_t length = 0;
    if (root)
        plist_to_bin(root, &bin, &length);
    const QByteArray out(bin, qsizetype(length));
    free(bin);
    plist_free(root);
    return out;
}

QByteArray BundleBuilder::icnsWithPngEntries(const QList<QPair<QByteArray, QImage>> &entries)
{
    const auto bigEndian = [](quint32 value) {
        char bytes[4];
        qToBigEndian(value, bytes);
        return QByteArray(bytes, 4);
    };
    QByteArray body;
    for (const auto &[type, image] : entries) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        body += type.left(4) + bigEndian(quint32(8 + png.size())) + png;
    }
    return "icns" + bigEndian(quint32(8 + body.size())) + body;
}

QImage BundleBuilder::square(int side, const QColor &color)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QByteArray BundleBuilder::icnsUpTo(int largest, const QString &colorName)
{
    static const QList<QPair<QByteArray, int>> types{{"icp4", 16},  {"icp5", 32},  {"icp6", 64},
                                                     {"ic07", 128}, {"ic08", 256}, {"ic09", 512},
                                                     {"ic10", 1024}};
    QList<QPair<QByteArray, QImage>> entries;
    for (const auto &[type, size] : types) {
        if (size > largest)
            break;
        entries.append({type, square(size, QColor(colorName))});
    }
    return icnsWithPngEntries(entries);
}

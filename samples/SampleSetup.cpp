#include "SampleSetup.h"

#include "platform/bundle/Bundle.h"
#include "platform/bundle/StringsTable.h"
#include "platform/preferences/PreferencesStore.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QVariant>

namespace {

const QString kLanguagesKey = QStringLiteral("AppleLanguages");

// A .strings file of the chosen localisation; empty when missing, oversized or unreadable.
QHash<QString, QString> readTable(const QString &path)
{
    // Real string tables are small; a huge file is not one and is not read into memory.
    constexpr qint64 kMaxTableSize = 4 * 1024 * 1024;
    QFile file(path);
    if (file.size() > kMaxTableSize || !file.open(QIODevice::ReadOnly))
        return {};
    return StringsTable::parse(file.readAll()).value_or(QHash<QString, QString>());
}

// One element of an old-style list: blanks and quotation marks around it are not part of it.
QString listElement(QString element)
{
    element = element.trimmed();
    if (element.size() >= 2 && element.startsWith(QLatin1Char('"')) &&
        element.endsWith(QLatin1Char('"')))
        element = element.mid(1, element.size() - 2).trimmed();
    return element;
}

QStringList storedLanguages(const PreferencesStore &store, const QString &identifier)
{
    if (!PreferencesStore::isValidDomain(identifier))
        return {};
    const std::optional<QVariant> value = store.value(identifier, kLanguagesKey);
    if (!value)
        return {};
    QStringList languages;
    if (value->typeId() == QMetaType::QString) {
        languages.append(value->toString());
    } else if (value->typeId() == QMetaType::QVariantList) {
        for (const QVariant &element : value->toList()) {
            if (element.typeId() == QMetaType::QString)
                languages.append(element.toString());
        }
    }
    languages.removeAll(QString());
    return languages;
}

QString nonEmpty(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}

} // namespace

namespace SampleSetup {

QString bundlePathForExecutable(const QString &executablePath)
{
    if (executablePath.isEmpty())
        return {};
    // Path arithmetic only: the answer depends on where the file lies, not on what exists.
    const QFileInfo macOS(QFileInfo(executablePath).absolutePath());
    const QFileInfo contents(macOS.path());
    const QFileInfo bundle(contents.path());
    if (macOS.fileName() != QLatin1String("MacOS") ||
        contents.fileName() != QLatin1String("Contents") ||
        !bundle.fileName().endsWith(QLatin1String(".app")) || bundle.fileName().size() <= 4)
        return {};
    return bundle.filePath();
}

QStringList languagesFromArguments(const QStringList &arguments)
{
    const qsizetype option = arguments.indexOf(QStringLiteral("-AppleLanguages"));
    if (option < 0 || option + 1 >= arguments.size())
        return {};
    QString value = arguments.at(option + 1).trimmed();
    if (value.startsWith(QLatin1Char('('))) {
        value.remove(0, 1);
        if (value.endsWith(QLatin1Char(')')))
            value.chop(1);
    }
    QStringList languages;
    for (const QString &element : value.split(QLatin1Char(','))) {
        const QString code = listElement(element);
        if (!code.isEmpty())
            languages.append(code);
    }
    return languages;
}

Texts resolve(const QString &bundlePath, const QStringList &arguments,
              const PreferencesStore &store, const QStringList &preferredLanguages)
{
    const std::shared_ptr<const Bundle> bundle =
        bundlePath.isEmpty() ? nullptr : Bundle::bundleWithPath(bundlePath);

    // The launch arguments replace the stored choice; the user's own languages come after
    // either, so a language the bundle lacks falls to the next one the user reads.
    QStringList wanted = languagesFromArguments(arguments);
    if (wanted.isEmpty() && bundle)
        wanted = storedLanguages(store, bundle->bundleIdentifier());
    wanted += preferredLanguages;
    wanted.removeDuplicates();

    Texts texts;
    QHash<QString, QString> strings;
    QHash<QString, QString> info;
    if (bundle) {
        texts.localization = bundle->preferredLocalization(wanted);
        if (!texts.localization.isEmpty() && !bundle->resourcePath().isEmpty()) {
            const QString lproj = bundle->resourcePath() + QLatin1Char('/') + texts.localization +
                                  QStringLiteral(".lproj/");
            strings = readTable(lproj + QStringLiteral("Localizable.strings"));
            info = readTable(lproj + QStringLiteral("InfoPlist.strings"));
        }
    }

    const QString plainName =
        bundle ? bundle->infoDictionary().value(QStringLiteral("CFBundleName")).toString()
               : QString();
    const QString folderName =
        bundlePath.isEmpty() ? QString() : QFileInfo(bundlePath).completeBaseName();
    texts.title = nonEmpty(info.value(QStringLiteral("CFBundleName")),
                           nonEmpty(plainName, nonEmpty(folderName, QStringLiteral("Sample"))));
    texts.greeting = nonEmpty(strings.value(QStringLiteral("Greeting")), QStringLiteral("Hello!"));
    if (texts.localization.isEmpty()) {
        texts.openedLine = QStringLiteral("Opened without a localisation");
    } else {
        QString line =
            nonEmpty(strings.value(QStringLiteral("Opened in %@")), QStringLiteral("Opened in %@"));
        texts.openedLine = line.replace(QLatin1String("%@"), texts.localization);
    }

    // The icon is looked up like any bundle's: a name without extension means .icns.
    QString iconFile =
        bundle ? bundle->infoDictionary().value(QStringLiteral("CFBundleIconFile")).toString()
               : QString();
    if (!iconFile.isEmpty() && !iconFile.contains(QLatin1Char('/')) &&
        !bundle->resourcePath().isEmpty()) {
        if (QFileInfo(iconFile).suffix().isEmpty())
            iconFile += QStringLiteral(".icns");
        const QString path = bundle->resourcePath() + QLatin1Char('/') + iconFile;
        if (QFileInfo(path).isFile())
            texts.iconPath = path;
    }
    return texts;
}

} // namespace SampleSetup

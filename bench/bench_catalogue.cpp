// Loading a catalogue of 1,000 generated bundles, against a floor in plain C++ that reads and
// parses each Info.plist with libplist and lists each Resources folder. Goal: at most 2x.
#include "Platform.h"
#include "PreferencesStore.h"
#include "PropertyList.h"
#include "UserDefaults.h"
#include "Workspace.h"
#include "catalogue/CatalogueLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <plist/plist.h>
#include <string>
#include <vector>

namespace {

constexpr int kBundles = 1000;
constexpr int kRounds = 7;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

void generate(const QString &folder)
{
    const QStringList langs{"en", "fr", "de", "es", "it", "ja", "zh_TW", "pt_BR"};
    const QByteArray icon(4096, 'i');
    for (int i = 0; i < kBundles; ++i) {
        const QString name = QStringLiteral("App%1").arg(i, 4, 10, QLatin1Char('0'));
        const QString contents = folder + QLatin1Char('/') + name + QStringLiteral(".app/Contents");
        QDir().mkpath(contents + QStringLiteral("/Resources"));
        QDir().mkpath(contents + QStringLiteral("/MacOS"));
        writeFile(contents + QStringLiteral("/Info.plist"),
                  PropertyList::toXml(QVariantMap{
                      {"CFBundleIdentifier", QStringLiteral("org.bench.") + name},
                      {"CFBundleName", name},
                      {"CFBundleExecutable", name},
                      {"CFBundleIconFile", QStringLiteral("AppIcon")},
                      {"CFBundleVersion", QStringLiteral("1.%1").arg(i)},
                      {"CFBundleShortVersionString", QStringLiteral("1.0")},
                      {"CFBundlePackageType", QStringLiteral("APPL")},
                  }));
        writeFile(contents + QStringLiteral("/Resources/AppIcon.icns"), icon);
        for (int l = 0; l < 1 + i % langs.size(); ++l) {
            const QString lproj =
                contents + QStringLiteral("/Resources/") + langs[l] + QStringLiteral(".lproj");
            QDir().mkpath(lproj);
            writeFile(lproj + QStringLiteral("/InfoPlist.strings"),
                      "\"CFBundleName\" = \"" + name.toUtf8() + "\";\n");
        }
    }
}

// What any catalogue must do at the least, without Qt: read and parse each Info.plist, list
// each Resources folder.
qint64 floorLoop(const QString &folderName, qsizetype &count)
{
    QElapsedTimer t;
    t.start();
    count = 0;
    const std::string folder = QFile::encodeName(folderName).toStdString();
    DIR *apps = opendir(folder.c_str());
    if (!apps)
        return t.nsecsElapsed();
    std::vector<char> buffer;
    while (const dirent *entry = readdir(apps)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string contents = folder + '/' + entry->d_name + "/Contents";
        if (FILE *info = std::fopen((contents + "/Info.plist").c_str(), "rb")) {
            buffer.resize(1 << 16);
            const size_t n = std::fread(buffer.data(), 1, buffer.size(), info);
            std::fclose(info);
            plist_t root = nullptr;
            plist_from_memory(buffer.data(), uint32_t(n), &root);
            if (root) {
                count += plist_dict_get_item(root, "CFBundleIdentifier") != nullptr;
                plist_free(root);
            }
        }
        if (DIR *resources = opendir((contents + "/Resources").c_str())) {
            while (readdir(resources))
                ++count;
            closedir(resources);
        }
    }
    closedir(apps);
    return t.nsecsElapsed();
}

qint64 median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/Applications");
    QDir().mkpath(folder);
    generate(folder);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QStringLiteral("/data")));

    Platform platform;
    platform.preferences =
        std::make_shared<PreferencesStore>(dir.path() + QStringLiteral("/prefs"));
    platform.workspace =
        std::make_shared<Workspace>(folder, dir.path() + QStringLiteral("/data/registry.plist"));
    UserDefaults defaults(platform.preferences, QStringLiteral("org.vexilo.Bench"));
    auto loadOnce = [&] { return CatalogueLoader::load(platform, defaults, {}); };

    std::vector<qint64> base, load;
    CatalogueLoader::Result catalogue;
    qsizetype sink = 0;
    floorLoop(folder, sink); // warm the file cache for both
    for (int round = 0; round < kRounds; ++round) {
        base.push_back(floorLoop(folder, sink));
        QElapsedTimer t;
        t.start();
        catalogue = loadOnce();
        load.push_back(t.nsecsElapsed());
    }
    const bool allLoaded = catalogue.allApps.size() == kBundles;

    const double ratio = double(median(load)) / double(median(base));
    std::printf("catalogue of %lld bundles: load %.1f ms, floor %.1f ms (median of %d)\n",
                static_cast<long long>(catalogue.allApps.size()), median(load) / 1e6,
                median(base) / 1e6, kRounds);
    std::printf("ratio %.2fx (goal <= 2x)\n", ratio);

    // Added applications are found by identifier; each lookup must not read the whole folder.
    QStringList added;
    for (int i = 0; i < 50; ++i)
        added.append(QStringLiteral("org.bench.App%1").arg(i * 20, 4, 10, QLatin1Char('0')));
    defaults.setObject(QStringLiteral("ExtraApps"), added);
    std::vector<qint64> withAdded;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        catalogue = loadOnce();
        withAdded.push_back(t.nsecsElapsed());
    }
    std::printf("with 50 added applications: load %.1f ms, %.2fx the floor\n",
                median(withAdded) / 1e6, double(median(withAdded)) / double(median(base)));
    // An application both in the folder and added is listed twice.
    const bool addedLoaded = catalogue.allApps.size() == kBundles + added.size();
    return allLoaded && addedLoaded && sink > 0 ? 0 : 1;
}

// Loading a catalogue of 1,000 generated bundles, against a minimal loop that reads each
// Info.plist and lists each Resources folder. Goal: at most 2x, and no icon decoded.
#include "IconImage.h"
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

// What any catalogue must do at the least: read each Info.plist, list each Resources folder.
qint64 baseline(const QString &folder, qsizetype &count)
{
    QElapsedTimer t;
    t.start();
    count = 0;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        QFile info(folder + QLatin1Char('/') + entry + QStringLiteral("/Contents/Info.plist"));
        if (info.open(QIODevice::ReadOnly))
            count += info.readAll().size() > 0;
        count += QDir(folder + QLatin1Char('/') + entry + QStringLiteral("/Contents/Resources"))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                     .size() > 0;
    }
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

    auto platform = std::make_shared<Platform>();
    platform->preferences =
        std::make_shared<PreferencesStore>(dir.path() + QStringLiteral("/prefs"));
    platform->workspace =
        std::make_shared<Workspace>(folder, dir.path() + QStringLiteral("/data/registry.plist"));
    const std::shared_ptr<const Platform> shared = platform;
    UserDefaults defaults(platform->preferences, QStringLiteral("org.vexilo.Bench"));

    std::vector<qint64> base, load;
    CatalogueLoader::Catalogue catalogue;
    qsizetype sink = 0;
    baseline(folder, sink); // warm the file cache for both
    for (int round = 0; round < kRounds; ++round) {
        base.push_back(baseline(folder, sink));
        QElapsedTimer t;
        t.start();
        catalogue = CatalogueLoader::load(shared, defaults, {[](double) {}, [](double) {}});
        load.push_back(t.nsecsElapsed());
    }
    int decoded = 0;
    for (const AppListingPtr &l : catalogue.allApps)
        decoded += l->icon() && l->icon()->isLoaded();

    const double ratio = double(median(load)) / double(median(base));
    std::printf("catalogue of %lld bundles: load %.1f ms, minimal loop %.1f ms (median of %d)\n",
                static_cast<long long>(catalogue.allApps.size()), median(load) / 1e6,
                median(base) / 1e6, kRounds);
    std::printf("ratio %.2fx (goal <= 2x); icons decoded during loading: %d (goal 0)\n", ratio,
                decoded);

    // Added applications are found by identifier; each lookup must not read the whole folder.
    QStringList added;
    for (int i = 0; i < 50; ++i)
        added.append(QStringLiteral("org.bench.App%1").arg(i * 20, 4, 10, QLatin1Char('0')));
    defaults.setObject(QStringLiteral("ExtraApps"), added);
    std::vector<qint64> withAdded;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        catalogue = CatalogueLoader::load(shared, defaults, {[](double) {}, [](double) {}});
        withAdded.push_back(t.nsecsElapsed());
    }
    std::printf("with 50 added applications: load %.1f ms, %.2fx the minimal loop\n",
                median(withAdded) / 1e6, double(median(withAdded)) / double(median(base)));
    return catalogue.allApps.size() == kBundles && decoded == 0 && sink > 0 ? 0 : 1;
}

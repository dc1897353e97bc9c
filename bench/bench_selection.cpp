// The probes of a first selection (the stored-language lookup through the preferences tool and
// the running-instance check), against starting and waiting for /bin/true in the same run.
// Goal: at most 4x.
#include "Platform.h"
#include "PreferencesStore.h"
#include "Processes.h"
#include "PropertyList.h"
#include "Workspace.h"
#include "catalogue/AppListing.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRounds = 40;

qint64 median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QStringLiteral("/data")));

    const QString folder = dir.path() + QStringLiteral("/Applications");
    const QString contents = folder + QStringLiteral("/Atlas.app/Contents");
    QDir().mkpath(contents + QStringLiteral("/MacOS"));
    for (const char *l : {"en", "fr", "de"})
        QDir().mkpath(contents + QStringLiteral("/Resources/") + QLatin1String(l) +
                      QStringLiteral(".lproj"));
    QFile info(contents + QStringLiteral("/Info.plist"));
    info.open(QIODevice::WriteOnly);
    info.write(
        PropertyList::toXml(QVariantMap{{"CFBundleIdentifier", QStringLiteral("org.bench.Atlas")},
                                        {"CFBundleExecutable", QStringLiteral("Atlas")}}));
    info.close();
    // The instance: a shell running a script, as many wrapped programs are; it accepts any
    // arguments, unlike sleep.
    QFile::copy(QStringLiteral("/bin/sh"), contents + QStringLiteral("/MacOS/Atlas"));
    QFile script(dir.path() + QStringLiteral("/wait.sh"));
    script.open(QIODevice::WriteOnly);
    script.write("sleep 60\n");
    script.close();

    auto platform = std::make_shared<Platform>();
    platform->preferences =
        std::make_shared<PreferencesStore>(PreferencesStore::defaultDirectory());
    platform->workspace =
        std::make_shared<Workspace>(folder, dir.path() + QStringLiteral("/data/r.plist"));
    platform->processes = std::make_shared<Processes>();
    platform->mainBundlePath = QStringLiteral(VEXILO_BENCH_BUNDLE);
    platform->preferences->setValue(QStringLiteral("org.bench.Atlas"),
                                    QStringLiteral("AppleLanguages"),
                                    QVariantList{QStringLiteral("fr")});
    const std::shared_ptr<const Platform> shared = platform;

    // A running instance, started with a language, so the check reads its command line too.
    QProcess instance;
    instance.start(contents + QStringLiteral("/MacOS/Atlas"),
                   {script.fileName(), QStringLiteral("-AppleLanguages"), QStringLiteral("(fr)")});
    instance.waitForStarted();

    StoredLanguages storedLanguages(shared->defaultsToolPath());
    RunningInstances running(shared->processes);
    Selection selection(shared, storedLanguages, running);
    const AppListingPtr listing =
        AppListing::fromPath(folder + QStringLiteral("/Atlas.app"), *shared->workspace);
    std::vector<qint64> base, probes, storedOnly;
    QString line;
    bool stored = true;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        QProcess truth;
        truth.start(QStringLiteral("/bin/true"), {});
        truth.waitForFinished();
        base.push_back(t.nsecsElapsed());

        t.restart();
        storedLanguages.forget(listing->identifier()); // as at every selection
        stored = stored && storedLanguages.storedLanguage(listing->identifier()).has_value();
        storedOnly.push_back(t.nsecsElapsed());
        t.restart();
        // A whole selection: the bundle read again, the stored language looked up again, the
        // running copies and the command line of the first.
        selection.select(listing);
        line = selection.panel().runningLine;
        probes.push_back(t.nsecsElapsed());
    }
    instance.kill();
    instance.waitForFinished();

    const double ratio = double(median(probes)) / double(median(base));
    std::printf("first-selection probes %.2f ms, /bin/true %.2f ms (median of %d)\n",
                median(probes) / 1e6, median(base) / 1e6, kRounds);
    std::printf("ratio %.2fx (goal <= 4x); of which the stored-language lookup %.2f ms; line: %s\n",
                ratio, median(storedOnly) / 1e6, qPrintable(line));
    return stored && !line.isEmpty() ? 0 : 1;
}

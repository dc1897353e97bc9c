// The probes of a first selection (the stored-language lookup through the preferences tool and
// the running-instance check), against starting and waiting for /bin/true in the same run,
// alternating, as the minimum and the median of many rounds. Goal: at most 3x.
#include "BenchSupport.h"
#include "catalogue/AppListing.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/Platform.h"
#include "platform/bundle/Workspace.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/preferences/PropertyList.h"
#include "platform/process/Processes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRounds = 100;

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    Bench::isolateHome(dir.path());

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

    StoredLanguages storedLanguages(shared);
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
        stored = stored && storedLanguages.storedLanguage(*listing).has_value();
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

    using Bench::median, Bench::minimum;
    const double ratio = double(median(probes)) / double(median(base));
    const double best = double(minimum(probes)) / double(minimum(base));
    std::printf("first-selection probes: median %.2f ms, minimum %.2f ms; /bin/true: median %.2f "
                "ms, minimum %.2f ms (%d rounds)\n",
                median(probes) / 1e6, minimum(probes) / 1e6, median(base) / 1e6,
                minimum(base) / 1e6, kRounds);
    std::printf("of which the stored-language lookup: median %.2f ms; line: %s\n",
                median(storedOnly) / 1e6, qPrintable(line));
    Bench::goal("first selection's probes",
                QStringLiteral("median %1 ms, %2x; minimum %3 ms, %4x")
                    .arg(median(probes) / 1e6, 0, 'f', 2)
                    .arg(ratio, 0, 'f', 2)
                    .arg(minimum(probes) / 1e6, 0, 'f', 2)
                    .arg(best, 0, 'f', 2),
                QStringLiteral("starting /bin/true: median %1 ms, minimum %2 ms")
                    .arg(median(base) / 1e6, 0, 'f', 2)
                    .arg(minimum(base) / 1e6, 0, 'f', 2),
                QStringLiteral("<= 3x (median)"), stored && !line.isEmpty() && ratio <= 3.0);
    return stored && !line.isEmpty() ? 0 : 1;
}

// The time from pressing Launch to the new process being known (the worker's hop, finding the
// executable, the launch environment, the detached start and the wait), against starting the same
// executable directly and waiting for it in the same run; then where the time goes, step by step,
// and on X11 what asking the server for its time (the startup id) costs.
#include "BenchSupport.h"
#include "catalogue/AppListing.h"
#include "language/LaunchWorker.h"
#include "language/Launcher.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/Platform.h"
#include "platform/bundle/Bundle.h"
#include "platform/bundle/Workspace.h"
#include "platform/preferences/PreferencesStore.h"
#include "platform/preferences/PropertyList.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/process/ProcessControl.h"
#include "platform/process/Processes.h"
#include "platform/x11/Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kRounds = 30;

using Bench::median;

void endCopies(const Processes &processes, const QString &identifier)
{
    QList<qint64> pids;
    for (const RunningApplication &app : processes.launchedApplications()) {
        if (app.bundleIdentifier == identifier)
            pids.append(app.processIdentifier);
    }
    ProcessControl::quit(pids, std::chrono::seconds(5));
}

// The median wall time of `step`, in nanoseconds.
template <typename Step> qint64 medianOf(Step step)
{
    std::vector<qint64> times;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        step();
        times.push_back(t.nsecsElapsed());
    }
    return median(times);
}

// On the display's own platform (the benchmark itself runs off screen, where no window is
// waited for): the first request of the X server's time, and the median of the next ones.
int serverTimeCost(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QElapsedTimer t;
    t.start();
    const bool answered = Desktop::serverTime() != 0;
    const qint64 first = t.nsecsElapsed();
    const qint64 next = medianOf([] { Desktop::serverTime(); });
    std::printf("the X server's time for the startup id (platform %s): first %.3f ms, then "
                "%.3f ms%s\n",
                qPrintable(QGuiApplication::platformName()), first / 1e6, next / 1e6,
                answered ? "" : " (no answer)");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--server-time") == 0)
        return serverTimeCost(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    Bench::isolateHome(dir.path());

    const QString folder = dir.path() + QStringLiteral("/Applications");
    const QString contents = folder + QStringLiteral("/Atlas.app/Contents");
    QDir().mkpath(contents + QStringLiteral("/MacOS"));
    for (const char *l : {"en", "fr"})
        QDir().mkpath(contents + QStringLiteral("/Resources/") + QLatin1String(l) +
                      QStringLiteral(".lproj"));
    QFile info(contents + QStringLiteral("/Info.plist"));
    info.open(QIODevice::WriteOnly);
    info.write(
        PropertyList::toXml(QVariantMap{{"CFBundleIdentifier", QStringLiteral("org.bench.Atlas")},
                                        {"CFBundleExecutable", QStringLiteral("Atlas")}}));
    info.close();
    // A script, as wrapped programs are; it takes any arguments and quits on SIGTERM.
    const QString executable = contents + QStringLiteral("/MacOS/Atlas");
    QFile script(executable);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\nexec sleep 30\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    auto platform = std::make_shared<Platform>();
    platform->preferences =
        std::make_shared<PreferencesStore>(PreferencesStore::defaultDirectory());
    platform->workspace =
        std::make_shared<Workspace>(folder, dir.path() + QStringLiteral("/data/r.plist"));
    platform->processes = std::make_shared<Processes>();
    platform->mainBundlePath = QStringLiteral(VEXILO_BENCH_BUNDLE);
    const std::shared_ptr<const Platform> shared = platform;

    StoredLanguages storedLanguages(shared);
    RunningInstances running(shared->processes);
    Selection selection(shared, storedLanguages, running);
    LaunchWorker worker;
    Launcher launcher(shared, selection, worker);
    QObject::connect(&worker, &LaunchWorker::event, &selection, &Selection::applyLaunchEvent);
    selection.select(
        AppListing::fromPath(folder + QStringLiteral("/Atlas.app"), *shared->workspace));
    selection.chooseLanguage(3); // French

    const QStringList arguments{QStringLiteral("-AppleLanguages"), QStringLiteral("(fr)")};
    std::vector<qint64> direct, launched, directCpu, launchedCpu;
    bool allKnown = true;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        qint64 cpu = Bench::cpuNanoseconds();
        t.start();
        const qint64 pid = ProcessControl::startDetached(
            executable, arguments,
            LaunchEnvironment::forLanguage(QProcessEnvironment::systemEnvironment(),
                                           QStringLiteral("fr")));
        allKnown = ProcessControl::waitUntilKnown(pid, std::chrono::seconds(5)) && allKnown;
        direct.push_back(t.nsecsElapsed());
        directCpu.push_back(Bench::cpuNanoseconds() - cpu);
        ProcessControl::quit({pid}, std::chrono::seconds(5));

        QEventLoop loop;
        bool known = false;
        const auto done =
            QObject::connect(&worker, &LaunchWorker::event, &loop, [&](const LaunchEvent &event) {
                known = event.running;
                loop.quit();
            });
        cpu = Bench::cpuNanoseconds();
        t.restart();
        launcher.launch();
        loop.exec();
        launched.push_back(t.nsecsElapsed());
        launchedCpu.push_back(Bench::cpuNanoseconds() - cpu);
        QObject::disconnect(done);
        allKnown = known && allKnown;
        // Not running any more, so the next Launch starts at once instead of asking to quit.
        endCopies(*platform->processes, QStringLiteral("org.bench.Atlas"));
        while (worker.isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // Worked out again in the background: the next Launch waits until it is gone.
        selection.refreshRunning();
        QElapsedTimer refresh;
        refresh.start();
        while (selection.panel().runningLineVisible && refresh.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    std::printf(
        "Launch to known %.2f ms, starting it directly and waiting %.2f ms (median of %d)\n",
        median(launched) / 1e6, median(direct) / 1e6, kRounds);
    std::printf("ratio %.2fx, overhead %.2f ms\n", double(median(launched)) / median(direct),
                (median(launched) - median(direct)) / 1e6);
    std::printf("CPU time of this process: Launch %.3f ms, starting it directly %.3f ms\n",
                median(launchedCpu) / 1e6, median(directCpu) / 1e6);

    // Each step alone, as Launch takes it.
    const qint64 hop = medianOf([&worker] {
        QEventLoop loop;
        const auto back = QObject::connect(&worker, &LaunchWorker::event, &loop, &QEventLoop::quit);
        worker.run([](const LaunchWork::Report &report) { report(LaunchEvent()); });
        loop.exec();
        QObject::disconnect(back);
        while (worker.isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    });
    const QString bundle = folder + QStringLiteral("/Atlas.app");
    const qint64 finding =
        medianOf([&bundle] { Bundle::executablePath(bundle, QStringLiteral("Atlas")); });
    const qint64 environment = medianOf([] {
        LaunchEnvironment::forLanguage(QProcessEnvironment::systemEnvironment(),
                                       QStringLiteral("fr"));
    });
    std::printf("steps (median of %d): the hop to the worker and back %.3f ms, finding its "
                "executable %.3f ms, the launch environment %.3f ms\n",
                kRounds, hop / 1e6, finding / 1e6, environment / 1e6);
    if (qEnvironmentVariableIsSet("DISPLAY")) {
        QProcess onDisplay;
        QProcessEnvironment displayEnvironment = QProcessEnvironment::systemEnvironment();
        displayEnvironment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        onDisplay.setProcessEnvironment(displayEnvironment);
        onDisplay.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--server-time")});
        onDisplay.waitForFinished(30000);
        std::fputs(onDisplay.readAllStandardOutput().constData(), stdout);
    }
    // What Vexilo adds to the start itself: at most a fifth.
    const double ratio = double(median(launched)) / double(median(direct));
    Bench::goal(
        "Launch to the new process known",
        QStringLiteral("%1 ms, %2x").arg(median(launched) / 1e6, 0, 'f', 2).arg(ratio, 0, 'f', 2),
        QStringLiteral("starting it directly, %1 ms").arg(median(direct) / 1e6, 0, 'f', 2),
        QStringLiteral("<= 1.2x"), allKnown && ratio <= 1.2);
    return allKnown ? 0 : 1;
}

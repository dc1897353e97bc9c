// Start-up: from starting the process to the main window painted, Vexilo over an empty
// applications folder, without and with this machine's application menu, against a minimal Qt
// Widgets program (a main window with a label), started alternately in the same run. Goal: at
// most 1.2x (median) each.
//
// The same executable plays all three parts. Without BENCH_STARTUP_ROLE it is the bench: it
// copies Vexilo's bundle from the build tree, puts itself in as the bundle's executable (so that
// Vexilo finds its resources, translations and defaults tool as it does when installed), and
// starts itself in the roles "vexilo" and "minimal". A child says "shown" and the processor time
// it has used (all threads) once its first window has painted, and ends there: the processor
// times locate costs while other work loads the machine.
#include "BenchSupport.h"
#include "VexiloMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kRounds = 15;

// Reports the first paint of a top-level window, once the event loop is back from painting it.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, [] {
                std::printf("shown %lld\n", static_cast<long long>(Bench::cpuNanoseconds()));
                std::fflush(stdout);
                _exit(0);
            });
        }
        return false;
    }
};

int minimalProgram(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FirstPaint watcher;
    app.installEventFilter(&watcher);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Hello"), &window));
    window.resize(640, 400);
    window.show();
    return QApplication::exec();
}

struct Shown {
    qint64 wall = -1; // nanoseconds from starting the program to its "shown"
    qint64 cpu = -1;  // the processor time it had used by then
};

Shown timeToShown(const QString &program, const QString &role, QProcessEnvironment environment)
{
    environment.insert(QStringLiteral("BENCH_STARTUP_ROLE"), role);
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProgram(program);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer t;
    t.start();
    child.start();
    QByteArray output;
    while (child.waitForReadyRead(10000)) {
        output += child.readAll();
        if (const qsizetype at = output.indexOf("shown "); at >= 0 && output.endsWith('\n')) {
            const qint64 elapsed = t.nsecsElapsed();
            child.waitForFinished(5000);
            return {elapsed, output.mid(at + 6).trimmed().toLongLong()};
        }
    }
    child.kill();
    child.waitForFinished();
    return {};
}

int bench(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString bundle = dir.path() + QStringLiteral("/Vexilo.app");
    const QString executable = bundle + QStringLiteral("/Contents/MacOS/Vexilo");
    if (!Bench::copyBundleRunningThis(QStringLiteral(VEXILO_BENCH_BUNDLE), bundle)) {
        std::fprintf(stderr, "bench_startup: cannot copy the bundle from %s\n",
                     VEXILO_BENCH_BUNDLE);
        return 1;
    }
    QDir().mkpath(dir.path() + QStringLiteral("/Applications"));
    const QProcessEnvironment machine = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment environment = machine;
    environment.insert(QStringLiteral("VEXILO_APPLICATIONS_DIR"),
                       dir.path() + QStringLiteral("/Applications"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path() + QStringLiteral("/data"));
    // An empty catalogue: no bundles, and no application menu of the machine's either.
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), dir.path() + QStringLiteral("/no-menu"));
    if (!environment.contains(QStringLiteral("DISPLAY")) &&
        !environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // The same, with the application menu of this machine's data folders.
    QProcessEnvironment withMenu = environment;
    withMenu.remove(QStringLiteral("XDG_DATA_DIRS"));
    if (machine.contains(QStringLiteral("XDG_DATA_DIRS")))
        withMenu.insert(QStringLiteral("XDG_DATA_DIRS"),
                        machine.value(QStringLiteral("XDG_DATA_DIRS")));

    // Once each first: the caches of the system (libraries, fonts) are warm for all.
    const QString vexiloRole = QStringLiteral("vexilo"), minimalRole = QStringLiteral("minimal");
    timeToShown(executable, vexiloRole, environment);
    timeToShown(executable, vexiloRole, withMenu);
    timeToShown(executable, minimalRole, environment);
    std::vector<qint64> vexilo, menu, minimal, vexiloCpu, menuCpu, minimalCpu;
    for (int round = 0; round < kRounds; ++round) {
        const Shown v = timeToShown(executable, vexiloRole, environment);
        const Shown m = timeToShown(executable, minimalRole, environment);
        const Shown w = timeToShown(executable, vexiloRole, withMenu);
        if (v.wall < 0 || m.wall < 0 || w.wall < 0) {
            std::fprintf(stderr, "bench_startup: a child never showed its window\n");
            return 1;
        }
        vexilo.push_back(v.wall);
        minimal.push_back(m.wall);
        menu.push_back(w.wall);
        vexiloCpu.push_back(v.cpu);
        minimalCpu.push_back(m.cpu);
        menuCpu.push_back(w.cpu);
    }
    std::printf(
        "window shown (median of %d, platform %s): minimal Qt Widgets program %.1f ms "
        "(minimum %.1f), processor %.1f ms\n",
        kRounds,
        qPrintable(environment.value(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"))),
        Bench::median(minimal) / 1e6, Bench::minimum(minimal) / 1e6,
        Bench::median(minimalCpu) / 1e6);
    const auto report = [&](const char *figure, const char *what, const std::vector<qint64> &v,
                            const std::vector<qint64> &cpu) {
        const double ratio = double(Bench::median(v)) / double(Bench::median(minimal));
        std::printf("  Vexilo, %s: %.1f ms (minimum %.1f), %.2fx; processor %.1f ms, %.2fx\n", what,
                    Bench::median(v) / 1e6, Bench::minimum(v) / 1e6, ratio,
                    Bench::median(cpu) / 1e6,
                    double(Bench::median(cpu)) / double(Bench::median(minimalCpu)));
        Bench::goal(figure,
                    QStringLiteral("%1 ms, %2x")
                        .arg(Bench::median(v) / 1e6, 0, 'f', 1)
                        .arg(ratio, 0, 'f', 2),
                    QStringLiteral("minimal Qt Widgets program, %1 ms")
                        .arg(Bench::median(minimal) / 1e6, 0, 'f', 1),
                    QStringLiteral("<= 1.2x (median)"), ratio <= 1.2);
    };
    report("window shown with an empty folder", "empty folder, no menu", vexilo, vexiloCpu);
    report("window shown with this machine's menu", "empty folder, this machine's menu", menu,
           menuCpu);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray role = qgetenv("BENCH_STARTUP_ROLE");
    if (role == "minimal")
        return minimalProgram(argc, argv);
    if (role == "vexilo") {
        static FirstPaint watcher;
        return vexiloMain(argc, argv, [](AppController &) { qApp->installEventFilter(&watcher); });
    }
    return bench(argc, argv);
}

// The window's thread while the user selects: the longest stall of its event loop over 100
// selections, with an application menu of 400 entries (many translated, with icons), a few
// bundles, and 500 other processes running. Goal: under 16 ms, one frame.
//
// A stall is the gap between two turns of a 1 ms timer, without the time the thread only waited
// for a CPU (the scheduler's count, so that other programs' load does not count); the longest
// gap by the wall clock is printed too. Its floor is the same window left idle for as long, in
// the same run.
//
// The same executable plays both parts, as bench_startup does: the bench copies Vexilo's bundle,
// puts itself in as its executable, writes the menu, starts the processes and runs itself as the
// window (BENCH_STALL_ROLE=window), which drives the row by keys and prints the figures.
#include "AppController.h"
#include "AppRowView.h"
#include "BenchSupport.h"
#include "MainWindow.h"
#include "VexiloMain.h"
#include "panel/Selection.h"
#include "row/RowBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kEntries = 400;
constexpr int kBundles = 20;
constexpr int kProcesses = 500;
constexpr int kSelections = 100;
// Between key presses: a held arrow key repeats about this fast.
constexpr int kKeyIntervalMs = 40;
// Every this many selections the window comes back to the front: the running line is worked
// out again.
constexpr int kRefreshEvery = 10;
constexpr double kGoalMs = 16.0;

// The window's thread as the scheduler counts it: time on a CPU, and time it was ready to run
// but waited for a CPU that other programs held.
struct ThreadTimes {
    qint64 running = 0;
    qint64 waiting = 0;
};

ThreadTimes threadTimes(int schedstat)
{
    char text[128];
    const ssize_t size = ::pread(schedstat, text, sizeof text - 1, 0);
    ThreadTimes times;
    if (size > 0) {
        text[size] = '\0';
        std::sscanf(text, "%lld %lld", &times.running, &times.waiting);
    }
    return times;
}

// The longest gaps between turns of the event loop, as a 1 ms timer sees them: in wall time,
// and without the time the thread waited for a CPU (what the window itself made the user wait).
class StallMonitor : public QObject {
public:
    struct Gap {
        qint64 wall = 0;
        qint64 running = 0;
        qint64 waiting = 0;
        qint64 own() const { return wall - waiting; }
    };

    StallMonitor() : m_schedstat(::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC)) {}
    void start()
    {
        m_longest = m_longestOwn = Gap();
        m_clock.start();
        m_last = 0;
        m_lastTimes = threadTimes(m_schedstat);
        m_timer = startTimer(1, Qt::PreciseTimer);
    }
    void stop() { killTimer(m_timer); }
    // The longest gap by the wall clock, and the longest without the waits for a CPU.
    Gap longest() const { return m_longest; }
    Gap longestOwn() const { return m_longestOwn; }

protected:
    void timerEvent(QTimerEvent *) override
    {
        const qint64 now = m_clock.nsecsElapsed();
        const ThreadTimes times = threadTimes(m_schedstat);
        const Gap gap{now - m_last, times.running - m_lastTimes.running,
                      times.waiting - m_lastTimes.waiting};
        if (gap.wall > m_longest.wall)
            m_longest = gap;
        if (gap.own() > m_longestOwn.own())
            m_longestOwn = gap;
        m_last = now;
        m_lastTimes = times;
    }

private:
    int m_schedstat;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    ThreadTimes m_lastTimes;
    Gap m_longest, m_longestOwn;
    int m_timer = 0;
};

QString describe(const StallMonitor::Gap &gap)
{
    return QStringLiteral("%1 ms (%2 ms on a CPU, %3 ms waiting for one)")
        .arg(gap.wall / 1e6, 0, 'f', 1)
        .arg(gap.running / 1e6, 0, 'f', 1)
        .arg(gap.waiting / 1e6, 0, 'f', 1);
}

void fail(const char *why)
{
    std::fprintf(stderr, "bench_stall: %s\n", why);
    std::fflush(stderr);
    _exit(1);
}

// Runs in the window's process once its catalogue is shown: idle, then the selections.
void drive(AppController &c)
{
    auto *row = c.window().findChild<AppRowView *>();
    if (!row)
        fail("no icon row");
    if (c.row().shown().size() < kSelections + 1)
        fail("the catalogue is smaller than expected");
    auto *monitor = new StallMonitor;
    auto *clock = new QElapsedTimer;
    auto *shownAfter = new qint64(-1);
    auto *idle = new StallMonitor::Gap;
    // Sends one arrow key to the row, refreshes the running line now and then, and at the end
    // waits for the last selection to show.
    auto *keys = new QTimer;
    auto *pressed = new int(0);
    // Only the last selection is shown once gathered: how long after its key.
    QObject::connect(&c.selection(), &Selection::settled, [pressed, clock, shownAfter] {
        if (*pressed == kSelections)
            *shownAfter = clock->elapsed();
    });
    QObject::connect(
        keys, &QTimer::timeout, [&c, row, monitor, keys, pressed, clock, idle, shownAfter] {
            if (*pressed < kSelections) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
                QApplication::sendEvent(row, &press);
                QApplication::sendEvent(row, &release);
                // The window comes back to the front.
                if (++*pressed % kRefreshEvery == 0)
                    emit qApp->applicationStateChanged(Qt::ApplicationActive);
                if (*pressed == kSelections)
                    clock->start();
                return;
            }
            if (!c.selection().isSettled() && clock->elapsed() < 30000)
                return;
            keys->stop();
            // The running line of the last selection is worked out, too.
            QTimer::singleShot(300, [&c, monitor, idle, shownAfter] {
                monitor->stop();
                const AppListingPtr shown = c.selection().current();
                const AppListingPtr selected = c.row().current();
                if (!c.selection().isSettled() || !shown || !selected ||
                    shown->path() != selected->path() || c.selection().panel().name.isEmpty())
                    fail("the panel does not show the selected application");
                const StallMonitor::Gap own = monitor->longestOwn();
                std::printf(
                    "%d selections, a key every %d ms, %d menu entries, %d bundles, %d other "
                    "processes (platform %s)\n",
                    kSelections, kKeyIntervalMs, kEntries, kBundles, kProcesses,
                    qPrintable(QGuiApplication::platformName()));
                std::printf("longest stall of the window's thread %s\n",
                            qPrintable(describe(monitor->longest())));
                std::printf("longest without waiting for a CPU: %.1f ms, of %s\n", own.own() / 1e6,
                            qPrintable(describe(own)));
                std::printf("idle window, as long: %.1f ms without waiting for a CPU, of %s\n",
                            idle->own() / 1e6, qPrintable(describe(*idle)));
                std::printf("last selection shown %lld ms after its key\n", *shownAfter);
                // Time the thread waited for a CPU is the machine's load, not the window's doing.
                Bench::goal("longest stall of the window's thread, 100 selections",
                            QStringLiteral("%1 ms (%2 ms by the wall clock)")
                                .arg(own.own() / 1e6, 0, 'f', 1)
                                .arg(monitor->longest().wall / 1e6, 0, 'f', 1),
                            QStringLiteral("idle window %1 ms").arg(idle->own() / 1e6, 0, 'f', 1),
                            QStringLiteral("< 16 ms"), own.own() < kGoalMs * 1e6);
                _exit(0);
            });
        });
    // Settled and painted first; then the idle floor for as long as the selections take.
    QTimer::singleShot(1000, [monitor, keys, idle] {
        monitor->start();
        QTimer::singleShot(kSelections * kKeyIntervalMs, [monitor, keys, idle] {
            monitor->stop();
            *idle = monitor->longestOwn();
            monitor->start();
            keys->start(kKeyIntervalMs);
        });
    });
}

// The menu: entries named in several languages, two in three with gettext catalogues in
// one to six languages, most with an icon of the theme; a few run the processes below.
void writeMenu(const QString &data)
{
    const QStringList langs{"fr", "de", "es", "ja", "it", "pt_BR"};
    QImage icon(48, 48, QImage::Format_ARGB32);
    QDir().mkpath(data + "/applications");
    QDir().mkpath(data + "/icons/hicolor/48x48/apps");
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray id = "bench" + QByteArray::number(i);
        const QByteArray name = "Program " + QByteArray::number(1000 + i);
        QByteArray entry = "[Desktop Entry]\nType=Application\nName=" + name +
                           "\nExec=" + (i % 50 == 0 ? QByteArray("sleep 600") : "/bin/true " + id) +
                           "\n";
        for (const QString &l : langs)
            entry += "Name[" + l.toUtf8() + "]=" + name + " (" + l.toUtf8() + ")\n";
        if (i % 3 != 2) {
            entry += "X-GNOME-Gettext-Domain=" + id + "\n";
            for (int l = 0; l <= i % langs.size(); ++l) {
                const QString messages = data + "/locale/" + langs[l] + "/LC_MESSAGES";
                QDir().mkpath(messages);
                Bench::writeFile(messages + "/" + id + ".mo", QByteArray(64, 'm'));
            }
        }
        if (i % 4 != 3) {
            entry += "Icon=" + id + "\n";
            icon.fill(QColor::fromHsv(i % 360, 200, 200));
            icon.save(data + "/icons/hicolor/48x48/apps/" + id + ".png");
        }
        Bench::writeFile(data + "/applications/" + id + ".desktop", entry);
    }
}

pid_t startSleeper()
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Ends with the bench, however the bench ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        ::execlp("sleep", "sleep", "600", static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

int bench(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString bundle = dir.path() + QStringLiteral("/Vexilo.app");
    const QString executable = bundle + QStringLiteral("/Contents/MacOS/Vexilo");
    if (!Bench::copyBundleRunningThis(QStringLiteral(VEXILO_BENCH_BUNDLE), bundle)) {
        std::fprintf(stderr, "bench_stall: cannot copy the bundle from %s\n", VEXILO_BENCH_BUNDLE);
        return 1;
    }
    Bench::generateCatalogue(dir.path() + QStringLiteral("/Applications"), kBundles);
    writeMenu(dir.path() + QStringLiteral("/share"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("BENCH_STALL_ROLE"), QStringLiteral("window"));
    environment.insert(QStringLiteral("VEXILO_APPLICATIONS_DIR"),
                       dir.path() + QStringLiteral("/Applications"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dir.path() + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), dir.path() + QStringLiteral("/share"));
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("en"));
    if (!environment.contains(QStringLiteral("DISPLAY")) &&
        !environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    std::vector<pid_t> sleepers;
    for (int i = 0; i < kProcesses; ++i) {
        const pid_t pid = startSleeper();
        if (pid > 0)
            sleepers.push_back(pid);
    }
    QProcess window;
    window.setProcessEnvironment(environment);
    window.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window.start(executable, {});
    const bool finished = window.waitForFinished(180000);
    if (!finished)
        window.kill();
    const QByteArray out = window.readAllStandardOutput();
    std::fwrite(out.constData(), 1, out.size(), stdout);
    for (const pid_t pid : sleepers)
        ::kill(pid, SIGKILL);
    for (const pid_t pid : sleepers)
        ::waitpid(pid, nullptr, 0);
    if (!finished || window.exitCode() != 0 || sleepers.size() != size_t(kProcesses)) {
        std::fprintf(stderr, "bench_stall: the window's run failed\n");
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qgetenv("BENCH_STALL_ROLE") == "window")
        return vexiloMain(argc, argv, [](AppController &c) {
            QObject::connect(&c, &AppController::catalogueShown, &c, [&c] { drive(c); });
        });
    return bench(argc, argv);
}

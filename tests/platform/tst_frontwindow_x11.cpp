#include "platform/process/LaunchEnvironment.h"
#include "platform/process/ProcessControl.h"
#include "platform/x11/Desktop.h"

#include <QTest>
#include <csignal>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

using namespace std::chrono_literals;

namespace {

// An X connection of the test's own, with the EWMH atoms.
struct Connection {
    xcb_connection_t *c = nullptr;
    int screen = 0;
    xcb_ewmh_connection_t ewmh{};

    Connection()
    {
        c = xcb_connect(nullptr, &screen);
        xcb_ewmh_init_atoms_replies(&ewmh, xcb_ewmh_init_atoms(c, &ewmh), nullptr);
    }
    ~Connection()
    {
        xcb_ewmh_connection_wipe(&ewmh);
        xcb_disconnect(c);
    }
    xcb_window_t root() const { return ewmh.screens[screen]->root; }

    qint64 pidOf(xcb_window_t window)
    {
        uint32_t pid = 0;
        return xcb_ewmh_get_wm_pid_reply(&ewmh, xcb_ewmh_get_wm_pid(&ewmh, window), &pid, nullptr)
                   ? pid
                   : 0;
    }
};

// Stands in for a window manager: announces itself as EWMH asks and records the windows it is
// asked to activate.
class FakeWindowManager : public Connection {
public:
    FakeWindowManager()
    {
        m_check = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_check, root(), 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_ewmh_set_supporting_wm_check(&ewmh, root(), m_check);
        xcb_ewmh_set_supporting_wm_check(&ewmh, m_check, m_check);
        // Requests to the root window reach whoever listens for its children's changes.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, root(), XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c);
    }
    ~FakeWindowManager()
    {
        xcb_delete_property(c, root(), ewmh._NET_SUPPORTING_WM_CHECK);
        xcb_flush(c);
    }

    // The window last asked to be activated as a pager asks, or XCB_WINDOW_NONE.
    xcb_window_t activated()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
                if (message->type == ewmh._NET_ACTIVE_WINDOW &&
                    message->data.data32[0] == XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER)
                    m_activated = message->window;
            }
            std::free(event);
        }
        return m_activated;
    }

private:
    xcb_window_t m_check = XCB_WINDOW_NONE;
    xcb_window_t m_activated = XCB_WINDOW_NONE;
};

struct Started {
    qint64 pid = ProcessControl::startDetached(QStringLiteral(VEXILO_TEST_SAMPLE_EXECUTABLE), {},
                                               QProcessEnvironment::systemEnvironment());
    ~Started()
    {
        if (pid > 0)
            ::kill(pid_t(pid), SIGKILL);
    }
};

} // namespace

// Bringing the window of a started application to the front, on a real X server.
class TestFrontWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
    }

    // A started application gets a startup id stamped with the server's time, so the window
    // manager gives it the focus; the one Vexilo was started with, and a Wayland token, are
    // not passed on.
    void startupId()
    {
        QProcessEnvironment user;
        user.insert("DESKTOP_STARTUP_ID", "launcher-1-host-_TIME5");
        user.insert("XDG_ACTIVATION_TOKEN", "old");
        const quint32 before = Desktop::serverTime();
        const QProcessEnvironment child = LaunchEnvironment::forLanguage(user, "fr");
        const QString prefix = QStringLiteral("vexilo-%1-%2-_TIME")
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(QSysInfo::machineHostName());
        const QString id = child.value("DESKTOP_STARTUP_ID");
        QVERIFY2(id.startsWith(prefix), qPrintable(id));
        QVERIFY(before > 0 && id.mid(prefix.size()).toUInt() >= before);
        QVERIFY(!child.contains("XDG_ACTIVATION_TOKEN"));
    }

    // Without a window manager the window is raised and gets the input focus itself.
    void raisedAndFocused()
    {
        const Started sample;
        QVERIFY(sample.pid > 0);
        QVERIFY(Desktop::bringToFront(sample.pid, 10s));
        Connection x;
        xcb_get_input_focus_reply_t *focus =
            xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr);
        QVERIFY(focus);
        const xcb_window_t focused = focus->focus;
        std::free(focus);
        QCOMPARE(x.pidOf(focused), sample.pid);
    }

    // With one, the window manager is asked to activate it.
    void activatedThroughTheWindowManager()
    {
        FakeWindowManager manager;
        const Started sample;
        QVERIFY(Desktop::bringToFront(sample.pid, 10s));
        QTRY_VERIFY_WITH_TIMEOUT(manager.activated() != XCB_WINDOW_NONE, 5000);
        QCOMPARE(manager.pidOf(manager.activated()), sample.pid);
    }

    // A process that shows no window is waited for no longer than the bound, or than it runs.
    void noWindow()
    {
        const qint64 pid = ProcessControl::startDetached("/bin/sleep", {"30"}, {});
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!Desktop::bringToFront(pid, 300ms));
        QVERIFY(timer.elapsed() >= 300 && timer.elapsed() < 3000);
        QVERIFY(ProcessControl::quit({pid}, 5s).isEmpty());
        timer.restart();
        QVERIFY(!Desktop::bringToFront(pid, 10s));
        QVERIFY(timer.elapsed() < 3000);
    }
};

QTEST_MAIN(TestFrontWindow)
#include "tst_frontwindow_x11.moc"

#include "platform/x11/Desktop.h"

#include "platform/process/ProcessControl.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#ifdef VEXILO_HAVE_XCB
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#endif

namespace {

#ifdef VEXILO_HAVE_XCB

// The parent of a process, from /proc/<pid>/stat; 0 when unknown.
qint64 parentOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.read(4096);
    const qsizetype close = line.lastIndexOf(')');
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    return close >= 0 && fields.size() > 1 ? fields.at(1).toLongLong() : 0;
}

// The process itself, or a program it started: a wrapper that runs the real program as a child.
bool isOrDescendsFrom(qint64 pid, qint64 ancestor)
{
    for (int depth = 0; depth < 32 && pid > 1; ++depth) {
        if (pid == ancestor)
            return true;
        pid = parentOf(pid);
    }
    return false;
}

struct XServer {
    xcb_connection_t *connection = nullptr;
    int screen = 0;
    xcb_ewmh_connection_t ewmh{};
    bool atoms = false;

    XServer()
    {
        connection = xcb_connect(nullptr, &screen);
        if (xcb_connection_has_error(connection))
            return;
        atoms = xcb_ewmh_init_atoms_replies(&ewmh, xcb_ewmh_init_atoms(connection, &ewmh),
                                            nullptr) != 0;
    }
    ~XServer()
    {
        if (atoms)
            xcb_ewmh_connection_wipe(&ewmh);
        xcb_disconnect(connection);
    }
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    bool isUsable() const { return atoms && screen < ewmh.nb_screens; }
    xcb_window_t root() const { return ewmh.screens[screen]->root; }

    template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

    // A window of `pid` or its children that is shown on screen, walking the whole tree (a window
    // manager puts clients inside frames of its own). XCB_WINDOW_NONE when there is none yet.
    xcb_window_t shownWindowOf(qint64 pid)
    {
        QList<xcb_window_t> level{root()};
        while (!level.isEmpty()) {
            QList<xcb_query_tree_cookie_t> trees;
            QList<xcb_get_property_cookie_t> pids;
            QList<xcb_get_window_attributes_cookie_t> attributes;
            // Every request of a level first, then the replies: one round trip per level.
            for (const xcb_window_t window : level) {
                trees.append(xcb_query_tree(connection, window));
                pids.append(xcb_ewmh_get_wm_pid(&ewmh, window));
                attributes.append(xcb_get_window_attributes(connection, window));
            }
            xcb_window_t found = XCB_WINDOW_NONE;
            QList<xcb_window_t> next;
            for (qsizetype i = 0; i < level.size(); ++i) {
                uint32_t windowPid = 0;
                const bool hasPid =
                    xcb_ewmh_get_wm_pid_reply(&ewmh, pids.at(i), &windowPid, nullptr) != 0;
                const Owned<xcb_get_window_attributes_reply_t> attribute(
                    xcb_get_window_attributes_reply(connection, attributes.at(i), nullptr),
                    &std::free);
                const Owned<xcb_query_tree_reply_t> tree(
                    xcb_query_tree_reply(connection, trees.at(i), nullptr), &std::free);
                if (found == XCB_WINDOW_NONE && hasPid && attribute &&
                    attribute->map_state == XCB_MAP_STATE_VIEWABLE &&
                    !attribute->override_redirect && isOrDescendsFrom(windowPid, pid))
                    found = level.at(i);
                if (tree) {
                    const xcb_window_t *children = xcb_query_tree_children(tree.get());
                    next.append(QList<xcb_window_t>(
                        children, children + xcb_query_tree_children_length(tree.get())));
                }
            }
            if (found != XCB_WINDOW_NONE)
                return found;
            level = next;
        }
        return XCB_WINDOW_NONE;
    }

    // A window manager names its check window on the root and on that window itself.
    bool hasWindowManager()
    {
        xcb_window_t check = XCB_WINDOW_NONE;
        if (!xcb_ewmh_get_supporting_wm_check_reply(
                &ewmh, xcb_ewmh_get_supporting_wm_check(&ewmh, root()), &check, nullptr))
            return false;
        xcb_window_t self = XCB_WINDOW_NONE;
        return xcb_ewmh_get_supporting_wm_check_reply(
                   &ewmh, xcb_ewmh_get_supporting_wm_check(&ewmh, check), &self, nullptr) &&
               self == check;
    }

    bool activate(xcb_window_t window)
    {
        if (hasWindowManager()) {
            // As a pager would ask: window managers honour it over focus-stealing prevention.
            xcb_ewmh_request_change_active_window(&ewmh, screen, window,
                                                  XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                                  XCB_CURRENT_TIME, XCB_WINDOW_NONE);
            // A round trip before disconnecting: the server may drop requests still unread
            // when a connection closes, and the request would then be lost now and then.
            const Owned<xcb_get_input_focus_reply_t> synced(
                xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr),
                &std::free);
            return synced != nullptr;
        }
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        const Owned<xcb_generic_error_t> error(
            xcb_request_check(connection,
                              xcb_set_input_focus_checked(connection, XCB_INPUT_FOCUS_POINTER_ROOT,
                                                          window, XCB_CURRENT_TIME)),
            &std::free);
        return !error;
    }
};

// A window of Vexilo's own on its own connection, whose property changes the server stamps with
// its time.
class TimeWindow {
public:
    TimeWindow()
    {
        int screenNumber = 0;
        m_connection = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(m_connection))
            return;
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < screenNumber && screens.rem; ++i)
            xcb_screen_next(&screens);
        if (!screens.rem)
            return;
        m_window = xcb_generate_id(m_connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screens.data->root, 0, 0, 1,
                          1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                          XCB_CW_EVENT_MASK, &events);
    }
    ~TimeWindow() { xcb_disconnect(m_connection); }
    TimeWindow(const TimeWindow &) = delete;
    TimeWindow &operator=(const TimeWindow &) = delete;

    bool isUsable() const
    {
        return m_window != XCB_WINDOW_NONE && !xcb_connection_has_error(m_connection);
    }
    quint32 now()
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, m_window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(m_connection);
        while (xcb_generic_event_t *event = xcb_wait_for_event(m_connection)) {
            const bool stamped = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            const quint32 time =
                stamped ? reinterpret_cast<xcb_property_notify_event_t *>(event)->time : 0;
            free(event);
            if (stamped)
                return time;
        }
        return 0;
    }

private:
    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_window = XCB_WINDOW_NONE;
};

#endif

} // namespace

namespace Desktop {

bool openUrl(const QByteArray &encodedUrl, std::function<void(bool opened)> done)
{
    const QUrl url = QUrl::fromEncoded(encodedUrl, QUrl::StrictMode);
    bool valid = url.isValid() && !url.isRelative() && !encodedUrl.startsWith('-');
    // Only an absolute URL in its encoded form: nothing that a program could take for an
    // option or a file name of its own.
    for (const char c : encodedUrl)
        valid = valid && c > ' ' && c < 0x7f;
    if (!valid) {
        if (done)
            done(false);
        return false;
    }
    // xdg-open is what Qt itself asks first on this desktop; called directly it gets the exact
    // bytes. Its exit status says whether a program took the address. Without it, Qt's own
    // search for a browser or mail program.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        const bool opened = QDesktopServices::openUrl(url);
        if (done)
            done(opened);
        return opened;
    }
    // Owned by the application until it reports, so that one still running when Vexilo quits
    // is not lost.
    auto *process = new QProcess(QCoreApplication::instance());
    // Without a desktop xdg-open may run the browser in the foreground: nothing of its output
    // may wait in a pipe Vexilo does not read.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, done](int status, QProcess::ExitStatus how) {
                         if (done)
                             done(how == QProcess::NormalExit && status == 0);
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, done](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         if (done)
                             done(false);
                         process->deleteLater();
                     });
    process->start(xdgOpen, {QString::fromLatin1(encodedUrl)});
    return true;
}

bool hasCompositingManager()
{
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
#ifdef VEXILO_HAVE_XCB
    if (platform != QLatin1String("xcb"))
        return false;
    int screen = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    bool owned = false;
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, uint16_t(name.size()), name.constData()),
        nullptr);
    if (atom && atom->atom != XCB_ATOM_NONE) {
        xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        owned = owner && owner->owner != XCB_WINDOW_NONE;
        free(owner);
    }
    free(atom);
    xcb_disconnect(connection);
    return owned;
#else
    return false;
#endif
}

bool bringToFront(qint64 pid, std::chrono::milliseconds bound)
{
#ifdef VEXILO_HAVE_XCB
    if (QGuiApplication::platformName() != QLatin1String("xcb") || pid <= 0)
        return false;
    XServer display;
    if (!display.isUsable())
        return false;
    const QDeadlineTimer deadline(bound);
    for (;;) {
        const xcb_window_t window = display.shownWindowOf(pid);
        if (window != XCB_WINDOW_NONE)
            return display.activate(window);
        if (deadline.hasExpired() || !ProcessControl::isRunning(pid))
            return false;
        QThread::msleep(50);
    }
#else
    Q_UNUSED(pid);
    Q_UNUSED(bound);
    return false;
#endif
}

quint32 serverTime()
{
#ifdef VEXILO_HAVE_XCB
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return 0;
    // Connecting and making the window cost more than the question itself: both are kept for the
    // run (and made again should the connection break).
    static QMutex mutex;
    static TimeWindow *source = nullptr;
    QMutexLocker lock(&mutex);
    if (source && !source->isUsable()) {
        delete source;
        source = nullptr;
    }
    if (!source)
        source = new TimeWindow;
    return source->isUsable() ? source->now() : 0;
#else
    return 0;
#endif
}

} // namespace Desktop

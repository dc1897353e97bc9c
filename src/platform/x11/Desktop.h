#pragma once

#include <QByteArray>
#include <chrono>
#include <functional>

// The desktop around Vexilo: the user's programs for links, and what the display can show.
namespace Desktop {

// Opens an absolute URL (file:, mailto:, https:...), given in its encoded form, with the user's
// program for it. The address reaches that program byte for byte: Qt's URL class would rewrite
// percent-encoded characters such as "%2d". False when the address is no absolute URL. `done`
// hears, on the calling thread's event loop, whether a program took it (xdg-open's exit status).
bool openUrl(const QByteArray &encodedUrl, std::function<void(bool opened)> done = {});

// Whether windows can be translucent: on X11 a compositing manager owns the _NET_WM_CM_S<screen>
// selection; Wayland always composites. False for other display servers and off screen.
bool hasCompositingManager();

// Brings the window of a process Vexilo started (or of a program it started in turn) to the
// front, waiting at most `bound` for the window to show; false when none showed in time or the
// process ended. On X11: _NET_ACTIVE_WINDOW when a window manager runs, else raised and given
// the input focus. Nothing happens on other display servers. Safe to call from any thread.
bool bringToFront(qint64 pid, std::chrono::milliseconds bound);

// The X server's time now, which stamps a start the user asked for (startup notification);
// 0 when Vexilo does not run on X11. Safe to call from any thread.
quint32 serverTime();

} // namespace Desktop

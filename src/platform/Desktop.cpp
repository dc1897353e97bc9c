#include "Desktop.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#ifdef VEXILO_HAVE_XCB
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace Desktop {

bool openUrl(const QByteArray &encodedUrl)
{
    const QUrl url = QUrl::fromEncoded(encodedUrl, QUrl::StrictMode);
    // Only an absolute URL in its encoded form: nothing that a program could take for an
    // option or a file name of its own.
    if (!url.isValid() || url.isRelative() || encodedUrl.startsWith('-'))
        return false;
    for (const char c : encodedUrl) {
        if (c <= ' ' || c >= 0x7f)
            return false;
    }
    // xdg-open is what Qt itself asks first on this desktop; called directly it gets the exact
    // bytes. Without it, Qt's own search for a browser or mail program.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!xdgOpen.isEmpty())
        return QProcess::startDetached(xdgOpen, {QString::fromLatin1(encodedUrl)});
    return QDesktopServices::openUrl(url);
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

} // namespace Desktop

#include "CommandLine.h"

namespace CommandLine {

namespace {

const QString kUsage =
    QStringLiteral("Usage: vexilo [--help] [--version]\n"
                   "Opens an installed application in another language than your usual one.\n"
                   "\n"
                   "  --help     show this text and exit\n"
                   "  --version  show Vexilo's version and exit\n"
                   "\n"
                   "Qt's own options (-platform, -display, -style, ...) are also understood.\n");

// Qt's options that take a value, which is no argument of Vexilo's.
const QStringList kQtOptionsWithValue{"-platform",      "-display",     "-style",
                                      "-stylesheet",    "-session",     "-qwindowgeometry",
                                      "-qwindowtitle",  "-qwindowicon", "-platformpluginpath",
                                      "-platformtheme", "-plugin",      "-widgetcount"};

// Whether a window can be opened at all: a platform that needs no display server, or the
// display server the platform (or, unnamed, Qt's choice between the two) needs.
bool hasDisplay(const QString &platform, const std::function<QString(const char *)> &env)
{
    const bool x11 = !env("DISPLAY").isEmpty();
    const bool wayland = !env("WAYLAND_DISPLAY").isEmpty();
    if (platform.isEmpty())
        return x11 || wayland;
    for (const QString &name : platform.split(u';', Qt::SkipEmptyParts)) {
        const QString plugin = name.section(u':', 0, 0);
        if (plugin == u"xcb" ? x11 : plugin.startsWith(u"wayland") ? wayland : true)
            return true;
    }
    return false;
}

} // namespace

Request parse(const QStringList &arguments, const std::function<QString(const char *)> &environment)
{
    QString platform = environment("QT_QPA_PLATFORM");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--help" || argument == u"-h")
            return {Command::Help, kUsage, 0};
        if (argument == u"--version")
            return {Command::Version, QStringLiteral("Vexilo %1\n").arg(VEXILO_VERSION), 0};
        if (kQtOptionsWithValue.contains(argument) && i + 1 < arguments.size()) {
            if (argument == u"-platform")
                platform = arguments.at(i + 1);
            ++i;
            continue;
        }
        if (argument.startsWith(u'-') && !argument.startsWith(u"--"))
            continue;
        return {Command::Refused,
                QStringLiteral("vexilo: unknown argument %1 (see vexilo --help)\n").arg(argument),
                2};
    }
    if (!hasDisplay(platform, environment))
        return {Command::Refused,
                QStringLiteral("vexilo: no display to open the window on (neither DISPLAY nor "
                               "WAYLAND_DISPLAY is set)\n"),
                1};
    return {};
}

} // namespace CommandLine

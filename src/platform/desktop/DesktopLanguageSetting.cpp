#include "platform/desktop/DesktopLanguageSetting.h"

#include "platform/desktop/DesktopExec.h"
#include "platform/desktop/DesktopLaunch.h"
#include "platform/desktop/FlatpakOverride.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/process/ToolRun.h"

#include <QFileInfo>

namespace DesktopLanguageSetting {

namespace {

using Owner = DesktopOverride::Owner;
using Result = DesktopOverride::Result;

// Runs the flatpak tool, at most kToolBound; true when it ended well.
bool runFlatpak(const DesktopEntries &entries, const QStringList &arguments)
{
    const QString tool = DesktopExec::findProgram(QStringLiteral("flatpak"), entries.setup().path);
    return !tool.isEmpty() && ToolRun::run(tool, arguments, kToolBound).succeeded();
}

// The service file the session bus starts a DBusActivatable application from: the first of
// the data folders' (the user's own folder, where Vexilo writes, left out); empty for others.
QString originalService(const DesktopApplication &app, const DesktopEntries &entries)
{
    const QString name = DesktopOverride::serviceName(app.id);
    if (!app.dbusActivatable || name.isEmpty())
        return {};
    for (const QString &data : entries.dataFolders()) {
        const QString folder = data + QStringLiteral("/dbus-1/services");
        if (folder == entries.setup().userServices)
            continue;
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".service");
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

} // namespace

DesktopOverride::Found find(const DesktopApplication &app, const DesktopEntries &entries,
                            const QProcessEnvironment &environment)
{
    if (!app.flatpakId.isEmpty())
        return FlatpakOverride::find(app.flatpakId, environment);
    return DesktopOverride::find(entries.userFolder(), app.id);
}

DesktopOverride::Result set(const DesktopApplication &app, const DesktopEntries &entries,
                            const QString &code, const QProcessEnvironment &user)
{
    if (code.isEmpty())
        return Result::Failed;
    // Nothing starts here: no activation variables.
    const QProcessEnvironment child =
        LaunchEnvironment::withActivation(DesktopLaunch::environment(app, code, user), {}, {});
    if (app.flatpakId.isEmpty()) {
        const QString option = app.chromium ? QStringLiteral("--lang=") + code : QString();
        const QStringList assignments = DesktopLaunch::changedVariables(user, child);
        const QString name = DesktopOverride::serviceName(app.id);
        const QString service = originalService(app, entries);
        const QString services = entries.setup().userServices;
        if (!service.isEmpty() && DesktopOverride::findService(services, name).owner == Owner::User)
            return Result::UserFile;
        const Result result = DesktopOverride::write(entries.userFolder(), app.id, app.path, code,
                                                     assignments, option);
        if (result != Result::Done || service.isEmpty())
            return result;
        const Result written =
            DesktopOverride::writeService(services, name, service, code, assignments);
        // Half a setting would open the application in the language from the menu only.
        if (written != Result::Done)
            DesktopOverride::remove(entries.userFolder(), app.id);
        return written;
    }
    if (!FlatpakOverride::isValidId(app.flatpakId))
        return Result::Failed;
    if (find(app, entries, user).owner == Owner::User)
        return Result::UserFile;
    const QString language = child.value(QStringLiteral("LANGUAGE"));
    if (!runFlatpak(entries, FlatpakOverride::setArguments(app.flatpakId, code, language)))
        return Result::Failed;
    const DesktopOverride::Found now = find(app, entries, user);
    return now.owner == Owner::Vexilo && now.language == code ? Result::Done : Result::Failed;
}

DesktopOverride::Result reset(const DesktopApplication &app, const DesktopEntries &entries,
                              const QProcessEnvironment &user)
{
    if (app.flatpakId.isEmpty()) {
        const Result entry = DesktopOverride::remove(entries.userFolder(), app.id);
        // Vexilo's service file goes with the entry's override; another's is no concern here.
        const QString services = entries.setup().userServices;
        const QString name = DesktopOverride::serviceName(app.id);
        Result service = Result::Done;
        if (!name.isEmpty() && DesktopOverride::findService(services, name).owner == Owner::Vexilo)
            service = DesktopOverride::removeService(services, name);
        if (entry == Result::Failed || service == Result::Failed)
            return Result::Failed;
        return entry;
    }
    if (!FlatpakOverride::isValidId(app.flatpakId))
        return Result::Failed;
    switch (find(app, entries, user).owner) {
    case Owner::Nobody:
        return Result::Done;
    case Owner::User:
        return Result::UserFile;
    case Owner::Vexilo:
        break;
    }
    if (!runFlatpak(entries, FlatpakOverride::unsetArguments(app.flatpakId)))
        return Result::Failed;
    return find(app, entries, user).owner == Owner::Nobody ? Result::Done : Result::Failed;
}

} // namespace DesktopLanguageSetting

#include "platform/desktop/DesktopLanguageSetting.h"

#include "platform/desktop/DesktopExec.h"
#include "platform/desktop/DesktopLaunch.h"
#include "platform/desktop/FlatpakOverride.h"
#include "platform/process/LaunchEnvironment.h"
#include "platform/process/ToolRun.h"

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
    const QProcessEnvironment child = LaunchEnvironment::forLanguage(
        user, code, LaunchEnvironment::existingUtf8Locale(), LaunchEnvironment::localeExists);
    if (app.flatpakId.isEmpty()) {
        const QString option = app.chromium ? QStringLiteral("--lang=") + code : QString();
        return DesktopOverride::write(entries.userFolder(), app.id, app.path, code,
                                      DesktopLaunch::changedVariables(user, child), option);
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
    if (app.flatpakId.isEmpty())
        return DesktopOverride::remove(entries.userFolder(), app.id);
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

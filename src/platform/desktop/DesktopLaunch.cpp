#include "platform/desktop/DesktopLaunch.h"

#include "platform/desktop/DesktopExec.h"
#include "platform/desktop/ProgramFiles.h"
#include "platform/locale/PrivateLocales.h"
#include "platform/process/LaunchEnvironment.h"

namespace DesktopLaunch {

namespace {

bool readsLocale(const DesktopApplication &app, const QString &language)
{
    return !language.isEmpty() && app.flatpakId.isEmpty() &&
           ProgramFiles::readsLanguageFromLocale(app.program);
}

} // namespace

QStringList changedVariables(const QProcessEnvironment &user, const QProcessEnvironment &child)
{
    QStringList changed;
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LC_CTYPE", "LANG"}) {
        const QString key = QString::fromLatin1(name);
        if (child.contains(key) && child.value(key) != user.value(key))
            changed.append(key + QLatin1Char('=') + child.value(key));
    }
    return changed;
}

Command command(const DesktopApplication &app, const QString &language,
                const QProcessEnvironment &user, const QProcessEnvironment &child,
                const QString &path)
{
    Command command;
    command.environment = child;
    QStringList arguments = app.arguments;
    const qsizetype program = DesktopExec::programIndex(arguments);
    if (program < 0)
        return command;
    if (!language.isEmpty() && app.chromium)
        arguments.insert(program + 1, QStringLiteral("--lang=") + language);
    if (!app.flatpakId.isEmpty()) {
        const qsizetype run = arguments.indexOf(QStringLiteral("run"), program + 1);
        if (run > 0) {
            const QStringList changed = changedVariables(user, child);
            for (qsizetype i = 0; i < changed.size(); ++i)
                arguments.insert(run + 1 + i, QStringLiteral("--env=") + changed.at(i));
        }
    }
    command.program = DesktopExec::findProgram(arguments.first(), path);
    command.arguments = arguments.mid(1);
    return command;
}

QProcessEnvironment environment(const DesktopApplication &app, const QString &language,
                                const QProcessEnvironment &user)
{
    const QProcessEnvironment child = LaunchEnvironment::forLanguage(user, language);
    if (!readsLocale(app, language))
        return child;
    return LaunchEnvironment::withMessagesLocale(child, language, LaunchEnvironment::localeExists);
}

Command command(const DesktopApplication &app, const QString &language,
                const QProcessEnvironment &user)
{
    QProcessEnvironment child = environment(app, language, user);
    // Such a program sets the locale it reads and gives up on one the machine lacks.
    if (readsLocale(app, language))
        child = PrivateLocales::withMissingLocales(child, PrivateLocales::machineSetup(user));
    return command(app, language, user, child, user.value(QStringLiteral("PATH")));
}

} // namespace DesktopLaunch

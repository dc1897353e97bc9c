#include "MenuEntryListing.h"

#include "language/LanguageDisplay.h"
#include "language/LanguageList.h"
#include "language/StartProgram.h"
#include "platform/Platform.h"
#include "platform/desktop/DesktopLanguageSetting.h"
#include "platform/desktop/DesktopLaunch.h"
#include "platform/desktop/DesktopProcesses.h"
#include "platform/desktop/Translations.h"
#include "platform/locale/LocalizationMatch.h"
#include "text/Texts.h"

std::shared_ptr<MenuEntryListing> MenuEntryListing::read(const DesktopApplication &app,
                                                         const DesktopEntries &entries,
                                                         bool withLanguages)
{
    auto listing = std::make_shared<MenuEntryListing>(Private{});
    listing->m_path = app.path;
    listing->m_name = app.name;
    listing->m_identifier = app.id;
    listing->m_iconFile = app.iconFile;
    listing->m_app = app;
    if (withLanguages) {
        const Translations::Found found = Translations::find(app, entries.setup());
        listing->m_app.chromium = found.chromium;
        listing->m_app.untranslatedLanguage = found.untranslated;
        listing->m_langs = LanguageList::sortedByDisplayName(found.codes);
    }
    return listing;
}

AppListingPtr MenuEntryListing::reread(const Platform &platform) const
{
    if (platform.desktopEntries) {
        if (const auto app = platform.desktopEntries->application(m_identifier))
            return read(*app, *platform.desktopEntries, true);
    }
    // The menu no longer shows it: what it was, without languages.
    auto gone = std::make_shared<MenuEntryListing>(Private{});
    gone->m_path = m_path;
    gone->m_name = m_name;
    gone->m_identifier = m_identifier;
    gone->m_iconFile = m_iconFile;
    gone->m_app = m_app;
    return gone;
}

QString MenuEntryListing::ownLanguage(const QStringList &preferredLanguages) const
{
    // The first of the languages asked for that it has; else, as gettext and Qt programs fall
    // back to the texts they are written in, that language when it counts among its languages.
    const QString match = LocalizationMatch::firstMatch(m_langs, preferredLanguages);
    if (!match.isEmpty())
        return match;
    const QString &untranslated = m_app.untranslatedLanguage;
    return !untranslated.isEmpty() && m_langs.contains(untranslated) ? untranslated : QString();
}

AppListing::StoredSetting MenuEntryListing::readStoredLanguage(const Platform &platform) const
{
    if (!platform.desktopEntries)
        return {};
    const DesktopOverride::Found found = DesktopLanguageSetting::find(
        m_app, *platform.desktopEntries, QProcessEnvironment::systemEnvironment());
    switch (found.owner) {
    case DesktopOverride::Owner::Vexilo:
        return {found.language, {}};
    case DesktopOverride::Owner::User:
        return {std::nullopt, found.path};
    case DesktopOverride::Owner::Nobody:
        break;
    }
    return {};
}

AppListing::SettingChange
MenuEntryListing::changeStoredLanguage(const Platform &platform,
                                       const std::optional<QString> &code) const
{
    if (!platform.desktopEntries)
        return {SettingChange::Result::Failed, {}};
    const DesktopEntries &entries = *platform.desktopEntries;
    const QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
    const DesktopOverride::Result result =
        code ? DesktopLanguageSetting::set(m_app, entries, *code, user)
             : DesktopLanguageSetting::reset(m_app, entries, user);
    switch (result) {
    case DesktopOverride::Result::Done:
        return {SettingChange::Result::Done, {}};
    case DesktopOverride::Result::UserFile:
        return {SettingChange::Result::UserFile,
                DesktopLanguageSetting::find(m_app, entries, user).path};
    case DesktopOverride::Result::Failed:
        break;
    }
    return {SettingChange::Result::Failed,
            Vexilo::tr("The file that sets its language could not be written.")};
}

AppListing::StartOutcome MenuEntryListing::start(Processes &processes, StartMode,
                                                 const QString &language) const
{
    // Its Exec line, with the language in its environment: once, or as the override says.
    const DesktopLaunch::Command command =
        DesktopLaunch::command(m_app, language, QProcessEnvironment::systemEnvironment());
    if (command.program.isEmpty())
        return {false, Vexilo::tr("The program it runs is not installed.")};
    return StartProgram::startAndRaise(processes, m_path, command.program, command.arguments,
                                       command.environment);
}

QList<qint64> MenuEntryListing::runningCopies(const Processes &processes) const
{
    return DesktopProcesses::running(m_app, processes);
}

QString MenuEntryListing::runningLanguage(const Processes &, qint64 pid,
                                          const std::optional<QString> &) const
{
    // The language its own environment asks for: the override, if any, set it there. A process
    // that hides its environment opened in a language nobody can tell.
    const std::optional<QStringList> asked = DesktopProcesses::knownLanguagesOf(pid);
    if (!asked)
        return {};
    QStringList wanted = *asked;
    for (QString &language : wanted)
        language = Translations::fromGettext(language);
    const QString own = ownLanguage(wanted);
    return own.isEmpty() ? QString() : LanguageDisplay::name(own);
}

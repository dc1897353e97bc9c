#include "RunningInstances.h"

#include "InstanceLanguage.h"
#include "LanguageDisplay.h"
#include "catalogue/AppListing.h"
#include "platform/bundle/Bundle.h"
#include "platform/desktop/DesktopProcesses.h"
#include "platform/desktop/Translations.h"
#include "platform/locale/LanguageNames.h"
#include "platform/process/Processes.h"
#include "text/Texts.h"

namespace {

QList<RunningApplication> instancesOf(const Processes &processes, const QString &identifier)
{
    QList<RunningApplication> found;
    if (identifier.isEmpty())
        return found;
    for (const RunningApplication &app : processes.launchedApplications()) {
        if (app.bundleIdentifier == identifier)
            found.append(app);
    }
    return found;
}

// The language a running copy of a menu application shows: the first of the languages its
// environment asks for that it has; else, as gettext and Qt programs fall back to the texts
// they are written in, English when it has been counted among its languages.
QString desktopInstanceLanguage(const AppListing &listing, qint64 pid)
{
    QStringList wanted = DesktopProcesses::languagesOf(pid);
    for (QString &language : wanted)
        language = Translations::fromGettext(language);
    QString name = InstanceLanguage::nameForOwnChoice(wanted, listing.langs());
    const QString untranslated = listing.desktop()->untranslatedLanguage;
    if (name.isEmpty() && !untranslated.isEmpty() && listing.langs().contains(untranslated))
        name = LanguageDisplay::name(untranslated);
    return name;
}

} // namespace

RunningInstances::RunningInstances(std::shared_ptr<const Processes> processes)
    : m_processes(std::move(processes))
{
}

bool RunningInstances::isAppRunning(const AppListing *listing) const
{
    if (!listing)
        return false;
    if (listing->desktop())
        return !DesktopProcesses::running(*listing->desktop(), *m_processes).isEmpty();
    // The identifier the bundle declares now, not the one read when the listing was made.
    const auto bundle = Bundle::bundleWithPath(listing->path());
    if (!bundle)
        return false;
    return !instancesOf(*m_processes, bundle->bundleIdentifier()).isEmpty();
}

QString RunningInstances::currentInstanceLanguageString(const AppListing &listing,
                                                        const std::optional<QString> &stored) const
{
    if (listing.desktop()) {
        const QList<qint64> pids = DesktopProcesses::running(*listing.desktop(), *m_processes);
        const QString name =
            pids.isEmpty() ? QString() : desktopInstanceLanguage(listing, pids.first());
        return name.isEmpty() ? QString() : formatText(Vexilo::tr("Currently open in %@."), {name});
    }
    const QList<RunningApplication> running = instancesOf(*m_processes, listing.identifier());
    if (running.isEmpty())
        return {};
    const QByteArray report = m_processes->commandLineReport(running.first().processIdentifier);

    QString name;
    if (const auto code = InstanceLanguage::languageArgument(report))
        name = InstanceLanguage::nameForArgument(*code);
    else if (stored)
        name = LanguageDisplay::name(*stored);
    else
        name = InstanceLanguage::nameForOwnChoice(LanguageNames::preferredLanguages(),
                                                  listing.langs());
    if (name.isEmpty())
        return {};
    return formatText(Vexilo::tr("Currently open in %@."), {name});
}

#include "RunningInstances.h"

#include "Bundle.h"
#include "InstanceLanguage.h"
#include "LanguageDisplay.h"
#include "LanguageNames.h"
#include "Processes.h"
#include "catalogue/AppListing.h"
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

} // namespace

RunningInstances::RunningInstances(std::shared_ptr<const Processes> processes)
    : m_processes(std::move(processes))
{
}

bool RunningInstances::isAppRunning(const AppListing *listing) const
{
    if (!listing)
        return false;
    // The identifier the bundle declares now, not the one read when the listing was made.
    const auto bundle = Bundle::bundleWithPath(listing->path());
    if (!bundle)
        return false;
    return !instancesOf(*m_processes, bundle->bundleIdentifier()).isEmpty();
}

QString RunningInstances::currentInstanceLanguageString(const AppListing &listing,
                                                        const std::optional<QString> &stored) const
{
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

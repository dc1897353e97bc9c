#include "RunningInstances.h"

#include "catalogue/AppListing.h"
#include "platform/process/Processes.h"
#include "text/Texts.h"

RunningInstances::RunningInstances(std::shared_ptr<const Processes> processes)
    : m_processes(std::move(processes))
{
}

bool RunningInstances::isAppRunning(const AppListing *listing) const
{
    return listing && !listing->runningCopies(*m_processes).isEmpty();
}

QString RunningInstances::currentInstanceLanguageString(const AppListing &listing,
                                                        const std::optional<QString> &stored) const
{
    const QList<qint64> copies = listing.runningCopies(*m_processes);
    if (copies.isEmpty())
        return {};
    const QString name = listing.runningLanguage(*m_processes, copies.first(), stored);
    // A copy runs whatever its language: Launch must ask before it starts another.
    if (name.isEmpty())
        return Vexilo::tr("Currently open.");
    return formatText(Vexilo::tr("Currently open in %@."), {name});
}

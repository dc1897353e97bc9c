#include "AlwaysOpen.h"

#include "LaunchWorker.h"
#include "RunningInstances.h"
#include "StoredLanguages.h"
#include "panel/Selection.h"
#include "platform/Platform.h"
#include "text/Texts.h"

AlwaysOpen::AlwaysOpen(std::shared_ptr<const Platform> platform, const Selection &selection,
                       StoredLanguages &storedLanguages, const RunningInstances &runningInstances,
                       LaunchWorker &worker, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)), m_selection(selection),
      m_storedLanguages(storedLanguages), m_runningInstances(runningInstances), m_worker(worker)
{
    connect(&m_worker, &LaunchWorker::event, this, &AlwaysOpen::workReported);
}

SheetText AlwaysOpen::question(const Facts &facts)
{
    const QString &app = facts.applicationName;
    if (facts.entryChecked) {
        const QString title = Vexilo::tr("Reset to default language?");
        if (facts.running)
            return {title, formatText(Vexilo::tr("Vexilo will need to quit %@."), {app}), true};
        return {title, formatText(Vexilo::tr("%@ will always open in the system language."), {app}),
                true};
    }
    const QString title = formatText(Vexilo::tr("Always open in %@?"), {facts.language});
    if (facts.running && facts.storedName)
        return {title,
                formatText(Vexilo::tr("%@ currently opens in %@.\nVexilo will need to quit it "
                                      "first."),
                           {app, *facts.storedName}),
                true};
    if (facts.running)
        return {title, formatText(Vexilo::tr("Vexilo will need to quit %@."), {app}), true};
    if (facts.storedName)
        return {title,
                formatText(Vexilo::tr("%@ currently opens in %@."), {app, *facts.storedName}),
                true};
    return {title, Vexilo::tr("This can be changed at any time."), true};
}

void AlwaysOpen::request()
{
    m_asked.reset();
    const AppListingPtr listing = m_selection.current();
    const PanelContent &panel = m_selection.panel();
    const int language = panel.selectedEntry - Panel::kFirstLanguage;
    // One change at a time: a launch or change under way is left to finish.
    // An application without identifier has no preferences of its own.
    if (!listing || listing->identifier().isEmpty() || !panel.hasAlwaysOpenEntry() ||
        language < 0 || language >= listing->langs().size() || m_worker.isBusy())
        return;

    // Someone else's setting is left as it is: say so rather than ask.
    if (listing->desktop() && listing->desktopSetting().owner == DesktopOverride::Owner::User) {
        emit confirmationNeeded(
            keptNotice(listing->localizedAppName(), listing->desktopSetting().path));
        return;
    }

    Facts facts;
    facts.running = m_runningInstances.isAppRunning(listing.get());
    facts.entryChecked = panel.entries.first().checked;
    if (const auto stored = m_storedLanguages.storedLanguage(listing->identifier()))
        facts.storedName = localizedStoredLanguage(*stored);
    facts.applicationName = listing->localizedAppName();
    facts.language = panel.entries.at(panel.selectedEntry).title;

    m_asked = LaunchWork::StoredLanguageChange{
        listing->path(), listing->identifier(),
        facts.entryChecked ? std::nullopt : std::optional(listing->langs().at(language)),
        listing->desktop()};
    m_askedName = facts.applicationName;
    emit confirmationNeeded(question(facts));
}

void AlwaysOpen::confirm()
{
    if (!m_asked)
        return;
    const LaunchWork::StoredLanguageChange change = *std::exchange(m_asked, std::nullopt);
    m_worker.run([platform = m_platform, change](const LaunchWork::Report &report) {
        LaunchWork::changeStoredLanguage(*platform, change, report);
    });
}

SheetText AlwaysOpen::keptNotice(const QString &name, const QString &userFile)
{
    const QString title = Vexilo::tr("The language was not changed");
    if (userFile.isEmpty())
        return {title,
                formatText(Vexilo::tr("Vexilo could not change the language %@ opens in."), {name}),
                false};
    return {title,
            formatText(Vexilo::tr("%@ is set up to open by a file that Vexilo did not write:\n%@\n"
                                  "Vexilo leaves it as it is."),
                       {name, userFile}),
            false};
}

void AlwaysOpen::workReported(const LaunchEvent &event)
{
    if (event.kind == LaunchEvent::Kind::StoredLanguageKept)
        emit confirmationNeeded(keptNotice(m_askedName, event.userFile));
}

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
    if (!listing || !panel.hasAlwaysOpenEntry() || language < 0 ||
        language >= listing->langs().size())
        return;
    const QString name = listing->localizedAppName();
    // The entry waits while a launch or change runs; one that came through all the same is told.
    if (m_worker.isBusy()) {
        emit confirmationNeeded(
            keptNotice(name, {}, Vexilo::tr("Wait until Vexilo has finished opening it.")));
        return;
    }
    if (const QString why = listing->whyNoStoredLanguage(); !why.isEmpty()) {
        emit confirmationNeeded(keptNotice(name, {}, why));
        return;
    }
    // Someone else's setting is left as it is: say so rather than ask.
    const AppListing::StoredSetting stored = m_storedLanguages.setting(*listing);
    if (!stored.foreignFile.isEmpty()) {
        emit confirmationNeeded(keptNotice(name, stored.foreignFile));
        return;
    }

    Facts facts;
    facts.running = m_runningInstances.isAppRunning(listing.get());
    facts.entryChecked = panel.entries.first().checked;
    if (stored.code)
        facts.storedName = localizedStoredLanguage(*stored.code);
    facts.applicationName = name;
    facts.language = panel.entries.at(panel.selectedEntry).title;

    m_asked = LaunchWork::StoredLanguageChange{
        listing, facts.entryChecked ? std::nullopt : std::optional(listing->langs().at(language)),
        name};
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

SheetText AlwaysOpen::keptNotice(const QString &name, const QString &userFile,
                                 const QString &reason)
{
    const QString title = Vexilo::tr("The language was not changed");
    if (userFile.isEmpty()) {
        QString message =
            formatText(Vexilo::tr("Vexilo could not change the language %@ opens in."), {name});
        if (!reason.isEmpty())
            message += QStringLiteral("\n\n") + reason;
        return {title, message, false};
    }
    return {title,
            formatText(Vexilo::tr("%@ is set up to open by a file that Vexilo did not write:\n%@\n"
                                  "Vexilo leaves it as it is."),
                       {name, userFile}),
            false};
}

void AlwaysOpen::workReported(const LaunchEvent &event)
{
    if (event.kind == LaunchEvent::Kind::StoredLanguageKept)
        emit confirmationNeeded(keptNotice(event.name, event.userFile, event.failure));
}

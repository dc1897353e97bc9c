#include "Launcher.h"

#include "LaunchWorker.h"
#include "panel/Selection.h"
#include "platform/Platform.h"
#include "text/Texts.h"

Launcher::Launcher(std::shared_ptr<const Platform> platform, const Selection &selection,
                   LaunchWorker &worker, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)), m_selection(selection), m_worker(worker)
{
}

SheetText Launcher::quitQuestion(const QString &name, const QString &language)
{
    return {Vexilo::tr("Quit?"),
            formatText(Vexilo::tr("%@ is already open. Are you sure you want to quit it and then "
                                  "re-open it in %@?"),
                       {name, language}),
            true};
}

void Launcher::launch()
{
    const PanelContent &panel = m_selection.panel();
    const bool chosen = panel.selectedEntry >= 0 && panel.selectedEntry < panel.entries.size();
    if (!panel.launchEnabled || !chosen || m_worker.isBusy())
        return;
    if (!panel.runningLineVisible)
        start(false);
    else
        emit quitConfirmationNeeded(
            quitQuestion(panel.name, panel.entries.at(panel.selectedEntry).title));
}

void Launcher::quitAndLaunch()
{
    start(true);
}

void Launcher::start(bool quitFirst)
{
    m_worker.run([platform = m_platform, choice = m_selection.launchChoice(),
                  quitFirst](const LaunchWork::Report &report) {
        LaunchWork::launch(*platform->processes, *choice, quitFirst, report);
    });
}

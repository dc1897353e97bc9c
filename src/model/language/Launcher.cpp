#include "Launcher.h"

#include "LaunchWorker.h"
#include "panel/Selection.h"
#include "platform/Platform.h"
#include "text/Texts.h"

Launcher::Launcher(std::shared_ptr<const Platform> platform, const Selection &selection,
                   LaunchWorker &worker, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)), m_selection(selection), m_worker(worker)
{
    connect(&m_worker, &LaunchWorker::event, this, &Launcher::workReported);
}

SheetText Launcher::quitQuestion(const QString &name, const QString &language)
{
    return {Vexilo::tr("Quit?"),
            formatText(Vexilo::tr("%@ is already open. Are you sure you want to quit it and then "
                                  "re-open it in %@?"),
                       {name, language}),
            true};
}

SheetText Launcher::startFailure(const QString &name, const QString &reason)
{
    return {formatText(Vexilo::tr("%@ could not be opened."), {name}), reason, false};
}

void Launcher::launch()
{
    const PanelContent &panel = m_selection.panel();
    // While the row's new selection is gathered the panel still holds the one before, which is
    // not the application a Return or double click on the row means.
    if (!panel.launchEnabled || m_worker.isBusy() || !m_selection.isSettled())
        return;
    const LaunchChoice choice = m_selection.launchChoice();
    if (!choice.launchable())
        return;
    m_asked = choice;
    if (!panel.runningLineVisible)
        start(false);
    else
        emit quitConfirmationNeeded(quitQuestion(choice.name, choice.title));
}

void Launcher::quitAndLaunch()
{
    start(true);
}

void Launcher::start(bool quitFirst)
{
    m_worker.run(
        [platform = m_platform, choice = m_asked, quitFirst](const LaunchWork::Report &report) {
            LaunchWork::launch(*platform->processes, choice, quitFirst, report);
        });
}

void Launcher::workReported(const LaunchEvent &event)
{
    if (event.kind == LaunchEvent::Kind::Started && !event.failure.isEmpty())
        emit noticeNeeded(startFailure(event.name, event.failure));
}

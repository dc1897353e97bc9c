#include "Selection.h"

#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "platform/Platform.h"
#include "platform/locale/LanguageNames.h"
#include "text/Texts.h"
#include "work/WorkPools.h"

#include <QFileInfo>
#include <QTimer>
#include <QtConcurrentRun>

namespace {

// A selection gathered in the background shows the name alone once it has taken this long, so
// the panel never names one application while the row shows another for long.
constexpr int kProvisionalMs = 150;

} // namespace

Selection::Selection(std::shared_ptr<const Platform> platform, StoredLanguages &storedLanguages,
                     RunningInstances &runningInstances, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)), m_storedLanguages(storedLanguages),
      m_runningInstances(runningInstances)
{
    connect(&m_gathering, &QFutureWatcher<SelectionFacts>::finished, this, [this] {
        m_gatheringRuns = false;
        // Only the latest selection is shown: one made meanwhile is gathered now, and the
        // facts of those passed over are never gathered at all.
        if (!m_pending)
            return;
        if (m_gathered != m_pending)
            return gatherPending();
        const SelectionFacts facts = m_gathering.result();
        m_pending.reset();
        show(facts);
        emit settled();
    });
    connect(&m_runningScan, &QFutureWatcher<QString>::finished, this, [this] {
        if (m_scanned != m_current || m_pending || !m_panel.showsApplication)
            return;
        m_panel.runningLine = m_runningScan.result();
        m_panel.runningLineVisible = !m_panel.runningLine.isEmpty();
        emit panelChanged(m_panel);
    });
}

Selection::~Selection()
{
    // The work holds only values of its own; it may finish after this object is gone.
    m_gathering.disconnect(this);
    m_runningScan.disconnect(this);
}

SelectionFacts Selection::gather(const Platform &platform, const AppListingPtr &listing,
                                 const RunningInstances &runningInstances)
{
    SelectionFacts facts;
    facts.app = listing->reread(platform);
    // Vexilo's own bundle wherever it lies and whatever it is called; another bundle named
    // "Vexilo" is an ordinary application.
    const QString own = QFileInfo(platform.mainBundlePath).canonicalFilePath();
    facts.ownEntry = !own.isEmpty() && QFileInfo(facts.app->path()).canonicalFilePath() == own;
    if (facts.ownEntry)
        return facts;
    facts.stored = facts.app->readStoredLanguage(platform);
    facts.ownLanguage = facts.app->ownLanguage(LanguageNames::preferredLanguages());
    facts.runningLine =
        runningInstances.currentInstanceLanguageString(*facts.app, facts.stored.code);
    return facts;
}

Panel::StoredIndex Selection::storedIndex() const
{
    return [this]() -> std::optional<int> {
        if (!m_current)
            return std::nullopt;
        const std::optional<QString> code = m_storedLanguages.storedLanguage(*m_current);
        if (!code)
            return std::nullopt;
        return indexOfStoredLanguage(*code, m_current->langs());
    };
}

void Selection::select(const AppListingPtr &listing)
{
    if (!listing)
        return;
    m_pending.reset();
    show(gather(*m_platform, listing, m_runningInstances));
}

void Selection::selectInBackground(const AppListingPtr &listing)
{
    if (!listing)
        return;
    m_pending = listing;
    // One gathering at a time, so that a held arrow key gathers only where it stops; one that
    // takes long (a hanging tool) is not waited for.
    if (!m_gatheringRuns || m_gatherClock.hasExpired(kProvisionalMs))
        gatherPending();
    QTimer::singleShot(kProvisionalMs, this, [this, listing] {
        if (m_pending != listing)
            return;
        m_panel = Panel::blank();
        m_panel.showsApplication = true;
        m_panel.name = listing->name();
        m_panel.launching = m_launching;
        emit panelChanged(m_panel);
    });
}

void Selection::gatherPending()
{
    m_gathered = m_pending;
    m_gatheringRuns = true;
    m_gatherClock.start();
    m_gathering.setFuture(
        QtConcurrent::run(WorkPools::gathering(), [platform = m_platform, listing = m_pending,
                                                   running = m_runningInstances] {
            return gather(*platform, listing, running);
        }));
}

void Selection::show(const SelectionFacts &facts)
{
    m_current = facts.app;
    m_ownEntry = facts.ownEntry;
    m_storedLanguages.store(m_current->identifier(), facts.stored);
    if (m_ownEntry) {
        m_panel = Panel::forOwnEntry(m_current->localizedAppName(), m_current->langs());
        // Vexilo runs, in the language it shows itself in: no line of its own is needed.
    } else {
        m_panel = Panel::forApplication(m_current->localizedAppName(), m_current->langs(),
                                        storedIndex(), facts.ownLanguage);
        updateAlwaysOpenEntry();
        m_panel.runningLine = facts.runningLine;
        m_panel.runningLineVisible = !facts.runningLine.isEmpty();
    }
    publish();
}

void Selection::clear()
{
    m_pending.reset();
    m_panel = Panel::blank();
    m_panel.launching = m_launching;
    emit panelChanged(m_panel);
}

void Selection::chooseLanguage(int entry)
{
    Panel::chooseLanguage(m_panel, entry, storedIndex());
    publish();
}

void Selection::setLaunching(bool launching)
{
    m_launching = launching;
    m_panel.launching = launching;
    updateAlwaysOpenEntry();
    emit panelChanged(m_panel);
}

void Selection::updateAlwaysOpenEntry()
{
    if (!m_current || !m_panel.hasAlwaysOpenEntry())
        return;
    PopUpEntry &entry = m_panel.entries.first();
    const QString why = m_current->whyNoStoredLanguage();
    entry.enabled = why.isEmpty() && !m_launching;
    entry.toolTip = !why.isEmpty() ? why
                    : m_launching  ? Vexilo::tr("Wait until Vexilo has finished opening it.")
                                   : QString();
}

bool Selection::isCurrent(const QString &path) const
{
    return m_current && m_panel.showsApplication && m_current->path() == path && !m_ownEntry;
}

void Selection::applyLaunchEvent(const LaunchEvent &event)
{
    switch (event.kind) {
    case LaunchEvent::Kind::StoredLanguageChanged:
        m_storedLanguages.remember(event.identifier, event.storedLanguage);
        // Marked when the chosen language is the one now stored.
        if (isCurrent(event.path) && m_panel.hasAlwaysOpenEntry()) {
            const std::optional<int> stored = storedIndex()();
            m_panel.entries[0].checked =
                stored && *stored == m_panel.selectedEntry - Panel::kFirstLanguage;
        }
        break;
    case LaunchEvent::Kind::StoredLanguageKept:
        // Nothing changed: the mark stays as it was.
        return;
    case LaunchEvent::Kind::Started:
        if (!isCurrent(event.path))
            return;
        if (event.running && !event.title.isEmpty()) {
            m_panel.runningLine = formatText(Vexilo::tr("Currently open in %@."), {event.title});
            m_panel.runningLineVisible = true;
        } else {
            // Nothing started, it ended at once, or it chose its language itself: what runs
            // now tells.
            refreshRunning();
        }
        break;
    }
    emit panelChanged(m_panel);
}

LaunchChoice Selection::launchChoice() const
{
    LaunchChoice choice;
    const int language = m_panel.selectedEntry - Panel::kFirstLanguage;
    if (!m_current || !m_panel.hasAlwaysOpenEntry() || !m_panel.launchEnabled || language < 0 ||
        language >= m_current->langs().size())
        return choice;
    choice.app = m_current;
    choice.code = m_current->langs().at(language);
    choice.title = m_panel.entries.at(m_panel.selectedEntry).title;
    choice.name = m_panel.name;
    return choice;
}

void Selection::publish()
{
    m_panel.launching = m_launching;
    emit panelChanged(m_panel);
}

void Selection::refreshRunning()
{
    if (!m_current || !m_panel.showsApplication || m_ownEntry || m_pending)
        return;
    // The application may have quit, or been started again in another language meanwhile: the
    // processes are looked through on another thread.
    m_scanned = m_current;
    m_runningScan.setFuture(QtConcurrent::run(
        WorkPools::gathering(),
        [app = m_current, running = m_runningInstances,
         stored = m_storedLanguages.knownStoredLanguage(m_current->identifier())] {
            return running.currentInstanceLanguageString(*app, stored);
        }));
}

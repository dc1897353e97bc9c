#include "Selection.h"

#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"
#include "platform/Platform.h"
#include "platform/locale/LanguageNames.h"
#include "text/Texts.h"

#include <QFileInfo>

Selection::Selection(std::shared_ptr<const Platform> platform, StoredLanguages &storedLanguages,
                     RunningInstances &runningInstances, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)), m_storedLanguages(storedLanguages),
      m_runningInstances(runningInstances)
{
}

bool Selection::isOwnEntry(const AppListing &listing) const
{
    // Vexilo's own bundle wherever it lies and whatever it is called; another bundle named
    // "Vexilo" is an ordinary application.
    const QString own = QFileInfo(m_platform->mainBundlePath).canonicalFilePath();
    return !own.isEmpty() && QFileInfo(listing.path()).canonicalFilePath() == own;
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
    m_current = listing->reread(*m_platform);
    m_storedLanguages.forget(m_current->identifier());

    if (isOwnEntry(*m_current)) {
        m_panel = Panel::forOwnEntry(m_current->localizedAppName(), m_current->langs());
        // Vexilo runs, in the language it shows itself in: no line of its own is needed.
    } else {
        m_panel =
            Panel::forApplication(m_current->localizedAppName(), m_current->langs(), storedIndex(),
                                  m_current->ownLanguage(LanguageNames::preferredLanguages()));
        updateAlwaysOpenEntry();
        updateRunningLine();
    }
    publish();
}

void Selection::clear()
{
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
    return m_current && m_panel.showsApplication && m_current->path() == path &&
           !isOwnEntry(*m_current);
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
            updateRunningLine();
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
    if (!m_current || !m_panel.showsApplication || isOwnEntry(*m_current))
        return;
    // The application may have quit, or been started again in another language meanwhile.
    updateRunningLine();
    emit panelChanged(m_panel);
}

void Selection::updateRunningLine()
{
    m_panel.runningLine = m_runningInstances.currentInstanceLanguageString(
        *m_current, m_storedLanguages.knownStoredLanguage(m_current->identifier()));
    m_panel.runningLineVisible = !m_panel.runningLine.isEmpty();
}

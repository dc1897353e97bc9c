#include "Selection.h"

#include "Platform.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"

Selection::Selection(std::shared_ptr<const Platform> platform, StoredLanguages &storedLanguages,
                     RunningInstances &runningInstances, QObject *parent)
    : QObject(parent), m_platform(std::move(platform)), m_storedLanguages(storedLanguages),
      m_runningInstances(runningInstances)
{
}

bool Selection::isOwnEntry(const AppListing &listing) const
{
    return listing.name() == QLatin1String("Vexilo");
}

Panel::StoredIndex Selection::storedIndex() const
{
    return [this]() -> std::optional<int> {
        if (!m_current)
            return std::nullopt;
        const std::optional<QString> code =
            m_storedLanguages.storedLanguage(m_current->identifier());
        if (!code)
            return std::nullopt;
        return indexOfStoredLanguage(*code, m_current->langs());
    };
}

void Selection::select(const AppListingPtr &listing)
{
    if (!listing)
        return;
    m_current = AppListing::fromPath(listing->path(), *m_platform->workspace);
    m_storedLanguages.forget(m_current->identifier());

    if (isOwnEntry(*m_current)) {
        m_panel = Panel::forOwnEntry(m_current->localizedAppName(), m_current->langs());
        // Vexilo runs, in the language it shows itself in: no line of its own is needed.
    } else {
        m_panel =
            Panel::forApplication(m_current->localizedAppName(), m_current->langs(), storedIndex());
        m_panel.runningLine = m_runningInstances.currentInstanceLanguageString(
            *m_current, m_storedLanguages.knownStoredLanguage(m_current->identifier()));
        m_panel.runningLineVisible = !m_panel.runningLine.isEmpty();
    }
    emit panelChanged(m_panel);
}

void Selection::clear()
{
    m_panel = Panel::blank();
    emit panelChanged(m_panel);
}

void Selection::chooseLanguage(int entry)
{
    Panel::chooseLanguage(m_panel, entry, storedIndex());
    emit panelChanged(m_panel);
}

void Selection::refreshRunning()
{
    if (!m_current || !m_panel.showsApplication)
        return;
    m_panel.runningLineVisible = m_runningInstances.isAppRunning(m_current.get());
    emit panelChanged(m_panel);
}

#include "Selection.h"

#include "Platform.h"
#include "language/RunningInstances.h"
#include "language/StoredLanguages.h"

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
        updateRunningLine();
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
    if (!m_current || !m_panel.showsApplication || isOwnEntry(*m_current))
        return;
    // The application may have quit, or been started again in another language, meanwhile.
    updateRunningLine();
    emit panelChanged(m_panel);
}

void Selection::updateRunningLine()
{
    m_panel.runningLine = m_runningInstances.currentInstanceLanguageString(
        *m_current, m_storedLanguages.knownStoredLanguage(m_current->identifier()));
    m_panel.runningLineVisible = !m_panel.runningLine.isEmpty();
}

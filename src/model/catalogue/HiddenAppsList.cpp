#include "HiddenAppsList.h"

#include "CatalogueChanges.h"
#include "text/Texts.h"

HiddenAppsList::HiddenAppsList(QList<AppListingPtr> apps, const QStringList &hidden)
    : m_apps(std::move(apps)), m_initial(hidden), m_initialSet(hidden.cbegin(), hidden.cend()),
      m_hidden(m_initialSet)
{
}

AppListingPtr HiddenAppsList::listing(int row) const
{
    return row >= 0 && row < m_apps.size() ? m_apps.at(row) : nullptr;
}

QString HiddenAppsList::name(int row) const
{
    const AppListingPtr l = listing(row);
    return l ? l->localizedAppName() : QString();
}

bool HiddenAppsList::isInvalid(int row) const
{
    const AppListingPtr l = listing(row);
    return l && l->invalid();
}

std::optional<bool> HiddenAppsList::isShown(int row) const
{
    const AppListingPtr l = listing(row);
    if (!l || l->invalid())
        return std::nullopt;
    return !l->identifier().isEmpty() ? !m_hidden.contains(l->identifier()) : true;
}

bool HiddenAppsList::canSwitch(int row) const
{
    const AppListingPtr l = listing(row);
    return l && !l->invalid() && !l->identifier().isEmpty();
}

QString HiddenAppsList::toolTip(int row) const
{
    const AppListingPtr l = listing(row);
    if (!l)
        return {};
    if (l->invalid())
        return Vexilo::tr("This app has been moved or deleted.");
    if (l->identifier().isEmpty())
        return Vexilo::tr("This app has no bundle identifier, so Vexilo cannot hide it.");
    return {};
}

bool HiddenAppsList::setShown(int row, bool shown)
{
    if (!canSwitch(row))
        return false;
    const QString identifier = m_apps.at(row)->identifier();
    if (shown)
        m_hidden.remove(identifier);
    else
        m_hidden.insert(identifier);
    return true;
}

QStringList HiddenAppsList::skipped() const
{
    QStringList out;
    for (const QString &identifier : m_initial) {
        if (m_hidden.contains(identifier))
            out.append(identifier);
    }
    return out + changes().hidden;
}

HiddenAppsList::Changes HiddenAppsList::changes() const
{
    Changes changes;
    for (const QString &identifier : m_initial) {
        if (!m_hidden.contains(identifier) && !changes.shown.contains(identifier))
            changes.shown.append(identifier);
    }
    // In the list's order, so the stored array grows as the user sees it.
    for (const AppListingPtr &l : m_apps) {
        const QString &identifier = l->identifier();
        if (m_hidden.contains(identifier) && !m_initialSet.contains(identifier) &&
            !changes.hidden.contains(identifier))
            changes.hidden.append(identifier);
    }
    return changes;
}

QVariantList HiddenAppsList::applied(const QVariantList &stored, const Changes &changes)
{
    QVariantList result = CatalogueChanges::without(stored, changes.shown);
    const QStringList present = CatalogueChanges::strings(result);
    for (const QString &identifier : changes.hidden) {
        if (!present.contains(identifier))
            result.append(identifier);
    }
    return result;
}

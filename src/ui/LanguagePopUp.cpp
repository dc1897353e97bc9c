#include "LanguagePopUp.h"

#include "AccessibleFactory.h"
#include "Elision.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>

namespace {
constexpr int kMaxTextWidth = 320;
constexpr int kMaxMenuWidth = 480;
} // namespace

LanguagePopUp::LanguagePopUp(QWidget *parent) : QPushButton(parent), m_menu(new QMenu(this))
{
    installAccessibleFactory();
    m_menu->setToolTipsVisible(true);
    setMenu(m_menu);
}

void LanguagePopUp::setEntries(const QList<PopUpEntry> &entries, int selected)
{
    bool same = entries.size() == m_items.size();
    for (qsizetype i = 0; same && i < entries.size(); ++i)
        same = entries.at(i).kind == m_kinds.at(i) && entries.at(i).title == itemTitle(int(i));
    if (!same)
        rebuild(entries);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).kind == PopUpEntry::Kind::Separator)
            continue;
        m_items.at(i)->setChecked(entries.at(i).checked);
        // A command that cannot be used now says why.
        m_items.at(i)->setEnabled(entries.at(i).enabled);
        m_items.at(i)->setToolTip(entries.at(i).toolTip);
    }
    select(selected);
}

void LanguagePopUp::rebuild(const QList<PopUpEntry> &entries)
{
    m_menu->clear();
    m_items.clear();
    m_kinds.clear();
    for (const PopUpEntry &entry : entries) {
        const int index = int(m_items.size());
        m_kinds.append(entry.kind);
        if (entry.kind == PopUpEntry::Kind::Separator) {
            m_items.append(m_menu->addSeparator());
            continue;
        }
        // A language a bundle names by a folder of its own can be long: the menu shows it
        // elided, and keeps it whole.
        QAction *action =
            m_menu->addAction(Elision::name(entry.title, m_menu->fontMetrics(), kMaxMenuWidth));
        action->setData(entry.title);
        action->setCheckable(true);
        // Triggering toggles a checkable action; the marks are the panel's, so it is put back.
        connect(action, &QAction::triggered, this, [this, action, index](bool checked) {
            action->setChecked(!checked);
            pick(index);
        });
        m_items.append(action);
    }
}

QString LanguagePopUp::itemTitle(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index)->data().toString() : QString();
}

bool LanguagePopUp::isSeparator(int index) const
{
    return index >= 0 && index < m_kinds.size() && m_kinds.at(index) == PopUpEntry::Kind::Separator;
}

bool LanguagePopUp::isSpecial(int index) const
{
    return index >= 0 && index < m_kinds.size() &&
           m_kinds.at(index) == PopUpEntry::Kind::AlwaysOpen;
}

bool LanguagePopUp::itemState(int index) const
{
    return index >= 0 && index < m_items.size() && m_items.at(index)->isChecked();
}

void LanguagePopUp::select(int index)
{
    if (index < 0 || index >= m_items.size() || isSeparator(index)) {
        m_selected = -1;
        setText(QString());
        return;
    }
    m_selected = index;
    const QString shown = Elision::name(itemTitle(index), fontMetrics(), kMaxTextWidth);
    if (shown == text())
        return;
    setText(shown);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, itemTitle(index));
        QAccessible::updateAccessibility(&event);
    }
}

void LanguagePopUp::pick(int index)
{
    if (index < 0 || index >= m_items.size() || isSeparator(index) ||
        !m_items.at(index)->isEnabled())
        return;
    select(index);
    if (isSpecial(index))
        emit specialItemChosen(index);
    else
        emit itemChosen(index);
}

#include "LanguagePopUp.h"

#include <QAction>
#include <QMenu>

namespace {
const char *const kSpecial = "vexiloSpecial";
}

LanguagePopUp::LanguagePopUp(QWidget *parent) : QPushButton(parent), m_menu(new QMenu(this))
{
    setMenu(m_menu);
    // The menu shows check marks only where the program has set them.
    m_menu->setToolTipsVisible(true);
}

void LanguagePopUp::removeAllItems()
{
    m_menu->clear();
    m_items.clear();
    m_selected = -1;
    setText(QString());
}

void LanguagePopUp::addItem(const QString &title)
{
    QAction *action = m_menu->addAction(title);
    action->setCheckable(true);
    const int index = int(m_items.size());
    // Triggering toggles a checkable action; the state is the program's, so it is put back.
    connect(action, &QAction::triggered, this, [this, action, index](bool checked) {
        action->setChecked(!checked);
        pick(index);
    });
    m_items.append(action);
}

void LanguagePopUp::addSpecialItem(const QString &title)
{
    addItem(title);
    m_items.last()->setProperty(kSpecial, true);
}

void LanguagePopUp::addSeparator()
{
    m_items.append(m_menu->addSeparator());
}

QString LanguagePopUp::itemTitle(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index)->text() : QString();
}

bool LanguagePopUp::isSeparator(int index) const
{
    return index >= 0 && index < m_items.size() && m_items.at(index)->isSeparator();
}

bool LanguagePopUp::isSpecial(int index) const
{
    return index >= 0 && index < m_items.size() && m_items.at(index)->property(kSpecial).toBool();
}

void LanguagePopUp::selectItemAtIndex(int index)
{
    if (index < 0 || index >= m_items.size() || isSeparator(index))
        return;
    m_selected = index;
    setText(m_items.at(index)->text());
}

bool LanguagePopUp::itemState(int index) const
{
    return index >= 0 && index < m_items.size() && m_items.at(index)->isChecked();
}

void LanguagePopUp::setItemState(int index, bool on)
{
    if (index >= 0 && index < m_items.size() && !isSeparator(index))
        m_items.at(index)->setChecked(on);
}

void LanguagePopUp::pick(int index)
{
    if (index < 0 || index >= m_items.size() || isSeparator(index))
        return;
    selectItemAtIndex(index);
    if (isSpecial(index))
        emit specialItemChosen(index);
    else
        emit itemChosen(index);
}

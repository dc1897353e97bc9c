#include "LanguagePopUpAccessible.h"

#include "LanguagePopUp.h"

#include <QMenu>

LanguagePopUpAccessible::LanguagePopUpAccessible(LanguagePopUp *popUp)
    : QAccessibleWidget(popUp, QAccessible::ComboBox)
{
}

LanguagePopUp *LanguagePopUpAccessible::popUp() const
{
    return static_cast<LanguagePopUp *>(widget());
}

QMenu *LanguagePopUpAccessible::menu() const
{
    return popUp()->menu();
}

int LanguagePopUpAccessible::childCount() const
{
    return menu() ? 1 : 0;
}

QAccessibleInterface *LanguagePopUpAccessible::child(int index) const
{
    return index == 0 && menu() ? QAccessible::queryAccessibleInterface(menu()) : nullptr;
}

int LanguagePopUpAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    return child && menu() && child->object() == menu() ? 0 : -1;
}

QString LanguagePopUpAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return popUp()->itemTitle(popUp()->indexOfSelectedItem());
    return QAccessibleWidget::text(t);
}

void *LanguagePopUpAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

void LanguagePopUpAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

QString LanguagePopUpAccessible::text(int startOffset, int endOffset) const
{
    const QString value = text(QAccessible::Value);
    if (endOffset < 0 || endOffset > value.size())
        endOffset = int(value.size());
    startOffset = qBound(0, startOffset, endOffset);
    return value.mid(startOffset, endOffset - startOffset);
}

int LanguagePopUpAccessible::characterCount() const
{
    return int(text(QAccessible::Value).size());
}

QString LanguagePopUpAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

QAccessible::State LanguagePopUpAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.hasPopup = true;
    state.expanded = menu() && menu()->isVisible();
    state.collapsed = !state.expanded;
    return state;
}

QStringList LanguagePopUpAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (popUp()->isEnabled())
        names.prepend(showMenuAction());
    return names;
}

void LanguagePopUpAccessible::doAction(const QString &name)
{
    if (name != showMenuAction() && name != pressAction())
        return QAccessibleWidget::doAction(name);
    // Later: the menu runs its own loop, and the caller waits for this call to return.
    if (popUp()->isEnabled())
        QMetaObject::invokeMethod(popUp(), &QPushButton::showMenu, Qt::QueuedConnection);
}

#pragma once

#include "panel/PanelContent.h"

#include <QList>
#include <QPushButton>

class QAction;
class QMenu;

// A pop-up button whose entries carry the check marks the panel gives them: picking an entry
// selects it (its title shows on the button) but never moves a check mark by itself. Entries
// are indexed in order, separators included.
class LanguagePopUp : public QPushButton {
    Q_OBJECT
public:
    explicit LanguagePopUp(QWidget *parent = nullptr);

    // Shows these entries with `selected` chosen. Entries of the same kinds and titles as those
    // shown are updated in place, so an entry being picked is never deleted under the user.
    void setEntries(const QList<PopUpEntry> &entries, int selected);

    int numberOfItems() const { return int(m_items.size()); }
    QString itemTitle(int index) const;
    bool isSeparator(int index) const;
    bool isSpecial(int index) const;
    // -1 when nothing is selected.
    int indexOfSelectedItem() const { return m_selected; }
    bool itemState(int index) const;

    // What the user does, as the menu would: select, then report.
    void pick(int index);

signals:
    void itemChosen(int index);
    // The always-open entry.
    void specialItemChosen(int index);

private:
    void rebuild(const QList<PopUpEntry> &entries);
    void select(int index);

    QMenu *m_menu;
    QList<QAction *> m_items;
    QList<PopUpEntry::Kind> m_kinds;
    int m_selected = -1;
};

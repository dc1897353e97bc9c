#pragma once

#include <QList>
#include <QPushButton>

class QAction;
class QMenu;

// A pop-up button whose items carry check marks set by the program: picking an item selects it
// (its title shows on the button) but never moves a check mark by itself. Items are indexed in
// order, separators included.
class LanguagePopUp : public QPushButton {
    Q_OBJECT
public:
    explicit LanguagePopUp(QWidget *parent = nullptr);

    void removeAllItems();
    // An item that reports through itemChosen.
    void addItem(const QString &title);
    // An item with an action of its own, reported through specialItemChosen.
    void addSpecialItem(const QString &title);
    void addSeparator();

    int numberOfItems() const { return int(m_items.size()); }
    QString itemTitle(int index) const;
    bool isSeparator(int index) const;
    bool isSpecial(int index) const;

    // -1 when nothing is selected.
    int indexOfSelectedItem() const { return m_selected; }
    void selectItemAtIndex(int index);

    bool itemState(int index) const;
    void setItemState(int index, bool on);

    // What the user does, as the menu would: select, then report.
    void pick(int index);

signals:
    void itemChosen(int index);
    void specialItemChosen(int index);

private:
    QMenu *m_menu;
    QList<QAction *> m_items;
    int m_selected = -1;
};

#pragma once

#include <QAccessibleWidget>

class LanguagePopUp;
class QMenu;

// The language pop-up as a screen reader expects a pop-up button: a combo box whose value is
// the chosen entry and whose child is its menu, so the menu's entries (with their check marks)
// can be reached and picked without opening it first.
class LanguagePopUpAccessible : public QAccessibleWidget {
public:
    explicit LanguagePopUpAccessible(LanguagePopUp *popUp);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString &name) override;

private:
    LanguagePopUp *popUp() const;
    QMenu *menu() const;
};

#pragma once

#include <QAccessibleWidget>

class LanguagePopUp;
class QMenu;

// The language pop-up as a screen reader expects a pop-up button: a combo box whose value, and
// read-only text, is the chosen entry and whose child is its menu, so the menu's entries (with
// their check marks) can be reached and picked without opening it first. AT-SPI carries no
// value as text: readers take a combo box's text.
class LanguagePopUpAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit LanguagePopUpAccessible(LanguagePopUp *popUp);

    void *interface_cast(QAccessible::InterfaceType t) override;
    // The text: the chosen entry, whole, without selection or cursor.
    void selection(int, int *startOffset, int *endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    using QAccessibleWidget::text;
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString &name) override;

private:
    LanguagePopUp *popUp() const;
    QMenu *menu() const;
};

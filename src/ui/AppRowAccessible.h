#pragma once

#include <QAccessibleWidget>
#include <QHash>

class AppRowView;

// What a screen reader sees of the icon row: a list named like the row, with one item per
// shown application (its name, whether it is selected, its position, where it is drawn), and
// the selected item as the list's focus while the row has keyboard focus.
class AppRowAccessible : public QAccessibleWidget {
public:
    explicit AppRowAccessible(AppRowView *row);
    ~AppRowAccessible() override;

    // What the row tells assistive technology about.
    static void listChanged(AppRowView *row);
    static void selectionChanged(AppRowView *row, int previous, int index);
    static void focused(AppRowView *row);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    static AppRowAccessible *of(AppRowView *row);
    AppRowView *row() const;
    void forgetChildren();

    mutable QHash<int, QAccessible::Id> m_children;
};

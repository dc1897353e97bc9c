#include "AppRowAccessible.h"

#include "AppRowView.h"
#include "row/RowGeometry.h"

#include <QPointer>
#include <QWindow>

namespace {

// One icon of the row. It has no object of its own: it stands for a position in the shown list
// and is valid while that position exists.
class AppRowItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AppRowItemAccessible(AppRowView *row, int index) : m_row(row), m_index(index) {}

    const AppRowView *row() const { return m_row; }
    int index() const { return m_index; }

    bool isValid() const override { return listing() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_row ? m_row->window()->windowHandle() : nullptr; }

    QAccessibleInterface *parent() const override
    {
        return m_row ? QAccessible::queryAccessibleInterface(m_row) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        const AppListingPtr item = listing();
        return item && t == QAccessible::Name ? item->localizedAppName() : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect cell = RowGeometry::iconRect(m_index, selected());
        return {m_row->mapToGlobal(cell.topLeft()), cell.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = selected();
        state.focused = state.selected && m_row->hasFocus();
        const QRect cell = RowGeometry::iconRect(m_index, state.selected);
        state.offscreen = !m_row->isVisible() || !m_row->visibleArea().intersects(cell);
        state.invisible = !m_row->isVisible();
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        // After the reply: selecting asks the application's stored language, which takes a
        // moment.
        if (name == pressAction() && m_row) {
            QMetaObject::invokeMethod(
                m_row, [row = m_row, index = m_index] { row->activate(index); },
                Qt::QueuedConnection);
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    AppListingPtr listing() const { return m_row ? m_row->browser().shownAt(m_index) : nullptr; }
    bool selected() const { return m_row && m_row->browser().selected() == m_index; }

    QPointer<AppRowView> m_row;
    int m_index;
};

} // namespace

AppRowAccessible::AppRowAccessible(AppRowView *row) : QAccessibleWidget(row, QAccessible::List) {}

AppRowAccessible::~AppRowAccessible()
{
    forgetChildren();
}

AppRowView *AppRowAccessible::row() const
{
    return static_cast<AppRowView *>(widget());
}

AppRowAccessible *AppRowAccessible::of(AppRowView *row)
{
    if (!QAccessible::isActive())
        return nullptr;
    return dynamic_cast<AppRowAccessible *>(QAccessible::queryAccessibleInterface(row));
}

int AppRowAccessible::childCount() const
{
    return int(row()->browser().shown().size());
}

QAccessibleInterface *AppRowAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const QAccessible::Id id = m_children.value(index))
        return QAccessible::accessibleInterface(id);
    auto *item = new AppRowItemAccessible(row(), index);
    m_children.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int AppRowAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *item = dynamic_cast<const AppRowItemAccessible *>(child);
    return item && item->row() == row() && item->index() < childCount() ? item->index() : -1;
}

QAccessibleInterface *AppRowAccessible::childAt(int x, int y) const
{
    const QPoint point = row()->mapFromGlobal(QPoint(x, y));
    return child(RowGeometry::indexAt(point, childCount(), row()->browser().selected()));
}

QAccessibleInterface *AppRowAccessible::focusChild() const
{
    return row()->hasFocus() ? child(row()->browser().selected()) : nullptr;
}

void AppRowAccessible::forgetChildren()
{
    for (const QAccessible::Id id : std::as_const(m_children))
        QAccessible::deleteAccessibleInterface(id);
    m_children.clear();
}

void AppRowAccessible::listChanged(AppRowView *row)
{
    AppRowAccessible *list = of(row);
    if (!list)
        return;
    list->forgetChildren();
    QAccessibleEvent event(list, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&event);
}

void AppRowAccessible::selectionChanged(AppRowView *row, int previous, int index)
{
    AppRowAccessible *list = of(row);
    if (!list)
        return;
    QAccessible::State selected;
    selected.selected = true;
    for (int changed : {previous, index}) {
        if (QAccessibleInterface *item = list->child(changed)) {
            QAccessibleStateChangeEvent event(item, selected);
            QAccessible::updateAccessibility(&event);
        }
    }
    if (QAccessibleInterface *item = list->child(index)) {
        QAccessibleEvent selection(item, QAccessible::Selection);
        QAccessible::updateAccessibility(&selection);
        if (row->hasFocus()) {
            QAccessibleEvent focus(item, QAccessible::Focus);
            QAccessible::updateAccessibility(&focus);
        }
    }
}

void AppRowAccessible::focused(AppRowView *row)
{
    AppRowAccessible *list = of(row);
    if (!list)
        return;
    if (QAccessibleInterface *item = list->child(row->browser().selected())) {
        QAccessibleEvent focus(item, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

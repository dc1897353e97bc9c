#include "HiddenAppsTableModel.h"

#include "text/Texts.h"

#include <QBrush>

namespace {

const QString kShown = QStringLiteral("shown");
const QString kApplicationName = QStringLiteral("applicationName");
// The check box first, where the eye starts a row.
const QStringList kColumns{kShown, kApplicationName};

} // namespace

HiddenAppsTableModel::HiddenAppsTableModel(HiddenAppsList list, QObject *parent)
    : QAbstractTableModel(parent), m_list(std::move(list))
{
}

QString HiddenAppsTableModel::identifier(int column) const
{
    return kColumns.value(column);
}

int HiddenAppsTableModel::column(const QString &identifier) const
{
    return int(kColumns.indexOf(identifier));
}

int HiddenAppsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.count();
}

int HiddenAppsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kColumns.size());
}

QVariant HiddenAppsTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    if (role == Qt::ToolTipRole) {
        const QString tip = m_list.toolTip(row);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    if (identifier(index.column()) == kApplicationName) {
        switch (role) {
        case Qt::DisplayRole:
            return m_list.name(row);
        case Qt::ForegroundRole:
            return QBrush(m_list.isInvalid(row) ? Qt::red : Qt::white);
        default:
            return {};
        }
    }
    switch (role) {
    case Qt::CheckStateRole:
        // A moved or deleted application has no value, which shows as off.
        return m_list.isShown(row).value_or(false) ? Qt::Checked : Qt::Unchecked;
    case Qt::AccessibleTextRole:
        return m_list.name(row);
    default:
        return {};
    }
}

bool HiddenAppsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || identifier(index.column()) != kShown)
        return false;
    if (!m_list.setShown(index.row(), value.toInt() == Qt::Checked))
        return false;
    // Rows of the same identifier follow.
    emit dataChanged(this->index(0, index.column()),
                     this->index(m_list.count() - 1, index.column()), {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags HiddenAppsTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (identifier(index.column()) == kApplicationName)
        return Qt::ItemIsEnabled;
    // Not selectable: the check box is all there is to a row.
    return m_list.canSwitch(index.row()) ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable
                                         : Qt::NoItemFlags;
}

QVariant HiddenAppsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == ColumnIdentifierRole)
        return identifier(section);
    if (role != Qt::DisplayRole)
        return {};
    return identifier(section) == kShown ? Vexilo::tr("Shown") : Vexilo::tr("Application");
}

#pragma once

#include "catalogue/HiddenAppsList.h"

#include <QAbstractTableModel>
#include <QStringList>

// The hidden-applications list as a table: a check box column "shown" and a name column
// "applicationName", found by those identifiers rather than by position. Names of moved or
// deleted applications are red; rows cannot be selected.
class HiddenAppsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // headerData() of a column under this role is its identifier.
    static constexpr int ColumnIdentifierRole = Qt::UserRole + 1;

    explicit HiddenAppsTableModel(HiddenAppsList list, QObject *parent = nullptr);

    const HiddenAppsList &list() const { return m_list; }
    // The column with this identifier; -1 for none.
    int column(const QString &identifier) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString identifier(int column) const;

    HiddenAppsList m_list;
};

#pragma once

#include "users.h"

#include <QAbstractTableModel>
#include <QList>

// The rows of the user list, fetched whole (a handful of users). The flag columns give a check state, not the
// letters; the row id column is for the window, not for showing.
class UserListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { CodeColumn, NameColumn, AdminColumn, EditColumn, RowIdColumn };

    using QAbstractTableModel::QAbstractTableModel;

    void setUsers(QList<UserRecord> users);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<UserRecord> m_users;
};

#include "userlistmodel.h"

void UserListModel::setUsers(QList<UserRecord> users)
{
    beginResetModel();
    m_users = std::move(users);
    endResetModel();
}

int UserListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_users.size());
}

int UserListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : RowIdColumn + 1;
}

QVariant UserListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_users.size())
        return {};
    const UserRecord &user = m_users.at(index.row());
    const bool text = role == Qt::DisplayRole || role == Qt::EditRole;
    switch (index.column()) {
    case CodeColumn:
        return text ? QVariant(user.code) : QVariant();
    case NameColumn:
        return text ? QVariant(user.name) : QVariant();
    case AdminColumn:
    case EditColumn:
        if (role != Qt::CheckStateRole)
            return {};
        return (index.column() == AdminColumn ? user.admin : user.masterEdit) ? Qt::Checked : Qt::Unchecked;
    case RowIdColumn:
        return text ? user.rowId : QVariant();
    }
    return {};
}

QVariant UserListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList titles{QStringLiteral("kód"), QStringLiteral("felhasználó"),
                                    QStringLiteral("rendszergazda"), QStringLiteral("szerkesztés")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < titles.size())
        return titles.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

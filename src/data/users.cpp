#include "users.h"

#include "engine.h"
#include "query.h"

namespace {

const QString Table = QStringLiteral("felhasznalo");
const QString Columns = QStringLiteral("SELECT rowid, felhasznalo, felhasznalo_nev, jelszo, rendszergazda, "
                                       "torzsszerkeszt FROM felhasznalo ");

QString Flag(bool on)
{
    return on ? QStringLiteral("I") : QStringLiteral("N");
}

// Every row of a query over Columns.
QList<UserRecord> Users(Query &q)
{
    q.open();
    QList<UserRecord> users;
    while (q.next()) {
        UserRecord user;
        user.rowId = q.value(0);
        user.code = q.value(1).toString();
        user.name = q.value(2).toString();
        // NULL stays apart from an empty text: a user without a password never logs in.
        user.password = q.value(3).isNull() ? QString() : q.value(3).toString();
        user.admin = q.value(4).toString() == QLatin1String("I");
        user.masterEdit = q.value(5).toString() == QLatin1String("I");
        users.append(user);
    }
    return users;
}

} // namespace

std::optional<UserRecord> FindUser(Engine &engine, const QString &code, const QString &password)
{
    if (code.isEmpty() || password.isEmpty())
        return std::nullopt;
    // SQLite compares texts byte by byte, so the code must match in letter case as well.
    Query q(engine, Columns + QStringLiteral("WHERE felhasznalo = :pfelhasznalo;"));
    q.setText(QStringLiteral("pfelhasznalo"), code);
    for (const UserRecord &user : Users(q))
        if (!user.password.isEmpty() && user.password == password)
            return user;
    return std::nullopt;
}

bool StorePassword(Engine &engine, const QString &code, const QString &password)
{
    return engine.update(Table, QStringLiteral("felhasznalo"), code, {{QStringLiteral("jelszo"), password}}) > 0;
}

QList<UserRecord> ListUsers(Engine &engine)
{
    Query q(engine, Columns + QStringLiteral("ORDER BY felhasznalo;"));
    return Users(q);
}

std::optional<UserRecord> ReadUser(Engine &engine, const QVariant &rowId)
{
    Query q(engine, Columns + QStringLiteral("WHERE rowid = :prowid;"));
    q.setValue(QStringLiteral("prowid"), rowId);
    const QList<UserRecord> users = Users(q);
    if (users.isEmpty())
        return std::nullopt;
    return users.first();
}

QVariant SaveUser(Engine &engine, const UserRecord &user)
{
    const QVariantMap row{
        {QStringLiteral("felhasznalo"), user.code},
        {QStringLiteral("felhasznalo_nev"), user.name},
        {QStringLiteral("jelszo"), user.password},
        {QStringLiteral("rendszergazda"), Flag(user.admin)},
        {QStringLiteral("torzsszerkeszt"), Flag(user.masterEdit)},
    };
    if (user.rowId.isNull())
        return engine.insert(Table, row);
    engine.update(Table, QStringLiteral("rowid"), user.rowId, row);
    return user.rowId;
}

void DeleteUser(Engine &engine, const QVariant &rowId)
{
    engine.remove(Table, QStringLiteral("rowid"), rowId);
}

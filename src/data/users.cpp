#include "users.h"

#include "engine.h"
#include "eventlog.h"
#include "passwordhash.h"
#include "query.h"

namespace {

const QString Table = QStringLiteral("felhasznalo");
const QString Columns = QStringLiteral("SELECT rowid, felhasznalo, felhasznalo_nev, jelszo, rendszergazda, "
                                       "torzsszerkeszt FROM felhasznalo ");

QString Flag(bool on)
{
    return on ? QStringLiteral("I") : QStringLiteral("N");
}

struct StoredUser
{
    UserRecord record;
    QString password; // jelszo as stored: a hash, or plain text from an older version
};

// Every row of a query over Columns.
QList<StoredUser> Users(Query &q)
{
    q.open();
    QList<StoredUser> users;
    while (q.next()) {
        StoredUser user;
        user.record.rowId = q.value(0);
        user.record.code = q.value(1).toString();
        user.record.name = q.value(2).toString();
        // NULL stays apart from an empty text: a user without a password never logs in.
        user.password = q.value(3).isNull() ? QString() : q.value(3).toString();
        user.record.hasPassword = !user.password.isEmpty();
        user.record.admin = q.value(4).toString() == QLatin1String("I");
        user.record.masterEdit = q.value(5).toString() == QLatin1String("I");
        users.append(user);
    }
    return users;
}

QList<UserRecord> Records(const QList<StoredUser> &users)
{
    QList<UserRecord> records;
    for (const StoredUser &user : users)
        records.append(user.record);
    return records;
}

QString StoredHash(const QString &password)
{
    return HashPassword(password.left(PasswordLength));
}

// Puts the hash in place of the stored value, unless another workstation changed the password meanwhile.
void ReplaceStoredPassword(Engine &engine, const StoredUser &user, const QString &hash)
{
    Query q(engine, QStringLiteral("UPDATE felhasznalo SET jelszo = :phash WHERE rowid = :prowid AND jelszo = :pold;"));
    q.setText(QStringLiteral("phash"), hash);
    q.setValue(QStringLiteral("prowid"), user.record.rowId);
    q.setText(QStringLiteral("pold"), user.password);
    q.exec();
}

// What the event log tells of a user: never the password.
QString UserEventText(const UserRecord &user)
{
    return QStringLiteral("%1 (%2), rendszergazda: %3, törzsszerkesztés: %4")
        .arg(user.code, user.name, Flag(user.admin), Flag(user.masterEdit));
}

} // namespace

std::optional<UserRecord> FindUser(Engine &engine, const QString &code, const QString &password)
{
    if (code.isEmpty() || password.isEmpty())
        return std::nullopt;
    // SQLite compares texts byte by byte, so the code must match in letter case as well.
    Query q(engine, Columns + QStringLiteral("WHERE felhasznalo = :pfelhasznalo;"));
    q.setText(QStringLiteral("pfelhasznalo"), code);
    for (const StoredUser &user : Users(q)) {
        if (!PasswordMatches(user.password, password))
            continue;
        if (NeedsNewHash(user.password)) {
            // The login does not depend on this write: a read-only or busy database keeps the old value until
            // the next login.
            try {
                ReplaceStoredPassword(engine, user, HashPassword(password));
            } catch (const EngineError &) {
            }
        }
        return user.record;
    }
    return std::nullopt;
}

bool StorePassword(Engine &engine, const QString &code, const QString &password)
{
    Transaction transaction(engine);
    if (engine.update(Table, QStringLiteral("felhasznalo"), code, {{QStringLiteral("jelszo"), StoredHash(password)}}) == 0)
        return false;
    LogEvent(engine, {QStringLiteral("Jelszócsere"), code, 0, 0, code});
    transaction.commit();
    return true;
}

int HashPlainPasswords(Engine &engine)
{
    Transaction transaction(engine);
    Query q(engine, Columns + QStringLiteral("WHERE jelszo IS NOT NULL;"));
    int hashed = 0;
    for (const StoredUser &user : Users(q)) {
        if (user.password.isEmpty() || IsPasswordHash(user.password))
            continue;
        ReplaceStoredPassword(engine, user, HashPassword(user.password));
        ++hashed;
    }
    transaction.commit();
    return hashed;
}

QList<UserRecord> ListUsers(Engine &engine)
{
    Query q(engine, Columns + QStringLiteral("ORDER BY felhasznalo;"));
    return Records(Users(q));
}

std::optional<UserRecord> ReadUser(Engine &engine, const QVariant &rowId)
{
    Query q(engine, Columns + QStringLiteral("WHERE rowid = :prowid;"));
    q.setValue(QStringLiteral("prowid"), rowId);
    const QList<StoredUser> users = Users(q);
    if (users.isEmpty())
        return std::nullopt;
    return users.first().record;
}

QVariant SaveUser(Engine &engine, const UserRecord &user, const QString &byUser)
{
    QVariantMap row{
        {QStringLiteral("felhasznalo"), user.code},
        {QStringLiteral("felhasznalo_nev"), user.name},
        {QStringLiteral("rendszergazda"), Flag(user.admin)},
        {QStringLiteral("torzsszerkeszt"), Flag(user.masterEdit)},
    };
    if (!user.password.isEmpty())
        row.insert(QStringLiteral("jelszo"), StoredHash(user.password));
    Transaction transaction(engine);
    const bool added = user.rowId.isNull();
    const QVariant rowId = added ? QVariant(engine.insert(Table, row)) : user.rowId;
    if (!added)
        engine.update(Table, QStringLiteral("rowid"), rowId, row);
    LogEvent(engine, {added ? QStringLiteral("Új felhasználó") : QStringLiteral("Felhasználó módosítása"), byUser, 0,
                      rowId.toLongLong(), UserEventText(user)});
    transaction.commit();
    return rowId;
}

void DeleteUser(Engine &engine, const QVariant &rowId, const QString &byUser)
{
    Transaction transaction(engine);
    const std::optional<UserRecord> user = ReadUser(engine, rowId);
    if (engine.remove(Table, QStringLiteral("rowid"), rowId) > 0 && user)
        LogEvent(engine, {QStringLiteral("Felhasználó törlése"), byUser, 0, rowId.toLongLong(), UserEventText(*user)});
    transaction.commit();
}

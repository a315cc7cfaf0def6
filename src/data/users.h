#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

class Engine;

// A row of the users table (felhasznalo).
struct UserRecord
{
    QVariant rowId;          // null for a user not stored yet
    QString code;            // felhasznalo
    QString name;            // felhasznalo_nev
    QString password;        // jelszo
    bool admin = false;      // rendszergazda 'I'
    bool masterEdit = false; // torzsszerkeszt 'I'
};

// The user whose code and password equal the typed ones exactly: letter case and blanks count. A user with
// an empty stored password never passes. Engine errors are thrown.
std::optional<UserRecord> FindUser(Engine &engine, const QString &code, const QString &password);

// Stores the user's new password (cut to the field's width by the engine); false when no such user exists.
bool StorePassword(Engine &engine, const QString &code, const QString &password);

// Every user in code order.
QList<UserRecord> ListUsers(Engine &engine);
// The user of that row id; nothing when the row is gone.
std::optional<UserRecord> ReadUser(Engine &engine, const QVariant &rowId);
// Adds the user (null row id) or rewrites its row; returns the row id. An empty or taken code is refused with
// EngineError.
QVariant SaveUser(Engine &engine, const UserRecord &user);
void DeleteUser(Engine &engine, const QVariant &rowId);

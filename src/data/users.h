#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

class Engine;

// The most characters of a password that count: a longer one is kept cut to its first ten.
constexpr qsizetype PasswordLength = 10;

// A row of the users table (felhasznalo). The stored password (jelszo, a hash) never leaves the data layer.
struct UserRecord
{
    QVariant rowId;           // null for a user not stored yet
    QString code;             // felhasznalo
    QString name;             // felhasznalo_nev
    QString password;         // a new password to store; empty keeps the stored one. Reads leave it empty.
    bool hasPassword = false; // jelszo holds a password (reads only)
    bool admin = false;       // rendszergazda 'I'
    bool masterEdit = false;  // torzsszerkeszt 'I'
};

// The user whose code equals the typed one exactly (letter case and blanks count) and whose password the typed one
// is, compared as typed. A user with an empty stored password never passes. A password still stored as plain text
// by an older version, or hashed at a lower cost, is stored hashed now; when that write fails (a read-only
// database) the login still succeeds. Other engine errors are thrown.
std::optional<UserRecord> FindUser(Engine &engine, const QString &code, const QString &password);

// Stores the hash of the user's new password (its first PasswordLength characters) and logs the change as the user's
// own; false when no such user exists.
bool StorePassword(Engine &engine, const QString &code, const QString &password);

// Replaces every password still stored as plain text with its hash, in one transaction; returns how many.
int HashPlainPasswords(Engine &engine);

// Every user in code order.
QList<UserRecord> ListUsers(Engine &engine);
// The user of that row id; nothing when the row is gone.
std::optional<UserRecord> ReadUser(Engine &engine, const QVariant &rowId);
// Adds the user (null row id) or rewrites its row; returns the row id. The password is stored hashed (its first
// PasswordLength characters); an empty one leaves the stored password as it is. An empty or taken code is refused
// with EngineError. Logged as byUser's change, in the same transaction.
QVariant SaveUser(Engine &engine, const UserRecord &user, const QString &byUser);
// Deletes the user's row and logs it as byUser's change.
void DeleteUser(Engine &engine, const QVariant &rowId, const QString &byUser);

#pragma once

#include <QString>
#include <optional>

class Engine;

// A user as the login finds it.
struct UserRights
{
    QString code;            // felhasznalo
    QString name;            // felhasznalo_nev
    bool admin = false;      // rendszergazda 'I'
    bool masterEdit = false; // torzsszerkeszt 'I'
};

// The user whose code and password equal the typed ones exactly: letter case and blanks count. A user with
// an empty stored password never passes. Engine errors are thrown.
std::optional<UserRights> FindUser(Engine &engine, const QString &code, const QString &password);

// Stores the user's new password (cut to the field's width by the engine); false when no such user exists.
bool StorePassword(Engine &engine, const QString &code, const QString &password);

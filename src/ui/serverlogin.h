#pragma once

#include <QString>
#include <functional>
#include <optional>

class Engine;
class QWidget;
struct ServerAddress;

// The password of a server database as the user gives it. connect(password) tries the connection with it and
// returns whether the server refused it for the password (IsPasswordRefusal); any other failure it throws. The
// first try is with known (empty: libpq's own password file ~/.pgpass or PGPASSWORD); while the server refuses,
// the user is asked (PasswordDialog), again after a wrong one. Returns the password the server let in (empty:
// libpq's own), nothing when the user gave up at the password. Nothing of it is written anywhere.
std::optional<QString> AskPasswordWhileRefused(const ServerAddress &address, const QString &known,
                                               const std::function<bool(const QString &password)> &connect,
                                               QWidget *parent = nullptr);

// Opens the database of path (a folder, or a server address) on the engine. When a server asks for a password
// that neither libpq's password file (~/.pgpass) nor PGPASSWORD gives, or refuses the one given, the user is
// asked for it (AskPasswordWhileRefused); the engine keeps the accepted one in memory. False when the user gave
// up at the password; every other failure throws EngineError.
bool OpenAskingPassword(Engine &engine, const QString &path, QWidget *parent = nullptr);

// The password with which the program reaches the server database of address, trying known first: opens it on an
// engine of its own (a new empty database gets the program's tables then) and closes it again, asking as above.
// Nothing when the user gave up at the password; a failure throws EngineError.
std::optional<QString> ServerPassword(const QString &address, const QString &known, QWidget *parent = nullptr);

// The password for an operation on database (archive, restore, maintenance), trying known first: a folder's is
// known as it is; a server database's as ServerPassword asks it, except that a database that cannot be reached
// for any other reason gives known back, and the operation, which opens it itself, tells why. Nothing when the
// user gave up at the password.
std::optional<QString> PasswordFor(const QString &database, const QString &known, QWidget *parent = nullptr);

// Whether the program reaches the server database of address (ServerPassword); the password is forgotten.
bool CheckServerConnection(const QString &address, QWidget *parent = nullptr);

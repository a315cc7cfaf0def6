#pragma once

#include <QString>

class Engine;
class QWidget;

// Opens the database of path (a folder, or a server address) on the engine. When a server asks for a password
// that neither libpq's password file (~/.pgpass) nor PGPASSWORD gives, or refuses the one given, the user is
// asked for it (PasswordDialog), again after a wrong one; the engine keeps the accepted one in memory. False
// when the user gave up at the password; every other failure throws EngineError.
bool OpenAskingPassword(Engine &engine, const QString &path, QWidget *parent = nullptr);

// Whether the program reaches the server database of address: opens it on an engine of its own (a new empty
// database gets the program's tables then) and closes it again. The password is asked as above and forgotten.
// False when the user gave up at the password; a failure throws EngineError.
bool CheckServerConnection(const QString &address, QWidget *parent = nullptr);

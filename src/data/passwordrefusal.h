#pragma once

class EngineError;

// Whether opening a server database failed for its password: the server asked for one that neither libpq's
// password file (~/.pgpass) nor PGPASSWORD gave, or refused the one given. Such a failure is worth asking the
// user for the password (again); every other one is not.
bool IsPasswordRefusal(const EngineError &error);

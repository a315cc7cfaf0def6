#pragma once

#include <QStringList>

class Engine;

// What a database holds beyond the rows every new database starts with: one text per table that holds more
// ("dromvel: 120 sor"), in the schema's order; empty for a database nothing has been written into. A database
// that is the target of a restore, an import or a move must be empty in this sense, so that nothing is lost. The
// event log does not count: it tells what was done to the database (a check, a rebuild), not what it holds.
QStringList FilledTables(Engine &engine);

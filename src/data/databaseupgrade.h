#pragma once

#include "maintenanceprogress.h"

class Engine;

// Brings a database of an older layout up to today's schema. A table it lacks is created with its indexes and
// starting rows. A table that lacks fields, or declares a text field narrower than the schema's, is rebuilt in the
// schema's field order, keeping every row, every key and every field of its own that the schema does not know
// (after the schema's fields). Passwords still stored as plain text are replaced by their hashes. Each table changes in
// one transaction; a table already up to date is not touched. Returns false when some table could not be
// brought up to date: "Ismeretlen hiba: " + table + line break + the engine's message went to progress.fail,
// and the other tables were still done.
// On a server a missing field is added in place (ALTER TABLE … ADD COLUMN IF NOT EXISTS) and a narrow one widened.
bool UpgradeDatabase(Engine &engine, const MaintenanceProgress &progress);

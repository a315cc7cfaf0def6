#pragma once

#include "maintenanceprogress.h"

class Engine;

// Rebuilds every index the schema lists (the primary index, the named secondary ones and our own), table by
// table in the schema's order, each table in one transaction, then refreshes the query planner's statistics.
// A table that fails keeps the indexes it had; "Ismeretlen hiba: " + table + line break + the engine's message
// goes to progress.fail and the next table follows. Returns how many tables failed.
// On a server each table is reindexed in place (REINDEX TABLE), gets the indexes of the schema it lacks, and has
// its statistics refreshed (ANALYZE), in one transaction.
int RebuildIndexes(Engine &engine, const MaintenanceProgress &progress);

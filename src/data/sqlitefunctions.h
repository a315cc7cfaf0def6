#pragma once

class QSqlDatabase;

// Replaces SQLite's ASCII-only UPPER and LOWER on the connection with Unicode-aware ones, so that
// UPPER(field) LIKE 'ÁRV%' finds Hungarian names; adds the collation HU (Hungarian alphabetical order, case
// ignored) for ORDER BY field COLLATE HU.
void RegisterSqliteFunctions(QSqlDatabase &db);

// True while the connection is inside a transaction, whoever began it.
bool InTransaction(const QSqlDatabase &db);

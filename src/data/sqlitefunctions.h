#pragma once

class QSqlDatabase;

// Replaces SQLite's ASCII-only UPPER and LOWER on the connection with Unicode-aware ones, so that
// UPPER(field) LIKE 'ÁRV%' finds Hungarian names.
void RegisterSqliteFunctions(QSqlDatabase &db);

#pragma once

#include <QStringList>

struct TableDef;

// What a server database needs beside the tables themselves, so that the program's statements read the same on
// both engines.
namespace ServerSchema {

// Once per database: the collation HU of the Hungarian ordering (letter case ignored, "cs" after "c", "ő" with
// "ö"), and the function that keeps the counters of the integer keys ahead of the rows' keys.
QStringList DatabaseSetupSql();
// After CREATE TABLE: a row written with its own integer key moves the table's counter past it, as SQLite's
// row ids do, so the next row left to the counter does not take a number that is already there.
QStringList TableSetupSql(const TableDef &table);
// True when the server's UPPER knows the Hungarian letters: a database made with the C locale does not.
QString UpperCheckSql();

// One lock per database held to the end of the transaction: every write takes it first, as SQLite's
// BEGIN IMMEDIATE does, so numbers read with MAX()+1 cannot be taken by two workstations.
QString WriteLockSql();

} // namespace ServerSchema

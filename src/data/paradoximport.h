#pragma once

#include "maintenanceprogress.h"

#include <QString>
#include <QStringList>

// What an import of old Paradox tables came to.
struct ParadoxImportResult
{
    // Empty when the new database was written; otherwise why nothing was written.
    QString error;
    // One line per table ("dromvel: 1 234 sor") and notes on fields that had no place on either side.
    QStringList report;
    // The ledger check of the new database (empty: "Nincs hiba.").
    QStringList findings;
};

// Takes a database of the older Paradox form over: reads every table of the schema from the source folder
// (dromvel.DB, kassza.DB, ... in any letter case, with their .MB memo files), field by field by name, keeping
// every key, and writes dromvel.sqlite into the target folder, which must exist and be empty. Texts come from
// the table's code page, empty values become NULL, longer texts are cut to the field's width. The new database
// is built under a temporary name in one transaction and put in place only when every table was read; on any
// failure the target folder is left empty and the result says which table and why. Afterwards the ledger check
// runs on the new database.
// A server address as the target (postgresql://…) writes into that server database instead, which must hold
// nothing but what a new database starts with; one transaction there too, so a failure leaves it as it was. Its
// password is targetPassword (empty: libpq's own password file or PGPASSWORD).
ParadoxImportResult ImportParadoxFolder(const QString &sourceFolder, const QString &targetFolder,
                                        const MaintenanceProgress &progress, const QString &targetPassword = QString());

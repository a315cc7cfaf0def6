#pragma once

#include "maintenanceprogress.h"

#include <QString>
#include <QStringList>

// What a move of a ledger came to.
struct LedgerMoveResult
{
    // Empty when the target was written; otherwise why nothing was written.
    QString error;
    // One line per table ("dromvel: 1234 sor") and notes on fields that had no place on either side.
    QStringList report;
    // The ledger check of the target (empty: "Nincs hiba.").
    QStringList findings;
};

// Copies the whole ledger from one database to another: from a database folder to a database on a server
// (postgresql://…) or back, or between two of a kind. The source must be an existing database that no other
// program has open; it is read in one transaction and left as it was. The target is a folder (an empty one gets
// a new database) or a server database, and must hold nothing but what a new database starts with, or the move
// is refused and nothing changes. Every table of the schema is copied field by field by name in one transaction
// on the target, with every key, and the counters of the integer keys are carried over, so that a number once
// handed out is not handed out again; the event log comes too, and the target's gets the move as its last entry.
// Afterwards the ledger check runs on the target. A server database opens with its password given here (empty:
// libpq's own password file or PGPASSWORD).
LedgerMoveResult MoveLedger(const QString &source, const QString &target, const MaintenanceProgress &progress,
                            const QString &sourcePassword = QString(), const QString &targetPassword = QString());

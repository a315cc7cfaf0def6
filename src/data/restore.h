#pragma once

#include <QString>
#include <QStringList>

// What a restore came to.
struct RestoreResult
{
    // Files unpacked, the database among them.
    int files = 0;
    // The ledger check of the restored database, empty when it found nothing. The archive holds the ledger as it
    // was, faults included: they are told, not refused.
    QStringList findings;
};

// Unpacks an archive that ArchiveFolder made into targetFolder and checks the database it holds. The archive is
// the program's when its top level holds the database file and every entry names a path inside the folder. The
// target must exist, be empty, and be neither openFolder (the database the program has open) nor inside it.
// Everything is unpacked into a folder of its own inside the target, the database is opened and checked there
// (PRAGMA integrity_check, then the ledger check), and only then moved up: a refusal or failure, a damaged
// database file included, leaves the target empty. Throws ArchiveError with the reason in Hungarian.
//
// The archive of a server database (its dump) is restored into a database of a server instead: targetFolder is then
// its address (postgresql://…), with the password held for it (empty: libpq's own). That database must exist and
// hold nothing but what a new database starts with, and must not be the one the program has open (openFolder).
// pg_restore writes it in one transaction, so a failure leaves it as it was; the ledger check follows. Each kind of
// archive is refused by the other kind of target.
RestoreResult RestoreArchive(const QString &zipPath, const QString &targetFolder, const QString &openFolder,
                             const QString &password = QString());

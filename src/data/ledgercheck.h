#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Engine;

// The ledger's invariants, checked without changing anything:
//  - the database file's own integrity (PRAGMA integrity_check; a server keeps its own);
//  - booked rows carry a booking number (dromvelid), each number on one booked row only;
//  - serials (ssz) of every letter code are unique and run 1, 2, 3 ... without a gap; every booked receipt and
//    payment has one; settlement numbers (elszamol_ssz) are unique and every booked advance has one;
//  - each till's booked rows in booking order chain: nyito = the previous row's zaro, zaro = nyito + osszeg for
//    a receipt and nyito - osszeg for a payment (within half a fillér);
//  - every closing record (zarbizonylat) stamped at least one booked row of its own till, its nyito and zaro are
//    those of the first and last row it closed, and its dates are theirs or span every row it closed; a closed
//    row is booked and refers to an existing record;
//  - each client's elszamolasra is the sum of its booked, unsettled advances.
// Every finding is one Hungarian sentence naming the rows, numbers or records concerned. Each check reads the
// ledger once in index order, all of them from one snapshot, so a million rows take seconds.
class LedgerCheck
{
public:
    // Findings beyond this many are counted in one last line.
    static constexpr int MaxFindings = 1000;

    // The findings, empty for a sound database. status, when given, hears each step's name as it starts.
    static QStringList run(Engine &engine, const std::function<void(const QString &step)> &status = {});
    // Opens the database (a folder, or a server address with the password held for it) on a connection of its own
    // and checks it; one that cannot be opened gives a single finding that says so.
    static QStringList runOn(const QString &database, const QString &password = QString());
    // The report the user sees: the findings one per line, or "Nincs hiba.".
    static QString report(const QStringList &findings);
    // The result in a few words: "Nincs hiba.", "3 hiba, lásd lent." or, beyond the limit, "Több mint 1000 hiba,
    // lásd lent.".
    static QString summary(const QStringList &findings);
};

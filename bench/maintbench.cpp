// Builds a sound ledger of many rows (four tills, closed in blocks of a thousand rows per till, advances out to a
// thousand clients) and times the maintenance program's work on it against bare SQL doing the same reading or
// writing. Usage: maintbench [rows] (default 1 000 000).

#include "benchclock.h"
#include "databaseupgrade.h"
#include "engine.h"
#include "indexrebuild.h"
#include "ledgercheck.h"
#include "query.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream out(stdout);

void Fill(Engine &engine, int rows)
{
    Transaction transaction(engine);
    for (int t = 1; t <= 4; ++t)
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Pénztár %1").arg(t)}});
    engine.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                               "INSERT INTO ugyfel (ugyfel, ugyfel_nev) SELECT i, 'Ügyfél ' || i FROM n;"));
    // Every till's balance runs on from its previous row; serials run per letter code; every tenth payment is an
    // advance still out.
    engine.exec(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1), "
            "r AS (SELECT i, 1 + i % 4 AS till, (i % 3) <> 0 AS receipt, 100.0 + (i * 37) % 5000 AS amount FROM n), "
            "s AS (SELECT r.*, SUM(CASE WHEN receipt THEN amount ELSE -amount END) OVER (PARTITION BY till ORDER BY i) "
            "AS balance, ROW_NUMBER() OVER (PARTITION BY till, receipt ORDER BY i) AS serial FROM r) "
            "INSERT INTO dromvel (dromvelid, kibe, ssz, betujel, kassza, dat_kiadva, kiadva, idoszak, nyito, osszeg, "
            "zaro, ugyfel, elszamol_kell, elszamolva, elszamol_ssz, lezarva, zarbizonylat, szoveg1) "
            "SELECT i, CASE WHEN receipt THEN 'B' ELSE 'K' END, serial, (CASE WHEN receipt THEN 'B' ELSE 'K' END) || "
            "till, "
            "till, date('2015-01-01', '+' || (i / 300) || ' days'), 'I', strftime('%Y%m', date('2015-01-01', '+' || "
            "(i / 300) || ' days')), balance - (CASE WHEN receipt THEN amount ELSE -amount END), amount, balance, "
            "1 + i % 1000, CASE WHEN NOT receipt AND i % 10 = 0 THEN 'I' ELSE 'N' END, 'N', "
            "CASE WHEN NOT receipt AND i % 10 = 0 THEN i / 10 ELSE 0 END, "
            "CASE WHEN i <= %1 - 500 THEN 'I' ELSE 'N' END, "
            "CASE WHEN i <= %1 - 500 THEN ((i - 1) / 4000) * 4 + till END, 'Tétel ' || (i % 60) FROM s;")
            .arg(rows));
    engine.exec(
        QStringLiteral("INSERT INTO zarbizonylat (zarbizonylat, kassza, dat_tol, dat_ig, nyito, zaro) "
                       "SELECT z.zarbizonylat, z.kassza, f.dat_kiadva, l.dat_kiadva, f.nyito, l.zaro FROM "
                       "(SELECT zarbizonylat, kassza, MIN(dromvelid) AS first, MAX(dromvelid) AS last FROM dromvel "
                       "WHERE zarbizonylat IS NOT NULL GROUP BY zarbizonylat) z "
                       "JOIN dromvel f ON f.dromvelid = z.first JOIN dromvel l ON l.dromvelid = z.last;"));
    engine.exec(QStringLiteral("UPDATE ugyfel SET elszamolasra = (SELECT s FROM (SELECT ugyfel AS u, SUM(osszeg) AS s "
                               "FROM dromvel WHERE elszamol_kell = 'I' GROUP BY ugyfel) WHERE u = ugyfel.ugyfel);"));
    transaction.commit();
}

void Ratio(double ms, double bare)
{
    out << QStringLiteral("%1 %2\n").arg(QStringLiteral("  ratio to bare SQL"), -52).arg(ms / bare, 10, 'f', 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    QTemporaryDir dir;
    Engine engine(QStringLiteral("bench"));
    engine.open(dir.path());
    Time(out, QStringLiteral("ledger of %1 rows built").arg(rows), 1, [&] { Fill(engine, rows); });

    const double bareRead = Time(out, QStringLiteral("bare: every ledger row read in booking order"), 1, [&] {
        Query q(engine, QStringLiteral("SELECT dromvel, dromvelid, kassza, kibe, kiadva, nyito, osszeg, zaro, betujel, "
                                       "ssz, dat_kiadva, lezarva, zarbizonylat, ugyfel, elszamol_kell, elszamolva "
                                       "FROM dromvel ORDER BY dromvelid, dromvel;"));
        q.open();
        while (q.next())
            q.value(0);
    });
    QStringList findings;
    const double check =
        Time(out, QStringLiteral("ledger check, all of it"), 1, [&] { findings = LedgerCheck::run(engine); });
    const double file = Time(out, QStringLiteral("  of which the file's own integrity check"), 1,
                             [&] { engine.exec(QStringLiteral("PRAGMA integrity_check;")); });
    out << QStringLiteral("%1 %2\n")
               .arg(QStringLiteral("  the ledger's checks, ratio to the bare read"), -52)
               .arg((check - file) / bareRead, 10, 'f', 2);
    out << QStringLiteral("  findings: %1\n").arg(findings.size());

    const double bareIndexes = Time(out, QStringLiteral("bare: drop and create the ledger's indexes"), 1, [&] {
        Transaction t(engine);
        engine.dropIndexes(QStringLiteral("dromvel"));
        engine.createSecondaryIndexes(QStringLiteral("dromvel"));
        t.commit();
    });
    const double rebuild =
        Time(out, QStringLiteral("index rebuild of every table, with ANALYZE"), 1, [&] { RebuildIndexes(engine, {}); });
    Ratio(rebuild, bareIndexes);

    engine.exec(QStringLiteral("ALTER TABLE dromvel DROP COLUMN felhasznalo;"));
    const double bareCopy = Time(out, QStringLiteral("bare: copy the ledger into a new table"), 1, [&] {
        engine.exec(QStringLiteral("CREATE TABLE masolat AS SELECT * FROM dromvel;"));
        engine.exec(QStringLiteral("DROP TABLE masolat;"));
    });
    const double upgrade = Time(out, QStringLiteral("upgrade: ledger rebuilt for its missing field"), 1,
                                [&] { UpgradeDatabase(engine, {}); });
    Ratio(upgrade, bareCopy + bareIndexes);
    return findings.isEmpty() ? 0 : 1;
}

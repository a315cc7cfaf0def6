#pragma once

#include "engine.h"
#include "query.h"

#include <QDir>
#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

// The large ledger the benchmarks read: `rows` booked rows over four tills, a thousand clients and twenty movement
// types, built by one statement so a million rows take seconds.

// The main window's ledger view over every till, in booking order.
inline const QString LedgerSql =
    QStringLiteral("SELECT dromvel.*, kibe.kibe_nev, kasszatip.kasszatip_nev, ugyfel.ugyfel_nev FROM dromvel "
                   "LEFT OUTER JOIN kibe ON (dromvel.kibe=kibe.kibe) "
                   "LEFT OUTER JOIN kasszatip ON (dromvel.kasszatip=kasszatip.kasszatip) "
                   "LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel=ugyfel.ugyfel) ORDER BY dromvel.dromvel");

inline void FillLedger(Engine &engine, int rows)
{
    Transaction transaction(engine);
    for (int t = 1; t <= 4; ++t)
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Pénztár %1").arg(t)}});
    for (int k = 1; k <= 20; ++k)
        engine.insert(QStringLiteral("kasszatip"),
                      {{QStringLiteral("kasszatip_nev"), QStringLiteral("Típus %1").arg(k)}});
    engine.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000) "
                               "INSERT INTO ugyfel (ugyfel_nev, elszamollimit) SELECT 'Ügyfél ' || i, 100000 FROM n;"));
    engine.exec(
        QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
            "INSERT INTO dromvel (dromvelid, kibe, ssz, betujel, kassza, dat_kiadva, kiadva, idoszak, kasszatip, "
            "nyito, "
            "osszeg, zaro, szoveg, ugyfel, lezarva, datumstr, szoveg1, forgjogcim1, osszeg1) "
            "SELECT i, CASE WHEN i % 3 = 0 THEN 'K' ELSE 'B' END, i, 'B' || (1 + i % 4), 1 + i % 4, "
            "date('2015-01-01', '+' || (i / 300) || ' days'), 'I', strftime('%Y%m', date('2015-01-01', '+' || (i / "
            "300) "
            "|| ' days')), 1 + i % 20, i * 10.5, 100 + (i * 37) % 5000, i * 10.5 + 100, 'Tétel; szövege ' || (i % 60), "
            "1 + i % 1000, 'I', strftime('%Y%m%d', date('2015-01-01', '+' || (i / 300) || ' days')), "
            "'Árvíztűrő tükörfúrógép ' || (i % 60), 'Jogcím \"' || (i % 25) || '\"', (i * 37) % 5000 + 0.25 FROM n;")
            .arg(rows));
    transaction.commit();
}

// The ledger of `rows` rows in the folder: one of that size found there is used again, otherwise it is built.
inline void PrepareLedger(QTextStream &out, const QString &folder, int rows)
{
    QDir().mkpath(folder);
    Engine engine(QStringLiteral("fill"));
    engine.open(folder);
    if (Query(engine, QStringLiteral("SELECT COUNT(*) FROM dromvel;")).firstValue().toInt() == rows) {
        out << QStringLiteral("ledger of %1 rows kept from an earlier run\n").arg(rows);
    } else {
        QElapsedTimer fill;
        fill.start();
        FillLedger(engine, rows);
        out << QStringLiteral("ledger of %1 rows built in %2 s\n").arg(rows).arg(fill.elapsed() / 1000.0, 0, 'f', 1);
    }
    out.flush();
}

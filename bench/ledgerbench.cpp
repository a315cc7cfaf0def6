// Builds a large ledger in a temporary folder and times the operations that run on every booking.
// Usage: ledgerbench [rows] (default 1 000 000).

#include "benchclock.h"
#include "engine.h"
#include "ledgermodel.h"
#include "ledgerops.h"
#include "picklists.h"
#include "query.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream out(stdout);

void Fill(Engine &engine, int rows)
{
    const int tills = 4;
    Transaction transaction(engine);
    for (int t = 1; t <= tills; ++t)
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Pénztár %1").arg(t)},
                                                 {QStringLiteral("betujel_be"), QStringLiteral("B%1").arg(t)},
                                                 {QStringLiteral("betujel_ki"), QStringLiteral("K%1").arg(t)}});
    for (int c = 1; c <= 1000; ++c)
        engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél %1").arg(c)},
                                                 {QStringLiteral("elszamollimit"), 100000.0}});

    QSqlQuery insert(engine.database());
    insert.prepare(QStringLiteral(
        "INSERT INTO dromvel (dromvelid, kibe, ssz, betujel, kassza, dat_kiadva, kiadva, idoszak, kasszatip, nyito, "
        "osszeg, zaro, ugyfel, elszamol_ssz, lezarva, datumstr, szoveg1, forgjogcim1) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    QList<double> balance(tills + 1, 0.0);
    QList<int> serial(2 * tills + 1, 0);
    const QDate start(2015, 1, 1);
    for (int i = 1; i <= rows; ++i) {
        const int till = 1 + i % tills;
        const bool receipt = (i % 3) != 0;
        const double amount = 100.0 + (i * 37) % 5000;
        const double before = balance[till];
        balance[till] = receipt ? before + amount : before - amount;
        const int code = receipt ? till : tills + till;
        const QDate date = start.addDays(i / 300);
        insert.addBindValue(i);
        insert.addBindValue(receipt ? QStringLiteral("B") : QStringLiteral("K"));
        insert.addBindValue(++serial[code]);
        insert.addBindValue(receipt ? QStringLiteral("B%1").arg(till) : QStringLiteral("K%1").arg(till));
        insert.addBindValue(till);
        insert.addBindValue(date.toString(Qt::ISODate));
        insert.addBindValue(QStringLiteral("I"));
        insert.addBindValue(date.toString(QStringLiteral("yyyyMM")));
        insert.addBindValue(1 + i % 20);
        insert.addBindValue(before);
        insert.addBindValue(amount);
        insert.addBindValue(balance[till]);
        insert.addBindValue(1 + i % 1000);
        insert.addBindValue(i % 50 == 0 ? i / 50 : 0);
        insert.addBindValue(i < rows - 500 ? QStringLiteral("I") : QStringLiteral("N"));
        insert.addBindValue(date.toString(QStringLiteral("yyyyMMdd")));
        insert.addBindValue(QStringLiteral("Tétel szövege %1").arg(i % 60));
        insert.addBindValue(QStringLiteral("Jogcím %1").arg(i % 25));
        if (!insert.exec())
            throw EngineError(insert.lastError().text());
    }
    transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;
    QTemporaryDir dir;
    Engine engine(QStringLiteral("bench"));
    engine.open(dir.path());
    LedgerOps ops(engine);

    QElapsedTimer fill;
    fill.start();
    Fill(engine, rows);
    out << QStringLiteral("ledger of %1 rows built in %2 s\n").arg(rows).arg(fill.elapsed() / 1000.0, 0, 'f', 1);

    Time(out, QStringLiteral("TillBalance"), 1000, [&] { ops.TillBalance(2); });
    Time(out, QStringLiteral("NextId dromvelid"), 1000,
         [&] { ops.NextId(QStringLiteral("dromvelid"), QStringLiteral("dromvel")); });
    Time(out, QStringLiteral("NextSerial"), 1000, [&] { ops.NextSerial(QStringLiteral("B3")); });
    Time(out, QStringLiteral("NextSettlementNumber"), 1000, [&] { ops.NextSettlementNumber(); });
    Time(out, QStringLiteral("ChangeClientSettlement"), 200, [&] { ops.ChangeClientSettlement(17, 10.0); });
    Time(out, QStringLiteral("book one voucher (numbers, balance, row)"), 200, [&] {
        Transaction t(engine);
        const int id = ops.NextMaxId(QStringLiteral("dromvelid"), QStringLiteral("dromvel"));
        const int ssz = ops.NextSerial(QStringLiteral("B2"));
        const double before = ops.TillBalance(2);
        engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), id},
                                                  {QStringLiteral("ssz"), ssz},
                                                  {QStringLiteral("betujel"), QStringLiteral("B2")},
                                                  {QStringLiteral("kassza"), 2},
                                                  {QStringLiteral("kiadva"), QStringLiteral("I")},
                                                  {QStringLiteral("nyito"), before},
                                                  {QStringLiteral("osszeg"), 10.0},
                                                  {QStringLiteral("zaro"), before + 10.0}});
        t.commit();
    });
    Time(out, QStringLiteral("count rows of one till"), 5,
         [&] { ops.QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE dromvel.kassza=2;"), 0); });
    Time(out, QStringLiteral("first 256 ledger rows of one till"), 20, [&] {
        Query q(engine, QStringLiteral("SELECT * FROM dromvel WHERE dromvel.kassza=2 ORDER BY 1;"));
        q.open();
        for (int i = 0; i < 256 && q.next(); ++i)
            q.value(0);
    });
    const QString unclosed = QStringLiteral("WHERE (dromvel.kassza=2) and (dromvel.kibe<>'N') and "
                                            "((dromvel.lezarva='N') or (dromvel.kiadva='N'))");
    Time(out, QStringLiteral("unclosed view of one till: count"), 20,
         [&] { ops.QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel ") + unclosed + QLatin1Char(';'), 0); });
    Time(out, QStringLiteral("unclosed view of one till: first rows"), 20, [&] {
        Query q(engine, QStringLiteral("SELECT dromvel.*, kibe.kibe_nev, kasszatip.kasszatip_nev, ugyfel.ugyfel_nev "
                                       "FROM dromvel LEFT OUTER JOIN kibe ON (dromvel.kibe=kibe.kibe) "
                                       "LEFT OUTER JOIN kasszatip ON (dromvel.kasszatip=kasszatip.kasszatip) "
                                       "LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel=ugyfel.ugyfel) ") +
                            unclosed + QStringLiteral(" ORDER BY 1;"));
        q.open();
        for (int i = 0; i < 256 && q.next(); ++i)
            q.value(0);
    });
    Time(out, QStringLiteral("unclosed sums of one till"), 20, [&] {
        ops.QueryFloat(QStringLiteral("SELECT SUM(bevetel) AS bevesz, SUM(kiadas) AS kiad FROM dromvel "
                                      "WHERE (lezarva='N') AND (kiadva='I') AND (kassza=2);"),
                       0);
    });
    Time(out, QStringLiteral("voucher form pick lists, grouping"), 3, [&] {
        for (const char *base : {"szoveg", "forgjogcim"}) {
            QStringList parts;
            for (int i = 1; i <= 3; ++i)
                parts << QStringLiteral("SELECT %1%2 AS szoveg FROM dromvel GROUP BY %1%2")
                             .arg(QLatin1String(base))
                             .arg(i);
            Query q(engine, parts.join(QStringLiteral(" UNION ")) + QLatin1Char(';'));
            q.open();
            while (q.next())
                q.value(0);
        }
    });
    Time(out, QStringLiteral("voucher form pick lists"), 20, [&] {
        DistinctLineValues(engine, QStringLiteral("szoveg"));
        DistinctLineValues(engine, QStringLiteral("forgjogcim"));
    });
    Time(out, QStringLiteral("ledger view of a whole till: open"), 3, [&] {
        LedgerModel model(engine);
        model.setTill(2, false);
        model.reopen();
        model.totalRows();
    });
    Time(out, QStringLiteral("ledger view of a whole till: stand on the last row"), 3, [&] {
        LedgerModel model(engine);
        model.setTill(2, false);
        model.reopen();
        model.rowOfId(ops.QueryInt(QStringLiteral("SELECT MAX(dromvel) FROM dromvel WHERE kassza=2;"), 0));
    });
    Time(out, QStringLiteral("ledger view of a whole till: fetch every row"), 3, [&] {
        LedgerModel model(engine);
        model.setTill(2, false);
        model.reopen();
        while (model.canFetchMore())
            model.fetchMore();
    });
    Time(out, QStringLiteral("ledger view of a whole till: sorted by client"), 3, [&] {
        LedgerModel model(engine);
        model.setTill(2, false);
        model.setOrderField(QStringLiteral("ugyfel_nev"));
        model.reopen();
    });
    return 0;
}

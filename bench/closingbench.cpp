// Times the day closing of a till with many unclosed rows in a large ledger, against the bare UPDATE that stamps
// the same rows.
// Usage: closingbench [unclosed [rows [folder]]] (default 10 000 unclosed rows of one till in a ledger of 1 000 000
// rows in a temporary folder; a given folder keeps the ledger, and a ledger of that size found there is used again).

#include "benchclock.h"
#include "benchledger.h"
#include "dayclosing.h"
#include "engine.h"
#include "query.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <algorithm>

namespace {

QTextStream out(stdout);

const int Till = 2;

// Opens the last `unclosed` booked rows of the till again and takes back every closing of it, so each run closes
// the same rows from the same state.
void Reopen(Engine &engine, int unclosed)
{
    Transaction transaction(engine);
    engine.exec(QStringLiteral("UPDATE dromvel SET lezarva = 'N', zarbizonylat = NULL WHERE dromvel IN (SELECT dromvel "
                               "FROM dromvel WHERE kassza = %1 AND kiadva = 'I' ORDER BY dromvelid DESC LIMIT %2);")
                    .arg(Till)
                    .arg(unclosed));
    engine.exec(QStringLiteral("DELETE FROM zarbizonylat;"));
    engine.exec(QStringLiteral("UPDATE kassza SET lezarva = NULL, zaro = NULL WHERE kassza = %1;").arg(Till));
    transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int unclosed = args.size() > 1 ? args.at(1).toInt() : 10000;
    const int rows = args.size() > 2 ? args.at(2).toInt() : 1000000;
    QTemporaryDir temporary;
    const QString folder = args.size() > 3 ? args.at(3) : temporary.path();
    PrepareLedger(out, folder, rows);

    Engine engine(QStringLiteral("bench"));
    engine.open(folder);
    const QDate openDay(2030, 1, 1);
    const int repeat = 5;
    // The best of the runs: the machine's other work only ever adds.
    double bare = 1e300;
    double closing = 1e300;
    int stamped = 0;
    for (int i = 0; i < repeat; ++i) {
        Reopen(engine, unclosed);
        bare =
            std::min(bare, Time(out, QStringLiteral("bare UPDATE of the unclosed rows"), 1, [&] {
                         Transaction transaction(engine);
                         Query stamp(engine, QStringLiteral(
                                                 "UPDATE dromvel SET lezarva = 'I', zarbizonylat = 1 "
                                                 "WHERE (kiadva = 'I') AND (lezarva = 'N') AND (kassza = :pkassza);"));
                         stamp.setInt(QStringLiteral("pkassza"), Till);
                         stamp.exec();
                         transaction.commit();
                     }));
        Reopen(engine, unclosed);
        closing = std::min(closing, Time(out, QStringLiteral("day closing of the till"), 1, [&] {
                               stamped = CloseDay(engine, Till, openDay, QStringLiteral("bench")).rows;
                           }));
    }
    out << QStringLiteral("%1 rows stamped by each closing; best closing / best bare UPDATE: %2 (at most 1.5)\n")
               .arg(stamped)
               .arg(closing / bare, 0, 'f', 2);
    return stamped == unclosed && closing <= 1.5 * bare ? 0 : 1;
}

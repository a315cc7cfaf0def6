#include "voucherrows.h"

#include "engine.h"
#include "query.h"

namespace {

const QString Table = QStringLiteral("dromvel");
const QString Key = QStringLiteral("dromvel");
// The condition every guarded write carries.
const QString StillPending = QStringLiteral("(kiadva IS NULL OR kiadva <> 'I')");

// Every field of the one row the statement reads for the key :pdromvel; empty when there is none.
QVariantMap ReadKeyedRow(Engine &engine, const QString &sql, int dromvel)
{
    QVariantMap row;
    Query q(engine, sql);
    q.setInt(QStringLiteral("pdromvel"), dromvel);
    q.open();
    if (q.next()) {
        for (int i = 0; i < q.fieldCount(); ++i)
            row.insert(q.fieldName(i), q.value(i));
    }
    q.close();
    return row;
}

} // namespace

QVariantMap ReadVoucherRow(Engine &engine, int dromvel)
{
    return ReadKeyedRow(engine, QStringLiteral("SELECT * FROM dromvel WHERE dromvel = :pdromvel;"), dromvel);
}

int UpdatePendingRow(Engine &engine, int dromvel, QVariantMap values)
{
    values.remove(Key);
    return engine.update(Table, Key, dromvel, values, StillPending);
}

int DeletePendingRow(Engine &engine, int dromvel)
{
    Query q(engine,
            QStringLiteral("DELETE FROM dromvel WHERE dromvel = :pdromvel AND (kiadva IS NULL OR kiadva <> 'I');"));
    q.setInt(QStringLiteral("pdromvel"), dromvel);
    q.exec();
    return q.rowsAffected();
}

int InsertVoucherRow(Engine &engine, QVariantMap values)
{
    values.remove(Key);
    return static_cast<int>(engine.insert(Table, values));
}

QVariantMap ReadAdvanceRow(Engine &engine, int dromvel)
{
    return ReadKeyedRow(engine,
                        QStringLiteral("SELECT dromvel.*, kassza.betujel_be, kassza.betujel_ki FROM dromvel "
                                       "INNER JOIN kassza ON dromvel.kassza = kassza.kassza "
                                       "WHERE dromvel = :pdromvel;"),
                        dromvel);
}

int SettleAdvanceRow(Engine &engine, int dromvel, QVariantMap values)
{
    values.remove(Key);
    return engine.update(Table, Key, dromvel, values,
                         QStringLiteral("kiadva = 'I' AND elszamol_kell = 'I' AND "
                                        "(elszamolva IS NULL OR elszamolva <> 'I')"));
}

bool SerialBookedElsewhere(Engine &engine, const QString &betujel, int ssz, int dromvel)
{
    Query q(engine, QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE betujel = :pbetujel AND ssz = :pssz "
                                   "AND kiadva = 'I' AND dromvel <> :pdromvel;"));
    q.setText(QStringLiteral("pbetujel"), betujel)
        .setInt(QStringLiteral("pssz"), ssz)
        .setInt(QStringLiteral("pdromvel"), dromvel);
    return q.firstValue().toInt() > 0;
}

void DateOpeningRows(Engine &engine, const QDate &day)
{
    Query q(engine, QStringLiteral("UPDATE dromvel SET dat_kiadva = :pdat, idoszak = :pidoszak, datumstr = :pdatumstr "
                                   "WHERE kibe = 'N';"));
    q.setDate(QStringLiteral("pdat"), day)
        .setText(QStringLiteral("pidoszak"), day.toString(QStringLiteral("yyyyMM")))
        .setText(QStringLiteral("pdatumstr"), day.toString(QStringLiteral("yyyyMMdd")));
    q.exec();
}

#include "dayclosing.h"

#include "cashcountstore.h"
#include "engine.h"
#include "eventlog.h"
#include "ledgerops.h"
#include "query.h"
#include "tillstore.h"
#include "util.h"

namespace {

// The booked rows of the till that no closing has taken yet; the closing takes exactly these.
const QString RowsToClose = QStringLiteral("(kassza = :pkassza) AND (kiadva = 'I') AND (lezarva = 'N')");

// One end of the rows to close in booking order.
struct Edge
{
    QDate date;
    double nyito = 0;
    double zaro = 0;
};

Edge ReadEdge(Engine &engine, int till, qint64 dromvelid)
{
    Query q(engine, QStringLiteral("SELECT dat_kiadva, nyito, zaro FROM dromvel "
                                   "WHERE (dromvelid = :pdromvelid) AND ") +
                        RowsToClose + QLatin1Char(';'));
    q.setInt(QStringLiteral("pdromvelid"), dromvelid).setInt(QStringLiteral("pkassza"), till);
    q.open();
    Edge edge;
    if (q.next()) {
        edge.date = q.value(0).toDate();
        edge.nyito = ValueOr(q.value(1), 0.0);
        edge.zaro = ValueOr(q.value(2), 0.0);
    }
    q.close();
    return edge;
}

// A date, or NULL for a row without one.
QVariant DateOrNull(const QDate &date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

} // namespace

DayClosing CloseDay(Engine &engine, int till, const QDate &openDay, const QString &user, const CashCount *count)
{
    DayClosing closing;
    // From here to the commit no other workstation writes: the closed-until date and the rows read below are the
    // ones the closing changes.
    Transaction transaction(engine);
    const QDate closedUntil = TillClosedUntil(engine, till);
    if (closedUntil.isValid() && !(openDay > closedUntil)) {
        closing.outcome = DayClosing::Outcome::AlreadyClosed;
        return closing;
    }

    Query ends(engine, QStringLiteral("SELECT MIN(dromvelid), MAX(dromvelid) FROM dromvel WHERE ") + RowsToClose +
                           QLatin1Char(';'));
    ends.setInt(QStringLiteral("pkassza"), till);
    ends.open();
    const bool any = ends.next() && !ends.value(0).isNull();
    const qint64 first = any ? ends.value(0).toLongLong() : 0;
    const qint64 last = any ? ends.value(1).toLongLong() : 0;
    ends.close();
    if (!any) {
        closing.outcome = DayClosing::Outcome::NothingToClose;
        return closing;
    }
    const Edge start = ReadEdge(engine, till, first);
    const Edge end = ReadEdge(engine, till, last);
    closing.from = start.date;
    closing.to = end.date;
    closing.nyito = start.nyito;
    closing.zaro = end.zaro;
    closing.zaroMax = TillCashLimit(engine, till);

    Query tillUpdate(engine, QStringLiteral("UPDATE kassza SET lezarva = :pdatum, zaro = :pzaro "
                                            "WHERE kassza = :pkassza;"));
    tillUpdate.setDate(QStringLiteral("pdatum"), openDay)
        .setFloat(QStringLiteral("pzaro"), closing.zaro)
        .setInt(QStringLiteral("pkassza"), till);
    tillUpdate.exec();

    closing.zarbizonylat = LedgerOps(engine).NextMaxId(QStringLiteral("zarbizonylat"));
    engine.insert(QStringLiteral("zarbizonylat"),
                  {{QStringLiteral("zarbizonylat"), closing.zarbizonylat},
                   {QStringLiteral("kassza"), till},
                   {QStringLiteral("dat_tol"), DateOrNull(closing.from)},
                   {QStringLiteral("dat_ig"), DateOrNull(closing.to)},
                   {QStringLiteral("nyito"), closing.nyito},
                   {QStringLiteral("zaro"), closing.zaro},
                   {QStringLiteral("zaro_max"), closing.zaroMax ? QVariant(*closing.zaroMax) : QVariant()}});

    Query stamp(engine, QStringLiteral("UPDATE dromvel SET lezarva = 'I', zarbizonylat = :pzarbizonylat WHERE ") +
                            RowsToClose + QLatin1Char(';'));
    stamp.setInt(QStringLiteral("pzarbizonylat"), closing.zarbizonylat).setInt(QStringLiteral("pkassza"), till);
    stamp.exec();
    closing.rows = stamp.rowsAffected();
    if (count)
        WriteCashCount(engine, closing.zarbizonylat, *count);
    QString text = QStringLiteral("%1 napja, %2 sor, záró %3")
                       .arg(openDay.toString(QStringLiteral("yyyy.MM.dd.")))
                       .arg(closing.rows)
                       .arg(FormatFloat(QString(), closing.zaro));
    if (count)
        text += QStringLiteral(", számolt %1").arg(FormatFloat(QString(), count->total()));
    LogEvent(engine, {QStringLiteral("Napzárás"), user, till, closing.zarbizonylat, text});
    transaction.commit();
    return closing;
}

bool HasRowsToClose(Engine &engine, int till)
{
    Query q(engine, QStringLiteral("SELECT MIN(dromvelid) FROM dromvel WHERE ") + RowsToClose + QLatin1Char(';'));
    q.setInt(QStringLiteral("pkassza"), till);
    return !q.firstValue().isNull();
}

QStringList ClosingListLines()
{
    return {QStringLiteral("SELECT"),
            QStringLiteral(" zarbizonylat.zarbizonylat,"),
            QStringLiteral(" kassza.kassza_nev,"),
            QStringLiteral(" kassza.valuta,"),
            QStringLiteral(" zarbizonylat.dat_tol,"),
            QStringLiteral(" zarbizonylat.dat_ig,"),
            QStringLiteral(" zarbizonylat.nyito,"),
            QStringLiteral(" zarbizonylat.zaro,"),
            QStringLiteral(" zarbizonylat.kassza"),
            QStringLiteral("FROM zarbizonylat"),
            QStringLiteral(" LEFT OUTER JOIN kassza ON (zarbizonylat.kassza = kassza.kassza)"),
            QStringLiteral("ORDER BY zarbizonylat.zarbizonylat;")};
}

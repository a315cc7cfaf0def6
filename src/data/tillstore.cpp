#include "tillstore.h"

#include "engine.h"
#include "query.h"
#include "util.h"

namespace {

// One field of the till; the statement names its field itself, the till is bound.
QVariant TillValue(Engine &engine, const QString &sql, int till)
{
    Query q(engine, sql);
    q.setInt(QStringLiteral("pkassza"), till);
    return q.firstValue();
}

} // namespace

QDate TillClosedUntil(Engine &engine, int till)
{
    return TillValue(engine, QStringLiteral("SELECT lezarva FROM kassza WHERE kassza = :pkassza;"), till).toDate();
}

bool StoreBalance(Engine &engine, int till, double balance)
{
    const QVariant stored = TillValue(engine, QStringLiteral("SELECT most FROM kassza WHERE kassza = :pkassza;"), till);
    if (!stored.isNull() && stored.toDouble() == balance)
        return true;
    try {
        engine.update(QStringLiteral("kassza"), QStringLiteral("kassza"), till, {{QStringLiteral("most"), balance}});
        return true;
    } catch (const EngineError &) {
        return false;
    }
}

QString TillLetterCode(Engine &engine, int till, bool payment)
{
    const QString sql = payment ? QStringLiteral("SELECT betujel_ki FROM kassza WHERE kassza = :pkassza;")
                                : QStringLiteral("SELECT betujel_be FROM kassza WHERE kassza = :pkassza;");
    return ValueOr(TillValue(engine, sql, till), QString());
}

QString TillCurrency(Engine &engine, int till)
{
    return ValueOr(TillValue(engine, QStringLiteral("SELECT valuta FROM kassza WHERE kassza = :pkassza;"), till),
                   QString());
}

std::optional<double> TillCashLimit(Engine &engine, int till)
{
    const QVariant limit =
        TillValue(engine, QStringLiteral("SELECT zaro_max FROM kassza WHERE kassza = :pkassza;"), till);
    return limit.isNull() ? std::nullopt : std::optional<double>(limit.toDouble());
}

bool TillExists(Engine &engine, int till)
{
    return TillValue(engine, QStringLiteral("SELECT COUNT(*) FROM kassza WHERE kassza = :pkassza;"), till).toInt() > 0;
}

QList<int> TillIds(Engine &engine)
{
    Query q(engine, QStringLiteral("SELECT kassza FROM kassza ORDER BY kassza;"));
    q.open();
    QList<int> ids;
    while (q.next())
        ids.append(q.value(0).toInt());
    return ids;
}

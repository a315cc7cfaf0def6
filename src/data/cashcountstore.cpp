#include "cashcountstore.h"

#include "engine.h"
#include "query.h"

void WriteCashCount(Engine &engine, int zarbizonylat, const CashCount &count)
{
    for (qsizetype i = 0; i < count.lines.size(); ++i) {
        const CashCountLine &line = count.lines.at(i);
        engine.insert(QStringLiteral("penztarellenorzes"), {{QStringLiteral("zarbizonylat"), zarbizonylat},
                                                            {QStringLiteral("sor"), int(i + 1)},
                                                            {QStringLiteral("cimlet"), line.cimlet},
                                                            {QStringLiteral("db"), line.db},
                                                            {QStringLiteral("osszeg"), line.osszeg}});
    }
}

std::optional<CashCount> ReadCashCount(Engine &engine, int zarbizonylat)
{
    Query q(engine, QStringLiteral("SELECT cimlet, db, osszeg FROM penztarellenorzes "
                                   "WHERE zarbizonylat = :pzarbizonylat ORDER BY sor;"));
    q.setInt(QStringLiteral("pzarbizonylat"), zarbizonylat);
    q.open();
    CashCount count;
    while (q.next())
        count.lines.append({q.value(0).toDouble(), q.value(1).toInt(), q.value(2).toDouble()});
    if (count.lines.isEmpty())
        return std::nullopt;
    return count;
}

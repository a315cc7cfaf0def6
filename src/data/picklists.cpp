#include "picklists.h"

#include "engine.h"
#include "query.h"
#include "util.h"

namespace {

// The distinct values of one field, hopping from value to value along the field's index instead of grouping the
// whole ledger: a handful of index seeks per value, however long the ledger grows. NULL counts as one value.
QString DistinctValuesSql(const QString &field)
{
    return QStringLiteral("SELECT x FROM (WITH RECURSIVE v(x) AS (SELECT MIN(%1) FROM dromvel UNION ALL "
                          "SELECT (SELECT MIN(%1) FROM dromvel WHERE %1 > v.x) FROM v WHERE v.x IS NOT NULL) "
                          "SELECT x FROM v WHERE x IS NOT NULL) AS present\n"
                          "UNION\n"
                          "SELECT NULL WHERE EXISTS (SELECT 1 FROM dromvel WHERE %1 IS NULL)")
        .arg(field);
}

} // namespace

// Every distinct value of the three item fields over the whole ledger, in one sorted list with an empty entry
// for empty values: what grouping each field and uniting the three would give.
QStringList DistinctLineValues(Engine &engine, const QString &base)
{
    QStringList parts;
    for (int i = 1; i <= 3; ++i)
        parts << DistinctValuesSql(base + QString::number(i));
    QStringList values;
    // The empty entry first, then by code point.
    Query q(engine, parts.join(QStringLiteral("\nUNION\n")) + QStringLiteral("\nORDER BY 1 NULLS FIRST;"));
    q.open();
    while (q.next())
        values.append(ValueOr(q.value(0), QString()));
    return values;
}

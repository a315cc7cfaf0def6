#include "ledgercontent.h"

#include "engine.h"
#include "query.h"
#include "schema.h"

QStringList FilledTables(Engine &engine)
{
    QStringList filled;
    const QStringList present = engine.tables();
    for (const TableDef &table : Schema::ImportedTables()) {
        if (!present.contains(table.name, Qt::CaseInsensitive))
            continue;
        const qint64 rows =
            Query(engine, QStringLiteral("SELECT COUNT(*) FROM %1;").arg(table.name)).firstValue().toLongLong();
        if (rows > table.startingRows.size())
            filled.append(QStringLiteral("%1: %2 sor").arg(table.name).arg(rows));
    }
    return filled;
}

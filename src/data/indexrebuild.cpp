#include "indexrebuild.h"

#include "engine.h"
#include "schema.h"

namespace {

// A server rebuilds a table's indexes in place (REINDEX), makes those of the schema that the table lacks, and
// refreshes the table's statistics.
void RebuildOnServer(Engine &engine, const TableDef &table)
{
    engine.fieldNames(table.name); // a missing table is an error here too
    engine.exec(QStringLiteral("REINDEX TABLE %1;").arg(table.name));
    const QStringList present = engine.indexNames(table.name);
    const QString primary = Schema::PrimaryIndexName(table);
    if (!primary.isEmpty() && !present.contains(primary, Qt::CaseInsensitive))
        engine.createPrimaryIndex(table.name);
    for (const IndexDef &index : table.allIndexes())
        if (!present.contains(index.name, Qt::CaseInsensitive))
            engine.exec(Schema::CreateIndexSql(table, index));
    engine.exec(QStringLiteral("ANALYZE %1;").arg(table.name));
}

void RebuildInFile(Engine &engine, const TableDef &table)
{
    engine.dropIndexes(table.name);
    engine.createPrimaryIndex(table.name);
    engine.createSecondaryIndexes(table.name);
}

} // namespace

int RebuildIndexes(Engine &engine, const MaintenanceProgress &progress)
{
    const QList<TableDef> &tables = Schema::Tables();
    const bool server = engine.isServer();
    progress.begin(int(tables.size()) + (server ? 0 : 1));
    int failures = 0;
    for (const TableDef &table : tables) {
        progress.advance();
        progress.setStatus(QStringLiteral("Index készítés: ") + table.name);
        try {
            Transaction transaction(engine);
            if (server)
                RebuildOnServer(engine, table);
            else
                RebuildInFile(engine, table);
            transaction.commit();
        } catch (const EngineError &e) {
            ++failures;
            progress.fail(QStringLiteral("Ismeretlen hiba: ") + table.name + QLatin1Char('\n') + e.message());
        }
    }
    if (server)
        return failures;
    progress.advance();
    progress.setStatus(QStringLiteral("Statisztika frissítése"));
    try {
        engine.exec(QStringLiteral("ANALYZE;"));
    } catch (const EngineError &e) {
        ++failures;
        progress.fail(QStringLiteral("Ismeretlen hiba: ANALYZE\n") + e.message());
    }
    return failures;
}

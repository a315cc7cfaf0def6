#include "indexrebuild.h"

#include "engine.h"
#include "schema.h"

int RebuildIndexes(Engine &engine, const MaintenanceProgress &progress)
{
    const QList<TableDef> &tables = Schema::Tables();
    progress.begin(int(tables.size()) + 1);
    int failures = 0;
    for (const TableDef &table : tables) {
        progress.advance();
        progress.setStatus(QStringLiteral("Index készítés: ") + table.name);
        try {
            Transaction transaction(engine);
            engine.dropIndexes(table.name);
            engine.createPrimaryIndex(table.name);
            engine.createSecondaryIndexes(table.name);
            transaction.commit();
        } catch (const EngineError &e) {
            ++failures;
            progress.fail(QStringLiteral("Ismeretlen hiba: ") + table.name + QLatin1Char('\n') + e.message());
        }
    }
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

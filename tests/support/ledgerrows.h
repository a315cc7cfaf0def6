#pragma once

#include "engine.h"
#include "query.h"
#include "schema.h"

#include <QDate>
#include <QStringList>

// Every row of every table of the ledger (the event log left out), field by field in the schema's order and by key, as
// text the same on both engines (dates as ISO dates, an empty text as NULL): what a copy of a ledger must give back.
inline QStringList LedgerRows(Engine &engine)
{
    QStringList rows;
    for (const TableDef &table : Schema::ImportedTables()) {
        Query q(engine, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3;")
                            .arg(table.fieldNames().join(QStringLiteral(", ")), table.name, table.key().name));
        q.open();
        while (q.next()) {
            QStringList values{table.name};
            for (int i = 0; i < table.fields.size(); ++i) {
                const QVariant value = q.value(i);
                if (value.isNull() || value.toString().isEmpty())
                    values.append(QStringLiteral("NULL"));
                else if (value.typeId() == QMetaType::QDate)
                    values.append(value.toDate().toString(Qt::ISODate));
                else if (table.fields.at(i).type == FieldType::Number)
                    values.append(QString::number(value.toDouble(), 'g', 17));
                else
                    values.append(value.toString());
            }
            rows.append(values.join(QLatin1Char('|')));
        }
    }
    return rows;
}

#include "databaseupgrade.h"

#include "engine.h"
#include "query.h"
#include "schema.h"
#include "users.h"

#include <QRegularExpression>

namespace {

QString Quoted(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

struct Column
{
    QString name;
    QString type;
};

QList<Column> Columns(Engine &engine, const QString &table)
{
    QList<Column> columns;
    Query q(engine, engine.isServer()
                        ? QStringLiteral("SELECT column_name, CASE WHEN character_maximum_length IS NULL THEN "
                                         "data_type ELSE 'varchar(' || character_maximum_length || ')' END FROM "
                                         "information_schema.columns WHERE table_schema = current_schema() AND "
                                         "table_name = :t AND column_name <> 'rowid' ORDER BY ordinal_position;")
                        : QStringLiteral("SELECT name, type FROM pragma_table_info(:t);"));
    q.setText(QStringLiteral("t"), table);
    q.open();
    while (q.next())
        columns.append({q.value(0).toString(), q.value(1).toString()});
    return columns;
}

const Column *Find(const QList<Column> &columns, const QString &name)
{
    for (const Column &c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

// A text field declared narrower than the schema's (the password field of older versions held ten characters,
// too few for a hash).
bool Narrower(const Column &column, const FieldDef &field)
{
    static const QRegularExpression declared(QStringLiteral("^\\s*(VAR)?CHAR\\s*\\(\\s*(\\d+)\\s*\\)\\s*$"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = declared.match(column.type);
    return field.type == FieldType::Alpha && match.hasMatch() && match.captured(2).toInt() < field.width;
}

// The table lacks a field of the schema or declares one narrower. On the server a name is its letters' case too:
// a field named in capitals is not the one the program's statements name.
bool Outdated(const QList<Column> &columns, const TableDef &table, bool server)
{
    for (const FieldDef &field : table.fields) {
        const Column *column = Find(columns, field.name);
        if (!column || Narrower(*column, field) || (server && column->name != field.name))
            return true;
    }
    return false;
}

// The largest key an AUTOINCREMENT table has ever handed out; -1 when it has none.
qint64 Sequence(Engine &engine, const QString &table)
{
    Query q(engine, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name=:t;"));
    q.setText(QStringLiteral("t"), table);
    q.open();
    return q.next() ? q.value(0).toLongLong() : -1;
}

bool HasSequenceTable(Engine &engine)
{
    Query q(engine, QStringLiteral("SELECT 1 FROM sqlite_master WHERE name='sqlite_sequence';"));
    q.open();
    return q.next();
}

// SQLite adds fields only at the end, so a table that lacks one in the middle is built anew in the schema's
// layout and its rows are copied over by field name.
void RebuildLayout(Engine &engine, const TableDef &def, const QList<Column> &old)
{
    const QString kept = def.name + QStringLiteral("_regi");
    QStringList from, to;
    for (const FieldDef &field : def.fields)
        for (const Column &c : old)
            if (c.name.compare(field.name, Qt::CaseInsensitive) == 0) {
                from.append(Quoted(c.name));
                to.append(field.name);
            }
    QList<Column> extras;
    for (const Column &c : old)
        if (!def.field(c.name)) {
            extras.append(c);
            from.append(Quoted(c.name));
            to.append(Quoted(c.name));
        }

    Transaction transaction(engine);
    const qint64 sequence = HasSequenceTable(engine) ? Sequence(engine, def.name) : -1;
    engine.dropIndexes(def.name);
    engine.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2;").arg(Quoted(def.name), Quoted(kept)));
    engine.exec(Schema::CreateTableSql(def));
    for (const Column &c : extras)
        engine.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3;").arg(def.name, Quoted(c.name), c.type));
    if (!from.isEmpty())
        engine.exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4;")
                        .arg(def.name, to.join(QStringLiteral(", ")), from.join(QStringLiteral(", ")), Quoted(kept)));
    engine.exec(QStringLiteral("DROP TABLE %1;").arg(Quoted(kept)));
    engine.createPrimaryIndex(def.name);
    engine.createSecondaryIndexes(def.name);
    // Keys once handed out and since deleted are not handed out again.
    if (sequence > Sequence(engine, def.name)) {
        Query q(engine, Sequence(engine, def.name) < 0
                            ? QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (:t, :s);")
                            : QStringLiteral("UPDATE sqlite_sequence SET seq=:s WHERE name=:t;"));
        q.setText(QStringLiteral("t"), def.name);
        q.setInt(QStringLiteral("s"), sequence);
        q.exec();
    }
    transaction.commit();
}

// The server adds a missing field in place, after the others (every statement names its fields), gives a field
// named in other letter case the schema's name, and widens a narrow one.
void AddColumns(Engine &engine, const TableDef &def, const QList<Column> &old)
{
    Transaction transaction(engine);
    for (const FieldDef &field : def.fields) {
        const Column *column = Find(old, field.name);
        if (!column) {
            engine.exec(Schema::AddColumnSql(def, field, SqlDialect::Server));
            continue;
        }
        if (column->name != field.name)
            engine.exec(QStringLiteral("ALTER TABLE %1 RENAME COLUMN %2 TO %3;")
                            .arg(def.name, Quoted(column->name), field.name));
        if (Narrower(*column, field))
            engine.exec(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3;")
                            .arg(def.name, field.name, Schema::ColumnType(field, SqlDialect::Server)));
    }
    transaction.commit();
}

} // namespace

bool UpgradeDatabase(Engine &engine, const MaintenanceProgress &progress)
{
    bool sound = true;
    auto attempt = [&](const QString &table, const std::function<void()> &work) {
        try {
            work();
        } catch (const EngineError &e) {
            sound = false;
            progress.fail(QStringLiteral("Ismeretlen hiba: ") + table + QLatin1Char('\n') + e.message());
        }
    };

    progress.begin(3);
    progress.setStatus(QStringLiteral("Táblák létrehozása"));
    QStringList existing;
    attempt(QStringLiteral("táblalista"), [&] { existing = engine.tables(); });
    if (!sound)
        return false;
    QList<const TableDef *> present;
    for (const TableDef &table : Schema::Tables()) {
        if (existing.contains(table.name, Qt::CaseInsensitive)) {
            present.append(&table);
            continue;
        }
        attempt(table.name, [&] {
            Transaction transaction(engine);
            engine.createTable(table.name);
            transaction.commit();
        });
    }
    progress.advance();

    progress.setStatus(QStringLiteral("Mezők ellenőrzése"));
    for (const TableDef *table : present) {
        attempt(table->name, [&] {
            const QList<Column> old = Columns(engine, table->name);
            if (Outdated(old, *table, engine.isServer())) {
                progress.setStatus(QStringLiteral("Mezők pótlása: ") + table->name);
                if (engine.isServer())
                    AddColumns(engine, *table, old);
                else
                    RebuildLayout(engine, *table, old);
            }
        });
        if (table->name == QLatin1String("dromvel"))
            progress.advance();
    }
    // Older versions kept passwords as plain text, readable by anyone holding a copy of the database.
    progress.setStatus(QStringLiteral("Jelszavak titkosítása"));
    attempt(QStringLiteral("felhasznalo"), [&] { HashPlainPasswords(engine); });
    progress.advance();
    return sound;
}

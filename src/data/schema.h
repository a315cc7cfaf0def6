#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

// Field types of the ledger database. Alpha is a text of at most `width` characters.
enum class FieldType {
    Alpha,
    Long,
    Autoinc,
    Number,
    Date,
};

// The two engines a database can live on: a SQLite file, or a PostgreSQL server.
enum class SqlDialect {
    Sqlite,
    Server,
};

struct FieldDef
{
    QString name;
    FieldType type;
    int width = 0; // Alpha only
    // What a row stored without the field holds (the column's DEFAULT), a number field's only. A database made
    // before the field gets it with this value in every row it already has.
    std::optional<double> defaultValue;
};

struct IndexDef
{
    QString name;
    QStringList fields;
    // A partial index holds only the rows meeting this condition; a query uses it when its WHERE clause
    // carries the same condition.
    QString where;
    // A unique index is a backstop against duplicate numbers; label names what must not repeat, for the
    // message when a database's rows already repeat it.
    bool unique = false;
    QString label;
};

struct TableDef
{
    QString name;
    QList<FieldDef> fields; // the first field is the key
    // Named secondary indexes, in build order.
    QList<IndexDef> secondaryIndexes;
    // Our own indexes for the hot queries (ix_...), built after the named ones.
    QList<IndexDef> ownIndexes;
    // Rows every new database starts with: field name -> value.
    QList<QVariantMap> startingRows;
    // Whether the old program's Paradox database has this table, so that an import takes it over.
    bool imported = true;

    const FieldDef &key() const { return fields.first(); }
    const FieldDef *field(const QString &name) const; // case-insensitive; nullptr when missing
    QStringList fieldNames() const;
    QList<IndexDef> allIndexes() const { return secondaryIndexes + ownIndexes; }
};

namespace Schema {

// The tables, in the order the index rebuild processes them.
const QList<TableDef> &Tables();
// The tables an import of the old program's database takes over, in the same order.
const QList<TableDef> &ImportedTables();
// The table of that name (case-insensitive); nullptr when there is none.
const TableDef *Table(const QString &name);
// True when some table has a date field of that name and the value is an ISO date text. Keeps the
// flag field dromvel.lezarva apart from the date field kassza.lezarva by the value's form.
bool IsDateField(const QString &fieldName);

// The value as it is stored: empty texts become NULL, longer texts are cut to the field's width, dates
// become ISO text. Fields the schema does not know pass unchanged.
QVariant StoredValue(const FieldDef &field, const QVariant &value);

// CREATE TABLE statement of the table. On the server every table also has a column rowid (SQLite's own row
// id): the key itself when it is an integer, a number of its own otherwise.
QString CreateTableSql(const TableDef &table, SqlDialect dialect = SqlDialect::Sqlite);
// The statement that adds the field to a table made without it: its type and default as CREATE TABLE gives them.
QString AddColumnSql(const TableDef &table, const FieldDef &field, SqlDialect dialect = SqlDialect::Sqlite);
// The column type of a field as CREATE TABLE and ALTER TABLE … ADD COLUMN declare it.
QString ColumnType(const FieldDef &field, SqlDialect dialect);
// The integer key a new row gets by itself when the insert leaves it out; empty for a text key.
QString AutoKey(const TableDef &table);
// Name of the unique index that stands for the primary index of a table whose key is not a row id.
QString PrimaryIndexName(const TableDef &table);
// CREATE statement of the primary index; empty when the key is the table's row id.
QString CreatePrimaryIndexSql(const TableDef &table);
QString CreateIndexSql(const TableDef &table, const IndexDef &index);
// The values of the index's fields that more than one of its rows hold (at most limit of them, in order);
// rows with an empty field are not counted, as the unique index does not count them.
QString DuplicateKeysSql(const TableDef &table, const IndexDef &index, int limit);

} // namespace Schema

#include "engine.h"

#include "boundsql.h"
#include "query.h"
#include "schema.h"
#include "serveraddress.h"
#include "serverschema.h"
#include "sqlitefunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <libpq-fe.h>

namespace {

void ExecOn(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw EngineError::from(q.lastError());
}

const FieldDef &FieldOf(const TableDef &def, const QString &name)
{
    const FieldDef *field = def.field(name);
    if (!field)
        throw EngineError(QStringLiteral("Ismeretlen mező: %1.%2").arg(def.name, name));
    return *field;
}

// The values in map order as the schema stores them, for the placeholders :v0, :v1, ...
QVariantList StoredValues(const TableDef &def, const QVariantMap &values)
{
    QVariantList stored;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        stored.append(Schema::StoredValue(FieldOf(def, it.key()), it.value()));
    return stored;
}

QString Placeholder(qsizetype n)
{
    return QStringLiteral(":v%1").arg(n);
}

// Writes one row through the schema on the connection; every value is bound. Returns the new row's row id.
qint64 InsertRow(QSqlDatabase db, const TableDef &def, const QVariantMap &values, SqlDialect dialect)
{
    QStringList names, marks;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        names.append(FieldOf(def, it.key()).name);
        marks.append(Placeholder(marks.size()));
    }
    QSqlQuery q(db);
    const QString sql = values.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES;").arg(def.name)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3);")
                                  .arg(def.name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    const QVariantList stored = StoredValues(def, values);
    if (dialect == SqlDialect::Server) {
        // The values written in, as Query does on the server: one round trip.
        QHash<QString, QVariant> bound;
        for (qsizetype i = 0; i < stored.size(); ++i)
            bound.insert(Placeholder(i), stored.at(i));
        q.setForwardOnly(true);
        if (!q.exec(BoundSql(*db.driver(), sql.chopped(1) + QStringLiteral(" RETURNING rowid;"), bound)) || !q.next())
            throw EngineError::from(q.lastError());
        return q.value(0).toLongLong();
    }
    if (!q.prepare(sql))
        throw EngineError::from(q.lastError());
    for (qsizetype i = 0; i < stored.size(); ++i)
        q.bindValue(Placeholder(i), stored.at(i));
    if (!q.exec())
        throw EngineError::from(q.lastError());
    return q.lastInsertId().toLongLong();
}

// The rows of a catalogue statement (sqlite_master, PRAGMA …, pg_catalog), each as its column values; the
// table's or index's name is bound as :name.
QList<QVariantList> CatalogueRows(QSqlDatabase db, const QString &sql, const QString &name = QString())
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw EngineError::from(q.lastError());
    if (!name.isNull())
        q.bindValue(QStringLiteral(":name"), name);
    if (!q.exec())
        throw EngineError::from(q.lastError());
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row.append(q.value(i));
        rows.append(row);
    }
    return rows;
}

QList<QVariantList> TableInfo(QSqlDatabase db, const QString &table)
{
    return CatalogueRows(db, QStringLiteral("PRAGMA table_info(\"%1\");").arg(table));
}

QList<QVariantList> IndexList(QSqlDatabase db, const QString &table)
{
    return CatalogueRows(db, QStringLiteral("PRAGMA index_list(\"%1\");").arg(table));
}

// The server's columns of a table in their order (without the row id, which SQLite does not list either).
QStringList ServerColumns(QSqlDatabase db, const QString &table)
{
    QStringList names;
    for (const QVariantList &row :
         CatalogueRows(db,
                       QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = to_regclass(:name) AND "
                                      "attnum > 0 AND NOT attisdropped AND attname <> 'rowid' ORDER BY attnum;"),
                       table))
        names.append(row.value(0).toString());
    return names;
}

// The server's indexes of a table with their columns in order; made tells those made by CREATE INDEX from the
// ones that stand for a key or a UNIQUE constraint.
struct ServerIndex
{
    QString name;
    QStringList columns;
    bool made;
};

QList<ServerIndex> ServerIndexes(QSqlDatabase db, const QString &table)
{
    QList<ServerIndex> indexes;
    const QList<QVariantList> rows = CatalogueRows(
        db,
        QStringLiteral("SELECT ic.relname, a.attname, NOT EXISTS (SELECT 1 FROM pg_constraint c WHERE c.conindid = "
                       "i.indexrelid) FROM pg_index i JOIN pg_class ic ON ic.oid = i.indexrelid "
                       "CROSS JOIN LATERAL unnest(i.indkey) WITH ORDINALITY AS k(attnum, position) "
                       "JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = k.attnum "
                       "WHERE i.indrelid = to_regclass(:name) ORDER BY ic.relname, k.position;"),
        table);
    for (const QVariantList &row : rows) {
        if (indexes.isEmpty() || indexes.last().name != row.value(0).toString())
            indexes.append({row.value(0).toString(), {}, row.value(2).toBool()});
        indexes.last().columns.append(row.value(1).toString());
    }
    return indexes;
}

QStringList Column(const QList<QVariantList> &rows, int column)
{
    QStringList values;
    for (const QVariantList &row : rows)
        values.append(row.value(column).toString());
    return values;
}

// Rows are picked by a field of the schema or by the row id (an owner row has no name yet).
struct KeyMatch
{
    QString field;
    QVariant value;
};

KeyMatch MatchKey(const TableDef &def, const QString &keyField, const QVariant &keyValue)
{
    if (keyField.compare(QStringLiteral("rowid"), Qt::CaseInsensitive) == 0)
        return {QStringLiteral("rowid"), keyValue};
    const FieldDef &key = FieldOf(def, keyField);
    return {key.name, Schema::StoredValue(key, keyValue)};
}

void RemoveFileSet(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QString::fromLatin1(suffix));
}

// The table with its primary and secondary indexes and its starting rows.
void CreateTableWithRows(QSqlDatabase db, const TableDef &table, SqlDialect dialect)
{
    ExecOn(db, Schema::CreateTableSql(table, dialect));
    if (dialect == SqlDialect::Server)
        for (const QString &sql : ServerSchema::TableSetupSql(table))
            ExecOn(db, sql);
    const QString primary = Schema::CreatePrimaryIndexSql(table);
    if (!primary.isEmpty())
        ExecOn(db, primary);
    for (const IndexDef &index : table.allIndexes())
        ExecOn(db, Schema::CreateIndexSql(table, index));
    for (const QVariantMap &row : table.startingRows)
        InsertRow(db, table, row, dialect);
}

bool HasContent(const QString &path)
{
    const QFileInfo file(path);
    return file.exists() && file.size() > 0;
}

// A database file of 0 bytes holds nothing yet (a copy that was cut short, a file made by hand); with a
// write-ahead log beside it that has content, SQLite may still find the database there.
bool IsEmptyDatabaseFile(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && file.size() == 0 && !HasContent(path + QStringLiteral("-wal"));
}

// The size the file's header gives the database, when the header is one SQLite vouches for (its change counter
// and its version-valid-for number agree); 0 otherwise. SQLite trusts that size and would read the pages a cut
// copy lacks as empty ones, failing somewhere in the middle of the work instead of at the start.
qint64 HeaderDatabaseSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return 0;
    const auto at = [&header](int offset) {
        return (quint32(uchar(header[offset])) << 24) | (quint32(uchar(header[offset + 1])) << 16) |
               (quint32(uchar(header[offset + 2])) << 8) | quint32(uchar(header[offset + 3]));
    };
    // The page size is stored in two bytes; 1 stands for 65536.
    const quint32 pageSize = (quint32(uchar(header[16])) << 8) | uchar(header[17]);
    if (at(24) != at(92))
        return 0;
    return qint64(at(28)) * (pageSize == 1 ? 65536 : pageSize);
}

// One repeated key: its fields' values in the index's order ("KB 12").
QString KeyText(const QVariantList &values)
{
    QStringList parts;
    for (const QVariant &value : values)
        parts.append(value.toString());
    return parts.join(QLatin1Char(' '));
}

// What this program added to the old program's layout and a database made by an earlier version lacks: its own
// tables, and fields at the end of a table. A table that lacks a field before one it has is older than that; the
// maintenance program's upgrade rebuilds it in the schema's order.
struct SchemaGap
{
    QList<const TableDef *> tables;
    QList<std::pair<const TableDef *, const FieldDef *>> fields;

    bool isEmpty() const { return tables.isEmpty() && fields.isEmpty(); }
};

SchemaGap FindSchemaGap(const Engine &engine)
{
    SchemaGap gap;
    const QStringList present = engine.tables();
    for (const TableDef &table : Schema::Tables()) {
        if (!present.contains(table.name, Qt::CaseInsensitive)) {
            if (!table.imported)
                gap.tables.append(&table);
            continue;
        }
        const QStringList fields = engine.fieldNames(table.name);
        QList<std::pair<const TableDef *, const FieldDef *>> missing;
        bool atTheEnd = true;
        for (const FieldDef &field : table.fields) {
            if (!fields.contains(field.name, Qt::CaseInsensitive))
                missing.append({&table, &field});
            else
                atTheEnd = missing.isEmpty();
            if (!atTheEnd)
                break;
        }
        if (atTheEnd)
            gap.fields.append(missing);
    }
    return gap;
}

} // namespace

Engine::Engine(const QString &connectionName) : m_connection(connectionName) {}

Engine::~Engine()
{
    close();
}

QString Engine::filePath() const
{
    return m_folder.isEmpty() || m_server ? QString() : QDir(m_folder).filePath(QString::fromLatin1(FileName));
}

QSqlDatabase Engine::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool Engine::isOpen() const
{
    return !m_folder.isEmpty() && database().isOpen();
}

SqlDialect Engine::dialect() const
{
    return m_server ? SqlDialect::Server : SqlDialect::Sqlite;
}

void Engine::openServer(const QString &path)
{
    const std::optional<ServerAddress> address = ServerAddress::parse(path);
    if (!address)
        throw EngineError(QStringLiteral("Hibás kiszolgáló cím: %1\nA cím alakja: "
                                         "postgresql://[felhasználó@]kiszolgáló[:port]/adatbázis")
                              .arg(path.trimmed()));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connection);
            throw EngineError(QStringLiteral("A PostgreSQL adatbázis-meghajtó nem érhető el (libqt6sql6-psql)."));
        }
        if (!address->host.isEmpty())
            db.setHostName(address->host);
        if (address->port > 0)
            db.setPort(address->port);
        if (!address->user.isEmpty())
            db.setUserName(address->user);
        db.setDatabaseName(address->database);
        // Left empty, libpq reads ~/.pgpass or PGPASSWORD itself.
        if (!m_password.isEmpty())
            db.setPassword(m_password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10;application_name=DromvelPro"));
        if (!db.open()) {
            const EngineError error = EngineError::fromServerConnection(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connection);
            throw error;
        }
    }
    m_folder = address->toString();
    m_server = true;
    try {
        configureServerConnection();
    } catch (...) {
        close();
        throw;
    }
    addMissingSchemaParts();
    addMissingUniqueIndexes();
}

void Engine::configureServerConnection()
{
    QSqlDatabase db = database();
    // As long as SQLite waits for another workstation's write.
    ExecOn(db, QStringLiteral("SET lock_timeout = '5s';"));
    QSqlQuery upper(db);
    if (!upper.exec(ServerSchema::UpperCheckSql()) || !upper.next())
        throw EngineError::from(upper.lastError());
    if (!upper.value(0).toBool())
        throw EngineError(QStringLiteral("Az adatbázis nem ismeri a magyar ékezetes betűket (kódolása nem UTF8, vagy "
                                         "a nyelvi beállítása C). Hozza létre így:\nCREATE DATABASE … ENCODING 'UTF8' "
                                         "LOCALE 'C.UTF-8' TEMPLATE template0;"));
    upper.finish();
    const auto empty = [this] {
        const QStringList present = tables();
        return std::none_of(Schema::Tables().cbegin(), Schema::Tables().cend(),
                            [&present](const TableDef &table) { return present.contains(table.name); });
    };
    // Opening a database in use takes no lock; two programs opening a new one at once: the second one waits and
    // finds the tables made.
    if (!empty())
        return;
    Transaction transaction(*this);
    if (empty()) {
        for (const QString &sql : ServerSchema::DatabaseSetupSql())
            exec(sql);
        for (const TableDef &table : Schema::Tables())
            CreateTableWithRows(db, table, SqlDialect::Server);
    }
    transaction.commit();
}

void Engine::open(const QString &folder)
{
    close();
    if (ServerAddress::isServerPath(folder)) {
        openServer(folder);
        return;
    }
    if (!QFileInfo(folder).isDir())
        throw EngineError(QStringLiteral("Nem létező adatbázis mappa: %1").arg(QDir::toNativeSeparators(folder)));

    const QString path = QDir(folder).filePath(QString::fromLatin1(FileName));
    // An empty file is replaced like a missing one.
    const bool empty = IsEmptyDatabaseFile(path);
    if (!QFileInfo::exists(path) || empty)
        createDatabaseFile(path);
    // SQLite would open a file it may not write read-only, leave its log files beside it, and fail only at the
    // first booking. (The file is opened here before SQLite opens it: closing a descriptor of a file drops every
    // lock this process holds on it, and the program keeps no other connection to its database at this point.)
    for (const auto mode : {QIODevice::ReadOnly, QIODevice::ReadWrite}) {
        QFile probe(path);
        if (!probe.open(mode | QIODevice::ExistingOnly))
            throw EngineError((mode == QIODevice::ReadOnly ? QStringLiteral("Az adatbázis fájl nem nyitható meg.")
                                                           : QStringLiteral("Az adatbázis fájl csak olvasható, nem "
                                                                            "lehet bele írni.")) +
                              QStringLiteral("\n(") + probe.errorString() + QLatin1Char(')'));
    }
    // A checkpoint cut short by a crash may have written the header before the pages it adds; they are still in
    // the log then, which SQLite reads first.
    const qint64 expected = HeaderDatabaseSize(path);
    if (expected > QFileInfo(path).size() && !HasContent(path + QStringLiteral("-wal")) &&
        !HasContent(path + QStringLiteral("-journal")))
        throw EngineError(QStringLiteral("Az adatbázis fájl sérült. Állítsa vissza a legutóbbi biztonsági mentésből.\n"
                                         "(A fájl rövidebb, mint amekkorának a fejléce mondja: %1 bájt a %2 helyett.)")
                              .arg(QFileInfo(path).size())
                              .arg(expected));

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        if (!db.isValid()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connection);
            throw EngineError(QStringLiteral("Az SQLite adatbázis-meghajtó nem érhető el."));
        }
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            const QString message = EngineError::from(db.lastError()).message();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connection);
            throw EngineError(message);
        }
    }
    m_folder = folder;
    try {
        configureConnection();
    } catch (...) {
        close();
        throw;
    }
    m_madeFromEmptyFile = empty;
    addMissingSchemaParts();
    addMissingUniqueIndexes();
}

void Engine::close()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_folder.clear();
    m_server = false;
    m_depth = 0;
    m_indexWarnings.clear();
    m_madeFromEmptyFile = false;
}

void Engine::configureConnection()
{
    QSqlDatabase db = database();
    // Reading the catalogue first refuses a file that is not a database before anything is written to it.
    ExecOn(db, QStringLiteral("SELECT count(*) FROM sqlite_master;"));
    ExecOn(db, QStringLiteral("PRAGMA journal_mode=WAL;"));
    ExecOn(db, QStringLiteral("PRAGMA synchronous=FULL;"));
    ExecOn(db, QStringLiteral("PRAGMA foreign_keys=OFF;"));
    // What is deleted or overwritten does not linger in the pages it leaves, so a copy of the file shows no
    // password as it was before its hash took its place. FAST costs no extra writes.
    ExecOn(db, QStringLiteral("PRAGMA secure_delete=FAST;"));
    RegisterSqliteFunctions(db);
}

// Builds the new database in a file of its own and moves it into place only when it is complete, so a
// failure leaves the folder as it was and two programs starting at once cannot both build one.
void Engine::createDatabaseFile(const QString &path)
{
    const QString temp = QStringLiteral("%1.%2.new").arg(path).arg(QCoreApplication::applicationPid());
    const QString connection = m_connection + QStringLiteral("_create");
    RemoveFileSet(temp);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temp);
        if (!db.open()) {
            failure = EngineError::from(db.lastError()).message();
        } else {
            try {
                ExecOn(db, QStringLiteral("BEGIN;"));
                for (const TableDef &table : Schema::Tables())
                    CreateTableWithRows(db, table, SqlDialect::Sqlite);
                ExecOn(db, QStringLiteral("COMMIT;"));
            } catch (const EngineError &e) {
                failure = e.message();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.isEmpty()) {
        RemoveFileSet(temp);
        throw EngineError(failure);
    }
    // Rename does not replace; an empty file in the way goes first (a database put there meanwhile stays).
    if (IsEmptyDatabaseFile(path))
        QFile::remove(path);
    if (!QFile::rename(temp, path)) {
        RemoveFileSet(temp);
        // Another program may have put its new database in place meanwhile; that one is as good.
        if (!QFileInfo(path).isFile() || QFileInfo(path).size() == 0)
            throw EngineError(
                QStringLiteral("Az adatbázis fájl nem hozható létre: %1").arg(QDir::toNativeSeparators(path)));
    }
}

void Engine::exec(const QString &sql)
{
    Query(*this, sql).exec();
}

QStringList Engine::tables() const
{
    if (m_server)
        return Column(CatalogueRows(database(), QStringLiteral("SELECT c.relname::text FROM pg_class c JOIN pg_namespace n "
                                                               "ON n.oid = c.relnamespace WHERE n.nspname = "
                                                               "current_schema() AND c.relkind IN ('r', 'p') "
                                                               "ORDER BY 1;")),
                      0);
    return Column(CatalogueRows(database(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                                                           "name NOT LIKE 'sqlite_%' ORDER BY name;")),
                  0);
}

QStringList Engine::fieldNames(const QString &table) const
{
    const QStringList result = m_server ? ServerColumns(database(), table) : Column(TableInfo(database(), table), 1);
    if (result.isEmpty())
        throw EngineError(QStringLiteral("A tábla nem létezik: %1").arg(table));
    return result;
}

const TableDef &Engine::tableDef(const QString &table) const
{
    const TableDef *def = Schema::Table(table);
    if (!def)
        throw EngineError(QStringLiteral("Ismeretlen tábla: %1").arg(table));
    return *def;
}

qint64 Engine::insert(const QString &table, const QVariantMap &values)
{
    const TableDef &def = tableDef(table);
    if (!isOpen())
        throw EngineError(QStringLiteral("Nincs megnyitott adatbázis."));
    return InsertRow(database(), def, values, dialect());
}

int Engine::update(const QString &table, const QString &keyField, const QVariant &keyValue, const QVariantMap &values,
                   const QString &condition)
{
    const TableDef &def = tableDef(table);
    const KeyMatch key = MatchKey(def, keyField, keyValue);
    if (values.isEmpty())
        return 0;
    QStringList sets;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        sets.append(FieldOf(def, it.key()).name + QStringLiteral(" = ") + Placeholder(sets.size()));
    const QString extra = condition.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(condition);
    Query q(*this, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = :key%4;")
                       .arg(def.name, sets.join(QStringLiteral(", ")), key.field, extra));
    const QVariantList stored = StoredValues(def, values);
    for (qsizetype i = 0; i < stored.size(); ++i)
        q.setValue(Placeholder(i), stored.at(i));
    q.setValue(QStringLiteral("key"), key.value);
    q.exec();
    return q.rowsAffected();
}

int Engine::remove(const QString &table, const QString &keyField, const QVariant &keyValue)
{
    const TableDef &def = tableDef(table);
    const KeyMatch key = MatchKey(def, keyField, keyValue);
    Query q(*this, QStringLiteral("DELETE FROM %1 WHERE %2 = :key;").arg(def.name, key.field));
    q.setValue(QStringLiteral("key"), key.value);
    q.exec();
    return q.rowsAffected();
}

bool Engine::hasIndexOn(const QString &table, const QStringList &fields) const
{
    if (fields.isEmpty())
        return false;
    auto matches = [&fields](const QStringList &columns) {
        if (columns.size() < fields.size())
            return false;
        for (int i = 0; i < fields.size(); ++i)
            if (columns.at(i).compare(fields.at(i).trimmed(), Qt::CaseInsensitive) != 0)
                return false;
        return true;
    };
    if (m_server) {
        if (ServerColumns(database(), table).isEmpty())
            throw EngineError(QStringLiteral("A tábla nem létezik: %1").arg(table));
        // The key's own index is among them.
        for (const ServerIndex &index : ServerIndexes(database(), table))
            if (matches(index.columns))
                return true;
        return false;
    }
    const QList<QVariantList> columns = TableInfo(database(), table);
    if (columns.isEmpty())
        throw EngineError(QStringLiteral("A tábla nem létezik: %1").arg(table));
    for (const QVariantList &column : columns) {
        // An integer primary key is the row id: the table itself is ordered by it.
        if (column.value(5).toInt() == 1 &&
            column.value(2).toString().startsWith(QStringLiteral("INTEGER"), Qt::CaseInsensitive) &&
            matches({column.value(1).toString()}))
            return true;
    }
    for (const QString &index : indexNames(table))
        if (matches(Column(CatalogueRows(database(), QStringLiteral("PRAGMA index_info(\"%1\");").arg(index)), 2)))
            return true;
    return false;
}

QString Engine::orderClause(const QString &table, const QStringList &fields) const
{
    if (!hasIndexOn(table, fields))
        throw EngineError(
            QStringLiteral("Nincs index a(z) %1 tábla %2 mezőjére.").arg(table, fields.join(QStringLiteral(", "))));
    return fields.join(QStringLiteral(", "));
}

QStringList Engine::indexNames(const QString &table) const
{
    QStringList result;
    if (m_server) {
        for (const ServerIndex &index : ServerIndexes(database(), table))
            if (index.made)
                result.append(index.name);
    } else {
        result = Column(IndexList(database(), table), 1);
    }
    result.sort();
    return result;
}

void Engine::dropIndexes(const QString &table)
{
    fieldNames(table); // a missing table is an error, as with index files that cannot be found
    // Only the indexes made by CREATE INDEX ("c"); those standing for a key or a UNIQUE constraint stay.
    if (m_server) {
        for (const ServerIndex &index : ServerIndexes(database(), table))
            if (index.made)
                ExecOn(database(), QStringLiteral("DROP INDEX \"%1\";").arg(index.name));
        return;
    }
    for (const QVariantList &index : IndexList(database(), table))
        if (index.value(3).toString() == QLatin1String("c"))
            ExecOn(database(), QStringLiteral("DROP INDEX \"%1\";").arg(index.value(1).toString()));
}

void Engine::createTable(const QString &table)
{
    CreateTableWithRows(database(), tableDef(table), dialect());
}

void Engine::createPrimaryIndex(const QString &table)
{
    fieldNames(table);
    const QString sql = Schema::CreatePrimaryIndexSql(tableDef(table));
    if (!sql.isEmpty())
        exec(sql);
}

void Engine::createSecondaryIndexes(const QString &table)
{
    fieldNames(table);
    const TableDef &def = tableDef(table);
    for (const IndexDef &index : def.allIndexes()) {
        if (index.unique)
            createUniqueIndex(def, index);
        else
            exec(Schema::CreateIndexSql(def, index));
    }
}

void Engine::addMissingSchemaParts()
{
    try {
        if (FindSchemaGap(*this).isEmpty())
            return;
        Transaction transaction(*this);
        // Under the write lock: another workstation opening the same database may have added them meanwhile.
        const SchemaGap gap = FindSchemaGap(*this);
        for (const TableDef *table : gap.tables)
            createTable(table->name);
        for (const auto &[table, field] : gap.fields)
            exec(Schema::AddColumnSql(*table, *field, dialect()));
        transaction.commit();
    } catch (const EngineError &) {
        // As with the indexes: a database another program is writing, or a read-only file, gets them later.
    }
}

void Engine::addMissingUniqueIndexes()
{
    try {
        for (const TableDef &def : Schema::Tables())
            for (const IndexDef &index : def.allIndexes())
                if (index.unique && !indexNames(def.name).contains(index.name, Qt::CaseInsensitive))
                    createUniqueIndex(def, index);
    } catch (const EngineError &) {
        // Reading needs no index: a database another program is writing (one wait is enough), or a read-only
        // file, gets the rest at a later open.
    }
}

void Engine::createUniqueIndex(const TableDef &table, const IndexDef &index)
{
    try {
        // Within a larger transaction a savepoint, so a refused index leaves the rest of the work standing.
        Transaction transaction(*this);
        exec(Schema::CreateIndexSql(table, index));
        transaction.commit();
    } catch (const EngineError &) {
        const QString duplicates = duplicateText(table, index);
        if (duplicates.isEmpty())
            throw;
        m_indexWarnings.append(duplicates);
    }
}

QString Engine::duplicateText(const TableDef &table, const IndexDef &index) const
{
    constexpr int Shown = 10;
    const QList<QVariantList> rows = CatalogueRows(database(), Schema::DuplicateKeysSql(table, index, Shown + 1));
    if (rows.isEmpty())
        return {};
    QStringList keys;
    for (qsizetype i = 0; i < rows.size() && i < Shown; ++i)
        keys.append(KeyText(rows.at(i)));
    if (rows.size() > Shown)
        keys.append(QStringLiteral("…"));
    return QStringLiteral("Az adatbázis könyvelt sorai között ismétlődő %1 vannak: %2.\n"
                          "Az ismétlődést tiltó index ezért nem készült el; a program enélkül is működik, de az "
                          "ismétlődő számokat érdemes rendbe tenni.")
        .arg(index.label, keys.join(QStringLiteral("; ")));
}

void Engine::begin()
{
    if (m_depth > 0)
        exec(QStringLiteral("SAVEPOINT sp%1;").arg(m_depth));
    else if (!m_server)
        exec(QStringLiteral("BEGIN IMMEDIATE;"));
    else {
        exec(QStringLiteral("BEGIN;"));
        try {
            ExecOn(database(), ServerSchema::WriteLockSql());
        } catch (...) {
            exec(QStringLiteral("ROLLBACK;"));
            throw;
        }
    }
    ++m_depth;
}

bool Engine::inTransaction() const
{
    if (!m_server)
        return InTransaction(database());
    const QVariant handle = database().driver()->handle();
    // The driver names the type by libpq's struct (pg_conn), older ones by its typedef.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        throw EngineError(QStringLiteral("Az adatbázis kapcsolat nem PostgreSQL kapcsolat."));
    return PQtransactionStatus(*static_cast<PGconn *const *>(handle.data())) != PQTRANS_IDLE;
}

QString Engine::beginReadSql() const
{
    // SQLite's deferred transaction reads one snapshot from its first read on; the server's default gives each
    // statement a fresh one.
    return m_server ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY;") : QStringLiteral("BEGIN;");
}

void Engine::commit()
{
    if (m_depth == 0)
        throw EngineError(QStringLiteral("Nincs nyitott tranzakció."));
    if (m_depth > 1) {
        exec(QStringLiteral("RELEASE sp%1;").arg(m_depth - 1));
        --m_depth;
        return;
    }
    try {
        exec(QStringLiteral("COMMIT;"));
    } catch (...) {
        try {
            rollback();
        } catch (const EngineError &) {
            m_depth = 0;
        }
        throw;
    }
    m_depth = 0;
}

void Engine::rollback()
{
    if (m_depth == 0)
        return;
    --m_depth;
    if (m_depth == 0) {
        exec(QStringLiteral("ROLLBACK;"));
    } else {
        exec(QStringLiteral("ROLLBACK TO sp%1;").arg(m_depth));
        exec(QStringLiteral("RELEASE sp%1;").arg(m_depth));
    }
}

Transaction::Transaction(Engine &engine) : m_engine(engine)
{
    m_engine.begin();
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_engine.rollback();
    } catch (const EngineError &) {
        // A failed rollback leaves SQLite to undo the transaction when the connection closes.
    }
}

void Transaction::commit()
{
    m_done = true;
    m_engine.commit();
}

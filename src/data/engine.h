#pragma once

#include "engineerror.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantMap>

struct TableDef;
struct IndexDef;
enum class SqlDialect;

// One open database: the folder that holds dromvel.sqlite, or a database on a PostgreSQL server
// (postgresql://[user@]host[:port]/dbname). Everything that knows which engine it is lives here and in Query and
// Transaction.
class Engine
{
public:
    static constexpr const char *FileName = "dromvel.sqlite";

    // The connection name must be unique among the engines open at one time.
    explicit Engine(const QString &connectionName = QStringLiteral("Dromvel"));
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // Opens the database of the folder. A folder without a database file (or with an empty one) gets a new
    // one with every table and the starting rows. A database made by an earlier version gets the tables and the
    // fields added to the layout since, in one transaction; the rows it has keep their values and hold the new
    // fields' defaults. A database made before the unique indexes of the schema gets them now, unless its rows already
    // repeat what they forbid: indexWarnings() then says which values repeat, and the database works on without that
    // index. Throws EngineError; on failure nothing in the folder is changed.
    // A server address opens that server database; an empty one gets every table and the starting rows.
    void open(const QString &folder);
    void close();
    bool isOpen() const;
    // The folder, or the server address of the open database.
    QString folder() const { return m_folder; }
    // The password for opening a server database, kept in memory only. Empty: libpq's own password file
    // (~/.pgpass) or PGPASSWORD.
    void setPassword(const QString &password) { m_password = password; }
    // The password held for the server database (typed at the "Jelszó" window); empty when libpq found its own.
    const QString &password() const { return m_password; }
    bool isServer() const { return m_server; }
    SqlDialect dialect() const;
    QString filePath() const;
    QSqlDatabase database() const;

    // Runs a statement without a result set.
    void exec(const QString &sql);

    QStringList tables() const;
    // Field names of a table in their stored order; throws when the table does not exist.
    QStringList fieldNames(const QString &table) const;

    // Writes one row through the schema: texts cut to the field's width, empty texts stored as NULL.
    // Returns the row id of the new row.
    qint64 insert(const QString &table, const QVariantMap &values);
    // Updates the rows whose keyField equals keyValue (and that meet the extra SQL condition, when given);
    // returns how many rows changed.
    int update(const QString &table, const QString &keyField, const QVariant &keyValue, const QVariantMap &values,
               const QString &condition = QString());
    int remove(const QString &table, const QString &keyField, const QVariant &keyValue);

    // ORDER BY clause for a table object ordered by these fields; throws when no index of the table starts
    // with exactly these fields.
    QString orderClause(const QString &table, const QStringList &fields) const;
    bool hasIndexOn(const QString &table, const QStringList &fields) const;

    // Creates a table of the schema that the database lacks, with its indexes and starting rows.
    void createTable(const QString &table);

    // Index maintenance of one table: drop every index of it, build the primary index, build the named
    // secondary indexes and our own ones, as the schema lists them.
    void dropIndexes(const QString &table);
    void createPrimaryIndex(const QString &table);
    // A unique index that the rows do not allow is left out and told in indexWarnings(); other failures throw.
    void createSecondaryIndexes(const QString &table);
    QStringList indexNames(const QString &table) const;
    // Hungarian texts, one per unique index left out since the last open(): what repeats, and which values.
    // The caller shows them.
    QStringList indexWarnings() const { return m_indexWarnings; }
    // The last open() found a database file of 0 bytes and made the new database in it. The caller tells the
    // user, who may have expected rows there (a copy cut short) and should restore a backup.
    bool madeFromEmptyFile() const { return m_madeFromEmptyFile; }

    // Transactions nest: the outermost one takes the write lock of the whole database at once (on the server an
    // advisory lock held to its end), so numbers read with MAX()+1 inside it are not taken by another program.
    void begin();
    void commit();
    void rollback();
    // The statement that starts a transaction which only reads and sees one state of the database throughout,
    // whatever other programs commit meanwhile; it ends with ROLLBACK.
    QString beginReadSql() const;
    int transactionDepth() const { return m_depth; }
    // True while the connection is inside a transaction, whoever began it (the SQL console's user too).
    bool inTransaction() const;

private:
    void openServer(const QString &path);
    void configureServerConnection();
    void configureConnection();
    void createDatabaseFile(const QString &path);
    const TableDef &tableDef(const QString &table) const;
    void addMissingSchemaParts();
    void addMissingUniqueIndexes();
    void createUniqueIndex(const TableDef &table, const IndexDef &index);
    QString duplicateText(const TableDef &table, const IndexDef &index) const;

    QString m_connection;
    QString m_folder;
    QString m_password;
    bool m_server = false;
    int m_depth = 0;
    QStringList m_indexWarnings;
    bool m_madeFromEmptyFile = false;
};

// Scope guard of one transaction: rolls back unless committed.
class Transaction
{
public:
    explicit Transaction(Engine &engine);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Engine &m_engine;
    bool m_done = false;
};

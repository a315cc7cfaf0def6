#pragma once

#include "datecolumns.h"
#include "engineerror.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <memory>

class Engine;

// A connection of its own to the open database, for reads that must not hold a snapshot on the program's
// connection. Throws EngineError when it cannot be opened.
class ReadConnection
{
public:
    explicit ReadConnection(Engine &engine);
    ~ReadConnection();
    ReadConnection(const ReadConnection &) = delete;
    ReadConnection &operator=(const ReadConnection &) = delete;

    QSqlDatabase database() const;

private:
    QString m_name;
};

// The rows of one SELECT, read one by one on a connection of its own: a long read (an export) holds no read
// snapshot on the program's connection, so writes there go on while it runs, and memory stays flat however many
// rows there are. Date fields come back as QDate, as everywhere else. Throws EngineError.
class RowStream
{
public:
    // bindings: placeholder name (with or without ":") -> value; a QDate binds as the stored date text.
    RowStream(Engine &engine, const QString &sql, const QVariantMap &bindings = {});
    // On a connection the caller keeps for several reads.
    RowStream(ReadConnection &connection, const QString &sql, const QVariantMap &bindings = {});
    ~RowStream();
    RowStream(const RowStream &) = delete;
    RowStream &operator=(const RowStream &) = delete;

    // Number of rows the statement gives, counted by the engine without reading them.
    qint64 count();
    // Runs the statement; the field names are known from here on and the cursor stands before the first row.
    void open();
    bool next();
    // The current row's values, one per field.
    const QVariantList &values() const { return m_values; }
    const QStringList &fieldNames() const { return m_fieldNames; }
    // The type the engine reports for a field (declared type; unknown for most expressions).
    QMetaType fieldType(int position) const { return m_fieldTypes.value(position); }
    // Ends the read; the destructor does it too.
    void close();

private:
    void prepare(QSqlQuery &query, const QString &sql) const;
    [[noreturn]] void fail(const QSqlQuery &query) const;

    std::unique_ptr<ReadConnection> m_own;
    ReadConnection &m_connection;
    QString m_sql;
    QVariantMap m_bindings;
    QSqlQuery m_query;
    QStringList m_fieldNames;
    QList<QMetaType> m_fieldTypes;
    DateColumns m_dates;
    QVariantList m_values;
};

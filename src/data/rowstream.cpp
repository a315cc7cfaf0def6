#include "rowstream.h"

#include "engine.h"
#include "sqlitefunctions.h"

#include <QAtomicInt>
#include <QDate>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace {

QString NewConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("RowStream_%1").arg(counter.fetchAndAddRelaxed(1));
}

// The statement as a sub-query: without the closing ";".
QString Bare(const QString &sql)
{
    QString text = sql.trimmed();
    while (text.endsWith(QLatin1Char(';')))
        text.chop(1);
    return text;
}

} // namespace

ReadConnection::ReadConnection(Engine &engine) : m_name(NewConnectionName())
{
    if (!engine.isOpen())
        throw EngineError(QStringLiteral("Nincs megnyitott adatbázis."));
    QSqlDatabase db = QSqlDatabase::cloneDatabase(engine.database(), m_name);
    if (!db.open()) {
        const EngineError error = EngineError::from(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw error;
    }
    if (db.driverName() == QLatin1String("QSQLITE"))
        RegisterSqliteFunctions(db);
}

ReadConnection::~ReadConnection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase ReadConnection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

RowStream::RowStream(Engine &engine, const QString &sql, const QVariantMap &bindings)
    : m_own(std::make_unique<ReadConnection>(engine)), m_connection(*m_own), m_sql(Bare(sql)), m_bindings(bindings)
{}

RowStream::RowStream(ReadConnection &connection, const QString &sql, const QVariantMap &bindings)
    : m_connection(connection), m_sql(Bare(sql)), m_bindings(bindings)
{}

RowStream::~RowStream()
{
    close();
    // The statement ends before its connection may go.
    m_query = QSqlQuery();
}

void RowStream::fail(const QSqlQuery &query) const
{
    throw EngineError::from(query.lastError());
}

void RowStream::prepare(QSqlQuery &query, const QString &sql) const
{
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        fail(query);
    for (auto it = m_bindings.cbegin(); it != m_bindings.cend(); ++it) {
        const QString name = it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key();
        const QVariant &value = it.value();
        if (value.typeId() == QMetaType::QDate)
            query.bindValue(name,
                            value.toDate().isValid() ? QVariant(value.toDate().toString(Qt::ISODate)) : QVariant());
        else
            query.bindValue(name, value);
    }
}

qint64 RowStream::count()
{
    QSqlQuery query(m_connection.database());
    // The statement on lines of its own: a closing line comment must not swallow the parenthesis.
    prepare(query, QStringLiteral("SELECT COUNT(*) FROM (\n%1\n) AS counted").arg(m_sql));
    if (!query.exec())
        fail(query);
    const qint64 rows = query.next() ? query.value(0).toLongLong() : 0;
    query.finish();
    return rows;
}

void RowStream::open()
{
    close();
    m_query = QSqlQuery(m_connection.database());
    prepare(m_query, m_sql);
    if (!m_query.exec())
        fail(m_query);
    const QSqlRecord record = m_query.record();
    m_fieldNames.clear();
    m_fieldTypes.clear();
    for (int i = 0; i < record.count(); ++i) {
        m_fieldNames.append(record.fieldName(i));
        m_fieldTypes.append(record.field(i).metaType());
    }
    m_dates = DateColumns(record);
    m_values = QVariantList(record.count());
}

bool RowStream::next()
{
    if (!m_query.next()) {
        if (m_query.lastError().isValid())
            fail(m_query);
        m_query.finish();
        return false;
    }
    for (qsizetype i = 0; i < m_values.size(); ++i)
        m_values[i] = m_dates.read(int(i), m_query.value(int(i)));
    return true;
}

void RowStream::close()
{
    if (m_query.isActive())
        m_query.finish();
}

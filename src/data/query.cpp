#include "query.h"

#include "boundsql.h"
#include "engine.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlRecord>

namespace {

QString Placeholder(const QString &name)
{
    return name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
}

// On the server only statements that read or change rows take parameters; any other (CREATE, BEGIN, SET …) runs
// as it is written.
bool TakesParameters(const QString &sql)
{
    static const QRegularExpression rowStatement(QStringLiteral("^\\s*\\(*\\s*(SELECT|INSERT|UPDATE|DELETE|WITH|VALUES)\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    return rowStatement.match(sql).hasMatch();
}

} // namespace

Query::Query(Engine &engine, const QString &sql)
{
    if (!engine.isOpen())
        throw EngineError(QStringLiteral("Nincs megnyitott adatbázis."));
    m_query = QSqlQuery(engine.database());
    m_query.setForwardOnly(true);
    // The server gets each statement with its values written in, in one round trip: the driver's prepared
    // statement would take three (PREPARE, EXECUTE, DEALLOCATE), and under load each one waits for its turn.
    if (engine.isServer()) {
        m_direct = sql;
        m_valuesWrittenIn = TakesParameters(sql);
        return;
    }
    if (!m_query.prepare(sql))
        fail();
}

bool Query::run()
{
    if (m_direct.isEmpty())
        return m_query.exec();
    return m_query.exec(m_valuesWrittenIn ? BoundSql(*m_query.driver(), m_direct, m_values) : m_direct);
}

void Query::fail() const
{
    throw EngineError::from(m_query.lastError());
}

void Query::bind(const QString &name, const QVariant &value)
{
    if (m_valuesWrittenIn)
        m_values.insert(Placeholder(name), value);
    else
        m_query.bindValue(Placeholder(name), value);
}

Query &Query::setInt(const QString &name, qint64 value)
{
    bind(name, value);
    return *this;
}

Query &Query::setFloat(const QString &name, double value)
{
    bind(name, value);
    return *this;
}

Query &Query::setText(const QString &name, const QString &value)
{
    bind(name, value);
    return *this;
}

Query &Query::setDate(const QString &name, const QDate &value)
{
    bind(name, value.isValid() ? QVariant(value.toString(Qt::ISODate)) : QVariant());
    return *this;
}

Query &Query::setValue(const QString &name, const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate)
        return setDate(name, value.toDate());
    bind(name, value);
    return *this;
}

void Query::open()
{
    if (!run())
        fail();
    m_dates = DateColumns(m_query.record());
}

void Query::exec()
{
    if (!run())
        fail();
    m_rowsAffected = m_query.numRowsAffected();
    m_query.finish();
}

bool Query::next()
{
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        fail();
    return false;
}

void Query::close()
{
    m_query.finish();
}

QVariant Query::firstValue()
{
    open();
    const QVariant value = next() ? this->value(0) : QVariant();
    close();
    return value;
}

QSqlRecord Query::record() const
{
    return m_query.record();
}

int Query::fieldCount() const
{
    return m_query.record().count();
}

QString Query::fieldName(int position) const
{
    return m_query.record().fieldName(position);
}

QVariant Query::value(int position) const
{
    return m_dates.read(position, m_query.value(position));
}

QVariant Query::value(const QString &field) const
{
    const int position = m_query.record().indexOf(field);
    if (position < 0)
        throw EngineError(QStringLiteral("Nincs ilyen mező az eredményben: %1").arg(field));
    return value(position);
}

int Query::rowsAffected() const
{
    return m_rowsAffected;
}

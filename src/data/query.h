#pragma once

#include "datecolumns.h"
#include "engineerror.h"

#include <QDate>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

class Engine;

// A query on the open database with named parameters (":pkassza"). Date fields come back as QDate.
class Query
{
public:
    Query(Engine &engine, const QString &sql);

    Query &setInt(const QString &name, qint64 value);
    Query &setFloat(const QString &name, double value);
    Query &setText(const QString &name, const QString &value);
    Query &setDate(const QString &name, const QDate &value);
    // Any value; a null QVariant binds NULL.
    Query &setValue(const QString &name, const QVariant &value);

    // Runs a statement that returns rows; the cursor stands before the first row.
    void open();
    // Runs a statement without a result set.
    void exec();
    bool next();
    void close();
    // Runs a statement that returns rows and reads column 1 of row 1; a null value when there is no row.
    QVariant firstValue();

    // The result's fields, known once the statement has run.
    QSqlRecord record() const;
    int fieldCount() const;
    QString fieldName(int position) const;
    QVariant value(int position) const;
    QVariant value(const QString &field) const;
    // Rows changed by the last exec().
    int rowsAffected() const;

private:
    void bind(const QString &name, const QVariant &value);
    bool run();
    [[noreturn]] void fail() const;

    QSqlQuery m_query;
    // A statement run on the server as it is, or with its parameters' values written in.
    QString m_direct;
    bool m_valuesWrittenIn = false;
    QHash<QString, QVariant> m_values;
    DateColumns m_dates;
    int m_rowsAffected = -1;
};

#pragma once

#include "rowstream.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Engine;

// The rows of any SELECT, read a page at a time on a connection of its own. Every page is a finished statement of
// its own (the SELECT as a sub-query with LIMIT and OFFSET), so nothing stays half-read between pages and the
// program's connection is not involved. The price: each page runs the SELECT again, which is cheap while the engine
// streams the rows and costs a sort per page when it has to sort without an index; rows other workstations add or
// delete meanwhile shift the later pages. Date fields come back as QDate. Throws EngineError.
class PagedQuery
{
public:
    PagedQuery(Engine &engine, const QString &select);

    // Up to `rows` rows from row `first` (0-based), each with one value per field.
    QList<QVariantList> page(qint64 first, int rows);
    // The field names, known once a page has been read.
    const QStringList &fieldNames() const { return m_fieldNames; }
    // Number of rows the SELECT gives, counted by the engine.
    qint64 count();

private:
    ReadConnection m_connection;
    QString m_select;
    QStringList m_fieldNames;
};

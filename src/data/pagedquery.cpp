#include "pagedquery.h"

#include <QRegularExpression>

namespace {

// The engine names a repeated column of a sub-query "name:1", "name:2"...; the grid shows the SELECT's own names.
QStringList OwnNames(const QStringList &names)
{
    static const QRegularExpression renamed(QStringLiteral("^(.*):\\d+$"));
    QStringList result;
    for (const QString &name : names) {
        const QRegularExpressionMatch match = renamed.match(name);
        result.append(match.hasMatch() && result.contains(match.captured(1)) ? match.captured(1) : name);
    }
    return result;
}

} // namespace

PagedQuery::PagedQuery(Engine &engine, const QString &select) : m_connection(engine), m_select(select) {}

QList<QVariantList> PagedQuery::page(qint64 first, int rows)
{
    // The SELECT on lines of its own: a closing line comment must not swallow the parenthesis.
    RowStream stream(
        m_connection,
        QStringLiteral("SELECT * FROM (\n%1\n) AS paged LIMIT %2 OFFSET %3").arg(m_select).arg(rows).arg(first));
    stream.open();
    m_fieldNames = OwnNames(stream.fieldNames());
    QList<QVariantList> result;
    result.reserve(rows);
    while (stream.next())
        result.append(stream.values());
    stream.close();
    return result;
}

qint64 PagedQuery::count()
{
    return RowStream(m_connection, m_select).count();
}

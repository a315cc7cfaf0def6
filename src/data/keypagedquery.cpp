#include "keypagedquery.h"

#include "query.h"
#include "schema.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QRegularExpression
    JoinLine(QStringLiteral(R"(^\s*LEFT\s+OUTER\s+JOIN\s+(\w+)\s+ON\s+\(\s*(\w+)\.(\w+)\s*=\s*(\w+)\.(\w+)\s*\)\s*$)"),
             QRegularExpression::CaseInsensitiveOption);
const QRegularExpression OrderLine(QStringLiteral(R"(^ORDER\s+BY\s+(\w+(?:\.\w+)?)\s*;?\s*$)"),
                                   QRegularExpression::CaseInsensitiveOption);

// A line is a clause's own when it starts with the keyword, as the line editing of the SQL texts reads them.
bool IsClause(const QString &line, QLatin1String keyword)
{
    return line.toUpper().startsWith(keyword);
}

bool Mentions(const QString &text, const QString &table)
{
    return text.contains(
        QRegularExpression(QStringLiteral("\\b%1\\.").arg(table), QRegularExpression::CaseInsensitiveOption));
}

QString KeyParameter(int i)
{
    return QStringLiteral(":k%1").arg(i);
}

QString Order(const QStringList &keys, bool descending)
{
    if (!descending)
        return keys.join(QStringLiteral(", "));
    QStringList order;
    for (const QString &key : keys)
        order.append(key + QStringLiteral(" DESC"));
    return order.join(QStringLiteral(", "));
}

[[noreturn]] void Fail(const QString &text)
{
    throw EngineError(QStringLiteral("A lekérdezés nem olvasható lapozva: %1").arg(text));
}

} // namespace

KeyPagedQuery::KeyPagedQuery(Engine &engine, int keyListRows) : m_engine(engine), m_keyListRows(keyListRows) {}

KeyPagedQuery::~KeyPagedQuery() = default;

void KeyPagedQuery::clear()
{
    m_record = QSqlRecord();
    m_total = 0;
    m_end = 0;
    m_first = 0;
    m_window.clear();
    m_segments.clear();
    m_keyList.clear();
    m_byKeys = false;
}

void KeyPagedQuery::open(const QStringList &lines)
{
    clear();
    try {
        parse(lines);
        // The whole view is counted along the narrowest index; the rows without a value, which come first, on
        // their own.
        m_total = count(m_all, Bound::None, {});
        if (m_total > 0 && m_total <= m_keyListRows) {
            readKeyList();
            m_window = readByKeys(0, PageRows);
        } else {
            if (m_segments.size() > 1) {
                m_segments[0].size = count(m_segments.at(0), Bound::None, {});
                m_segments[1].first = m_segments.at(0).size;
                m_segments[1].size = m_total - m_segments.at(0).size;
            } else {
                m_segments[0].size = m_total;
            }
            m_end = m_total;
            m_window = readForward(0, 0, Bound::None, {}, PageRows);
            if (m_window.size() < PageRows)
                m_end = int(m_window.size());
        }
        // An empty view still names its columns.
        if (m_record.isEmpty())
            read(0, Bound::None, {}, 1, false);
    } catch (...) {
        clear();
        throw;
    }
}

void KeyPagedQuery::parse(const QStringList &lines)
{
    m_select.clear();
    m_fromLine.clear();
    m_joinLines.clear();
    m_joinTables.clear();
    m_where.clear();
    QString order;
    QStringList joinFields, joinKeys;
    for (const QString &line : lines) {
        if (IsClause(line, QLatin1String("FROM"))) {
            m_fromLine = line;
            m_table = line.mid(4).trimmed();
        } else if (IsClause(line, QLatin1String("WHERE"))) {
            m_where = line.mid(5).trimmed();
        } else if (IsClause(line, QLatin1String("ORDER"))) {
            const QRegularExpressionMatch match = OrderLine.match(line.trimmed());
            if (!match.hasMatch())
                Fail(line);
            order = match.captured(1);
        } else if (m_fromLine.isEmpty()) {
            m_select.append(line);
        } else {
            const QRegularExpressionMatch match = JoinLine.match(line);
            if (!match.hasMatch())
                Fail(line);
            // Either side may name the lookup.
            const bool lookupFirst = match.captured(2).compare(match.captured(1), Qt::CaseInsensitive) == 0;
            m_joinLines.append(line);
            m_joinTables.append(match.captured(1));
            joinFields.append(match.captured(lookupFirst ? 5 : 3));
            joinKeys.append(match.captured(lookupFirst ? 3 : 5));
        }
    }
    const TableDef *table = Schema::Table(m_table);
    if (!table)
        Fail(m_fromLine);
    m_key = table->key().name;

    const QStringList allFrom = QStringList{m_fromLine} + m_joinLines;
    const QString key = m_table + QLatin1Char('.') + m_key;
    m_all = Segment{};
    m_all.from = allFrom;
    const QString field = order.section(QLatin1Char('.'), -1);
    if (order.isEmpty() || order == QLatin1String("1") || field.compare(m_key, Qt::CaseInsensitive) == 0) {
        addSegment({}, allFrom, {key}, {m_key});
        m_wholeOrder = QStringList{key};
        return;
    }
    // A looked-up column is named with its lookup's name among the SELECT lines.
    const QRegularExpression named(QStringLiteral("\\b(\\w+)\\.%1\\b").arg(field),
                                   QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = named.match(m_select.join(QLatin1Char('\n')));
    const int join = match.hasMatch() ? int(m_joinTables.indexOf(match.captured(1))) : -1;
    if (join < 0) {
        const QString column = m_table + QLatin1Char('.') + field;
        addSegment(column + QStringLiteral(" IS NULL"), allFrom, {key}, {m_key});
        addSegment(column + QStringLiteral(" IS NOT NULL"), allFrom, {column, key}, {field, m_key});
        m_wholeOrder = QStringList{QStringLiteral("CASE WHEN %1 IS NULL THEN 0 ELSE 1 END").arg(column), column, key};
        return;
    }
    // Rows with a name walk the lookup in name order and reach the table along an index that starts with the
    // joining field: naming the lookup first keeps SQLite on that path, which it would not choose unasked.
    const QString lookup = m_joinTables.at(join);
    const QString name = lookup + QLatin1Char('.') + field;
    const QString lookupKey = lookup + QLatin1Char('.') + joinKeys.at(join);
    QStringList crossFrom{QStringLiteral("FROM %1 CROSS JOIN %2").arg(lookup, m_table)};
    for (int j = 0; j < m_joinLines.size(); ++j)
        if (j != join)
            crossFrom.append(m_joinLines.at(j));
    addSegment(name + QStringLiteral(" IS NULL"), allFrom, {key}, {m_key});
    addSegment(QStringLiteral("(%1.%2=%3) AND (%4 IS NOT NULL)").arg(m_table, joinFields.at(join), lookupKey, name),
               crossFrom, {name, lookupKey, key}, {field, joinFields.at(join), m_key});
    m_wholeOrder = QStringList{QStringLiteral("CASE WHEN %1 IS NULL THEN 0 ELSE 1 END").arg(name), name,
                               QStringLiteral("CASE WHEN %1 IS NULL THEN NULL ELSE %2 END").arg(name, lookupKey), key};
}

void KeyPagedQuery::addSegment(const QString &condition, const QStringList &from, const QStringList &keys,
                               const QStringList &keyFields)
{
    Segment segment;
    segment.condition = condition;
    segment.from = from;
    segment.keys = keys;
    segment.keyFields = keyFields;
    m_segments.append(segment);
}

QString KeyPagedQuery::conditionOf(const Segment &segment, Bound bound) const
{
    QStringList parts;
    if (!m_where.isEmpty())
        parts.append(QLatin1Char('(') + m_where + QLatin1Char(')'));
    if (!segment.condition.isEmpty())
        parts.append(QLatin1Char('(') + segment.condition + QLatin1Char(')'));
    if (bound == Bound::None)
        return parts.join(QStringLiteral(" AND "));
    QStringList values;
    for (int i = 0; i < segment.keys.size(); ++i)
        values.append(KeyParameter(i));
    const QString op = bound == Bound::After  ? QStringLiteral(">")
                       : bound == Bound::From ? QStringLiteral(">=")
                                              : QStringLiteral("<");
    parts.append(QStringLiteral("(%1) %2 (%3)")
                     .arg(segment.keys.join(QStringLiteral(", ")), op, values.join(QStringLiteral(", "))));
    // The leading value bounded on its own lets the engine start its index range there even when the keys
    // span two tables.
    if (segment.keys.size() > 1)
        parts.append(segment.keys.first() + (bound == Bound::Before ? QStringLiteral(" <= ") : QStringLiteral(" >= ")) +
                     QStringLiteral(":b0"));
    return parts.join(QStringLiteral(" AND "));
}

// The FROM line and only the joins that the condition or the keys need: counting and finding a row by position
// read no lookup that does not decide which rows count.
QString KeyPagedQuery::keyFrom(const Segment &segment, const QString &condition) const
{
    const QString used = condition + QLatin1Char(' ') + segment.keys.join(QLatin1Char(' '));
    QStringList lines{segment.from.first()};
    for (const QString &line : segment.from.mid(1)) {
        const QString table = JoinLine.match(line).captured(1);
        if (Mentions(used, table))
            lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

// Every statement is closed by its caller as soon as it has read what it needs, so it holds no snapshot.
Query KeyPagedQuery::run(const QString &sql, const QVariantList &keys)
{
    if (m_log)
        m_log(sql, keys);
    Query query(m_engine, sql);
    for (int i = 0; i < keys.size(); ++i)
        query.setValue(KeyParameter(i), keys.at(i));
    if (keys.size() > 1)
        query.setValue(QStringLiteral(":b0"), keys.first());
    query.open();
    return query;
}

QList<KeyPagedQuery::Held> KeyPagedQuery::read(int segment, Bound bound, const QVariantList &keys, int limit,
                                               bool descending)
{
    const Segment &s = m_segments.at(segment);
    const QString condition = conditionOf(s, bound);
    QStringList lines = m_select + s.from;
    if (!condition.isEmpty())
        lines.append(QStringLiteral("WHERE ") + condition);
    lines.append(QStringLiteral("ORDER BY %1 LIMIT %2;").arg(Order(s.keys, descending), QString::number(limit)));
    Query query = run(lines.join(QLatin1Char('\n')), bound == Bound::None ? QVariantList() : keys);
    if (m_record.isEmpty()) {
        m_record = query.record();
        for (Segment &each : m_segments) {
            each.keyColumns.clear();
            for (const QString &field : each.keyFields) {
                const int column = m_record.indexOf(field);
                if (column < 0)
                    Fail(field);
                each.keyColumns.append(column);
            }
        }
    }
    QList<Held> rows;
    const int columns = m_record.count();
    while (query.next()) {
        Held held;
        held.segment = segment;
        held.values.reserve(columns);
        for (int c = 0; c < columns; ++c)
            held.values.append(query.value(c));
        for (const int column : s.keyColumns)
            held.keys.append(held.values.at(column));
        rows.append(std::move(held));
    }
    query.close();
    return rows;
}

// Reads on from the row numbered `row`, across the parts of the order; each part gives no more rows than it was
// counted with, so the row numbers stay those of the count.
QList<KeyPagedQuery::Held> KeyPagedQuery::readForward(int row, int segment, Bound bound, const QVariantList &keys,
                                                      int limit)
{
    QList<Held> rows;
    QVariantList from = keys;
    for (; segment < m_segments.size() && rows.size() < limit; ++segment) {
        const Segment &s = m_segments.at(segment);
        const int take = qMin(limit - int(rows.size()), s.first + s.size - row - int(rows.size()));
        if (take > 0)
            rows += read(segment, bound, from, take, false);
        bound = Bound::None;
        from.clear();
    }
    return rows;
}

// Reads back from the row before the one numbered `row`; the rows come in the view's order.
QList<KeyPagedQuery::Held> KeyPagedQuery::readBackward(int row, int segment, const QVariantList &keys, int limit)
{
    QList<Held> rows;
    Bound bound = Bound::Before;
    QVariantList from = keys;
    for (; segment >= 0 && rows.size() < limit; --segment) {
        const Segment &s = m_segments.at(segment);
        const int take = qMin(limit - int(rows.size()), row - int(rows.size()) - s.first);
        if (take > 0)
            rows += read(segment, bound, from, take, true);
        bound = Bound::None;
        from.clear();
    }
    std::reverse(rows.begin(), rows.end());
    return rows;
}

int KeyPagedQuery::count(const Segment &segment, Bound bound, const QVariantList &keys, int cap)
{
    const QString condition = conditionOf(segment, bound);
    QString rows = keyFrom(segment, condition);
    if (!condition.isEmpty())
        rows += QStringLiteral("\nWHERE ") + condition;
    const QString sql = cap < 0 ? QStringLiteral("SELECT COUNT(*) ") + rows
                                : QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 AS one %1 LIMIT %2) AS counted")
                                      .arg(rows, QString::number(cap));
    Query query = run(sql, bound == Bound::None ? QVariantList() : keys);
    const int result = query.next() ? query.value(0).toInt() : 0;
    query.close();
    return result;
}

// The keys of the row at that position of the segment, counted from the nearer end along the segment's index.
QVariantList KeyPagedQuery::keysAt(int segment, int position)
{
    const Segment &s = m_segments.at(segment);
    const bool fromEnd = position >= s.size / 2;
    const QString condition = conditionOf(s, Bound::None);
    QString sql =
        QStringLiteral("SELECT ") + s.keys.join(QStringLiteral(", ")) + QLatin1Char('\n') + keyFrom(s, condition);
    if (!condition.isEmpty())
        sql += QStringLiteral("\nWHERE ") + condition;
    sql += QStringLiteral("\nORDER BY %1 LIMIT 1 OFFSET %2")
               .arg(Order(s.keys, fromEnd), QString::number(qMax(0, fromEnd ? s.size - 1 - position : position)));
    Query query = run(sql, {});
    QVariantList keys;
    if (query.next())
        for (int i = 0; i < s.keys.size(); ++i)
            keys.append(query.value(i));
    query.close();
    return keys;
}

// The keys of the whole view in its order. The view's rows are picked in a subquery of their own, so the engine
// finds them along the narrowest index that serves the WHERE line and sorts only them.
void KeyPagedQuery::readKeyList()
{
    const QString key = m_table + QLatin1Char('.') + m_key;
    const QString order = m_wholeOrder.join(QStringLiteral(", "));
    QString rows = QStringLiteral("SELECT ") + key + QLatin1Char(' ') + keyFrom(m_all, m_where);
    if (!m_where.isEmpty())
        rows += QStringLiteral(" WHERE ") + m_where;
    const QString sql =
        QStringLiteral("SELECT %1\n%2\nWHERE %1 IN (%3)\nORDER BY %4").arg(key, keyFrom(m_all, order), rows, order);
    Query query = run(sql, {});
    while (query.next())
        m_keyList.append(query.value(0).toLongLong());
    query.close();
    m_byKeys = true;
    m_total = int(m_keyList.size());
    m_end = m_total;
}

// The rows of the key list from `first` on, in its order; a row removed meanwhile stays empty.
QList<KeyPagedQuery::Held> KeyPagedQuery::readByKeys(int first, int count)
{
    const QList<qint64> keys = m_keyList.mid(first, count);
    if (keys.isEmpty())
        return {};
    QStringList values;
    for (const qint64 key : keys)
        values.append(QString::number(key));
    QStringList lines = m_select + QStringList{m_fromLine} + m_joinLines;
    lines.append(QStringLiteral("WHERE %1.%2 IN (%3)").arg(m_table, m_key, values.join(QLatin1Char(','))));
    Query query = run(lines.join(QLatin1Char('\n')), {});
    if (m_record.isEmpty())
        m_record = query.record();
    const int keyColumn = m_record.indexOf(m_key);
    if (keyColumn < 0)
        Fail(m_key);
    QHash<qint64, QVariantList> found;
    while (query.next()) {
        QVariantList row;
        row.reserve(m_record.count());
        for (int c = 0; c < m_record.count(); ++c)
            row.append(query.value(c));
        found.insert(row.value(keyColumn).toLongLong(), row);
    }
    query.close();
    QList<Held> rows;
    for (const qint64 key : keys)
        rows.append({0, found.value(key), {}});
    return rows;
}

const QVariantList *KeyPagedQuery::row(int row)
{
    const auto held = [this, row]() -> const QVariantList * {
        const qsizetype i = row - m_first;
        return i >= 0 && i < m_window.size() && !m_window.at(i).values.isEmpty() ? &m_window.at(i).values : nullptr;
    };
    if (row < 0 || row >= m_end)
        return nullptr;
    if (const QVariantList *values = held())
        return values;
    const int end = m_first + int(m_window.size());
    if (!m_window.isEmpty() && row >= end && row < end + PageRows) {
        const Held last = m_window.last();
        const QList<Held> rows =
            m_byKeys ? readByKeys(end, PageRows) : readForward(end, last.segment, Bound::After, last.keys, PageRows);
        m_window += rows;
        // Fewer rows than counted: another workstation removed some, and the view ends here until it is opened
        // again.
        if (rows.size() < PageRows)
            m_end = qMin(m_end, end + int(rows.size()));
        trim(false);
    } else if (!m_window.isEmpty() && row < m_first && row >= m_first - PageRows) {
        const Held first = m_window.first();
        const int from = qMax(0, m_first - PageRows);
        const QList<Held> rows =
            m_byKeys ? readByKeys(from, m_first - from) : readBackward(m_first, first.segment, first.keys, PageRows);
        m_window = rows + m_window;
        // Fewer rows than asked for reach the first row, whatever the count said.
        m_first = rows.size() < qMin(PageRows, m_first) ? 0 : m_first - int(rows.size());
        trim(true);
    }
    if (const QVariantList *values = held())
        return values;
    jump(row);
    return held();
}

void KeyPagedQuery::jump(int row)
{
    m_window.clear();
    const int start = qBound(0, row - PageRows / 2, qMax(0, m_end - PageRows));
    m_first = start;
    if (m_byKeys) {
        m_window = readByKeys(start, PageRows);
        return;
    }
    for (int s = 0; s < m_segments.size(); ++s) {
        const Segment &segment = m_segments.at(s);
        if (start < segment.first || start >= segment.first + segment.size)
            continue;
        const QVariantList keys = keysAt(s, start - segment.first);
        if (!keys.isEmpty())
            m_window = readForward(start, s, Bound::From, keys, PageRows);
        if (m_window.size() < PageRows)
            m_end = qMin(m_end, start + int(m_window.size()));
        return;
    }
}

// Keeps the window within its size, dropping the rows farthest from the ones just read.
void KeyPagedQuery::trim(bool keepFront)
{
    if (m_first < 0) {
        m_window.remove(0, qMin<qsizetype>(-m_first, m_window.size()));
        m_first = 0;
    }
    const qsizetype extra = m_window.size() - WindowRows;
    if (extra <= 0)
        return;
    if (keepFront) {
        m_window.remove(WindowRows, extra);
    } else {
        m_window.remove(0, extra);
        m_first += int(extra);
    }
}

int KeyPagedQuery::locate(qint64 key)
{
    if (m_segments.isEmpty() || m_total == 0)
        return -1;
    if (m_byKeys) {
        const int row = int(m_keyList.indexOf(key));
        if (row >= 0)
            jump(row);
        return row;
    }
    // The row read with the view's own lines tells which part of the order it belongs to, and its keys there.
    QStringList lines = m_select + QStringList{m_fromLine} + m_joinLines;
    lines.append(QStringLiteral("WHERE ") +
                 (m_where.isEmpty() ? QString() : QLatin1Char('(') + m_where + QStringLiteral(") AND ")) +
                 QStringLiteral("(%1.%2 = %3);").arg(m_table, m_key, QString::number(key)));
    Query query = run(lines.join(QLatin1Char('\n')), {});
    QVariantList values;
    if (query.next())
        for (int c = 0; c < m_record.count(); ++c)
            values.append(query.value(c));
    query.close();
    if (values.isEmpty())
        return -1;
    const int segment = m_segments.size() > 1 && !values.at(m_segments.at(1).keyColumns.first()).isNull() ? 1 : 0;
    const Segment &s = m_segments.at(segment);
    QVariantList keys;
    for (const int column : s.keyColumns)
        keys.append(values.at(column));

    // Counting from the nearer end reads at most half the segment's index.
    const int cap = s.size / 2 + 1;
    const int after = count(s, Bound::After, keys, cap);
    const int position = after < cap ? s.size - 1 - after : count(s, Bound::Before, keys);
    const int row = qBound(0, s.first + qMax(0, position), m_total - 1);

    QList<Held> around = readBackward(row, segment, keys, PageRows / 2);
    const int before = int(around.size());
    const QList<Held> from = readForward(row, segment, Bound::From, keys, PageRows);
    if (from.isEmpty())
        return -1;
    m_window = around + from;
    m_first = row - before;
    trim(true);
    return row;
}

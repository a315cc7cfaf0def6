#pragma once

#include <QList>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantList>
#include <functional>

class Engine;
class Query;

// A large SELECT read a page at a time, by key: every read is a statement of its own that runs to its end, so no
// read snapshot stays open between events and another workstation's commit never stands in this connection's way.
// Only a window of rows around the ones last asked for is held; the row count comes from COUNT(*).
//
// The lines have the shape of a grid's SQL text:
//   the SELECT lines, a looked-up column named as lookup.field;
//   "FROM <table>", whose first field is its integer key;
//   " LEFT OUTER JOIN <lookup> ON (<table>.<field>=<lookup>.<key>)" lines, each joining a lookup on its key;
//   "WHERE <condition>";
//   "ORDER BY <field>;", or "ORDER BY 1;" for the key.
// The rows come in the order of the field and then of the key, so equal values keep one order on every read;
// rows whose field is empty (NULL) come first, as SQLite sorts them.
//
// A large view reads each page after the last key along the order's index. A small one (the unclosed rows of a
// till once its days are closed) would make that index walk past every row it leaves out, so its keys are read
// once in order, through the narrowest index that finds them, and its pages by their keys.
class KeyPagedQuery
{
public:
    static constexpr int PageRows = 128;
    static constexpr int WindowRows = 4 * PageRows;
    static constexpr int KeyListRows = 5000;

    // Every statement run, with the key values bound to :k0, :k1, ... (and the first of them to :b0), so that
    // their plans can be checked.
    using StatementLog = std::function<void(const QString &sql, const QVariantList &keys)>;

    // A view of at most keyListRows rows is read by the list of its keys.
    explicit KeyPagedQuery(Engine &engine, int keyListRows = KeyListRows);
    ~KeyPagedQuery();

    void setStatementLog(StatementLog log) { m_log = std::move(log); }

    // Counts the rows and reads the first page. Throws EngineError, leaving the query empty.
    void open(const QStringList &lines);

    int rowCount() const { return m_total; }
    const QSqlRecord &record() const { return m_record; }
    // The row's values in record order, dates as QDate, read with the page around it when the window does not hold
    // it; nullptr when the row is not there (another workstation removed rows since the count). Throws EngineError.
    const QVariantList *row(int row);
    // The row number of the row with that key, with the rows around it read; -1 when the rows do not hold it.
    // Throws EngineError.
    int locate(qint64 key);

private:
    // The rows of one part of the order. An order on a field that can be empty has two: the rows without a
    // value, by key, and then the rows with one, by value and key; each reads along an index of its own.
    struct Segment
    {
        QString condition;     // picks the part's rows among the view's; empty: all of them
        QStringList from;      // the FROM line and the join lines of its reads
        QStringList keys;      // the order, the table's key last
        QStringList keyFields; // the record field that holds each key's value
        QList<int> keyColumns;
        int first = 0; // row number of its first row
        int size = 0;
    };
    struct Held
    {
        int segment = 0;
        QVariantList values;
        QVariantList keys;
    };
    enum class Bound {
        None,
        After,
        From,
        Before,
    };

    void clear();
    void parse(const QStringList &lines);
    void addSegment(const QString &condition, const QStringList &from, const QStringList &keys,
                    const QStringList &keyFields);
    QString conditionOf(const Segment &segment, Bound bound) const;
    QString keyFrom(const Segment &segment, const QString &condition) const;
    Query run(const QString &sql, const QVariantList &keys);
    QList<Held> read(int segment, Bound bound, const QVariantList &keys, int limit, bool descending);
    QList<Held> readForward(int row, int segment, Bound bound, const QVariantList &keys, int limit);
    QList<Held> readBackward(int row, int segment, const QVariantList &keys, int limit);
    int count(const Segment &segment, Bound bound, const QVariantList &keys, int cap = -1);
    void readKeyList();
    QList<Held> readByKeys(int first, int count);
    QVariantList keysAt(int segment, int position);
    void jump(int row);
    void trim(bool keepFront);

    Engine &m_engine;
    StatementLog m_log;
    QStringList m_select;
    QString m_table;
    QString m_key;
    QString m_fromLine;
    QStringList m_joinLines;
    QStringList m_joinTables;
    QString m_where;
    QList<Segment> m_segments;
    Segment m_all;            // every row of the view, for its count
    QStringList m_wholeOrder; // the order of every part in one ORDER BY, for the key list
    const int m_keyListRows;
    QList<qint64> m_keyList; // the view's keys in order, when it is read by them
    bool m_byKeys = false;

    QSqlRecord m_record;
    int m_total = 0;
    int m_end = 0;   // rows from here on are known to be gone
    int m_first = 0; // row number of m_window's first row
    QList<Held> m_window;
};

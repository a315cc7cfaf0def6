#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

class Engine;
class ReadConnection;

// The detailed search of the ledger: the rows of one till, booked or not, closed or not, whose voucher text, item
// titles, supporting document numbers, item texts or client name hold a piece of text in any letter case. The text
// is upper-cased by the locale's rules and compared with the engine's UPPER of each field through LIKE, so "%" and
// "_" in it stand for any text and any one character; it is bound as a parameter, never written into the SQL. The
// client is joined with INNER JOIN: a row whose client does not exist is never found.
//
// The SQL text is kept as lines whose WHERE and ORDER lines are rewritten. Opening reads the keys of every match in
// order by one statement read to its end; the rows are then read a page at a time by their keys. No statement stays
// half-read while the result is shown, and a large result holds no more than its keys and a few pages.
class LedgerSearch
{
public:
    static constexpr int PageRows = 128;
    static constexpr int KeptPages = 4;

    explicit LedgerSearch(Engine &engine);
    ~LedgerSearch();
    LedgerSearch(const LedgerSearch &) = delete;
    LedgerSearch &operator=(const LedgerSearch &) = delete;

    static QStringList DefaultLines();
    // The WHERE condition of a search; the till is bound to :pkassza, the pattern to :pminta.
    static QString Condition();
    // "%" + the text upper-cased by the default locale + "%".
    static QString Pattern(const QString &text);

    // The WHERE line for the till and the text; the order stays.
    void setCondition(int till, const QString &text);
    // Orders by the field (a field of the ledger or ugyfel_nev), ascending; "1" orders by the ledger key.
    void setOrderField(const QString &field);
    QString sqlText() const;

    // Runs the search. Throws EngineError, and then holds no rows.
    void open();
    int rowCount() const { return int(m_keys.size()); }
    // The ledger row (dromvel) of a result row; 0 outside the result.
    qint64 key(int row) const;
    // A field of a result row (a ledger field or ugyfel_nev), dates as QDate, read with its page when not held.
    // Null when the row is gone since the search. Throws EngineError.
    QVariant value(int row, const QString &field);

private:
    void close();
    void readPage(int page);

    Engine &m_engine;
    // Opened with the first search: the reads hold nothing on the program's connection.
    std::unique_ptr<ReadConnection> m_connection;
    QStringList m_lines;
    QVariantMap m_bindings;
    QList<qint64> m_keys;
    QHash<QString, int> m_fields;
    // Pages held, the most recently read last in m_used.
    QHash<int, QList<QVariantList>> m_pages;
    QList<int> m_used;
};

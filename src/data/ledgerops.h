#pragma once

#include <QString>
#include <QVariant>

class Engine;

// The client's advance total after a change.
struct ClientSettlement
{
    bool found = false;     // false: no such client, nothing changed
    double total = 0;       // elszamolasra after the change
    bool overLimit = false; // the total exceeds the limit; an empty limit is always exceeded
};

// The sums of a till's booked rows that no day closing has taken yet.
struct UnclosedTotals
{
    double receipts = 0; // bevetel
    double payments = 0; // kiadas
};

// The one-value queries and next numbers of the ledger. Each call runs its statement on the open database
// and keeps nothing between calls. Engine errors propagate as EngineError.
class LedgerOps
{
public:
    explicit LedgerOps(Engine &engine) : m_engine(engine) {}

    // Column 1 of row 1; the default when there is no row or the value is NULL. For the data layer's own
    // statements: screens call the typed functions.
    int QueryInt(const QString &sql, int defaultValue);
    QString QueryText(const QString &sql, const QString &defaultValue);
    double QueryFloat(const QString &sql, double defaultValue);
    void ExecSql(const QString &sql);

    // Name of the till; empty when NULL or there is no such till.
    QString TillName(int till);
    // The zaro of the till's booked row with the largest dromvelid; 0 without booked rows.
    double TillBalance(int till);
    UnclosedTotals UnclosedSums(int till);
    // Largest value of the field plus one; an empty table name means the table is named like the field.
    int NextId(const QString &field, const QString &table = QString());
    int NextMaxId(const QString &field, const QString &table = QString());
    // Next serial of a letter code, shared by every till that uses the code.
    int NextSerial(const QString &letterCode);
    int NextSettlementNumber();

    // Adds the amount (negative when settling) to the client's advance total. Changes nothing when the
    // client does not exist. Shows no message, so it can run inside a transaction.
    ClientSettlement ChangeClientSettlement(int client, double amount);
    // The client's advance total (elszamolasra); 0 when empty or there is no such client.
    double ClientAdvanceTotal(int client);
    // True when the ledger holds any row besides the tills' opening rows.
    bool HasVouchers();

    // Letter code followed by the serial with at least five digits (KB00012).
    static QString VoucherNumber(const QVariant &betujel, const QVariant &ssz);

private:
    QVariant FirstValue(const QString &sql);
    // Column 1 of row 1 of a statement with one bound parameter.
    QVariant FirstValue(const QString &sql, const QString &parameter, const QVariant &value);

    Engine &m_engine;
};

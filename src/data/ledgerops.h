#pragma once

#include <QString>
#include <QVariant>

class Engine;
class Messages;
class QWidget;

// A text as an SQL string literal: single quotes around it, inner quotes doubled.
QString SqlQuote(const QString &text);

// The client's advance total after a change.
struct ClientSettlement
{
    bool found = false;     // false: no such client, nothing changed
    double total = 0;       // elszamolasra after the change
    bool overLimit = false; // the total exceeds the limit; an empty limit is always exceeded
};

// The one-value queries and next numbers of the ledger. Each call runs its statement on the open database
// and keeps nothing between calls. Engine errors propagate as EngineError.
class LedgerOps
{
public:
    explicit LedgerOps(Engine &engine) : m_engine(engine) {}

    // Column 1 of row 1; the default when there is no row or the value is NULL.
    int QueryInt(const QString &sql, int defaultValue);
    QString QueryText(const QString &sql, const QString &defaultValue);
    double QueryFloat(const QString &sql, double defaultValue);
    void ExecSql(const QString &sql);

    // Name of the till; empty when NULL or there is no such till.
    QString TillName(int till);
    // The zaro of the till's booked row with the largest dromvelid; 0 without booked rows.
    double TillBalance(int till);
    // Largest value of the field plus one; an empty table name means the table is named like the field.
    int NextId(const QString &field, const QString &table = QString());
    int NextMaxId(const QString &field, const QString &table = QString());
    // Next serial of a letter code, shared by every till that uses the code.
    int NextSerial(const QString &letterCode);
    int NextSettlementNumber();

    // Adds the amount (negative when settling) to the client's advance total. Changes nothing when the
    // client does not exist. Shows no message, so it can run inside a transaction.
    ClientSettlement ChangeClientSettlement(int client, double amount);
    // ChangeClientSettlement, then the warning "Limit túllépés." when the total is over the limit.
    ClientSettlement AddToClientSettlement(int client, double amount, Messages &messages, QWidget *owner = nullptr);
    static void WarnOverLimit(const ClientSettlement &result, Messages &messages, QWidget *owner = nullptr);

    // Letter code followed by the serial with at least five digits (KB00012).
    static QString VoucherNumber(const QVariant &betujel, const QVariant &ssz);

private:
    QVariant FirstValue(const QString &sql);

    Engine &m_engine;
};

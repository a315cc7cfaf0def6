#include "ledgerops.h"

#include "engine.h"
#include "query.h"
#include "util.h"

#include <QRegularExpression>

namespace {

// Field and table names come from the program, never from input; refuse anything else.
QString Identifier(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!pattern.match(name).hasMatch())
        throw EngineError(QStringLiteral("Érvénytelen mezőnév: %1").arg(name));
    return name;
}

} // namespace

QVariant LedgerOps::FirstValue(const QString &sql)
{
    return Query(m_engine, sql).firstValue();
}

QVariant LedgerOps::FirstValue(const QString &sql, const QString &parameter, const QVariant &value)
{
    Query q(m_engine, sql);
    q.setValue(parameter, value);
    return q.firstValue();
}

int LedgerOps::QueryInt(const QString &sql, int defaultValue)
{
    const QVariant value = FirstValue(sql);
    return value.isNull() ? defaultValue : value.toInt();
}

QString LedgerOps::QueryText(const QString &sql, const QString &defaultValue)
{
    const QVariant value = FirstValue(sql);
    return value.isNull() ? defaultValue : value.toString();
}

double LedgerOps::QueryFloat(const QString &sql, double defaultValue)
{
    const QVariant value = FirstValue(sql);
    return value.isNull() ? defaultValue : value.toDouble();
}

void LedgerOps::ExecSql(const QString &sql)
{
    Query(m_engine, sql).exec();
}

QString LedgerOps::TillName(int till)
{
    return ValueOr(FirstValue(QStringLiteral("SELECT kassza_nev FROM kassza WHERE kassza=:pkassza;"),
                              QStringLiteral("pkassza"), till),
                   QString());
}

double LedgerOps::TillBalance(int till)
{
    const int last = ValueOr(
        FirstValue(QStringLiteral("SELECT MAX(dromvelid) FROM dromvel WHERE (kiadva='I') AND (kassza=:pkassza);"),
                   QStringLiteral("pkassza"), till),
        0);
    // Without a booked row there is no balance yet; a pending row (dromvelid 0) must not lend it its zaro.
    if (last == 0)
        return 0;
    return ValueOr(FirstValue(QStringLiteral("SELECT zaro FROM dromvel WHERE dromvelid=:pdromvelid;"),
                              QStringLiteral("pdromvelid"), last),
                   0.0);
}

UnclosedTotals LedgerOps::UnclosedSums(int till)
{
    Query q(m_engine, QStringLiteral("SELECT SUM(bevetel), SUM(kiadas) FROM dromvel "
                                     "WHERE (lezarva='N') AND (kiadva='I') AND (kassza=:pkassza);"));
    q.setInt(QStringLiteral("pkassza"), till);
    q.open();
    UnclosedTotals sums;
    if (q.next()) {
        sums.receipts = ValueOr(q.value(0), 0.0);
        sums.payments = ValueOr(q.value(1), 0.0);
    }
    q.close();
    return sums;
}

int LedgerOps::NextId(const QString &field, const QString &table)
{
    const QString from = Identifier(table.isEmpty() ? field : table);
    return QueryInt(QStringLiteral("SELECT MAX(%1) FROM %2;").arg(Identifier(field), from), 0) + 1;
}

int LedgerOps::NextMaxId(const QString &field, const QString &table)
{
    const QString from = Identifier(table.isEmpty() ? field : table);
    Query q(m_engine, QStringLiteral("SELECT MAX(%1) AS maxid FROM %2;").arg(Identifier(field), from));
    q.open();
    const int max = q.next() ? ValueOr(q.value(QStringLiteral("maxid")), 0) : 0;
    q.close();
    return max + 1;
}

int LedgerOps::NextSerial(const QString &letterCode)
{
    return ValueOr(FirstValue(QStringLiteral("SELECT MAX(ssz) FROM dromvel WHERE betujel=:pbetujel;"),
                              QStringLiteral("pbetujel"), letterCode),
                   0) +
           1;
}

int LedgerOps::NextSettlementNumber()
{
    return QueryInt(QStringLiteral("SELECT MAX(elszamol_ssz) FROM dromvel"), 0) + 1;
}

ClientSettlement LedgerOps::ChangeClientSettlement(int client, double amount)
{
    ClientSettlement result;
    Transaction transaction(m_engine);
    // One statement adds to the stored total, so two workstations cannot overwrite each other's change.
    Query update(m_engine, QStringLiteral("UPDATE ugyfel SET elszamolasra = COALESCE(elszamolasra, 0) + :amount "
                                          "WHERE ugyfel = :ugyfel;"));
    update.setFloat(QStringLiteral("amount"), amount).setInt(QStringLiteral("ugyfel"), client);
    update.exec();
    Query read(m_engine, QStringLiteral("SELECT elszamolasra, elszamollimit FROM ugyfel WHERE ugyfel = :ugyfel;"));
    read.setInt(QStringLiteral("ugyfel"), client);
    read.open();
    if (read.next()) {
        result.found = true;
        result.total = ValueOr(read.value(0), 0.0);
        const QVariant limit = read.value(1);
        result.overLimit = limit.isNull() || result.total > limit.toDouble();
    }
    read.close();
    transaction.commit();
    return result;
}

double LedgerOps::ClientAdvanceTotal(int client)
{
    return ValueOr(FirstValue(QStringLiteral("SELECT elszamolasra FROM ugyfel WHERE ugyfel=:pugyfel;"),
                              QStringLiteral("pugyfel"), client),
                   0.0);
}

bool LedgerOps::HasVouchers()
{
    return QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE kibe IS NULL OR kibe <> 'N';"), 0) > 0;
}

QString LedgerOps::VoucherNumber(const QVariant &betujel, const QVariant &ssz)
{
    return ValueOr(betujel, QString()) + FormatFloat(QStringLiteral("00000"), ValueOr(ssz, 0));
}

#include "ledgerops.h"

#include "engine.h"
#include "messages.h"
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

QString SqlQuote(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QVariant LedgerOps::FirstValue(const QString &sql)
{
    Query q(m_engine, sql);
    q.open();
    const QVariant value = q.next() ? q.value(0) : QVariant();
    q.close();
    return value;
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
    return QueryText(QStringLiteral("SELECT kassza_nev FROM kassza WHERE kassza=%1;").arg(till), QString());
}

double LedgerOps::TillBalance(int till)
{
    const int last =
        QueryInt(QStringLiteral("SELECT MAX(dromvelid) FROM dromvel WHERE (kiadva='I') AND (kassza=%1);").arg(till), 0);
    // Without a booked row there is no balance yet; a pending row (dromvelid 0) must not lend it its zaro.
    if (last == 0)
        return 0;
    return QueryFloat(QStringLiteral("SELECT zaro FROM dromvel WHERE dromvelid=%1;").arg(last), 0);
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
    return QueryInt(QStringLiteral("SELECT MAX(ssz) FROM dromvel WHERE betujel=%1;").arg(SqlQuote(letterCode)), 0) + 1;
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

ClientSettlement LedgerOps::AddToClientSettlement(int client, double amount, Messages &messages, QWidget *owner)
{
    const ClientSettlement result = ChangeClientSettlement(client, amount);
    WarnOverLimit(result, messages, owner);
    return result;
}

void LedgerOps::WarnOverLimit(const ClientSettlement &result, Messages &messages, QWidget *owner)
{
    if (result.found && result.overLimit)
        messages.ShowWarning(QStringLiteral("Limit túllépés."), owner);
}

QString LedgerOps::VoucherNumber(const QVariant &betujel, const QVariant &ssz)
{
    return ValueOr(betujel, QString()) + FormatFloat(QStringLiteral("00000"), ValueOr(ssz, 0));
}

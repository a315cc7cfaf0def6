#include "cashwarnings.h"

#include "cashlimit.h"
#include "clientcashpayments.h"
#include "listframe.h"
#include "masterlookups.h"
#include "overdueadvances.h"
#include "tillstore.h"
#include "util.h"
#include "voucherrows.h"

#include <QStringList>

namespace {

const QString Money = QStringLiteral("### ### ##0");

} // namespace

QString OverdueAdvancesWarning(Engine &engine, int till, const QDate &day)
{
    const QList<OverdueAdvance> overdue = OverdueAdvances(engine, till, day);
    if (overdue.isEmpty())
        return {};
    constexpr int Named = 10;
    QStringList lines{QStringLiteral("Lejárt határidejű, el nem számolt előlegek (%1 db):").arg(overdue.size())};
    for (qsizetype i = 0; i < overdue.size() && i < Named; ++i) {
        const OverdueAdvance &a = overdue.at(i);
        lines << QStringLiteral("%1  %2  %3 Ft, határidő: %4")
                     .arg(ListFrame::Sorszam(a.betujel, a.ssz), a.ugyfelNev, FormatFloat(Money, a.osszeg),
                          a.deadline.toString(QStringLiteral("yyyy.MM.dd")));
    }
    if (overdue.size() > Named)
        lines << QStringLiteral("és még %1 db").arg(overdue.size() - Named);
    lines << QString() << QStringLiteral("A határidőn túl el nem számolt előleg adóköteles jövedelemmé válhat.");
    return lines.join(QLatin1Char('\n'));
}

QString MonthlyCashPaymentWarning(Engine &engine, int dromvel)
{
    const QVariantMap row = ReadVoucherRow(engine, dromvel);
    const double limit = MonthlyCashPaymentLimit(engine);
    if (row.value(QStringLiteral("kiadva")) != QLatin1String("I") ||
        row.value(QStringLiteral("kibe")) != QLatin1String("K") || row.value(QStringLiteral("ugyfel")).isNull() ||
        limit <= 0 || !IsForintTill(engine, row.value(QStringLiteral("kassza")).toInt()))
        return {};
    const QDate day = row.value(QStringLiteral("dat_kiadva")).toDate();
    const int client = row.value(QStringLiteral("ugyfel")).toInt();
    const double total = ClientMonthCashPayments(engine, client, day);
    if (qRound64(total * 100) <= qRound64(limit * 100))
        return {};
    return QStringLiteral("%1 részére %2. hónapban készpénzben kifizetett összeg: %3 Ft.\n"
                          "Ez meghaladja az ügyfelenkénti havi %4 Ft-os határt.")
        .arg(ClientName(engine, client), day.toString(QStringLiteral("yyyy.MM")), FormatFloat(Money, total),
             FormatFloat(Money, limit));
}

QString TillCashLimitWarning(Engine &engine, int till, double balance)
{
    return CashLimitWarning(balance, TillCashLimit(engine, till), TillCurrency(engine, till));
}

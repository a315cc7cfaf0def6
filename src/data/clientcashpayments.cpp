#include "clientcashpayments.h"

#include "query.h"
#include "settingsstore.h"

namespace {

const QString ForintTill = QStringLiteral("(kassza.valuta IS NULL OR UPPER(TRIM(kassza.valuta)) IN ('', 'HUF', 'FT'))");

} // namespace

double MonthlyCashPaymentLimit(Engine &engine)
{
    const QVariant stored = ReadSettings(engine).kpFizetesHavi;
    return stored.isNull() ? DefaultMonthlyCashPaymentLimit : stored.toDouble();
}

bool IsForintTill(Engine &engine, int till)
{
    Query q(engine, QStringLiteral("SELECT COUNT(*) FROM kassza WHERE kassza.kassza = :pkassza AND ") + ForintTill +
                        QLatin1Char(';'));
    q.setInt(QStringLiteral("pkassza"), till);
    return q.firstValue().toInt() > 0;
}

double ClientMonthCashPayments(Engine &engine, int ugyfel, const QDate &day)
{
    const QDate first(day.year(), day.month(), 1);
    Query q(engine, QStringLiteral("SELECT SUM(dromvel.kiadas) FROM dromvel "
                                   "JOIN kassza ON (dromvel.kassza = kassza.kassza) "
                                   "WHERE dromvel.ugyfel = :pugyfel AND dromvel.kiadva = 'I' AND dromvel.kibe = 'K' "
                                   "AND dromvel.dat_kiadva BETWEEN :ptol AND :pig AND ") +
                        ForintTill + QLatin1Char(';'));
    q.setInt(QStringLiteral("pugyfel"), ugyfel)
        .setDate(QStringLiteral("ptol"), first)
        .setDate(QStringLiteral("pig"), first.addMonths(1).addDays(-1));
    return q.firstValue().toDouble();
}

QStringList MonthlyCashPaymentLines()
{
    return {QStringLiteral("SELECT"), QStringLiteral("  ugyfel.ugyfel_nev,"),
            // A date as text is "yyyy-MM-dd" on either engine (the server's driver asks for ISO dates).
            QStringLiteral("  SUBSTR(CAST(dromvel.dat_kiadva AS TEXT), 1, 4) || '.' || "
                           "SUBSTR(CAST(dromvel.dat_kiadva AS TEXT), 6, 2) AS honap,"),
            QStringLiteral("  COUNT(*) AS db,"), QStringLiteral("  SUM(dromvel.kiadas) AS osszeg,"),
            QStringLiteral("  CASE WHEN :plimit > 0 AND SUM(dromvel.kiadas) > :plimit2 THEN 'igen' ELSE '' END "
                           "AS tullepes"),
            QStringLiteral("FROM dromvel"), QStringLiteral("  JOIN kassza ON (dromvel.kassza = kassza.kassza)"),
            QStringLiteral("  JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)"),
            QStringLiteral("WHERE (dromvel.kiadva = 'I') AND (dromvel.kibe = 'K') AND"),
            QStringLiteral("  (dromvel.dat_kiadva BETWEEN :ptol AND :pig) AND ") + ForintTill,
            QStringLiteral("GROUP BY ugyfel.ugyfel, ugyfel.ugyfel_nev, honap"),
            QStringLiteral("ORDER BY honap, ugyfel.ugyfel_nev;")};
}

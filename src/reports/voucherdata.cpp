#include "voucherdata.h"

#include "ledgerops.h"
#include "query.h"
#include "settingsstore.h"
#include "util.h"

#include <QLocale>
#include <QStringList>

namespace {

// The fields every cash voucher prints and the tables that name them. A single voucher prints even when its
// direction or till is gone (outer joins); the vouchers of a period are those of an existing direction and till.
// The till column is named with its table: kassza has a column of that name too.
QStringList VoucherSelect(const QString &directionAndTillJoin)
{
    QStringList lines{QStringLiteral("SELECT")};
    for (const char *field : {"dromvel.dromvel", "dromvel.kassza", "dromvel.kibe", "kibe.kibe_nev", "dromvel.ssz",
                              "dromvel.betujel", "dromvel.dat_kiadva", "ugyfel.ugyfel_nev", "ugyfel.szigszam"})
        lines << QStringLiteral(" %1,").arg(QLatin1String(field));
    for (int line = 1; line <= 3; ++line)
        for (const char *field : {"forgjogcim", "bizszam", "szoveg", "osszeg"})
            lines << QStringLiteral(" dromvel.%1%2,").arg(QLatin1String(field)).arg(line);
    lines << QStringLiteral(" felhasznalo.felhasznalo_nev,") << QStringLiteral(" dromvel.osszeg,")
          << QStringLiteral(" kassza.valuta") << QStringLiteral("FROM dromvel")
          << QStringLiteral(" %1 kibe ON (dromvel.kibe = kibe.kibe)").arg(directionAndTillJoin)
          << QStringLiteral(" %1 kassza ON (dromvel.kassza = kassza.kassza)").arg(directionAndTillJoin)
          << QStringLiteral(" LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)")
          << QStringLiteral(" LEFT OUTER JOIN felhasznalo ON (dromvel.felhasznalo = felhasznalo.felhasznalo)");
    return lines;
}

const QStringList VoucherSql = VoucherSelect(QStringLiteral("LEFT OUTER JOIN"))
                               << QStringLiteral("WHERE dromvel.dromvel = :pdromvel;");

const QStringList PeriodSql =
    VoucherSelect(QStringLiteral("INNER JOIN"))
    << QStringLiteral("WHERE (dromvel.dat_kiadva BETWEEN :pd1 AND :pd2) AND (dromvel.kassza = :pkassza)")
    << QStringLiteral("ORDER BY 1;");

const QStringList RequestSql = {
    QStringLiteral("SELECT"),
    QStringLiteral(" dromvel.dromvel,"),
    QStringLiteral(" dromvel.elszamol_ssz,"),
    QStringLiteral(" dromvel.dat_kiadva,"),
    QStringLiteral(" ugyfel.ugyfel_nev,"),
    QStringLiteral(" szervegyseg.szervegyseg_nev,"),
    QStringLiteral(" dromvel.osszeg,"),
    QStringLiteral(" dromvel.szoveg1,"),
    QStringLiteral(" dromvel.elszamol_kell_dat,"),
    QStringLiteral(" dromvel.ssz,"),
    QStringLiteral(" dromvel.betujel"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral(" LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)"),
    QStringLiteral(" LEFT OUTER JOIN szervegyseg ON (ugyfel.szervegyseg = szervegyseg.szervegyseg)"),
    QStringLiteral("WHERE dromvel.dromvel = :pdromvel;"),
};

QString Text(const Query &q, const char *field)
{
    return ValueOr(q.value(QString::fromLatin1(field)), QString());
}

QVariant Amount(const Query &q, const QString &field)
{
    const QVariant v = q.value(field);
    return v.isNull() ? QVariant() : QVariant(v.toDouble());
}

QList<VoucherRow> ReadVoucherRows(Query &q)
{
    q.open();
    QList<VoucherRow> rows;
    while (q.next()) {
        VoucherRow r;
        r.dromvel = ValueOr(q.value(QStringLiteral("dromvel")), qint64(0));
        r.kibe = Text(q, "kibe");
        r.kibeNev = Text(q, "kibe_nev");
        r.sorszam = LedgerOps::VoucherNumber(q.value(QStringLiteral("betujel")), q.value(QStringLiteral("ssz")));
        r.datKiadva = q.value(QStringLiteral("dat_kiadva")).toDate();
        r.ugyfelNev = Text(q, "ugyfel_nev");
        r.szigszam = Text(q, "szigszam");
        for (int i = 0; i < 3; ++i) {
            const QString n = QString::number(i + 1);
            r.items[i] = {ValueOr(q.value(QStringLiteral("forgjogcim") + n), QString()),
                          ValueOr(q.value(QStringLiteral("bizszam") + n), QString()),
                          ValueOr(q.value(QStringLiteral("szoveg") + n), QString()),
                          Amount(q, QStringLiteral("osszeg") + n)};
        }
        r.felhasznaloNev = Text(q, "felhasznalo_nev");
        r.osszeg = Amount(q, QStringLiteral("osszeg"));
        r.valuta = Text(q, "valuta");
        rows.append(r);
    }
    return rows;
}

} // namespace

QString FormattedAmount(const QString &format, const QVariant &amount)
{
    return amount.isNull() ? QString() : FormatFloat(format, amount.toDouble());
}

QString ShortDate(const QDate &date)
{
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

QList<VoucherRow> ReadVoucher(Engine &engine, qint64 row)
{
    Query q(engine, VoucherSql.join(QLatin1Char('\n')));
    q.setInt(QStringLiteral("pdromvel"), row);
    return ReadVoucherRows(q);
}

QList<VoucherRow> ReadPeriodVouchers(Engine &engine, int till, const QDate &from, const QDate &to)
{
    Query q(engine, PeriodSql.join(QLatin1Char('\n')));
    q.setInt(QStringLiteral("pkassza"), till);
    q.setDate(QStringLiteral("pd1"), from);
    q.setDate(QStringLiteral("pd2"), to);
    return ReadVoucherRows(q);
}

QList<RequestRow> ReadRequest(Engine &engine, qint64 row)
{
    Query q(engine, RequestSql.join(QLatin1Char('\n')));
    q.setInt(QStringLiteral("pdromvel"), row);
    q.open();
    QList<RequestRow> rows;
    while (q.next()) {
        RequestRow r;
        r.elszamolSsz = q.value(QStringLiteral("elszamol_ssz"));
        r.datKiadva = q.value(QStringLiteral("dat_kiadva")).toDate();
        r.ugyfelNev = Text(q, "ugyfel_nev");
        r.szervegysegNev = Text(q, "szervegyseg_nev");
        r.osszeg = Amount(q, QStringLiteral("osszeg"));
        r.szoveg1 = Text(q, "szoveg1");
        r.elszamolKellDat = q.value(QStringLiteral("elszamol_kell_dat")).toDate();
        r.sorszam = LedgerOps::VoucherNumber(q.value(QStringLiteral("betujel")), q.value(QStringLiteral("ssz")));
        rows.append(r);
    }
    return rows;
}

VoucherSettings CurrentVoucherSettings(Engine &engine, const QString &formatFt)
{
    return {OwnerName(engine), formatFt.isEmpty() ? QStringLiteral("### ### ##0") : formatFt, QString(),
            QDateTime::currentDateTime()};
}

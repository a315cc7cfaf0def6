#include "voucherdata.h"

#include "ledgerops.h"
#include "makerinfo.h"
#include "query.h"
#include "settingsstore.h"
#include "util.h"

#include <QLocale>
#include <QStringList>

namespace {

const QStringList VoucherSql = {
    QStringLiteral("SELECT"),
    QStringLiteral(" dromvel.dromvel,"),
    QStringLiteral(" dromvel.kibe,"),
    QStringLiteral(" kibe.kibe_nev,"),
    QStringLiteral(" dromvel.ssz,"),
    QStringLiteral(" dromvel.betujel,"),
    QStringLiteral(" dromvel.dat_kiadva,"),
    QStringLiteral(" ugyfel.ugyfel_nev,"),
    QStringLiteral(" ugyfel.szigszam,"),
    QStringLiteral(" forgjogcim1,"),
    QStringLiteral(" bizszam1,"),
    QStringLiteral(" szoveg1,"),
    QStringLiteral(" osszeg1,"),
    QStringLiteral(" forgjogcim2,"),
    QStringLiteral(" bizszam2,"),
    QStringLiteral(" szoveg2,"),
    QStringLiteral(" osszeg2,"),
    QStringLiteral(" forgjogcim3,"),
    QStringLiteral(" bizszam3,"),
    QStringLiteral(" szoveg3,"),
    QStringLiteral(" osszeg3,"),
    QStringLiteral(" felhasznalo.felhasznalo_nev,"),
    QStringLiteral(" dromvel.osszeg,"),
    QStringLiteral(" kassza.valuta"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral(" LEFT OUTER JOIN kibe ON (dromvel.kibe = kibe.kibe)"),
    QStringLiteral(" LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)"),
    QStringLiteral(" LEFT OUTER JOIN felhasznalo ON (dromvel.felhasznalo = felhasznalo.felhasznalo)"),
    QStringLiteral(" LEFT OUTER JOIN kassza ON (dromvel.kassza = kassza.kassza)"),
    QStringLiteral("WHERE dromvel.dromvel = :pdromvel;"),
};

// The till column is named with its table: kassza has a column of that name too.
const QStringList PeriodSql = {
    QStringLiteral("SELECT"),
    QStringLiteral("  dromvel.dromvel,"),
    QStringLiteral("  dromvel.kassza,"),
    QStringLiteral("  dromvel.kibe,"),
    QStringLiteral("  kibe.kibe_nev,"),
    QStringLiteral("  dromvel.ssz,"),
    QStringLiteral("  dromvel.betujel,"),
    QStringLiteral("  dromvel.dat_kiadva,"),
    QStringLiteral("  ugyfel.ugyfel_nev,"),
    QStringLiteral("  ugyfel.szigszam,"),
    QStringLiteral("  dromvel.forgjogcim1,"),
    QStringLiteral("  dromvel.bizszam1,"),
    QStringLiteral("  dromvel.szoveg1,"),
    QStringLiteral("  dromvel.osszeg1,"),
    QStringLiteral("  dromvel.forgjogcim2,"),
    QStringLiteral("  dromvel.bizszam2,"),
    QStringLiteral("  dromvel.szoveg2,"),
    QStringLiteral("  dromvel.osszeg2,"),
    QStringLiteral("  dromvel.forgjogcim3,"),
    QStringLiteral("  dromvel.bizszam3,"),
    QStringLiteral("  dromvel.szoveg3,"),
    QStringLiteral("  dromvel.osszeg3,"),
    QStringLiteral("  felhasznalo.felhasznalo_nev,"),
    QStringLiteral("  dromvel.osszeg,"),
    QStringLiteral("  kassza.valuta"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral("  INNER JOIN kibe ON (dromvel.kibe = kibe.kibe)"),
    QStringLiteral("  INNER JOIN kassza ON (dromvel.kassza = kassza.kassza)"),
    QStringLiteral("  LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)"),
    QStringLiteral("  LEFT OUTER JOIN felhasznalo ON (dromvel.felhasznalo = felhasznalo.felhasznalo)"),
    QStringLiteral("WHERE (dromvel.dat_kiadva BETWEEN :pd1 AND :pd2) AND (dromvel.kassza = :pkassza)"),
    QStringLiteral("ORDER BY 1;"),
};

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

QString VoucherFooterText()
{
    return QStringLiteral("Készítette: %1, %2")
        .arg(QString::fromUtf8(MakerInfo::Name), QString::fromUtf8(MakerInfo::HomePage));
}

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
    return {OwnerName(engine), formatFt.isEmpty() ? QStringLiteral("### ### ##0") : formatFt, VoucherFooterText(),
            QDateTime::currentDateTime()};
}

#include "tqrossz.h"

#include "listreport.h"
#include "util.h"
#include "voucherdata.h"

using namespace Report;
using namespace ListFrame;

namespace {

const QStringList Sql = {
    QStringLiteral("SELECT "),
    QStringLiteral("  dromvel.dromvel,"),
    QStringLiteral("  dromvel.dromvelid,"),
    QStringLiteral("  dromvel.ssz,"),
    QStringLiteral("  dromvel.betujel,"),
    QStringLiteral("  dromvel.kibe,"),
    QStringLiteral("  dromvel.dat_kiadva,"),
    QStringLiteral("  dromvel.bevetel,"),
    QStringLiteral("  dromvel.kiadas,"),
    QStringLiteral("  dromvel.szoveg,"),
    QStringLiteral("  kasszatip.kasszatip_nev,"),
    QStringLiteral("  ugyfel.ugyfel_nev,"),
    QStringLiteral("  kassza_nev"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral("  LEFT OUTER JOIN kasszatip ON (dromvel.kasszatip = kasszatip.kasszatip)"),
    QStringLiteral("  LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)"),
    QStringLiteral("  LEFT OUTER JOIN kassza ON (dromvel.kassza = kassza.kassza)"),
    QStringLiteral("WHERE (dromvel.dat_kiadva BETWEEN :d1 AND :d2) AND (dromvel.kiadva='I') AND "
                   "(dromvel.kassza=:pkassza)"),
    QStringLiteral("ORDER BY dromvel.dromvelid;"),
};

const QString TotalFormat = QStringLiteral("### ### ##0");

constexpr double BevetelLeft = 115.1, KiadasLeft = 141.6, AmountWidth = 25.5;

} // namespace

QString TqrOssz::Title(int kind)
{
    switch (kind) {
    case Befizetesek:
        return QStringLiteral("Pénztári befizetések időszakra");
    case Kifizetesek:
        return QStringLiteral("Pénztári kifizetések időszakra");
    default:
        return QStringLiteral("Kasszatörténet");
    }
}

std::shared_ptr<SqlExportSource> TqrOssz::Rows(Engine &engine, int kind, int till, const DateRange &period,
                                               const QString &formatFt)
{
    auto rows = ListRows(
        engine, Sql,
        {{QStringLiteral("d1"), period.from}, {QStringLiteral("d2"), period.to}, {QStringLiteral("pkassza"), till}},
        formatFt);
    if (kind == Kasszatortenet)
        rows->addCalculated(QStringLiteral("egyenleg"), QStringLiteral("egyenleg"), ExportKind::Float,
                            [](const StoredRow &row) {
                                return ValueOr(row.value(QStringLiteral("bevetel")), 0.0) -
                                       ValueOr(row.value(QStringLiteral("kiadas")), 0.0);
                            });
    else
        rows->setFilter(
            [direction = kind == Befizetesek ? QStringLiteral("B") : QStringLiteral("K")](const StoredRow &row) {
                return row.value(QStringLiteral("kibe")).toString() == direction;
            });
    return rows;
}

Document TqrOssz::layout(int kind, const QString &tillName, const DateRange &period, const Context &context,
                         std::shared_ptr<ExportSource> rows)
{
    const bool receipts = kind != Kifizetesek;
    const bool payments = kind != Befizetesek;
    const bool history = kind == Kasszatortenet;

    ListReport r = PeriodListReport(Title(kind), QStringLiteral("qrOssz"), tillName, period.from, period.to, context,
                                    HeaderHeight);
    const double width = r.setup.printableSize().width();
    r.columns = {
        ListColumn::Of(QStringLiteral("sorszam"), QStringLiteral("bizonylat"), 0, 0, 20.0),
        ListColumn::Of(QStringLiteral("dat_kiadva"), QStringLiteral("dátum"), 21.2, 21.2, 20.0, ListColumn::Date),
        ListColumn::Of(QStringLiteral("kasszatip_nev"), QStringLiteral("típus"), 42.3, 42.3, 26.8),
        ListColumn::Of(QStringLiteral("ugyfel_nev"), QStringLiteral("kitől/kinek"), 70.1, 70.1, 44.0),
    };
    if (receipts)
        r.columns.append(ListColumn::Aligned(QStringLiteral("bevetel"), QStringLiteral("bevétel"), BevetelLeft,
                                             AmountWidth, Qt::AlignRight, ListColumn::Amount, context.formatFt));
    if (payments)
        r.columns.append(ListColumn::Aligned(QStringLiteral("kiadas"), QStringLiteral("kiadás"), KiadasLeft,
                                             AmountWidth, Qt::AlignRight, ListColumn::Amount, context.formatFt));
    r.textField = QStringLiteral("szoveg");
    r.sumFields = {QStringLiteral("bevetel"), QStringLiteral("kiadas")};
    r.summary = [receipts, payments, history, width](const ListTotals &totals) {
        const double in = totals.sums.at(0), out = totals.sums.at(1);
        Band s = TotalsBand(history ? 11.9 : 6.6, width);
        if (receipts)
            s.add(Label(FormatFloat(TotalFormat, in), BevetelLeft, 1.3, Tahoma8Bold, AmountWidth, Qt::AlignRight),
                  QStringLiteral("osszesen_bevetel"));
        if (payments)
            s.add(Label(FormatFloat(TotalFormat, out), KiadasLeft, 1.3, Tahoma8Bold, AmountWidth, Qt::AlignRight),
                  QStringLiteral("osszesen_kiadas"));
        if (history) {
            s.add(Label(QStringLiteral("Egyenleg"), 140.2, 6.6, Tahoma8), QStringLiteral("egyenleg_felirat"));
            s.add(Label(FormatFloat(TotalFormat, in - out), 162.7, 6.6, Tahoma8Bold, AmountWidth, Qt::AlignRight),
                  QStringLiteral("egyenleg"));
        }
        return s;
    };
    r.rows = std::move(rows);
    return r.layout();
}

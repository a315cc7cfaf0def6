#include "tqrelszamol.h"

#include "listreport.h"
#include "util.h"

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
    QStringLiteral("  dromvel.osszeg,"),
    QStringLiteral("  dromvel.elszamol_kell_dat,"),
    QStringLiteral("  dromvel.szoveg,"),
    QStringLiteral("  kasszatip.kasszatip_nev,"),
    QStringLiteral("  ugyfel.ugyfel_nev,"),
    QStringLiteral("  kassza_nev"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral("  LEFT OUTER JOIN kasszatip ON (dromvel.kasszatip = kasszatip.kasszatip)"),
    QStringLiteral("  LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)"),
    QStringLiteral("  LEFT OUTER JOIN kassza ON (dromvel.kassza = kassza.kassza)"),
    QStringLiteral("WHERE (dromvel.kiadva='I') AND (dromvel.kassza=:pkassza) AND"),
    QStringLiteral(" (dromvel.elszamol_kell='I') AND (dromvel.elszamolva='N')"),
    QStringLiteral("ORDER BY dromvel.elszamol_kell_dat, dromvel.dromvelid;"),
};
const QString OverdueLine = QStringLiteral(" AND (dromvel.elszamol_kell_dat < :pnap)");

constexpr double OsszegLeft = 141.6, OsszegWidth = 25.5;

} // namespace

QString TqrElszamol::Title()
{
    return QStringLiteral("Elszámolásra váró tételek");
}

QString TqrElszamol::OverdueTitle()
{
    return QStringLiteral("Lejárt határidejű elszámolások");
}

std::shared_ptr<SqlExportSource> TqrElszamol::Rows(Engine &engine, int till, const QString &formatFt,
                                                   const QDate &overdueOn)
{
    if (!overdueOn.isValid())
        return ListRows(engine, Sql, {{QStringLiteral("pkassza"), till}}, formatFt);
    QStringList sql = Sql;
    sql[sql.size() - 2] += OverdueLine;
    return ListRows(engine, sql,
                    {{QStringLiteral("pkassza"), till}, {QStringLiteral("pnap"), overdueOn.toString(Qt::ISODate)}},
                    formatFt);
}

Document TqrElszamol::layout(const QString &tillName, const Context &context, std::shared_ptr<ExportSource> rows,
                             const QString &title)
{
    ListReport r;
    r.title = title;
    r.fileName = r.title;
    r.reportName = QStringLiteral("qrElszamol");
    r.printedAt = context.printedAt;
    const double width = r.setup.printableSize().width();
    r.headerHeight = HeaderHeight;
    r.headerTop = [title = r.title, tillName, owner = context.owner, width] {
        return TitleBlock(title, tillName, width - OwnerWidth, owner, width);
    };
    r.headingTop = 17.2;
    r.headingFont = Tahoma8Italic;
    r.rowFont = Tahoma8;
    // The cells stand 5.3 mm right of their headings.
    ListColumn osszeg = ListColumn::Aligned(QStringLiteral("osszeg"), QStringLiteral("összeg"), OsszegLeft, OsszegWidth,
                                            Qt::AlignRight, ListColumn::Amount, context.formatFt);
    osszeg.headingLeft = 136.3;
    r.columns = {
        ListColumn::Of(QStringLiteral("elszamol_kell_dat"), QStringLiteral("elszámolás"), 0, 5.3, 20.0,
                       ListColumn::Date),
        ListColumn::Of(QStringLiteral("sorszam"), QStringLiteral("bizonylat"), 21.2, 26.5, 20.0),
        ListColumn::Of(QStringLiteral("dat_kiadva"), QStringLiteral("dátum"), 42.3, 47.6, 20.0, ListColumn::Date),
        ListColumn::Of(QStringLiteral("kasszatip_nev"), QStringLiteral("típus"), 63.5, 68.8, 26.8),
        ListColumn::Of(QStringLiteral("ugyfel_nev"), QStringLiteral("kitől/kinek"), 91.3, 96.6, 44.0),
        osszeg,
    };
    r.textField = QStringLiteral("szoveg");
    r.sumFields = {QStringLiteral("osszeg")};
    r.summary = [width](const ListTotals &totals) {
        Band s = TotalsBand(6.6, width);
        s.add(Label(FormatFloat(QStringLiteral("### ### ##0"), totals.sums.at(0)), OsszegLeft, 1.3, Tahoma8Bold,
                    OsszegWidth, Qt::AlignRight),
              QStringLiteral("osszesen_osszeg"));
        return s;
    };
    r.rows = std::move(rows);
    return r.layout();
}

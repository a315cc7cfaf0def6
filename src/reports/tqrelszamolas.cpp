#include "tqrelszamolas.h"

#include "listreport.h"
#include "util.h"

using namespace Report;
using namespace ListFrame;

namespace {

const QStringList Sql = {
    QStringLiteral("SELECT"),
    QStringLiteral("  kassza.kassza_nev,"),
    QStringLiteral("  kassza.valuta,"),
    QStringLiteral("  dromvel.elszamol_ssz,"),
    QStringLiteral("  dromvel.dat_kiadva,"),
    QStringLiteral("  dromvel.betujel,"),
    QStringLiteral("  dromvel.ssz,"),
    QStringLiteral("  ugyfel.ugyfel_nev,"),
    QStringLiteral("  dromvel.szoveg1,"),
    QStringLiteral("  dromvel.osszeg,"),
    QStringLiteral("  dromvel.elszamol_kell_dat,"),
    QStringLiteral("  dromvel.elszamol_dat,"),
    QStringLiteral("  dromvel.elszamol_tenyl_osszeg,"),
    QStringLiteral("  dromvel.elszamol_bevet_penztarbiz,"),
    QStringLiteral("  dromvel.szoveg"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral("  LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel)"),
    QStringLiteral("  LEFT OUTER JOIN kassza ON (dromvel.kassza = kassza.kassza)"),
    QStringLiteral("WHERE (dromvel.dat_kiadva BETWEEN :d1 AND :d2) AND (dromvel.kiadva='I') AND "
                   "(dromvel.kassza=:pkassza)"),
    QStringLiteral(" AND (dromvel.elszamol_kell = 'I')"),
    QStringLiteral("ORDER BY dromvel.elszamol_ssz;"),
};

// The two date columns under the common heading "elszámolás".
constexpr double HataridoLeft = 146.8, DateWidth = 24.7, TenylegesLeft = 173.3;

} // namespace

QString TqrElszamolas::Title()
{
    return QStringLiteral("Készpénzigénylések elszámolása");
}

std::shared_ptr<SqlExportSource> TqrElszamolas::Rows(Engine &engine, int till, const DateRange &period,
                                                     const QString &formatFt)
{
    return ListRows(
        engine, Sql,
        {{QStringLiteral("d1"), period.from}, {QStringLiteral("d2"), period.to}, {QStringLiteral("pkassza"), till}},
        formatFt);
}

Document TqrElszamolas::layout(const TillHeading &till, const DateRange &period, const Context &context,
                               std::shared_ptr<ExportSource> rows)
{
    ListReport r;
    r.title = Title();
    r.fileName = r.title + QLatin1Char(' ') + PeriodLine(period.from, period.to).remove(QLatin1Char(' '));
    r.reportName = QStringLiteral("qrElszamolas");
    r.setup.orientation = QPageLayout::Landscape;
    r.footerPointSize = 8;
    r.printedAt = context.printedAt;
    const double width = r.setup.printableSize().width();
    r.headerHeight = HeaderHeight;
    r.headerTop = [title = r.title, till, period, owner = context.owner, width] {
        Band b;
        b.elements = TitleBlock(title, till.kasszaNev, 53.4, owner, width);
        b.add(Label(QStringLiteral("valuta"), 54.7, 7.9, Tahoma8Italic), QStringLiteral("valuta_felirat"));
        b.add(Label(till.valuta, 72.3, 7.9, Tahoma10Bold), QStringLiteral("valuta"));
        b.add(Label(PeriodLine(period.from, period.to), 0, 13.2, Tahoma10Bold), QStringLiteral("idoszak"));
        b.add(Label(QStringLiteral("elszámolás"), HataridoLeft, 18.5, Tahoma8Italic,
                    TenylegesLeft + DateWidth - HataridoLeft, Qt::AlignHCenter),
              QStringLiteral("fej_elszamolas"));
        return b.elements;
    };
    r.headingTop = 23.8;
    r.headingFont = Tahoma8Italic;
    r.rowFont = Tahoma8;
    r.rowHeight = RowHeight;
    r.rowLines = false;
    const auto column = [](const char *name, const char *heading, double left, double width,
                           Qt::Alignment alignment = Qt::AlignLeft, ListColumn::Kind kind = ListColumn::Text,
                           const QString &format = QString()) {
        return ListColumn::Aligned(QString::fromLatin1(name), QString::fromUtf8(heading), left, width, alignment, kind,
                                   format);
    };
    r.columns = {
        // The settlement serial, by which the rows are ordered and which the cash request carries.
        column("elszamol_ssz", "sorszám", 0, 14.6, Qt::AlignRight, ListColumn::Amount, QStringLiteral("00000")),
        column("dat_kiadva", "felvétel", 15.9, 20.3, Qt::AlignLeft, ListColumn::Date),
        column("sorszam", "kiadási biz.", 37.0, 21.6),
        column("ugyfel_nev", "felvevő neve", 59.5, 34.4),
        column("szoveg1", "felvétel jogcím", 95.7, 25.6),
        column("osszeg", "felvett összeg", 122.1, 22.9, Qt::AlignRight, ListColumn::Amount, context.formatFt),
        column("elszamol_kell_dat", "határideje", HataridoLeft, DateWidth, Qt::AlignHCenter, ListColumn::Date),
        column("elszamol_dat", "tényleges időpont", TenylegesLeft, DateWidth, Qt::AlignHCenter, ListColumn::Date),
        column("elszamol_tenyl_osszeg", "felh.összeg", 199.8, 22.9, Qt::AlignRight, ListColumn::Amount,
               QStringLiteral("### ### ##0")),
        column("elszamol_bevet_penztarbiz", "bevét biz.", 224.0, 21.6),
        column("szoveg", "megjegyzés", 246.9, 28.7),
    };
    r.rows = std::move(rows);
    return r.layout();
}

#include "tqrkpelszamol.h"

#include "util.h"

#include <QLocale>

using namespace Report;

namespace {

const Font Arial14Bold{QStringLiteral("Arial"), 14, true};
const Font Arial10Bold{QStringLiteral("Arial"), 10, true};
const Font Tahoma8{QStringLiteral("Tahoma"), 8};
const Font Courier6{QStringLiteral("Courier New"), 6};

// The longest a value may run inside its frame (17.2 … 102.2) from its start at 18.9.
constexpr double ValueWidth = 82.0;

QList<Element> Copy(const RequestRow &row, const VoucherSettings &settings)
{
    const QString serial =
        row.elszamolSsz.isNull() ? QString() : FormatFloat(QStringLiteral("00000"), row.elszamolSsz.toDouble());
    Band b;
    b.add(FittedLabel(row.szervegysegNev, 0.3, 2.6, Arial10Bold, 47.6, Qt::AlignHCenter),
          QStringLiteral("szervegyseg_nev"));
    b.add(Label(QStringLiteral("Szervezeti egység megnevezése"), 0, 7.9, Tahoma8, 48.0, Qt::AlignHCenter),
          QStringLiteral("szervegyseg_felirat"));
    b.add(Label(QStringLiteral("Sorszám"), 83.3, 2.6, Tahoma8), QStringLiteral("sorszam_felirat"));
    b.add(Label(serial, 98.2, 2.6, Arial10Bold, 22.2, Qt::AlignRight), QStringLiteral("elszamol_ssz"));
    b.add(Label(QStringLiteral("Kiadva"), 83.3, 7.9, Tahoma8), QStringLiteral("kiadva_felirat"));
    b.add(Label(ShortDate(row.datKiadva), 101.9, 7.9, Arial10Bold, 18.5, Qt::AlignRight), QStringLiteral("dat_kiadva"));
    b.add(Label(QStringLiteral("Készpénzigénylés elszámolásra"), 20.8, 14.6, Arial14Bold, 78.7, Qt::AlignHCenter),
          QStringLiteral("cim"));
    for (const double top : {23.8, 30.4, 37.0})
        b.add(Frame(17.2, top, 85.0, 6.9), QStringLiteral("keret"));
    b.add(Label(QStringLiteral("Kérem"), 6.6, 25.1, Tahoma8), QStringLiteral("kerem"));
    b.add(FittedLabel(row.ugyfelNev, 18.9, 25.1, Arial10Bold, ValueWidth), QStringLiteral("ugyfel_nev"));
    b.add(Label(QStringLiteral("részére"), 105.8, 25.1, Tahoma8, 115.7 - 105.8, Qt::AlignRight),
          QStringLiteral("reszere"));
    b.add(FittedLabel(FormattedAmount(settings.formatFt, row.osszeg), 18.9, 31.8, Arial10Bold, ValueWidth),
          QStringLiteral("osszeg"));
    b.add(Label(QStringLiteral("Forintot"), 105.5, 31.8, Tahoma8), QStringLiteral("forintot"));
    b.add(FittedLabel(row.szoveg1, 18.9, 38.4, Arial10Bold, ValueWidth), QStringLiteral("szoveg1"));
    b.add(Label(QStringLiteral("jogcímen"), 104.5, 38.4, Tahoma8), QStringLiteral("jogcimen"));
    b.add(Label(QStringLiteral("utólagos elszámolási kötelezettséggel kiadni."), 6.6, 46.3, Tahoma8),
          QStringLiteral("kotelezettseg"));
    b.add(Label(QStringLiteral("Elszámolás határideje"), 6.6, 52.9, Tahoma8), QStringLiteral("hatarido_felirat"));
    b.add(Label(ShortDate(row.elszamolKellDat), 40.0, 52.9, Arial10Bold), QStringLiteral("elszamol_kell_dat"));
    b.add(Label(QStringLiteral("Kiadási pénztárbizonylat"), 6.6, 59.5, Tahoma8), QStringLiteral("bizonylat_felirat"));
    b.add(Label(row.sorszam, 40.0, 59.5, Arial10Bold), QStringLiteral("sorszam"));
    b.add(Frame(74.1, 50.3, 46.6, 9.6), QStringLiteral("keret_alairas"));
    b.add(Label(QStringLiteral("Igénylő szerv.egység vezető"), 76.7, 60.9, Tahoma8, 41.3, Qt::AlignHCenter),
          QStringLiteral("alairas"));
    b.add(Label(QStringLiteral("Dromvel.Pro"), 0, 67.5, Courier6), QStringLiteral("program"));
    b.add(Label(QLocale().toString(settings.printedAt, QLocale::ShortFormat), 105.2, 67.5, Courier6, 14.9,
                Qt::AlignRight),
          QStringLiteral("nyomtatva"));
    b.add(Label(settings.footer, 0, 72.8, Courier6), QStringLiteral("lablec"));
    b.add(HorizontalLine(0, 78.1, TqrKpElszamol::CopyWidth), QStringLiteral("vonal"));
    return b.elements;
}

} // namespace

Report::Document TqrKpElszamol::layout(const QList<RequestRow> &rows, const VoucherSettings &settings)
{
    BandedReport report;
    report.title = QStringLiteral("Készpénzigénylés elszámolásra");
    for (const RequestRow &row : rows) {
        Band band;
        band.height = BandHeight;
        const QList<Element> copy = Copy(row, settings);
        band.addCopy(copy, 0, 1);
        band.addCopy(copy, SecondCopyShift, 2);
        report.details.append(band);
    }
    if (rows.size() == 1)
        report.fileName = QStringLiteral("Készpénzigénylés %1").arg(rows.first().sorszam);
    return report.layout();
}

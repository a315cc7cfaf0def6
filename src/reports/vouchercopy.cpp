#include "vouchercopy.h"

#include "reportfonts.h"
#include "util.h"

using namespace Report;

namespace VoucherCopy {

namespace {

const Font Arial14Bold{QStringLiteral("Arial"), 14, true};
const Font Arial10{QStringLiteral("Arial"), 10};
const Font Tahoma9Bold{QStringLiteral("Tahoma"), 9, true};
const Font Tahoma8{QStringLiteral("Tahoma"), 8};
const Font Tahoma6{QStringLiteral("Tahoma"), 6};
const Font Times8{QStringLiteral("Times New Roman"), 8};
const Font Courier6{QStringLiteral("Courier New"), 6};

constexpr double Inset = 1.3; // text inside a frame

// Item table: the row tops and the columns' left edges and widths.
constexpr double ItemRows[] = {38.4, 45.0, 51.6, 58.2, 64.8, 71.4};
constexpr double ItemRowHeight = 6.9;
constexpr struct
{
    double left;
    double width;
} ItemColumns[] = {{27.8, 28.1}, {55.6, 28.1}, {83.3, 78.4}, {161.4, 28.1}};

Element Named(Element e, const QString &name)
{
    e.name = name;
    return e;
}

// The amount in words fills its frame: smaller type for long amounts, two lines when even that is too long.
Element AmountWords(const QString &words)
{
    constexpr double left = 74.1, top = 31.8, width = 98.3, minSize = 6;
    Font small = Tahoma9Bold;
    small.pointSize = minSize;
    if (TextWidth(small, words) <= width)
        return FittedLabel(words, left, top, Tahoma9Bold, width, Qt::AlignLeft, minSize);
    // The frame runs from 30.4 to 37.3.
    return WrappedText(words, QRectF(left, 30.8, width, 6.2), small);
}

} // namespace

QString InstructionLine(const QString &kibe)
{
    return kibe == QLatin1String("B") ? QStringLiteral("A pénztár vételezzen be az alábbiak szerint:")
                                      : QStringLiteral("A pénztár fizessen az alábbiak szerint:");
}

QList<Element> Elements(const VoucherRow &row, const VoucherSettings &settings, const QString &copyLabel,
                        double headShift, double bodyShift)
{
    const QString total = FormattedAmount(settings.formatFt, row.osszeg);

    QList<Element> head;
    head << Named(WrappedText(row.kibeNev, QRectF(1.3, 1.3, 44.0, 13.6), Arial14Bold), QStringLiteral("kibe_nev"))
         << Named(Label(QStringLiteral("Kiállító (ph)"), 46.3, 2.6, Arial10), QStringLiteral("kiallito_ph"))
         // The issuer's name must not run into the voucher number's column.
         << Named(FittedLabel(settings.owner, 46.3, 9.3, Tahoma9Bold, 96.0), QStringLiteral("tulajdonos"))
         << Named(Label(row.sorszam, 142.9, 2.6, Arial14Bold, 44.0, Qt::AlignRight), QStringLiteral("sorszam"))
         << Named(Label(copyLabel, 142.9, 9.3, Tahoma9Bold, 44.0, Qt::AlignRight), QStringLiteral("peldany"));

    QList<Element> body;
    body << Named(Frame(0, 15.9, Width, 73.1), QStringLiteral("keret"));
    const double leftTops[] = {15.9, 30.4, 45.0, 59.5, 74.1};
    const QString leftLabels[] = {QStringLiteral("Kiállító:"), QStringLiteral("Ellenőr:"),
                                  QStringLiteral("Utalványozó"), QStringLiteral("Könyvelő"),
                                  QStringLiteral("Pénztáros:")};
    for (int i = 0; i < 5; ++i) {
        const QString n = QString::number(i + 1);
        body << Named(Frame(0, leftTops[i], 28.1, 14.9), QStringLiteral("keret_bal") + n)
             << Named(Label(leftLabels[i], Inset, leftTops[i] + Inset, Tahoma8), QStringLiteral("bal") + n);
    }
    body << Named(FittedLabel(row.felhasznaloNev, 1.3, 25.1, Tahoma6, 26.2, Qt::AlignLeft, 5),
                  QStringLiteral("felhasznalo_nev"))
         << Named(Label(InstructionLine(row.kibe), 30.4, 18.5, Tahoma6), QStringLiteral("utasitas"))
         << Named(FittedLabel(row.ugyfelNev, 33.1, 23.8, Tahoma9Bold, 85.0), QStringLiteral("ugyfel_nev"))
         << Named(Frame(148.2, 15.9, 41.3, 12.2), QStringLiteral("keret_kelt"))
         << Named(Label(QStringLiteral("Kelt:"), 149.5, 17.2, Tahoma8), QStringLiteral("kelt"))
         << Named(Label(ShortDate(row.datKiadva), 156.1, 22.5, Tahoma9Bold, 31.8, Qt::AlignRight),
                  QStringLiteral("dat_kiadva"))
         << Named(Frame(31.8, 30.4, 26.8, 6.9), QStringLiteral("keret_osszeg"))
         << Named(FittedLabel(total, 33.1, 31.8, Tahoma9Bold, 23.8, Qt::AlignRight), QStringLiteral("osszeg"))
         << Named(Label(QStringLiteral("azaz"), 62.2, 31.8, Tahoma6), QStringLiteral("azaz"))
         << Named(Frame(72.8, 30.4, 100.9, 6.9), QStringLiteral("keret_betuvel"))
         << Named(AmountWords(AmountInWords(ValueOr(row.osszeg, 0.0))), QStringLiteral("betuvel"))
         << Named(Label(row.valuta, 177.3, 31.8, Tahoma8), QStringLiteral("valuta"));

    const QString headings[] = {QStringLiteral("Készpénzforgalmi jogcím"), QStringLiteral("Könyvelési számlaszám"),
                                QStringLiteral("Szöveg"), QStringLiteral("Összeg")};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c)
            body << Named(Frame(ItemColumns[c].left, ItemRows[r], ItemColumns[c].width, ItemRowHeight),
                          QStringLiteral("tetel_%1_%2").arg(r + 1).arg(c + 1));
    for (int c = 0; c < 4; ++c)
        body << Named(FittedLabel(headings[c], ItemColumns[c].left + 0.5, ItemRows[0] + Inset, Tahoma6,
                                  ItemColumns[c].width - 1.0, Qt::AlignHCenter, 5),
                      QStringLiteral("fejlec%1").arg(c + 1));
    for (int i = 0; i < 3; ++i) {
        const VoucherItem &item = row.items[i];
        const double top = ItemRows[i + 1] + Inset;
        const QString n = QString::number(i + 1);
        const QString texts[] = {item.forgjogcim, item.bizszam, item.szoveg};
        const QString names[] = {QStringLiteral("forgjogcim"), QStringLiteral("bizszam"), QStringLiteral("szoveg")};
        for (int c = 0; c < 3; ++c)
            body << Named(FittedLabel(texts[c], ItemColumns[c].left + Inset, top, Times8,
                                      ItemColumns[c].width - 2 * Inset, Qt::AlignLeft, 5),
                          names[c] + n);
        body << Named(FittedLabel(FormattedAmount(settings.formatFt, item.osszeg), ItemColumns[3].left + Inset, top,
                                  Tahoma9Bold, ItemColumns[3].width - 2 * Inset, Qt::AlignRight),
                      QStringLiteral("osszeg") + n);
    }

    body << Named(Frame(27.8, 78.1, 28.1, 10.9), QStringLiteral("keret_melleklet"))
         << Named(Label(QStringLiteral("Melléklet:"), 29.1, 79.4, Tahoma8), QStringLiteral("melleklet"))
         << Named(Frame(161.4, 78.1, 28.1, 10.9), QStringLiteral("keret_vegosszeg"))
         << Named(FittedLabel(total, 162.7, 80.7, Tahoma9Bold, 25.1, Qt::AlignRight), QStringLiteral("vegosszeg"))
         << Named(FittedLabel(row.szigszam, 133.6, 79.4, Times8, 25.1, Qt::AlignRight), QStringLiteral("szigszam"))
         << Named(Label(QStringLiteral("Az összeg befizetőjének aláírása, személyi igazolvány száma"), 56.9, 84.7,
                        Tahoma6, 102.2, Qt::AlignHCenter),
                  QStringLiteral("alairas"))
         << Named(Label(QStringLiteral("Dromvel.Pro"), 0, 90.0, Courier6), QStringLiteral("program"))
         << Named(Label(settings.footer, 0, 90.0, Courier6, BandWidth, Qt::AlignHCenter), QStringLiteral("lablec"));

    for (Element &e : head)
        e.box.translate(0, headShift);
    for (Element &e : body)
        e.box.translate(0, bodyShift);
    return head + body;
}

} // namespace VoucherCopy

#include "tqrnapzar.h"

#include "cashlimit.h"
#include "listreport.h"
#include "query.h"
#include "reportfonts.h"
#include "util.h"
#include "voucherdata.h"

using namespace Report;
using namespace ListFrame;

namespace {

const QStringList Sql = {
    QStringLiteral("SELECT"),
    QStringLiteral("  zarbizonylat.zarbizonylat,"),
    QStringLiteral("  zarbizonylat.kassza,"),
    QStringLiteral("  zarbizonylat.nyito,"),
    QStringLiteral("  zarbizonylat.zaro,"),
    QStringLiteral("  zarbizonylat.dat_tol,"),
    QStringLiteral("  zarbizonylat.dat_ig,"),
    QStringLiteral("  dromvel.dromvelid,"),
    QStringLiteral("  dromvel.dat_kiadva,"),
    QStringLiteral("  kassza.kassza_nev,"),
    QStringLiteral("  kassza.valuta,"),
    QStringLiteral("  dromvel.betujel,"),
    QStringLiteral("  dromvel.ssz,"),
    QStringLiteral("  dromvel.szoveg,"),
    QStringLiteral("  dromvel.bevetel,"),
    QStringLiteral("  dromvel.kiadas"),
    QStringLiteral("FROM zarbizonylat"),
    QStringLiteral("  LEFT OUTER JOIN dromvel ON (zarbizonylat.zarbizonylat = dromvel.zarbizonylat)"),
    QStringLiteral("  LEFT OUTER JOIN kassza ON (zarbizonylat.kassza = kassza.kassza)"),
    QStringLiteral("WHERE (zarbizonylat.zarbizonylat=:pzarbizonylat)"),
    QStringLiteral("ORDER BY zarbizonylat.zarbizonylat,dromvel.dromvelid;"),
};

const QStringList PaymentCountSql = {
    QStringLiteral("SELECT"),
    QStringLiteral("  COUNT(*) AS kiadas"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral("WHERE (zarbizonylat=:pzarbizonylat) AND (kibe='K');"),
};

const QStringList ReceiptCountSql = {
    QStringLiteral("SELECT"),
    QStringLiteral("  COUNT(*) AS bevetel"),
    QStringLiteral("FROM dromvel"),
    QStringLiteral("WHERE (zarbizonylat=:pzarbizonylat) AND (kibe='B');"),
};

const Font Arial16Bold{QStringLiteral("Arial"), 16, true};
const QString TotalFormat = QStringLiteral("### ### ##0.00");

// The detail columns; the summary table's amount columns stand under the last two.
constexpr double BevetelLeft = 127.0, KiadasLeft = 158.8, AmountWidth = 30.4;
constexpr double ValueLeft = 22.8; // header values beside their labels

// The summary table at the right: label, receipts and payments columns, rows at a pitch of 6.6 from 1.3.
constexpr double TableLeft = 87.3, LabelWidth = 40.0, ReceiptsWidth = 32.1, PaymentsWidth = 30.8;
constexpr double TableTop = 1.3, TablePitch = 6.6;
// Frames set edge to edge share their lines: the next one starts this much before the last one ends.
constexpr double Shared = 0.3;

// The cash-count form at the left.
constexpr double CountPitch = 4.0;
constexpr int CountRows = 16;

int Count(Engine &engine, const QStringList &sql, int zarbizonylat)
{
    Query q(engine, sql.join(QLatin1Char('\n')));
    q.setInt(QStringLiteral("pzarbizonylat"), zarbizonylat);
    q.open();
    return q.next() ? ValueOr(q.value(0), 0) : 0;
}

// A frame of the summary with its text 1.3 mm inside; amounts right-aligned.
void Box(Band &b, const QString &name, double left, double top, double width, double height, const QString &text,
         const Font &font, Qt::Alignment alignment = Qt::AlignLeft)
{
    b.add(Frame(left, top, width, height), QStringLiteral("keret_") + name);
    if (!text.isEmpty())
        b.add(Label(text, left + 1.3, top + (height - LineHeight(font)) / 2, font, width - Shared - 2.6, alignment),
              name);
}

Band Summary(const ClosingHeading &closing, const TqrNapZar::Counts &counts, const ListTotals &totals,
             const std::optional<CashCount> &cashCount)
{
    const double receipts = totals.sums.at(0), payments = totals.sums.at(1);
    const double total = receipts + closing.nyito;
    const double receiptsLeft = TableLeft + LabelWidth - Shared;
    const double paymentsLeft = receiptsLeft + ReceiptsWidth - Shared;
    const double height = TablePitch + Shared;
    Band b;
    b.height = TqrNapZar::SummaryHeight;

    // Turnover and balances; "Összesen" shows the opening balance plus the receipts in both columns.
    const struct
    {
        const char *name;
        const char *label;
        QString receipts;
        QString payments;
    } rows[] = {
        {"forgalom", "Forgalom/Átvitel", FormatFloat(TotalFormat, receipts), FormatFloat(TotalFormat, payments)},
        {"kezdo", "Kezdő pénzkészlet", FormatFloat(TotalFormat, closing.nyito), QString()},
        {"zaro", "Záró pénzkészlet", QString(), FormatFloat(TotalFormat, closing.zaro)},
        {"osszesen", "Összesen", FormatFloat(TotalFormat, total), FormatFloat(TotalFormat, total)},
    };
    double top = TableTop;
    for (const auto &row : rows) {
        const QString name = QString::fromLatin1(row.name);
        const bool sum = name == QLatin1String("osszesen");
        Box(b, name, TableLeft, top, LabelWidth, height, QString::fromUtf8(row.label), sum ? Tahoma8Bold : Tahoma8);
        Box(b, name + QStringLiteral("_bevetel"), receiptsLeft, top, ReceiptsWidth, height, row.receipts, Tahoma9Bold,
            Qt::AlignRight);
        Box(b, name + QStringLiteral("_kiadas"), paymentsLeft, top, PaymentsWidth, height, row.payments, Tahoma9Bold,
            Qt::AlignRight);
        top += TablePitch;
    }
    // What the cash count found, or empty for writing in by hand: the label spans the first two columns.
    const double difference = cashCount ? cashCount->difference(closing.zaro) : 0;
    const auto countFigure = [&cashCount](double value) {
        return cashCount ? FormatFloat(TotalFormat, value) : QString();
    };
    const struct
    {
        const char *name;
        const char *label;
        QString value;
    } counted[] = {
        {"ellenorzes", "Pénztárellenőrzés szerinti záró pénzkészlet", countFigure(cashCount ? cashCount->total() : 0)},
        {"tobblet", "Többlet", countFigure(qMax(difference, 0.0))},
        {"hiany", "Hiány", countFigure(qMax(-difference, 0.0))}};
    for (const auto &row : counted) {
        const QString name = QString::fromLatin1(row.name);
        Box(b, name, TableLeft, top, paymentsLeft + Shared - TableLeft, height, QString::fromUtf8(row.label), Tahoma8);
        Box(b, name + QStringLiteral("_kiadas"), paymentsLeft, top, PaymentsWidth, height, row.value, Tahoma9Bold,
            Qt::AlignRight);
        top += TablePitch;
    }

    // Attachments and signatures.
    constexpr double boxTop = 47.6, boxLeft = TableLeft, inside = TableLeft + 1.3, signLeft = 140.0, signWidth = 47.0;
    b.add(Frame(boxLeft, boxTop, 102.2, 29.4), QStringLiteral("keret_mellekletek"));
    b.add(Label(QStringLiteral("Mellékletek"), inside, boxTop + 1.3, Tahoma9Bold), QStringLiteral("mellekletek"));
    b.add(Label(QStringLiteral("Bevételi pénztárbizonylat"), inside, boxTop + 7.0, Tahoma8),
          QStringLiteral("bevetel_felirat"));
    b.add(Label(QString::number(counts.bevetel), inside, boxTop + 10.6, Tahoma9Bold), QStringLiteral("bevetel_db"));
    b.add(Label(QStringLiteral("Kiadási pénztárbizonylat"), inside, boxTop + 17.0, Tahoma8),
          QStringLiteral("kiadas_felirat"));
    b.add(Label(QString::number(counts.kiadas), inside, boxTop + 20.6, Tahoma9Bold), QStringLiteral("kiadas_db"));
    const QString dots = QStringLiteral(".................................");
    const struct
    {
        const char *name;
        const char *caption;
        double top;
    } signatures[] = {{"penztaros", "Pénztáros", boxTop + 8.5}, {"ellenor", "Ellenőr", boxTop + 19.5}};
    for (const auto &s : signatures) {
        const QString name = QString::fromLatin1(s.name);
        b.add(Label(dots, signLeft, s.top, Tahoma9, signWidth, Qt::AlignHCenter), QStringLiteral("vonal_") + name);
        b.add(Label(QString::fromUtf8(s.caption), signLeft, s.top + 3.8, Tahoma8, signWidth, Qt::AlignHCenter), name);
    }

    // The empty cash-count form: title, headings, sixteen rows, the total.
    const double columns[] = {0, 20.2 - Shared, 20.2 + 29.4 - 2 * Shared};
    const double widths[] = {20.2, 29.4, 38.6};
    const double formWidth = 87.6;
    const double rowHeight = CountPitch + Shared;
    double y = TableTop;
    Box(b, QStringLiteral("penztarellenorzes"), 0, y, formWidth, rowHeight, QString(), Tahoma9Bold);
    b.add(Label(QStringLiteral("Pénztárellenőrzés"), 0, y + 0.2, Tahoma9Bold, formWidth, Qt::AlignHCenter),
          QStringLiteral("penztarellenorzes"));
    y += CountPitch;
    const QString headings[] = {QStringLiteral("db"), QStringLiteral("pénznem"), closing.valuta};
    const QString headingNames[] = {QStringLiteral("db"), QStringLiteral("penznem"), QStringLiteral("valuta_oszlop")};
    for (int c = 0; c < 3; ++c) {
        b.add(Frame(columns[c], y, widths[c], rowHeight), QStringLiteral("keret_") + headingNames[c]);
        b.add(Label(headings[c], columns[c], y + 0.4, Tahoma8Italic, widths[c] - Shared, Qt::AlignHCenter),
              headingNames[c]);
    }
    // A filled form: pieces, the note or coin, the value of the line; a line of another currency has its amount
    // only.
    const QString pieceFormat = QStringLiteral("### ### ##0");
    for (int r = 0; r < CountRows; ++r) {
        y += CountPitch;
        for (int c = 0; c < 3; ++c)
            b.add(Frame(columns[c], y, widths[c], rowHeight), QStringLiteral("keret_szamlalo"));
        if (!cashCount || r >= cashCount->lines.size())
            continue;
        const CashCountLine &line = cashCount->lines.at(r);
        const QString cells[] = {line.cimlet > 0 ? FormatFloat(pieceFormat, line.db) : QString(),
                                 line.cimlet > 0 ? FormatFloat(pieceFormat, line.cimlet) : QString(),
                                 FormatFloat(TotalFormat, line.osszeg)};
        const QString names[] = {QStringLiteral("szamlalo_db"), QStringLiteral("szamlalo_cimlet"),
                                 QStringLiteral("szamlalo_ertek")};
        for (int c = 0; c < 3; ++c)
            if (!cells[c].isEmpty())
                b.add(Label(cells[c], columns[c] + 1.3, y + 0.4, Tahoma8, widths[c] - Shared - 2.6, Qt::AlignRight),
                      names[c]);
    }
    y += CountPitch;
    b.add(Frame(0, y, columns[2] + Shared, rowHeight), QStringLiteral("keret_szamlalo_osszesen"));
    b.add(Label(QStringLiteral("összesen"), 1.3, y + 0.4, Tahoma8Bold), QStringLiteral("szamlalo_osszesen"));
    b.add(Frame(columns[2], y, widths[2], rowHeight), QStringLiteral("keret_szamlalo_osszeg"));
    if (cashCount)
        b.add(Label(FormatFloat(TotalFormat, cashCount->total()), columns[2] + 1.3, y + 0.4, Tahoma8Bold,
                    widths[2] - Shared - 2.6, Qt::AlignRight),
              QStringLiteral("szamlalo_osszeg"));
    return b;
}

} // namespace

QString TqrNapZar::Title()
{
    return QStringLiteral("Időszaki pénztárjelentés");
}

std::shared_ptr<SqlExportSource> TqrNapZar::Rows(Engine &engine, int zarbizonylat, const QString &formatFt)
{
    auto rows = ListRows(engine, Sql, {{QStringLiteral("pzarbizonylat"), zarbizonylat}}, formatFt);
    // The outer join gives a closing without ledger rows one row of its own fields only; it lists nothing.
    rows->setFilter([](const StoredRow &row) { return !row.value(QStringLiteral("dromvelid")).isNull(); });
    return rows;
}

TqrNapZar::Counts TqrNapZar::ReadCounts(Engine &engine, int zarbizonylat)
{
    return {Count(engine, ReceiptCountSql, zarbizonylat), Count(engine, PaymentCountSql, zarbizonylat)};
}

Document TqrNapZar::layout(const ClosingHeading &closing, const Counts &counts, const Context &context,
                           std::shared_ptr<ExportSource> rows, const std::optional<CashCount> &cashCount)
{
    ListReport r;
    r.title = Title();
    r.fileName = r.title + QLatin1Char(' ') + FormatFloat(QStringLiteral("00000"), closing.zarbizonylat);
    r.reportName = QStringLiteral("qrNapZar");
    r.footerPointSize = 8;
    r.printedAt = context.printedAt;
    const double width = r.setup.printableSize().width();
    r.headerHeight = HeaderHeight;
    r.headerTop = [title = r.title, closing, owner = context.owner, width] {
        Band b;
        b.add(Label(title, 0, 1.3, Arial16Bold), QStringLiteral("cim"));
        const struct
        {
            const char *name;
            const char *label;
            double top;
            QString value;
        } lines[] = {
            {"kassza_nev", "pénztár", 7.9, closing.kasszaNev},
            {"dat_tol", "időszak", 11.9, ShortDate(closing.datTol)},
            {"valuta", "valuta", 15.9, closing.valuta},
            {"zarbizonylat", "bizonylatszám", 19.8, FormatFloat(QStringLiteral("00000"), closing.zarbizonylat)},
        };
        for (const auto &line : lines) {
            const QString name = QString::fromLatin1(line.name);
            b.add(Label(QString::fromUtf8(line.label), 0, line.top, Tahoma8Italic), name + QStringLiteral("_felirat"));
            b.add(FittedLabel(line.value, ValueLeft, line.top, Tahoma10Bold, width - OwnerWidth - ValueLeft - 1.3),
                  name);
        }
        b.add(Label(ShortDate(closing.datIg), 51.9, 11.9, Tahoma10Bold), QStringLiteral("dat_ig"));
        // The till's cash limit when it closed, and the closing balance above it.
        if (closing.zaroMax) {
            const double excess = CashLimitExcess(closing.zaro, closing.zaroMax);
            QString limit = FormatFloat(TotalFormat, *closing.zaroMax);
            if (excess > 0)
                limit += QStringLiteral(", túllépés: ") + FormatFloat(TotalFormat, excess);
            b.add(Label(QStringLiteral("max. készlet"), 0, 23.7, Tahoma8Italic), QStringLiteral("zaro_max_felirat"));
            b.add(FittedLabel(limit, ValueLeft, 23.7, Tahoma10Bold, width - OwnerWidth - ValueLeft - 1.3),
                  QStringLiteral("zaro_max"));
        }
        b.elements << OwnerBlock(owner, width);
        return b.elements;
    };
    r.headingTop = 27.8;
    r.headingFont = Tahoma9Italic;
    r.rowFont = Tahoma9;
    r.rowHeight = RowHeight;
    r.rowTop = 1.1;
    ListColumn number = ListColumn::Aligned(QStringLiteral("sor"), QStringLiteral("sorszám"), 0, 14.6, Qt::AlignHCenter,
                                            ListColumn::Custom);
    number.text = [](const ExportRow &, int n) { return QString::number(n); };
    r.columns = {
        number,
        ListColumn::Of(QStringLiteral("dat_kiadva"), QStringLiteral("dátum"), 15.9, 15.9, 21.2, ListColumn::Date),
        ListColumn::Of(QStringLiteral("sorszam"), QStringLiteral("bizonylatszám"), 38.4, 38.4, 27.8),
        ListColumn::Of(QStringLiteral("szoveg"), QStringLiteral("szöveg"), 67.5, 67.5, 58.5),
        ListColumn::Aligned(QStringLiteral("bevetel"), QStringLiteral("bevétel"), BevetelLeft, AmountWidth,
                            Qt::AlignRight, ListColumn::Amount, context.formatFt),
        ListColumn::Aligned(QStringLiteral("kiadas"), QStringLiteral("kiadás"), KiadasLeft, AmountWidth, Qt::AlignRight,
                            ListColumn::Amount, context.formatFt),
    };
    r.sumFields = {QStringLiteral("bevetel"), QStringLiteral("kiadas")};
    r.summary = [closing, counts, cashCount](const ListTotals &totals) {
        return Summary(closing, counts, totals, cashCount);
    };
    r.rows = std::move(rows);
    return r.layout();
}

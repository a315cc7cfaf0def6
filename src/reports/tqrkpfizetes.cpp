#include "tqrkpfizetes.h"

#include "clientcashpayments.h"
#include "listreport.h"
#include "util.h"

using namespace Report;
using namespace ListFrame;

namespace {

constexpr double OsszegLeft = 120.0, OsszegWidth = 35.0;
const QString TotalFormat = QStringLiteral("### ### ##0");

} // namespace

QString TqrKpFizetes::Title()
{
    return QStringLiteral("Készpénzes kifizetések ügyfelenként");
}

std::shared_ptr<SqlExportSource> TqrKpFizetes::Rows(Engine &engine, const DateRange &period, double limit,
                                                    const QString &formatFt)
{
    auto rows =
        std::make_shared<SqlExportSource>(engine, MonthlyCashPaymentLines().join(QLatin1Char('\n')),
                                          QVariantMap{{QStringLiteral("ptol"), period.from.toString(Qt::ISODate)},
                                                      {QStringLiteral("pig"), period.to.toString(Qt::ISODate)},
                                                      {QStringLiteral("plimit"), limit},
                                                      {QStringLiteral("plimit2"), limit}});
    rows->setNumberFormat(formatFt);
    return rows;
}

Document TqrKpFizetes::layout(const DateRange &period, double limit, const Context &context,
                              std::shared_ptr<ExportSource> rows)
{
    const QString limitText = limit > 0 ? QStringLiteral("havi határ ügyfelenként: ") +
                                              FormatFloat(TotalFormat, limit) + QStringLiteral(" Ft")
                                        : QStringLiteral("havi határ nélkül");
    ListReport r = PeriodListReport(Title(), QStringLiteral("qrKpFizetes"), limitText, period.from, period.to, context,
                                    HeaderHeight);
    const double width = r.setup.printableSize().width();
    r.columns = {
        ListColumn::Of(QStringLiteral("honap"), QStringLiteral("hónap"), 0, 0, 20.0),
        ListColumn::Of(QStringLiteral("ugyfel_nev"), QStringLiteral("ügyfél"), 21.2, 21.2, 75.0),
        ListColumn::Aligned(QStringLiteral("db"), QStringLiteral("db"), 98.0, 18.0, Qt::AlignRight),
        ListColumn::Aligned(QStringLiteral("osszeg"), QStringLiteral("kifizetve"), OsszegLeft, OsszegWidth,
                            Qt::AlignRight, ListColumn::Amount, context.formatFt),
        ListColumn::Of(QStringLiteral("tullepes"), QStringLiteral("határ felett"), 160.0, 160.0, 28.0),
    };
    r.sumFields = {QStringLiteral("osszeg")};
    r.summary = [width](const ListTotals &totals) {
        Band s = TotalsBand(6.6, width);
        s.add(Label(FormatFloat(TotalFormat, totals.sums.at(0)), OsszegLeft, 1.3, Tahoma8Bold, OsszegWidth,
                    Qt::AlignRight),
              QStringLiteral("osszesen_osszeg"));
        return s;
    };
    r.rows = std::move(rows);
    return r.layout();
}

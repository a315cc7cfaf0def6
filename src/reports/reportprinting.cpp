#include "reportprinting.h"

#include "cashcountstore.h"
#include "clientcashpayments.h"
#include "listframe.h"
#include "session.h"
#include "tqrelszamol.h"
#include "tqrelszamolas.h"
#include "tqrkpfizetes.h"
#include "tqrnapzar.h"
#include "tqrossz.h"

void OsszNyomtat(Session &session, Engine &engine, int kind, int till, const DateRange &period,
                 const ReportServices &services, QWidget *parent)
{
    const ListFrame::Context context = ListFrame::CurrentContext(engine, session.formatFt);
    const auto rows = TqrOssz::Rows(engine, kind, till, period, context.formatFt);
    DeliverReport(services, TqrOssz::layout(kind, ReadTillHeading(engine, till).kasszaNev, period, context, rows),
                  *rows, parent);
}

void ElszamolNyomtat(Session &session, Engine &engine, int till, const ReportServices &services, QWidget *parent)
{
    const ListFrame::Context context = ListFrame::CurrentContext(engine, session.formatFt);
    const auto rows = TqrElszamol::Rows(engine, till, context.formatFt);
    DeliverReport(services, TqrElszamol::layout(ReadTillHeading(engine, till).kasszaNev, context, rows), *rows, parent);
}

void ElszamolasNyomtat(Session &session, Engine &engine, int till, const DateRange &period,
                       const ReportServices &services, QWidget *parent)
{
    const ListFrame::Context context = ListFrame::CurrentContext(engine, session.formatFt);
    const auto rows = TqrElszamolas::Rows(engine, till, period, context.formatFt);
    DeliverReport(services, TqrElszamolas::layout(ReadTillHeading(engine, till), period, context, rows), *rows, parent);
}

void NapZarNyomtat(Session &session, Engine &engine, int zarbizonylat, const ReportServices &services, QWidget *parent)
{
    const ListFrame::Context context = ListFrame::CurrentContext(engine, session.formatFt);
    const auto rows = TqrNapZar::Rows(engine, zarbizonylat, context.formatFt);
    DeliverReport(services,
                  TqrNapZar::layout(ReadClosingHeading(engine, zarbizonylat),
                                    TqrNapZar::ReadCounts(engine, zarbizonylat), context, rows,
                                    ReadCashCount(engine, zarbizonylat)),
                  *rows, parent);
}

void PrintPeriodReport(Session &session, Engine &engine, int kind, bool chooseTill, const ReportServices &services,
                       QWidget *parent)
{
    int till = session.till;
    if (chooseTill) {
        till = services.chooseTill(session.till, parent);
        if (till == -1)
            return;
    }
    if (const auto period = services.period(DefaultPeriod(QDate::currentDate()), parent))
        OsszNyomtat(session, engine, kind, till, *period, services, parent);
}

void PrintWaitingAdvances(Session &session, Engine &engine, const ReportServices &services, QWidget *parent)
{
    const int till = services.chooseTill(session.till, parent);
    if (till != -1)
        ElszamolNyomtat(session, engine, till, services, parent);
}

void PrintOverdueAdvances(Session &session, Engine &engine, const ReportServices &services, QWidget *parent)
{
    const ListFrame::Context context = ListFrame::CurrentContext(engine, session.formatFt);
    const auto rows = TqrElszamol::Rows(engine, session.till, context.formatFt, session.openDay);
    DeliverReport(services,
                  TqrElszamol::layout(ReadTillHeading(engine, session.till).kasszaNev, context, rows,
                                      TqrElszamol::OverdueTitle()),
                  *rows, parent);
}

void PrintMonthlyCashPayments(Session &session, Engine &engine, const ReportServices &services, QWidget *parent)
{
    const QDate first(session.openDay.year(), session.openDay.month(), 1);
    const auto period = services.period(DateRange{first, first.addMonths(1).addDays(-1)}, parent);
    if (!period)
        return;
    const ListFrame::Context context = ListFrame::CurrentContext(engine, session.formatFt);
    const double limit = MonthlyCashPaymentLimit(engine);
    const auto rows = TqrKpFizetes::Rows(engine, *period, limit, context.formatFt);
    DeliverReport(services, TqrKpFizetes::layout(*period, limit, context, rows), *rows, parent);
}

void PrintSettlements(Session &session, Engine &engine, const ReportServices &services, QWidget *parent)
{
    if (const auto period = services.period(DefaultPeriod(QDate::currentDate()), parent))
        ElszamolasNyomtat(session, engine, session.till, *period, services, parent);
}

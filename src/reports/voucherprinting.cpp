#include "voucherprinting.h"

#include "reportoutput.h"
#include "session.h"
#include "tqrkpelszamol.h"
#include "tqrpenztarbiz.h"
#include "tqrpenztarbiz2.h"
#include "voucherdata.h"

void PenztarbizNyomtat(Session &session, qint64 row, bool preview, QWidget *parent)
{
    Engine &engine = *session.engine;
    const Report::Document doc = TqrPenztarbiz::layout(
        ReadVoucher(engine, row), CurrentVoucherSettings(engine, session.formatFt), session.csakEgyetNyomtat);
    Report::Output(session, doc, preview, parent);
}

void KpElszamolNyomtat(Session &session, qint64 row, bool preview, QWidget *parent)
{
    Engine &engine = *session.engine;
    const Report::Document doc =
        TqrKpElszamol::layout(ReadRequest(engine, row), CurrentVoucherSettings(engine, session.formatFt));
    Report::Output(session, doc, preview, parent);
}

void PenztarbizIdoszakNyomtat(Session &session, int till, const QDate &from, const QDate &to, bool preview,
                              QWidget *parent)
{
    Engine &engine = *session.engine;
    Report::Document doc = TqrPenztarbiz2::layout(ReadPeriodVouchers(engine, till, from, to),
                                                  CurrentVoucherSettings(engine, session.formatFt));
    doc.fileName = QStringLiteral("Pénztárbizonylatok %1-%2")
                       .arg(from.toString(QStringLiteral("yyyy.MM.dd")), to.toString(QStringLiteral("yyyy.MM.dd")));
    Report::Output(session, doc, preview, parent);
}

#include "voucherprinting.h"

#include "reportoutput.h"
#include "session.h"
#include "tqrkpelszamol.h"
#include "tqrpenztarbiz.h"
#include "tqrpenztarbiz2.h"
#include "voucherdata.h"

void PenztarbizNyomtat(const Session &session, Engine &engine, const Report::DocumentOutput &output, qint64 row,
                       bool preview, QWidget *parent)
{
    const Report::Document doc = TqrPenztarbiz::layout(
        ReadVoucher(engine, row), CurrentVoucherSettings(engine, session.formatFt), session.csakEgyetNyomtat);
    output.output(doc, preview, parent);
}

void KpElszamolNyomtat(const Session &session, Engine &engine, const Report::DocumentOutput &output, qint64 row,
                       bool preview, QWidget *parent)
{
    const Report::Document doc =
        TqrKpElszamol::layout(ReadRequest(engine, row), CurrentVoucherSettings(engine, session.formatFt));
    output.output(doc, preview, parent);
}

void PenztarbizIdoszakNyomtat(const Session &session, Engine &engine, const Report::DocumentOutput &output, int till,
                              const QDate &from, const QDate &to, bool preview, QWidget *parent)
{
    Report::Document doc = TqrPenztarbiz2::layout(ReadPeriodVouchers(engine, till, from, to),
                                                  CurrentVoucherSettings(engine, session.formatFt));
    doc.fileName = QStringLiteral("Pénztárbizonylatok %1-%2")
                       .arg(from.toString(QStringLiteral("yyyy.MM.dd")), to.toString(QStringLiteral("yyyy.MM.dd")));
    output.output(doc, preview, parent);
}

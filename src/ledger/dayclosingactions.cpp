#include "dayclosingactions.h"

#include "bookingcheck.h"
#include "dayclosing.h"
#include "ledgerops.h"
#include "messages.h"
#include "session.h"
#include "tillstore.h"

namespace {

const QString ClosedText = QStringLiteral("Ez a nap már le lett zárva.");

} // namespace

QString DayStateText(const QDate &openDay, const QDate &closedUntil)
{
    return openDay.toString(QStringLiteral("yyyy.MM.dd")) + QStringLiteral(": ") +
           (DayIsOpen(openDay, closedUntil) ? QStringLiteral("Szabad") : QStringLiteral("Lezárva"));
}

int NapLezar(Session &session, Engine &engine, Messages &messages, QWidget *parent, const CashCountAsk &askCount)
{
    if (!DayIsOpen(session.openDay, session.closedUntil)) {
        messages.ShowError(ClosedText, parent);
        return 0;
    }
    const QString nothingText = QStringLiteral("Nincs mit lezárni: a kasszának nincs könyvelt, még le nem zárt "
                                               "bizonylata.");
    if (!HasRowsToClose(engine, session.till)) {
        messages.ShowError(nothingText, parent);
        return 0;
    }
    if (!messages.AskYesNo(QStringLiteral("Valóban lezárjam a napo(ka)t?"), QStringLiteral("Megerősítés"), parent))
        return 0;
    std::optional<CashCount> count;
    if (askCount) {
        const CashCountAnswer answer =
            askCount(LedgerOps(engine).TillBalance(session.till), TillCurrency(engine, session.till), parent);
        if (!answer)
            return 0;
        count = *answer;
    }
    // Under the write lock the closing checks again: another workstation may have closed the day meanwhile. The
    // count is stored in the closing's own transaction.
    const DayClosing closing = CloseDay(engine, session.till, session.openDay, session.user, count ? &*count : nullptr);
    switch (closing.outcome) {
    case DayClosing::Outcome::Closed:
        session.closedUntil = session.openDay;
        return closing.zarbizonylat;
    case DayClosing::Outcome::AlreadyClosed:
        session.closedUntil = TillClosedUntil(engine, session.till);
        messages.ShowError(ClosedText, parent);
        return 0;
    case DayClosing::Outcome::NothingToClose:
        messages.ShowError(nothingText, parent);
        return 0;
    }
    return 0;
}

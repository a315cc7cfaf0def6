#include "dayclosingactions.h"

#include "bookingcheck.h"
#include "dayclosing.h"
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

int NapLezar(Session &session, Engine &engine, Messages &messages, QWidget *parent)
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
    // Under the write lock the closing checks again: another workstation may have closed the day meanwhile.
    const DayClosing closing = CloseDay(engine, session.till, session.openDay, session.user);
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

#pragma once

#include "tfrm_penztarellenorzes.h"

#include <QDate>
#include <QString>

class Engine;
class Messages;
class QWidget;
struct Session;

// Status panel 3 of the main window: the open day as "yyyy.mm.dd", then ": Szabad" while it is later than the
// closed-until date, otherwise ": Lezárva".
QString DayStateText(const QDate &openDay, const QDate &closedUntil);

// "Zárás": closes the open day of the session's till after "Valóban lezárjam a napo(ka)t?". Refuses with "Ez a nap
// már le lett zárva." when the open day is closed (also when another workstation closed it meanwhile), and when
// the till has nothing to close. On a closing the session's closed-until date becomes the open day; on a refusal it
// is the till's as stored. After the confirmation askCount, when given, takes the cash count at the till's book
// balance: a count is stored with the closing, a skipped count closes without one, a cancelled count closes
// nothing. Returns the new closing record, 0 when none was written.
int NapLezar(Session &session, Engine &engine, Messages &messages, QWidget *parent = nullptr,
             const CashCountAsk &askCount = {});

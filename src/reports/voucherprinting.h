#pragma once

#include <QDate>

class QWidget;
struct Session;

// The voucher documents of one ledger row or of a period, to the default printer or the modal preview. The
// callers check that the row is booked (and is an advance for the cash request) before calling.

// The cash voucher of the row: two copies on a page, one when the session's csakEgyetNyomtat is set.
void PenztarbizNyomtat(Session &session, qint64 row, bool preview, QWidget *parent = nullptr);
// The cash request for settlement of the row (an advance).
void KpElszamolNyomtat(Session &session, qint64 row, bool preview, QWidget *parent = nullptr);
// The cash vouchers of the till dated from … to (both included), booked or not, three to a page.
void PenztarbizIdoszakNyomtat(Session &session, int till, const QDate &from, const QDate &to, bool preview,
                              QWidget *parent = nullptr);

#pragma once

#include <QDate>

class Engine;
class QWidget;
struct Session;
namespace Report {
class DocumentOutput;
}

// The voucher documents of one ledger row or of a period, to the printer or the modal preview. The callers check
// that the row is booked (and is an advance for the cash request) before calling.

// The cash voucher of the row: two copies on a page, one when the session's csakEgyetNyomtat is set.
void PenztarbizNyomtat(const Session &session, Engine &engine, const Report::DocumentOutput &output, qint64 row,
                       bool preview, QWidget *parent = nullptr);
// The cash request for settlement of the row (an advance).
void KpElszamolNyomtat(const Session &session, Engine &engine, const Report::DocumentOutput &output, qint64 row,
                       bool preview, QWidget *parent = nullptr);
// The cash vouchers of the till dated from … to (both included), booked or not, three to a page.
void PenztarbizIdoszakNyomtat(const Session &session, Engine &engine, const Report::DocumentOutput &output, int till,
                              const QDate &from, const QDate &to, bool preview, QWidget *parent = nullptr);

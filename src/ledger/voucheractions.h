#pragma once

#include <functional>

class Engine;
class Messages;
class QWidget;
struct Session;
struct VoucherChoosers;
namespace Report {
class DocumentOutput;
}

// The main window's voucher actions. Each takes the row key the ledger view stands on (-1 or 0 when the view is
// empty: nothing happens), asks and tells through the given Messages, and never keeps the database locked while
// a box is open.

// The choice that follows a booking: print the cash voucher, and for an advance the cash request. Empty: nothing
// is offered.
using PrintChoice = std::function<void(int dromvel, bool advance, QWidget *parent)>;
// BizNyomtatas on the session, the database and the output.
PrintChoice DefaultPrintChoice(Session &session, Engine &engine, const Report::DocumentOutput &output);

// What "Kész!" did, so that the main window knows whether to refresh (on anything but Unchanged).
enum class KeszResult {
    Unchanged,
    Changed, // not booked, but the row's date was moved, or another workstation changed or deleted the row
    Booked,
};

// "Kész!": books the pending row after the date checks against the open day, the money check and the last
// confirmation; then shows the limit warning of an advance and runs the print choice.
KeszResult Kesz(Session &session, Engine &engine, Messages &messages, int dromvel, QWidget *parent,
                const PrintChoice &print);

// The voucher form: a new voucher (dromvel -1) or the given row. Returns the key of the row it stored or
// booked, or -1 when it stored nothing. A booking made in the form is followed by the print choice.
int BizonylatSzerkeszt(Session &session, Engine &engine, Messages &messages, int dromvel,
                       const VoucherChoosers &choosers, const PrintChoice &print, QWidget *parent = nullptr);

// "Töröl": deletes the pending row after the confirmation; a booked row is refused. True when the row is gone,
// so the view needs reopening.
bool Torol(Session &session, Engine &engine, Messages &messages, int dromvel, QWidget *parent = nullptr);

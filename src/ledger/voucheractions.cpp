#include "voucheractions.h"

#include "clientsettlement.h"
#include "engine.h"
#include "ledgerops.h"
#include "messages.h"
#include "session.h"
#include "tfrm_biznyomtatas.h"
#include "util.h"
#include "voucherbooking.h"

namespace {

const QString Confirm = QStringLiteral("Megerősítés");

PrintChoice &PrintChoiceSlot()
{
    static PrintChoice choice = [](Session &session, int dromvel, bool advance, QWidget *parent) {
        BizNyomtatas(session, advance, dromvel, parent);
    };
    return choice;
}

} // namespace

void SetPrintChoice(PrintChoice choice)
{
    PrintChoiceSlot() = std::move(choice);
}

const PrintChoice &CurrentPrintChoice()
{
    return PrintChoiceSlot();
}

KeszResult Kesz(Session &session, int dromvel, QWidget *parent)
{
    return Kesz(session, dromvel, parent, CurrentPrintChoice());
}

KeszResult Kesz(Session &session, int dromvel, QWidget *parent, const PrintChoice &print)
{
    if (dromvel <= 0)
        return KeszResult::Unchanged;
    Engine &engine = *session.engine;
    Messages &messages = *session.messages;

    const QVariantMap row = ReadVoucherRow(engine, dromvel);
    if (row.isEmpty()) {
        messages.ShowError(VoucherWriteText(VoucherWrite::NotFound), parent);
        return KeszResult::Changed;
    }
    if (ValueOr(row.value(QStringLiteral("kiadva")), QString()) == QLatin1String("I")) {
        messages.ShowError(VoucherWriteText(VoucherWrite::AlreadyBooked), parent);
        return KeszResult::Unchanged;
    }

    KeszResult result = KeszResult::Unchanged;
    // With back-dating on, a row books on its own date whatever that day's state.
    if (!session.vissza) {
        if (row.value(QStringLiteral("dat_kiadva")).toDate() == session.openDay) {
            if (!DayIsOpen(session.openDay, session.closedUntil)) {
                messages.ShowError(QStringLiteral("A nap már le lett zárva."), parent);
                return result;
            }
        } else {
            if (!messages.AskYesNo(
                    QStringLiteral("Bizonylat csak a megnyitott napra könyvelhető. Módosítsam a dátumot?"), Confirm,
                    parent))
                return result;
            if (!DayIsOpen(session.openDay, session.closedUntil)) {
                messages.ShowError(QStringLiteral("Már lezárt nap."), parent);
                return result;
            }
            // The new date stays even when the booking is refused or cancelled below.
            const VoucherWrite moved = MovePendingVoucher(engine, dromvel, session.openDay);
            if (moved != VoucherWrite::Done) {
                messages.ShowError(VoucherWriteText(moved), parent);
                return KeszResult::Changed;
            }
            result = KeszResult::Changed;
        }
    }

    const double balance = LedgerOps(engine).TillBalance(ValueOr(row.value(QStringLiteral("kassza")), 0));
    if (ValueOr(row.value(QStringLiteral("kibe")), QString()) == QLatin1String("K") &&
        ExceedsBalance(ValueOr(row.value(QStringLiteral("osszeg")), 0.0), balance)) {
        messages.ShowError(VoucherWriteText(VoucherWrite::NotEnoughMoney), parent);
        return result;
    }
    if (!messages.AskYesNo(QStringLiteral("Valóban lezárod a bizonylatot?"), Confirm, parent))
        return result;

    // Between the question and here another workstation may have booked, deleted or drained the till: the
    // booking checks again under the write lock.
    const BookingResult booked = BookVoucher(engine, dromvel);
    if (booked.outcome != VoucherWrite::Done) {
        messages.ShowError(VoucherWriteText(booked.outcome), parent);
        return KeszResult::Changed;
    }
    WarnOverLimit(booked.client, messages, parent);
    if (print)
        print(session, dromvel, booked.advance, parent);
    return KeszResult::Booked;
}

bool Torol(Session &session, int dromvel, QWidget *parent)
{
    if (dromvel <= 0)
        return false;
    Messages &messages = *session.messages;
    if (!session.masterEdit) {
        messages.ShowError(QStringLiteral("Nincs jogosultság a művelethez."), parent);
        return false;
    }
    const QString bookedText = QStringLiteral("Már kiadott bizonylat nem törölhető.");
    const QVariantMap row = ReadVoucherRow(*session.engine, dromvel);
    if (row.isEmpty())
        return true;
    if (ValueOr(row.value(QStringLiteral("kiadva")), QString()) == QLatin1String("I")) {
        messages.ShowError(bookedText, parent);
        return false;
    }
    if (!messages.AskYesNo(QStringLiteral("Valóban töröljem a sort?"), Confirm, parent))
        return false;
    switch (DeletePendingVoucher(*session.engine, dromvel)) {
    case VoucherWrite::Done:
    case VoucherWrite::NotFound:
        return true;
    case VoucherWrite::AlreadyBooked:
        messages.ShowError(bookedText, parent);
        return false;
    case VoucherWrite::NotEnoughMoney:
        break;
    }
    return false;
}

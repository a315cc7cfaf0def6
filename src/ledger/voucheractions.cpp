#include "voucheractions.h"

#include "clientsettlement.h"
#include "engine.h"
#include "ledgerops.h"
#include "messages.h"
#include "reportoutput.h"
#include "session.h"
#include "tfrm_biznyomtatas.h"
#include "util.h"
#include "voucherbooking.h"

namespace {

const QString Confirm = QStringLiteral("Megerősítés");

} // namespace

PrintChoice DefaultPrintChoice(Session &session, Engine &engine, const Report::DocumentOutput &output)
{
    return [&session, &engine, output](int dromvel, bool advance, QWidget *parent) {
        BizNyomtatas(session, engine, output, advance, dromvel, parent);
    };
}

KeszResult Kesz(Session &session, Engine &engine, Messages &messages, int dromvel, QWidget *parent,
                const PrintChoice &print)
{
    if (dromvel <= 0)
        return KeszResult::Unchanged;
    const BookingDay day = MainWindowDay(session);

    const QVariantMap row = ReadVoucherRow(engine, dromvel);
    KeszResult result = KeszResult::Unchanged;
    BookingCheck check = CheckBooking(engine, row, day);
    if (check == BookingCheck::NotOpenDay) {
        if (!messages.AskYesNo(QStringLiteral("Bizonylat csak a megnyitott napra könyvelhető. Módosítsam a dátumot?"),
                               Confirm, parent))
            return result;
        QVariantMap moved = row;
        moved.insert(QStringLiteral("dat_kiadva"), session.openDay);
        check = CheckBooking(engine, moved, day);
        if (check == BookingCheck::DayClosed) {
            messages.ShowError(QStringLiteral("Már lezárt nap."), parent);
            return result;
        }
        // The new date stays even when the booking is refused or cancelled below.
        const VoucherWrite write = MovePendingVoucher(engine, dromvel, session.openDay);
        if (write != VoucherWrite::Done) {
            messages.ShowError(VoucherWriteText(write), parent);
            return KeszResult::Changed;
        }
        result = KeszResult::Changed;
    }
    if (check != BookingCheck::Allowed) {
        messages.ShowError(BookingCheckText(check), parent);
        // A row that is gone leaves the view to be read again; a booked one is as the view shows it.
        return check == BookingCheck::NotFound ? KeszResult::Changed : result;
    }
    if (!messages.AskYesNo(QStringLiteral("Valóban lezárod a bizonylatot?"), Confirm, parent))
        return result;

    // Between the question and here another workstation may have booked, deleted or drained the till: the
    // booking checks again under the write lock.
    const BookingResult booked = BookVoucher(engine, dromvel, day);
    if (booked.check != BookingCheck::Allowed) {
        messages.ShowError(BookingCheckText(booked.check), parent);
        return KeszResult::Changed;
    }
    WarnOverLimit(booked.client, messages, parent);
    if (print)
        print(dromvel, booked.advance, parent);
    return KeszResult::Booked;
}

bool Torol(Session &session, Engine &engine, Messages &messages, int dromvel, QWidget *parent)
{
    if (dromvel <= 0)
        return false;
    if (!session.masterEdit) {
        messages.ShowError(QStringLiteral("Nincs jogosultság a művelethez."), parent);
        return false;
    }
    const QString bookedText = QStringLiteral("Már kiadott bizonylat nem törölhető.");
    const QVariantMap row = ReadVoucherRow(engine, dromvel);
    if (row.isEmpty())
        return true;
    if (ValueOr(row.value(QStringLiteral("kiadva")), QString()) == QLatin1String("I")) {
        messages.ShowError(bookedText, parent);
        return false;
    }
    if (!messages.AskYesNo(QStringLiteral("Valóban töröljem a sort?"), Confirm, parent))
        return false;
    if (DeletePendingVoucher(engine, dromvel, session.user) == VoucherWrite::AlreadyBooked) {
        messages.ShowError(bookedText, parent);
        return false;
    }
    return true;
}

// A second workstation for the concurrency tests, writing into the database folder it is given as fast as it can.
// Arguments: folder, number of rounds, seed, and what to do:
//  book   - store vouchers pending and book each through "Kész!";
//  settle - book an advance through "Kész!", then settle it and generate the vouchers of the difference;
//  close  - book a receipt onto the day after till 1's closed-until date and close that day; prints "day outcome"
//           per round (C closed, A already closed, N nothing to close);
//  loop   - a random mix of the three, closing either till, for a test that kills it at any moment.
// Standard output also tells, one flushed line each, what is about to start and what is committed: "start" once the
// database is open, "booked <dromvel>" after each booking's commit, "settling <dromvel>" before an advance is settled,
// "settled <dromvel>" once it is, "closing <till> <day>" before a day closing and "closed <zarbizonylat>" after it.
// Exit code 0 when every step went as it should.

#include "advancesettlement.h"
#include "choosers.h"
#include "dayclosing.h"
#include "engine.h"
#include "messages.h"
#include "session.h"
#include "tillstore.h"
#include "voucheractions.h"
#include "voucherbooking.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

namespace {

// One line on standard output, flushed at once: a reader that sees it knows the step before it is committed.
void Tell(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class YesToAll : public Messages
{
public:
    void ShowError(const QString &text, QWidget *) override { report(text); }
    void ShowWarning(const QString &text, QWidget *) override { report(text); }
    void ShowInfo(const QString &text, QWidget *) override { report(text); }
    void ShowApplicationError(const QString &text, QWidget *) override { report(text); }
    bool AskYesNo(const QString &, const QString &, QWidget *) override { return true; }

private:
    static void report(const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

class Workstation
{
public:
    Workstation(const QString &folder, quint32 seed) : m_engine(QStringLiteral("worker")), m_random(seed)
    {
        m_engine.open(folder);
        m_session.user = QStringLiteral("worker") + QString::number(seed);
        m_session.vissza = true;
        m_session.openDay = QDate::currentDate();
    }

    // Stores a pending voucher of the type on a random till and books it; its key, or -1 when it was not booked.
    int book(int kasszatip, const QString &kibe, bool advance, double amount)
    {
        KasszaTipChoice type;
        type.kasszatip = kasszatip;
        type.kibe = kibe;
        type.elszamolas = advance ? QStringLiteral("I") : QStringLiteral("N");
        UgyfelChoice client;
        client.ugyfel = 1;
        client.elszamol = 5;
        m_session.till = 1 + int(m_random.bounded(2));
        QVariantMap row = NewVoucherValues(m_engine, m_session.till, m_session.user, type, client, m_session.openDay);
        row.insert(QStringLiteral("osszeg1"), amount);
        row.insert(QStringLiteral("osszeg"), amount);
        int key = -1;
        SavePendingVoucher(m_engine, key, row);
        if (Kesz(m_session, m_engine, m_messages, key, nullptr, PrintChoice()) != KeszResult::Booked)
            return -1;
        Tell(QStringLiteral("booked %1").arg(key));
        return key;
    }
    double amount() { return 1 + m_random.bounded(100000) / 100.0; }

    bool bookRound()
    {
        // Mostly receipts, some payments, a few advances.
        const int kind = int(m_random.bounded(10));
        return book(kind < 6   ? 1
                    : kind < 9 ? 2
                               : 3,
                    kind < 6 ? QStringLiteral("B") : QStringLiteral("K"), kind == 9, amount()) > 0;
    }

    bool settleRound()
    {
        const double advance = amount();
        const int key = book(3, QStringLiteral("K"), true, advance);
        if (key < 0)
            return false;
        const double spent = m_random.bounded(2) == 0 ? advance / 2 : advance * 1.5;
        const BookingDay day = MainWindowDay(m_session);
        Tell(QStringLiteral("settling %1").arg(key));
        if (PostSettlement(m_engine, key, m_session.till, day, {m_session.openDay, QString(), spent}).check !=
            SettlementCheck::Allowed)
            return false;
        Tell(QStringLiteral("settled %1").arg(key));
        QList<SettlementVoucher> vouchers = SettlementVouchers(SettlementMethod(m_random.bounded(2)), advance, spent);
        for (SettlementVoucher &voucher : vouchers)
            voucher.kasszatip = voucher.receipt ? 1 : 2;
        const SettlementTarget target{key, m_session.till, m_session.user, day, false};
        const SettlementGeneration generation = GenerateSettlementVouchers(m_engine, target, vouchers);
        for (const GeneratedVoucher &voucher : generation.vouchers)
            if (voucher.booked)
                Tell(QStringLiteral("booked %1").arg(voucher.dromvel));
        return generation.check == BookingCheck::Allowed && generation.vouchers.size() == vouchers.size();
    }

    // Both workstations go for the first day after the till's closed-until date, so they race for the same day.
    bool closeRound(int till = 1)
    {
        const QDate closedUntil = TillClosedUntil(m_engine, till);
        const QDate day = closedUntil.isValid() ? closedUntil.addDays(1) : QDate(2030, 1, 1);
        KasszaTipChoice type{1, QStringLiteral("B"), QStringLiteral("N")};
        UgyfelChoice client{1, 5};
        // When the other workstation closed the day meanwhile, the booking is refused and the closing says so.
        QVariantMap values = NewVoucherValues(m_engine, till, m_session.user, type, client, day);
        values.insert(QStringLiteral("osszeg"), amount());
        const BookingResult booked =
            BookVoucher(m_engine, -1, {day, QDate(), DateRule::OpenDayOnly, m_session.user}, values);
        if (booked.check == BookingCheck::Allowed)
            Tell(QStringLiteral("booked %1").arg(booked.dromvel));
        Tell(QStringLiteral("closing %1 %2").arg(till).arg(day.toString(Qt::ISODate)));
        const DayClosing closing = CloseDay(m_engine, till, day, QStringLiteral("munkas"));
        if (closing.outcome == DayClosing::Outcome::Closed)
            Tell(QStringLiteral("closed %1").arg(closing.zarbizonylat));
        const char outcome = closing.outcome == DayClosing::Outcome::Closed          ? 'C'
                             : closing.outcome == DayClosing::Outcome::AlreadyClosed ? 'A'
                                                                                     : 'N';
        Tell(day.toString(Qt::ISODate) + QLatin1Char(' ') + QLatin1Char(outcome));
        return true;
    }

    // Mostly bookings, now and then a settlement or the closing of a till's next day.
    bool loopRound()
    {
        const int kind = int(m_random.bounded(10));
        return kind < 6 ? bookRound() : kind < 8 ? settleRound() : closeRound(1 + int(m_random.bounded(2)));
    }

private:
    Engine m_engine;
    QRandomGenerator m_random;
    YesToAll m_messages;
    Session m_session;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 1;
    const int rounds = args.at(2).toInt();
    const QString mode = args.size() > 4 ? args.at(4) : QStringLiteral("book");
    try {
        Workstation workstation(args.at(1), args.at(3).toUInt());
        Tell(QStringLiteral("start"));
        for (int i = 0; i < rounds; ++i) {
            const bool done = mode == QLatin1String("settle")  ? workstation.settleRound()
                              : mode == QLatin1String("close") ? workstation.closeRound()
                              : mode == QLatin1String("loop")  ? workstation.loopRound()
                                                               : workstation.bookRound();
            if (!done) {
                std::fprintf(stderr, "round %d of %s failed\n", i, qPrintable(mode));
                return 2;
            }
        }
    } catch (const EngineError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 3;
    }
    return 0;
}

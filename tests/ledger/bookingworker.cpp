// A second workstation for the concurrency test: stores vouchers pending and books each through "Kész!" as
// fast as it can, into the database folder it is given.
// Arguments: folder, number of vouchers, seed. Exit code 0 when every voucher was booked.

#include "choosers.h"
#include "engine.h"
#include "messages.h"
#include "session.h"
#include "voucheractions.h"
#include "voucherbooking.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

namespace {

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 1;
    const int count = args.at(2).toInt();
    QRandomGenerator random(args.at(3).toUInt());
    try {
        Engine engine(QStringLiteral("worker"));
        engine.open(args.at(1));
        YesToAll messages;
        Session session;
        session.user = QStringLiteral("worker") + args.at(3);
        session.vissza = true;
        session.openDay = QDate::currentDate();
        for (int i = 0; i < count; ++i) {
            // Mostly receipts, some payments, a few advances; both tills.
            const int kind = random.bounded(10);
            KasszaTipChoice type;
            type.kasszatip = kind < 6 ? 1 : kind < 9 ? 2 : 3;
            type.kibe = kind < 6 ? QStringLiteral("B") : QStringLiteral("K");
            type.elszamolas = kind == 9 ? QStringLiteral("I") : QStringLiteral("N");
            UgyfelChoice client;
            client.ugyfel = 1;
            client.elszamol = 5;
            session.till = 1 + random.bounded(2);
            QVariantMap row = NewVoucherValues(engine, session.till, session.user, type, client, session.openDay);
            const double amount = 1 + random.bounded(100000) / 100.0;
            row.insert(QStringLiteral("osszeg1"), amount);
            row.insert(QStringLiteral("osszeg"), amount);
            int key = -1;
            SavePendingVoucher(engine, key, row);
            if (Kesz(session, engine, messages, key, nullptr, PrintChoice()) != KeszResult::Booked) {
                std::fprintf(stderr, "voucher %d was not booked\n", i);
                return 2;
            }
        }
    } catch (const EngineError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 3;
    }
    return 0;
}

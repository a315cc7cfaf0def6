#include "samplevouchers.h"

#include "choosers.h"
#include "engine.h"
#include "ledgerops.h"
#include "masterlookups.h"
#include "messages.h"
#include "session.h"
#include "tillstore.h"
#include "util.h"
#include "voucheractions.h"
#include "voucherbooking.h"
#include "voucherrows.h"

#include <QHash>
#include <QList>
#include <QRandomGenerator>
#include <cmath>

namespace {

// Books without anyone to ask: every question is answered Yes, every box stays unseen.
class SilentYes : public Messages
{
public:
    void ShowError(const QString &, QWidget *) override {}
    void ShowWarning(const QString &, QWidget *) override {}
    void ShowInfo(const QString &, QWidget *) override {}
    void ShowApplicationError(const QString &, QWidget *) override {}
    bool AskYesNo(const QString &, const QString &, QWidget *) override { return true; }
};

struct Item
{
    QString title;
    QString document;
    QString text;
    double amount;
};

class SampleLedger
{
public:
    SampleLedger(Engine &engine) : m_engine(engine), m_ops(engine), m_random(20240611)
    {
        m_session.user = QStringLiteral("rendszergazda");
        m_session.vissza = true;
    }

    bool load();
    void fill(const QDate &today);

private:
    void day(const QDate &date, int workday);
    void currencyDay(const QDate &date);
    // Stores the voucher pending; books it through "Kész!" on its own day unless it is to stay pending.
    void voucher(int till, const QString &type, const QString &client, const QDate &date, const QList<Item> &items,
                 bool book = true);
    double balance(int till) { return m_ops.TillBalance(till); }
    int between(int low, int high) { return m_random.bounded(low, high + 1); }
    // A round amount of forints.
    double forints(int low, int high) { return between(low / 10, high / 10) * 10.0; }
    double euros(int low, int high) { return between(low * 2, high * 2) / 2.0; }
    template <typename T> const T &pick(const QList<T> &list) { return list.at(between(0, int(list.size()) - 1)); }
    QString invoice() { return QStringLiteral("SZ-%1/%2").arg(m_year).arg(++m_invoice, 4, 10, QLatin1Char('0')); }

    Engine &m_engine;
    LedgerOps m_ops;
    QRandomGenerator m_random;
    SilentYes m_messages;
    Session m_session;
    int m_main = -1;
    int m_currency = -1;
    QHash<QString, MovementTypeRecord> m_types;
    QHash<QString, ClientRecord> m_clients;
    int m_invoice = 0;
    int m_year = 0;
};

const QString Sale = QStringLiteral("Áruértékesítés készpénzért");
const QString Withdrawal = QStringLiteral("Készpénzfelvétel bankból");
const QString Office = QStringLiteral("Irodaszer vásárlás");
const QString Post = QStringLiteral("Posta, futárszolgálat");
const QString Deposit = QStringLiteral("Készpénz befizetése bankba");
const QString Advance = QStringLiteral("Elszámolásra kiadott előleg");
const QString Travel = QStringLiteral("Utazási előleg");

bool SampleLedger::load()
{
    const QList<int> ids = TillIds(m_engine);
    if (ids.isEmpty())
        return false;
    m_main = ids.first();
    m_currency = ids.size() > 1 ? ids.at(1) : -1;

    for (const MovementTypeRecord &type : MovementTypes(m_engine))
        m_types.insert(type.name, type);
    for (const QString &name : {Sale, Withdrawal, Office, Post, Deposit, Advance, Travel})
        if (!m_types.contains(name))
            return false;

    for (const ClientRecord &client : Clients(m_engine))
        m_clients.insert(client.name, client);
    return !m_clients.isEmpty();
}

void SampleLedger::voucher(int till, const QString &typeName, const QString &clientName, const QDate &date,
                           const QList<Item> &items, bool book)
{
    const MovementTypeRecord type = m_types.value(typeName);
    const ClientRecord client = m_clients.value(clientName, m_clients.begin().value());
    KasszaTipChoice typeChoice;
    typeChoice.kasszatip = type.id;
    typeChoice.kibe = type.kibe;
    typeChoice.elszamolas = type.elszamolas;
    UgyfelChoice clientChoice;
    clientChoice.ugyfel = client.id;
    clientChoice.elszamol = client.days;

    QVariantMap row = NewVoucherValues(m_engine, till, m_session.user, typeChoice, clientChoice, date);
    double total = 0;
    QStringList texts;
    for (int i = 0; i < items.size() && i < 3; ++i) {
        const QString n = QString::number(i + 1);
        row.insert(QStringLiteral("forgjogcim") + n, items.at(i).title);
        row.insert(QStringLiteral("bizszam") + n, items.at(i).document);
        row.insert(QStringLiteral("szoveg") + n, items.at(i).text);
        row.insert(QStringLiteral("osszeg") + n, items.at(i).amount);
        total += items.at(i).amount;
        texts.append(items.at(i).text);
    }
    row.insert(QStringLiteral("osszeg"), total);
    row.insert(QStringLiteral("szoveg"), texts.join(QStringLiteral(", ")));
    int key = -1;
    SavePendingVoucher(m_engine, key, row);
    if (!book)
        return;
    m_session.till = till;
    m_session.openDay = date;
    Kesz(m_session, m_engine, m_messages, key, nullptr, PrintChoice());
}

void SampleLedger::day(const QDate &date, int workday)
{
    static const QList<QString> buyers{QStringLiteral("Nagy és Társa Bt."), QStringLiteral("Horváth Éva"),
                                       QStringLiteral("Tóth Gábor"), QStringLiteral("Fehér Ágnes"),
                                       QStringLiteral("Kiss Levente")};
    static const QList<QString> goods{QStringLiteral("Kisker. eladás"), QStringLiteral("Készpénzes számla"),
                                      QStringLiteral("Alkatrész eladás"), QStringLiteral("Szerviz díj")};
    const int sales = between(1, 3);
    for (int i = 0; i < sales; ++i)
        voucher(m_main, Sale, pick(buyers), date,
                {{QStringLiteral("Áru eladás"), invoice(), pick(goods), forints(4000, 95000)}});

    if (between(1, 10) <= 6) {
        if (between(0, 1) == 0) {
            static const QList<QString> supplies{QStringLiteral("Nyomtatópapír A4"), QStringLiteral("Toner"),
                                                 QStringLiteral("Golyóstollak"), QStringLiteral("Iratrendezők"),
                                                 QStringLiteral("Füzetek, jegyzettömbök")};
            QList<Item> items;
            const QString document = invoice(); // one shop, one invoice
            const int count = between(1, 3);
            for (int i = 0; i < count; ++i)
                items.append({QStringLiteral("Irodaszer"), document, supplies.at((workday + i) % supplies.size()),
                              forints(900, 18000)});
            voucher(m_main, Office, QStringLiteral("Irodaszer Kft."), date, items);
        } else {
            static const QList<QString> post{QStringLiteral("Ajánlott levelek"), QStringLiteral("Csomagfeladás"),
                                             QStringLiteral("Tértivevényes levél")};
            voucher(m_main, Post, QStringLiteral("Posta Zrt. fiók"), date,
                    {{QStringLiteral("Postaköltség"), QString(), pick(post), forints(600, 12000)}});
        }
    }

    // An advance now and then, to the clients who still have room under their limit.
    if (workday % 6 == 3) {
        static const QList<QString> takers{QStringLiteral("Kovács Péter"), QStringLiteral("Szabó Anna"),
                                           QStringLiteral("Tóth Gábor"),   QStringLiteral("Varga Zoltán"),
                                           QStringLiteral("Kiss Levente"), QStringLiteral("Fehér Ágnes")};
        const QString taker = takers.at((workday / 6) % takers.size());
        const ClientRecord client = m_clients.value(taker);
        const double out = m_ops.ClientAdvanceTotal(client.id);
        const double amount = forints(10000, 40000);
        if (client.id > 0 && out + amount <= client.limit) {
            const bool travel = (workday / 6) % 2 == 1;
            voucher(m_main, travel ? Travel : Advance, taker, date,
                    {{QStringLiteral("Előleg"), QString(),
                      travel ? QStringLiteral("Útiköltség előleg") : QStringLiteral("Beszerzési előleg"), amount}});
        }
    }

    // The cash on hand stays between sensible bounds: surplus goes to the bank, a shortage comes from it.
    const double onHand = balance(m_main);
    if (onHand > 900000) {
        const double amount = std::floor((onHand - 400000) / 10000) * 10000;
        voucher(m_main, Deposit, QStringLiteral("Kovács Péter"), date,
                {{QStringLiteral("Bankba befizetés"), QString(), QStringLiteral("Napi bevétel befizetése"), amount}});
    } else if (onHand < 150000) {
        voucher(m_main, Withdrawal, QStringLiteral("Kovács Péter"), date,
                {{QStringLiteral("Készpénzfelvétel"), QString(), QStringLiteral("Bankszámláról felvét"), 300000.0}});
    }
}

void SampleLedger::currencyDay(const QDate &date)
{
    if (m_currency <= 0)
        return;
    if (between(0, 1) == 0 || balance(m_currency) < 400) {
        voucher(m_currency, Sale, QStringLiteral("Nagy és Társa Bt."), date,
                {{QStringLiteral("Valutás eladás"), invoice(), QStringLiteral("Export eladás"), euros(60, 450)}});
    } else {
        static const QList<QString> costs{QStringLiteral("Külföldi autópálya-díj"), QStringLiteral("Szállásdíj"),
                                          QStringLiteral("Külföldi postaköltség")};
        voucher(m_currency, Post, QStringLiteral("Varga Zoltán"), date,
                {{QStringLiteral("Külföldi költség"), QString(), pick(costs), euros(20, 280)}});
    }
}

void SampleLedger::fill(const QDate &today)
{
    const QDate first = today.addDays(-91);
    m_year = first.year();
    // The opening balances come first in the sample's history.
    DateOpeningRows(m_engine, first);

    int workday = 0;
    for (QDate date = first.addDays(1); date < today; date = date.addDays(1)) {
        if (date.dayOfWeek() > 5)
            continue;
        day(date, ++workday);
        if (date.dayOfWeek() == 1 || date.dayOfWeek() == 4)
            currencyDay(date);
    }

    // Still pending: two of today, one left over from an earlier working day, one in the currency till.
    voucher(m_main, Sale, QStringLiteral("Horváth Éva"), today,
            {{QStringLiteral("Áru eladás"), invoice(), QStringLiteral("Kisker. eladás"), 23500.0}}, false);
    voucher(m_main, Post, QStringLiteral("Posta Zrt. fiók"), today,
            {{QStringLiteral("Postaköltség"), QString(), QStringLiteral("Csomagfeladás"), 4350.0}}, false);
    QDate leftOver = today.addDays(-2);
    while (leftOver.dayOfWeek() > 5)
        leftOver = leftOver.addDays(-1);
    voucher(m_main, Office, QStringLiteral("Irodaszer Kft."), leftOver,
            {{QStringLiteral("Irodaszer"), invoice(), QStringLiteral("Toner"), 15990.0},
             {QStringLiteral("Irodaszer"), QString(), QStringLiteral("Nyomtatópapír A4"), 4200.0}},
            false);
    if (m_currency > 0)
        voucher(m_currency, Sale, QStringLiteral("Nagy és Társa Bt."), today,
                {{QStringLiteral("Valutás eladás"), invoice(), QStringLiteral("Export eladás"), 180.0}}, false);
}

} // namespace

void FillSampleVouchers(Engine &engine, const QDate &today)
{
    if (LedgerOps(engine).HasVouchers())
        return;

    SampleLedger ledger(engine);
    if (!ledger.load())
        return;
    // One transaction: a new database gets the whole sample or none of it, and one write to the disk.
    Transaction transaction(engine);
    ledger.fill(today);
    transaction.commit();
}

#include "advancesettlement.h"
#include "dayclosing.h"
#include "databasefaults.h"
#include "ledgerfixture.h"
#include "ledgerops.h"
#include "ledgersound.h"
#include "modaldialogs.h"
#include "numberedit.h"
#include "tfrm_elszamol.h"
#include "voucheractions.h"
#include "voucherbooking.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString Receipts = QStringLiteral("Bevét kasszatípus");
const QString Payments = QStringLiteral("Kiadás kasszatípus");
const QString NotBooked = QStringLiteral("Ez a bizonylat még nem lett könyvelve.");
const QString NoSettlement = QStringLiteral("Ezt a tételt nem kell elszámolni.");
const QString Settled = QStringLiteral("Ez a tétel már el lett számolva.");
const QString DayClosed = QStringLiteral("Ez a nap már le lett zárva.");

} // namespace

// Settling an advance: the form, the difference dialog and the vouchers they generate.
class TestSettlement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void elszamolChecksTheRowFirst_data();
    void elszamolChecksTheRowFirst();
    void workedExample_data();
    void workedExample();
    void generatedVoucherFields();
    void settledOnAnotherDay();
    void differenceDialogChoices_data();
    void differenceDialogChoices();
    void paymentTheTillCannotCoverWaitsPending();
    void failedGenerationLeavesTheSettlementAndNoVoucher();
    void anotherWorkstationGetsThereFirst_data();
    void anotherWorkstationGetsThereFirst();

private:
    // A till opened with the given balance and an advance of 50 000 booked from it, for client 1 (limit 1 000 000).
    int bookedAdvance(double opening, double amount = 50000, int client = 1)
    {
        m_till = m_db.till(QStringLiteral("Fő"), QStringLiteral("FB"), QStringLiteral("FK"), opening);
        m_db.session.till = m_till;
        m_db.engine->exec(QStringLiteral("UPDATE ugyfel SET elszamollimit = 1000000 WHERE ugyfel = 1;"));
        const int row = m_db.pending(m_till, LedgerFixture::AdvanceType, amount, m_db.session.openDay, client);
        m_db.engine->exec(
            QStringLiteral("UPDATE dromvel SET elszamol_kell_dat = '2026-03-18' WHERE dromvel = %1;").arg(row));
        BookVoucher(*m_db.engine, row, AnyDay());
        return row;
    }
    MovementTypeChooser chooser()
    {
        return [this](const QString &caption, QWidget *) {
            m_captions.append(caption);
            return m_typeAnswers.isEmpty() ? -1 : m_typeAnswers.takeFirst();
        };
    }
    // The rows generated after the advance, as "kibe amount nyito zaro kiadva number".
    QStringList generated(int advance) const
    {
        Query q(*m_db.engine, QStringLiteral("SELECT kibe, osszeg, nyito, zaro, kiadva, betujel, ssz FROM dromvel "
                                             "WHERE dromvel > %1 ORDER BY dromvel;")
                                  .arg(advance));
        q.open();
        QStringList rows;
        while (q.next())
            rows.append(QStringLiteral("%1 %2 %3 %4 %5 %6")
                            .arg(q.value(0).toString())
                            .arg(q.value(1).toDouble())
                            .arg(q.value(2).toDouble())
                            .arg(q.value(3).toDouble())
                            .arg(q.value(4).toString(), LedgerOps::VoucherNumber(q.value(5), q.value(6))));
        return rows;
    }
    // Settles through the form: the amount spent typed, OK, and in the difference dialog the method and the pending
    // box, then OK there.
    void settle(int advance, double spent, int method, bool pending, const QDate &date = QDate())
    {
        Tfrm_Elszamol form(m_db.session, *m_db.engine, m_db.messages, chooser());
        QVERIFY(form.open(advance, m_db.session.openDay));
        if (date.isValid())
            form.findChild<QDateEdit *>(QStringLiteral("elszamol_dat"))->setDate(date);
        form.findChild<NumberEdit *>(QStringLiteral("elszamol_tenyl_osszeg"))->setValue(spent);
        if (SpentDiffers(m_db.value(advance, "osszeg").toDouble(), spent))
            OnNextModal([method, pending](QDialog *dialog) {
                auto *question = qobject_cast<Tfrm_ElszamolKerdez *>(dialog);
                QVERIFY(question);
                QCOMPARE(question->windowTitle(), QStringLiteral("Elszámolás"));
                question->setMethod(SettlementMethod(method));
                question->findChild<QCheckBox *>(QStringLiteral("cbFuggoben"))->setChecked(pending);
                question->ok();
            });
        form.ok();
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    LedgerFixture m_db;
    int m_till = 0;
    QStringList m_captions;
    QList<int> m_typeAnswers;
};

void TestSettlement::init()
{
    m_db.open(QStringLiteral("settlement"), QDate(2026, 3, 10));
    m_captions.clear();
    m_typeAnswers = {1, 2};
}

void TestSettlement::elszamolChecksTheRowFirst_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("vissza");
    QTest::addColumn<QString>("message");

    QTest::newRow("pending advance") << "pending" << false << NotBooked;
    QTest::newRow("booked payment, no advance") << "payment" << false << NoSettlement;
    QTest::newRow("settled advance") << "settled" << false << Settled;
    QTest::newRow("open day closed") << "closed" << false << DayClosed;
    QTest::newRow("open day closed, back-dating on: the form opens") << "closed" << true << QString();
    QTest::newRow("booked advance: the form opens") << "booked" << false << QString();
}

void TestSettlement::elszamolChecksTheRowFirst()
{
    QFETCH(QString, state);
    QFETCH(bool, vissza);
    QFETCH(QString, message);

    const int advance = bookedAdvance(350000);
    int row = advance;
    if (state == QLatin1String("pending"))
        row = m_db.pending(m_till, LedgerFixture::AdvanceType, 100, m_db.session.openDay);
    if (state == QLatin1String("payment")) {
        row = m_db.pending(m_till, LedgerFixture::Payment, 100, m_db.session.openDay);
        BookVoucher(*m_db.engine, row, AnyDay());
    }
    if (state == QLatin1String("settled"))
        m_db.engine->exec(QStringLiteral("UPDATE dromvel SET elszamolva = 'I' WHERE dromvel = %1;").arg(row));
    // Closed on the till itself: the window's own date may be older than what another workstation did.
    if (state == QLatin1String("closed"))
        m_db.engine->exec(QStringLiteral("UPDATE kassza SET lezarva = '2026-03-10';"));
    m_db.session.vissza = vissza;
    const QVariantMap before = ReadVoucherRow(*m_db.engine, row);

    bool formOpened = false;
    if (message.isEmpty())
        OnNextModal([&formOpened](QDialog *dialog) {
            formOpened = dialog->objectName() == QLatin1String("frm_Elszamol");
            dialog->reject();
        });
    QVERIFY(!Elszamol(m_db.session, *m_db.engine, m_db.messages, row, chooser()));

    QCOMPARE(formOpened, message.isEmpty());
    QCOMPARE(m_db.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    // Refused or cancelled: nothing changed.
    QCOMPARE(ReadVoucherRow(*m_db.engine, row), before);
    QCOMPARE(m_db.clientTotal(1), 50000.0);
    QCOMPARE(generated(advance).size(), state == QLatin1String("pending") || state == QLatin1String("payment") ? 1 : 0);
}

void TestSettlement::workedExample_data()
{
    QTest::addColumn<int>("method");
    QTest::addColumn<double>("spent");
    QTest::addColumn<bool>("pending");
    QTest::addColumn<QStringList>("vouchers");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<double>("balance");

    // An advance of 50 000 out of a till holding 350 000: 300 000 before settling.
    QTest::newRow("0: the whole advance back, then the amount spent paid")
        << 0 << 42000.0 << false << QStringList{"B 50000 300000 350000 I FB00001", "K 42000 350000 308000 I FK00002"}
        << QStringList{Receipts, Payments} << 308000.0;
    QTest::newRow("1: the difference comes back")
        << 1 << 42000.0 << false << QStringList{"B 8000 300000 308000 I FB00001"} << QStringList{Receipts} << 308000.0;
    QTest::newRow("1: spent more than the advance")
        << 1 << 58000.0 << false << QStringList{"K 8000 300000 292000 I FK00002"} << QStringList{Payments} << 292000.0;
    // Pending vouchers carry their numbers; the second opens from the balance before the first.
    QTest::newRow("0, left pending") << 0 << 42000.0 << true
                                     << QStringList{"B 50000 300000 350000 N FB00001",
                                                    "K 42000 300000 258000 N FK00002"}
                                     << QStringList{Receipts, Payments} << 300000.0;
    QTest::newRow("1, left pending") << 1 << 42000.0 << true << QStringList{"B 8000 300000 308000 N FB00001"}
                                     << QStringList{Receipts} << 300000.0;
    QTest::newRow("2: nothing") << 2 << 42000.0 << false << QStringList() << QStringList() << 300000.0;
    QTest::newRow("spent as advanced: no question")
        << 0 << 50000.0 << false << QStringList() << QStringList() << 300000.0;
    // No voucher of 0 takes a serial.
    QTest::newRow("0, nothing spent: the receipt only")
        << 0 << 0.0 << false << QStringList{"B 50000 300000 350000 I FB00001"} << QStringList{Receipts} << 350000.0;
}

void TestSettlement::workedExample()
{
    QFETCH(int, method);
    QFETCH(double, spent);
    QFETCH(bool, pending);
    QFETCH(QStringList, vouchers);
    QFETCH(QStringList, captions);
    QFETCH(double, balance);

    const int advance = bookedAdvance(350000);
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(m_till), 300000.0);
    QCOMPARE(m_db.clientTotal(1), 50000.0);

    settle(advance, spent, method, pending);

    QCOMPARE(generated(advance), vouchers);
    QCOMPARE(m_captions, captions);
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(m_till), balance);
    // The whole advance leaves the client's total, whatever was spent.
    QCOMPARE(m_db.clientTotal(1), 0.0);
    QCOMPARE(m_db.value(advance, "elszamolva").toString(), QStringLiteral("I"));
    QCOMPARE(m_db.value(advance, "elszamol_dat").toDate(), m_db.session.openDay);
    QCOMPARE(m_db.value(advance, "elszamol_tenyl_osszeg").toDouble(), spent);
    QVERIFY(m_db.messages.texts().isEmpty());
    QVERIFY_LEDGER_SOUND(*m_db.engine);

    // Left pending, they book later from the main window with the serials they carry.
    if (pending) {
        for (int row = advance + 1; row <= advance + vouchers.size(); ++row) {
            m_db.messages.answers = {true};
            QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr, PrintChoice()), KeszResult::Booked);
        }
        const QStringList booked =
            method == 0 ? QStringList{"B 50000 300000 350000 I FB00001", "K 42000 350000 308000 I FK00002"}
                        : QStringList{"B 8000 300000 308000 I FB00001"};
        QCOMPARE(generated(advance), booked);
        QCOMPARE(LedgerOps(*m_db.engine).TillBalance(m_till), 308000.0);
        QVERIFY_LEDGER_SOUND(*m_db.engine);
    }
}

void TestSettlement::generatedVoucherFields()
{
    const int advance = bookedAdvance(350000);
    m_db.session.user = QStringLiteral("pénztáros");
    m_typeAnswers = {4, 2};
    settle(advance, 42000, 0, false);

    const auto field = [this, advance](int offset, const char *name) { return m_db.value(advance + offset, name); };
    const QList<QVariantList> expected{
        {"B", 4, 50000.0, "Elszámolás visszavét: 2026.03.10", "Elszámolás visszavét"},
        {"K", 2, 42000.0, "Kiadás elszámolásra: 2026.03.10", "Elszámolás kiadása"},
    };
    for (int i = 0; i < 2; ++i) {
        const QVariantList &e = expected.at(i);
        QCOMPARE(field(i + 1, "kibe").toString(), e.at(0).toString());
        QCOMPARE(field(i + 1, "kasszatip").toInt(), e.at(1).toInt());
        QCOMPARE(field(i + 1, "osszeg").toDouble(), e.at(2).toDouble());
        QCOMPARE(field(i + 1, "osszeg1").toDouble(), e.at(2).toDouble());
        QCOMPARE(field(i + 1, i == 0 ? "bevetel" : "kiadas").toDouble(), e.at(2).toDouble());
        QCOMPARE(field(i + 1, i == 0 ? "kiadas" : "bevetel").toDouble(), 0.0);
        QCOMPARE(field(i + 1, "szoveg").toString(), e.at(3).toString());
        QCOMPARE(field(i + 1, "szoveg1").toString(), e.at(4).toString());
        QCOMPARE(field(i + 1, "bizszam1").toString(), QStringLiteral("FK00001"));
        QCOMPARE(field(i + 1, "ugyfel").toInt(), 1);
        QCOMPARE(field(i + 1, "kassza").toInt(), m_till);
        QCOMPARE(field(i + 1, "dat_kiadva").toDate(), QDate(2026, 3, 10));
        QCOMPARE(field(i + 1, "idoszak").toString(), QStringLiteral("202603"));
        QCOMPARE(field(i + 1, "datumstr").toString(), QStringLiteral("20260310"));
        QCOMPARE(field(i + 1, "elszamol_kell").toString(), QStringLiteral("N"));
        QCOMPARE(field(i + 1, "elszamol_ssz").toInt(), 0);
        QCOMPARE(field(i + 1, "lezarva").toString(), QStringLiteral("N"));
        QCOMPARE(field(i + 1, "felhasznalo").toString(), QStringLiteral("pénztáros"));
        QVERIFY(field(i + 1, "elszamolva").isNull());
    }
    QVERIFY(m_db.value(advance, "elszamol_bevet_penztarbiz").isNull());
}

void TestSettlement::settledOnAnotherDay()
{
    // Client 2 has no limit, so it is over it even after settling.
    const int advance = bookedAdvance(350000, 50000, 2);
    Tfrm_Elszamol form(m_db.session, *m_db.engine, m_db.messages, chooser());
    QVERIFY(form.open(advance, QDate(2026, 3, 12)));
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("ugyfel_nev"))->text(), QStringLiteral("Szabó Anna"));
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("ssz"))->text(), QStringLiteral("00001"));
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("osszeg"))->text(), QStringLiteral("50 000"));
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("elszamol_kell_dat"))->text(), QStringLiteral("2026.03.18"));
    QCOMPARE(form.findChild<QDateEdit *>(QStringLiteral("elszamol_dat"))->date(), QDate(2026, 3, 12));
    auto *spent = form.findChild<NumberEdit *>(QStringLiteral("elszamol_tenyl_osszeg"));
    QCOMPARE(spent->value().toDouble(), 50000.0);
    auto *documents = form.findChild<QLineEdit *>(QStringLiteral("elszamol_biz"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClicks(documents, QStringLiteral("sz-12/a"));
    QCOMPARE(documents->text(), QStringLiteral("SZ-12/A"));

    form.findChild<QDateEdit *>(QStringLiteral("elszamol_dat"))->setDate(QDate(2026, 3, 5));
    spent->setValue(42000.0);
    OnNextModal([](QDialog *dialog) {
        auto *question = qobject_cast<Tfrm_ElszamolKerdez *>(dialog);
        question->setMethod(SettlementMethod::Difference);
        question->ok();
    });
    form.ok();

    QCOMPARE(m_db.value(advance, "elszamol_dat").toDate(), QDate(2026, 3, 5));
    QCOMPARE(m_db.value(advance, "elszamol_biz").toString(), QStringLiteral("SZ-12/A"));
    // The voucher carries the open day, not the settlement's date.
    QCOMPARE(m_db.value(advance + 1, "dat_kiadva").toDate(), QDate(2026, 3, 10));
    QCOMPARE(m_db.clientTotal(2), 0.0);
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Limit túllépés.")});
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestSettlement::differenceDialogChoices_data()
{
    QTest::addColumn<int>("metodus");
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("stillOpen");

    QTest::newRow("method 0 preselected, both types") << 0 << QList<int>{1, 2} << false << 2 << false;
    QTest::newRow("method 1 preselected") << 1 << QList<int>{1} << false << 1 << false;
    QTest::newRow("method 2 preselected: nothing asked") << 2 << QList<int>() << false << 0 << false;
    QTest::newRow("receipt type not chosen: stays open") << 0 << QList<int>{-1} << false << 0 << true;
    QTest::newRow("payment type not chosen: stays open") << 0 << QList<int>{1, -1} << false << 0 << true;
    QTest::newRow("Mégsem") << 0 << QList<int>() << true << 0 << false;
}

void TestSettlement::differenceDialogChoices()
{
    QFETCH(int, metodus);
    QFETCH(QList<int>, types);
    QFETCH(bool, cancel);
    QFETCH(int, rows);
    QFETCH(bool, stillOpen);

    const int advance = bookedAdvance(350000);
    m_db.session.metodus = metodus;
    m_typeAnswers = types;
    const SettlementTarget target{advance, m_till, QStringLiteral("teszt"), MainWindowDay(m_db.session), false};
    Tfrm_ElszamolKerdez dialog(m_db.session, *m_db.engine, m_db.messages, chooser(), target, 50000, 42000);
    QCOMPARE(int(dialog.method()), metodus);
    QVERIFY(!dialog.leavePending());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    if (cancel)
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
    else
        dialog.ok();

    QCOMPARE(dialog.isVisible(), stillOpen);
    QCOMPARE(m_captions.size(), types.size());
    QCOMPARE(generated(advance).size(), rows);
    QCOMPARE(dialog.generated().size(), rows);
}

void TestSettlement::paymentTheTillCannotCoverWaitsPending()
{
    // 60 000 in the till, 50 000 handed out: 10 000 left, and 20 000 more was spent.
    const int advance = bookedAdvance(60000);
    settle(advance, 70000, 1, false);

    QCOMPARE(generated(advance), QStringList{"K 20000 10000 -10000 N FK00002"});
    QCOMPARE(m_db.messages.texts(),
             QStringList{QStringLiteral("A(z) FK00002 kiadási bizonylat függőben maradt: a kasszában nincs hozzá "
                                        "elegendő pénz. A pénz beérkezése után a Kész! gombbal könyvelhető.")});
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("warning"));
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(m_till), 10000.0);
    QCOMPARE(m_db.clientTotal(1), 0.0);
    QVERIFY_LEDGER_SOUND(*m_db.engine);

    // Money comes in; the payment books with the serial it was given.
    const int receipt = m_db.pending(m_till, LedgerFixture::Receipt, 15000, m_db.session.openDay);
    BookVoucher(*m_db.engine, receipt, AnyDay());
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, advance + 1, nullptr, PrintChoice()), KeszResult::Booked);
    QCOMPARE(generated(advance), (QStringList{"K 20000 25000 5000 I FK00002", "B 15000 10000 25000 I FB00001"}));
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestSettlement::failedGenerationLeavesTheSettlementAndNoVoucher()
{
    const int advance = bookedAdvance(350000);
    // The second voucher of method 0 cannot be written.
    CreateFailingTrigger(*m_db.engine, QStringLiteral("forced_failure"), QStringLiteral("BEFORE INSERT ON dromvel"),
                         QStringLiteral("kényszerített hiba"), QStringLiteral("NEW.szoveg1 = 'Elszámolás kiadása'"));
    const BookingDay day = MainWindowDay(m_db.session);
    const SettlementPost post = PostSettlement(*m_db.engine, advance, m_till, day, {day.openDay, QString(), 42000});
    QCOMPARE(post.check, SettlementCheck::Allowed);
    QList<SettlementVoucher> vouchers = SettlementVouchers(SettlementMethod::ReceiptThenPayment, 50000, 42000);
    vouchers[0].kasszatip = 1;
    vouchers[1].kasszatip = 2;
    const SettlementTarget target{advance, m_till, QStringLiteral("teszt"), day, false};
    QVERIFY_THROWS_EXCEPTION(EngineError, GenerateSettlementVouchers(*m_db.engine, target, vouchers));

    QCOMPARE(m_db.engine->transactionDepth(), 0);
    QCOMPARE(m_db.value(advance, "elszamolva").toString(), QStringLiteral("I"));
    QCOMPARE(m_db.clientTotal(1), 0.0);
    QVERIFY(generated(advance).isEmpty());
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(m_till), 300000.0);
    QVERIFY_LEDGER_SOUND(*m_db.engine);

    // Whatever the generation refuses leaves nothing either: a movement type that is gone.
    vouchers[1].kasszatip = 99;
    DropFailingTrigger(*m_db.engine, QStringLiteral("forced_failure"));
    QCOMPARE(GenerateSettlementVouchers(*m_db.engine, target, vouchers).check, BookingCheck::NoMovementType);
    QVERIFY(generated(advance).isEmpty());
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestSettlement::anotherWorkstationGetsThereFirst_data()
{
    QTest::addColumn<bool>("closes");
    QTest::newRow("settles the same advance") << false;
    QTest::newRow("closes the day") << true;
}

void TestSettlement::anotherWorkstationGetsThereFirst()
{
    QFETCH(bool, closes);
    const int advance = bookedAdvance(350000);
    Tfrm_Elszamol form(m_db.session, *m_db.engine, m_db.messages, chooser());
    QVERIFY(form.open(advance));
    form.findChild<NumberEdit *>(QStringLiteral("elszamol_tenyl_osszeg"))->setValue(42000.0);

    {
        Engine other(QStringLiteral("other-workstation"));
        other.open(m_db.folder);
        if (closes)
            QCOMPARE(CloseDay(other, m_till, m_db.session.openDay, QStringLiteral("teszt")).outcome,
                     DayClosing::Outcome::Closed);
        else
            PostSettlement(other, advance, m_till, MainWindowDay(m_db.session), {m_db.session.openDay, {}, 50000});
    }
    form.ok();

    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(form.refused());
    QCOMPARE(m_db.messages.texts(), QStringList{closes ? DayClosed : Settled});
    QCOMPARE(m_db.value(advance, "elszamolva").toString(), closes ? QStringLiteral("N") : QStringLiteral("I"));
    // Taken off once at most.
    QCOMPARE(m_db.clientTotal(1), closes ? 50000.0 : 0.0);
    QVERIFY(generated(advance).isEmpty());
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

QTEST_MAIN(TestSettlement)
#include "test_settlement.moc"

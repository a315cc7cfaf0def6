#include "ledgerfixture.h"
#include "ledgersound.h"
#include "numberedit.h"
#include "tfrm_szerkeszt.h"
#include "voucheractions.h"
#include "voucherbooking.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// Types into the focused control as the keyboard does; QTest::keyClicks cannot send accented letters.
void Type(const QString &text)
{
    for (const QChar c : text) {
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

void Key(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key);
}

QString Focused()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

} // namespace

class TestVoucherForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void newReceiptBookedAtOnce();
    void pendingPaymentStoredThenBookedFromTheMainWindow();
    void advanceShowsItsSettlementAndBooks();
    void bookedVoucherOpensReadOnly();
    void changeFromTheReceivedCash();
    void keszChecksDateClosedDayAndMoney();
    void cancelledChooserWritesNothing();
    void newVoucherNeedsTillTypeAndClient();
    void amountFieldsTakeUnsignedNumbersOnly();
    void voucherOfNothingIsStoredNotBooked();

private:
    VoucherChoosers choosers(LedgerFixture::Type type, int client = 1)
    {
        VoucherChoosers c;
        c.type = [type](QWidget *) {
            KasszaTipChoice t;
            t.kasszatip = type;
            t.kibe = type == LedgerFixture::Receipt ? QStringLiteral("B") : QStringLiteral("K");
            t.elszamolas = type == LedgerFixture::AdvanceType ? QStringLiteral("I") : QStringLiteral("N");
            return t;
        };
        c.newClient = [client](QWidget *) {
            UgyfelChoice u;
            u.ugyfel = client;
            u.elszamol = 8;
            return u;
        };
        c.client = [this](int current, QWidget *) {
            m_clientAsked = current;
            return m_clientAnswer;
        };
        return c;
    }
    std::unique_ptr<Tfrm_Szerkeszt> newForm(LedgerFixture::Type type, int client = 1)
    {
        auto form = std::make_unique<Tfrm_Szerkeszt>(m_db.session, *m_db.engine, m_db.messages, choosers(type, client));
        if (!form->openNew(m_today))
            return nullptr;
        return shown(std::move(form));
    }
    // Shown and active; a bare X server without a window manager activates only on request.
    template <typename W> static W shown(W form)
    {
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return nullptr;
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            return nullptr;
        return form;
    }
    template <typename T> static T *child(QWidget *form, const char *name)
    {
        return form->findChild<T *>(QString::fromLatin1(name));
    }
    static void focus(QWidget *form, const char *name)
    {
        QWidget *w = child<QWidget>(form, name);
        QVERIFY2(w, name);
        w->setFocus(Qt::TabFocusReason);
    }
    static void press(QWidget *form, const char *button)
    {
        focus(form, button);
        Key(Qt::Key_Return);
    }
    // The form as it looks, for a look at the layout when DROMVEL_SHOTS names a folder.
    static void shot(QWidget *form, const QString &name)
    {
        const QString folder = qEnvironmentVariable("DROMVEL_SHOTS");
        if (folder.isEmpty())
            return;
        QTest::qWait(50); // pending layout requests first
        form->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
    }

    LedgerFixture m_db;
    QDate m_today;
    int m_clientAsked = -2;
    int m_clientAnswer = -1;
};

void TestVoucherForm::init()
{
    m_today = QDate::currentDate();
    m_db.open(QStringLiteral("form"), m_today);
    m_db.till(QStringLiteral("Főpénztár"), QStringLiteral("FB"), QStringLiteral("FK"), 10000);
    // Earlier vouchers whose titles and texts the pick lists offer.
    m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("forgjogcim2"), QStringLiteral("Bérlet")},
                                                    {QStringLiteral("szoveg3"), QStringLiteral("Havi bérlet")},
                                                    {QStringLiteral("kassza"), 2},
                                                    {QStringLiteral("kiadva"), QStringLiteral("N")}});
    m_clientAsked = -2;
    m_clientAnswer = -1;
}

void TestVoucherForm::newReceiptBookedAtOnce()
{
    auto form = newForm(LedgerFixture::Receipt);
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Kassza tétel szerkesztés"));
    QCOMPARE(child<QLabel>(form.get(), "kibe_nev")->text(), QStringLiteral("Bevételi pénztárbizonylat"));
    QCOMPARE(child<QLineEdit>(form.get(), "sorszam")->text(), QStringLiteral("FB00000"));
    QCOMPARE(child<QLabel>(form.get(), "szambetu")->text(), QStringLiteral("nulla"));
    QCOMPARE(child<QComboBox>(form.get(), "ugyfel_nev")->currentText(), QStringLiteral("Kovács Péter"));
    QVERIFY(!child<QGroupBox>(form.get(), "grpElszamolas")->isVisible());
    auto *title = child<QComboBox>(form.get(), "forgjogcim1");
    QVERIFY(title->findText(QStringLiteral("Bérlet")) >= 0);
    QVERIFY(child<QComboBox>(form.get(), "szoveg1")->findText(QStringLiteral("Havi bérlet")) >= 0);

    // Enter walks the line; the amount field takes no letters; each field holds what its column holds.
    QCOMPARE(Focused(), QStringLiteral("forgjogcim1"));
    Type(QStringLiteral("Áru eladás"));
    Key(Qt::Key_Return);
    QCOMPARE(Focused(), QStringLiteral("bizszam1"));
    Type(QStringLiteral("SZ-2024/0001-ABCDEFGHIJKLMNOP"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("Kisker. eladás"));
    Key(Qt::Key_Return);
    QCOMPARE(Focused(), QStringLiteral("osszeg1"));
    Type(QStringLiteral("1x 5y00"));
    QCOMPARE(child<QLineEdit>(form.get(), "osszeg1")->text(), QStringLiteral("1 500"));
    QCOMPARE(child<QLabel>(form.get(), "osszeg")->text(), QStringLiteral("1 500"));
    QCOMPARE(child<QLabel>(form.get(), "szambetu")->text(), QStringLiteral("egyezer ötszáz"));
    Key(Qt::Key_Return);
    QCOMPARE(Focused(), QStringLiteral("forgjogcim2"));
    shot(form.get(), QStringLiteral("uj-bevetel"));

    press(form.get(), "bKesz");
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(form->bookedHere());
    const int row = form->storedKey();
    QVERIFY(row > 0);
    QVERIFY(m_db.messages.shown.isEmpty());
    QVERIFY(m_db.isBooked(row));
    QCOMPARE(m_db.value(row, "ssz").toInt(), 1);
    QCOMPARE(m_db.value(row, "nyito").toDouble(), 10000.0);
    QCOMPARE(m_db.value(row, "zaro").toDouble(), 11500.0);
    QCOMPARE(m_db.value(row, "bevetel").toDouble(), 1500.0);
    QCOMPARE(m_db.value(row, "forgjogcim1").toString(), QStringLiteral("Áru eladás"));
    QCOMPARE(m_db.value(row, "bizszam1").toString(), QStringLiteral("SZ-2024/0001-ABCDEFGHIJKL"));
    QCOMPARE(m_db.value(row, "szoveg1").toString(), QStringLiteral("Kisker. eladás"));
    QVERIFY(m_db.value(row, "osszeg2").isNull());
    QCOMPARE(m_db.value(row, "felhasznalo").toString(), QStringLiteral("teszt"));
    QCOMPARE(m_db.value(row, "dat_kiadva").toDate(), m_today);
    // The event log names the same user as the booking's.
    QCOMPARE(
        m_db.scalar(
                QStringLiteral("SELECT felhasznalo FROM naplo WHERE esemeny = 'Könyvelés' AND sorkulcs = %1;").arg(row))
            .toString(),
        QStringLiteral("teszt"));
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestVoucherForm::pendingPaymentStoredThenBookedFromTheMainWindow()
{
    auto form = newForm(LedgerFixture::Payment, 2);
    QVERIFY(form);
    QCOMPARE(child<QLabel>(form.get(), "kibe_nev")->text(), QStringLiteral("Kiadási pénztárbizonylat"));
    focus(form.get(), "szoveg1");
    Type(QStringLiteral("Papír"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("2 000,5"));
    focus(form.get(), "szoveg2");
    Type(QStringLiteral("Toner"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("300"));
    press(form.get(), "bSzovegbol");
    QCOMPARE(child<QPlainTextEdit>(form.get(), "szoveg")->toPlainText(), QStringLiteral("Papír, Toner"));

    // The client button opens the chooser on the current client.
    m_clientAnswer = 1;
    press(form.get(), "bUgyfel");
    QCOMPARE(m_clientAsked, 2);
    QCOMPARE(child<QComboBox>(form.get(), "ugyfel_nev")->currentText(), QStringLiteral("Kovács Péter"));

    press(form.get(), "bElment");
    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->bookedHere());
    const int row = form->storedKey();
    QVERIFY(row > 0);
    QVERIFY(!m_db.isBooked(row));
    QCOMPARE(m_db.value(row, "dromvelid").toInt(), 0);
    QCOMPARE(m_db.value(row, "ssz").toInt(), 0);
    QVERIFY(m_db.value(row, "nyito").isNull());
    QCOMPARE(m_db.value(row, "osszeg").toDouble(), 2300.5);
    QCOMPARE(m_db.value(row, "osszeg1").toDouble(), 2000.5);
    QCOMPARE(m_db.value(row, "szoveg").toString(), QStringLiteral("Papír, Toner"));
    QCOMPARE(m_db.value(row, "ugyfel").toInt(), 1);

    QList<int> printed;
    m_db.messages.answers = {true};
    QCOMPARE(Kesz(m_db.session, *m_db.engine, m_db.messages, row, nullptr,
                  [&printed](int r, bool, QWidget *) { printed.append(r); }),
             KeszResult::Booked);
    QCOMPARE(m_db.value(row, "zaro").toDouble(), 7699.5);
    QCOMPARE(m_db.value(row, "kiadas").toDouble(), 2300.5);
    QCOMPARE(m_db.value(row, "betujel").toString(), QStringLiteral("FK"));
    QCOMPARE(printed, QList<int>{row});
}

void TestVoucherForm::advanceShowsItsSettlementAndBooks()
{
    auto form = newForm(LedgerFixture::AdvanceType);
    QVERIFY(form);
    QVERIFY(child<QGroupBox>(form.get(), "grpElszamolas")->isVisible());
    QVERIFY(child<QCheckBox>(form.get(), "elszamol_kell")->isChecked());
    auto *deadline = child<QDateEdit>(form.get(), "elszamol_kell_dat");
    QCOMPARE(deadline->date(), m_today.addDays(8));
    deadline->setDate(m_today.addDays(3));
    focus(form.get(), "szoveg1");
    Type(QStringLiteral("Beszerzési előleg"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("600"));
    shot(form.get(), QStringLiteral("elolege"));

    press(form.get(), "bKesz");
    const int row = form->storedKey();
    QVERIFY(row > 0);
    QVERIFY(form->isAdvance());
    QCOMPARE(m_db.value(row, "elszamol_ssz").toInt(), 1);
    QCOMPARE(m_db.value(row, "elszamol_kell_dat").toDate(), m_today.addDays(3));
    QCOMPARE(m_db.clientTotal(1), 600.0);
    QVERIFY(m_db.messages.shown.isEmpty());
}

void TestVoucherForm::bookedVoucherOpensReadOnly()
{
    const int row = m_db.pending(1, LedgerFixture::Payment, 250, m_today);
    m_db.engine->update(QStringLiteral("dromvel"), QStringLiteral("dromvel"), row,
                        {{QStringLiteral("forgjogcim1"), QStringLiteral("Irodaszer")},
                         {QStringLiteral("szoveg"), QStringLiteral("Tollak")}});
    QCOMPARE(BookVoucher(*m_db.engine, row, AnyDay()).check, BookingCheck::Allowed);

    auto opened =
        std::make_unique<Tfrm_Szerkeszt>(m_db.session, *m_db.engine, m_db.messages, choosers(LedgerFixture::Payment));
    QVERIFY(opened->openExisting(row));
    opened = shown(std::move(opened));
    QVERIFY(opened);
    Tfrm_Szerkeszt &form = *opened;
    shot(&form, QStringLiteral("lezart"));
    QVERIFY(form.isReadOnly());
    QVERIFY(child<QCheckBox>(&form, "kiadva")->isChecked());
    QCOMPARE(child<QLineEdit>(&form, "sorszam")->text(), QStringLiteral("FK00001"));
    QCOMPARE(child<QComboBox>(&form, "forgjogcim1")->currentText(), QStringLiteral("Irodaszer"));
    for (const char *button : {"bKesz", "bElment", "bUgyfel", "bSzovegbol"})
        QVERIFY2(!child<QPushButton>(&form, button)->isEnabled(), button);
    QVERIFY(!child<QComboBox>(&form, "forgjogcim1")->isEnabled());
    QVERIFY(!child<QComboBox>(&form, "ugyfel_nev")->isEnabled());
    QVERIFY(child<QDateEdit>(&form, "dat_kiadva")->isReadOnly());
    QVERIFY(child<QPlainTextEdit>(&form, "szoveg")->isReadOnly());
    QCOMPARE(Focused(), QStringLiteral("bMegsem"));
    focus(&form, "osszeg1");
    Type(QStringLiteral("9"));
    focus(&form, "bizszam1");
    Type(QStringLiteral("X"));
    QCOMPARE(child<QLineEdit>(&form, "osszeg1")->text(), QStringLiteral("250"));
    QCOMPARE(child<QLineEdit>(&form, "bizszam1")->text(), QString());

    Key(Qt::Key_Escape);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(form.storedKey(), -1);
    QCOMPARE(m_db.value(row, "osszeg").toDouble(), 250.0);
}

void TestVoucherForm::changeFromTheReceivedCash()
{
    auto form = newForm(LedgerFixture::Receipt);
    QVERIFY(form);
    focus(form.get(), "osszeg1");
    Type(QStringLiteral("1000"));
    auto *received = child<NumberEdit>(form.get(), "elvett");
    for (const QString &typed : {QStringLiteral("1 234,5"), QStringLiteral("1 234.5")}) {
        focus(form.get(), "elvett");
        received->selectAll();
        Type(typed);
        Key(Qt::Key_Return);
        QCOMPARE(child<QLineEdit>(form.get(), "visszajar")->text(), FormatFloat(QString(), 234.5));
        QCOMPARE(Focused(), QStringLiteral("elvett"));
        child<QLineEdit>(form.get(), "visszajar")->clear();
    }
}

void TestVoucherForm::keszChecksDateClosedDayAndMoney()
{
    const QString pendingQuestion = QStringLiteral("Bizonylat csak a megnyitott napra könyvelhető, függőbe tegyem?");
    auto form = newForm(LedgerFixture::Payment);
    QVERIFY(form);
    focus(form.get(), "osszeg1");
    Type(QStringLiteral("10001"));
    press(form.get(), "bKesz");
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Nincs elegendő pénz a művelethez")});
    QVERIFY(form->isVisible());

    // The whole balance may go.
    auto *amount = child<QLineEdit>(form.get(), "osszeg1");
    amount->setFocus();
    Key(Qt::Key_Backspace);
    QCOMPARE(amount->text(), QStringLiteral("1000"));
    Type(QStringLiteral("0"));

    auto *date = child<QDateEdit>(form.get(), "dat_kiadva");
    date->setDate(m_today.addDays(-1));
    m_db.messages.clear();
    m_db.messages.answers = {false};
    press(form.get(), "bKesz");
    QCOMPARE(m_db.messages.texts(), QStringList{pendingQuestion});
    QCOMPARE(m_db.messages.shown.last().caption, QStringLiteral("Hiba"));
    QVERIFY(form->isVisible());
    QCOMPARE(Focused(), QStringLiteral("dat_kiadva"));

    m_db.session.vissza = true;
    m_db.session.closedUntil = m_today.addDays(-1);
    m_db.messages.clear();
    press(form.get(), "bKesz");
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Lezárt napra bizonylat nem könyvelhető")});
    QVERIFY(form->isVisible());
    QCOMPARE(Focused(), QStringLiteral("dat_kiadva"));

    // Back-dating allows the past, never the future.
    date->setDate(m_today.addDays(1));
    m_db.messages.clear();
    m_db.messages.answers = {false};
    press(form.get(), "bKesz");
    QCOMPARE(m_db.messages.texts(), QStringList{pendingQuestion});

    // Yes stores the voucher pending on its own date.
    m_db.session.vissza = false;
    date->setDate(m_today.addDays(-1));
    m_db.messages.answers = {true};
    press(form.get(), "bKesz");
    QCOMPARE(form->result(), int(QDialog::Accepted));
    const int row = form->storedKey();
    QVERIFY(row > 0);
    QVERIFY(!m_db.isBooked(row));
    QCOMPARE(m_db.value(row, "dat_kiadva").toDate(), m_today.addDays(-1));
    QCOMPARE(m_db.value(row, "osszeg").toDouble(), 10000.0);
}

void TestVoucherForm::cancelledChooserWritesNothing()
{
    const int rows = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt();
    VoucherChoosers c = choosers(LedgerFixture::Receipt);
    c.newClient = [](QWidget *) { return UgyfelChoice(); };
    QVERIFY(!Tfrm_Szerkeszt(m_db.session, *m_db.engine, m_db.messages, c).openNew(m_today));
    c.type = [](QWidget *) { return KasszaTipChoice(); };
    QVERIFY(!Tfrm_Szerkeszt(m_db.session, *m_db.engine, m_db.messages, c).openNew(m_today));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt(), rows);

    // A voucher closed with "Mégsem" is not stored either.
    auto form = newForm(LedgerFixture::Receipt);
    QVERIFY(form);
    focus(form.get(), "osszeg1");
    Type(QStringLiteral("10"));
    press(form.get(), "bMegsem");
    QCOMPARE(form->storedKey(), -1);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt(), rows);
}

void TestVoucherForm::newVoucherNeedsTillTypeAndClient()
{
    const int rows = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt();
    bool typeAsked = false;
    VoucherChoosers c = choosers(LedgerFixture::Receipt);
    const auto type = c.type;
    c.type = [&typeAsked, type](QWidget *parent) {
        typeAsked = true;
        return type(parent);
    };
    // No current till (an empty till list answers 0): nothing is asked.
    m_db.session.till = 0;
    QVERIFY(!Tfrm_Szerkeszt(m_db.session, *m_db.engine, m_db.messages, c).openNew(m_today));
    QVERIFY(!typeAsked);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("Nincs kiválasztott kassza.")));

    // The type and client lists answer 0 when they are empty.
    m_db.session.till = 1;
    m_db.messages.clear();
    c.type = [](QWidget *) {
        KasszaTipChoice none;
        none.kasszatip = 0;
        return none;
    };
    QVERIFY(!Tfrm_Szerkeszt(m_db.session, *m_db.engine, m_db.messages, c).openNew(m_today));
    c = choosers(LedgerFixture::Receipt, 0);
    QVERIFY(!Tfrm_Szerkeszt(m_db.session, *m_db.engine, m_db.messages, c).openNew(m_today));
    QCOMPARE(m_db.messages.shown.size(), 2);
    QVERIFY(m_db.messages.shown.at(0).text.startsWith(QStringLiteral("Nincs kiválasztott kassza típus.")));
    QVERIFY(m_db.messages.shown.at(1).text.startsWith(QStringLiteral("Nincs kiválasztott ügyfél.")));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt(), rows);
}

void TestVoucherForm::amountFieldsTakeUnsignedNumbersOnly()
{
    auto form = newForm(LedgerFixture::Payment);
    QVERIFY(form);
    auto *hint = child<QLabel>(form.get(), "lHint");
    QVERIFY(hint && !hint->isVisible());
    const QString takes =
        QStringLiteral("Ide csak 0 vagy pozitív számot lehet írni (számjegyek, szóköz, egy tizedesvessző).");

    // Typed: the minus and the letters are refused, and the form says why until the field takes a key again.
    focus(form.get(), "osszeg1");
    Type(QStringLiteral("-"));
    QVERIFY(hint->isVisible());
    QCOMPARE(hint->text(), takes);
    Type(QStringLiteral("500"));
    QVERIFY(!hint->isVisible());
    Type(QStringLiteral("x,5,"));
    QCOMPARE(child<QLineEdit>(form.get(), "osszeg1")->text(), QStringLiteral("500,5"));
    QVERIFY(hint->isVisible());
    focus(form.get(), "osszeg2");
    Type(QStringLiteral("7"));
    QVERIFY(!hint->isVisible());

    // Pasted: text with letters is refused whole, the field keeps what it held.
    QApplication::clipboard()->setText(QStringLiteral("abc12x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(child<QLineEdit>(form.get(), "osszeg2")->text(), QStringLiteral("7"));
    QVERIFY(hint->isVisible());
    QApplication::clipboard()->setText(QStringLiteral("00"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(child<QLineEdit>(form.get(), "osszeg2")->text(), QStringLiteral("700"));

    // The cash received cannot be negative either.
    focus(form.get(), "elvett");
    Type(QStringLiteral("-1"));
    QCOMPARE(child<QLineEdit>(form.get(), "elvett")->text(), QStringLiteral("1"));
    QCOMPARE(hint->text(), takes);
    shot(form.get(), QStringLiteral("osszeg-hiba"));
}

void TestVoucherForm::voucherOfNothingIsStoredNotBooked()
{
    const QString noAmount = QStringLiteral("A bizonylat nem könyvelhető: az összege nem nagyobb 0-nál. Írja be a "
                                            "tételek összegét, vagy mentse el függőként.");
    auto form = newForm(LedgerFixture::Receipt);
    QVERIFY(form);
    const int rows = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt();
    press(form.get(), "bKesz");
    QCOMPARE(m_db.messages.texts(), QStringList{noAmount});
    QVERIFY(form->isVisible());
    QCOMPARE(Focused(), QStringLiteral("osszeg1"));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM dromvel;")).toInt(), rows);

    press(form.get(), "bElment");
    QCOMPARE(form->result(), int(QDialog::Accepted));
    const int row = form->storedKey();
    QVERIFY(row > 0);
    QVERIFY(!m_db.isBooked(row));
    QCOMPARE(m_db.value(row, "osszeg").toDouble(), 0.0);
    QCOMPARE(m_db.value(row, "ssz").toInt(), 0);
}

QTEST_MAIN(TestVoucherForm)
#include "test_voucherform.moc"

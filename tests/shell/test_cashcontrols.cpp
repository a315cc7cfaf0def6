#include "ledgermodel.h"
#include "maindialogs.h"
#include "testdatabase.h"
#include "tfrm_main.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QTableView>
#include <QtTest>

// The till's cash limit in the main window: shown beside the balance, warned of after a booking or a day closing
// that leaves the till above it.
class TestCashControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void init();
    void cleanup() { m_db.close(); }

    void bookingAboveTheLimitWarns_data();
    void bookingAboveTheLimitWarns();
    void monthlyPaymentsAboveTheLimitWarn_data();
    void monthlyPaymentsAboveTheLimitWarn();

private:
    qint64 insert(const QString &table, const QVariantMap &values) { return m_db.engine->insert(table, values); }
    qint64 pending(const QString &kibe, double amount)
    {
        const bool receipt = kibe == QLatin1String("B");
        return insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                                  {QStringLiteral("kasszatip"), 1},
                                                  {QStringLiteral("ugyfel"), 1},
                                                  {QStringLiteral("kibe"), kibe},
                                                  {QStringLiteral("kiadva"), QStringLiteral("N")},
                                                  {QStringLiteral("lezarva"), QStringLiteral("N")},
                                                  {QStringLiteral("elszamol_kell"), QStringLiteral("N")},
                                                  {QStringLiteral("osszeg"), amount},
                                                  {QStringLiteral("dat_kiadva"), m_db.session.openDay},
                                                  {QStringLiteral("dromvelid"), 0},
                                                  {QStringLiteral("ssz"), 0},
                                                  {QStringLiteral("betujel"), receipt ? "KB" : "KK"}});
    }

    // The window on till 1 with "Kész!" pressed on the row and Yes to its question.
    std::unique_ptr<Tfrm_Main> bookInWindow(qint64 row)
    {
        auto w = std::make_unique<Tfrm_Main>(m_db.session, *m_db.engine, m_db.messages, m_dialogs);
        w->resize(1000, 600);
        w->TillSwitch(1, QStringLiteral("Főpénztár"));
        w->BalanceDisplay();
        w->grid()->setCurrentIndex(w->ledger()->index(w->ledger()->rowOfId(int(row)), 1));
        m_db.messages.answers = {true};
        w->action(QStringLiteral("aKesz"))->trigger();
        return w;
    }

    TestDatabase m_db;
    MainDialogs m_dialogs;
};

void TestCashControls::init()
{
    m_db.fresh(QStringLiteral("cashcontrols"));
    m_db.session.iniPath = QDir(m_db.folder).filePath(QStringLiteral("DromvelPro.ini"));
    m_db.session.openDay = QDate(2026, 12, 8);
    m_db.session.formatFt = QStringLiteral("### ### ##0");
    m_dialogs = MainDialogs::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs);
    m_dialogs.printChoice = {};
    m_dialogs.cashCount = {};
    m_dialogs.reports.outputChoice = [](QWidget *) { return 0; };
    m_dialogs.reports.output = [](const Report::Document &, bool, QWidget *) {};
    insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Áru eladás")}});
    insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács Péter")}});
}

void TestCashControls::bookingAboveTheLimitWarns_data()
{
    QTest::addColumn<QVariant>("limit"); // null: no limit
    QTest::addColumn<QString>("kibe");   // the voucher booked: B receipt, K payment
    QTest::addColumn<QString>("shown");  // beside the balance
    QTest::addColumn<QString>("warning");

    // The till holds 1 000 and books 250 more.
    const QString over = QStringLiteral("A kassza pénzkészlete (1 250 Ft) meghaladja a záró pénzkészlet maximumát "
                                        "(1 249 Ft).\nTúllépés: 1 Ft.");
    QTest::newRow("one forint above") << QVariant(1249.0) << "B"
                                      << "max. 1 249" << over;
    QTest::newRow("at the limit") << QVariant(1250.0) << "B"
                                  << "max. 1 250" << QString();
    QTest::newRow("one forint below") << QVariant(1251.0) << "B"
                                      << "max. 1 251" << QString();
    QTest::newRow("no limit") << QVariant() << "B"
                              << "" << QString();
    // A payment that leaves the till still above the limit warns too: 1 000 - 250 = 750.
    QTest::newRow("a payment, still above") << QVariant(749.0) << "K"
                                            << "max. 749"
                                            << QStringLiteral("A kassza pénzkészlete (750 Ft) meghaladja a záró "
                                                              "pénzkészlet maximumát (749 Ft).\nTúllépés: 1 Ft.");
}

void TestCashControls::bookingAboveTheLimitWarns()
{
    QFETCH(QVariant, limit);
    QFETCH(QString, kibe);
    QFETCH(QString, shown);
    QFETCH(QString, warning);
    insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")},
                                      {QStringLiteral("valuta"), QStringLiteral("HUF")},
                                      {QStringLiteral("zaro_max"), limit}});
    insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                       {QStringLiteral("kibe"), QStringLiteral("B")},
                                       {QStringLiteral("kiadva"), QStringLiteral("I")},
                                       {QStringLiteral("lezarva"), QStringLiteral("N")},
                                       {QStringLiteral("dromvelid"), 1},
                                       {QStringLiteral("zaro"), 1000.0},
                                       {QStringLiteral("bevetel"), 1000.0}});
    const qint64 row = pending(kibe, 250);
    const qint64 saved = pending(QStringLiteral("B"), 5000);

    // Booking the voucher: the question, then the warning when the new balance is above the limit.
    const auto w = bookInWindow(row);
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("lblPenzkeszletMax"))->text(), shown);
    QStringList expected{QStringLiteral("Valóban lezárod a bizonylatot?")};
    if (!warning.isEmpty())
        expected << warning;
    QCOMPARE(m_db.messages.texts(), expected);
    if (!warning.isEmpty())
        QCOMPARE(m_db.messages.shown.last().kind, QStringLiteral("warning"));

    // The day closing that leaves the till above the limit warns again; the pending row stays out of it.
    m_db.messages.clear();
    m_db.messages.answers = {true};
    w->action(QStringLiteral("aNapLezar"))->trigger();
    expected[0] = QStringLiteral("Valóban lezárjam a napo(ka)t?");
    QCOMPARE(m_db.messages.texts(), expected);
    QVERIFY(w->ledger()->rowOfId(int(saved)) >= 0);
}

void TestCashControls::monthlyPaymentsAboveTheLimitWarn_data()
{
    QTest::addColumn<QVariant>("limit"); // the settings' monthly limit per client; null: the usual 1 500 000
    QTest::addColumn<QString>("warning");

    // Kovács Péter was paid 1 000 earlier in December (and 5 000 on 30 November); the booking pays him 250 more.
    const QString over = QStringLiteral("Kovács Péter részére 2026.12. hónapban készpénzben kifizetett összeg: "
                                        "1 250 Ft.\nEz meghaladja az ügyfelenkénti havi 1 249 Ft-os határt.");
    QTest::newRow("one forint above") << QVariant(1249.0) << over;
    QTest::newRow("at the limit") << QVariant(1250.0) << QString();
    QTest::newRow("one forint below") << QVariant(1251.0) << QString();
    QTest::newRow("no check") << QVariant(0.0) << QString();
    QTest::newRow("the usual limit") << QVariant() << QString();
}

void TestCashControls::monthlyPaymentsAboveTheLimitWarn()
{
    QFETCH(QVariant, limit);
    QFETCH(QString, warning);
    m_db.engine->exec(QStringLiteral("UPDATE beallit SET kpfizetes_havi = %1;")
                          .arg(limit.isNull() ? QStringLiteral("NULL") : limit.toString()));
    insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    const auto booked = [this](int id, const char *kibe, const QDate &day, double amount, double zaro) {
        const bool receipt = qstrcmp(kibe, "B") == 0;
        insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                           {QStringLiteral("ugyfel"), 1},
                                           {QStringLiteral("kibe"), QString::fromLatin1(kibe)},
                                           {QStringLiteral("kiadva"), QStringLiteral("I")},
                                           {QStringLiteral("lezarva"), QStringLiteral("N")},
                                           {QStringLiteral("dromvelid"), id},
                                           {QStringLiteral("dat_kiadva"), day},
                                           {QStringLiteral("osszeg"), amount},
                                           {QStringLiteral("bevetel"), receipt ? amount : 0.0},
                                           {QStringLiteral("kiadas"), receipt ? 0.0 : amount},
                                           {QStringLiteral("zaro"), zaro}});
    };
    booked(1, "B", QDate(2026, 11, 2), 20000, 20000);
    booked(2, "K", QDate(2026, 11, 30), 5000, 15000);
    booked(3, "K", QDate(2026, 12, 1), 1000, 14000);
    const qint64 row = pending(QStringLiteral("K"), 250);

    const auto w = bookInWindow(row);
    QStringList expected{QStringLiteral("Valóban lezárod a bizonylatot?")};
    if (!warning.isEmpty())
        expected << warning;
    QCOMPARE(m_db.messages.texts(), expected);
    QCOMPARE(w->balanceText(), QStringLiteral("13 750"));
}

QTEST_MAIN(TestCashControls)
#include "test_cashcontrols.moc"

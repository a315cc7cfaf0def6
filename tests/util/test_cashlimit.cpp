#include "cashlimit.h"

#include <QtTest>

// The cash limit of a till: what is above it, and the warning a booking or a closing gives.
class TestCashLimit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void excessAndWarning_data();
    void excessAndWarning();
};

void TestCashLimit::excessAndWarning_data()
{
    QTest::addColumn<double>("balance");
    QTest::addColumn<QVariant>("limit"); // null: the till has no limit
    QTest::addColumn<QString>("currency");
    QTest::addColumn<double>("excess");
    QTest::addColumn<QString>("warning");

    const QVariant limit(200000.0);
    QTest::newRow("one forint below") << 199999.0 << limit << "HUF" << 0.0 << QString();
    QTest::newRow("at the limit") << 200000.0 << limit << "HUF" << 0.0 << QString();
    QTest::newRow("one forint above")
        << 200001.0 << limit << "HUF" << 1.0
        << "A kassza pénzkészlete (200 001 Ft) meghaladja a záró pénzkészlet maximumát (200 000 Ft).\nTúllépés: 1 Ft.";
    QTest::newRow("no limit") << 9999999.0 << QVariant() << "HUF" << 0.0 << QString();
    // Fillérs are shown when some amount has them.
    QTest::newRow("a limit of 0") << 0.01 << QVariant(0.0) << "" << 0.01
                                  << "A kassza pénzkészlete (0,01 Ft) meghaladja a záró pénzkészlet maximumát "
                                     "(0,00 Ft).\nTúllépés: 0,01 Ft.";
    // Sums of many amounts carry binary noise; it is not an excess.
    QTest::newRow("noise at the limit") << 0.1 + 0.2 << QVariant(0.3) << "HUF" << 0.0 << QString();
    QTest::newRow("another currency, a cent above")
        << 500.01 << QVariant(500.0) << "EUR" << 0.01
        << "A kassza pénzkészlete (500,01 EUR) meghaladja a záró pénzkészlet maximumát (500,00 EUR).\n"
           "Túllépés: 0,01 EUR.";
}

void TestCashLimit::excessAndWarning()
{
    QFETCH(double, balance);
    QFETCH(QVariant, limit);
    QFETCH(QString, currency);
    QFETCH(double, excess);
    QFETCH(QString, warning);
    const std::optional<double> max = limit.isNull() ? std::nullopt : std::optional<double>(limit.toDouble());
    QCOMPARE(CashLimitExcess(balance, max), excess);
    QCOMPARE(CashLimitWarning(balance, max, currency), warning);
}

QTEST_GUILESS_MAIN(TestCashLimit)
#include "test_cashlimit.moc"

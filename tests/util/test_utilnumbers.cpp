#include "util.h"

#include <QtTest>
#include <limits>

class TestUtilNumbers : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void formatFloat_data();
    void formatFloat();
    void parseAmount_data();
    void parseAmount();
    void valueOr();
};

static const QLocale Hungarian(QLocale::Hungarian, QLocale::Hungary);

void TestUtilNumbers::formatFloat_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const QString money = QStringLiteral("### ### ##0");
    const QString cents = QStringLiteral("### ### ##0.00");
    const QLocale c = QLocale::c();
    QTest::newRow("one digit drops group blanks") << Hungarian << money << 5.0 << "5";
    QTest::newRow("zero keeps forced place") << Hungarian << money << 0.0 << "0";
    QTest::newRow("millions") << Hungarian << money << 1234567.0 << "1 234 567";
    QTest::newRow("thousands") << Hungarian << money << 12345.0 << "12 345";
    QTest::newRow("more digits than places") << Hungarian << money << 1234567890.0 << "1234 567 890";
    QTest::newRow("negative") << Hungarian << money << -1234.0 << "-1 234";
    QTest::newRow("half rounds away from zero") << Hungarian << QStringLiteral("##0") << 2.5 << "3";
    QTest::newRow("negative half") << Hungarian << QStringLiteral("##0") << -2.5 << "-3";
    QTest::newRow("no minus zero") << Hungarian << cents << -0.004 << "0,00";
    QTest::newRow("cents comma") << Hungarian << cents << 1234.5 << "1 234,50";
    QTest::newRow("cents point") << c << cents << 1234.5 << "1 234.50";
    QTest::newRow("decimal half") << c << QStringLiteral("0.00") << 0.125 << "0.13";
    QTest::newRow("binary 1.005") << c << QStringLiteral("0.00") << 1.005 << "1.01";
    QTest::newRow("carry through nines") << c << QStringLiteral("0.00") << 999.996 << "1000.00";
    QTest::newRow("tiny rounds up") << c << QStringLiteral("0.00") << 0.006 << "0.01";
    QTest::newRow("padded") << c << QStringLiteral("00000") << 12.0 << "00012";
    QTest::newRow("padding overflows") << c << QStringLiteral("00000") << 1234567.0 << "1234567";
    QTest::newRow("optional decimals") << c << QStringLiteral("0.##") << 5.0 << "5";
    QTest::newRow("optional decimals used") << c << QStringLiteral("0.##") << 5.1 << "5.1";
    QTest::newRow("suffix literal") << Hungarian << QStringLiteral("# ##0 'Ft'") << 5.0 << "5 Ft";
    QTest::newRow("grouping comma") << c << QStringLiteral("#,##0") << 1234567.0 << "1,234,567";
    QTest::newRow("negative section") << c << QStringLiteral("0;(0)") << -7.0 << "(7)";
    QTest::newRow("zero section") << c << QStringLiteral("0;-0;'nincs'") << 0.2 << "nincs";
    QTest::newRow("general comma") << Hungarian << QString() << 1234.5 << "1234,5";
    QTest::newRow("general point") << c << QString() << 1234.5 << "1234.5";
    QTest::newRow("general integer") << c << QString() << -20.0 << "-20";
    QTest::newRow("general 15 digits") << c << QString() << 0.1 + 0.2 << "0.3";
    QTest::newRow("general small") << c << QString() << 0.00012 << "0.00012";
    QTest::newRow("general huge") << c << QString() << 1.5e20 << "1.5E20";
    QTest::newRow("nan") << c << QString() << std::numeric_limits<double>::quiet_NaN() << "NAN";
}

void TestUtilNumbers::formatFloat()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QLocale::setDefault(locale);
    QCOMPARE(FormatFloat(pattern, value), expected);
}

void TestUtilNumbers::parseAmount_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    const QLocale c = QLocale::c();
    QTest::newRow("blank dropped, comma") << Hungarian << "1 234,5" << 1234.5;
    QTest::newRow("point taken as comma") << Hungarian << "12.75" << 12.75;
    QTest::newRow("comma taken as point") << c << "12,75" << 12.75;
    QTest::newRow("currency text dropped") << c << "  -300 Ft " << -300.0;
    QTest::newRow("two marks") << Hungarian << "1.234,5" << 0.0;
    QTest::newRow("letters") << Hungarian << "abc" << 0.0;
    QTest::newRow("empty") << Hungarian << "" << 0.0;
    QTest::newRow("blanks") << c << "   " << 0.0;
}

void TestUtilNumbers::parseAmount()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(double, expected);
    QLocale::setDefault(locale);
    QCOMPARE(ParseAmount(text), expected);
}

void TestUtilNumbers::valueOr()
{
    QCOMPARE(ValueOr(QVariant(), QStringLiteral("x")), QStringLiteral("x"));
    QCOMPARE(ValueOr(QVariant(QMetaType::fromType<int>()), 7), 7);
    QCOMPARE(ValueOr(QVariant(QMetaType::fromType<double>()), 1.5), 1.5);
    QCOMPARE(ValueOr(QVariant(QMetaType::fromType<qlonglong>()), qint64(9)), qint64(9));
    QCOMPARE(ValueOr(QVariant(42), QString()), QStringLiteral("42"));
    QCOMPARE(ValueOr(QVariant(QStringLiteral("12")), 0), 12);
    QCOMPARE(ValueOr(QVariant(2.25), 0.0), 2.25);
    QCOMPARE(ValueOr(QVariant(Q_INT64_C(5000000000)), qint64(0)), Q_INT64_C(5000000000));
}

QTEST_GUILESS_MAIN(TestUtilNumbers)
#include "test_utilnumbers.moc"

#include "util.h"

#include <QtTest>

class TestUtilText : public QObject
{
    Q_OBJECT

private slots:
    void nthField_data();
    void nthField();
    void safeFileName_data();
    void safeFileName();
    void joinLines_data();
    void joinLines();
    void smallRoutines();
    void recordPosition_data();
    void recordPosition();
};

void TestUtilText::nthField_data()
{
    QTest::addColumn<QString>("delimiters");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << ";"
                           << "a;;c" << 1 << "a";
    QTest::newRow("empty between") << ";"
                                   << "a;;c" << 2 << "";
    QTest::newRow("last") << ";"
                          << "a;;c" << 3 << "c";
    QTest::newRow("beyond") << ";"
                            << "a;;c" << 4 << "";
    QTest::newRow("zero") << ";"
                          << "a;;c" << 0 << "";
    QTest::newRow("any delimiter of the set") << ";|"
                                              << "x|y;z" << 3 << "z";
    QTest::newRow("no delimiter") << ";"
                                  << "whole" << 1 << "whole";
    QTest::newRow("after trailing delimiter") << ";"
                                              << "a;" << 2 << "";
}

void TestUtilText::nthField()
{
    QFETCH(QString, delimiters);
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(NthField(delimiters, text, n), expected);
}

void TestUtilText::safeFileName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("colon and blank") << "Kassza: 1"
                                     << "kassza--1";
    QTest::newRow("every hyphenated mark") << "a !\"#%&'*+/:?@\\b"
                                           << "a--------------b";
    QTest::newRow("kept marks") << "A_b-c.(1)$"
                                << "a_b-c.(1)$";
    QTest::newRow("accented letters") << "Pénztár ÁŐű"
                                      << "p_nzt_r-___";
    QTest::newRow("outside the code page") << "x€y漢"
                                           << "x€y_";
}

void TestUtilText::safeFileName()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(SafeFileName(text), expected);
}

void TestUtilText::joinLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("lf") << "a\nb\nc"
                        << " "
                        << "a b c";
    QTest::newRow("crlf and trailing break") << "a\r\nb\r\n"
                                             << ";"
                                             << "a;b";
    QTest::newRow("empty line kept") << "a\n\nb"
                                     << ";"
                                     << "a;;b";
    QTest::newRow("single line") << "abc"
                                 << ";"
                                 << "abc";
    QTest::newRow("empty") << ""
                           << ";"
                           << "";
    QTest::newRow("long separator") << "a\nb"
                                    << ", "
                                    << "a, b";
    QTest::newRow("no separator") << "a\nb"
                                  << ""
                                  << "ab";
}

void TestUtilText::joinLines()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(JoinLines(text, separator), expected);
}

void TestUtilText::smallRoutines()
{
    QCOMPARE(ReplaceChar(QStringLiteral("a\nb\nc"), QLatin1Char('\n'), QLatin1Char(' ')), QStringLiteral("a b c"));
    QCOMPARE(ReplaceChar(QVariant(12.5), QLatin1Char('.'), QLatin1Char(',')), QStringLiteral("12,5"));
    QCOMPARE(ReplaceChar(QVariant(), QLatin1Char('a'), QLatin1Char('b')), QString());
    QCOMPARE(ReplaceChar(QVariant(QMetaType::fromType<QString>()), QLatin1Char('a'), QLatin1Char('b')), QString());

    QCOMPARE(RemoveChar(QLatin1Char('&'), QStringLiteral("&Fájl && más")), QStringLiteral("Fájl  más"));
    QCOMPARE(CountChar(QLatin1Char(';'), QStringLiteral("select 1; select 2;")), 2);
    QCOMPARE(CountChar(QLatin1Char(';'), QString()), 0);

    QCOMPARE(Choose(1, QStringLiteral("egy"), QStringLiteral("más")), QStringLiteral("egy"));
    QCOMPARE(Choose(2, 10, 20), 20);
    QCOMPARE(Choose(0, 10, 20), 20);
}

void TestUtilText::recordPosition_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("expected");
    QTest::newRow("third of fifteen") << 15 << 2 << "15: 3";
    QTest::newRow("no current row") << 15 << -1 << "15: 0";
    QTest::newRow("empty") << 0 << -1 << "0: 0";
}

void TestUtilText::recordPosition()
{
    QFETCH(int, rows);
    QFETCH(int, current);
    QFETCH(QString, expected);
    QCOMPARE(RecordPositionText(rows, current), expected);
}

QTEST_GUILESS_MAIN(TestUtilText)
#include "test_utiltext.moc"

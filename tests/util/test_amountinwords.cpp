#include "util.h"

#include <QtTest>

class TestAmountInWords : public QObject
{
    Q_OBJECT

private slots:
    void words_data();
    void words();
};

void TestAmountInWords::words_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    const struct
    {
        double value;
        const char *words;
    } rows[] = {
        {0, "nulla"},
        {1, "egy"},
        {2, "kettő"},
        {10, "tíz"},
        {11, "tizenegy"},
        {20, "húsz"},
        {21, "huszonegy"},
        {100, "egyszáz"},
        {110, "egyszáztíz"},
        {999, "kilencszázkilencvenkilenc"},
        {1000, "egyezer "},
        {1010, "egyezer tíz"},
        {1999, "egyezer kilencszázkilencvenkilenc"},
        {2000, "kettőezer "},
        {10000, "tízezer"},
        {10500, "tízezerötszáz"},
        {15000, "tizenötezer "},
        {20000, "húszezer"},
        {100000, "egyszázezer"},
        {100500, "egyszázezerötszáz"},
        {123456, "egyszázhuszonháromezer négyszázötvenhat"},
        {1000000, "egymillió "},
        {2345678, "kettőmillió háromszáznegyvenötezer hatszázhetvennyolc"},
        {10000000, "tízmillió"},
        {12000000, "tizenkettőmillió "},
        {20000000, "húszmillió"},
        {100200000, "egyszázmilliókettőszázezer"},
        {1500000000, "egymilliárdötszázmillió"},
        {2147483647, "kettőmilliárdegyszáznegyvenhétmillió négyszáznyolcvanháromezer hatszáznegyvenhét"},
        {-10, "mínusz tíz"},
        {-150, "mínusz egyszázötven"},
        // Rounding: positive halves up, negative halves to an even magnitude.
        {1234.5, "egyezer kettőszázharmincöt"},
        {0.5, "egy"},
        {2.5, "három"},
        {3.5, "négy"},
        {2.4, "kettő"},
        {2.6, "három"},
        {-0.4, "nulla"},
        {-2.5, "mínusz kettő"},
        {-3.5, "mínusz négy"},
        // Beyond 32 bits "milliárd" takes tens and hundreds like "millió".
        {10000000000.0, "tízmilliárd"},
        {325000000000.0, "háromszázhuszonötmilliárd"},
        {1e12, ""},
        {-1e15, ""},
    };
    for (const auto &row : rows)
        QTest::addRow("%.1f", row.value) << row.value << QString::fromUtf8(row.words);
}

void TestAmountInWords::words()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(AmountInWords(value), expected);
}

QTEST_GUILESS_MAIN(TestAmountInWords)
#include "test_amountinwords.moc"

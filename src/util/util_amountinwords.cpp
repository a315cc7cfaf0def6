#include "util.h"

#include <array>
#include <cmath>

namespace {

const std::array<QString, 10> &Ones()
{
    static const std::array<QString, 10> words = {QString(),
                                                  QStringLiteral("egy"),
                                                  QStringLiteral("kettő"),
                                                  QStringLiteral("három"),
                                                  QStringLiteral("négy"),
                                                  QStringLiteral("öt"),
                                                  QStringLiteral("hat"),
                                                  QStringLiteral("hét"),
                                                  QStringLiteral("nyolc"),
                                                  QStringLiteral("kilenc")};
    return words;
}

const std::array<QString, 10> &Tens()
{
    static const std::array<QString, 10> words = {QString(),
                                                  QStringLiteral("tizen"),
                                                  QStringLiteral("huszon"),
                                                  QStringLiteral("harminc"),
                                                  QStringLiteral("negyven"),
                                                  QStringLiteral("ötven"),
                                                  QStringLiteral("hatvan"),
                                                  QStringLiteral("hetven"),
                                                  QStringLiteral("nyolcvan"),
                                                  QStringLiteral("kilencven")};
    return words;
}

constexpr qint64 Largest = 999'999'999'999;

// Positive halves round up; a negative half keeps ties-to-even on its magnitude (-2.5 is "mínusz kettő"), which
// is how the printed vouchers have always read.
qint64 RoundedMagnitude(double value)
{
    const double magnitude = std::fabs(value);
    double n = std::floor(magnitude);
    const double rest = magnitude - n;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(n, 2.0) != 0))
        n += 1;
    if (value - n == 0.5)
        n += 1;
    return qint64(n);
}

// Puts one group of three digits (thousands, millions, billions) in front of the words built so far.
void AddGroup(QString &words, int ones, int tens, int hundreds, const QString &unit, bool blankAfterOnes)
{
    const QString onesUnit = blankAfterOnes ? unit + QLatin1Char(' ') : unit;
    if (ones != 0)
        words = Ones()[ones] + onesUnit + words;
    if (tens != 0)
        words = words.contains(unit) ? Tens()[tens] + words : Tens()[tens] + unit + words;
    if (hundreds != 0) {
        words = Ones()[hundreds] + QStringLiteral("száz") + words;
        if (!words.contains(unit)) {
            const qsizetype at = words.indexOf(QStringLiteral("száz")) + 4;
            words.insert(at, unit);
        }
    }
}

} // namespace

QString AmountInWords(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > double(Largest) + 0.5)
        return {};
    qint64 n = RoundedMagnitude(value);
    if (n > Largest)
        return {};
    if (n == 0)
        return QStringLiteral("nulla");

    int digit[12] = {};
    for (int &d : digit) {
        d = int(n % 10);
        n /= 10;
    }

    QString words = Ones()[digit[0]];
    words = Tens()[digit[1]] + words;
    if (digit[2] != 0)
        words = Ones()[digit[2]] + QStringLiteral("száz") + words;
    AddGroup(words, digit[3], digit[4], digit[5], QStringLiteral("ezer"), true);
    AddGroup(words, digit[6], digit[7], digit[8], QStringLiteral("millió"), true);
    // Billions carry no blank after their ones digit.
    AddGroup(words, digit[9], digit[10], digit[11], QStringLiteral("milliárd"), false);

    words.replace(QStringLiteral("tizenezer"), QStringLiteral("tízezer"));
    words.replace(QStringLiteral("huszonezer"), QStringLiteral("húszezer"));
    words.replace(QStringLiteral("tizenmillió"), QStringLiteral("tízmillió"));
    words.replace(QStringLiteral("huszonmillió"), QStringLiteral("húszmillió"));
    words.replace(QStringLiteral("tizenmilliárd"), QStringLiteral("tízmilliárd"));
    words.replace(QStringLiteral("huszonmilliárd"), QStringLiteral("húszmilliárd"));
    if (words.endsWith(QStringLiteral("huszon")))
        words = words.left(words.size() - 6) + QStringLiteral("húsz");
    if (words.endsWith(QStringLiteral("tizen")))
        words = words.left(words.size() - 5) + QStringLiteral("tíz");

    return value < 0 ? QStringLiteral("mínusz ") + words : words;
}

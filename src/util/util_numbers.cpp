#include "util.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

bool IsNull(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// A non-negative value as decimal digits: value = 0.digits * 10^pointPos, taken to 15 significant digits so that
// money computed in binary (1.005, 0.1 + 0.2) rounds the way it reads.
struct DecimalDigits
{
    QString digits; // no leading zero; empty for zero
    int pointPos = 0;
};

DecimalDigits ToDecimal(double magnitude)
{
    DecimalDigits d;
    if (magnitude == 0)
        return d;
    // "d.ddddddddddddddde+XX"
    const QString text = QString::number(magnitude, 'e', 14);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    d.digits = text.left(e).remove(QLatin1Char('.'));
    d.pointPos = text.mid(e + 1).toInt() + 1;
    return d;
}

// Rounds half away from zero to `decimals` places; gives the integer digits (no leading zeros, empty for 0) and
// exactly `decimals` fraction digits.
void RoundTo(double magnitude, int decimals, QString &integerPart, QString &fraction)
{
    DecimalDigits d = ToDecimal(magnitude);
    integerPart.clear();
    fraction = QString(decimals, QLatin1Char('0'));
    // Digits kept from the first significant one; below 0 even the rounding digit is a leading zero.
    const qsizetype keep = qsizetype(d.pointPos) + decimals;
    if (d.digits.isEmpty() || keep < 0)
        return;
    QString kept = d.digits.left(keep);
    if (keep < d.digits.size() && d.digits.at(keep) >= QLatin1Char('5')) {
        qsizetype i = kept.size() - 1;
        for (; i >= 0 && kept.at(i) == QLatin1Char('9'); --i)
            kept[i] = QLatin1Char('0');
        if (i >= 0) {
            kept[i] = QChar(kept.at(i).unicode() + 1);
        } else {
            kept.prepend(QLatin1Char('1'));
            ++d.pointPos;
        }
    }
    if (kept.isEmpty())
        return;
    kept += QString(std::max<qsizetype>(0, qsizetype(d.pointPos) + decimals - kept.size()), QLatin1Char('0'));
    if (d.pointPos > 0) {
        integerPart = kept.left(d.pointPos);
        fraction = kept.mid(d.pointPos);
    } else {
        fraction = QString(-d.pointPos, QLatin1Char('0')) + kept;
    }
}

QString GeneralFormat(double value)
{
    const QLocale locale;
    const QString point = locale.decimalPoint();
    const DecimalDigits d = ToDecimal(std::fabs(value));
    if (d.digits.isEmpty())
        return QStringLiteral("0");
    QString digits = d.digits;
    while (digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    const int exponent = d.pointPos - 1;
    QString text;
    if (exponent >= -5 && exponent < 15) {
        if (d.pointPos <= 0) {
            text = QLatin1Char('0') + point + QString(-d.pointPos, QLatin1Char('0')) + digits;
        } else if (d.pointPos >= digits.size()) {
            text = digits + QString(d.pointPos - digits.size(), QLatin1Char('0'));
        } else {
            text = digits.left(d.pointPos) + point + digits.mid(d.pointPos);
        }
    } else {
        text = digits.left(1);
        if (digits.size() > 1)
            text += point + digits.mid(1);
        text += QLatin1Char('E') + QString::number(exponent);
    }
    return value < 0 ? QLatin1Char('-') + text : text;
}

struct Token
{
    enum Kind { Zero, Hash, Point, Literal } kind;
    QString text; // literal text
};

struct Section
{
    QList<Token> tokens;
    bool grouping = false;
};

QList<QString> SplitSections(const QString &pattern)
{
    QList<QString> sections;
    QString current;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

Section ParseSection(const QString &text)
{
    Section s;
    bool seenPoint = false;
    auto addLiteral = [&](const QString &literal) {
        if (!s.tokens.isEmpty() && s.tokens.last().kind == Token::Literal)
            s.tokens.last().text += literal;
        else
            s.tokens.append(Token{Token::Literal, literal});
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('0')) {
            s.tokens.append(Token{Token::Zero, {}});
        } else if (c == QLatin1Char('#')) {
            s.tokens.append(Token{Token::Hash, {}});
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            s.tokens.append(Token{Token::Point, {}});
        } else if (c == QLatin1Char('.')) {
            // A second point is not a separator.
        } else if (c == QLatin1Char(',')) {
            s.grouping = true;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = text.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? text.size() : end;
            addLiteral(text.mid(i + 1, stop - i - 1));
            i = stop;
        } else {
            addLiteral(QString(c));
        }
    }
    return s;
}

bool HasDigitPlaces(const Section &s)
{
    for (const Token &t : s.tokens)
        if (t.kind == Token::Zero || t.kind == Token::Hash)
            return true;
    return false;
}

// Formats the magnitude with one section; `isZero` tells whether it rounded to zero.
QString FormatSection(const Section &s, double magnitude, bool &isZero)
{
    const QLocale locale;
    qsizetype intPlaces = 0, firstForced = -1, fracPlaces = 0, minFrac = 0, firstPlace = -1, lastPlace = -1;
    bool afterPoint = false;
    for (qsizetype i = 0; i < s.tokens.size(); ++i) {
        const Token &t = s.tokens.at(i);
        if (t.kind == Token::Point) {
            afterPoint = true;
            continue;
        }
        if (t.kind == Token::Literal)
            continue;
        if (firstPlace < 0)
            firstPlace = i;
        lastPlace = i;
        if (afterPoint) {
            ++fracPlaces;
            if (t.kind == Token::Zero)
                minFrac = fracPlaces;
        } else {
            if (t.kind == Token::Zero && firstForced < 0)
                firstForced = intPlaces;
            ++intPlaces;
        }
    }

    QString integerPart, fraction;
    RoundTo(magnitude, int(fracPlaces), integerPart, fraction);
    isZero = integerPart.isEmpty() && fraction.count(QLatin1Char('0')) == fraction.size();
    while (fraction.size() > minFrac && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    // Integer digits right-aligned on the places; places before the first forced one stay empty unless used.
    const qsizetype forcedCount = firstForced < 0 ? 0 : intPlaces - firstForced;
    const qsizetype shown = std::max(integerPart.size(), forcedCount);
    const QString digits = QString(shown - integerPart.size(), QLatin1Char('0')) + integerPart;
    const qsizetype excess = std::max<qsizetype>(0, shown - intPlaces);
    const QString group = locale.groupSeparator();

    QString out;
    qsizetype emitted = 0; // integer digits written
    bool printed = false;  // any digit written yet
    auto emitIntegerDigit = [&](QChar digit) {
        out += digit;
        ++emitted;
        printed = true;
        const qsizetype remaining = shown - emitted;
        if (s.grouping && remaining > 0 && remaining % 3 == 0)
            out += group;
    };

    qsizetype intPlace = 0, fracPlace = 0;
    afterPoint = false;
    for (qsizetype i = 0; i < s.tokens.size(); ++i) {
        const Token &t = s.tokens.at(i);
        switch (t.kind) {
        case Token::Literal:
            if (i < firstPlace || i > lastPlace || printed)
                out += t.text;
            break;
        case Token::Point:
            afterPoint = true;
            if (intPlaces == 0)
                for (QChar c : digits)
                    emitIntegerDigit(c);
            if (!fraction.isEmpty())
                out += locale.decimalPoint();
            break;
        case Token::Zero:
        case Token::Hash:
            if (afterPoint) {
                if (fracPlace < fraction.size()) {
                    out += fraction.at(fracPlace);
                    printed = true;
                }
                ++fracPlace;
            } else {
                if (intPlace == 0)
                    for (qsizetype k = 0; k < excess; ++k)
                        emitIntegerDigit(digits.at(k));
                // Place p shows digit p - (intPlaces - shown) of the right-aligned number.
                const qsizetype index = intPlace - (intPlaces - shown);
                if (index >= excess && index < shown)
                    emitIntegerDigit(digits.at(index));
                ++intPlace;
            }
            break;
        }
    }
    return out;
}

} // namespace

QString ValueOr(const QVariant &value, const QString &defaultValue)
{
    return IsNull(value) ? defaultValue : value.toString();
}

int ValueOr(const QVariant &value, int defaultValue)
{
    return IsNull(value) ? defaultValue : value.toInt();
}

qint64 ValueOr(const QVariant &value, qint64 defaultValue)
{
    return IsNull(value) ? defaultValue : value.toLongLong();
}

double ValueOr(const QVariant &value, double defaultValue)
{
    return IsNull(value) ? defaultValue : value.toDouble();
}

double ParseAmount(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    QString kept;
    for (QChar c : trimmed) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char(',') || c == QLatin1Char('-') ||
            c == QLatin1Char('.'))
            kept += c;
    }
    const QLocale locale;
    const QString point = locale.decimalPoint();
    if (point == QLatin1String("."))
        kept.replace(QLatin1Char(','), QLatin1Char('.'));
    else
        kept.replace(QLatin1String("."), point);
    bool ok = false;
    const double value = locale.toDouble(kept, &ok);
    return ok ? value : 0;
}

QString FormatFloat(const QString &pattern, double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const QList<QString> texts = SplitSections(pattern);
    QList<Section> sections;
    for (const QString &t : texts)
        sections.append(ParseSection(t));
    if (sections.isEmpty() || !HasDigitPlaces(sections.first()))
        return GeneralFormat(value == 0 ? 0.0 : value);

    // A value that rounds to zero takes the zero section, else the positive one: never "-0".
    const bool negative = value < 0;
    const bool ownNegative = negative && sections.size() > 1 && !texts.at(1).isEmpty();
    bool isZero = false;
    const QString text = FormatSection(ownNegative ? sections.at(1) : sections.first(), std::fabs(value), isZero);
    if (isZero) {
        if (sections.size() > 2 && !texts.at(2).isEmpty())
            return FormatSection(sections.at(2), 0.0, isZero);
        return FormatSection(sections.first(), 0.0, isZero);
    }
    return negative && !ownNegative ? QLatin1Char('-') + text : text;
}

#include "fuzztext.h"
#include "util.h"

#include <cmath>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// The text of a money pattern read back: its blanks and group separators dropped, the decimal comma as a point.
double ReadBack(QString text)
{
    text.remove(QLocale().groupSeparator());
    text.remove(QLatin1Char(' '));
    text.replace(QLocale().decimalPoint(), QLatin1String("."));
    bool ok = false;
    const double value = text.toDouble(&ok);
    Require(ok, "the text of a money pattern reads as a number");
    return value;
}

// Rounding to 15 significant digits moves a value by at most half a unit in its fifteenth digit, and the
// decimals of the pattern by at most half of their last place.
bool Near(double read, double value, int decimals)
{
    const double digitSlack = std::fabs(value) * 1e-14;
    return std::fabs(read - value) <= 0.5 * std::pow(10.0, -decimals) + digitSlack + 1e-300;
}

} // namespace

// Any pattern a user may type into the amount format setting, with any value, formats without fault; the money
// patterns of the program and the general form read back as the value they were given.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    UseHungarianNumbers();
    FuzzedDataProvider input(data, size);
    double value;
    if (input.ConsumeBool()) {
        const auto bits = input.ConsumeIntegral<quint64>();
        std::memcpy(&value, &bits, sizeof value);
    } else {
        value = input.ConsumeFloatingPointInRange<double>(-1e16, 1e16);
    }
    const std::string patternBytes = input.ConsumeRemainingBytesAsString();
    const QString pattern = QString::fromUtf8(patternBytes.data(), qsizetype(patternBytes.size()));

    const QString text = FormatFloat(pattern, value);
    // Each character of the pattern prints at most once, then come the digits of the largest double (309) and
    // their group separators.
    Require(text.size() <= 2 * pattern.size() + 420, "the text stays in proportion to the pattern",
            QStringLiteral("%1 characters for a pattern of %2").arg(text.size()).arg(pattern.size()));
    if (!std::isfinite(value)) {
        Require(text == QLatin1String("NAN") || text == QLatin1String("INF") || text == QLatin1String("-INF"),
                "NaN and infinities have their names");
        return 0;
    }

    const QString general = FormatFloat(QString(), value);
    Require(!general.isEmpty(), "the general form is never empty");
    // Fifteen digits of the very largest values round beyond the largest double.
    if (std::fabs(value) > 1e300)
        return 0;
    bool ok = false;
    const double generalValue = QLocale().toDouble(general, &ok);
    const QString detail = QStringLiteral("value %1, general form \"%2\"").arg(value, 0, 'g', 17).arg(general);
    Require(ok, "the general form reads as a number", detail);
    Require(std::fabs(generalValue - value) <= std::fabs(value) * 1e-14, "the general form keeps 15 digits", detail);

    if (std::fabs(value) < 1e14) {
        const QString wholeText = FormatFloat(QStringLiteral("### ### ##0"), value);
        const double whole = ReadBack(wholeText);
        Require(Near(whole, value, 0), "whole forints read back as the value");
        Require(whole != 0 || !wholeText.startsWith(QLatin1Char('-')), "a value that rounds to zero has no sign");
        const double cents = ReadBack(FormatFloat(QStringLiteral("### ### ##0.00"), value));
        Require(Near(cents, value, 2), "two decimals read back as the value");
    }
    return 0;
}

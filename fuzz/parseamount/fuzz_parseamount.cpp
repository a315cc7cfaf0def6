#include "fuzztext.h"
#include "util.h"

#include <cmath>

// Whatever is typed or pasted into an amount field reads as a finite number, on a desktop with a decimal comma and
// on one with a decimal point; a plain run of up to 15 digits reads as itself.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = FuzzText(data, size);
    bool digitsOnly = !text.isEmpty() && text.size() <= 15;
    for (QChar c : text)
        digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    for (const QLocale &locale : {QLocale(QLocale::Hungarian, QLocale::Hungary), QLocale::c()}) {
        QLocale::setDefault(locale);
        const double value = ParseAmount(text);
        Require(std::isfinite(value), "the amount is a finite number");
        Require(!digitsOnly || value == double(text.toLongLong()), "a run of digits reads as itself");
    }
    return 0;
}

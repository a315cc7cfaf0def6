#pragma once

#include <QLocale>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The fuzzer's bytes as the text a user might type or paste: UTF-8, invalid sequences replaced.
inline QString FuzzText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The program runs with the Hungarian locale (decimal comma, blank as group separator); set once per process.
inline void UseHungarianNumbers()
{
    static const bool done = [] {
        QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
        return true;
    }();
    (void)done;
}

// Ends the run with a finding when a property of the routine does not hold; the detail says with what values.
inline void Require(bool holds, const char *what, const QString &detail = {})
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n%s\n", what, detail.toUtf8().constData());
        std::abort();
    }
}

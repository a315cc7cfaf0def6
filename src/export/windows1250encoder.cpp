#include "windows1250encoder.h"

#include "codepage.h"

#include <QString>
#include <array>

namespace {

const std::array<char, 0x10000> &Table()
{
    static const std::array<char, 0x10000> table = [] {
        std::array<char, 0x10000> t;
        t.fill('?');
        for (int b = 0; b < 0x100; ++b) {
            const QString decoded = FromWindows1250(QByteArray(1, char(b)));
            // Bytes the code page leaves unassigned decode to "?" and must not claim that character.
            if (decoded.size() == 1 && (decoded.at(0) != QLatin1Char('?') || b == '?'))
                t[decoded.at(0).unicode()] = char(b);
        }
        return t;
    }();
    return table;
}

} // namespace

Windows1250Encoder::Windows1250Encoder() : m_table(Table().data()) {}

void Windows1250Encoder::append(QByteArray &out, QStringView text) const
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *dest = out.data() + start;
    const char16_t *src = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = src[i];
        // A character beyond the basic plane is one "?", not two.
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(src[i + 1])) {
            *dest++ = '?';
            ++i;
            continue;
        }
        *dest++ = m_table[c];
    }
    out.resize(dest - out.data());
}

QByteArray Windows1250Encoder::encode(QStringView text) const
{
    QByteArray out;
    append(out, text);
    return out;
}

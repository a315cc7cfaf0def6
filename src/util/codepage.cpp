#include "codepage.h"

#include <QList>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// Converts with iconv; a character that cannot be converted is replaced and the conversion goes on. ok is
// false (and the result empty) when the converter cannot be opened.
QByteArray Convert(const char *to, const char *from, const QByteArray &input, int inputUnit,
                   const QByteArray &replacement, bool *ok)
{
    iconv_t cd = iconv_open(to, from);
    if (ok)
        *ok = cd != reinterpret_cast<iconv_t>(-1);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray out;
    out.reserve(input.size() * 2 + 16);
    char *in = const_cast<char *>(input.constData());
    size_t inLeft = size_t(input.size());
    char buffer[4096];
    while (inLeft > 0) {
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, int(sizeof buffer - outLeft));
        if (rc == size_t(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL: skip one input unit and put the replacement in its place.
            size_t skip = std::min<size_t>(size_t(inputUnit), inLeft);
            in += skip;
            inLeft -= skip;
            out.append(replacement);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

QByteArray ToWindows1250(const QString &text, bool *ok)
{
    // UTF-32 input makes one unit one character, so a replacement stands for exactly one character.
    QList<uint> ucs4 = text.toUcs4();
    QByteArray input(reinterpret_cast<const char *>(ucs4.constData()), ucs4.size() * int(sizeof(uint)));
    const char *utf32 = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-32LE" : "UTF-32BE";
    return Convert("WINDOWS-1250", utf32, input, 4, QByteArrayLiteral("?"), ok);
}

QString FromWindows1250(const QByteArray &bytes, bool *ok)
{
    return QString::fromUtf8(Convert("UTF-8", "WINDOWS-1250", bytes, 1, QByteArrayLiteral("?"), ok));
}

#include "codepage.h"
#include "fuzztext.h"
#include "ini.h"

#include <QBuffer>
#include <QStringDecoder>

namespace {

QByteArray Written(const IniFile &ini)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Require(ini.write(buffer), "an ini that was read can be written");
    return buffer.data();
}

bool IsUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes); // the decoder decodes only when its result is taken
    return !utf8.hasError();
}

const QByteArray Bom("\xEF\xBB\xBF");

IniFile Read(const QByteArray &bytes, bool *ok = nullptr)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    IniFile ini;
    const bool read = ini.read(buffer);
    if (ok)
        *ok = read;
    else
        Require(read, "the ini the program wrote reads");
    return ini;
}

void RequireSameContent(const IniFile &a, const IniFile &b)
{
    Require(a.sections() == b.sections(), "the sections survive a rewrite in their order",
            a.sections().join(QLatin1Char('|')) + QStringLiteral(" became ") + b.sections().join(QLatin1Char('|')));
    for (const QString &section : a.sections()) {
        Require(a.sectionKeys(section) == b.sectionKeys(section), "the keys survive a rewrite in their order");
        for (const QString &key : a.sectionKeys(section))
            Require(a.readString(section, key) == b.readString(section, key), "the values survive a rewrite");
    }
}

// Lines ended by CR LF, the last one too, as the program writes them.
bool CrLfLines(const QByteArray &bytes)
{
    for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1))
        if (i == 0 || bytes.at(i - 1) != '\r')
            return false;
    return bytes.isEmpty() || bytes.endsWith('\n');
}

} // namespace

// Whatever a workstation's ini holds reads without fault; writing it back keeps every section, key and value in
// order, a second rewrite changes nothing, and a file already in the program's own form (CR LF lines, text the
// code page or UTF-8 holds without loss) is written back byte for byte. A value then written reads back as given.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    bool read = false;
    IniFile ini = Read(bytes, &read);
    // Only a file that is not text, or says it is UTF-8 and is not, may be refused.
    const bool text = !bytes.contains('\0');
    Require(read == (text && !(bytes.startsWith(Bom) && !IsUtf8(bytes.mid(Bom.size())))), "a text ini reads");
    if (!read)
        return 0;
    (void)ini.readInt(QStringLiteral("Beallit"), QStringLiteral("Betumeret"), 8);
    (void)ini.readDate(QStringLiteral("Beallit"), QStringLiteral("Datum"));

    const QByteArray once = Written(ini);
    const IniFile reread = Read(once);
    RequireSameContent(ini, reread);
    Require(Written(reread) == once, "a second rewrite changes nothing");

    // A second byte-order mark after the first is dropped on reading (it would spoil the first section's name).
    const bool lossless = bytes.startsWith(Bom) ? !bytes.mid(Bom.size()).startsWith(Bom)
                                                : IsUtf8(bytes) || ToWindows1250(FromWindows1250(bytes)) == bytes;
    if (CrLfLines(bytes) && lossless)
        Require(once == bytes, "a file in the program's own form is written back unchanged",
                QString::fromLatin1(bytes.toHex(' ') + " became " + once.toHex(' ')));

    const QStringList sections = ini.sections();
    const QString section =
        sections.isEmpty() || sections.first().isEmpty() ? QStringLiteral("Beallit") : sections.first();
    const QString value = QString::fromUtf8(bytes.left(40));
    ini.writeString(section, QStringLiteral("Uj kulcs"), value);
    const IniFile changed = Read(Written(ini));
    QString oneLine = value;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QChar(0), QLatin1Char(' '));
    Require(changed.readString(section, QStringLiteral("Uj kulcs")) == oneLine.trimmed(), "a value written reads back");
    return 0;
}

#include "paradoxtable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iconv.h>

// The library's header declares its functions for C only.
extern "C" {
#include <paradox.h>
}

namespace {

// Paradox counts days from 1 January of the year 1 (day 1); Qt from the Julian day number.
constexpr qint64 JulianDayOfDayZero = 1721425;
constexpr qint64 MsPerDay = 86400000;
// A blob field ends in ten bytes of pointer, length and modification number.
constexpr int BlobTrailer = 10;

void OnPxError(pxdoc_t *, int type, const char *message, void *data)
{
    if (type != PX_Warning && data)
        static_cast<ParadoxTable *>(data)->noteError(QString::fromLocal8Bit(message).trimmed());
}

quint64 BigEndian(const unsigned char *bytes, int count)
{
    quint64 value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// Whole numbers are stored big-endian with the sign bit flipped, so that they sort as bytes; all zero bytes
// is an empty field.
QVariant WholeNumber(const unsigned char *bytes, int count)
{
    const quint64 raw = BigEndian(bytes, count);
    if (raw == 0)
        return {};
    const quint64 sign = quint64(1) << (count * 8 - 1);
    const quint64 value = raw ^ sign;
    return qint64(value & sign ? value | ~(sign * 2 - 1) : value);
}

// Floating point: positive values have the sign bit flipped, negative ones every bit.
QVariant FloatNumber(const unsigned char *bytes)
{
    unsigned char copy[8];
    std::memcpy(copy, bytes, 8);
    if (BigEndian(copy, 8) == 0)
        return {};
    if (copy[0] & 0x80) {
        copy[0] &= 0x7f;
    } else {
        for (unsigned char &b : copy)
            b = static_cast<unsigned char>(~b);
    }
    const quint64 bits = BigEndian(copy, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString CodePageName(int codePage)
{
    return codePage == 852 ? QStringLiteral("IBM852") : QStringLiteral("CP%1").arg(codePage);
}

// The characters of the bytes 0x80 .. 0xFF in the code page; a byte the code page does not define is "?".
bool FillUpperHalf(int codePage, QChar *table)
{
    iconv_t cd = iconv_open("UTF-8", CodePageName(codePage).toLatin1().constData());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    for (int b = 0x80; b <= 0xff; ++b) {
        char in = char(b);
        char out[8];
        char *inPtr = &in, *outPtr = out;
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const QString text = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1)
                                 ? QString()
                                 : QString::fromUtf8(out, int(sizeof out - outLeft));
        table[b - 0x80] = text.size() == 1 ? text.at(0) : QLatin1Char('?');
    }
    iconv_close(cd);
    return true;
}

// The memo file beside the table: same name, suffix .MB in any case.
QString MemoFile(const QString &tablePath)
{
    const QFileInfo info(tablePath);
    const QStringList found =
        info.dir().entryList({info.completeBaseName() + QStringLiteral(".mb")}, QDir::Files | QDir::Hidden);
    return found.isEmpty() ? QString() : info.dir().filePath(found.first());
}

// Dates outside the years 1 .. 9999 have no text form; they count as empty.
QDate DateOfDay(qint64 day)
{
    const QDate date = QDate::fromJulianDay(day + JulianDayOfDayZero);
    return date.isValid() && date.year() >= 1 && date.year() <= 9999 ? date : QDate();
}

bool IsBlob(int type)
{
    return type == pxfMemoBLOb || type == pxfFmtMemoBLOb || type == pxfBLOb || type == pxfOLE || type == pxfGraphic;
}

quint32 LittleEndian(const unsigned char *bytes, int count)
{
    quint32 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

// The value of a blob field (memo, binary, graphic). Its last ten bytes hold where the value lies in the memo
// file (offset | index), its size and a modification number; a short value lies in the record itself, in the
// bytes before them. In the memo file a block of type 2 holds one value after its header; a block of type 3
// holds several small ones, found through a table of five-byte entries after its twelve-byte header.
// The file is read here rather than through pxlib, whose memo reader is unsafe on some real files.
bool ReadBlob(const unsigned char *field, int length, bool graphic, QFile *memo, QByteArray &value)
{
    value.clear();
    const int leader = length - BlobTrailer;
    const quint32 place = LittleEndian(field + leader, 4);
    const quint32 size = LittleEndian(field + leader + 4, 4);
    const int header = graphic ? 17 : 9;
    const qint64 wanted = graphic ? qint64(size) - 8 : qint64(size);
    if (wanted <= 0)
        return true;
    if (wanted <= leader) {
        value = QByteArray(reinterpret_cast<const char *>(field), int(wanted));
        return true;
    }
    const qint64 offset = place & 0xffffff00u;
    const int index = int(place & 0xffu);
    if (!memo || offset == 0 || wanted > memo->size() || !memo->seek(offset))
        return false;
    const QByteArray block = memo->read(12);
    if (block.size() < 3)
        return false;
    const auto *head = reinterpret_cast<const unsigned char *>(block.constData());
    if (head[0] == 2) {
        if (index != 0xff || block.size() < 7 || LittleEndian(head + 3, 4) != size || !memo->seek(offset + header))
            return false;
        value = memo->read(wanted);
        return value.size() == wanted;
    }
    if (head[0] == 3) {
        if (!memo->seek(offset + 12 + index * 5))
            return false;
        const QByteArray entry = memo->read(5);
        if (entry.size() < 5)
            return false;
        const auto *e = reinterpret_cast<const unsigned char *>(entry.constData());
        if ((qint64(e[1]) - 1) * 16 + e[4] != qint64(size) || !memo->seek(offset + qint64(e[0]) * 16))
            return false;
        value = memo->read(size);
        if (graphic && value.size() == qint64(size))
            value.remove(0, 8);
        return value.size() == wanted;
    }
    return false;
}

quint32 LittleEndianAt(const QByteArray &bytes, qsizetype at, int count)
{
    return at + count <= bytes.size()
               ? LittleEndian(reinterpret_cast<const unsigned char *>(bytes.constData()) + at, count)
               : 0;
}

// What in the table's header would make the library misread the file or never finish opening it; empty when
// nothing does. The library follows the chain of data blocks (each starts with the number of the next one) with no
// end but a 0, so a chain that runs in a circle holds it forever; an encrypted table reads as noise, which makes
// such a circle. (Header: its size at 2, the block size in KiB at 5, the first block at 14, the encryption mark at
// 37, the version at 57; blocks are numbered from 1 after the header.)
QString HeaderProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray header = file.read(0x78);
    if (header.size() < 0x78)
        return {}; // too short for a table: the library says so
    // 0xFF00FF00 says the key stands in the data header, which only versions 4 to 7 (5 to 12 at 57) have.
    quint32 encryption = LittleEndianAt(header, 0x25, 4);
    const int version = uchar(header.at(0x39));
    if (encryption == 0xFF00FF00u && version >= 5 && version <= 12)
        encryption = LittleEndianAt(header, 0x5C, 4);
    if (encryption != 0)
        return QStringLiteral("jelszóval védett (titkosított) tábla");
    const qint64 headerSize = LittleEndianAt(header, 0x02, 2);
    const qint64 blockSize = qint64(uchar(header.at(0x05))) * 1024;
    if (blockSize == 0)
        return {};
    QSet<quint32> seen;
    for (quint32 block = LittleEndianAt(header, 0x0E, 2); block != 0;) {
        const qint64 at = headerSize + (qint64(block) - 1) * blockSize;
        if (seen.contains(block) || !file.seek(at))
            return QStringLiteral("sérült adatblokk-lánc");
        seen.insert(block);
        const QByteArray head = file.read(2);
        if (head.size() < 2)
            return QStringLiteral("sérült adatblokk-lánc");
        block = LittleEndianAt(head, 0, 2);
    }
    return {};
}

} // namespace

struct ParadoxTable::Handles
{
    pxdoc_t *doc = nullptr;
    FILE *table = nullptr;
    std::unique_ptr<QFile> memo;
    QByteArray record;

    ~Handles()
    {
        if (doc)
            PX_delete(doc);
        if (table)
            std::fclose(table);
    }
};

ParadoxTable::ParadoxTable() = default;

ParadoxTable::~ParadoxTable() = default;

void ParadoxTable::close()
{
    m_handles.reset();
    m_fields.clear();
    m_recordCount = 0;
    m_codePage = 0;
}

bool ParadoxTable::open(const QString &path)
{
    close();
    m_error = HeaderProblem(path);
    if (!m_error.isEmpty())
        return false;
    auto handles = std::make_unique<Handles>();
    handles->table = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!handles->table) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    handles->doc = PX_new3(OnPxError, nullptr, nullptr, nullptr, this);
    if (!handles->doc || PX_open_fp(handles->doc, handles->table) < 0 || !handles->doc->px_head) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("nem Paradox tábla");
        return false;
    }
    const pxhead_t *head = handles->doc->px_head;
    if (head->px_filetype != pxfFileTypIndexDB && head->px_filetype != pxfFileTypNonIndexDB) {
        m_error = QStringLiteral("nem Paradox adattábla (index vagy más fájl)");
        return false;
    }
    const int count = PX_get_num_fields(handles->doc);
    const pxfield_t *fields = PX_get_fields(handles->doc);
    int width = 0;
    bool blobs = false;
    for (int i = 0; i < count && fields; ++i) {
        const pxfield_t &f = fields[i];
        if (f.px_flen <= 0 || (IsBlob(f.px_ftype) && f.px_flen < BlobTrailer) ||
            (f.px_ftype == pxfBCD && f.px_flen < 17)) {
            m_error = QStringLiteral("sérült mezőleírás");
            return false;
        }
        width += f.px_flen;
        blobs = blobs || IsBlob(f.px_ftype);
        m_fields.append({QString::fromLatin1(f.px_fname), f.px_ftype, f.px_flen, f.px_fdc});
    }
    if (count <= 0 || !fields || width > head->px_recordsize) {
        m_fields.clear();
        m_error = QStringLiteral("sérült fejléc");
        return false;
    }
    m_codePage = head->px_doscodepage > 0 ? head->px_doscodepage : 1250;
    if (!FillUpperHalf(m_codePage, m_upperHalf) && !FillUpperHalf(1250, m_upperHalf)) {
        m_fields.clear();
        m_error = QStringLiteral("ismeretlen kódlap: %1").arg(m_codePage);
        return false;
    }
    for (ParadoxField &field : m_fields) {
        const QByteArray name = field.name.toLatin1();
        field.name.clear();
        for (char c : name)
            field.name += static_cast<unsigned char>(c) < 0x80 ? QChar::fromLatin1(c)
                                                               : m_upperHalf[static_cast<unsigned char>(c) - 0x80];
    }
    const QString memo = blobs ? MemoFile(path) : QString();
    if (!memo.isEmpty()) {
        handles->memo = std::make_unique<QFile>(memo);
        if (!handles->memo->open(QIODevice::ReadOnly)) {
            m_fields.clear();
            m_error = QStringLiteral("a memófájl nem olvasható: %1").arg(QFileInfo(memo).fileName());
            return false;
        }
    }
    m_recordCount = std::max(0, PX_get_num_records(handles->doc));
    handles->record.resize(head->px_recordsize);
    m_handles = std::move(handles);
    return true;
}

bool ParadoxTable::record(int n, QVariantList &values)
{
    values.clear();
    if (!m_handles || n < 0 || n >= m_recordCount) {
        m_error = QStringLiteral("nincs %1. rekord").arg(n + 1);
        return false;
    }
    pxdoc_t *doc = m_handles->doc;
    char *data = m_handles->record.data();
    std::memset(data, 0, size_t(m_handles->record.size()));
    if (!PX_get_record(doc, n, data)) {
        m_error = QStringLiteral("a(z) %1. rekord nem olvasható").arg(n + 1);
        return false;
    }
    auto text = [this](const char *bytes, int size) {
        QString result;
        result.reserve(size);
        for (int i = 0; i < size && bytes[i] != '\0'; ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            result += b < 0x80 ? QChar(b) : m_upperHalf[b - 0x80];
        }
        return result.isEmpty() ? QVariant() : QVariant(result);
    };
    int offset = 0;
    for (const ParadoxField &field : m_fields) {
        char *at = data + offset;
        const auto *bytes = reinterpret_cast<const unsigned char *>(at);
        offset += field.length;
        switch (field.type) {
        case pxfAlpha:
            values.append(text(at, field.length));
            break;
        case pxfShort:
            values.append(WholeNumber(bytes, 2));
            break;
        case pxfLong:
        case pxfAutoInc:
            values.append(WholeNumber(bytes, 4));
            break;
        case pxfDate: {
            const QVariant days = WholeNumber(bytes, 4);
            const QDate date = days.isNull() ? QDate() : DateOfDay(days.toLongLong());
            values.append(date.isValid() ? QVariant(date) : QVariant());
            break;
        }
        case pxfTime: {
            const QVariant ms = WholeNumber(bytes, 4);
            values.append(ms.isNull() ? QVariant() : QVariant(QTime::fromMSecsSinceStartOfDay(int(ms.toLongLong()))));
            break;
        }
        case pxfNumber:
        case pxfCurrency:
            values.append(FloatNumber(bytes));
            break;
        case pxfTimestamp: {
            const QVariant ms = FloatNumber(bytes);
            if (ms.isNull() || !std::isfinite(ms.toDouble()) || std::fabs(ms.toDouble()) > 1e15) {
                values.append(QVariant());
                break;
            }
            const qint64 total = std::llround(ms.toDouble());
            const QDate date = DateOfDay(total / MsPerDay);
            values.append(date.isValid() && total >= 0
                              ? QVariant(QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(total % MsPerDay))))
                              : QVariant());
            break;
        }
        case pxfLogical:
            values.append(bytes[0] == 0 ? QVariant() : QVariant((bytes[0] & 0x7f) != 0));
            break;
        case pxfBCD: {
            // The first byte holds the sign (0x80 positive; a negative number keeps its digits complemented) and
            // the number of decimals. An empty field has no sign and no digits, at most the decimals. Decimals
            // other than the field's make the library fail, losing the text it allocated: such a value, like one
            // with digits that are not digits, is damaged and said so rather than read as empty or 0.
            const bool noDigits = std::all_of(bytes + 1, bytes + field.length, [](unsigned char b) { return b == 0; });
            if (bytes[0] == 0 || ((bytes[0] & 0x80) == 0 && noDigits)) {
                values.append(QVariant());
                break;
            }
            char *digits = nullptr;
            const bool decoded =
                (bytes[0] & 0x3f) == field.decimals &&
                PX_get_data_bcd(doc, reinterpret_cast<unsigned char *>(at), field.decimals, &digits) > 0;
            bool ok = false;
            const double number =
                decoded && digits
                    ? QString::fromLatin1(digits).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok)
                    : 0;
            if (digits)
                doc->free(doc, digits);
            if (!ok) {
                m_error = QStringLiteral("a(z) %1. rekord „%2” mezője hibás szám").arg(n + 1).arg(field.name);
                values.clear();
                return false;
            }
            values.append(number);
            break;
        }
        case pxfBytes: {
            const QByteArray raw(at, field.length);
            values.append(raw.count('\0') == raw.size() ? QVariant() : QVariant(raw));
            break;
        }
        case pxfMemoBLOb:
        case pxfFmtMemoBLOb:
        case pxfBLOb:
        case pxfOLE:
        case pxfGraphic: {
            QByteArray blob;
            if (!ReadBlob(bytes, field.length, field.type == pxfGraphic, m_handles->memo.get(), blob)) {
                m_error = QStringLiteral("a(z) %1. rekord „%2” mezője nem olvasható a memófájlból")
                              .arg(n + 1)
                              .arg(field.name);
                values.clear();
                return false;
            }
            if (blob.isEmpty())
                values.append(QVariant());
            else if (field.type == pxfMemoBLOb || field.type == pxfFmtMemoBLOb)
                values.append(text(blob.constData(), int(blob.size())));
            else
                values.append(blob);
            break;
        }
        default:
            values.append(QVariant());
            break;
        }
    }
    return true;
}

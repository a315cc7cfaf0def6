#include "fuzztext.h"
#include "paradoxtable.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>

extern "C" {
#include <paradox.h>
}

namespace {

// Records read from one table: enough to reach every block of a small file, few enough to keep runs fast.
constexpr int MostRecords = 64;

bool WriteFile(const QString &path, const char *data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data, qint64(size)) == qint64(size);
}

// The Qt type a field of the type gives, null aside.
bool FitsField(int type, const QVariant &value)
{
    if (value.isNull())
        return true;
    switch (type) {
    case pxfAlpha:
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb:
        return value.typeId() == QMetaType::QString;
    case pxfShort:
    case pxfLong:
    case pxfAutoInc:
        return value.typeId() == QMetaType::LongLong;
    case pxfNumber:
    case pxfCurrency:
    case pxfBCD:
        return value.typeId() == QMetaType::Double;
    case pxfDate:
        return value.typeId() == QMetaType::QDate && value.toDate().isValid();
    case pxfTime:
        return value.typeId() == QMetaType::QTime;
    case pxfTimestamp:
        return value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid();
    case pxfLogical:
        return value.typeId() == QMetaType::Bool;
    case pxfBytes:
    case pxfBLOb:
    case pxfOLE:
    case pxfGraphic:
        return value.typeId() == QMetaType::QByteArray;
    default:
        return false;
    }
}

} // namespace

// An old table file of any bytes, with or without a memo file beside it, opens or is refused with a reason, and
// every record reads as one value of its field's kind per field or is refused with a reason.
// Input: four bytes (little-endian) giving the length of the table file, the table file, then the memo file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    if (size < 4)
        return 0;
    quint32 tableSize;
    std::memcpy(&tableSize, data, 4);
    data += 4;
    size -= 4;
    tableSize = quint32(std::min<size_t>(tableSize, size));
    const QString tablePath = folder.filePath(QStringLiteral("regi.DB"));
    const QString memoPath = folder.filePath(QStringLiteral("regi.MB"));
    QFile::remove(memoPath);
    Require(WriteFile(tablePath, reinterpret_cast<const char *>(data), tableSize), "the table file is written");
    if (size > tableSize)
        Require(WriteFile(memoPath, reinterpret_cast<const char *>(data) + tableSize, size - tableSize),
                "the memo file is written");

    ParadoxTable table;
    if (!table.open(tablePath)) {
        Require(!table.error().isEmpty(), "a refused table says why");
        return 0;
    }
    Require(!table.fields().isEmpty(), "an open table has fields");
    Require(table.recordCount() >= 0, "the record count is not negative");
    QVariantList values;
    for (int n = 0; n < std::min(table.recordCount(), MostRecords); ++n) {
        if (!table.record(n, values)) {
            Require(!table.error().isEmpty() && values.isEmpty(), "a refused record says why and gives nothing");
            continue;
        }
        Require(values.size() == table.fields().size(), "one value for every field");
        for (qsizetype f = 0; f < values.size(); ++f)
            Require(FitsField(table.fields().at(f).type, values.at(f)), "a value is of its field's kind");
    }
    Require(!table.record(table.recordCount(), values), "no record beyond the last");
    return 0;
}

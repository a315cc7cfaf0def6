#include "paradoxwriter.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iconv.h>

extern "C" {
#include <paradox.h>
}

#include <cstdlib>
#include <cstring>

namespace {

QByteArray Encoded(const QString &text, int codePage)
{
    const QByteArray name = codePage == 852 ? QByteArray("IBM852") : "CP" + QByteArray::number(codePage);
    iconv_t cd = iconv_open(name.constData(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    QByteArray in = text.toUtf8();
    QByteArray out(in.size() + 1, '\0');
    char *inPtr = in.data(), *outPtr = out.data();
    size_t inLeft = size_t(in.size()), outLeft = size_t(out.size());
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1);
    iconv_close(cd);
    return ok ? out.left(out.size() - qsizetype(outLeft)) : QByteArray();
}

QString LastError;

void OnError(pxdoc_t *, int type, const char *message, void *)
{
    if (type != PX_Warning)
        LastError = QString::fromLocal8Bit(message);
}

} // namespace

QString WriteParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantList> &rows,
                          int codePage)
{
    LastError.clear();
    auto *fields = static_cast<pxfield_t *>(std::calloc(size_t(columns.size()), sizeof(pxfield_t)));
    bool memo = false;
    for (int i = 0; i < columns.size(); ++i) {
        // pxlib frees the names with the table.
        fields[i].px_fname = strdup(columns.at(i).name.constData());
        fields[i].px_ftype = char(columns.at(i).type);
        fields[i].px_flen = columns.at(i).length;
        memo = memo || columns.at(i).type == pxfMemoBLOb;
    }
    pxdoc_t *doc = PX_new2(OnError, nullptr, nullptr, nullptr);
    if (PX_create_file(doc, fields, int(columns.size()), QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) <
        0) {
        PX_delete(doc);
        return LastError.isEmpty() ? QStringLiteral("cannot create %1").arg(path) : LastError;
    }
    PX_set_value(doc, "codepage", float(codePage));
    const QFileInfo info(path);
    if (memo)
        PX_set_blob_file(doc, QFile::encodeName(info.dir().filePath(info.completeBaseName() + QStringLiteral(".MB")))
                                  .constData());
    QList<QByteArray> keep;
    for (const QVariantList &row : rows) {
        QList<pxval_t *> values;
        for (int i = 0; i < columns.size(); ++i) {
            auto *v = static_cast<pxval_t *>(std::calloc(1, sizeof(pxval_t)));
            v->type = columns.at(i).type;
            const QVariant value = i < row.size() ? row.at(i) : QVariant();
            if (value.isNull()) {
                v->isnull = 1;
            } else if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
                keep.append(value.typeId() == QMetaType::QString ? Encoded(value.toString(), codePage)
                                                                 : value.toByteArray());
                v->value.str.val = keep.last().data();
                v->value.str.len = int(keep.last().size());
            } else if (value.typeId() == QMetaType::QDate) {
                v->value.lval = long(value.toDate().toJulianDay() - 1721425);
            } else if (value.typeId() == QMetaType::Double) {
                v->value.dval = value.toDouble();
            } else if (value.typeId() == QMetaType::Bool) {
                v->value.lval = value.toBool() ? 1 : 0;
            } else {
                v->value.lval = long(value.toLongLong());
            }
            values.append(v);
        }
        const int written = PX_insert_record(doc, values.data());
        for (pxval_t *v : values)
            std::free(v);
        if (written < 0) {
            PX_delete(doc);
            return LastError.isEmpty() ? QStringLiteral("cannot write a record") : LastError;
        }
    }
    PX_close(doc);
    PX_delete(doc);
    return LastError;
}

#include "paradoxwriter.h"

#include "engine.h"
#include "query.h"
#include "schema.h"

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
        PX_set_blob_file(
            doc, QFile::encodeName(info.dir().filePath(info.completeBaseName() + QStringLiteral(".MB"))).constData());
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

QList<ParadoxColumn> OldColumns(const TableDef &def)
{
    QList<ParadoxColumn> columns;
    for (const FieldDef &field : def.fields) {
        const QByteArray name = field.name.toLatin1();
        switch (field.type) {
        case FieldType::Alpha:
            if (def.name == QLatin1String("kibe") && field.name == QLatin1String("nev"))
                columns.append({name, pxfMemoBLOb, 11});
            else
                columns.append({name, pxfAlpha, field.width});
            break;
        case FieldType::Long:
            columns.append({name, pxfLong, 4});
            break;
        case FieldType::Autoinc:
            columns.append({name, pxfAutoInc, 4});
            break;
        case FieldType::Number:
            columns.append({name, pxfNumber, 8});
            break;
        case FieldType::Date:
            columns.append({name, pxfDate, 4});
            break;
        }
    }
    return columns;
}

QString WriteOldDatabase(Engine &source, const QString &folder, int codePage)
{
    for (const TableDef &def : Schema::ImportedTables()) {
        QList<QVariantList> rows;
        Query q(source,
                QStringLiteral("SELECT %1 FROM %2 ORDER BY 1;").arg(def.fieldNames().join(QLatin1Char(',')), def.name));
        q.open();
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < def.fields.size(); ++i) {
                const QVariant value = q.value(i);
                const FieldType type = def.fields.at(i).type;
                if (value.isNull())
                    row.append(QVariant());
                else if (type == FieldType::Date)
                    row.append(value.toDate());
                else if (type == FieldType::Number)
                    row.append(value.toDouble());
                else if (type == FieldType::Alpha)
                    row.append(value.toString());
                else
                    row.append(value.toLongLong());
            }
            rows.append(row);
        }
        const QString error =
            WriteParadoxTable(QDir(folder).filePath(def.name + QStringLiteral(".DB")), OldColumns(def), rows, codePage);
        if (!error.isEmpty())
            return def.name + QStringLiteral(": ") + error;
    }
    return {};
}

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// A field of a Paradox table to write: its name, pxlib's type code and its width in bytes.
struct ParadoxColumn
{
    QByteArray name;
    int type;
    int length;
};

// Writes a Paradox table the way the older program kept its tables, with pxlib, and its memo file (same name,
// .MB) when a column is a memo. Texts (QString) are written in the code page; a QByteArray is written as it is.
// Dates are QDate, whole numbers qint64 or int, numbers double, logical fields bool; a null QVariant is an
// empty field. Returns why it failed, empty on success.
QString WriteParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantList> &rows,
                          int codePage = 1250);

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

class Engine;
struct TableDef;

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

// The Paradox fields of a schema table as the older program kept them: texts as alpha fields of their width
// (the direction names of kibe in a memo field), whole numbers as long, keys as autoincrement, money as number,
// dates as date.
QList<ParadoxColumn> OldColumns(const TableDef &def);
// Writes every table of the database into the folder as old Paradox tables (name.DB, memo files as name.MB).
// Returns why it failed, empty on success.
QString WriteOldDatabase(Engine &source, const QString &folder, int codePage = 1250);

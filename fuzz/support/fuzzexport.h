#pragma once

#include "exportcolumn.h"

#include <QList>
#include <QVariantList>
#include <fuzzer/FuzzedDataProvider.h>

// A result set made from the fuzzer's bytes: up to 6 columns of every kind and up to 16 rows of values that fit
// the column (or are empty), with labels, number patterns and grid places as the screens give them.
struct FuzzResultSet
{
    QList<ExportColumn> columns;
    QList<QVariantList> rows;
    int gridWidth = 0;
};

FuzzResultSet ResultSetFromFuzz(FuzzedDataProvider &input);

// A text of at most maxLength bytes of UTF-8.
QString FuzzString(FuzzedDataProvider &input, size_t maxLength);

// What the Windows-1250 files keep of a text.
QString InCodePage(const QString &text);

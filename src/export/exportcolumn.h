#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <Qt>

// What a field holds, as far as the exports care: memo and binary fields have their own rules in the delimited
// file, numbers go to the spreadsheet as numbers and stand right-aligned on the page.
enum class ExportKind { Text, Memo, Integer, Float, Date, Binary };

// One field of a result set offered for export.
struct ExportColumn
{
    QString name;  // field name
    QString label; // display label, as the grid's header shows it
    ExportKind kind = ExportKind::Text;
    QString numberFormat; // display pattern of a number (FormatFloat); empty: the plain general form
    bool visible = true;  // shown on screen; the HTML page leaves hidden columns out
    int width = 0;        // on-screen width in pixels; 0 when no grid shows the column
    int position = -1;    // place among the grid's columns as the user sees them; -1 without a grid

    bool isNumber() const { return kind == ExportKind::Integer || kind == ExportKind::Float; }
    Qt::Alignment alignment() const { return isNumber() ? Qt::AlignRight : Qt::AlignLeft; }
};

// The places of the visible columns in the order the grid shows them; columns no grid places follow in field order.
QList<int> ShownColumns(const QList<ExportColumn> &columns);

// A whole or floating-point number of any width.
bool IsNumber(const QVariant &value);

// The kind of field whose values come in the given type.
ExportKind KindOfType(QMetaType type);

// The value as a grid shows it: numbers in the column's display pattern, dates as "yyyy.MM.dd", an empty field
// as nothing.
QString DisplayText(const ExportColumn &column, const QVariant &value);

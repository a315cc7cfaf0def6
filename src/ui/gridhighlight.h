#pragma once

#include <QColor>
#include <QString>

class QTableView;

// Paints the given column of the grid in HighlightColor(), every other one in the standard window colour;
// -1 highlights none. A background the model supplies (BackgroundRole) wins. Columns that carry their own delegate
// are left to it; such delegates can ask GridColumnBackground().
void HighlightColumn(QTableView *grid, int column);
// By field name for a QSqlQueryModel, otherwise by horizontal header text (both case-insensitive).
void HighlightColumn(QTableView *grid, const QString &fieldName);
// The background HighlightColumn() gives the column: HighlightColor() or an invalid colour.
QColor GridColumnBackground(const QTableView *grid, int column);

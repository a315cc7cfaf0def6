#pragma once

#include "exportsource.h"

#include <QHash>
#include <QStringList>
#include <QVariantMap>
#include <functional>

class Engine;
class QTableView;
class RowStream;

// The stored fields of the row a calculated field is made from.
class StoredRow
{
public:
    StoredRow(const QStringList &names, const QVariantList &values) : m_names(names), m_values(values) {}
    // The value of the named field (case-insensitive); invalid when the statement has no such field.
    QVariant value(const QString &field) const;

private:
    const QStringList &m_names;
    const QVariantList &m_values;
};

// Rows of a SELECT text with its bound values, run anew for every reading and read row by row on a connection of its
// own (memory stays flat). The fields come in the statement's order, then the calculated ones in the order added.
// Reports read their rows through it and hand the same source to the export, which so sees the rows they print.
class SqlExportSource : public ExportSource
{
public:
    using Calculation = std::function<QVariant(const StoredRow &row)>;
    using Filter = std::function<bool(const StoredRow &row)>;

    SqlExportSource(Engine &engine, const QString &sql, const QVariantMap &bindings = {});

    // Display label of a field; a field without one shows its name.
    SqlExportSource &setLabel(const QString &field, const QString &label);
    // Display pattern of every floating-point field (the money format).
    SqlExportSource &setNumberFormat(const QString &pattern);
    // Display pattern of one number field, whole or floating-point; it goes before the money format.
    SqlExportSource &setFormat(const QString &field, const QString &pattern);
    SqlExportSource &setKind(const QString &field, ExportKind kind);
    SqlExportSource &addCalculated(const QString &name, const QString &label, ExportKind kind, Calculation calculate);
    // Only the rows the filter keeps are counted and read.
    SqlExportSource &setFilter(Filter keep);
    // Labels, widths, hidden columns and column order as the grid shows the same statement: its column i is
    // column i here.
    SqlExportSource &takeGridLayout(const QTableView &grid);

    QList<ExportColumn> columns() override;
    qint64 rowCount() override;
    int gridWidth() const override;
    qint64 read(const std::function<bool(const ExportRow &row)> &take) override;

private:
    struct Calculated
    {
        ExportColumn column;
        Calculation calculate;
    };
    struct GridColumn
    {
        QString label;
        int width = 0;
        bool hidden = false;
        int position = -1;
    };

    ExportColumn stored(const QString &name, QMetaType type) const;
    QList<ExportColumn> columnsOf(const RowStream &stream) const;

    Engine &m_engine;
    QString m_sql;
    QVariantMap m_bindings;
    QHash<QString, QString> m_labels;
    QHash<QString, ExportKind> m_kinds;
    QHash<QString, QString> m_formats;
    QString m_numberFormat;
    QList<Calculated> m_calculated;
    Filter m_filter;
    QList<GridColumn> m_grid;
    int m_gridWidth = 0;
};

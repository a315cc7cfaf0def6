#include "sqlexportsource.h"

#include "rowstream.h"
#include "schema.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <optional>

namespace {

ExportKind KindOf(FieldType type)
{
    switch (type) {
    case FieldType::Long:
    case FieldType::Autoinc:
        return ExportKind::Integer;
    case FieldType::Number:
        return ExportKind::Float;
    case FieldType::Date:
        return ExportKind::Date;
    case FieldType::Alpha:
        break;
    }
    return ExportKind::Text;
}

// The kind the schema gives a field name; fields the schema does not know (expressions, aliases) go by the type the
// engine reports.
ExportKind KindOf(const QString &name, QMetaType type)
{
    std::optional<ExportKind> kind;
    for (const TableDef &table : Schema::Tables()) {
        if (const FieldDef *field = table.field(name)) {
            const ExportKind k = KindOf(field->type);
            // Two tables disagreeing (a date and a flag both named lezarva) leave it to the values.
            if (kind && *kind != k)
                return ExportKind::Text;
            kind = k;
        }
    }
    return kind ? *kind : KindOfType(type);
}

class StreamedRow : public ExportRow
{
public:
    StreamedRow(const QList<ExportColumn> &columns, const QVariantList &values) : m_columns(columns), m_values(values)
    {}
    QVariant value(int column) const override { return m_values.at(column); }
    QString text(int column) const override { return DisplayText(m_columns.at(column), m_values.at(column)); }

private:
    const QList<ExportColumn> &m_columns;
    const QVariantList &m_values;
};

} // namespace

QVariant StoredRow::value(const QString &field) const
{
    for (qsizetype i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return m_values.at(i);
    return {};
}

SqlExportSource::SqlExportSource(Engine &engine, const QString &sql, const QVariantMap &bindings)
    : m_engine(engine), m_sql(sql), m_bindings(bindings)
{}

SqlExportSource &SqlExportSource::setLabel(const QString &field, const QString &label)
{
    m_labels.insert(field.toLower(), label);
    return *this;
}

SqlExportSource &SqlExportSource::setNumberFormat(const QString &pattern)
{
    m_numberFormat = pattern;
    return *this;
}

SqlExportSource &SqlExportSource::setFormat(const QString &field, const QString &pattern)
{
    m_formats.insert(field.toLower(), pattern);
    return *this;
}

SqlExportSource &SqlExportSource::setKind(const QString &field, ExportKind kind)
{
    m_kinds.insert(field.toLower(), kind);
    return *this;
}

SqlExportSource &SqlExportSource::addCalculated(const QString &name, const QString &label, ExportKind kind,
                                                Calculation calculate)
{
    ExportColumn column;
    column.name = name;
    column.label = label;
    column.kind = kind;
    m_calculated.append({column, std::move(calculate)});
    return *this;
}

SqlExportSource &SqlExportSource::setFilter(Filter keep)
{
    m_filter = std::move(keep);
    return *this;
}

SqlExportSource &SqlExportSource::takeGridLayout(const QTableView &grid)
{
    m_grid.clear();
    m_gridWidth = grid.width();
    const QAbstractItemModel *model = grid.model();
    if (!model)
        return *this;
    for (int i = 0; i < model->columnCount(); ++i)
        m_grid.append({model->headerData(i, Qt::Horizontal).toString(),
                       grid.isColumnHidden(i) ? 0 : grid.columnWidth(i), grid.isColumnHidden(i),
                       grid.horizontalHeader()->visualIndex(i)});
    return *this;
}

ExportColumn SqlExportSource::stored(const QString &name, QMetaType type) const
{
    ExportColumn column;
    column.name = name;
    column.label = m_labels.value(name.toLower(), name);
    column.kind = m_kinds.value(name.toLower(), KindOf(name, type));
    if (const auto own = m_formats.constFind(name.toLower()); own != m_formats.cend())
        column.numberFormat = *own;
    else if (column.kind == ExportKind::Float)
        column.numberFormat = m_numberFormat;
    return column;
}

QList<ExportColumn> SqlExportSource::columns()
{
    RowStream stream(m_engine, m_sql, m_bindings);
    stream.open();
    return columnsOf(stream);
}

QList<ExportColumn> SqlExportSource::columnsOf(const RowStream &stream) const
{
    QList<ExportColumn> result;
    const QStringList &names = stream.fieldNames();
    for (qsizetype i = 0; i < names.size(); ++i)
        result.append(stored(names.at(i), stream.fieldType(int(i))));
    for (const Calculated &c : m_calculated) {
        ExportColumn column = c.column;
        if (column.kind == ExportKind::Float && column.numberFormat.isEmpty())
            column.numberFormat = m_numberFormat;
        result.append(column);
    }
    for (qsizetype i = 0; i < result.size() && i < m_grid.size(); ++i) {
        ExportColumn &column = result[i];
        if (!m_labels.contains(column.name.toLower()) && !m_grid.at(i).label.isEmpty() && i < names.size())
            column.label = m_grid.at(i).label;
        column.width = m_grid.at(i).width;
        column.visible = !m_grid.at(i).hidden;
        column.position = m_grid.at(i).position;
    }
    return result;
}

int SqlExportSource::gridWidth() const
{
    return m_gridWidth;
}

qint64 SqlExportSource::rowCount()
{
    RowStream stream(m_engine, m_sql, m_bindings);
    if (!m_filter)
        return stream.count();
    // Which rows the filter keeps is known only by reading them.
    stream.open();
    qint64 rows = 0;
    while (stream.next())
        rows += m_filter(StoredRow(stream.fieldNames(), stream.values()));
    return rows;
}

qint64 SqlExportSource::read(const std::function<bool(const ExportRow &row)> &take)
{
    RowStream stream(m_engine, m_sql, m_bindings);
    stream.open();
    const QList<ExportColumn> columnList = columnsOf(stream);
    const qsizetype storedCount = stream.fieldNames().size();
    // Without calculated fields the row is the stream's own, updated in place: nothing is copied.
    QVariantList withCalculated(m_calculated.isEmpty() ? 0 : columnList.size());
    const StreamedRow row(columnList, m_calculated.isEmpty() ? stream.values() : withCalculated);
    qint64 taken = 0;
    while (stream.next()) {
        const QVariantList &read = stream.values();
        const StoredRow storedRow(stream.fieldNames(), read);
        if (m_filter && !m_filter(storedRow))
            continue;
        if (!m_calculated.isEmpty()) {
            for (qsizetype i = 0; i < storedCount; ++i)
                withCalculated[i] = read.at(i);
            for (qsizetype i = 0; i < m_calculated.size(); ++i)
                withCalculated[storedCount + i] = m_calculated.at(i).calculate(storedRow);
        }
        if (!take(row))
            break;
        ++taken;
    }
    stream.close();
    return taken;
}

#include "rowsexportsource.h"

namespace {

class HeldRow : public ExportRow
{
public:
    HeldRow(const QList<ExportColumn> &columns, const QVariantList &values) : m_columns(columns), m_values(values) {}

    QVariant value(int column) const override { return m_values.value(column); }
    QString text(int column) const override { return DisplayText(m_columns.at(column), value(column)); }

private:
    const QList<ExportColumn> &m_columns;
    const QVariantList &m_values;
};

} // namespace

qint64 RowsExportSource::read(const std::function<bool(const ExportRow &row)> &take)
{
    qint64 taken = 0;
    for (const QVariantList &values : m_rows) {
        if (!take(HeldRow(m_columns, values)))
            break;
        ++taken;
    }
    return taken;
}

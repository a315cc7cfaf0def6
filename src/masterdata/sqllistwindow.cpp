#include "sqllistwindow.h"

#include "engine.h"
#include "listquerymodel.h"
#include "messages.h"
#include "recordeditor.h"
#include "schema.h"
#include "session.h"
#include "util.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>

SqlListWindow::SqlListWindow(Session &session, Engine &engine, Messages &messages, const QString &name,
                             const QString &table, const QString &keyField, QWidget *parent)
    : ListWindow(session, name, parent), m_engine(engine), m_messages(messages), m_table(table), m_keyField(keyField),
      m_model(new ListQueryModel(this))
{}

void SqlListWindow::setQuery(const QStringList &lines, const QList<SqlListColumn> &columns)
{
    m_lines = lines;
    m_columns = columns;
}

QString SqlListWindow::orderExpression(const QString &field) const
{
    // Texts in Hungarian alphabetical order, case ignored; the key keeps equal names in a stable order.
    const TableDef *def = Schema::Table(m_table);
    const FieldDef *f = def ? def->field(field) : nullptr;
    QString expression = f && f->type == FieldType::Alpha
                             ? QStringLiteral("%1.%2 COLLATE HU, %1.%2").arg(m_table, field)
                             : QStringLiteral("%1.%2").arg(m_table, field);
    if (field.compare(m_keyField, Qt::CaseInsensitive) != 0)
        expression += QStringLiteral(", %1.%2").arg(m_table, m_keyField);
    return expression;
}

bool SqlListWindow::setSortField(const QString &field)
{
    try {
        engine().orderClause(m_table, {field});
    } catch (const EngineError &) {
        m_messages.ShowError(QStringLiteral("Erre a mezőre nem lehet sorbarendezni."), this);
        return false;
    }
    m_sortField = field;
    if (m_model->columnCount() > 0)
        refresh();
    return true;
}

int SqlListWindow::columnOf(const QString &field) const
{
    return m_model->record().indexOf(field);
}

void SqlListWindow::refresh()
{
    const int row = currentRow();
    const bool hadRows = row >= 0;
    const qint64 key = currentKey();
    refresh(key);
    if (hadRows && currentKey() != key)
        setCurrentRow(qMin(row, m_model->rowCount() - 1));
}

void SqlListWindow::refresh(qint64 key)
{
    const QString text =
        m_sortField.isEmpty() ? m_lines.join(QLatin1Char('\n')) : SetOrderBy(m_lines, orderExpression(m_sortField));
    m_model->setQuery(text, engine().database());
    if (m_model->lastError().isValid())
        throw EngineError::from(m_model->lastError());
    while (m_model->canFetchMore())
        m_model->fetchMore();
    if (grid()->model() != m_model)
        setModel(m_model);
    applyColumns();
    if (!m_sortField.isEmpty()) {
        const int column = columnOf(m_sortField);
        setHighlightColumn(column);
        setSearchColumn(column);
    }
    if (!locateKey(key))
        setCurrentRow(0);
    updateRecordPosition();
}

void SqlListWindow::applyColumns()
{
    m_model->clearColumnFormats();
    const QSqlRecord record = m_model->record();
    QList<int> visible;
    QList<double> factors;
    for (const SqlListColumn &column : m_columns) {
        const int index = record.indexOf(column.field);
        if (index < 0)
            continue;
        visible.append(index);
        factors.append(column.factor);
        m_model->setHeaderData(index, Qt::Horizontal, column.title);
        if (!column.format.isEmpty())
            m_model->setColumnFormat(index, column.format);
        else if (Schema::IsDateField(column.field))
            m_model->setDateColumn(index);
    }
    for (int c = 0; c < record.count(); ++c)
        grid()->setColumnHidden(c, !visible.contains(c));
    setColumnFactors(factors);
}

bool SqlListWindow::locateKey(qint64 key)
{
    const int column = columnOf(m_keyField);
    if (column < 0)
        return false;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QVariant value = m_model->index(row, column).data(Qt::EditRole);
        if (!value.isNull() && value.toLongLong() == key) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
}

qint64 SqlListWindow::currentKey() const
{
    return ValueOr(currentValue(m_keyField), qint64(0));
}

QVariant SqlListWindow::currentValue(const QString &field) const
{
    const int row = currentRow();
    const int column = columnOf(field);
    if (row < 0 || column < 0)
        return {};
    return m_model->index(row, column).data(Qt::EditRole);
}

QVariantMap SqlListWindow::currentRecord() const
{
    QVariantMap result;
    const int row = currentRow();
    if (row < 0)
        return result;
    const QSqlRecord record = m_model->record();
    for (int c = 0; c < record.count(); ++c)
        result.insert(record.fieldName(c), m_model->index(row, c).data(Qt::EditRole));
    return result;
}

void SqlListWindow::editCurrentRow(RecordEditor &editor)
{
    const qint64 key = currentKey();
    // Only what the user changed is written: a field shows a stored value in its own way (a number rounded, a
    // missing flag as "no"), and OK without a change must not store that instead.
    const QVariantMap shown = editor.values();
    const QStringList always = editor.alwaysWritten();
    editor.setPost([this, key, shown, always](const QVariantMap &values) {
        QVariantMap changed;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            if (always.contains(it.key()) || !shown.contains(it.key()) || shown.value(it.key()) != it.value())
                changed.insert(it.key(), it.value());
        writeRow(key, changed);
    });
    if (editor.exec() == QDialog::Accepted)
        refresh(key);
}

void SqlListWindow::writeRow(qint64 key, const QVariantMap &changed)
{
    m_engine.update(m_table, m_keyField, key, changed);
}

void SqlListWindow::deleteRow()
{
    if (!m_messages.AskYesNo(QStringLiteral("Valóban töröljem a sort?"), QStringLiteral("Megerősítés"), this))
        return;
    engine().remove(m_table, m_keyField, currentKey());
    refresh();
}

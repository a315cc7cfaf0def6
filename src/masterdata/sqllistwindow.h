#pragma once

#include "listwindow.h"

#include <QStringList>
#include <QVariant>

class Engine;
class ListQueryModel;
class Messages;
class RecordEditor;

// One column of a list over a table: the field of the query, its title, its share of the grid width and,
// for amounts, the display format.
struct SqlListColumn
{
    QString field;
    QString title;
    double factor = 0;
    QString format;
};

// A list window over one table of the open database. The query text is kept as lines so the ORDER line can
// be replaced; every refresh fetches all rows, so the record counter and the searches see the whole list.
class SqlListWindow : public ListWindow
{
    Q_OBJECT

public:
    SqlListWindow(Session &session, Engine &engine, Messages &messages, const QString &name, const QString &table,
                  const QString &keyField, QWidget *parent = nullptr);

    // Re-reads the rows and stands on the row with that key, or on the first row when none has it.
    // Throws EngineError.
    void refresh(qint64 key);
    // Re-reads the rows and stays on the current row (or the same position when it is gone).
    void refresh();
    bool locateKey(qint64 key);

    // The key of the current row; 0 when the list is empty or the key is empty.
    qint64 currentKey() const;
    QVariant currentValue(const QString &field) const;
    // Every field of the current row; empty on an empty list.
    QVariantMap currentRecord() const;

    // Orders the list by the field when the table has an index on it, otherwise shows
    // "Erre a mezőre nem lehet sorbarendezni." and keeps the order. The ordered column is highlighted and
    // searched.
    bool setSortField(const QString &field);
    QString sortField() const { return m_sortField; }

    ListQueryModel *listModel() const { return m_model; }
    // Model column of a field of the query, -1 when the query has none.
    int columnOf(const QString &field) const;

protected:
    // lines: the SELECT with an "ORDER BY" line of its own; columns: the visible ones, in order. Every other
    // field of the query stays hidden.
    void setQuery(const QStringList &lines, const QList<SqlListColumn> &columns);
    Engine &engine() const { return m_engine; }
    Messages &messages() const { return m_messages; }
    const QString &table() const { return m_table; }
    const QString &keyField() const { return m_keyField; }

    // "Valóban töröljem a sort?", then the current row goes.
    void deleteRow() override;
    // Runs the editor on the current row: OK writes the values the user changed into that row and stands on it
    // again.
    void editCurrentRow(RecordEditor &editor);
    // Writes the changed fields of an edited row; a table whose changes are logged writes them with its entry.
    virtual void writeRow(qint64 key, const QVariantMap &changed);

private:
    void applyColumns();
    QString orderExpression(const QString &field) const;

    Engine &m_engine;
    Messages &m_messages;
    QString m_table;
    QString m_keyField;
    QString m_sortField;
    QStringList m_lines;
    QList<SqlListColumn> m_columns;
    ListQueryModel *m_model = nullptr;
};

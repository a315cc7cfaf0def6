#pragma once

#include "keypagedquery.h"

#include <QAbstractTableModel>
#include <QSqlRecord>
#include <QStringList>

class Engine;

// The ledger view of the main window: the rows of one till with their type, client and direction names, the
// calculated voucher number (sorszam) and short text (szoveg_rovid), coloured by state. The SQL text is kept
// as lines so that the WHERE and ORDER lines can be rewritten. The rows are read a page at a time by key and
// every read is finished, so the view never holds the database's snapshot while it is shown.
class LedgerModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit LedgerModel(Engine &engine, QObject *parent = nullptr);

    static QStringList DefaultLines();
    // The WHERE line for the till: opening rows never show; the unclosed filter keeps rows not yet closed and
    // every pending row.
    static QString TillCondition(int till, bool unclosedOnly);
    // "szoveg" as the grid shows it: whole below 40 characters, else 37 trimmed characters and "...";
    // line breaks become blanks.
    static QString ShortText(const QVariant &szoveg);

    void setTill(int till, bool unclosedOnly);
    // Field the view is ordered by; empty orders by column 1.
    void setOrderField(const QString &field);
    void setMoneyFormat(const QString &pattern) { m_moneyFormat = pattern; }
    // The sorted column keeps the grid's highlight instead of the row colours.
    void setSortedColumn(int column) { m_sortedColumn = column; }
    QString sqlText() const;

    // Counts the rows again and reads the first page; throws EngineError, leaving the view empty.
    void reopen();
    // The true number of rows of the view, counted when it was opened.
    int totalRows() const { return m_rows.rowCount(); }
    // Row of the view holding that ledger row, with the rows around it read; -1 when it is not in the view.
    int rowOfId(int dromvel);

    QSqlRecord record() const { return m_rows.record(); }
    QVariant field(int row, const QString &name) const;
    int sorszamColumn() const { return int(m_fields.size()); }
    int szovegRovidColumn() const { return int(m_fields.size()) + 1; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // The row's stored values; nullptr when it cannot be read now (the grid then shows it empty).
    const QVariantList *values(int row) const;

    QStringList m_lines;
    // Reading a page changes only what is held, not what the view shows.
    mutable KeyPagedQuery m_rows;
    QString m_moneyFormat;
    int m_sortedColumn = -1;
    QStringList m_fields; // the stored columns, in record order
    int m_colKiadva = -1;
    int m_colKibe = -1;
    int m_colBetujel = -1;
    int m_colSsz = -1;
    int m_colSzoveg = -1;
    int m_colElszamolKell = -1;
    int m_colElszamolva = -1;
};

#pragma once

#include "ledgersearch.h"

#include <QAbstractTableModel>

class Engine;

// The result grid of the detailed search: the voucher number, date, client and text of the ledger rows found, read
// by the search a page at a time as the grid shows them.
class SearchResultModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Sorszam, DatKiadva, UgyfelNev, Szoveg, ColumnCount };

    explicit SearchResultModel(Engine &engine, QObject *parent = nullptr);

    // The rows of the till that hold the text, in the order last chosen. Throws EngineError, and the grid is then
    // empty.
    void search(int till, const QString &text);
    // Orders by the column's field (ssz for the voucher number), ascending, and searches again when a search has run.
    // Throws EngineError.
    void sortByColumn(int column);
    // The ledger row (dromvel) shown in the grid row; 0 when there is none.
    qint64 ledgerRow(int row) const { return m_search.key(row); }
    QString sqlText() const { return m_search.sqlText(); }
    // The field a column orders by.
    static QString OrderField(int column);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // The column's text, also as the tool tip of a cell too narrow for it.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // Rows of the result could not be read (the database changed under the grid, a lock...): the engine's message.
    void readFailed(const QString &message);

private:
    void reopen();
    QString text(int row, int column) const;

    // Reading a page changes only what is held, not what the grid shows.
    mutable LedgerSearch m_search;
    bool m_searched = false;
    mutable bool m_failed = false;
};

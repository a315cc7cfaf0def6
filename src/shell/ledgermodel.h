#pragma once

#include <QSqlQueryModel>
#include <QStringList>

class Engine;

// The ledger view of the main window: the rows of one till with their type, client and direction names, the
// calculated voucher number (sorszam) and short text (szoveg_rovid), coloured by state. The SQL text is kept
// as lines so that the WHERE and ORDER lines can be rewritten.
class LedgerModel : public QSqlQueryModel
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

    // Runs the SQL text again; throws EngineError.
    void reopen();
    // The true number of rows of the view, not only those fetched so far.
    int totalRows() const;
    // Row of the view holding that ledger row (fetching as far as needed); -1 when it is not in the view.
    int rowOfId(int dromvel);

    QVariant field(int row, const QString &name) const;
    int sorszamColumn() const { return m_baseColumns; }
    int szovegRovidColumn() const { return m_baseColumns + 1; }

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant raw(int row, int column) const;

    Engine &m_engine;
    QStringList m_lines;
    QString m_moneyFormat;
    int m_sortedColumn = -1;
    int m_baseColumns = 0;
    int m_colKiadva = -1;
    int m_colKibe = -1;
    int m_colBetujel = -1;
    int m_colSsz = -1;
    int m_colSzoveg = -1;
    int m_colElszamolKell = -1;
    int m_colElszamolva = -1;
    int m_colDromvel = -1;
};

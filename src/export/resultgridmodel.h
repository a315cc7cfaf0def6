#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariantList>
#include <memory>

class Engine;
class PagedQuery;

// The result grid of the SQL console: the rows of any SELECT, read a page at a time as the grid shows them and kept
// in a few pages of memory, so a whole ledger opens at once and scrolls without loading everything. Until the rows
// are counted the grid holds the first page; the count follows as soon as the window is free (or when the grid is
// scrolled to the end), then the scroll bar spans every row.
class ResultGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int PageRows = 500;
    static constexpr int KeptPages = 24;

    explicit ResultGridModel(QObject *parent = nullptr);
    ~ResultGridModel() override;

    // Reads the first page of the SELECT; throws EngineError, and then the grid stays empty.
    void open(Engine &engine, const QString &select);
    void close();
    bool isOpen() const { return m_query != nullptr; }
    // The statement shown, as the export runs it again.
    QString statement() const { return m_statement; }
    bool counted() const { return m_counted; }
    // Counts the rows once; a failure is reported through readFailed.
    void countRows();
    // While the scroll bar is dragged, rows not kept show empty instead of being read, so dragging through a large
    // result stays smooth; the rows where it stops are read when the hold ends.
    void holdPages(bool hold);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // The value's text, also as the tool tip of a cell too narrow for it; numbers right-aligned.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

signals:
    // A page or the count could not be read (the database changed under the grid, a lock...): the engine's message.
    void readFailed(const QString &message);

private:
    // The page holding the row, read when it is not kept; null when the read failed.
    const QList<QVariantList> *pageOf(int row) const;

    std::unique_ptr<PagedQuery> m_query;
    QString m_statement;
    QStringList m_fields;
    int m_rows = 0;
    bool m_counted = false;
    // Pages kept in memory, the most recently used last in m_used.
    mutable QHash<qint64, QList<QVariantList>> m_pages;
    mutable QList<qint64> m_used;
    mutable bool m_failed = false;
    bool m_hold = false;
};

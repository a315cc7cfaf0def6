#include "searchresultmodel.h"

#include "engineerror.h"
#include "ledgerops.h"

#include <QDate>

SearchResultModel::SearchResultModel(Engine &engine, QObject *parent) : QAbstractTableModel(parent), m_search(engine) {}

QString SearchResultModel::OrderField(int column)
{
    switch (column) {
    case Sorszam:
        return QStringLiteral("ssz");
    case DatKiadva:
        return QStringLiteral("dat_kiadva");
    case UgyfelNev:
        return QStringLiteral("ugyfel_nev");
    case Szoveg:
        return QStringLiteral("szoveg");
    default:
        return {};
    }
}

void SearchResultModel::search(int till, const QString &text)
{
    m_search.setCondition(till, text);
    m_searched = true;
    reopen();
}

void SearchResultModel::sortByColumn(int column)
{
    const QString field = OrderField(column);
    if (field.isEmpty())
        return;
    m_search.setOrderField(field);
    // Before the first search the lines hold no till yet: opening them would list every till's rows.
    if (m_searched)
        reopen();
}

void SearchResultModel::reopen()
{
    beginResetModel();
    m_failed = false;
    try {
        m_search.open();
    } catch (const EngineError &) {
        endResetModel();
        throw;
    }
    endResetModel();
}

int SearchResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_search.rowCount();
}

int SearchResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SearchResultModel::text(int row, int column) const
{
    const auto value = [this, row](const char *field) { return m_search.value(row, QString::fromLatin1(field)); };
    switch (column) {
    case Sorszam:
        return LedgerOps::VoucherNumber(value("betujel"), value("ssz"));
    case DatKiadva: {
        const QDate date = value("dat_kiadva").toDate();
        return date.isValid() ? date.toString(QStringLiteral("yyyy.MM.dd")) : QString();
    }
    case UgyfelNev:
        return value("ugyfel_nev").toString();
    case Szoveg: {
        QString text = value("szoveg").toString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return text;
    }
    default:
        return {};
    }
}

QVariant SearchResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole) || m_failed)
        return {};
    try {
        return text(index.row(), index.column());
    } catch (const EngineError &e) {
        // Said once, after the painting that asked for the rows; the grid shows what it has.
        m_failed = true;
        auto *self = const_cast<SearchResultModel *>(this);
        QMetaObject::invokeMethod(
            self, [self, message = e.message()] { emit self->readFailed(message); }, Qt::QueuedConnection);
        return {};
    }
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Sorszam:
        return QStringLiteral("sorszám");
    case DatKiadva:
        return QStringLiteral("kiadva");
    case UgyfelNev:
        return QStringLiteral("ügyfél");
    case Szoveg:
        return QStringLiteral("szöveg");
    default:
        return {};
    }
}

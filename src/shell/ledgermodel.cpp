#include "ledgermodel.h"

#include "engine.h"
#include "ledgerops.h"
#include "query.h"
#include "schema.h"
#include "settlementicons.h"
#include "util.h"

#include <QColor>
#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

constexpr int WhereLine = 9;

bool IsMoneyField(const QString &name)
{
    static const QStringList money{QStringLiteral("nyito"),   QStringLiteral("osszeg"),  QStringLiteral("zaro"),
                                   QStringLiteral("osszeg1"), QStringLiteral("osszeg2"), QStringLiteral("osszeg3")};
    return money.contains(name);
}

QString Title(const QString &field)
{
    static const QHash<QString, QString> titles{
        {QStringLiteral("elszamolva"), QStringLiteral("elsz?")},
        {QStringLiteral("sorszam"), QStringLiteral("sorszám")},
        {QStringLiteral("dat_kiadva"), QStringLiteral("kiadva")},
        {QStringLiteral("kasszatip_nev"), QStringLiteral("típus")},
        {QStringLiteral("ugyfel_nev"), QStringLiteral("kitől-kinek")},
        {QStringLiteral("nyito"), QStringLiteral("nyitó")},
        {QStringLiteral("osszeg"), QStringLiteral("összeg")},
        {QStringLiteral("zaro"), QStringLiteral("záró")},
        {QStringLiteral("elszamol_kell_dat"), QStringLiteral("elsz.hat.id")},
    };
    return titles.value(field, field);
}

} // namespace

LedgerModel::LedgerModel(Engine &engine, QObject *parent)
    : QSqlQueryModel(parent), m_engine(engine), m_lines(DefaultLines())
{}

QStringList LedgerModel::DefaultLines()
{
    return {QStringLiteral("SELECT"),
            QStringLiteral(" dromvel.*,"),
            QStringLiteral(" kibe.kibe_nev,"),
            QStringLiteral(" kasszatip.kasszatip_nev,"),
            QStringLiteral(" ugyfel.ugyfel_nev"),
            QStringLiteral("FROM dromvel"),
            QStringLiteral(" LEFT OUTER JOIN kibe ON (dromvel.kibe=kibe.kibe)"),
            QStringLiteral(" LEFT OUTER JOIN kasszatip ON (dromvel.kasszatip=kasszatip.kasszatip)"),
            QStringLiteral(" LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel=ugyfel.ugyfel)"),
            QStringLiteral("WHERE (dromvel.lezarva='N')"),
            QStringLiteral("ORDER BY 1;")};
}

QString LedgerModel::TillCondition(int till, bool unclosedOnly)
{
    QString condition = QStringLiteral("(dromvel.kassza=%1) and (dromvel.kibe<>'N')").arg(till);
    if (unclosedOnly)
        condition += QStringLiteral(" and ((dromvel.lezarva='N') or (dromvel.kiadva='N'))");
    return condition;
}

QString LedgerModel::ShortText(const QVariant &szoveg)
{
    QString text = ValueOr(szoveg, QString());
    if (text.size() >= 40)
        text = text.left(37).trimmed() + QStringLiteral("...");
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

void LedgerModel::setTill(int till, bool unclosedOnly)
{
    m_lines = SetWhere(m_lines, TillCondition(till, unclosedOnly)).split(QLatin1Char('\n'));
}

void LedgerModel::setOrderField(const QString &field)
{
    m_lines = SetOrderBy(m_lines, field.isEmpty() ? QStringLiteral("1") : field).split(QLatin1Char('\n'));
}

QString LedgerModel::sqlText() const
{
    return m_lines.join(QLatin1Char('\n'));
}

void LedgerModel::reopen()
{
    QSqlQuery query(m_engine.database());
    if (!query.prepare(sqlText()) || !query.exec())
        throw EngineError::from(query.lastError());
    setQuery(std::move(query));
    if (lastError().isValid())
        throw EngineError::from(lastError());
    const QSqlRecord rec = record();
    m_baseColumns = rec.count();
    m_colKiadva = rec.indexOf(QStringLiteral("kiadva"));
    m_colKibe = rec.indexOf(QStringLiteral("kibe"));
    m_colBetujel = rec.indexOf(QStringLiteral("betujel"));
    m_colSsz = rec.indexOf(QStringLiteral("ssz"));
    m_colSzoveg = rec.indexOf(QStringLiteral("szoveg"));
    m_colElszamolKell = rec.indexOf(QStringLiteral("elszamol_kell"));
    m_colElszamolva = rec.indexOf(QStringLiteral("elszamolva"));
    m_colDromvel = rec.indexOf(QStringLiteral("dromvel"));
}

int LedgerModel::totalRows() const
{
    const QString where = m_lines.value(WhereLine);
    if (!where.startsWith(QStringLiteral("WHERE"), Qt::CaseInsensitive))
        return rowCount();
    Query q(m_engine, QStringLiteral("SELECT COUNT(*) FROM dromvel ") + where + QLatin1Char(';'));
    q.open();
    return q.next() ? q.value(0).toInt() : 0;
}

int LedgerModel::rowOfId(int dromvel)
{
    if (m_colDromvel < 0)
        return -1;
    for (int row = 0;; ++row) {
        if (row >= rowCount()) {
            if (!canFetchMore())
                return -1;
            fetchMore();
            if (row >= rowCount())
                return -1;
        }
        if (raw(row, m_colDromvel).toInt() == dromvel)
            return row;
    }
}

QVariant LedgerModel::raw(int row, int column) const
{
    return QSqlQueryModel::data(QSqlQueryModel::index(row, column), Qt::DisplayRole);
}

QVariant LedgerModel::field(int row, const QString &name) const
{
    const int column = record().indexOf(name);
    if (column < 0 || row < 0 || row >= rowCount())
        return {};
    const QVariant value = raw(row, column);
    if (Schema::IsDateField(name) && value.typeId() == QMetaType::QString) {
        const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    return value;
}

int LedgerModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_baseColumns + 2;
}

QVariant LedgerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QSqlQueryModel::headerData(section, orientation, role);
    if (section == sorszamColumn())
        return Title(QStringLiteral("sorszam"));
    if (section == szovegRovidColumn())
        return QStringLiteral("szoveg_rovid");
    return Title(record().fieldName(section));
}

QVariant LedgerModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const int column = index.column();
    const QString name = column < m_baseColumns ? record().fieldName(column) : QString();

    switch (role) {
    case Qt::DisplayRole: {
        if (column == sorszamColumn())
            return LedgerOps::VoucherNumber(raw(row, m_colBetujel), raw(row, m_colSsz));
        if (column == szovegRovidColumn())
            return ShortText(raw(row, m_colSzoveg));
        if (column == m_colElszamolva)
            return {};
        const QVariant value = raw(row, column);
        if (value.isNull())
            return {};
        if (IsMoneyField(name))
            return FormatFloat(m_moneyFormat, value.toDouble());
        if (Schema::IsDateField(name)) {
            const QDate date = QDate::fromString(value.toString(), Qt::ISODate);
            return date.isValid() ? date.toString(QStringLiteral("yyyy.MM.dd")) : value;
        }
        return value;
    }
    case Qt::DecorationRole:
        if (column != m_colElszamolva)
            return {};
        if (raw(row, m_colElszamolKell).toString() != QLatin1String("I"))
            return SettlementIcons::NoSettlement();
        return raw(row, m_colElszamolva).toString() == QLatin1String("I") ? SettlementIcons::Settled()
                                                                          : SettlementIcons::Awaiting();
    case Qt::TextAlignmentRole:
        if (IsMoneyField(name))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        if (column == m_colElszamolva || column == m_sortedColumn)
            return {};
        const bool booked = raw(row, m_colKiadva).toString() == QLatin1String("I");
        const bool payment = raw(row, m_colKibe).toString() == QLatin1String("K");
        if (role == Qt::ForegroundRole)
            return !booked ? QColor(128, 128, 128) : payment ? QColor(255, 0, 0) : QColor(0, 0, 255);
        return !booked ? QColor(233, 233, 233) : payment ? QColor(255, 236, 236) : QColor(230, 242, 255);
    }
    default:
        return QSqlQueryModel::data(index, role);
    }
}

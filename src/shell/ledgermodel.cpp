#include "ledgermodel.h"

#include "engine.h"
#include "ledgerops.h"
#include "settlementicons.h"
#include "util.h"

#include <QColor>
#include <QDate>

namespace {

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
    : QAbstractTableModel(parent), m_lines(DefaultLines()), m_rows(engine)
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
    beginResetModel();
    try {
        m_rows.open(m_lines);
    } catch (...) {
        m_fields.clear();
        endResetModel();
        throw;
    }
    const QSqlRecord rec = m_rows.record();
    m_fields.clear();
    for (int c = 0; c < rec.count(); ++c)
        m_fields.append(rec.fieldName(c));
    m_colKiadva = rec.indexOf(QStringLiteral("kiadva"));
    m_colKibe = rec.indexOf(QStringLiteral("kibe"));
    m_colBetujel = rec.indexOf(QStringLiteral("betujel"));
    m_colSsz = rec.indexOf(QStringLiteral("ssz"));
    m_colSzoveg = rec.indexOf(QStringLiteral("szoveg"));
    m_colElszamolKell = rec.indexOf(QStringLiteral("elszamol_kell"));
    m_colElszamolva = rec.indexOf(QStringLiteral("elszamolva"));
    endResetModel();
}

int LedgerModel::rowOfId(int dromvel)
{
    return m_rows.locate(dromvel);
}

const QVariantList *LedgerModel::values(int row) const
{
    try {
        return m_rows.row(row);
    } catch (const EngineError &) {
        // Painting cannot stop for an error; the next action that reopens the view reports it.
        return nullptr;
    }
}

QVariant LedgerModel::field(int row, const QString &name) const
{
    const int column = m_fields.indexOf(name);
    const QVariantList *stored = column < 0 ? nullptr : values(row);
    return stored ? stored->value(column) : QVariant();
}

int LedgerModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int LedgerModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size()) + 2;
}

QVariant LedgerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == sorszamColumn())
        return Title(QStringLiteral("sorszam"));
    if (section == szovegRovidColumn())
        return QStringLiteral("szoveg_rovid");
    return Title(m_fields.value(section));
}

QVariant LedgerModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const QVariantList *row = values(index.row());
    if (!row)
        return {};
    const int column = index.column();
    const QString name = m_fields.value(column);
    const auto raw = [row](int c) { return c >= 0 && c < row->size() ? row->at(c) : QVariant(); };

    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        if (column == sorszamColumn())
            return LedgerOps::VoucherNumber(raw(m_colBetujel), raw(m_colSsz));
        if (column == szovegRovidColumn())
            return ShortText(raw(m_colSzoveg));
        if (role == Qt::EditRole)
            return raw(column);
        if (column == m_colElszamolva)
            return {};
        const QVariant value = raw(column);
        if (value.isNull())
            return {};
        if (IsMoneyField(name))
            return FormatFloat(m_moneyFormat, value.toDouble());
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().toString(QStringLiteral("yyyy.MM.dd"));
        return value;
    }
    case Qt::DecorationRole:
        if (column != m_colElszamolva)
            return {};
        if (raw(m_colElszamolKell).toString() != QLatin1String("I"))
            return SettlementIcons::NoSettlement();
        return raw(m_colElszamolva).toString() == QLatin1String("I") ? SettlementIcons::Settled()
                                                                     : SettlementIcons::Awaiting();
    case Qt::TextAlignmentRole:
        if (IsMoneyField(name))
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        if (column == m_colElszamolva || column == m_sortedColumn)
            return {};
        const bool booked = raw(m_colKiadva).toString() == QLatin1String("I");
        const bool payment = raw(m_colKibe).toString() == QLatin1String("K");
        if (role == Qt::ForegroundRole)
            return !booked ? QColor(128, 128, 128) : payment ? QColor(255, 0, 0) : QColor(0, 0, 255);
        return !booked ? QColor(233, 233, 233) : payment ? QColor(255, 236, 236) : QColor(230, 242, 255);
    }
    default:
        return {};
    }
}

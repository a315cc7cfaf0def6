#include "ledgersearch.h"

#include "rowstream.h"
#include "util.h"

#include <QLocale>

namespace {

// The fields searched, in the order the terms are written.
const char *const SearchedFields[] = {"dromvel.szoveg",      "dromvel.forgjogcim1", "dromvel.forgjogcim2",
                                      "dromvel.forgjogcim3", "dromvel.bizszam1",    "dromvel.bizszam2",
                                      "dromvel.bizszam3",    "dromvel.szoveg1",     "dromvel.szoveg2",
                                      "dromvel.szoveg3",     "ugyfel.ugyfel_nev"};

// The lines with their first one replaced.
QString WithSelect(const QStringList &lines, const QString &select)
{
    QStringList result = lines;
    result.first() = select;
    return result.join(QLatin1Char('\n'));
}

} // namespace

LedgerSearch::LedgerSearch(Engine &engine) : m_engine(engine), m_lines(DefaultLines()) {}

LedgerSearch::~LedgerSearch() = default;

QStringList LedgerSearch::DefaultLines()
{
    return {QStringLiteral("SELECT dromvel.*,ugyfel.ugyfel_nev"), QStringLiteral("FROM dromvel"),
            QStringLiteral(" INNER JOIN ugyfel ON (dromvel.ugyfel=ugyfel.ugyfel)"),
            QStringLiteral("WHERE (dromvel.dromvel>0)"), QStringLiteral("ORDER BY 1;")};
}

QString LedgerSearch::Condition()
{
    QStringList terms;
    for (const char *field : SearchedFields)
        terms.append(QStringLiteral("(UPPER(%1) LIKE :pminta)").arg(QLatin1String(field)));
    return QStringLiteral("(dromvel.kassza=:pkassza) AND (") + terms.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

QString LedgerSearch::Pattern(const QString &text)
{
    return QLatin1Char('%') + QLocale().toUpper(text) + QLatin1Char('%');
}

void LedgerSearch::setCondition(int till, const QString &text)
{
    m_lines = SetWhere(m_lines, Condition()).split(QLatin1Char('\n'));
    m_bindings = {{QStringLiteral("pkassza"), till}, {QStringLiteral("pminta"), Pattern(text)}};
}

void LedgerSearch::setOrderField(const QString &field)
{
    m_lines = SetOrderBy(m_lines, field).split(QLatin1Char('\n'));
}

QString LedgerSearch::sqlText() const
{
    return m_lines.join(QLatin1Char('\n'));
}

void LedgerSearch::open()
{
    close();
    if (!m_connection)
        m_connection = std::make_unique<ReadConnection>(m_engine);
    // The keys in the search's order: the ORDER line names the fields of the whole row, which the key's SELECT
    // still reaches through its FROM and JOIN lines; "ORDER BY 1" is the key in both.
    RowStream keys(*m_connection, WithSelect(m_lines, QStringLiteral("SELECT dromvel.dromvel")), m_bindings);
    keys.open();
    QList<qint64> found;
    while (keys.next())
        found.append(keys.values().first().toLongLong());
    keys.close();
    m_keys = std::move(found);
}

void LedgerSearch::close()
{
    m_keys.clear();
    m_pages.clear();
    m_used.clear();
}

qint64 LedgerSearch::key(int row) const
{
    return row >= 0 && row < m_keys.size() ? m_keys.at(row) : 0;
}

QVariant LedgerSearch::value(int row, const QString &field)
{
    if (row < 0 || row >= m_keys.size())
        return {};
    const int page = row / PageRows;
    if (!m_pages.contains(page))
        readPage(page);
    m_used.removeOne(page);
    m_used.append(page);
    const QVariantList &values = m_pages.value(page).at(row % PageRows);
    return values.value(m_fields.value(field, -1));
}

void LedgerSearch::readPage(int page)
{
    const int first = page * PageRows;
    const int last = std::min<int>(first + PageRows, int(m_keys.size()));
    QStringList keys;
    QHash<qint64, int> position;
    for (int row = first; row < last; ++row) {
        keys.append(QString::number(m_keys.at(row)));
        position.insert(m_keys.at(row), row - first);
    }
    // The rows by their keys, put back in the search's order; a row gone since the search stays empty.
    const QStringList lines =
        SetWhere(m_lines, QStringLiteral("dromvel.dromvel IN (%1)").arg(keys.join(QLatin1Char(','))))
            .split(QLatin1Char('\n'));
    RowStream rows(*m_connection, SetOrderBy(lines, QStringLiteral("1")));
    rows.open();
    if (m_fields.isEmpty()) {
        for (int i = 0; i < rows.fieldNames().size(); ++i)
            m_fields.insert(rows.fieldNames().at(i), i);
    }
    QList<QVariantList> values(last - first);
    while (rows.next())
        values[position.value(rows.values().first().toLongLong())] = rows.values();
    rows.close();
    m_pages.insert(page, std::move(values));
    m_used.append(page);
    if (m_used.size() > KeptPages)
        m_pages.remove(m_used.takeFirst());
}

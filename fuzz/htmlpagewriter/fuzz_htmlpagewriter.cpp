#include "codepage.h"
#include "fuzzexport.h"
#include "fuzztext.h"
#include "htmlpagewriter.h"
#include "rowsexportsource.h"

#include <QBuffer>
#include <QRegularExpression>
#include <algorithm>
#include <climits>

namespace {

QString Unescaped(QString text)
{
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return text.replace(QLatin1String("&amp;"), QLatin1String("&"));
}

} // namespace

// A page of any values holds exactly the page's own markup: every text of the data, the labels and the title stands
// escaped inside its cell (no tag of the data reaches the browser), one row of cells per row in the grid's column
// order, each cell saying its text as the code page keeps it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    UseHungarianNumbers();
    FuzzedDataProvider input(data, size);
    const QString title = FuzzString(input, 48);
    const FuzzResultSet set = ResultSetFromFuzz(input);

    RowsExportSource source(set.columns, set.rows, set.gridWidth);
    HtmlPageWriter writer(title, QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Require(writer.write(source, buffer) == set.rows.size(), "every row is written");
    const QString page = FromWindows1250(buffer.data());

    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression ownTag(QStringLiteral(
        "^</?(html|head|body|title|table|tr|td|font|strong|p|div|center|meta)( [a-z-]+=\"[^\"<>]*\")*>$"));
    for (auto it = tag.globalMatch(page); it.hasNext();)
        Require(ownTag.match(it.next().captured()).hasMatch(), "every tag is the page's own");

    static const QRegularExpression titleTag(QStringLiteral("<title>([^<]*)</title>"));
    Require(Unescaped(titleTag.match(page).captured(1)) == InCodePage(title), "the title stands escaped");

    QList<qsizetype> shown;
    for (qsizetype c = 0; c < set.columns.size(); ++c)
        if (set.columns.at(c).visible)
            shown.append(c);
    std::stable_sort(shown.begin(), shown.end(), [&set](qsizetype a, qsizetype b) {
        const auto place = [&set](qsizetype c) {
            const int p = set.columns.at(c).position;
            return p >= 0 ? p : INT_MAX;
        };
        return place(a) < place(b);
    });

    static const QRegularExpression cell(
        QStringLiteral("<td width=\"(\\d+)%\"( bgcolor=\"#C0C0C0\")?><font face=\"Verdana\" size=\"1\">(<strong>)?"
                       "(<p align=\"right\">)?([^<]*)(</strong>)?</font></td>"));
    QStringList cells;
    for (auto it = cell.globalMatch(page); it.hasNext();)
        cells.append(Unescaped(it.next().captured(5)));
    Require(cells.size() == (set.rows.size() + 1) * shown.size(), "one cell for every shown column of every row");
    qsizetype at = 0;
    for (qsizetype c : shown)
        Require(cells.at(at++) == InCodePage(set.columns.at(c).label), "the header holds the labels");
    for (const QVariantList &row : set.rows)
        for (qsizetype c : shown)
            Require(cells.at(at++) == InCodePage(DisplayText(set.columns.at(c), row.value(c))),
                    "a cell holds the value as the grid shows it");
    Require(page.contains(QStringLiteral("Összesen %1 sor.").arg(set.rows.size())), "the page counts its rows");
    return 0;
}

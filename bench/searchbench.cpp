// Times the detailed search on a till of 250 000 rows (a ledger of 1 000 000 rows over four tills): "Keres" until the
// first rows of the result are painted, against the bare engine running the search's own statement with the same
// condition and order and stepping through every row it gives.
// Usage: searchbench [rows [folder]] (default 1 000 000 rows in a temporary folder; a given folder keeps the ledger,
// and a ledger of that size found there is used again).

#include "benchclock.h"
#include "benchledger.h"
#include "engine.h"
#include "ledgersearch.h"
#include "messages.h"
#include "searchresultmodel.h"
#include "session.h"
#include "tfrm_keres.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

namespace {

QTextStream out(stdout);

// Boxes are not shown but printed, each text once.
class PrintedMessages : public Messages
{
public:
    void ShowError(const QString &text, QWidget *) override { print(QStringLiteral("error"), text); }
    void ShowWarning(const QString &text, QWidget *) override { print(QStringLiteral("warning"), text); }
    void ShowInfo(const QString &text, QWidget *) override { print(QStringLiteral("info"), text); }
    void ShowApplicationError(const QString &text, QWidget *) override { print(QStringLiteral("error"), text); }
    bool AskYesNo(const QString &, const QString &, QWidget *) override { return false; }

private:
    void print(const QString &kind, const QString &text)
    {
        if (m_printed.contains(text))
            return;
        m_printed.append(text);
        out << "  " << kind << ": " << text << '\n';
    }
    QStringList m_printed;
};

// "Keres" with the text, and the result grid painted with the rows it shows.
void SearchAndPaint(Tfrm_Keres &window, const QString &text)
{
    window.textField()->setText(text);
    window.search();
    window.grid()->viewport()->repaint();
}

// The bare engine: the search's statement with the same till, pattern and order, every row stepped through.
qint64 BareSearch(Engine &engine, int till, const QString &text, const QString &order)
{
    LedgerSearch lines(engine);
    lines.setOrderField(order);
    lines.setCondition(till, text);
    QSqlQuery query(engine.database());
    query.setForwardOnly(true);
    query.prepare(lines.sqlText());
    query.bindValue(QStringLiteral(":pkassza"), till);
    query.bindValue(QStringLiteral(":pminta"), LedgerSearch::Pattern(text));
    if (!query.exec())
        out << "error: " << query.lastError().text() << '\n';
    qint64 rows = 0;
    while (query.next()) {
        query.value(0);
        ++rows;
    }
    query.finish();
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    const QStringList args = app.arguments();
    const int rows = args.size() > 1 ? args.at(1).toInt() : 1000000;
    QTemporaryDir temporary;
    const QString folder = args.size() > 2 ? args.at(2) : temporary.path();
    PrepareLedger(out, folder, rows);

    Engine engine(QStringLiteral("bench"));
    engine.open(folder);
    Session session;
    session.till = 1;
    PrintedMessages messages;

    const struct
    {
        const char *name;
        QString text;
        int column; // the title clicked before the search; -1 keeps the order of the key
    } searches[] = {
        {"nothing found", QStringLiteral("nincs ilyen szöveg"), -1},
        {"client name, few rows", QStringLiteral("ügyfél 17"), -1},
        {"item text, a fifteenth of the till", QStringLiteral("tükörfúrógép 8"), -1},
        {"item text, sorted by client", QStringLiteral("tükörfúrógép 8"), SearchResultModel::UgyfelNev},
        {"empty text: every row of the till", QString(), -1},
        {"empty text, sorted by voucher number", QString(), SearchResultModel::Sorszam},
    };
    double worst = 0;
    for (const auto &s : searches) {
        Tfrm_Keres window(session, engine, messages);
        window.show();
        QApplication::processEvents();
        if (s.column >= 0)
            window.result()->sortByColumn(s.column);
        const QString order = s.column >= 0 ? SearchResultModel::OrderField(s.column) : QStringLiteral("1");
        qint64 found = 0;
        const double search = Time(out, QStringLiteral("%1: Keres, first rows painted").arg(QLatin1String(s.name)), 3,
                                   [&] { SearchAndPaint(window, s.text); });
        const double bare = Time(out, QStringLiteral("%1: bare statement").arg(QLatin1String(s.name)), 3,
                                 [&] { found = BareSearch(engine, session.till, s.text, order); });
        const double ratio = search / bare;
        worst = std::max(worst, ratio);
        out << QStringLiteral("  %1 rows found; search / bare: %2\n").arg(found).arg(ratio, 0, 'f', 2);
        if (found != window.result()->rowCount())
            out << QStringLiteral("  MISMATCH: the window found %1 rows\n").arg(window.result()->rowCount());
        out.flush();
    }
    out << QStringLiteral("worst search / bare: %1 (limit 1.2: %2)\n")
               .arg(worst, 0, 'f', 2)
               .arg(worst <= 1.2 ? QStringLiteral("met") : QStringLiteral("MISSED"));
    return 0;
}

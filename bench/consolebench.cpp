// Times the SQL console on a large ledger: how soon a SELECT of the whole ledger shows its first rows, against the
// bare query reading the same rows, and what scrolling far down and counting cost.
// Usage: consolebench [rows [folder]] (default 1 000 000 rows in a temporary folder; a given folder keeps the
// ledger, and a ledger of that size found there is used again).

#include "benchclock.h"
#include "benchledger.h"
#include "engine.h"
#include "filedialogs.h"
#include "messages.h"
#include "resultgridmodel.h"
#include "session.h"
#include "tfrm_sql.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <Qsci/qsciscintilla.h>

namespace {

QTextStream out(stdout);

// Boxes are not shown but printed, dialogs are cancelled.
class PrintedMessages : public Messages
{
public:
    void ShowError(const QString &text, QWidget *) override { out << "error: " << text << '\n'; }
    void ShowWarning(const QString &text, QWidget *) override { out << "warning: " << text << '\n'; }
    void ShowInfo(const QString &text, QWidget *) override { out << "info: " << text << '\n'; }
    void ShowApplicationError(const QString &text, QWidget *) override { out << "error: " << text << '\n'; }
    bool AskYesNo(const QString &, const QString &, QWidget *) override { return false; }
};

class CancelledDialogs : public FileDialogs
{
public:
    QString SaveFileName(const QString &, const QString &, const QString &, const QString &, QWidget *) override
    {
        return {};
    }
    QString OpenFileName(const QString &, const QString &, const QString &, QWidget *) override { return {}; }
    QString ExistingFolder(const QString &, const QString &, QWidget *) override { return {}; }
};

// "Futtat" on the text, and the grid painted with the rows it shows.
void RunAndPaint(Tfrm_SQL &console, const QString &sql)
{
    console.editor()->setText(sql);
    console.action(QStringLiteral("aFuttat"))->trigger();
    console.grid()->viewport()->repaint();
}

// The bare engine reading the first page of the same SELECT on a connection of its own.
void BareFirstPage(Engine &engine, const QString &sql)
{
    QSqlDatabase db = QSqlDatabase::cloneDatabase(engine.database(), QStringLiteral("bare"));
    {
        db.open();
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.exec(sql);
        const int columns = query.record().count();
        for (int i = 0; i < ResultGridModel::PageRows && query.next(); ++i)
            for (int c = 0; c < columns; ++c)
                query.value(c);
        query.finish();
    }
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("bare"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rows = args.size() > 1 ? args.at(1).toInt() : 1000000;
    QTemporaryDir temporary;
    const QString folder = args.size() > 2 ? args.at(2) : temporary.path();
    PrepareLedger(out, folder, rows);

    Engine engine(QStringLiteral("bench"));
    engine.open(folder);
    Session session;
    PrintedMessages messages;
    CancelledDialogs fileDialogs;
    Tfrm_SQL console(session, engine, messages, fileDialogs, [](ExportSource &, QWidget *) {});
    console.show();
    QApplication::processEvents();

    const QString whole = QStringLiteral("SELECT * FROM dromvel");
    const double shown =
        Time(out, QStringLiteral("whole ledger: first rows shown"), 5, [&] { RunAndPaint(console, whole); });
    const double bare =
        Time(out, QStringLiteral("whole ledger: bare first page"), 5, [&] { BareFirstPage(engine, whole); });
    out << QStringLiteral("first rows shown / bare first page: %1 (limit 0.3 s: %2)\n")
               .arg(shown / bare, 0, 'f', 2)
               .arg(shown < 300 ? QStringLiteral("met") : QStringLiteral("MISSED"));
    Time(out, QStringLiteral("whole ledger: count (after the first paint)"), 3, [&] {
        RunAndPaint(console, whole);
        console.result()->countRows();
    });
    Time(out, QStringLiteral("whole ledger: page in the middle"), 3, [&] {
        RunAndPaint(console, whole);
        console.result()->countRows();
        console.grid()->scrollTo(console.result()->index(rows / 2, 0));
        console.grid()->viewport()->repaint();
    });
    Time(out, QStringLiteral("whole ledger: last page"), 3, [&] {
        RunAndPaint(console, whole);
        console.result()->countRows();
        console.grid()->scrollToBottom();
        console.grid()->viewport()->repaint();
    });

    Time(out, QStringLiteral("ledger view with names: first rows shown"), 5, [&] { RunAndPaint(console, LedgerSql); });
    Time(out, QStringLiteral("ledger view with names: bare first page"), 5, [&] { BareFirstPage(engine, LedgerSql); });
    Time(out, QStringLiteral("ledger view with names: last page"), 3, [&] {
        RunAndPaint(console, LedgerSql);
        console.result()->countRows();
        console.grid()->scrollToBottom();
        console.grid()->viewport()->repaint();
    });

    // An order no index serves: the first page is a top-N sort, the count and every page far down a full sort.
    const QString sorted = QStringLiteral("SELECT * FROM dromvel ORDER BY osszeg1, dromvel");
    Time(out, QStringLiteral("sorted without an index: first rows shown"), 3, [&] { RunAndPaint(console, sorted); });
    Time(out, QStringLiteral("sorted without an index: count"), 1, [&] { console.result()->countRows(); });
    Time(out, QStringLiteral("sorted without an index: last page"), 1, [&] {
        console.grid()->scrollToBottom();
        console.grid()->viewport()->repaint();
    });
    return 0;
}

// Builds a large ledger and times the operations that run on every booking, and the main window's ledger grid
// against the bare statements it needs.
// Usage: ledgerbench [rows [folder | postgresql://[user@]host[:port]/dbname | server [folder]]] (default 1 000 000
// rows in a temporary folder; a given folder or server database keeps the ledger, and a ledger of at least that
// size found there is used again; "server" builds it in a new database on this computer's PostgreSQL server and
// drops that at the end). On a server the booking is also timed on a SQLite ledger of the same size (in the last
// folder, when given), and the grid's figures are times on the clock.

#include "benchclock.h"
#include "benchdatabase.h"
#include "bookingcheck.h"
#include "engine.h"
#include "ledgermodel.h"
#include "ledgerops.h"
#include "picklists.h"
#include "query.h"
#include "serveraddress.h"
#include "voucherbooking.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWindow>
#include <ctime>
#include <functional>

namespace {

QTextStream out(stdout);

// A text as an SQL literal.
QString Literal(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

// The ledger rows are written a thousand to a statement, so a server takes them in a few round trips.
void Fill(Engine &engine, int rows)
{
    const int tills = 4;
    Transaction transaction(engine);
    for (int t = 1; t <= tills; ++t)
        engine.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Pénztár %1").arg(t)},
                                                 {QStringLiteral("betujel_be"), QStringLiteral("B%1").arg(t)},
                                                 {QStringLiteral("betujel_ki"), QStringLiteral("K%1").arg(t)}});
    for (int k = 1; k <= 20; ++k)
        engine.insert(QStringLiteral("kasszatip"),
                      {{QStringLiteral("kasszatip_nev"), QStringLiteral("Típus %1").arg(k)},
                       {QStringLiteral("kibe"), QStringLiteral("B")}});
    for (int c = 1; c <= 1000; ++c)
        engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél %1").arg(c)},
                                                 {QStringLiteral("elszamollimit"), 100000.0}});

    const QString insert = QStringLiteral(
        "INSERT INTO dromvel (dromvelid, kibe, ssz, betujel, kassza, dat_kiadva, kiadva, idoszak, kasszatip, nyito, "
        "osszeg, zaro, ugyfel, elszamol_ssz, lezarva, datumstr, szoveg1, forgjogcim1) VALUES ");
    QList<double> balance(tills + 1, 0.0);
    QList<int> serial(2 * tills + 1, 0);
    const QDate start(2015, 1, 1);
    QStringList values;
    for (int i = 1; i <= rows; ++i) {
        const int till = 1 + i % tills;
        const bool receipt = (i % 3) != 0;
        const double amount = 100.0 + (i * 37) % 5000;
        const double before = balance[till];
        balance[till] = receipt ? before + amount : before - amount;
        const int code = receipt ? till : tills + till;
        const QDate date = start.addDays(i / 300);
        const QStringList row{QString::number(i),
                              Literal(receipt ? QStringLiteral("B") : QStringLiteral("K")),
                              QString::number(++serial[code]),
                              Literal((receipt ? QStringLiteral("B%1") : QStringLiteral("K%1")).arg(till)),
                              QString::number(till),
                              Literal(date.toString(Qt::ISODate)),
                              Literal(QStringLiteral("I")),
                              Literal(date.toString(QStringLiteral("yyyyMM"))),
                              QString::number(1 + i % 20),
                              QString::number(before, 'f', 2),
                              QString::number(amount, 'f', 2),
                              QString::number(balance[till], 'f', 2),
                              QString::number(1 + i % 1000),
                              QString::number(i % 50 == 0 ? i / 50 : 0),
                              Literal(i < rows - 500 ? QStringLiteral("I") : QStringLiteral("N")),
                              Literal(date.toString(QStringLiteral("yyyyMMdd"))),
                              Literal(QStringLiteral("Tétel szövege %1").arg(i % 60)),
                              Literal(QStringLiteral("Jogcím %1").arg(i % 25))};
        values.append(QLatin1Char('(') + row.join(QLatin1Char(',')) + QLatin1Char(')'));
        if (values.size() == 1000 || i == rows) {
            QSqlQuery batch(engine.database());
            if (!batch.exec(insert + values.join(QLatin1Char(','))))
                throw EngineError(batch.lastError().text());
            values.clear();
        }
    }
    transaction.commit();
    // The server plans by the statistics of the rows and reads an index alone where the visibility map says the
    // rows' pages hold no changes: its own vacuum sees to both a while later, here at once.
    if (engine.isServer())
        engine.exec(QStringLiteral("VACUUM (ANALYZE);"));
}

// Milliseconds of one run: on the clock, and of this thread's processor time, which other programs on a busy
// machine do not stretch.
struct Span
{
    double wall = 0;
    double cpu = 0;
};

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

Span Measure(const std::function<void()> &work, int repeat = 1)
{
    QElapsedTimer timer;
    const double cpu = ThreadCpuMs();
    timer.start();
    for (int i = 0; i < repeat; ++i)
        work();
    return {double(timer.nsecsElapsed()) / 1e6 / repeat, (ThreadCpuMs() - cpu) / repeat};
}

QString Shown(const Span &span)
{
    return QStringLiteral("%1 ms (cpu %2)").arg(span.wall, 9, 'f', 3).arg(span.cpu, 8, 'f', 3);
}

// The grid's figure beside the bare statements that show the same rows, and the ratio of their processor times;
// on a server, whose work is not this thread's, of their times on the clock.
bool OnServer = false;

void Compare(const QString &name, const Span &grid, const Span &bare)
{
    out << QStringLiteral("%1 %2   bare SQL %3   ratio %4\n")
               .arg(name, -56)
               .arg(Shown(grid), Shown(bare))
               .arg(OnServer ? grid.wall / bare.wall : grid.cpu / bare.cpu, 6, 'f', 2);
    out.flush();
}

// The machine's load average over the last minute: on a busy machine a server's round trips wait for their turn.
QString MachineLoad()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("machine load unknown");
    return QStringLiteral("machine load %1").arg(QString::fromLatin1(file.readAll()).section(QLatin1Char(' '), 0, 0));
}

void Print(const QString &name, const QString &figures)
{
    out << QStringLiteral("%1 %2\n").arg(name, -56).arg(figures);
    out.flush();
}

const QString ViewSql = QStringLiteral("SELECT dromvel.*, kibe.kibe_nev, kasszatip.kasszatip_nev, ugyfel.ugyfel_nev "
                                       "FROM dromvel LEFT OUTER JOIN kibe ON (dromvel.kibe=kibe.kibe) "
                                       "LEFT OUTER JOIN kasszatip ON (dromvel.kasszatip=kasszatip.kasszatip) "
                                       "LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel=ugyfel.ugyfel) ");
const QString TillWhere = QStringLiteral("WHERE (dromvel.kassza=2) and (dromvel.kibe<>'N')");

// Runs a statement and reads every row it gives.
void ReadAll(Engine &engine, const QString &sql)
{
    Query q(engine, sql);
    q.open();
    while (q.next())
        q.value(0);
}

// The till's count and one page of the view, as a program without a grid would read them.
void BarePage(Engine &engine, const QString &order)
{
    ReadAll(engine, QStringLiteral("SELECT COUNT(*) FROM dromvel ") + TillWhere + QLatin1Char(';'));
    ReadAll(engine, ViewSql + TillWhere + QStringLiteral(" ORDER BY ") + order + QStringLiteral(" LIMIT 128;"));
}

// Presses a key on the grid and paints what it then shows.
Span Press(QTableView &grid, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return Measure([&] {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&grid, &press);
        grid.viewport()->repaint();
    });
}

void TimeGrid(Engine &engine, LedgerOps &ops)
{
    LedgerModel model(engine);
    QTableView grid;
    grid.setModel(&model);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.resize(900, 500);
    grid.show();
    // Painting reads the rows, and a window paints only once it is exposed.
    while (!grid.windowHandle() || !grid.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    model.setTill(2, false);
    const auto openAt = [&](int dromvel) {
        model.reopen();
        const int row = dromvel > 0 ? model.rowOfId(dromvel) : 0;
        grid.setCurrentIndex(model.index(row, model.sorszamColumn()));
        grid.scrollTo(grid.currentIndex());
        grid.viewport()->repaint();
    };
    const Span open = Measure([&] { openAt(-1); }, 10);
    Compare(QStringLiteral("ledger grid of a till of %1 rows: open")
                .arg(ops.QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel ") + TillWhere + QLatin1Char(';'), 0)),
            open, Measure([&] { BarePage(engine, QStringLiteral("1")); }, 10));
    if (engine.isServer())
        Print(QStringLiteral("ledger grid on the server: open"),
              QStringLiteral("%1 ms (limit 100: %2), %3")
                  .arg(open.wall, 0, 'f', 1)
                  .arg(open.wall < 100 ? QStringLiteral("met") : QStringLiteral("MISSED"), MachineLoad()));

    const int newest = ops.QueryInt(QStringLiteral("SELECT MAX(dromvel) FROM dromvel WHERE kassza=2;"), 0);
    Compare(QStringLiteral("ledger grid: stand on the newest row after a change"), Measure([&] { openAt(newest); }, 10),
            Measure([&] { BarePage(engine, QStringLiteral("dromvel.dromvel DESC")); }, 10));

    model.setOrderField(QStringLiteral("ugyfel_nev"));
    Compare(QStringLiteral("ledger grid: sort by client"), Measure([&] { openAt(-1); }, 5),
            Measure([&] { BarePage(engine, QStringLiteral("ugyfel.ugyfel_nev, dromvel.dromvel")); }, 5));

    // Row by row through the client order, then page by page from the first to the last row of the till.
    grid.setFocus();
    Span longest;
    const auto step = [&longest](const Span &span) {
        longest.wall = std::max(longest.wall, span.wall);
        longest.cpu = std::max(longest.cpu, span.cpu);
    };
    for (int i = 0; i < 3000; ++i)
        step(Press(grid, Qt::Key_Down));
    Print(QStringLiteral("ledger grid, by client: 3 000 rows by Down, longest step"), Shown(longest));

    // The unclosed rows only, few among the closed ones: read by their key list.
    const QString unclosed = QStringLiteral(" and ((dromvel.lezarva='N') or (dromvel.kiadva='N'))");
    model.setTill(2, true);
    Compare(QStringLiteral("ledger grid, unclosed (%1 rows), by client: open")
                .arg(ops.QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel ") + TillWhere + unclosed, 0)),
            Measure([&] { openAt(-1); }, 10),
            Measure(
                [&] {
                    ReadAll(engine, QStringLiteral("SELECT COUNT(*) FROM dromvel ") + TillWhere + unclosed);
                    ReadAll(engine,
                            ViewSql + TillWhere + unclosed + QStringLiteral(" ORDER BY ugyfel.ugyfel_nev LIMIT 128"));
                },
                10));
    model.setTill(2, false);
    model.setOrderField(QString());
    openAt(-1);
    longest = {};
    int steps = 0;
    const Span all = Measure([&] {
        while (grid.currentIndex().row() < model.rowCount() - 1) {
            step(Press(grid, Qt::Key_PageDown));
            ++steps;
        }
    });
    const Span bare = Measure([&] { ReadAll(engine, ViewSql + TillWhere + QStringLiteral(" ORDER BY 1;")); });
    Compare(QStringLiteral("ledger grid: first to last row by Page Down, %1 steps").arg(steps), all, bare);
    Print(QStringLiteral("ledger grid: longest Page Down step"), Shown(longest));
    const Span home = Press(grid, Qt::Key_Home, Qt::ControlModifier);
    const Span end = Press(grid, Qt::Key_End, Qt::ControlModifier);
    Print(QStringLiteral("ledger grid: Ctrl+Home, then Ctrl+End"), Shown(home) + QStringLiteral(", ") + Shown(end));

    if (engine.isServer())
        return;
    // While the grid stays open, another workstation commits many small changes: the log is checkpointed and
    // started over instead of growing.
    Engine other(QStringLiteral("other"));
    other.open(engine.folder());
    const QString wal = engine.filePath() + QStringLiteral("-wal");
    other.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
    const qint64 before = QFileInfo(wal).size();
    for (int i = 0; i < 3000; ++i)
        other.exec(QStringLiteral("UPDATE kassza SET most=%1 WHERE kassza=1;").arg(i));
    Print(QStringLiteral("WAL with the grid open, 3 000 commits of another"),
          QStringLiteral("%1 MB before, %2 MB after")
              .arg(before / 1e6, 0, 'f', 1)
              .arg(QFileInfo(wal).size() / 1e6, 0, 'f', 1));
}

// Times the work as Time() does; a statement the engine refuses is told and the bench goes on.
void TimeOrTell(const QString &name, int repeat, const std::function<void()> &work)
{
    try {
        Time(out, name, repeat, work);
    } catch (const EngineError &e) {
        Print(name, QStringLiteral("FAILED: ") + e.message().simplified());
    }
}

// The ledger of `rows` rows in the engine's database: one of at least that size found there is used again.
void PrepareLedger(Engine &engine, int rows)
{
    LedgerOps ops(engine);
    if (ops.QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel;"), 0) >= rows) {
        out << QStringLiteral("ledger of %1 rows kept from an earlier run\n").arg(rows);
        return;
    }
    QElapsedTimer fill;
    fill.start();
    Fill(engine, rows);
    out << QStringLiteral("ledger of %1 rows built in %2 s").arg(rows).arg(fill.elapsed() / 1000.0, 0, 'f', 1);
    if (!engine.isServer())
        out << QStringLiteral(", file %1 MB").arg(QFileInfo(engine.filePath()).size() / 1e6, 0, 'f', 0);
    out << QStringLiteral(" (%1)\n").arg(engine.folder());
    out.flush();
}

// A receipt of till 2 booked as the voucher form books it: checked under the write lock, numbered, its balances
// written, in one transaction. The milliseconds of one booking, the best of rounds of 50 (a busy machine stretches
// some of them).
double BookingMs(Engine &engine)
{
    const BookingDay day{QDate::currentDate(), QDate(), DateRule::AnyDay, QStringLiteral("bench")};
    const QVariantMap values{{QStringLiteral("kibe"), QStringLiteral("B")},
                             {QStringLiteral("kassza"), 2},
                             {QStringLiteral("kasszatip"), 1},
                             {QStringLiteral("ugyfel"), 17},
                             {QStringLiteral("betujel"), QStringLiteral("B2")},
                             {QStringLiteral("dat_kiadva"), QDate::currentDate()},
                             {QStringLiteral("osszeg"), 10.0},
                             {QStringLiteral("szoveg1"), QStringLiteral("Bevét")},
                             {QStringLiteral("felhasznalo"), QStringLiteral("bench")},
                             {QStringLiteral("elszamol_kell"), QStringLiteral("N")},
                             {QStringLiteral("elszamolva"), QStringLiteral("N")},
                             {QStringLiteral("kiadva"), QStringLiteral("N")},
                             {QStringLiteral("lezarva"), QStringLiteral("N")}};
    return Measure(
               [&] {
                   const BookingResult result = BookVoucher(engine, 0, day, values);
                   if (result.check != BookingCheck::Allowed)
                       throw EngineError(BookingCheckText(result.check));
               },
               50)
        .wall;
}

// The booking on the server against the same booking on a SQLite ledger of the same size in the folder (a
// temporary one when empty), rounds taken in turn.
void CompareBooking(Engine &server, int rows, const QString &folder)
{
    BenchDatabase local(folder);
    QDir().mkpath(local.path());
    Engine file(QStringLiteral("sqlite"));
    file.open(local.path());
    PrepareLedger(file, rows);
    double onFile = 1e9;
    double onServer = 1e9;
    for (int round = 0; round < 5; ++round) {
        onFile = std::min(onFile, BookingMs(file));
        onServer = std::min(onServer, BookingMs(server));
    }
    const double ratio = onServer / onFile;
    Print(QStringLiteral("book one voucher (BookVoucher): SQLite"), QStringLiteral("%1 ms").arg(onFile, 9, 'f', 3));
    Print(QStringLiteral("book one voucher (BookVoucher): server"),
          QStringLiteral("%1 ms   server / SQLite %2 (limit 3: %3)")
              .arg(onServer, 9, 'f', 3)
              .arg(ratio, 0, 'f', 2)
              .arg(ratio <= 3 ? QStringLiteral("met") : QStringLiteral("MISSED")));
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int rows = args.size() > 1 ? args.at(1).toInt() : 1000000;
    BenchDatabase database(args.size() > 2 ? args.at(2) : QString());
    if (!ServerAddress::isServerPath(database.path()))
        QDir().mkpath(database.path());
    Engine engine(QStringLiteral("bench"));
    engine.open(database.path());
    LedgerOps ops(engine);
    OnServer = engine.isServer();
    PrepareLedger(engine, rows);
    if (engine.isServer())
        CompareBooking(engine, rows, args.size() > 3 ? args.at(3) : QString());
    else
        Print(QStringLiteral("book one voucher (BookVoucher)"),
              QStringLiteral("%1 ms").arg(BookingMs(engine), 9, 'f', 3));
    TimeOrTell(QStringLiteral("TillBalance"), 1000, [&] { ops.TillBalance(2); });
    TimeOrTell(QStringLiteral("NextId dromvelid"), 1000,
               [&] { ops.NextId(QStringLiteral("dromvelid"), QStringLiteral("dromvel")); });
    TimeOrTell(QStringLiteral("NextSerial"), 1000, [&] { ops.NextSerial(QStringLiteral("B3")); });
    TimeOrTell(QStringLiteral("NextSettlementNumber"), 1000, [&] { ops.NextSettlementNumber(); });
    TimeOrTell(QStringLiteral("ChangeClientSettlement"), 200, [&] { ops.ChangeClientSettlement(17, 10.0); });
    TimeOrTell(QStringLiteral("book one voucher (numbers, balance, row)"), 200, [&] {
        Transaction t(engine);
        const int id = ops.NextMaxId(QStringLiteral("dromvelid"), QStringLiteral("dromvel"));
        const int ssz = ops.NextSerial(QStringLiteral("B2"));
        const double before = ops.TillBalance(2);
        engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), id},
                                                  {QStringLiteral("ssz"), ssz},
                                                  {QStringLiteral("betujel"), QStringLiteral("B2")},
                                                  {QStringLiteral("kassza"), 2},
                                                  {QStringLiteral("kiadva"), QStringLiteral("I")},
                                                  {QStringLiteral("nyito"), before},
                                                  {QStringLiteral("osszeg"), 10.0},
                                                  {QStringLiteral("zaro"), before + 10.0}});
        t.commit();
    });
    TimeOrTell(QStringLiteral("count rows of one till"), 5,
               [&] { ops.QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE dromvel.kassza=2;"), 0); });
    TimeOrTell(QStringLiteral("first 256 ledger rows of one till"), 20, [&] {
        Query q(engine, QStringLiteral("SELECT * FROM dromvel WHERE dromvel.kassza=2 ORDER BY 1;"));
        q.open();
        for (int i = 0; i < 256 && q.next(); ++i)
            q.value(0);
    });
    const QString unclosed = QStringLiteral("WHERE (dromvel.kassza=2) and (dromvel.kibe<>'N') and "
                                            "((dromvel.lezarva='N') or (dromvel.kiadva='N'))");
    TimeOrTell(QStringLiteral("unclosed view of one till: count"), 20,
               [&] { ops.QueryInt(QStringLiteral("SELECT COUNT(*) FROM dromvel ") + unclosed + QLatin1Char(';'), 0); });
    TimeOrTell(QStringLiteral("unclosed view of one till: first rows"), 20, [&] {
        Query q(engine, QStringLiteral("SELECT dromvel.*, kibe.kibe_nev, kasszatip.kasszatip_nev, ugyfel.ugyfel_nev "
                                       "FROM dromvel LEFT OUTER JOIN kibe ON (dromvel.kibe=kibe.kibe) "
                                       "LEFT OUTER JOIN kasszatip ON (dromvel.kasszatip=kasszatip.kasszatip) "
                                       "LEFT OUTER JOIN ugyfel ON (dromvel.ugyfel=ugyfel.ugyfel) ") +
                            unclosed + QStringLiteral(" ORDER BY 1;"));
        q.open();
        for (int i = 0; i < 256 && q.next(); ++i)
            q.value(0);
    });
    TimeOrTell(QStringLiteral("unclosed sums of one till"), 20, [&] {
        ops.QueryFloat(QStringLiteral("SELECT SUM(bevetel) AS bevesz, SUM(kiadas) AS kiad FROM dromvel "
                                      "WHERE (lezarva='N') AND (kiadva='I') AND (kassza=2);"),
                       0);
    });
    TimeOrTell(QStringLiteral("voucher form pick lists, grouping"), 3, [&] {
        for (const char *base : {"szoveg", "forgjogcim"}) {
            QStringList parts;
            for (int i = 1; i <= 3; ++i)
                parts << QStringLiteral("SELECT %1%2 AS szoveg FROM dromvel GROUP BY %1%2")
                             .arg(QLatin1String(base))
                             .arg(i);
            Query q(engine, parts.join(QStringLiteral(" UNION ")) + QLatin1Char(';'));
            q.open();
            while (q.next())
                q.value(0);
        }
    });
    TimeOrTell(QStringLiteral("voucher form pick lists"), 20, [&] {
        DistinctLineValues(engine, QStringLiteral("szoveg"));
        DistinctLineValues(engine, QStringLiteral("forgjogcim"));
    });
    TimeGrid(engine, ops);
    return 0;
}

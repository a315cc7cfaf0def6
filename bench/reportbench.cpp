// Builds the history of one till and times the till history report to PDF, with the memory it took.
// Usage: reportbench [rows] (default 100 000).

#include "benchclock.h"
#include "engine.h"
#include "listframe.h"
#include "reportoutput.h"
#include "tqrossz.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>

namespace {

QTextStream out(stdout);

// Peak resident memory of the process so far, in MB.
double PeakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Processor time of the process so far, in s: on a shared machine a steadier figure than the clock.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Fill(Engine &engine, int rows, const QDate &start)
{
    Transaction transaction(engine);
    engine.insert(QStringLiteral("kassza"),
                  {{QStringLiteral("kassza_nev"), QStringLiteral("Fő pénztár")}, {QStringLiteral("valuta"), "HUF"}});
    for (int c = 1; c <= 200; ++c)
        engine.insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Ügyfél %1").arg(c)}});
    for (int t = 1; t <= 20; ++t)
        engine.insert(QStringLiteral("kasszatip"),
                      {{QStringLiteral("kasszatip_nev"), QStringLiteral("Típus %1").arg(t)}});

    QSqlQuery insert(engine.database());
    insert.prepare(QStringLiteral("INSERT INTO dromvel (dromvelid, kibe, ssz, betujel, kassza, dat_kiadva, kiadva, "
                                  "kasszatip, osszeg, bevetel, kiadas, ugyfel, szoveg) "
                                  "VALUES (?,?,?,?,1,?,'I',?,?,?,?,?,?)"));
    for (int i = 1; i <= rows; ++i) {
        const bool receipt = i % 3 != 0;
        const double amount = 100.0 + (i * 37) % 50000;
        insert.addBindValue(i);
        insert.addBindValue(receipt ? QStringLiteral("B") : QStringLiteral("K"));
        insert.addBindValue(i);
        insert.addBindValue(receipt ? QStringLiteral("PB") : QStringLiteral("PK"));
        insert.addBindValue(start.addDays(i / 100).toString(Qt::ISODate));
        insert.addBindValue(1 + i % 20);
        insert.addBindValue(amount);
        insert.addBindValue(receipt ? amount : 0.0);
        insert.addBindValue(receipt ? 0.0 : amount);
        insert.addBindValue(1 + i % 200);
        // One row in ten carries a text line under it.
        insert.addBindValue(i % 10 == 0 ? QStringLiteral("Megjegyzés a(z) %1. tételhez").arg(i) : QString());
        if (!insert.exec())
            throw EngineError(insert.lastError().text());
    }
    transaction.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    Engine engine(QStringLiteral("bench"));
    engine.open(dir.path());
    const QDate start(2020, 1, 1);
    Fill(engine, rows, start);
    const double before = PeakMemoryMb();

    const DateRange period{start, start.addDays(rows / 100 + 1)};
    const ListFrame::Context context = ListFrame::CurrentContext(engine, QString());
    const auto history = [&] {
        return TqrOssz::layout(TqrOssz::Kasszatortenet, QStringLiteral("Fő pénztár"), period, context,
                               TqrOssz::Rows(engine, TqrOssz::Kasszatortenet, 1, period, context.formatFt));
    };
    const QString path = dir.filePath(QStringLiteral("kasszatortenet.pdf"));
    bool written = false;
    const double cpuBefore = CpuSeconds();
    Time(out, QStringLiteral("till history of %1 rows to PDF").arg(rows), 1,
         [&] { written = Report::WritePdf(history(), path).isEmpty(); });
    if (!written)
        return 1;
    const double cpu = CpuSeconds() - cpuBefore;
    // The same pages without painting: what the query and the layout take of the time.
    int pages = 0;
    Time(out, QStringLiteral("of which query and layout"), 1,
         [&] { history().forEachPage([&pages](const Report::Page &) { return ++pages > 0; }); });
    out << QStringLiteral("%1 pages, %2 MB file, %3 s processor for the PDF\n")
               .arg(pages)
               .arg(QFileInfo(path).size() / 1048576.0, 0, 'f', 1)
               .arg(cpu, 0, 'f', 2);
    out << QStringLiteral("peak memory: %1 MB (%2 MB before the report)\n")
               .arg(PeakMemoryMb(), 0, 'f', 0)
               .arg(before, 0, 'f', 0);
    return 0;
}

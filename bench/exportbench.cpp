// Times the exports of a large ledger against the engine's own CSV output, and shows that their memory stays flat.
// Usage: exportbench [rows [folder]] (default 1 000 000 rows in a temporary folder; a given folder keeps the ledger
// and the files written, and a ledger of that size found there is used again). Needs the sqlite3 command-line program
// for the comparison.

#include "benchledger.h"
#include "delimitedwriter.h"
#include "engine.h"
#include "spreadsheetwriter.h"
#include "sqlexportsource.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream out(stdout);

qint64 PeakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

// Child mode: one export of the first `rows` rows of the ledger in `folder` into `file`; prints seconds and peak KiB.
int RunExport(const QString &kind, const QString &folder, const QString &file, int rows)
{
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    Engine engine(QStringLiteral("bench"));
    engine.open(folder);
    SqlExportSource source(engine, LedgerSql + QStringLiteral(" LIMIT %1").arg(rows));
    source.setNumberFormat(QStringLiteral("### ### ##0"));
    QElapsedTimer timer;
    timer.start();
    QSaveFile target(file);
    if (!target.open(QIODevice::WriteOnly))
        return 1;
    if (kind == QLatin1String("csv"))
        DelimitedWriter(DelimitedOptions()).write(source, target);
    else
        SpreadsheetWriter(SpreadsheetOptions()).write(source, target);
    if (!target.commit())
        return 1;
    out << timer.elapsed() / 1000.0 << ' ' << PeakKiB() << '\n';
    return 0;
}

struct Run
{
    double seconds = 0;
    qint64 peakKiB = 0;
    qint64 bytes = 0;
};

Run Child(const QString &kind, const QString &folder, const QString &file, int rows)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--export"), kind, folder, file, QString::number(rows)});
    child.waitForFinished(-1);
    const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
    if (child.exitCode() != 0 || parts.size() != 2) {
        out << "export failed: " << child.readAllStandardError() << '\n';
        return {};
    }
    return {parts.at(0).toDouble(), parts.at(1).toLongLong(), QFileInfo(file).size()};
}

void Print(const QString &name, const Run &run)
{
    const QString peak = run.peakKiB > 0 ? QStringLiteral("peak %1 MiB").arg(run.peakKiB / 1024.0, 6, 'f', 1)
                                         : QStringLiteral("%1").arg(QString(), 15);
    out << QStringLiteral("%1 %2 s  %3  %4 MiB written\n")
               .arg(name, -34)
               .arg(run.seconds, 7, 'f', 2)
               .arg(peak)
               .arg(run.bytes / 1048576.0, 6, 'f', 1);
    out.flush();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args.at(1) == QLatin1String("--export"))
        return RunExport(args.at(2), args.at(3), args.at(4), args.at(5).toInt());

    const int rows = args.size() > 1 ? args.at(1).toInt() : 1000000;
    QTemporaryDir temporary;
    const QDir dir(args.size() > 2 ? args.at(2) : temporary.path());
    PrepareLedger(out, dir.path(), rows);

    const QString csv = dir.filePath(QStringLiteral("export.csv"));
    const Run small = Child(QStringLiteral("csv"), dir.path(), csv, rows / 10);
    Print(QStringLiteral("CSV export, %1 rows").arg(rows / 10), small);
    const Run full = Child(QStringLiteral("csv"), dir.path(), csv, rows);
    Print(QStringLiteral("CSV export, %1 rows").arg(rows), full);

    QProcess sqlite;
    sqlite.setStandardOutputFile(dir.filePath(QStringLiteral("sqlite.csv")));
    QElapsedTimer timer;
    timer.start();
    sqlite.start(QStringLiteral("sqlite3"),
                 {QStringLiteral("-csv"), QStringLiteral("-header"),
                  dir.filePath(QString::fromLatin1(Engine::FileName)), LedgerSql + QLatin1Char(';')});
    if (!sqlite.waitForFinished(-1) || sqlite.exitCode() != 0) {
        out << "sqlite3 -csv could not run (install the sqlite3 package)\n";
    } else {
        Run bare{timer.elapsed() / 1000.0, 0, QFileInfo(dir.filePath(QStringLiteral("sqlite.csv"))).size()};
        Print(QStringLiteral("sqlite3 -csv, %1 rows").arg(rows), bare);
        out << QStringLiteral("CSV export / sqlite3 -csv: %1\n").arg(full.seconds / bare.seconds, 0, 'f', 2);
    }

    const int sheetRows = std::min(rows, 100000);
    const QString xlsx = dir.filePath(QStringLiteral("export.xlsx"));
    Print(QStringLiteral("xlsx export, %1 rows").arg(sheetRows / 10),
          Child(QStringLiteral("xlsx"), dir.path(), xlsx, sheetRows / 10));
    Print(QStringLiteral("xlsx export, %1 rows").arg(sheetRows),
          Child(QStringLiteral("xlsx"), dir.path(), xlsx, sheetRows));
    return 0;
}

#include "archive.h"
#include "archiveerror.h"
#include "engine.h"
#include "query.h"
#include "testfiles.h"
#include "util.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>
#include <zip.h>

namespace {

QByteArray RandomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(4)); // compressible but not trivial
    return bytes;
}

// The message of the archive's failure; empty when it was written.
template <typename Target> QString PackingFailure(const QString &folder, Target &target)
{
    try {
        ArchiveFolder(folder, target);
        return QString();
    } catch (const ArchiveError &e) {
        return e.message();
    }
}

// Unpacks the stored database and opens it.
QString UnpackDatabase(const QMap<QString, ZipEntry> &entries, const QString &folder)
{
    QDir().mkpath(folder);
    QFile f(folder + "/" + Engine::FileName);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(entries.value(Engine::FileName).bytes);
    return folder;
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void folderWithSubfoldersRoundTrips();
    void snapshotWhileAnotherConnectionWrites();
    void damagedDatabaseGoesInAsItLies();
    void failureLeavesNoArchive();
    void failingDeviceIsReported();
    void emptyFolderGivesEmptyArchive();

private:
    QString folder(const QString &name) const { return m_root + "/" + name; }

    QTemporaryDir m_dir;
    QString m_root;
};

void TestArchive::init()
{
    static int n = 0;
    m_root = m_dir.filePath(QString::number(++n));
    QDir().mkpath(m_root + "/prog");
}

void TestArchive::folderWithSubfoldersRoundTrips()
{
    const QString db = folder("db");
    QDir().mkpath(db);
    Engine engine;
    engine.open(db);
    engine.insert("ugyfel", {{"ugyfel_nev", "Kovács Árpád"}});
    QVERIFY(QFile::exists(engine.filePath() + "-wal")); // the live connection keeps its WAL

    const QMap<QString, QByteArray> files{{"leiras.txt", "szöveg\r\n"},
                                          {"sub/adat.bin", RandomBytes(200000)},
                                          {"sub/mélyebb/árvíztűrő.txt", "tükörfúrógép"},
                                          {".rejtett", "x"},
                                          {"ures.txt", {}}};
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        WriteFile(db + "/" + it.key(), it.value());

    const QString zipPath = folder("mentes.zip");
    const ArchiveResult result = ArchiveFolder(db, zipPath);
    QCOMPARE(result.entries, files.size() + 1);
    QVERIFY(result.unchecked.isEmpty());

    const auto entries = ReadZip(zipPath);
    QStringList expected = files.keys();
    expected.append(Engine::FileName);
    expected.sort();
    QCOMPARE(entries.keys(), expected);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        QCOMPARE(entries.value(it.key()).bytes, it.value());
    QCOMPARE(entries.value("sub/adat.bin").method, ZIP_CM_DEFLATE);

    QFile zipFile(zipPath);
    QVERIFY(zipFile.open(QIODevice::ReadOnly));
    QVERIFY(!zipFile.readAll().contains(QByteArray("PK\x06\x06", 4))); // no zip64 end record

    Engine restored(QStringLiteral("restored"));
    restored.open(UnpackDatabase(entries, folder("restored")));
    Query q(restored, "SELECT ugyfel_nev FROM ugyfel;");
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Kovács Árpád"));
}

// A writer commits 10 rows per transaction while archives are taken: each stored database must be whole,
// hold only complete transactions and at least what was committed before packing began.
void TestArchive::snapshotWhileAnotherConnectionWrites()
{
    const QString db = folder("live");
    QDir().mkpath(db);
    {
        Engine engine;
        engine.open(db);
        engine.exec("CREATE TABLE probe (id INTEGER PRIMARY KEY, payload BLOB);");
    }

    std::atomic<bool> stop{false};
    std::atomic<int> committed{0};
    std::thread writer([&] {
        sqlite3 *c = nullptr;
        sqlite3_open_v2(QFile::encodeName(db + "/" + Engine::FileName).constData(), &c, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(c, 5000);
        while (!stop) {
            sqlite3_exec(c, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr);
            for (int i = 0; i < 10; ++i)
                sqlite3_exec(c, "INSERT INTO probe (payload) VALUES (randomblob(3000));", nullptr, nullptr, nullptr);
            if (sqlite3_exec(c, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK)
                committed += 10;
            else
                sqlite3_exec(c, "ROLLBACK;", nullptr, nullptr, nullptr);
        }
        sqlite3_close(c);
    });
    // Stops the writer also when a check below fails and returns early.
    const auto joiner = qScopeGuard([&] {
        stop = true;
        writer.join();
    });
    while (committed < 200)
        QThread::msleep(5);

    for (int round = 0; round < 3; ++round) {
        const int before = committed;
        const QString zipPath = folder(QString("live%1.zip").arg(round));
        const QString failure = PackingFailure(db, zipPath);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const auto entries = ReadZip(zipPath);
        QVERIFY(!entries.contains(QString(Engine::FileName) + "-wal"));
        QVERIFY(!entries.contains(QString(Engine::FileName) + "-shm"));

        Engine restored(QStringLiteral("restored"));
        restored.open(UnpackDatabase(entries, folder(QString("restored%1").arg(round))));
        Query check(restored, "PRAGMA integrity_check;");
        check.open();
        QVERIFY(check.next());
        QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
        Query count(restored, "SELECT count(*) FROM probe;");
        count.open();
        QVERIFY(count.next());
        const int rows = count.value(0).toInt();
        QVERIFY2(rows >= before && rows % 10 == 0, qPrintable(QString("%1 rows, %2 before").arg(rows).arg(before)));
    }
}

// No snapshot can be taken of a database whose header is damaged: its bytes go in as they are, log and all.
void TestArchive::damagedDatabaseGoesInAsItLies()
{
    const QString live = folder("live");
    const QString db = folder("damaged");
    QDir().mkpath(live);
    QDir().mkpath(db);
    Engine engine;
    engine.open(live);
    engine.insert("ugyfel", {{"ugyfel_nev", "Kovács Árpád"}});
    QMap<QString, QByteArray> files;
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile f(engine.filePath() + suffix);
        QVERIFY(f.open(QIODevice::ReadOnly));
        files.insert(QString(Engine::FileName) + suffix, f.readAll());
    }
    QVERIFY(files.value(QString(Engine::FileName) + "-wal").size() > 0);
    QByteArray &main = files[Engine::FileName];
    main[16] = 0; // page size 3: no database has it
    main[17] = 3;
    files.insert("leiras.txt", "szöveg");
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        WriteFile(db + "/" + it.key(), it.value());

    const QString zipPath = folder("serult.zip");
    ArchiveResult result;
    try {
        result = ArchiveFolder(db, zipPath);
    } catch (const ArchiveError &e) {
        QFAIL(qPrintable(e.message()));
    }
    QVERIFY2(result.unchecked.startsWith("Az adatbázisról nem készíthető másolat"), qPrintable(result.unchecked));
    const auto entries = ReadZip(zipPath);
    QCOMPARE(entries.keys(),
             (QStringList{QString(Engine::FileName), QString(Engine::FileName) + "-wal", "leiras.txt"}));
    QCOMPARE(result.entries, 3);
    for (const QString &name : entries.keys())
        QCOMPARE(entries.value(name).bytes, files.value(name));
    // The failed attempt left the database and its log as they were (the -shm is only an index of the log).
    for (const QString &name : entries.keys()) {
        QFile f(db + "/" + name);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(f.readAll() == files.value(name), qPrintable(name));
    }
}

void TestArchive::failureLeavesNoArchive()
{
    const QString db = folder("db");
    WriteFile(db + "/a.txt", "a");
    QCOMPARE(mkfifo(QFile::encodeName(db + "/cso").constData(), 0600), 0);

    const QString zipPath = folder("mentes.zip");
    QString failure = PackingFailure(db, zipPath);
    QVERIFY2(failure.contains("cso"), qPrintable(failure));
    QVERIFY(!QFile::exists(zipPath));
    QCOMPARE(QDir(m_root).entryList(QDir::Files), QStringList{}); // no temporary leftovers

    // An earlier archive of the same name stays as it was.
    WriteFile(zipPath, "korábbi");
    QVERIFY(!PackingFailure(db, zipPath).isEmpty());
    QFile earlier(zipPath);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("korábbi"));

    const QString missing = folder("x.zip");
    failure = PackingFailure(folder("nincs"), missing);
    QVERIFY2(failure.startsWith("Nem létező adatbázis mappa"), qPrintable(failure));
    QVERIFY(!QFile::exists(folder("x.zip")));
}

// A device that refuses writes after the first kilobyte, like a full disk.
void TestArchive::failingDeviceIsReported()
{
    class FullDisk : public QBuffer
    {
    protected:
        qint64 writeData(const char *data, qint64 len) override
        {
            if (pos() + len > 1024) {
                setErrorString("Nincs hely az eszközön");
                return -1;
            }
            return QBuffer::writeData(data, len);
        }
    };
    WriteFile(folder("db") + "/nagy.bin", RandomBytes(50000));
    FullDisk device;
    QVERIFY(device.open(QIODevice::WriteOnly));
    const QString failure = PackingFailure(folder("db"), device);
    QVERIFY2(failure.contains("Nincs hely az eszközön"), qPrintable(failure));
}

void TestArchive::emptyFolderGivesEmptyArchive()
{
    QDir().mkpath(folder("ures"));
    const QString zipPath = folder("ures.zip");
    QCOMPARE(ArchiveFolder(folder("ures"), zipPath).entries, 0);
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    QVERIFY(zip);
    QCOMPARE(zip_get_num_entries(zip, 0), zip_int64_t(0));
    zip_close(zip);
}

QTEST_MAIN(TestArchive)
#include "test_archive.moc"

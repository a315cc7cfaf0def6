#include "archive.h"
#include "engine.h"
#include "ini.h"
#include "query.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
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

struct ZipEntry
{
    QByteArray bytes;
    int method = -1;
};

// Every entry of the archive by name, read back through libzip.
QMap<QString, ZipEntry> ReadZip(const QString &path)
{
    QMap<QString, ZipEntry> result;
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!zip)
        return result;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, zip_uint64_t(i), 0, &st);
        zip_file_t *file = zip_fopen_index(zip, zip_uint64_t(i), 0);
        QByteArray bytes(qsizetype(st.size), '\0');
        const zip_int64_t n = zip_fread(file, bytes.data(), st.size);
        zip_fclose(file);
        if (n == zip_int64_t(st.size))
            result.insert(QString::fromUtf8(st.name), {bytes, int(st.comp_method)});
    }
    zip_close(zip);
    return result;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray RandomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->bounded(4)); // compressible but not trivial
    return bytes;
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
    void failureLeavesNoArchive();
    void failingDeviceIsReported();
    void emptyFolderGivesEmptyArchive();
    void mainWindowFlow();
    void listEditorFlow();

private:
    QString folder(const QString &name) const { return m_root + "/" + name; }

    QTemporaryDir m_dir;
    QString m_root;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_dialogs;
};

void TestArchive::init()
{
    static int n = 0;
    m_root = m_dir.filePath(QString::number(++n));
    QDir().mkpath(m_root + "/prog");
    InitStartupValues(m_root + "/prog", m_root + "/common");
    m_messages.clear();
    m_dialogs.asked.clear();
    m_dialogs.answers.clear();
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
    QVERIFY2(result.ok, qPrintable(result.error));

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
        const ArchiveResult result = ArchiveFolder(db, zipPath);
        QVERIFY2(result.ok, qPrintable(result.error));
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

void TestArchive::failureLeavesNoArchive()
{
    const QString db = folder("db");
    WriteFile(db + "/a.txt", "a");
    QCOMPARE(mkfifo(QFile::encodeName(db + "/cso").constData(), 0600), 0);

    const QString zipPath = folder("mentes.zip");
    ArchiveResult result = ArchiveFolder(db, zipPath);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains("cso"), qPrintable(result.error));
    QVERIFY(!QFile::exists(zipPath));
    QCOMPARE(QDir(m_root).entryList(QDir::Files), QStringList{}); // no temporary leftovers

    // An earlier archive of the same name stays as it was.
    WriteFile(zipPath, "korábbi");
    QVERIFY(!ArchiveFolder(db, zipPath).ok);
    QFile earlier(zipPath);
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("korábbi"));

    result = ArchiveFolder(folder("nincs"), folder("x.zip"));
    QVERIFY(result.error.startsWith("Nem létező adatbázis mappa"));
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
    const ArchiveResult result = ArchiveFolder(folder("db"), device);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains("Nincs hely az eszközön"), qPrintable(result.error));
}

void TestArchive::emptyFolderGivesEmptyArchive()
{
    QDir().mkpath(folder("ures"));
    const QString zipPath = folder("ures.zip");
    QVERIFY(ArchiveFolder(folder("ures"), zipPath).ok);
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(zipPath).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    QVERIFY(zip);
    QCOMPARE(zip_get_num_entries(zip, 0), zip_int64_t(0));
    zip_close(zip);
}

void TestArchive::mainWindowFlow()
{
    const QString db = folder("db");
    WriteFile(db + "/a.txt", "a");
    const QString archiveFolder = DataFolder() + "/Archiv";
    const QString proposed = archiveFolder + "/" + QDate::currentDate().toString("yyyyMMdd") + ".zip";

    // Cancelled: only the folder was made.
    QVERIFY(ArchiveDatabaseFolder(db, m_messages, m_dialogs).isEmpty());
    QVERIFY(QFileInfo(archiveFolder).isDir());
    QCOMPARE(m_dialogs.asked.size(), 1);
    QCOMPARE(m_dialogs.asked.first().caption, QStringLiteral("Adatbázis mentése"));
    QCOMPARE(m_dialogs.asked.first().path, proposed);
    QCOMPARE(m_dialogs.asked.first().filter, QStringLiteral("ZIP archívumok (*.zip)"));
    QVERIFY(QDir(archiveFolder).isEmpty());

    // Twice on one day: the same name, the second replaces the first.
    m_dialogs.answers = {proposed, proposed};
    QCOMPARE(ArchiveDatabaseFolder(db, m_messages, m_dialogs), proposed);
    WriteFile(db + "/b.txt", "b");
    QCOMPARE(ArchiveDatabaseFolder(db, m_messages, m_dialogs), proposed);
    QCOMPARE(ReadZip(proposed).keys(), (QStringList{"a.txt", "b.txt"}));
    QVERIFY(m_messages.shown.isEmpty());
}

void TestArchive::listEditorFlow()
{
    const QString db = folder("db");
    WriteFile(db + "/a.txt", "a");
    const QString iniPath = IniPath();
    IniFile ini;
    QString archiveFolder; // the list's value at the start of a run
    const QString chosenFolder = folder("mentesek");
    QDir().mkpath(chosenFolder);

    // First use: no complaint, the default folder is proposed and made.
    m_dialogs.answers = {chosenFolder + "/elso.zip"};
    QVERIFY(ArchiveListEntry(db, archiveFolder, ini, iniPath, m_messages, m_dialogs));
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(m_dialogs.asked.first().path.startsWith(DataFolder() + "/Archiv/"));
    QVERIFY(QFileInfo(DataFolder() + "/Archiv").isDir());
    QCOMPARE(archiveFolder, chosenFolder);
    IniFile onDisk;
    QVERIFY(onDisk.load(iniPath));
    QCOMPARE(onDisk.readDate("Archive", "LastArchive"), QDate::currentDate());

    // The chosen folder is proposed next; once it has gone, the default comes back with a word.
    m_dialogs.answers = {};
    QVERIFY(!ArchiveListEntry(db, archiveFolder, ini, iniPath, m_messages, m_dialogs));
    QVERIFY(m_dialogs.asked.last().path.startsWith(chosenFolder + "/"));
    QVERIFY(QDir(chosenFolder).removeRecursively());
    QVERIFY(!ArchiveListEntry(db, archiveFolder, ini, iniPath, m_messages, m_dialogs));
    QCOMPARE(m_messages.texts(), QStringList{"Nem létező mentési útvonal, alapértelmezés visszaállítva."});
    QCOMPARE(archiveFolder, DataFolder() + "/Archiv");

    // A failed archive records no date.
    ini.deleteKey("Archive", "LastArchive");
    m_messages.clear();
    m_dialogs.answers = {archiveFolder + "/hibas.zip"};
    QVERIFY(!ArchiveListEntry(folder("nincs"), archiveFolder, ini, iniPath, m_messages, m_dialogs));
    QVERIFY(m_messages.texts().first().startsWith("Hiba az archiválás közben\nNem létező adatbázis mappa"));
    QVERIFY(!ini.valueExists("Archive", "LastArchive"));
}

QTEST_MAIN(TestArchive)
#include "test_archive.moc"

#include "archive.h"
#include "archiveerror.h"
#include "engine.h"
#include "filefaults.h"
#include "ledgersound.h"
#include "restore.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using Files = QMap<QString, QByteArray>;

namespace {

// Every row of every table, in rowid order, as text.
QStringList AllRows(Engine &engine)
{
    QStringList rows;
    for (const QString &table : engine.tables()) {
        QSqlQuery q(engine.database());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid;").arg(table)))
            return {QStringLiteral("nem olvasható: ") + table};
        while (q.next()) {
            QStringList values{table};
            for (int i = 0; i < q.record().count(); ++i)
                values.append(q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
            rows.append(values.join(QLatin1Char('|')));
        }
    }
    return rows;
}

// Every file under the folder with its bytes, by relative path.
QMap<QString, QByteArray> FilesUnder(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        QFile f(it.filePath());
        const QString name = QDir(folder).relativeFilePath(it.filePath());
        files.insert(name, it.fileInfo().isDir() || !f.open(QIODevice::ReadOnly) ? QByteArray("<mappa>") : f.readAll());
    }
    return files;
}

QByteArray RandomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(QRandomGenerator::global()->generate());
    return bytes;
}

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString RestoreFailure(const QString &zip, const QString &target, const QString &openFolder)
{
    try {
        RestoreArchive(zip, target, openFolder);
        return QString();
    } catch (const ArchiveError &e) {
        return e.message();
    }
}

} // namespace

// Restoring an archive the program made: the same rows come back, checked; anything else is refused with the
// target left as it was.
class TestRestore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void roundTrip_data();
    void roundTrip();
    void refusals_data();
    void refusals();

private:
    QString folder(const QString &name) const { return m_root + "/" + name; }
    // A copy of the sample ledger in a folder of its own, open.
    std::unique_ptr<Engine> ledger(const QString &name);

    QTemporaryDir m_dir;
    QString m_sample;
    QString m_root;
};

// The sample ledger (three months of booked vouchers in two tills) is built once; tests archive copies of it.
void TestRestore::initTestCase()
{
    m_sample = m_dir.filePath("sample");
    QDir().mkpath(m_sample);
    Engine engine("sample");
    engine.open(m_sample);
    FillSampleData(engine);
    FillSampleVouchers(engine, QDate(2024, 6, 14));
    engine.exec("PRAGMA wal_checkpoint(TRUNCATE);");
}

void TestRestore::init()
{
    static int n = 0;
    m_root = m_dir.filePath(QString::number(++n));
    QDir().mkpath(m_root);
}

std::unique_ptr<Engine> TestRestore::ledger(const QString &name)
{
    const QString target = folder(name);
    QDir().mkpath(target);
    QFile::copy(m_sample + "/" + Engine::FileName, target + "/" + Engine::FileName);
    auto engine = std::make_unique<Engine>(name);
    engine->open(target);
    return engine;
}

void TestRestore::roundTrip_data()
{
    QTest::addColumn<Files>("extra");
    QTest::addColumn<QString>("targetSuffix");

    QTest::newRow("the database alone") << Files{} << QString();
    QTest::newRow("with files and subfolders") << Files{{"leiras.txt", "szöveg\r\n"},
                                                        {"export/2024/június.csv", "a;b\r\n1;2\r\n"},
                                                        {".rejtett", "x"},
                                                        {"ures.txt", {}}}
                                               << QString();
    QTest::newRow("target typed with a trailing separator") << Files{} << QString("/");
}

void TestRestore::roundTrip()
{
    QFETCH(Files, extra);
    QFETCH(QString, targetSuffix);

    // Archived while open and freshly written to, as the program archives its own database.
    std::unique_ptr<Engine> source = ledger("db");
    source->insert("ugyfel", {{"ugyfel_nev", "Kovács Árpád"}});
    QVERIFY(QFile::exists(source->filePath() + "-wal"));
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        WriteFile(folder("db/" + it.key()), it.value());
    const QString zip = folder("mentes.zip");
    ArchiveFolder(folder("db"), zip);

    const QString target = folder("visszaallitott");
    QDir().mkpath(target);
    const RestoreResult result = RestoreArchive(zip, target + targetSuffix, source->folder());
    QCOMPARE(result.files, extra.size() + 1);
    QVERIFY2(result.findings.isEmpty(), qPrintable(result.findings.join('\n')));

    // Only the database file and the other files, nothing of the unpacking left behind.
    QMap<QString, QByteArray> files = FilesUnder(target);
    QVERIFY(files.contains(Engine::FileName));
    files.remove(Engine::FileName);
    for (auto it = extra.cbegin(); it != extra.cend(); ++it) {
        QCOMPARE(files.value(it.key()), it.value());
        files.remove(it.key());
    }
    for (const QString &name : files.keys())
        QVERIFY2(files.value(name) == "<mappa>", qPrintable(name)); // only the subfolders themselves remain

    Engine restored("restored");
    restored.open(target);
    QCOMPARE(AllRows(restored), AllRows(*source));
    QVERIFY_LEDGER_SOUND(restored);
}

void TestRestore::refusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");

    const QString foreign = "nem a Dromvel.Pro programmal készült adatbázis-archívum";
    const QString damaged = "Az archívum sérült, nem állítható vissza";
    // clang-format off
    QTest::newRow("zip of other files") << "other files" << foreign + "%\nNincs benne dromvel.sqlite";
    QTest::newRow("not a zip") << "text file" << foreign + "%\nA fájl nem zip archívum";
    QTest::newRow("cut short") << "cut short" << foreign + "%\nA fájl nem zip archívum, vagy a vége hiányzik";
    QTest::newRow("a byte changed") << "byte changed" << damaged + "%nem bontható ki";
    QTest::newRow("path leading outside") << "outside" << foreign + "%„../kint.txt” bejegyzés nem a mappán belüli";
    QTest::newRow("absolute path") << "absolute" << foreign + "%„/tmp/kint.txt” bejegyzés nem a mappán belüli";
    QTest::newRow("damaged database file") << "damaged database" << damaged + "%\nAz adatbázis";
    QTest::newRow("another program's database") << "other database" << foreign + "%nem Dromvel.Pro adatbázis";
    QTest::newRow("empty database file") << "empty database" << damaged + "%nem SQLite adatbázis";
    QTest::newRow("missing archive") << "missing archive" << "Az archívum nem olvasható";
    QTest::newRow("target holds a file") << "target not empty" << "A cél mappa nem üres";
    QTest::newRow("target holds a hidden file") << "target hidden" << "A cél mappa nem üres";
    QTest::newRow("missing target") << "missing target" << "Nem létező mappa";
    QTest::newRow("the open database's folder") << "open folder" << "nem lehet a megnyitott adatbázis mappája";
    QTest::newRow("inside the open database's folder") << "inside open" << "nem lehet a megnyitott adatbázis";
    QTest::newRow("a write fails midway") << "write fails" << "A fájl nem írható";
    QTest::newRow("target not writable") << "read-only target" << "A cél mappa nem írható";
    // clang-format on
}

// Every refusal names its reason and leaves the target folder, and the archive, exactly as they were.
void TestRestore::refusals()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);

    std::unique_ptr<Engine> source = ledger("db");
    WriteFile(folder("db/adat.bin"), RandomBytes(300000)); // packed before the database
    const QString zip = folder("mentes.zip");
    ArchiveFolder(folder("db"), zip);
    QByteArray database = ReadZip(zip).value(Engine::FileName).bytes;
    QString target = folder("cel");
    QDir().mkpath(target);
    QString chosen = zip;

    if (setup == "other files") {
        WriteZip(zip, {{"kep.jpg", "JFIF"}, {"alma/dromvel.sqlite", database}});
    } else if (setup == "text file") {
        WriteFile(zip, "Ez egy szövegfájl.\r\n");
    } else if (setup == "cut short") {
        QByteArray bytes = ReadBytes(zip);
        WriteFile(zip, bytes.left(bytes.size() - 200));
    } else if (setup == "byte changed") {
        WriteZip(zip, {{Engine::FileName, database}});
        QByteArray bytes = ReadBytes(zip);
        for (int i = bytes.size() / 2; i < bytes.size() / 2 + 8; ++i)
            bytes[i] = char(~bytes[i]);
        WriteFile(zip, bytes);
    } else if (setup == "outside") {
        WriteZip(zip, {{Engine::FileName, database}, {"../kint.txt", "x"}});
    } else if (setup == "absolute") {
        WriteZip(zip, {{Engine::FileName, database}, {"/tmp/kint.txt", "x"}});
    } else if (setup == "damaged database") {
        // The pages after the first two overwritten: the catalogue is read, the tables are gone.
        for (int i = 8192; i < database.size(); ++i)
            database[i] = char(0x5a);
        WriteZip(zip, {{Engine::FileName, database}});
    } else if (setup == "other database") {
        const QString other = folder("masik");
        QDir().mkpath(other);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
            db.setDatabaseName(other + "/" + Engine::FileName);
            QVERIFY(db.open());
            QSqlQuery(db).exec("CREATE TABLE recept (nev TEXT);");
            db.close();
        }
        QSqlDatabase::removeDatabase("other");
        WriteZip(zip, {{Engine::FileName, ReadBytes(other + "/" + Engine::FileName)}});
    } else if (setup == "empty database") {
        WriteZip(zip, {{Engine::FileName, {}}, {"leiras.txt", "x"}});
    } else if (setup == "missing archive") {
        chosen = folder("nincs.zip");
    } else if (setup == "target not empty") {
        WriteFile(target + "/jegyzet.txt", "marad");
    } else if (setup == "target hidden") {
        WriteFile(target + "/.rejtett", "marad");
    } else if (setup == "missing target") {
        target = folder("nincs");
    } else if (setup == "open folder") {
        target = source->folder();
    } else if (setup == "inside open") {
        target = source->folder() + "/al";
        QDir().mkpath(target);
    }

    const QStringList rowsBefore = AllRows(*source);
    const QByteArray zipBefore = ReadBytes(chosen);
    const QMap<QString, QByteArray> targetBefore = FilesUnder(target);
    QString failure;
    if (setup == "write fails") {
        FileSizeLimit limit(100000);
        QVERIFY(limit.active());
        failure = RestoreFailure(chosen, target, source->folder());
    } else if (setup == "read-only target") {
        FileModesBind modes;
        QVERIFY(modes.active());
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
        failure = RestoreFailure(chosen, target, source->folder());
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        failure = RestoreFailure(chosen, target, source->folder());
    }

    const QStringList parts = message.split('%');
    QVERIFY2(failure.contains(parts.first()), qPrintable(failure));
    QVERIFY2(failure.contains(parts.last()), qPrintable(failure));
    QCOMPARE(FilesUnder(target), targetBefore);
    QCOMPARE(ReadBytes(chosen), zipBefore);
    QCOMPARE(AllRows(*source), rowsBefore);
    QVERIFY(!QFile::exists(folder("kint.txt")));
    QVERIFY(!QFile::exists("/tmp/kint.txt"));
}

QTEST_GUILESS_MAIN(TestRestore)
#include "test_restore.moc"

#include "engine.h"
#include "maintenancedatabase.h"
#include "query.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestMaintenanceDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void missingFolderOrDatabase_data();
    void missingFolderOrDatabase();
    void refusedWhileAnotherConnectionHasItOpen();
    void refusedWhileAnotherProcessHasItOpen();
    void nobodyElseGetsInWhileHeld();
    void sharedAccessReadsBesideTheMainProgram();

private:
    // Everything that defines the database: its catalogue and the rows of the ledger.
    QString fingerprint();
    static const QString InUse;

    QTemporaryDir m_dir;
    QString m_folder;
    int m_count = 0;
};

const QString TestMaintenanceDatabase::InUse = QStringLiteral("valamelyik számítógépen még fut a Dromvel program");

void TestMaintenanceDatabase::init()
{
    m_folder = m_dir.filePath(QString::number(++m_count));
    QDir().mkpath(m_folder);
    Engine engine(QStringLiteral("setup"));
    engine.open(m_folder);
    engine.insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), 1}, {QStringLiteral("zaro"), 5.0}});
}

QString TestMaintenanceDatabase::fingerprint()
{
    QString text;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
        db.setDatabaseName(QDir(m_folder).filePath(QStringLiteral("dromvel.sqlite")));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master ORDER BY name;"));
            while (q.next())
                text += q.value(0).toString() + q.value(1).toString() + q.value(2).toString() + QLatin1Char('\n');
            q.exec(QStringLiteral("SELECT dromvel, dromvelid, zaro FROM dromvel ORDER BY dromvel;"));
            while (q.next())
                text += q.value(0).toString() + q.value(1).toString() + q.value(2).toString() + QLatin1Char('\n');
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("look"));
    return text;
}

void TestMaintenanceDatabase::missingFolderOrDatabase_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("oldTables");
    QTest::newRow("no such folder") << "nincs"
                                    << "Nem létező adatbázis mappa." << false;
    QTest::newRow("empty text") << ""
                                << "Nem létező adatbázis mappa." << false;
    QTest::newRow("folder without a database") << "ures"
                                               << "A mappában nincs Dromvel adatbázis: " << false;
    QTest::newRow("folder of old tables") << "regi"
                                          << "„Régi adatbázis átvétele”" << true;
}

void TestMaintenanceDatabase::missingFolderOrDatabase()
{
    QFETCH(QString, folder);
    QFETCH(QString, message);
    QFETCH(bool, oldTables);
    const QString path = folder.isEmpty() ? QString() : m_dir.filePath(folder);
    if (folder != QLatin1String("nincs") && !path.isEmpty())
        QDir().mkpath(path);
    if (oldTables) {
        QFile old(QDir(path).filePath(QStringLiteral("DROMVEL.DB")));
        QVERIFY(old.open(QIODevice::WriteOnly));
    }
    MaintenanceDatabase database;
    QVERIFY2(database.open(path).contains(message), qPrintable(database.open(path)));
    QVERIFY(!database.engine().isOpen());
    // Looking never leaves a new database behind.
    QVERIFY(path.isEmpty() || !QFile::exists(QDir(path).filePath(QStringLiteral("dromvel.sqlite"))));
}

void TestMaintenanceDatabase::refusedWhileAnotherConnectionHasItOpen()
{
    const QString before = fingerprint();
    {
        Engine main(QStringLiteral("main"));
        main.open(m_folder);
        main.exec(QStringLiteral("SELECT COUNT(*) FROM dromvel;"));
        MaintenanceDatabase database;
        QVERIFY(database.open(m_folder).contains(InUse));
        QVERIFY(!database.engine().isOpen());
        // The main program goes on working.
        main.insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), 2}, {QStringLiteral("zaro"), 6.0}});
        main.exec(QStringLiteral("DELETE FROM dromvel WHERE dromvelid=2;"));
    }
    QCOMPARE(fingerprint(), before);
    MaintenanceDatabase database;
    QCOMPARE(database.open(m_folder), QString());
}

void TestMaintenanceDatabase::refusedWhileAnotherProcessHasItOpen()
{
    const QString before = fingerprint();
    QProcess holder;
    holder.start(QStringLiteral(DB_HOLDER), {m_folder});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("open"));

    MaintenanceDatabase database;
    QVERIFY(database.open(m_folder).contains(InUse));
    QCOMPARE(fingerprint(), before);

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(30000));
    QCOMPARE(holder.exitCode(), 0);
    QCOMPARE(database.open(m_folder), QString());
}

// While the maintenance program holds the database, a program that starts cannot even read it.
void TestMaintenanceDatabase::nobodyElseGetsInWhileHeld()
{
    MaintenanceDatabase database;
    QCOMPARE(database.open(m_folder), QString());
    QString failure;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(QDir(m_folder).filePath(QStringLiteral("dromvel.sqlite")));
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=100"));
        QVERIFY(other.open());
        QSqlQuery q(other);
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM dromvel;")))
            failure = q.lastError().databaseText();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    QVERIFY2(failure.contains(QStringLiteral("locked")), qPrintable(failure));
    database.close();
    Engine after(QStringLiteral("after"));
    after.open(m_folder);
    after.exec(QStringLiteral("SELECT COUNT(*) FROM dromvel;"));
}

void TestMaintenanceDatabase::sharedAccessReadsBesideTheMainProgram()
{
    Engine main(QStringLiteral("main"));
    main.open(m_folder);
    main.exec(QStringLiteral("SELECT COUNT(*) FROM dromvel;"));
    MaintenanceDatabase database;
    QCOMPARE(database.open(m_folder + QStringLiteral("/"), MaintenanceDatabase::Access::Shared), QString());
    Query q(database.engine(), QStringLiteral("SELECT zaro FROM dromvel;"));
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDouble(), 5.0);
    q.close();
    main.insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), 2}});
    QCOMPARE(database.open(m_dir.filePath(QStringLiteral("sehol")), MaintenanceDatabase::Access::Shared),
             MaintenanceDatabase::MissingFolderMessage);
}

QTEST_GUILESS_MAIN(TestMaintenanceDatabase)
#include "test_maintenancedatabase.moc"

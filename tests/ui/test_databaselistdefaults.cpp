#include "databaselistdefaults.h"
#include "dblist.h"
#include "engine.h"
#include "ini.h"
#include "scriptedmessages.h"
#include "util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The database list of a first start, and of an ini that still has the single database of old.
class TestDatabaseListDefaults : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartWritesTwoEntriesWithDatabases();
    void legacyPathBecomesTheOnlyEntry();
    void unwritableIniIsReported();

private:
    QTemporaryDir m_dir;
    QString m_dataFolder;
    ScriptedMessages m_messages;
};

void TestDatabaseListDefaults::init()
{
    static int n = 0;
    const QString root = m_dir.filePath(QString::number(++n));
    QDir().mkpath(root + "/prog");
    InitStartupValues(root + "/prog", root + "/common");
    m_dataFolder = root + "/common/DromvelPro";
    QCOMPARE(DataFolder(), m_dataFolder);
    m_messages.clear();
}

void TestDatabaseListDefaults::firstStartWritesTwoEntriesWithDatabases()
{
    IniFile ini;
    QVERIFY(AdatbazisListaAlap(ini, IniPath(), m_messages));
    QVERIFY(m_messages.shown.isEmpty());

    IniFile onDisk;
    QVERIFY(onDisk.load(IniPath()));
    QCOMPARE(DatabaseList::Read(onDisk), (QStringList{"1. Teszt adatbázis;" + m_dataFolder + "/Data;",
                                                      "2. Éles adatbázis;" + m_dataFolder + "/Data_eles;"}));
    for (const QString &sub : {QStringLiteral("/Data"), QStringLiteral("/Data_eles")}) {
        Engine engine(QStringLiteral("check"));
        QVERIFY(QFile::exists(m_dataFolder + sub + "/" + Engine::FileName));
        engine.open(m_dataFolder + sub);
        QVERIFY(engine.tables().contains(QStringLiteral("dromvel")));
    }
}

void TestDatabaseListDefaults::legacyPathBecomesTheOnlyEntry()
{
    IniFile ini;
    ini.writeString("DATABASE", "Path", "/srv/penztar");
    QVERIFY(AdatbazisListaAlap(ini, IniPath(), m_messages));

    IniFile onDisk;
    QVERIFY(onDisk.load(IniPath()));
    QCOMPARE(DatabaseList::Read(onDisk), QStringList{"1. Éles adatbázis;/srv/penztar;"});
    QVERIFY(!onDisk.valueExists("database", "path"));
    QVERIFY(!QFileInfo::exists(m_dataFolder + "/Data"));

    // A list that has a first entry is left as it is, even without a second one.
    QVERIFY(QFile::remove(IniPath()));
    QVERIFY(AdatbazisListaAlap(onDisk, IniPath(), m_messages));
    QCOMPARE(DatabaseList::Read(onDisk).size(), 1);
    QVERIFY(!QFile::exists(IniPath()));
}

void TestDatabaseListDefaults::unwritableIniIsReported()
{
    // A file where the ini's folder should be: neither the folder nor the ini can be made.
    const QString blocker = m_dir.filePath("blocker");
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    IniFile ini;
    ini.writeString("database", "path", "/srv/penztar");
    QVERIFY(!AdatbazisListaAlap(ini, blocker + "/DromvelPro.ini", m_messages));
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY(m_messages.shown.first().text.startsWith("A beállítófájl nem írható"));
}

QTEST_GUILESS_MAIN(TestDatabaseListDefaults)
#include "test_databaselistdefaults.moc"

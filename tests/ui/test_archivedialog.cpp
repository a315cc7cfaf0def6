#include "archivedialog.h"
#include "ini.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "testfiles.h"
#include "util.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Archiving as the user does it: the save dialog, the packing, the messages.
class TestArchiveDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void mainWindowFlow();
    void listEditorFlow();
    void damagedDatabaseIsArchivedUnchecked();

private:
    QString folder(const QString &name) const { return m_root + "/" + name; }

    QTemporaryDir m_dir;
    QString m_root;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_dialogs;
};

void TestArchiveDialog::init()
{
    static int n = 0;
    m_root = m_dir.filePath(QString::number(++n));
    QDir().mkpath(m_root + "/prog");
    InitStartupValues(m_root + "/prog", m_root + "/common");
    m_messages.clear();
    m_dialogs.asked.clear();
    m_dialogs.answers.clear();
}

void TestArchiveDialog::mainWindowFlow()
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

void TestArchiveDialog::listEditorFlow()
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

void TestArchiveDialog::damagedDatabaseIsArchivedUnchecked()
{
    const QString db = folder("db");
    QByteArray damaged = "SQLite format 3";
    damaged.append('\0');
    damaged.append(QByteArray(4080, '\x7f'));
    WriteFile(db + "/dromvel.sqlite", damaged);
    WriteFile(db + "/dromvel.sqlite-wal", "naplo");
    const QString zipPath = folder("serult.zip");
    m_dialogs.answers = {zipPath};
    QCOMPARE(ArchiveDatabaseFolder(db, m_messages, m_dialogs), zipPath);
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("warning"));
    QVERIFY2(m_messages.shown.first().text.contains("Ez a másolat ellenőrizetlen."),
             qPrintable(m_messages.shown.first().text));
    QCOMPARE(ReadZip(zipPath).value("dromvel.sqlite").bytes, damaged);
    QCOMPARE(ReadZip(zipPath).value("dromvel.sqlite-wal").bytes, QByteArray("naplo"));
}

QTEST_MAIN(TestArchiveDialog)
#include "test_archivedialog.moc"

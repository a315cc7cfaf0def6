#include "codepage.h"
#include "engine.h"
#include "ini.h"
#include "inifaults.h"
#include "modaldialogs.h"
#include "paradoxwriter.h"
#include "query.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "schema.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "tfrm_upd_main.h"
#include "util.h"
#include "workarea.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The maintenance window driven by its buttons on real database folders, with the shared ini file of a
// workstation that has two databases in its list.
class TestUpdMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowAsDescribed();
    void folderBoxAtStart_data();
    void folderBoxAtStart();
    void chooseFromTheDatabaseList();
    void rebuild_data();
    void rebuild();
    void rebuildRefused_data();
    void rebuildRefused();
    void missingTableIsNamedAndTheOthersFinish();
    void upgradeAddsFieldsThenRebuilds();
    void checkReportIsShownAndSaved();
    void importAddsTheNewDatabaseToTheList();
    void importOfForeignTablesChangesNothing();
    void badDatabase_data();
    void badDatabase();
    void badIniIsToldAtStart_data();
    void badIniIsToldAtStart();

private:
    QString copyOfSample(const QString &name);
    QByteArray iniBytes() const;
    void click(Tfrm_Upd_Main &window, const char *button)
    {
        auto *b = window.findChild<QPushButton *>(QString::fromLatin1(button));
        QVERIFY(b && b->isEnabled());
        b->click();
    }
    QString text(Tfrm_Upd_Main &window) { return window.findChild<QPlainTextEdit *>("Memo1")->toPlainText(); }
    // With DROMVEL_SCREENSHOTS set, the widget is saved there as name.png to be looked at.
    static void Shot(QWidget *widget, const char *name);

    QTemporaryDir m_dir;
    int m_count = 0;
    QString m_first, m_second;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_dialogs;
};

void TestUpdMain::initTestCase()
{
    Engine sample(QStringLiteral("sample"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("template")));
    sample.open(m_dir.filePath(QStringLiteral("template")));
    FillSampleData(sample);
    FillSampleVouchers(sample, QDate(2024, 6, 14));
}

QString TestUpdMain::copyOfSample(const QString &name)
{
    const QString folder = m_dir.filePath(QStringLiteral("%1-%2").arg(name).arg(m_count));
    QDir().mkpath(folder);
    QFile::copy(m_dir.filePath(QStringLiteral("template/dromvel.sqlite")), QDir(folder).filePath("dromvel.sqlite"));
    return folder;
}

void TestUpdMain::init()
{
    ++m_count;
    const QString root = m_dir.filePath(QStringLiteral("ws%1").arg(m_count));
    InitStartupValues(root + QStringLiteral("/prog"), root + QStringLiteral("/common"));
    m_first = copyOfSample(QStringLiteral("elso"));
    m_second = copyOfSample(QStringLiteral("masodik"));
    IniFile ini;
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"), "1. Teszt adatbázis;" + m_first + ";");
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2"), "2. Éles adatbázis;" + m_second + ";");
    ini.writeInt(QStringLiteral("Beallitas"), QStringLiteral("FontSize"), 9);
    QVERIFY(ini.save(IniPath()));
    m_messages = ScriptedMessages();
    m_dialogs = ScriptedFileDialogs();
}

void TestUpdMain::cleanup()
{
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

QByteArray TestUpdMain::iniBytes() const
{
    QFile file(IniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestUpdMain::Shot(QWidget *widget, const char *name)
{
    const QString dir = qEnvironmentVariable("DROMVEL_SCREENSHOTS");
    if (!dir.isEmpty())
        widget->grab().save(QDir(dir).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

void TestUpdMain::windowAsDescribed()
{
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Dromvel.Pro program adatbázis karbantartás V4.0.0.110"));
    QCOMPARE(window.size(), QSize(703, 426));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    // Centred on the work area: the gaps either side differ by no more than the frame, unknown before showing.
    const QRect frame = window.frameGeometry(), area = WorkArea();
    QVERIFY(std::abs((frame.left() - area.left()) - (area.right() - frame.right())) <= 4);
    QVERIFY(std::abs((frame.top() - area.top()) - (area.bottom() - frame.bottom())) <= 4);
    const QStringList lines = text(window).split('\n');
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.first(), QStringLiteral("Lépések, ha új verziót kíván telepíteni:"));
    QCOMPARE(lines.last(), QStringLiteral("2. Nyomja meg a karbantartás gombot az adatbázis hibajavításához, "
                                          "optimalizálásához."));
    auto *move = window.findChild<QPushButton *>("btnAthelyezes");
    QCOMPARE(move->text(), QStringLiteral("Áthelyezés kiszolgálóra..."));
    for (const QString &folder : {QStringLiteral("postgresql://kiszolgalo/penztar"), m_first}) {
        window.setFolder(folder);
        QApplication::processEvents();
        for (const char *name : {"btnKarbantartas", "btnVerziovaltas", "btnValaszt", "btnBezaras", "btnEllenorzes",
                                 "btnAtvetel", "btnAthelyezes"}) {
            auto *button = window.findChild<QPushButton *>(QString::fromLatin1(name));
            QVERIFY2(button && button->isVisible() && button->isEnabled(), name);
            // Nothing is cut off.
            QVERIFY2(button->width() >= button->sizeHint().width(), name);
        }
        // The folder box keeps room for a path.
        QVERIFY(window.findChild<QLineEdit *>("Edit1")->width() >= 250);
        if (folder == m_first)
            QCOMPARE(move->text(), QStringLiteral("Áthelyezés kiszolgálóra..."));
        else
            QCOMPARE(move->text(), QStringLiteral("Áthelyezés mappába..."));
    }
    QVERIFY(!window.findChild<QPushButton *>("btnMentes")->isEnabled());
    QVERIFY(window.findChild<QLabel *>("StatusBar1")->text().isEmpty());
    auto *progress = window.findChild<QProgressBar *>("ProgressBar1");
    QCOMPARE(progress->value(), progress->minimum());
    Shot(&window, "upd-window");
    click(window, "btnBezaras");
    QVERIFY(!window.isVisible());
}

void TestUpdMain::folderBoxAtStart_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("expected");
    QTest::newRow("older single path") << "path"
                                       << "/srv/regi/adat";
    QTest::newRow("first entry of the list") << "list"
                                             << "first";
    QTest::newRow("no ini file") << "none"
                                 << "data";
}

void TestUpdMain::folderBoxAtStart()
{
    QFETCH(QString, ini);
    QFETCH(QString, expected);
    if (ini == QLatin1String("path")) {
        IniFile file;
        QVERIFY(file.load(IniPath()));
        file.writeString(QStringLiteral("Database"), QStringLiteral("Path"), expected);
        QVERIFY(file.save(IniPath()));
    } else if (ini == QLatin1String("none")) {
        QVERIFY(QFile::remove(IniPath()));
        expected = QDir::toNativeSeparators(DataFolder() + QStringLiteral("/Data"));
    } else {
        expected = m_first;
    }
    const QByteArray before = iniBytes();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    QCOMPARE(window.findChild<QLineEdit *>("Edit1")->text(), expected);
    QCOMPARE(iniBytes(), before);
}

void TestUpdMain::chooseFromTheDatabaseList()
{
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    QString title;
    OnNextModal([&title](QDialog *picker) {
        title = picker->windowTitle();
        picker->findChild<QListWidget *>("ListBox1")->setCurrentRow(1);
        Shot(picker, "upd-picker");
        picker->findChild<QPushButton *>("btnOK")->click();
    });
    click(window, "btnValaszt");
    QCOMPARE(title, QStringLiteral("Dromvel program adatbázis választás"));
    QCOMPARE(window.folder(), m_second);

    OnNextModal([](QDialog *picker) { picker->reject(); });
    click(window, "btnValaszt");
    QCOMPARE(window.folder(), m_second);
    QVERIFY(m_messages.shown.isEmpty());
}

void TestUpdMain::rebuild_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::newRow("as listed") << "";
    QTest::newRow("typed with a slash") << "/";
    QTest::newRow("typed with a backslash") << "\\";
}

void TestUpdMain::rebuild()
{
    QFETCH(QString, suffix);
    {
        Engine engine(QStringLiteral("damage"));
        engine.open(m_first);
        engine.exec(QStringLiteral("DROP INDEX idx_dromvelid;"));
    }
    const QByteArray before = iniBytes();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    window.setFolder(m_first + suffix);
    click(window, "btnKarbantartas");
    QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("Indexek újraépítése kész.")});
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("info"));
    QVERIFY(window.findChild<QLabel *>("StatusBar1")->text().isEmpty());
    QCOMPARE(iniBytes(), before);
    Engine engine(QStringLiteral("look"));
    engine.open(m_first);
    QVERIFY(engine.indexNames(QStringLiteral("dromvel")).contains(QStringLiteral("idx_dromvelid")));
}

void TestUpdMain::rebuildRefused_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing folder") << "missing"
                                    << "Nem létező adatbázis mappa.";
    QTest::newRow("main program still open") << "open"
                                             << "valamelyik számítógépen még fut a Dromvel program";
}

void TestUpdMain::rebuildRefused()
{
    QFETCH(QString, situation);
    QFETCH(QString, message);
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    Engine main(QStringLiteral("main"));
    if (situation == QLatin1String("missing")) {
        window.setFolder(m_dir.filePath(QStringLiteral("sehol")));
    } else {
        main.open(m_first);
        main.exec(QStringLiteral("SELECT COUNT(*) FROM dromvel;"));
    }
    click(window, "btnKarbantartas");
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY2(m_messages.shown.first().text.contains(message), qPrintable(m_messages.shown.first().text));
}

void TestUpdMain::missingTableIsNamedAndTheOthersFinish()
{
    {
        Engine engine(QStringLiteral("damage"));
        engine.open(m_first);
        engine.exec(QStringLiteral("DROP TABLE szervegyseg;"));
    }
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    click(window, "btnKarbantartas");
    QCOMPARE(m_messages.shown.size(), 2);
    QCOMPARE(m_messages.shown.at(0).kind, QStringLiteral("error"));
    QVERIFY(m_messages.shown.at(0).text.startsWith(QStringLiteral("Ismeretlen hiba: szervegyseg\n")));
    QCOMPARE(m_messages.shown.at(1).text, QStringLiteral("Indexek újraépítése kész."));
}

void TestUpdMain::upgradeAddsFieldsThenRebuilds()
{
    {
        Engine engine(QStringLiteral("older"));
        engine.open(m_first);
        engine.exec(QStringLiteral("ALTER TABLE dromvel DROP COLUMN felhasznalo;"));
        engine.exec(QStringLiteral("ALTER TABLE beallit DROP COLUMN formatft;"));
    }
    const QByteArray before = iniBytes();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    click(window, "btnVerziovaltas");
    QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("Indexek újraépítése kész.")});
    QCOMPARE(iniBytes(), before);
    Engine engine(QStringLiteral("look"));
    engine.open(m_first);
    for (const TableDef &table : Schema::Tables())
        QCOMPARE(engine.fieldNames(table.name), table.fieldNames());
    // The run is in the log of the database it ran on.
    QCOMPARE(Query(engine, QStringLiteral("SELECT esemeny || ': ' || szoveg FROM naplo ORDER BY naplo DESC;"))
                 .firstValue()
                 .toString(),
             QStringLiteral("Karbantartás: Verzióváltás, Indexek újraépítése kész."));
}

void TestUpdMain::checkReportIsShownAndSaved()
{
    const QByteArray before = iniBytes();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    click(window, "btnEllenorzes");
    QVERIFY(text(window).startsWith(QStringLiteral("Ellenőrzés:    ") + m_first + QLatin1Char('\n')));
    QVERIFY(text(window).endsWith(QStringLiteral("\nEredmény:      Nincs hiba.")));

    {
        Engine engine(QStringLiteral("fault"));
        engine.open(m_first);
        engine.exec(QStringLiteral("UPDATE ugyfel SET elszamolasra=elszamolasra+1 WHERE ugyfel=2;"));
        engine.exec(QStringLiteral("UPDATE dromvel SET zaro=zaro-100 WHERE dromvel=40;"));
    }
    click(window, "btnEllenorzes");
    const QString report = text(window);
    QVERIFY(report.contains(QStringLiteral("\nEredmény:      3 hiba, lásd lent.\n")));
    QVERIFY(report.contains(QStringLiteral("(2. ügyfél): az elszámolásra kiadott összeg")));
    QVERIFY(report.contains(QStringLiteral("(40. sor): a záró egyenleg")));
    QVERIFY(m_messages.shown.isEmpty());
    {
        Engine engine(QStringLiteral("look"));
        engine.open(m_first);
        QCOMPARE(Query(engine, QStringLiteral("SELECT esemeny || ': ' || szoveg FROM naplo ORDER BY naplo DESC;"))
                     .firstValue()
                     .toString(),
                 QStringLiteral("Ellenőrzés: 3 hiba, lásd lent."));
    }
    Shot(&window, "upd-check");

    const QString path = m_dir.filePath(QStringLiteral("jelentes-%1.txt").arg(m_count));
    m_dialogs.answers = {path};
    click(window, "btnMentes");
    QCOMPARE(m_dialogs.asked.size(), 1);
    QCOMPARE(m_dialogs.asked.first().kind, QStringLiteral("save"));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QString expected = report + QLatin1Char('\n');
    expected.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QCOMPARE(saved.readAll(), ToWindows1250(expected));
    QCOMPARE(iniBytes(), before);
}

void TestUpdMain::importAddsTheNewDatabaseToTheList()
{
    const QString old = m_dir.filePath(QStringLiteral("regi-%1").arg(m_count));
    const QString target = m_dir.filePath(QStringLiteral("uj-%1").arg(m_count));
    QDir().mkpath(old);
    QDir().mkpath(target);
    {
        Engine sample(QStringLiteral("old"));
        sample.open(m_second);
        const QString error = WriteOldDatabase(sample, old);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    const QByteArray before = iniBytes();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    m_dialogs.answers = {old, target};
    click(window, "btnAtvetel");
    QCOMPARE(m_dialogs.asked.size(), 2);
    QCOMPARE(m_dialogs.asked.at(0).caption, QStringLiteral("A régi (Paradox) adatbázis mappája"));
    QCOMPARE(m_dialogs.asked.at(1).caption, QStringLiteral("Az új adatbázis mappája (üres mappa)"));
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY2(m_messages.shown.first().text.contains(QStringLiteral("„3. Átvett adatbázis” néven felkerült")),
             qPrintable(m_messages.shown.first().text));
    QCOMPARE(window.folder(), target);
    const QString report = text(window);
    QVERIFY(report.contains(QStringLiteral("\ndromvel: ")));
    QVERIFY(report.contains(QStringLiteral("\nEllenőrzés:    Nincs hiba.\n")));
    Shot(&window, "upd-import");

    // The one change to the ini file: the new entry after the others.
    IniFile ini;
    QVERIFY(ini.load(IniPath()));
    QCOMPARE(ini.readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr3")),
             QStringLiteral("3. Átvett adatbázis;") + target + QLatin1Char(';'));
    ini.deleteKey(QStringLiteral("Adatbazis"), QStringLiteral("ConStr3"));
    QBuffer rest;
    rest.open(QIODevice::WriteOnly);
    QVERIFY(ini.write(rest));
    QCOMPARE(rest.data(), before);
}

void TestUpdMain::importOfForeignTablesChangesNothing()
{
    const QString target = m_dir.filePath(QStringLiteral("uj-%1").arg(m_count));
    QDir().mkpath(target);
    const QByteArray before = iniBytes();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    m_dialogs.answers = {QStringLiteral(PARADOX_TESTDATA), target};
    click(window, "btnAtvetel");
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY(m_messages.shown.first().text.contains(QStringLiteral("nem ennek a programnak a táblái")));
    QCOMPARE(iniBytes(), before);
    QCOMPARE(window.folder(), m_first);
    QVERIFY(QDir(target).isEmpty());
}

void TestUpdMain::badDatabase_data()
{
    QTest::addColumn<DatabaseFault>("fault");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    const QList<std::pair<const char *, DatabaseFault>> faults{{"random bytes", DatabaseFault::RandomBytes},
                                                               {"truncated", DatabaseFault::Truncated},
                                                               {"read-only", DatabaseFault::ReadOnly},
                                                               {"held by another program", DatabaseFault::Locked},
                                                               {"full disk", DatabaseFault::FullDisk}};
    const QStringList messages{"A fájl nem a program adatbázisa.", "Az adatbázis fájl sérült.",
                               "Az adatbázis fájl csak olvasható", "Az adatbázist most egy másik munkahely írja.",
                               "Olvasási vagy írási hiba az adatbázis fájlban."};
    for (qsizetype i = 0; i < faults.size(); ++i)
        for (const char *button : {"btnEllenorzes", "btnKarbantartas"})
            QTest::addRow("%s, %s", faults.at(i).first, button)
                << faults.at(i).second << QString::fromLatin1(button) << messages.at(i);
}

// Whichever way the database went bad, the check and the rebuild say so in Hungarian, change no byte of it, and
// the program goes on with another database.
void TestUpdMain::badDatabase()
{
    QFETCH(DatabaseFault, fault);
    QFETCH(QString, button);
    QFETCH(QString, message);
    QVERIFY(PlantDatabaseFault(fault, m_dir.filePath(QStringLiteral("template/dromvel.sqlite")), m_first));
    const QMap<QString, QByteArray> before = FolderBytes(m_first);
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    QCOMPARE(window.folder(), m_first);
    {
        const DatabaseFaultInForce inForce(fault, m_first);
        if (!inForce.active())
            QSKIP("this machine cannot bring the fault about");
        click(window, button.toLatin1().constData());
    }
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY2(m_messages.shown.first().text.startsWith(message), qPrintable(m_messages.shown.first().text));
    QVERIFY(window.findChild<QLabel *>("StatusBar1")->text().isEmpty());
    QMap<QString, QByteArray> after = FolderBytes(m_first);
    // At most the engine's empty log files were left beside the file.
    after.removeIf([&before](const auto &file) {
        return !before.contains(file.key()) && file.value().size() <= 1 &&
               (file.key().endsWith(QLatin1String("-wal")) || file.key().endsWith(QLatin1String("-shm")));
    });
    QCOMPARE(after, before);

    window.setFolder(m_second);
    click(window, "btnEllenorzes");
    QVERIFY(text(window).endsWith(QStringLiteral("\nEredmény:      Nincs hiba.")));
    QCOMPARE(m_messages.shown.size(), 1);
}

void TestUpdMain::badIniIsToldAtStart_data()
{
    AddIniFaultRows();
}

// An ini that cannot be read is told once; the folder box offers the default folder and the file stays as it is.
void TestUpdMain::badIniIsToldAtStart()
{
    QFETCH(IniFault, fault);
    QVERIFY(PlantIniFault(fault, IniPath()));
    const QMap<QString, QByteArray> before = FolderBytes(DataFolder());
    {
        const FileModesBind modes;
        if (!modes.active())
            QSKIP("file modes cannot be made to bind this process");
        Tfrm_Upd_Main window(m_messages, m_dialogs);
        window.show();
        QCOMPARE(window.folder(), QDir::toNativeSeparators(DataFolder() + QStringLiteral("/Data")));
        click(window, "btnEllenorzes"); // that folder has no database
    }
    QFile::setPermissions(IniPath(), QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(m_messages.shown.size(), 2);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY2(m_messages.shown.first().text.startsWith(QStringLiteral("A beállítások fájlja nem olvasható:\n") +
                                                      QDir::toNativeSeparators(IniPath())),
             qPrintable(m_messages.shown.first().text));
    QCOMPARE(FolderBytes(DataFolder()), before);
}

QTEST_MAIN(TestUpdMain)
#include "test_updmain.moc"

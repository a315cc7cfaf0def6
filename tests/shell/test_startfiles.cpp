#include "application.h"
#include "engine.h"
#include "ini.h"
#include "inifaults.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "startup.h"
#include "tfrm_adatbazisnyitbde.h"
#include "tfrm_main.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Plays the user through the start-up: picks the databases of the list one after the other in the picker, accepts
// the till list (or closes it), and closes the main window as soon as it shows (the program then ends as on
// quitting).
class StartUser : public QObject
{
public:
    StartUser(QList<int> picks, bool acceptTill) : m_picks(std::move(picks)), m_acceptTill(acceptTill)
    {
        connect(&m_timer, &QTimer::timeout, this, &StartUser::look);
        m_timer.start(20);
    }

    QStringList pickerLines; // the lines the picker showed the last time
    int pickerShown = 0;
    int tillListShown = 0;
    bool mainWindowShown = false;

private:
    void look()
    {
        if (auto *picker = qobject_cast<Tfrm_AdatbazisNyitBDE *>(QApplication::activeModalWidget())) {
            ++pickerShown;
            auto *list = picker->findChild<QListWidget *>(QStringLiteral("ListBox1"));
            pickerLines.clear();
            for (int i = 0; i < list->count(); ++i)
                pickerLines.append(list->item(i)->text());
            if (m_picks.isEmpty()) {
                picker->findChild<QPushButton *>(QStringLiteral("btnMegsem"))->click();
                return;
            }
            list->setCurrentRow(m_picks.takeFirst());
            picker->findChild<QPushButton *>(QStringLiteral("btnOK"))->click();
            return;
        }
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (auto *accept = modal->findChild<QAction *>(QStringLiteral("aElfogad"))) {
                ++tillListShown;
                m_acceptTill ? accept->trigger() : void(modal->close());
            }
            return;
        }
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qobject_cast<Tfrm_Main *>(window) && window->isVisible()) {
                mainWindowShown = true;
                window->close();
            }
        }
    }

    QList<int> m_picks;
    bool m_acceptTill;
    QTimer m_timer;
};

} // namespace

// The main program started on broken files: a database list whose first database is damaged, locked or out of
// reach, and an ini file that cannot be read as one. Every case says what is wrong in Hungarian, lets the user go
// on with another database (or with the defaults), and leaves every byte of the user's files as it was.
class TestStartFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void badDatabase_data();
    void badDatabase();
    void emptyDatabaseFileBecomesANewDatabase();
    void badIni_data();
    void badIni();
    void utf8IniKeepsItsLetters();

private:
    int run(QList<int> picks, StartUser **user = nullptr, bool acceptTill = true);
    QString databaseList() const;

    QTemporaryDir m_dir;
    QString m_template, m_root, m_bad, m_good, m_iniPath;
    int m_count = 0;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_dialogs;
    std::unique_ptr<StartUser> m_user;
};

void TestStartFiles::initTestCase()
{
    m_template = m_dir.filePath(QStringLiteral("template"));
    QDir().mkpath(m_template);
    Engine sample(QStringLiteral("sample"));
    sample.open(m_template);
    FillSampleData(sample);
    FillSampleVouchers(sample, QDate(2024, 6, 14));
}

void TestStartFiles::init()
{
    m_root = m_dir.filePath(QStringLiteral("ws%1").arg(++m_count));
    // The program's ini lies in the common data folder of the desktop, which follows XDG_DATA_HOME.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_root + QStringLiteral("/common")));
    m_iniPath = m_root + QStringLiteral("/common/DromvelPro/DromvelPro.ini");
    m_bad = m_root + QStringLiteral("/rossz");
    m_good = m_root + QStringLiteral("/jo");
    QDir().mkpath(m_bad);
    QDir().mkpath(m_good);
    QVERIFY(QFile::copy(m_template + QStringLiteral("/dromvel.sqlite"), m_good + QStringLiteral("/dromvel.sqlite")));
    m_messages = ScriptedMessages();
    IniFile ini;
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"), "1. Sérült adatbázis;" + m_bad + ";");
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr2"), "2. Jó adatbázis;" + m_good + ";");
    QVERIFY(ini.save(m_iniPath));
}

int TestStartFiles::run(QList<int> picks, StartUser **user, bool acceptTill)
{
    m_user = std::make_unique<StartUser>(std::move(picks), acceptTill);
    if (user)
        *user = m_user.get();
    const int exitCode = RunDromvelPro(*static_cast<DromvelApplication *>(qApp), m_messages, m_dialogs);
    // The sample's advances are long past their deadline, which the start-up tells: a word about the ledger, not
    // about the files these tests spoil.
    m_messages.shown.removeIf([](const ScriptedMessages::Shown &box) {
        return box.text.startsWith(QStringLiteral("Lejárt határidejű, el nem számolt előlegek"));
    });
    return exitCode;
}

QString TestStartFiles::databaseList() const
{
    return m_user->pickerLines.join(QLatin1Char('|'));
}

void TestStartFiles::badDatabase_data()
{
    QTest::addColumn<DatabaseFault>("fault");
    QTest::addColumn<QString>("message"); // after "Az adatbázis nem nyitható meg:\n"
    QTest::newRow("random bytes") << DatabaseFault::RandomBytes << "A fájl nem a program adatbázisa.";
    QTest::newRow("truncated") << DatabaseFault::Truncated << "Az adatbázis fájl sérült.";
    QTest::newRow("read-only") << DatabaseFault::ReadOnly << "Az adatbázis fájl csak olvasható";
    QTest::newRow("held by another program") << DatabaseFault::Locked << "Az adatbázist most egy másik munkahely írja.";
    // A file that may not grow shows as a write error, as a full disk often does.
    QTest::newRow("full disk") << DatabaseFault::FullDisk << "Olvasási vagy írási hiba az adatbázis fájlban.";
}

void TestStartFiles::badDatabase()
{
    QFETCH(DatabaseFault, fault);
    QFETCH(QString, message);
    QVERIFY(PlantDatabaseFault(fault, m_template + QStringLiteral("/dromvel.sqlite"), m_bad));
    const QMap<QString, QByteArray> before = FolderBytes(m_bad);
    StartUser *user = nullptr;
    int exitCode = -1;
    {
        const DatabaseFaultInForce inForce(fault, m_bad);
        if (!inForce.active())
            QSKIP("this machine cannot bring the fault about");
        exitCode = run({0}, &user);
    }
    QCOMPARE(exitCode, 0);
    QCOMPARE(user->pickerShown, 2); // back in the picker, which the user then cancels
    QVERIFY(!m_messages.shown.isEmpty());
    const ScriptedMessages::Shown &first = m_messages.shown.first();
    QCOMPARE(first.kind, QStringLiteral("error"));
    QVERIFY2(first.text.startsWith(QStringLiteral("Az adatbázis nem nyitható meg:\n") + message),
             qPrintable(first.text));
    QCOMPARE(m_messages.shown.size(), 1);
    // The user's file is as it was; at most the engine's empty log files were left beside it.
    QMap<QString, QByteArray> after = FolderBytes(m_bad);
    after.removeIf([&before](const auto &file) {
        return !before.contains(file.key()) && file.value().size() <= 1 &&
               (file.key().endsWith(QLatin1String("-wal")) || file.key().endsWith(QLatin1String("-shm")));
    });
    QCOMPARE(after, before);

    // The program stays usable: the next database of the list opens and the main window shows.
    m_messages = ScriptedMessages();
    QCOMPARE(run({0, 1}, &user), 0);
    QVERIFY(user->mainWindowShown);
}

void TestStartFiles::emptyDatabaseFileBecomesANewDatabase()
{
    // An empty file holds nothing to lose: it is taken as no database, and the user is told a new one was made
    // (which has no till yet; the user leaves the till list without making one).
    QVERIFY(WriteBytes(m_bad + QStringLiteral("/dromvel.sqlite"), QByteArray()));
    StartUser *user = nullptr;
    QCOMPARE(run({0}, &user, false), 0);
    QCOMPARE(user->tillListShown, 1);
    QVERIFY(QFileInfo(m_bad + QStringLiteral("/dromvel.sqlite")).size() > 0);
    QVERIFY(!m_messages.shown.isEmpty());
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("warning"));
    QVERIFY2(m_messages.shown.first().text.startsWith(QStringLiteral("Az adatbázis fájlja üres volt (0 bájt)")),
             qPrintable(m_messages.shown.first().text));
}

void TestStartFiles::badIni_data()
{
    AddIniFaultRows();
}

void TestStartFiles::badIni()
{
    QFETCH(IniFault, fault);
    QVERIFY(PlantIniFault(fault, m_iniPath));
    const QMap<QString, QByteArray> before = FolderBytes(m_root + QStringLiteral("/common/DromvelPro"));

    StartUser *user = nullptr;
    int exitCode = -1;
    {
        const FileModesBind modes;
        if (!modes.active())
            QSKIP("file modes cannot be made to bind this process");
        exitCode = run({0}, &user);
    }
    QCOMPARE(exitCode, 0);
    QVERIFY(!m_messages.shown.isEmpty());
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY2(m_messages.shown.first().text.startsWith(QStringLiteral("A beállítások fájlja nem olvasható:\n")),
             qPrintable(m_messages.shown.first().text));
    // The program goes on with the default databases, which it makes beside the ini, and never writes the ini.
    QCOMPARE(databaseList(), QStringLiteral("1. Teszt adatbázis|2. Éles adatbázis"));
    QVERIFY(user->mainWindowShown);
    QCOMPARE(m_messages.shown.size(), 1);
    QFile::setPermissions(m_iniPath, QFile::ReadOwner | QFile::WriteOwner);
    QMap<QString, QByteArray> after = FolderBytes(m_root + QStringLiteral("/common/DromvelPro"));
    after.removeIf([](const auto &file) { return file.key().startsWith(QLatin1String("Data")); });
    QCOMPARE(after, before);
}

void TestStartFiles::utf8IniKeepsItsLetters()
{
    // Saved from an editor as UTF-8: read as UTF-8, shown with its letters, and written back as UTF-8.
    const QByteArray list = "[Adatbazis]\r\nConStr1=1. Éles könyvelés;" + m_good.toUtf8() +
                            ";\r\nConStr2=2. Próba ő ű;" + m_bad.toUtf8() + ";\r\n";
    QVERIFY(WriteBytes(m_iniPath, list));
    StartUser *user = nullptr;
    QCOMPARE(run({0}, &user), 0);
    QVERIFY(user->mainWindowShown);
    QCOMPARE(databaseList(), QStringLiteral("1. Éles könyvelés|2. Próba ő ű"));
    QVERIFY2(m_messages.shown.isEmpty(), qPrintable(m_messages.texts().join('\n')));
    QFile file(m_iniPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QVERIFY2(after.startsWith(list), after.constData()); // the list stands first, as it was; settings follow
    QCOMPARE(QString::fromUtf8(after).toUtf8(), after);
}

int main(int argc, char **argv)
{
    DromvelApplication app(argc, argv);
    TestStartFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_startfiles.moc"

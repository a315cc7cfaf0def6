#include "engine.h"
#include "ini.h"
#include "inputdialog.h"
#include "ledgerrows.h"
#include "modaldialogs.h"
#include "paradoxwriter.h"
#include "passwordprompts.h"
#include "passwordrole.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "testserver.h"
#include "tfrm_upd_main.h"
#include "util.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The maintenance window on a database of the test server: a ledger moved from its folder to the server and
// back through the move button, the check and the rebuild of the server entry, the import into it, and a server
// that asks for a password.
class TestUpdServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void moveToTheServerAndBack();
    void checkAndRebuildAServerEntry();
    void importIntoTheServerEntry();
    void passwordAskedAndHeldForTheRun();

private:
    void click(Tfrm_Upd_Main &window, const char *button)
    {
        auto *b = window.findChild<QPushButton *>(QString::fromLatin1(button));
        QVERIFY(b && b->isEnabled());
        b->click();
    }
    static QString Text(Tfrm_Upd_Main &window) { return window.findChild<QPlainTextEdit *>("Memo1")->toPlainText(); }
    // The address typed into the next input dialog, then OK.
    static void Type(const QString &address)
    {
        OnNextModal([address](QDialog *dialog) {
            auto *edit = dialog->findChild<QLineEdit *>();
            QVERIFY(edit);
            edit->setText(address);
            dialog->accept();
        });
    }
    // With DROMVEL_SCREENSHOTS set, the widget is saved there as name.png to be looked at.
    static void Shot(QWidget *widget, const char *name)
    {
        const QString dir = qEnvironmentVariable("DROMVEL_SCREENSHOTS");
        if (!dir.isEmpty())
            widget->grab().save(QDir(dir).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
    }
    QString newDatabase()
    {
        m_databases.append(TestServer::newDatabase());
        return m_databases.last();
    }
    QStringList rowsOf(const QString &database, const QString &password = QString())
    {
        Engine engine(QStringLiteral("rows"));
        engine.setPassword(password);
        engine.open(database);
        return LedgerRows(engine);
    }
    QString listEntry(int n) const
    {
        IniFile ini;
        ini.load(IniPath());
        return ini.readString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr%1").arg(n));
    }

    QTemporaryDir m_dir;
    int m_count = 0;
    QStringList m_databases;
    QString m_sample;
    QStringList m_rows;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_dialogs;
};

void TestUpdServer::initTestCase()
{
    m_sample = m_dir.filePath(QStringLiteral("sample"));
    QDir().mkpath(m_sample);
    Engine sample(QStringLiteral("sample"));
    sample.open(m_sample);
    FillSampleData(sample);
    FillSampleVouchers(sample, QDate(2024, 6, 14));
    m_rows = LedgerRows(sample);
    // The user's own password file and variable are no part of the test.
    qputenv("PGPASSFILE", m_dir.filePath(QStringLiteral("nincs.pgpass")).toLocal8Bit());
    qunsetenv("PGPASSWORD");
}

void TestUpdServer::init()
{
    ++m_count;
    const QString root = m_dir.filePath(QStringLiteral("ws%1").arg(m_count));
    InitStartupValues(root + QStringLiteral("/prog"), root + QStringLiteral("/common"));
    IniFile ini;
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"), "1. Pénztár;" + m_sample + ";");
    QVERIFY(ini.save(IniPath()));
    m_messages = ScriptedMessages();
    m_dialogs = ScriptedFileDialogs();
}

void TestUpdServer::cleanupTestCase()
{
    for (const QString &database : m_databases)
        TestServer::dropDatabase(database);
}

void TestUpdServer::moveToTheServerAndBack()
{
    const QString server = newDatabase();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    QCOMPARE(window.folder(), m_sample);

    // A mistyped address is told and asked again, as it was typed.
    OnNextModal([server](QDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>();
        QCOMPARE(edit->text(), QStringLiteral("postgresql://"));
        Shot(dialog, "upd-move-address");
        edit->setText(QStringLiteral("postgresql://kiszolgalo"));
        OnNextModal([server](QDialog *again) {
            QCOMPARE(again->findChild<QLineEdit *>()->text(), QStringLiteral("postgresql://kiszolgalo"));
            again->findChild<QLineEdit *>()->setText(server);
            again->accept();
        });
        dialog->accept();
    });
    click(window, "btnAthelyezes");
    QCOMPARE(m_messages.shown.size(), 2);
    QVERIFY(m_messages.shown.at(0).text.startsWith(QStringLiteral("Hibás kiszolgáló cím: postgresql://kiszolgalo")));
    QCOMPARE(m_messages.shown.at(1).kind, QStringLiteral("info"));
    QVERIFY2(m_messages.shown.at(1).text.contains(QStringLiteral("Ellenőrzés: Nincs hiba.")),
             qPrintable(m_messages.shown.at(1).text));
    QVERIFY(m_messages.shown.at(1).text.contains(QStringLiteral("„2. Áthelyezett adatbázis” néven felkerült")));
    QCOMPARE(window.folder(), server);
    QCOMPARE(listEntry(2), QStringLiteral("2. Áthelyezett adatbázis;") + server + QLatin1Char(';'));
    QVERIFY(Text(window).contains(QStringLiteral("\nCél:           ") + server + QStringLiteral("\n")));
    QCOMPARE(rowsOf(server), m_rows);
    QCOMPARE(window.findChild<QPushButton *>("btnAthelyezes")->text(), QStringLiteral("Áthelyezés mappába..."));
    Shot(&window, "upd-moved");

    // Back into an empty folder.
    const QString back = m_dir.filePath(QStringLiteral("vissza"));
    QDir().mkpath(back);
    m_messages.clear();
    m_dialogs.answers = {back};
    click(window, "btnAthelyezes");
    QCOMPARE(m_dialogs.asked.last().caption, QStringLiteral("Az adatbázis új mappája (üres mappa)"));
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY(m_messages.shown.first().text.contains(QStringLiteral("„3. Áthelyezett adatbázis” néven felkerült")));
    QCOMPARE(rowsOf(back), m_rows);

    // Once more onto the same server database: it holds the ledger now, so nothing is written.
    window.setFolder(m_sample);
    m_messages.clear();
    Type(server);
    click(window, "btnAthelyezes");
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY2(m_messages.shown.first().text.startsWith(QStringLiteral("A cél adatbázis nem üres: ")),
             qPrintable(m_messages.shown.first().text));
    QCOMPARE(listEntry(4), QString());
}

void TestUpdServer::checkAndRebuildAServerEntry()
{
    const QString server = newDatabase();
    {
        Engine engine(QStringLiteral("filled"));
        engine.open(server);
        FillSampleData(engine);
    }
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    window.setFolder(server);
    click(window, "btnEllenorzes");
    QVERIFY2(Text(window).startsWith(QStringLiteral("Ellenőrzés:    ") + server + QStringLiteral("\n")),
             qPrintable(Text(window)));
    QVERIFY(Text(window).contains(QStringLiteral("\nEredmény:      Nincs hiba.")));
    QVERIFY(m_messages.shown.isEmpty());

    click(window, "btnVerziovaltas");
    QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("Indexek újraépítése kész.")});

    // Another program on the database keeps the rebuild out.
    Engine other(QStringLiteral("other"));
    other.open(server);
    m_messages.clear();
    click(window, "btnKarbantartas");
    QCOMPARE(m_messages.shown.size(), 1);
    QVERIFY(m_messages.shown.first().text.startsWith(QStringLiteral("Az adatbázist egy másik program használja")));
}

void TestUpdServer::importIntoTheServerEntry()
{
    const QString old = m_dir.filePath(QStringLiteral("regi"));
    QDir().mkpath(old);
    {
        Engine sample(QStringLiteral("old"));
        sample.open(m_sample);
        const QString error = WriteOldDatabase(sample, old);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    const QString server = newDatabase();
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    window.setFolder(server);
    m_dialogs.answers = {old};
    m_messages.answers = {true};
    click(window, "btnAtvetel");
    QCOMPARE(m_dialogs.asked.size(), 1);
    QCOMPARE(m_messages.shown.size(), 2);
    QVERIFY(m_messages.shown.at(0).text.contains(server));
    QVERIFY2(m_messages.shown.at(1).text.contains(QStringLiteral("„2. Átvett adatbázis” néven felkerült")),
             qPrintable(m_messages.shown.at(1).text));
    QCOMPARE(rowsOf(server), m_rows);
    QVERIFY(Text(window).contains(QStringLiteral("\nÚj adatbázis:  ") + server + QStringLiteral("\n")));
}

void TestUpdServer::passwordAskedAndHeldForTheRun()
{
    const PasswordRole role;
    {
        Tfrm_Upd_Main window(m_messages, m_dialogs);
        window.show();
        // The move's target asks for its password, wrong first.
        Type(role.address());
        PasswordPrompts prompts({QStringLiteral("rossz"), role.password});
        click(window, "btnAthelyezes");
        QCOMPARE(m_messages.shown.size(), 1);
        QVERIFY2(m_messages.shown.first().text.startsWith(QStringLiteral("Az áthelyezés kész")),
                 qPrintable(m_messages.shown.first().text));
        QCOMPARE(prompts.seen.size(), 2);
        QVERIFY(!prompts.seen.at(0).again && prompts.seen.at(1).again);
        QVERIFY(prompts.seen.at(0).masked);
        QCOMPARE(prompts.seen.at(0).user, role.user);
        QCOMPARE(rowsOf(role.address(), role.password), m_rows);

        // The run holds it: the check, the rebuild and the move back out of the server ask nothing.
        QCOMPARE(window.folder(), role.address());
        click(window, "btnEllenorzes");
        QVERIFY2(Text(window).contains(QStringLiteral("\nEredmény:      Nincs hiba.")), qPrintable(Text(window)));
        m_messages.clear();
        click(window, "btnKarbantartas");
        QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("Indexek újraépítése kész.")});
        const QString back = m_dir.filePath(QStringLiteral("jelszoval-vissza"));
        QDir().mkpath(back);
        m_messages.clear();
        m_dialogs.answers = {back};
        click(window, "btnAthelyezes");
        QVERIFY2(m_messages.shown.size() == 1 && m_messages.shown.first().kind == QStringLiteral("info"),
                 qPrintable(m_messages.texts().join(QLatin1Char('\n'))));
        QCOMPARE(rowsOf(back), m_rows);
        QCOMPARE(prompts.seen.size(), 2);
    }
    // The next run knows no password; giving up at it leaves the window as it was, nothing told.
    Tfrm_Upd_Main window(m_messages, m_dialogs);
    window.show();
    window.setFolder(role.address());
    m_messages.clear();
    OnNextModal([](QDialog *dialog) {
        QCOMPARE(dialog->objectName(), QStringLiteral("PasswordDialog"));
        Shot(dialog, "upd-password");
        dialog->reject();
    });
    click(window, "btnEllenorzes");
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(!Text(window).contains(QStringLiteral("Eredmény")));
}

QTEST_MAIN(TestUpdServer)
#include "test_updserver.moc"

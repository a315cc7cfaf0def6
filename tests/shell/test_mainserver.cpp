#include "ledgerrows.h"
#include "maindialogs.h"
#include "modaldialogs.h"
#include "passwordprompts.h"
#include "passwordrole.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "serveraddress.h"
#include "serverlogin.h"
#include "session.h"
#include "testserver.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// "Adatbázis archiválása" and "Visszaállítás archívumból" of a server database opened with a password typed at
// the "Jelszó" window: the program hands the password it holds to the server's tools, as libpq has none.
class TestMainServer : public QObject
{
    Q_OBJECT

private slots:
    void archiveAndRestoreWithTheTypedPassword();

private:
    QTemporaryDir m_dir;
};

void TestMainServer::archiveAndRestoreWithTheTypedPassword()
{
    qputenv("PGPASSFILE", m_dir.filePath(QStringLiteral("nincs.pgpass")).toLocal8Bit());
    qunsetenv("PGPASSWORD");
    const PasswordRole role;
    // A second database of the same role on the same server, for the restore.
    const QString made = TestServer::newDatabase();
    ServerAddress target = *ServerAddress::parse(role.address());
    target.database = ServerAddress::parse(made)->database;
    TestServer::exec(QStringLiteral("ALTER DATABASE %1 OWNER TO %2;").arg(target.database, role.user));

    Engine engine(QStringLiteral("main"));
    {
        PasswordPrompts prompts({role.password});
        QVERIFY(OpenAskingPassword(engine, role.address()));
    }
    FillSampleData(engine);
    FillSampleVouchers(engine, QDate(2024, 6, 14));
    Session session;
    session.iniPath = m_dir.filePath(QStringLiteral("DromvelPro.ini"));
    session.databaseFolder = role.address();
    session.user = QStringLiteral("ADMIN");
    ScriptedMessages messages;
    ScriptedFileDialogs fileDialogs;
    MainDialogs dialogs = MainDialogs::Default(session, engine, messages, fileDialogs);
    PasswordPrompts none({});

    const QString zip = m_dir.filePath(QStringLiteral("kiszolgalo.zip"));
    fileDialogs.answers = {zip};
    dialogs.archive(nullptr);
    QVERIFY2(messages.shown.isEmpty(), qPrintable(messages.texts().join(QLatin1Char('\n'))));
    QVERIFY(QFileInfo::exists(zip));

    OnNextModal([&](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("edArchivum"))->setText(zip);
        dialog->findChild<QLineEdit *>(QStringLiteral("edMappa"))->setText(target.toString());
        dialog->findChild<QLineEdit *>(QStringLiteral("edNev"))->setText(QStringLiteral("Visszaállított"));
        dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    dialogs.restore(nullptr);
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(messages.shown.first().text.startsWith(QStringLiteral("Az archívum visszaállítása kész.")),
             qPrintable(messages.shown.first().text));
    QVERIFY(none.seen.isEmpty());
    Engine restored(QStringLiteral("restored"));
    restored.setPassword(role.password);
    restored.open(target.toString());
    QCOMPARE(LedgerRows(restored), LedgerRows(engine));
    restored.close();
    TestServer::dropDatabase(made);
}

QTEST_MAIN(TestMainServer)
#include "test_mainserver.moc"

#include "archive.h"
#include "archivedialog.h"
#include "engine.h"
#include "restoredialog.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "session.h"
#include "testfiles.h"
#include "util.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Listed
{
    QString name;
    QString folder;
};

} // namespace

// Restoring as the user does it: the dialog's choices, what reaches the database list, and what is said.
class TestRestoreDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void outcome_data();
    void outcome();
    void browsingFillsTheFieldsAndProposesAName();

private:
    QString folder(const QString &name) const { return m_root + "/" + name; }
    // A dialog whose list takes the database when listAccepts, recording what it was handed.
    std::unique_ptr<RestoreDialog> dialog(bool listAccepts);

    QTemporaryDir m_dir;
    QString m_root;
    Session m_session;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_dialogs;
    QList<Listed> m_listed;
};

void TestRestoreDialog::init()
{
    static int n = 0;
    m_root = m_dir.filePath(QString::number(++n));
    QDir().mkpath(m_root + "/prog");
    InitStartupValues(m_root + "/prog", m_root + "/common");
    m_session = Session();
    m_messages.clear();
    m_dialogs.asked.clear();
    m_dialogs.answers.clear();
    m_listed.clear();

    // The open database, and its archive with one faulty balance in another folder.
    m_session.databaseFolder = folder("db");
    QDir().mkpath(m_session.databaseFolder);
    {
        Engine engine("open");
        engine.open(m_session.databaseFolder);
        engine.insert("kassza", {{"kassza_nev", "Főpénztár"}});
        engine.insert("ugyfel", {{"ugyfel_nev", "Kovács Árpád"}});
    }
    ArchiveFolder(m_session.databaseFolder, folder("jo.zip"));
    const QString faulty = folder("hibas");
    QDir().mkpath(faulty);
    Engine engine("faulty");
    engine.open(faulty);
    engine.insert("kassza", {{"kassza_nev", "Főpénztár"}});
    engine.insert("dromvel", {{"kassza", 1},
                              {"kibe", "B"},
                              {"kiadva", "I"},
                              {"dromvelid", 1},
                              {"nyito", 0.0},
                              {"osszeg", 100.0},
                              {"zaro", 90.0},
                              {"ssz", 1},
                              {"betujel", "B"}});
    engine.close();
    ArchiveFolder(faulty, folder("hibas.zip"));
}

std::unique_ptr<RestoreDialog> TestRestoreDialog::dialog(bool listAccepts)
{
    auto d = std::make_unique<RestoreDialog>(
        m_session,
        [this, listAccepts](const QString &name, const QString &folder) {
            m_listed.append({name, folder});
            return listAccepts;
        },
        m_messages, m_dialogs);
    d->show();
    return d;
}

void TestRestoreDialog::outcome_data()
{
    QTest::addColumn<QString>("archive");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listAccepts");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("says");

    const QString restored = "Az archívum visszaállítása kész.\nAz adatbázis mappája: ";
    // clang-format off
    QTest::newRow("restored and listed")
        << "jo.zip" << "uj" << "Tavalyi mentés" << true << "info"
        << QStringList{restored, "Ellenőrzés: Nincs hiba.", "Az adatbázis „Tavalyi mentés” néven felkerült"};
    QTest::newRow("restored, the list full")
        << "jo.zip" << "uj" << "Tavalyi mentés" << false << "info" << QStringList{restored, "Nincs hiba."};
    QTest::newRow("restored with ledger faults")
        << "hibas.zip" << "uj" << "Hibás" << true << "warning"
        << QStringList{"ellenőrzés hibát talált", "hiba, lásd lent.", "\n\n", "„Ellenőrzés” gombja",
                       "„Hibás” néven felkerült"};
    QTest::newRow("target not empty")
        << "jo.zip" << "nemures" << "Mentés" << true << "error"
        << QStringList{"A cél mappa nem üres", "\n\nA cél mappába nem került semmi."};
    QTest::newRow("no archive") << "" << "uj" << "Mentés" << true << "error"
                                << QStringList{"Válassza ki a visszaállítandó archívumot."};
    QTest::newRow("no name") << "jo.zip" << "uj" << " " << true << "error"
                             << QStringList{"Adja meg, milyen néven kerüljön az adatbázis a listára."};
    QTest::newRow("semicolon in the name")
        << "jo.zip" << "uj" << "A;B" << true << "error" << QStringList{"nem tartalmazhat pontosvesszőt"};
    // clang-format on
}

void TestRestoreDialog::outcome()
{
    QFETCH(QString, archive);
    QFETCH(QString, target);
    QFETCH(QString, name);
    QFETCH(bool, listAccepts);
    QFETCH(QString, kind);
    QFETCH(QStringList, says);

    QDir().mkpath(folder("uj"));
    WriteFile(folder("nemures/jegyzet.txt"), "marad");
    auto d = dialog(listAccepts);
    d->findChild<QLineEdit *>("edArchivum")->setText(archive.isEmpty() ? QString() : folder(archive));
    d->findChild<QLineEdit *>("edMappa")->setText(target.isEmpty() ? QString() : folder(target));
    d->findChild<QLineEdit *>("edNev")->setText(name);
    d->findChild<QPushButton *>("btnOk")->click();

    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, kind);
    const QString text = m_messages.shown.first().text;
    for (const QString &part : says)
        QVERIFY2(text.contains(part), qPrintable(text));
    const bool done = kind != "error";
    QCOMPARE(d->isVisible(), !done);
    QCOMPARE(d->result(), done ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(QFile::exists(folder("uj/") + Engine::FileName), done);
    if (done) {
        // The folder as the list shows it: whole, without a trailing separator.
        QCOMPARE(m_listed.size(), 1);
        QCOMPARE(m_listed.first().name, name);
        QCOMPARE(m_listed.first().folder, QDir::toNativeSeparators(folder("uj")));
        QVERIFY(text.contains(m_listed.first().folder));
    } else {
        QVERIFY(m_listed.isEmpty());
        QCOMPARE(QDir(folder("uj")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }
}

void TestRestoreDialog::browsingFillsTheFieldsAndProposesAName()
{
    auto d = dialog(true);
    auto *name = d->findChild<QLineEdit *>("edNev");
    m_dialogs.answers = {folder("20240115.zip"), folder("20240116.zip"), folder("uj"), folder("masik.zip")};

    d->findChild<QPushButton *>("btnArchivum")->click();
    QCOMPARE(m_dialogs.asked.last().kind, QStringLiteral("open"));
    QCOMPARE(m_dialogs.asked.last().caption, QStringLiteral("Archívum választása"));
    QCOMPARE(m_dialogs.asked.last().path, DefaultArchiveFolder());
    QCOMPARE(m_dialogs.asked.last().filter, QStringLiteral("ZIP archívumok (*.zip)"));
    QCOMPARE(d->archive(), QDir::toNativeSeparators(folder("20240115.zip")));
    QCOMPARE(d->name(), QStringLiteral("Visszaállított adatbázis (20240115)"));

    // The proposal follows the archive; the next browse starts beside the one chosen.
    d->findChild<QPushButton *>("btnArchivum")->click();
    QCOMPARE(m_dialogs.asked.last().path, m_root);
    QCOMPARE(d->name(), QStringLiteral("Visszaállított adatbázis (20240116)"));

    d->findChild<QPushButton *>("btnMappa")->click();
    QCOMPARE(m_dialogs.asked.last().kind, QStringLiteral("folder"));
    QCOMPARE(m_dialogs.asked.last().caption, QStringLiteral("Az adatbázis új mappája (üres mappa)"));
    QCOMPARE(m_dialogs.asked.last().path, DataFolder());
    QCOMPARE(d->folder(), QDir::toNativeSeparators(folder("uj")));

    // A name the user typed stays.
    name->setText("Saját név");
    d->findChild<QPushButton *>("btnArchivum")->click();
    QCOMPARE(d->archive(), QDir::toNativeSeparators(folder("masik.zip")));
    QCOMPARE(d->name(), QStringLiteral("Saját név"));

    // Tab goes down the screen: each field, then its browse button.
    QStringList chain;
    for (QWidget *w = d->findChild<QLineEdit *>("edArchivum"); chain.size() < 6; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain.append(w->objectName());
    QCOMPARE(chain, (QStringList{"edArchivum", "btnArchivum", "edMappa", "btnMappa", "edNev", "btnOk"}));

    // Cancelled browsing changes nothing.
    d->findChild<QPushButton *>("btnArchivum")->click();
    d->findChild<QPushButton *>("btnMappa")->click();
    QCOMPARE(d->archive(), QDir::toNativeSeparators(folder("masik.zip")));
    QCOMPARE(d->folder(), QDir::toNativeSeparators(folder("uj")));
    QVERIFY(m_messages.shown.isEmpty());
}

QTEST_MAIN(TestRestoreDialog)
#include "test_restoredialog.moc"

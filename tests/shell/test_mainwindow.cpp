#include "archive.h"
#include "choosers.h"
#include "dblist.h"
#include "ledgermodel.h"
#include "maindialogs.h"
#include "modaldialogs.h"
#include "query.h"
#include "settings.h"
#include "testdatabase.h"
#include "testserver.h"
#include "tfrm_main.h"
#include "voucherbooking.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlRecord>
#include <QTableView>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tillSwitchShowsTheTillsRowsAndDayState();
    void filterActionShowsClosedRowsToo();
    void clickingSorszamSortsBySerial();
    void fontActionsStayWithinTheirRange();
    void actionsWithoutTheirRightAreRefused();
    void sqlConsoleOpensForTheAdministrator();
    void restoreFromTheSystemMenuJoinsTheDatabaseList();
    void balanceDisplayWritesMost();
    void balanceShowsWhileAnotherWorkstationWrites();
    void ledgerAndSumsKeepTheStartUpMoneyFormat();
    void engineErrorInAnActionIsShownAndTheWindowGoesOn();
    void columnWidthsFollowTheGrid();
    void closingWritesTheIniFile();
    void voucherPrintingChecksTheRowFirst();
    void bookingAndDeletingFromTheWindow();
    void chosenTillBecomesCurrent();
    void dayClosingFromTheWindow();
    void bookingAfterAnotherWorkstationBooked();

private:
    qint64 till(const QString &name, const QVariant &closedUntil = QVariant())
    {
        return m_db.engine->insert(QStringLiteral("kassza"),
                                   {{QStringLiteral("kassza_nev"), name}, {QStringLiteral("lezarva"), closedUntil}});
    }
    void booked(int tillId, int dromvelid, double zaro, const char *lezarva = "N")
    {
        m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), tillId},
                                                        {QStringLiteral("kibe"), QStringLiteral("B")},
                                                        {QStringLiteral("kiadva"), QStringLiteral("I")},
                                                        {QStringLiteral("dromvelid"), dromvelid},
                                                        {QStringLiteral("zaro"), zaro},
                                                        {QStringLiteral("bevetel"), 10.0},
                                                        {QStringLiteral("lezarva"), QString::fromLatin1(lezarva)}});
    }
    std::unique_ptr<Tfrm_Main> window()
    {
        auto w = std::make_unique<Tfrm_Main>(m_db.session, *m_db.engine, m_db.messages, m_dialogs);
        w->resize(900, 600);
        w->TillSwitch(1, QStringLiteral("Főpénztár"));
        return w;
    }

    TestDatabase m_db;
    // The window's own dialogs, but no print choice after a booking and no cash count at a closing.
    MainDialogs m_dialogs;
};

void TestMainWindow::init()
{
    m_db.fresh(QStringLiteral("mainwindow"));
    // Beside the database, wherever that is; each test starts without one.
    m_db.session.iniPath = m_db.dir.filePath(QStringLiteral("DromvelPro.ini"));
    QFile::remove(m_db.session.iniPath);
    m_db.session.openDay = QDate(2026, 12, 8);
    m_db.session.formatFt = QStringLiteral("### ### ##0");
    m_dialogs = MainDialogs::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs);
    m_dialogs.printChoice = {};
    m_dialogs.cashCount = {};
}

void TestMainWindow::cleanup()
{
    m_db.close();
}

void TestMainWindow::tillSwitchShowsTheTillsRowsAndDayState()
{
    till(QStringLiteral("Főpénztár"), QDate(2026, 12, 8));
    till(QStringLiteral("Kis kassza"), QDate(2026, 12, 7));
    booked(1, 1, 100);
    booked(2, 2, 200);
    booked(2, 3, 300);
    auto w = window();
    const auto shownIds = [&w] {
        QList<int> ids;
        for (int r = 0; r < w->ledger()->rowCount(); ++r)
            ids.append(w->ledger()->field(r, QStringLiteral("dromvelid")).toInt());
        return ids;
    };
    QCOMPARE(shownIds(), QList<int>{1});
    QCOMPARE(w->statusText(2), QStringLiteral("Kassza: Főpénztár"));
    QCOMPARE(w->statusText(3), QStringLiteral("2026.12.08: Lezárva"));
    QCOMPARE(m_db.session.closedUntil, QDate(2026, 12, 8));
    w->TillSwitch(2, QStringLiteral("Kis kassza"));
    QCOMPARE(shownIds(), (QList<int>{2, 3}));
    QCOMPARE(w->statusText(3), QStringLiteral("2026.12.08: Szabad"));
    QCOMPARE(m_db.session.till, 2);
    QCOMPARE(m_db.session.tillName, QStringLiteral("Kis kassza"));
}

void TestMainWindow::filterActionShowsClosedRowsToo()
{
    till(QStringLiteral("Főpénztár"));
    booked(1, 1, 100, "I");
    booked(1, 2, 200, "N");
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->ledger()->rowCount(), 1);
    QTest::keyClick(w.get(), Qt::Key_M, Qt::ControlModifier);
    QVERIFY(!w->action(QStringLiteral("aSzur"))->isChecked());
    QCOMPARE(w->ledger()->rowCount(), 2);
    QCOMPARE(w->statusText(0), QStringLiteral("2: 1"));
    QTest::keyClick(w.get(), Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(w->ledger()->rowCount(), 1);
}

void TestMainWindow::clickingSorszamSortsBySerial()
{
    till(QStringLiteral("Főpénztár"));
    // Entered in another order than their serials run.
    for (const auto &[code, serial] : {std::pair{"KB", 3}, {"BB", 1}, {"KB", 2}})
        m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                                        {QStringLiteral("kibe"), QStringLiteral("B")},
                                                        {QStringLiteral("kiadva"), QStringLiteral("I")},
                                                        {QStringLiteral("lezarva"), QStringLiteral("N")},
                                                        {QStringLiteral("betujel"), QString::fromLatin1(code)},
                                                        {QStringLiteral("ssz"), serial}});
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const int column = w->ledger()->sorszamColumn();
    const auto shown = [&w, column] {
        QStringList numbers;
        for (int r = 0; r < w->ledger()->rowCount(); ++r)
            numbers.append(w->ledger()->index(r, column).data().toString());
        return numbers;
    };
    QCOMPARE(shown(), (QStringList{"KB00003", "BB00001", "KB00002"}));
    QHeaderView *header = w->grid()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    QCOMPARE(shown(), (QStringList{"BB00001", "KB00002", "KB00003"}));
    QCOMPARE(w->statusText(3), QStringLiteral("sorrend: sorszám"));
    // The till switch keeps the chosen order.
    w->TillSwitch(1, QStringLiteral("Főpénztár"));
    QCOMPARE(shown(), (QStringList{"BB00001", "KB00002", "KB00003"}));
}

void TestMainWindow::fontActionsStayWithinTheirRange()
{
    till(QStringLiteral("Főpénztár"));
    m_db.session.fontSize = 12;
    auto w = window();
    w->action(QStringLiteral("aBetuNovel"))->trigger();
    QCOMPARE(m_db.session.fontSize, 12);
    w->action(QStringLiteral("aBetuCsokkent"))->trigger();
    QCOMPARE(m_db.session.fontSize, 11);
    for (int i = 0; i < 5; ++i)
        w->action(QStringLiteral("aBetuCsokkent"))->trigger();
    QCOMPARE(m_db.session.fontSize, 8);
    QCOMPARE(w->font().pointSize(), 8);
    for (int i = 0; i < 5; ++i)
        w->action(QStringLiteral("aBetuNovel"))->trigger();
    QCOMPARE(m_db.session.fontSize, 10);
}

void TestMainWindow::actionsWithoutTheirRightAreRefused()
{
    till(QStringLiteral("Főpénztár"));
    m_db.session.admin = false;
    m_db.session.masterEdit = false;
    auto w = window();
    for (const char *name : {"aBeallit", "aFelhasznalo", "aSQL", "aTorzsUgyfel", "aTorzsKasszaTipus"}) {
        m_db.messages.shown.clear();
        QAction *a = w->action(QString::fromLatin1(name));
        QVERIFY2(a && a->isEnabled(), name);
        a->trigger();
        QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Nincs jogosultság a művelethez.")});
        QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
    }
}

void TestMainWindow::sqlConsoleOpensForTheAdministrator()
{
    till(QStringLiteral("Főpénztár"));
    auto w = window();
    QAction *sql = w->action(QStringLiteral("aSQL"));
    QCOMPARE(sql->text(), QStringLiteral("Szabad lekérdezés"));
    QString opened;
    OnNextModal([&opened](QDialog *dialog) { opened = dialog->windowTitle(); });
    sql->trigger();
    QCOMPARE(opened, QStringLiteral("SQL lekérdezés"));
    QVERIFY(m_db.messages.shown.isEmpty());
}

// "Visszaállítás archívumból" of the Rendszer menu: the open database's archive, restored beside it, goes on the
// list in the ini file at once; the window goes on with the open database.
void TestMainWindow::restoreFromTheSystemMenuJoinsTheDatabaseList()
{
    SKIP_ON_SERVER("an archive of a folder restored into a folder; the server's own: test_serverarchive");
    till(QStringLiteral("Főpénztár"));
    booked(1, 1, 100);
    m_db.session.databaseFolder = m_db.folder;
    DatabaseList::Write(m_db.session.ini, {DatabaseList::EntryText(QStringLiteral("Éles"), m_db.folder)});
    const QString zip = m_db.dir.filePath(QStringLiteral("mentes.zip"));
    ArchiveFolder(m_db.folder, zip);
    const QString target = m_db.dir.filePath(QStringLiteral("visszaallitott"));
    QDir().mkpath(target);
    auto w = window();

    QMenu *system = nullptr;
    for (QAction *menu : w->menuBar()->actions())
        if (menu->text() == QStringLiteral("Rendszer"))
            system = menu->menu();
    QVERIFY(system);
    QAction *restore = w->action(QStringLiteral("aVisszaallit"));
    QCOMPARE(restore->text(), QStringLiteral("Visszaállítás archívumból"));
    const QList<QAction *> items = system->actions();
    QCOMPARE(items.indexOf(restore), items.indexOf(w->action(QStringLiteral("aArchiv"))) + 1);

    OnNextModal([&](QDialog *dialog) {
        m_db.fileDialogs.answers = {zip};
        dialog->findChild<QPushButton *>(QStringLiteral("btnArchivum"))->click();
        dialog->findChild<QLineEdit *>(QStringLiteral("edMappa"))->setText(target);
        dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    restore->trigger();
    // The test's ledger row has no balance chain: the check tells so, the restore goes on.
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.at(0).kind, QStringLiteral("warning"));
    QVERIFY(m_db.messages.shown.at(0).text.endsWith(
        QStringLiteral("„Visszaállított adatbázis (mentes)” néven felkerült az adatbázisok listájára.")));

    IniFile saved;
    QVERIFY(saved.load(m_db.session.iniPath));
    QCOMPARE(DatabaseList::Read(saved),
             (QStringList{DatabaseList::EntryText(QStringLiteral("Éles"), m_db.folder),
                          DatabaseList::EntryText(QStringLiteral("Visszaállított adatbázis (mentes)"), target)}));
    QCOMPARE(w->ledger()->rowCount(), 1);
    // The open database's event log tells what was restored where.
    Query logged(*m_db.engine, QStringLiteral("SELECT szoveg, sorkulcs FROM naplo WHERE esemeny = 'Visszaállítás';"));
    logged.open();
    QVERIFY(logged.next());
    QCOMPARE(logged.value(0).toString(),
             QStringLiteral("Visszaállított adatbázis (mentes): ") + QDir::toNativeSeparators(target));
    QCOMPARE(logged.value(1).toInt(), 2);
    QVERIFY(!logged.next());
}

void TestMainWindow::balanceDisplayWritesMost()
{
    till(QStringLiteral("Főpénztár"));
    booked(1, 1, 1500);
    booked(1, 2, 1234567);
    auto w = window();
    w->BalanceDisplay();
    QCOMPARE(w->balanceText(), QStringLiteral("1 234 567"));
    QCOMPARE(w->sumText(0), QStringLiteral("20"));
    Query most(*m_db.engine, QStringLiteral("SELECT most FROM kassza WHERE kassza=1;"));
    most.open();
    QVERIFY(most.next());
    QCOMPARE(most.value(0).toDouble(), 1234567.0);
}

void TestMainWindow::balanceShowsWhileAnotherWorkstationWrites()
{
    till(QStringLiteral("Főpénztár"));
    till(QStringLiteral("Kis kassza"));
    booked(1, 1, 1500);
    booked(2, 2, 700);
    const auto most = [this](int tillId) {
        Query q(*m_db.engine, QStringLiteral("SELECT most FROM kassza WHERE kassza=:k;"));
        q.setInt(QStringLiteral("k"), tillId);
        return q.firstValue();
    };
    std::unique_ptr<Tfrm_Main> w;
    {
        // Start-up and a till switch while another workstation holds the write lock beyond the busy timeout.
        Engine other(QStringLiteral("mainwindow_other"));
        other.open(m_db.folder);
        Transaction writing(other);
        w = window();
        w->BalanceDisplay();
        QCOMPARE(w->balanceText(), QStringLiteral("1 500"));
        w->TillSwitch(2, QStringLiteral("Kis kassza"));
        w->BalanceDisplay();
        QCOMPARE(w->balanceText(), QStringLiteral("700"));
        QVERIFY(m_db.messages.shown.isEmpty());
        // The server locks rows, not the database: the balance is written at once.
        QCOMPARE(most(2).isNull(), !m_db.engine->isServer());
    }
    // The next display writes what was skipped.
    w->BalanceDisplay();
    QCOMPARE(most(2).toDouble(), 700.0);
}

void TestMainWindow::ledgerAndSumsKeepTheStartUpMoneyFormat()
{
    till(QStringLiteral("Főpénztár"));
    booked(1, 1, 1234567);
    m_db.engine->exec(QStringLiteral("UPDATE dromvel SET bevetel = 1234567;"));
    // The settings dialog changes the format and reads the settings row again, as after "OK".
    m_dialogs.settings = [this](QWidget *) {
        m_db.engine->exec(QStringLiteral("UPDATE beallit SET formatft = '0.00';"));
        ReadSettingsRow(m_db.session, *m_db.engine);
        return true;
    };
    auto w = window();
    const int zaro = w->ledger()->record().indexOf(QStringLiteral("zaro"));
    const auto shown = [&w, zaro] { return w->ledger()->index(0, zaro).data().toString(); };
    QCOMPARE(w->sumText(0), QStringLiteral("1 234 567"));
    QCOMPARE(shown(), QStringLiteral("1 234 567"));
    w->action(QStringLiteral("aBeallit"))->trigger();
    QCOMPARE(m_db.session.formatFt, QStringLiteral("0.00")); // for the windows opened from now on
    w->Refresh(1);
    QCOMPARE(w->sumText(0), QStringLiteral("1 234 567"));
    QCOMPARE(shown(), QStringLiteral("1 234 567"));
}

void TestMainWindow::engineErrorInAnActionIsShownAndTheWindowGoesOn()
{
    till(QStringLiteral("Főpénztár"));
    booked(1, 1, 100);
    auto w = window();
    m_db.engine->exec(QStringLiteral("ALTER TABLE dromvel RENAME TO dromvel_el;"));
    w->action(QStringLiteral("aSzur"))->trigger();
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("application"));
    QCOMPARE(m_db.messages.shown.first().caption, QStringLiteral("Dromvel.Pro"));
    m_db.engine->exec(QStringLiteral("ALTER TABLE dromvel_el RENAME TO dromvel;"));
    w->action(QStringLiteral("aSzur"))->trigger();
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(w->ledger()->rowCount(), 1);
}

void TestMainWindow::columnWidthsFollowTheGrid()
{
    till(QStringLiteral("Főpénztár"));
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTableView *grid = w->grid();
    const int ugyfel = w->ledger()->record().indexOf(QStringLiteral("ugyfel_nev"));
    const auto shownWidth = [grid] {
        int sum = 0;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (!grid->isColumnHidden(c))
                sum += grid->columnWidth(c);
        return sum;
    };
    for (const int width : {1000, 1300}) {
        const int clientBefore = grid->columnWidth(ugyfel);
        w->resize(width, 700);
        QCoreApplication::processEvents();
        // The shown columns fill the grid without a horizontal scroll bar; the client's name is the widest.
        QVERIFY(grid->columnWidth(ugyfel) > clientBefore);
        QVERIFY2(shownWidth() <= grid->viewport()->width() && shownWidth() > grid->viewport()->width() - 60,
                 qPrintable(QStringLiteral("%1 of %2").arg(shownWidth()).arg(grid->viewport()->width())));
        QVERIFY(!grid->horizontalScrollBar()->isVisible());
        QVERIFY(grid->columnWidth(ugyfel) > 2 * grid->columnWidth(w->ledger()->sorszamColumn()));
    }
}

void TestMainWindow::closingWritesTheIniFile()
{
    till(QStringLiteral("Főpénztár"));
    m_db.session.fullScreen = true;
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->close();
    IniFile ini;
    QVERIFY(ini.load(m_db.session.iniPath));
    QVERIFY(ini.readBool(QStringLiteral("Screen"), QStringLiteral("FullScreen")));
    QCOMPARE(ini.readString(QStringLiteral("Defaults"), QStringLiteral("CassaName")), QStringLiteral("Főpénztár"));
    QCOMPARE(ini.readInt(QStringLiteral("Screen"), QStringLiteral("Width")), 900);
}

void TestMainWindow::voucherPrintingChecksTheRowFirst()
{
    till(QStringLiteral("Főpénztár"));
    m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                                    {QStringLiteral("kibe"), QStringLiteral("K")},
                                                    {QStringLiteral("kiadva"), QStringLiteral("N")},
                                                    {QStringLiteral("lezarva"), QStringLiteral("N")},
                                                    {QStringLiteral("elszamol_kell"), QStringLiteral("N")}});
    auto w = window();
    w->action(QStringLiteral("aBizNyom"))->trigger();
    w->action(QStringLiteral("aBizKep2"))->trigger();
    QCOMPARE(m_db.messages.texts(), QStringList(2, QStringLiteral("A bizonylat még nem lett lezárva.")));
    m_db.engine->exec(QStringLiteral("UPDATE dromvel SET kiadva='I';"));
    w->Refresh(-1);
    m_db.messages.shown.clear();
    w->action(QStringLiteral("aBizNyom2"))->trigger();
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Ez a bizonylat nem elszámolásra készült.")});
}

void TestMainWindow::bookingAndDeletingFromTheWindow()
{
    till(QStringLiteral("Főpénztár"));
    booked(1, 1, 1000);
    m_db.engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Áru eladás")}});
    m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács Péter")}});
    const auto pending = [this](double amount) {
        return m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                                               {QStringLiteral("kasszatip"), 1},
                                                               {QStringLiteral("ugyfel"), 1},
                                                               {QStringLiteral("kibe"), QStringLiteral("B")},
                                                               {QStringLiteral("kiadva"), QStringLiteral("N")},
                                                               {QStringLiteral("lezarva"), QStringLiteral("N")},
                                                               {QStringLiteral("elszamol_kell"), QStringLiteral("N")},
                                                               {QStringLiteral("osszeg"), amount},
                                                               {QStringLiteral("dat_kiadva"), m_db.session.openDay},
                                                               {QStringLiteral("dromvelid"), 0},
                                                               {QStringLiteral("ssz"), 0},
                                                               {QStringLiteral("betujel"), QStringLiteral("KB")}});
    };
    const qint64 first = pending(250);
    const qint64 second = pending(99);
    QList<int> printed;
    m_dialogs.printChoice = [&printed](int dromvel, bool advance, QWidget *) {
        QVERIFY(!advance);
        printed.append(dromvel);
    };
    auto w = window();
    w->grid()->setCurrentIndex(w->ledger()->index(w->ledger()->rowOfId(int(first)), 1));
    m_db.messages.answers = {true};
    w->action(QStringLiteral("aKesz"))->trigger();
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Valóban lezárod a bizonylatot?")});
    QCOMPARE(printed, QList<int>{int(first)});
    QCOMPARE(w->currentId(), int(first));
    QCOMPARE(w->balanceText(), QStringLiteral("1 250"));
    QCOMPARE(w->ledger()->field(w->grid()->currentIndex().row(), QStringLiteral("kiadva")).toString(),
             QStringLiteral("I"));

    // A booked row cannot be deleted; a pending one goes after Yes.
    m_db.messages.shown.clear();
    w->action(QStringLiteral("aTorol"))->trigger();
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Már kiadott bizonylat nem törölhető.")});
    w->grid()->setCurrentIndex(w->ledger()->index(w->ledger()->rowOfId(int(second)), 1));
    m_db.messages.shown.clear();
    m_db.messages.answers = {true};
    w->action(QStringLiteral("aTorol"))->trigger();
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Valóban töröljem a sort?")});
    QCOMPARE(w->ledger()->rowOfId(int(second)), -1);
}

void TestMainWindow::chosenTillBecomesCurrent()
{
    till(QStringLiteral("Főpénztár"));
    const qint64 small = till(QStringLiteral("Kis kassza"), QDate(2026, 12, 1));
    booked(int(small), 1, 4321);
    int asked = -1;
    m_dialogs.tills = [&asked, small](int current, bool choose, QString *name, QWidget *) {
        asked = choose ? current : -2;
        *name = QStringLiteral("Kis kassza");
        return int(small);
    };
    auto w = window();
    w->action(QStringLiteral("aKasszaValaszt"))->trigger();
    QCOMPARE(asked, 1);
    QCOMPARE(m_db.session.till, int(small));
    QCOMPARE(w->statusText(2), QStringLiteral("Kassza: Kis kassza"));
    QCOMPARE(m_db.session.closedUntil, QDate(2026, 12, 1));
    QCOMPARE(w->balanceText(), QStringLiteral("4 321"));
    QCOMPARE(w->ledger()->rowCount(), 1);
}

void TestMainWindow::dayClosingFromTheWindow()
{
    till(QStringLiteral("Főpénztár"), QDate(2026, 12, 7));
    booked(1, 1, 100);
    booked(1, 2, 110);
    const qint64 pending =
        m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                                        {QStringLiteral("kibe"), QStringLiteral("B")},
                                                        {QStringLiteral("kiadva"), QStringLiteral("N")},
                                                        {QStringLiteral("lezarva"), QStringLiteral("N")},
                                                        {QStringLiteral("dat_kiadva"), m_db.session.openDay},
                                                        {QStringLiteral("bevetel"), 5.0}});
    QStringList reports;
    m_dialogs.reports.outputChoice = [](QWidget *) { return 0; };
    m_dialogs.reports.output = [&reports](const Report::Document &doc, bool, QWidget *) {
        reports.append(doc.fileName);
    };
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->sumText(0), QStringLiteral("20"));
    QCOMPARE(w->statusText(3), QStringLiteral("2026.12.08: Szabad"));

    m_db.messages.answers = {true};
    QTest::keyClick(w.get(), Qt::Key_F9);

    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Valóban lezárjam a napo(ka)t?")});
    QCOMPARE(reports, QStringList{QStringLiteral("Időszaki pénztárjelentés 00001")});
    QCOMPARE(w->statusText(3), QStringLiteral("2026.12.08: Lezárva"));
    QCOMPARE(w->sumText(0), QStringLiteral("0"));
    QCOMPARE(w->sumText(1), QStringLiteral("0"));
    // With the unclosed filter on only the pending row stays.
    QCOMPARE(w->ledger()->rowCount(), 1);
    QCOMPARE(w->ledger()->rowOfId(int(pending)), 0);

    // The same day again is refused and prints nothing.
    m_db.messages.clear();
    QTest::keyClick(w.get(), Qt::Key_F9);
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Ez a nap már le lett zárva.")});
    QCOMPARE(reports.size(), 1);
}

void TestMainWindow::bookingAfterAnotherWorkstationBooked()
{
    till(QStringLiteral("Főpénztár"));
    m_db.engine->exec(QStringLiteral("UPDATE kassza SET betujel_be='FB', betujel_ki='FK' WHERE kassza=1;"));
    m_db.engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Bevétel")},
                                                      {QStringLiteral("kibe"), QStringLiteral("B")},
                                                      {QStringLiteral("elszamolas"), QStringLiteral("N")}});
    m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Vevő")}});
    KasszaTipChoice type;
    type.kasszatip = 1;
    type.kibe = QStringLiteral("B");
    type.elszamolas = QStringLiteral("N");
    UgyfelChoice client;
    client.ugyfel = 1;
    const auto pending = [&](Engine &engine, const QString &user, double amount) {
        QVariantMap row = NewVoucherValues(engine, 1, user, type, client, m_db.session.openDay);
        row.insert(QStringLiteral("osszeg1"), amount);
        row.insert(QStringLiteral("osszeg"), amount);
        int key = -1;
        SavePendingVoucher(engine, key, row);
        return key;
    };
    // Our pending voucher stands first, before far more booked rows than one read of the grid holds.
    const int ours = pending(*m_db.engine, QStringLiteral("elso"), 250);
    {
        Transaction transaction(*m_db.engine);
        for (int i = 1; i <= 2000; ++i)
            booked(1, i, 1000.0 + i);
        transaction.commit();
    }
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->currentId(), ours);

    // Another workstation books a voucher of its own while this one shows the grid.
    Engine other(QStringLiteral("mainwindow_other"));
    other.open(m_db.folder);
    const int theirs = pending(other, QStringLiteral("masodik"), 70);
    const BookingResult booking =
        BookVoucher(other, theirs, {m_db.session.openDay, QDate(), DateRule::OpenDayOnly, QStringLiteral("masodik")});
    QCOMPARE(booking.check, BookingCheck::Allowed);
    const double theirZaro =
        Query(other, QStringLiteral("SELECT zaro FROM dromvel WHERE dromvel=%1;").arg(theirs)).firstValue().toDouble();
    QCOMPARE(theirZaro, 3070.0);

    m_db.messages.answers = {true};
    w->action(QStringLiteral("aKesz"))->trigger();
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Valóban lezárod a bizonylatot?")});
    QCOMPARE(w->currentId(), ours);
    const int row = w->grid()->currentIndex().row();
    QCOMPARE(w->ledger()->field(row, QStringLiteral("kiadva")).toString(), QStringLiteral("I"));
    QCOMPARE(w->ledger()->field(row, QStringLiteral("nyito")).toDouble(), theirZaro);
    QCOMPARE(w->ledger()->field(row, QStringLiteral("zaro")).toDouble(), theirZaro + 250);
    QCOMPARE(w->balanceText(), QStringLiteral("3 320"));
    QVERIFY(w->ledger()->rowOfId(theirs) >= 0);
    QCOMPARE(w->statusText(0), QStringLiteral("2002: %1").arg(row + 1));
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"

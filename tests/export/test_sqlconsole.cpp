#include "codepage.h"
#include "engine.h"
#include "exportsource.h"
#include "keyboard.h"
#include "query.h"
#include "resultgridmodel.h"
#include "testdatabase.h"
#include "tfrm_sql.h"
#include "util.h"

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <Qsci/qsciscintilla.h>
#include <QtTest>

namespace {

const QString Done = QStringLiteral("SQL futtatás kész.");

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestSqlConsole : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void queryFillsTheGrid_data();
    void queryFillsTheGrid();
    void queryAfterACommentIsAStatementWithoutSemicolon();
    void statementRunsOnlyWithItsSemicolon_data();
    void statementRunsOnlyWithItsSemicolon();
    void errorInTheMiddleKeepsWhatRanAndShowsTheMessage();
    void onlyTheSelectionRuns();
    void exportFollowsTheOpenResult();
    void badQueryShowsTheEnginesMessage();
    void stopBetweenStatements();
    void closingWhileRunningStopsFirst();
    void transactionLeftOpenIsRolledBack();
    void largeResultOpensWithAPageAndCountsAfter();
    void pageThatCannotBeReadIsReportedOnce();
    void menusAndKeys();
    void filesOpenAndSaveInTheSqlFolder();
    void fileErrorsKeepTheText();
    void sqlFilesReadBack_data();
    void sqlFilesReadBack();
    void placementIsRemembered();

private:
    std::unique_ptr<Tfrm_SQL> console()
    {
        auto c = std::make_unique<Tfrm_SQL>(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs,
                                            [this](ExportSource &rows, QWidget *) {
                                                ++m_exports;
                                                m_exportColumns.clear();
                                                for (const ExportColumn &column : rows.columns())
                                                    m_exportColumns.append(column.label);
                                                m_exportRows = rows.rowCount();
                                            });
        c->show();
        if (!QTest::qWaitForWindowExposed(c.get()))
            qWarning("console not exposed");
        return c;
    }
    // Types the text into the editor and presses F5.
    void typeAndRun(Tfrm_SQL &c, const QString &text)
    {
        c.editor()->setFocus();
        QTest::keyClick(c.editor(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(c.editor(), Qt::Key_Delete);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(c.editor(), Qt::Key_Return);
            TypeText(c.editor(), lines.at(i));
        }
        QTest::keyClick(c.editor(), Qt::Key_F5);
    }
    double limit(int client)
    {
        Query q(*m_db.engine, QStringLiteral("SELECT elszamollimit FROM ugyfel WHERE ugyfel=:u;"));
        q.setInt(QStringLiteral("u"), client);
        return q.firstValue().toDouble();
    }
    int clients() { return Query(*m_db.engine, QStringLiteral("SELECT COUNT(*) FROM ugyfel;")).firstValue().toInt(); }
    void addClients(int n)
    {
        m_db.engine->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                         "INSERT INTO ugyfel (ugyfel_nev, elszamollimit) SELECT 'Ügyfél ' || i, i "
                                         "FROM n;")
                              .arg(n));
    }

    QTemporaryDir m_root;
    TestDatabase m_db;
    int m_exports = 0;
    QStringList m_exportColumns;
    qint64 m_exportRows = -1;
};

void TestSqlConsole::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
    InitStartupValues(m_root.filePath(QStringLiteral("prog")), m_root.filePath(QStringLiteral("common")));
}

void TestSqlConsole::init()
{
    m_db.fresh(QStringLiteral("sqlconsole"));
    m_db.session.fontSize = 9;
    addClients(3);
    m_exports = 0;
    m_exportRows = -1;
}

void TestSqlConsole::cleanup()
{
    m_db.close();
}

void TestSqlConsole::queryFillsTheGrid_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("columnWidth");
    QTest::newRow("lower case after blank lines") << "\n\n   select ugyfel_nev, elszamollimit from ugyfel" << 8 << 64;
    QTest::newRow("mixed case with semicolon and a closing note, larger font")
        << "SeLeCt ugyfel_nev, elszamollimit FROM ugyfel; -- vége" << 12 << 96;
}

void TestSqlConsole::queryFillsTheGrid()
{
    QFETCH(QString, text);
    QFETCH(int, fontSize);
    QFETCH(int, columnWidth);
    m_db.session.fontSize = fontSize;
    auto c = console();
    typeAndRun(*c, text);
    QVERIFY2(m_db.messages.shown.isEmpty(), qPrintable(m_db.messages.texts().join(QLatin1Char('|'))));
    auto *tabs = c->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QCOMPARE(tabs->currentWidget(), c->grid());
    QCOMPARE(c->result()->rowCount(), 3);
    QCOMPARE(c->result()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ugyfel_nev"));
    QCOMPARE(c->result()->index(2, 0).data().toString(), QStringLiteral("Ügyfél 3"));
    QCOMPARE(c->result()->index(2, 1).data().toString(), QStringLiteral("3"));
    QCOMPARE(c->grid()->columnWidth(0), columnWidth);
    QCOMPARE(c->grid()->columnWidth(1), columnWidth);
    QCOMPARE(c->grid()->font().pointSize(), fontSize);
    QVERIFY(c->action(QStringLiteral("aExport"))->isEnabled());
}

void TestSqlConsole::queryAfterACommentIsAStatementWithoutSemicolon()
{
    auto c = console();
    typeAndRun(*c, QStringLiteral("-- az ügyfelek\nSELECT * FROM ugyfel"));
    QCOMPARE(m_db.messages.texts(), QStringList{Done});
    QVERIFY(!c->result()->isOpen());
    QVERIFY(!c->action(QStringLiteral("aExport"))->isEnabled());
}

void TestSqlConsole::statementRunsOnlyWithItsSemicolon_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("limit");
    QTest::newRow("with semicolon runs once") << "UPDATE ugyfel SET elszamollimit = elszamollimit + 10;" << 11.0;
    QTest::newRow("without semicolon runs nothing") << "UPDATE ugyfel SET elszamollimit = elszamollimit + 10" << 1.0;
    QTest::newRow("trailing text after the last statement")
        << "UPDATE ugyfel SET elszamollimit = 5;\nUPDATE ugyfel SET elszamollimit = 7" << 5.0;
}

void TestSqlConsole::statementRunsOnlyWithItsSemicolon()
{
    QFETCH(QString, text);
    QFETCH(double, limit);
    auto c = console();
    typeAndRun(*c, text);
    QCOMPARE(m_db.messages.texts(), QStringList{Done});
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("info"));
    QCOMPARE(this->limit(1), limit);
    QVERIFY(!c->progress()->isVisible());
}

void TestSqlConsole::errorInTheMiddleKeepsWhatRanAndShowsTheMessage()
{
    auto c = console();
    typeAndRun(*c, QStringLiteral("UPDATE ugyfel SET kapcsolat='a;b' WHERE ugyfel=1;\n"
                                  "UPDATE nincs_ilyen SET x=1;\n"
                                  "UPDATE ugyfel SET elszamollimit=99;"));
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
    const QString text = m_db.messages.shown.first().text;
    QVERIFY2(text.startsWith(QStringLiteral("SQL hiba:\r\n")) && text.contains(QStringLiteral("nincs_ilyen")),
             qPrintable(text));
    // The literal's semicolon did not split the first statement, which stays applied; the third never ran.
    QCOMPARE(Query(*m_db.engine, QStringLiteral("SELECT kapcsolat FROM ugyfel WHERE ugyfel=1;")).firstValue(),
             QVariant(QStringLiteral("a;b")));
    QCOMPARE(limit(3), 3.0);
    QVERIFY(c->progress()->isVisible());
    QCOMPARE(c->progress()->value(), 1);
    QCOMPARE(c->progress()->maximum(), 3);
    QVERIFY(c->action(QStringLiteral("aFuttat"))->isEnabled());
}

void TestSqlConsole::onlyTheSelectionRuns()
{
    auto c = console();
    typeAndRun(*c, QStringLiteral("UPDATE ugyfel SET elszamollimit=50 WHERE ugyfel=1;\n"
                                  "UPDATE ugyfel SET elszamollimit=60 WHERE ugyfel=2;\n"
                                  "SELECT ugyfel FROM ugyfel WHERE ugyfel > 1"));
    m_db.messages.clear();
    m_db.engine->exec(QStringLiteral("UPDATE ugyfel SET elszamollimit=0;"));
    // The second line, chosen with the keyboard.
    QTest::keyClick(c->editor(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(c->editor(), Qt::Key_Down);
    QTest::keyClick(c->editor(), Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(c->editor(), Qt::Key_F5);
    QCOMPARE(m_db.messages.texts(), QStringList{Done});
    QCOMPARE(limit(1), 0.0);
    QCOMPARE(limit(2), 60.0);
    // The third line alone is a query.
    QTest::keyClick(c->editor(), Qt::Key_Down);
    QTest::keyClick(c->editor(), Qt::Key_Home);
    QTest::keyClick(c->editor(), Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(c->editor(), Qt::Key_F5);
    QCOMPARE(c->result()->rowCount(), 2);
}

void TestSqlConsole::exportFollowsTheOpenResult()
{
    auto c = console();
    QAction *exportAction = c->action(QStringLiteral("aExport"));
    QVERIFY(!exportAction->isEnabled());
    typeAndRun(*c, QStringLiteral("SELECT ugyfel_nev AS nev, elszamollimit FROM ugyfel WHERE ugyfel < 3"));
    QVERIFY(exportAction->isEnabled());
    QTest::keyClick(c->grid(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(m_exports, 1);
    QCOMPARE(m_exportColumns, (QStringList{"nev", "elszamollimit"}));
    QCOMPARE(m_exportRows, 2);
    typeAndRun(*c, QStringLiteral("UPDATE ugyfel SET cim_irsz=NULL;"));
    QCOMPARE(m_db.messages.texts(), QStringList{Done});
    QVERIFY(!exportAction->isEnabled());
    QCOMPARE(c->result()->rowCount(), 0);
    QTest::keyClick(c->editor(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(m_exports, 1);
}

void TestSqlConsole::badQueryShowsTheEnginesMessage()
{
    auto c = console();
    typeAndRun(*c, QStringLiteral("SELECT nincs FROM ugyfel"));
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("SQL hiba:\r\n")));
    QVERIFY(m_db.messages.shown.first().text.contains(QStringLiteral("nincs")));
    QVERIFY(!c->action(QStringLiteral("aExport"))->isEnabled());
    QCOMPARE(c->findChild<QTabWidget *>()->currentWidget(), c->editor());
    m_db.messages.clear();
    typeAndRun(*c, QStringLiteral("SELECT 1; SELECT 2;"));
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.contains(QStringLiteral("több utasítást")));
}

void TestSqlConsole::stopBetweenStatements()
{
    auto c = console();
    auto *stopButton = c->findChild<QPushButton *>(QStringLiteral("btnMegallit"));
    // "Megállít" is clicked once the second statement has run: the click waits in the queue until the window hears it,
    // before the third.
    connect(c->progress(), &QProgressBar::valueChanged, this, [stopButton](int value) {
        if (value == 2)
            QTimer::singleShot(0, stopButton, [stopButton] { QTest::mouseClick(stopButton, Qt::LeftButton); });
    });
    QStringList script;
    for (int i = 1; i <= 5; ++i)
        script.append(QStringLiteral("INSERT INTO ugyfel (ugyfel_nev) VALUES ('Új %1');").arg(i));
    typeAndRun(*c, script.join(QLatin1Char('\n')));
    QCOMPARE(clients(), 5);
    QCOMPARE(m_db.messages.texts(),
             QStringList{QStringLiteral("SQL futtatás megállítva. Lefutott utasítások: 2 / 5.")});
    QVERIFY(!c->running());
    QVERIFY(!stopButton->isEnabled());
    QVERIFY(c->action(QStringLiteral("aFuttat"))->isEnabled());
    QVERIFY(!c->editor()->isReadOnly());
}

void TestSqlConsole::closingWhileRunningStopsFirst()
{
    auto c = console();
    connect(c->progress(), &QProgressBar::valueChanged, this, [&c](int value) {
        if (value == 1) {
            QVERIFY(c->running());
            QVERIFY(c->editor()->isReadOnly());
            QVERIFY(!c->action(QStringLiteral("aFuttat"))->isEnabled());
            QTest::keyClick(c.get(), Qt::Key_Escape);
            QVERIFY(c->isVisible());
        }
    });
    typeAndRun(*c, QStringLiteral("DELETE FROM ugyfel WHERE ugyfel=1;\nDELETE FROM ugyfel WHERE ugyfel=2;"));
    QCOMPARE(clients(), 2);
    QVERIFY(!c->isVisible());
}

void TestSqlConsole::transactionLeftOpenIsRolledBack()
{
    auto c = console();
    typeAndRun(*c, QStringLiteral("BEGIN;\nDELETE FROM ugyfel;"));
    QCOMPARE(clients(), 3);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.startsWith(Done + QStringLiteral("\r\n")));
    QVERIFY(m_db.messages.shown.first().text.contains(QStringLiteral("tranzakció visszavonva")));
    // The program's own writes go on afterwards.
    Transaction own(*m_db.engine);
    own.commit();

    m_db.messages.clear();
    typeAndRun(*c, QStringLiteral("BEGIN;\nDELETE FROM ugyfel WHERE ugyfel=1;\nUPDATE nincs SET x=1;\nCOMMIT;"));
    QCOMPARE(clients(), 3);
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("SQL hiba:\r\n")));
    QVERIFY(m_db.messages.shown.first().text.contains(QStringLiteral("tranzakció visszavonva")));

    m_db.messages.clear();
    typeAndRun(*c, QStringLiteral("BEGIN;\nDELETE FROM ugyfel WHERE ugyfel=1;\nCOMMIT;"));
    QCOMPARE(clients(), 2);
    QCOMPARE(m_db.messages.texts(), QStringList{Done});
}

void TestSqlConsole::largeResultOpensWithAPageAndCountsAfter()
{
    addClients(1997);
    auto c = console();
    typeAndRun(*c, QStringLiteral("SELECT ugyfel, ugyfel_nev FROM ugyfel ORDER BY ugyfel"));
    QCOMPARE(c->result()->rowCount(), ResultGridModel::PageRows);
    QTRY_VERIFY(c->result()->counted());
    QCOMPARE(c->result()->rowCount(), 2000);
    // Scrolled to the end, the grid shows the last page's rows.
    c->grid()->scrollToBottom();
    QCOMPARE(c->result()->index(1999, 0).data().toString(), QStringLiteral("2000"));
    QCOMPARE(c->result()->index(1999, 1).data().toString(), QStringLiteral("Ügyfél 1997"));
    QCOMPARE(c->result()->index(0, 0).data().toString(), QStringLiteral("1"));
    QVERIFY(m_db.messages.shown.isEmpty());

    // Dragging the scroll bar shows rows not kept as empty until it is let go.
    c->grid()->scrollToTop();
    QScrollBar *bar = c->grid()->verticalScrollBar();
    QSignalSpy changed(c->result(), &QAbstractItemModel::dataChanged);
    bar->setSliderDown(true);
    bar->setValue(bar->maximum() / 2);
    QCOMPARE(c->result()->index(1001, 0).data(), QVariant());
    QCOMPARE(c->result()->index(1, 0).data().toString(), QStringLiteral("2"));
    bar->setSliderDown(false);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(c->result()->index(1001, 0).data().toString(), QStringLiteral("1002"));
}

void TestSqlConsole::pageThatCannotBeReadIsReportedOnce()
{
    addClients(1997);
    auto c = console();
    typeAndRun(*c, QStringLiteral("SELECT * FROM ugyfel"));
    QTRY_VERIFY(c->result()->counted());
    m_db.engine->exec(QStringLiteral("DROP TABLE ugyfel;"));
    QCOMPARE(c->result()->index(1500, 0).data(), QVariant());
    QCOMPARE(c->result()->index(1800, 0).data(), QVariant());
    QTRY_COMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("SQL hiba:\r\n")));
    QTest::qWait(20);
    QCOMPARE(m_db.messages.shown.size(), 1);
}

void TestSqlConsole::menusAndKeys()
{
    auto c = console();
    QCOMPARE(c->windowTitle(), QStringLiteral("SQL lekérdezés"));
    const auto names = [](const QMenu *menu) {
        QStringList result;
        for (const QAction *a : menu->actions())
            result.append(a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return result;
    };
    QCOMPARE(names(c->findChild<QMenu *>(QStringLiteral("EditorMenu"))),
             (QStringList{"aFuttat", "-", "aUj", "aMegnyit", "aMent"}));
    QCOMPARE(names(c->findChild<QMenu *>(QStringLiteral("GridMenu"))), QStringList{"aExport"});
    QCOMPARE(c->action(QStringLiteral("aFuttat"))->shortcut(), QKeySequence(Qt::Key_F5));

    // Ctrl+N clears the text while the editor holds the focus; the remembered file name stays.
    m_db.fileDialogs.answers = {DataFolder() + QStringLiteral("/SQL/egy.sql")};
    typeAndRun(*c, QStringLiteral("UPDATE ugyfel SET cim_irsz=NULL;"));
    QTest::keyClick(c->editor(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(c->fileName(), DataFolder() + QStringLiteral("/SQL/egy.sql"));
    QTest::keyClick(c->editor(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(c->editor()->text(), QString());
    QCOMPARE(c->fileName(), DataFolder() + QStringLiteral("/SQL/egy.sql"));
    m_db.fileDialogs.answers = {DataFolder() + QStringLiteral("/SQL/egy.sql")};
    QTest::keyClick(c->editor(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(c->editor()->text(), QStringLiteral("UPDATE ugyfel SET cim_irsz=NULL;"));
}

void TestSqlConsole::filesOpenAndSaveInTheSqlFolder()
{
    QDir(DataFolder() + QStringLiteral("/SQL")).removeRecursively();
    auto c = console();
    const QString folder = DataFolder() + QStringLiteral("/SQL");
    const QString path = folder + QStringLiteral("/ügyfél.sql");
    typeAndRun(*c, QStringLiteral("-- Árvíztűrő\nUPDATE ugyfel SET cim_irsz='1234';"));
    m_db.fileDialogs.answers = {path};
    c->action(QStringLiteral("aMent"))->trigger();
    QVERIFY(QFileInfo(folder).isDir());
    const auto &save = m_db.fileDialogs.asked.last();
    QCOMPARE(save.caption, QStringLiteral("SQL mentése"));
    QCOMPARE(save.path, folder);
    QCOMPARE(save.filter, QStringLiteral("SQL file-ok (*.sql)"));
    QCOMPARE(FileBytes(path), ToWindows1250(QStringLiteral("-- Árvíztűrő\r\nUPDATE ugyfel SET cim_irsz='1234';")));
    QCOMPARE(c->fileName(), path);

    // The next save proposes the remembered file.
    m_db.fileDialogs.answers = {QString()};
    c->action(QStringLiteral("aMent"))->trigger();
    QCOMPARE(m_db.fileDialogs.asked.last().path, path);

    c->action(QStringLiteral("aUj"))->trigger();
    m_db.fileDialogs.answers = {path};
    c->action(QStringLiteral("aMegnyit"))->trigger();
    const auto &open = m_db.fileDialogs.asked.last();
    QCOMPARE(open.caption, QStringLiteral("SQL megnyitás"));
    QCOMPARE(open.path, folder);
    QCOMPARE(open.filter, QStringLiteral("SQL állományok (*.sql)"));
    QCOMPARE(c->editor()->text(), QStringLiteral("-- Árvíztűrő\nUPDATE ugyfel SET cim_irsz='1234';"));
    QCOMPARE(m_db.messages.texts(), QStringList{Done});
}

void TestSqlConsole::fileErrorsKeepTheText()
{
    auto c = console();
    const QString text = QStringLiteral("UPDATE ugyfel SET cim_irsz=NULL;");
    c->editor()->setText(text);
    const QString existing = m_db.dir.filePath(QStringLiteral("regi.sql"));
    WriteBytes(existing, "SELECT 1;");

    const QStringList bad{m_db.dir.filePath(QStringLiteral("nincs.sql")), m_db.dir.path(),
                          m_db.dir.filePath(QStringLiteral("binaris.sql"))};
    WriteBytes(bad.last(), QByteArray("SELECT\0", 7));
    for (const QString &path : bad) {
        m_db.messages.clear();
        m_db.fileDialogs.answers = {path};
        c->action(QStringLiteral("aMegnyit"))->trigger();
        QCOMPARE(m_db.messages.shown.size(), 1);
        QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
        QVERIFY2(m_db.messages.shown.first().text.startsWith(QStringLiteral("SQL hiba:\r\n")), qPrintable(path));
        QCOMPARE(c->editor()->text(), text);
        QCOMPARE(c->fileName(), QString());
    }

    // A save into a folder that cannot exist, and over a folder: the text and the old file stay.
    WriteBytes(m_db.dir.filePath(QStringLiteral("fajl")), "x");
    for (const QString &path : {m_db.dir.filePath(QStringLiteral("fajl/alatta.sql")), m_db.dir.path()}) {
        m_db.messages.clear();
        m_db.fileDialogs.answers = {path};
        c->action(QStringLiteral("aMent"))->trigger();
        QCOMPARE(m_db.messages.shown.size(), 1);
        QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("SQL hiba:\r\n")));
        QCOMPARE(c->editor()->text(), text);
        QCOMPARE(c->fileName(), QString());
    }
    QCOMPARE(FileBytes(existing), QByteArray("SELECT 1;"));
}

void TestSqlConsole::sqlFilesReadBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("Windows-1250 with CR LF")
        << ToWindows1250(QStringLiteral("-- ő\r\nSELECT 'ű';\r\n")) << "-- ő\nSELECT 'ű';\n";
    QTest::newRow("UTF-8 without a mark") << QStringLiteral("-- ő\nSELECT 'ű';").toUtf8() << "-- ő\nSELECT 'ű';";
    QTest::newRow("UTF-8 with a mark") << QByteArray("\xEF\xBB\xBF") + QStringLiteral("SELECT '→';").toUtf8()
                                       << "SELECT '→';";
    QTest::newRow("lone CR line ends") << QByteArray("a\rb") << "a\nb";
}

void TestSqlConsole::sqlFilesReadBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    auto c = console();
    const QString path = m_db.dir.filePath(QStringLiteral("olvas.sql"));
    WriteBytes(path, bytes);
    m_db.fileDialogs.answers = {path};
    c->action(QStringLiteral("aMegnyit"))->trigger();
    QCOMPARE(c->editor()->text(), text);
    // Written back and read again, the text is the same: a character Windows-1250 lacks makes the file UTF-8.
    m_db.fileDialogs.answers = {path, path};
    c->action(QStringLiteral("aMent"))->trigger();
    c->editor()->clear();
    c->action(QStringLiteral("aMegnyit"))->trigger();
    QCOMPARE(c->editor()->text(), text);
    QCOMPARE(FileBytes(path).startsWith("\xEF\xBB\xBF"), text.contains(QChar(0x2192)));
    QVERIFY(m_db.messages.shown.isEmpty());
}

void TestSqlConsole::placementIsRemembered()
{
    m_db.session.ini.writeInt(QStringLiteral("Tfrm_SQL"), QStringLiteral("Width"), 640);
    m_db.session.ini.writeInt(QStringLiteral("Tfrm_SQL"), QStringLiteral("Height"), 400);
    auto c = console();
    QCOMPARE(c->size(), QSize(640, 400));
    c->resize(700, 450);
    c->action(QStringLiteral("aBezar"))->trigger();
    QVERIFY(!c->isVisible());
    QCOMPARE(m_db.session.ini.readInt(QStringLiteral("Tfrm_SQL"), QStringLiteral("Width")), 700);
    QCOMPARE(m_db.session.ini.readInt(QStringLiteral("Tfrm_SQL"), QStringLiteral("Height")), 450);
}

QTEST_MAIN(TestSqlConsole)
#include "test_sqlconsole.moc"

#include "codepage.h"
#include "delimitedwriter.h"
#include "testdatabase.h"
#include "tfrm_naplo.h"

#include <QAction>
#include <QBuffer>
#include <QLineEdit>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

// "Eseménynapló": the entries of a period, the search, and the rows it hands to the export.
class TestEventLogWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void listsThePeriodAndSearches_data();
    void listsThePeriodAndSearches();
    void exportsTheRowsShown();
    void toolbar();

private:
    void entry(const QString &time, const QString &user, const QString &event, int till, const QString &text);
    QStringList shown(const Tfrm_Naplo &window) const;
    ClosingServices services();

    TestDatabase m_db;
    QByteArray m_exported;
};

void TestEventLogWindow::init()
{
    m_db.fresh(QStringLiteral("eventlogwindow"));
    m_db.session.user = QStringLiteral("admin");
    m_exported.clear();
    m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    entry(QStringLiteral("2026-02-27 10:00:00"), QStringLiteral("bori"), QStringLiteral("Könyvelés"), 1,
          QStringLiteral("FB00001 2026.02.27. 1500 áru"));
    entry(QStringLiteral("2026-03-02 08:15:00"), QStringLiteral("bori"), QStringLiteral("Könyvelés"), 1,
          QStringLiteral("FB00002 2026.03.02. 800 posta"));
    entry(QStringLiteral("2026-03-02 17:30:05"), QStringLiteral("pisti"), QStringLiteral("Napzárás"), 1,
          QStringLiteral("2026.03.02. napja, 3 sor; záró 99 300"));
    entry(QStringLiteral("2026-03-05 09:00:00"), QStringLiteral("admin"), QStringLiteral("SQL parancs"), 0,
          QStringLiteral("UPDATE ugyfel SET elszamollimit = 0;"));
}

void TestEventLogWindow::entry(const QString &time, const QString &user, const QString &event, int till,
                               const QString &text)
{
    m_db.engine->insert(QStringLiteral("naplo"), {{QStringLiteral("idopont"), time},
                                                  {QStringLiteral("munkaallomas"), QStringLiteral("PENZTAR-1")},
                                                  {QStringLiteral("felhasznalo"), user},
                                                  {QStringLiteral("esemeny"), event},
                                                  {QStringLiteral("kassza"), till},
                                                  {QStringLiteral("sorkulcs"), 7},
                                                  {QStringLiteral("szoveg"), text}});
}

QStringList TestEventLogWindow::shown(const Tfrm_Naplo &window) const
{
    QStringList rows;
    const QAbstractItemModel *model = window.grid()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            if (!window.grid()->isColumnHidden(column))
                cells.append(model->index(row, column).data().toString());
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

ClosingServices TestEventLogWindow::services()
{
    ClosingServices services;
    services.exportRows = [this](ExportSource &rows, QWidget *) {
        QBuffer buffer(&m_exported);
        buffer.open(QIODevice::WriteOnly);
        DelimitedWriter(DelimitedOptions()).write(rows, buffer);
    };
    return services;
}

void TestEventLogWindow::listsThePeriodAndSearches_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("rows");

    const QString booking =
        QStringLiteral("2026-03-02 08:15:00|PENZTAR-1|bori|Könyvelés|Főpénztár|7|FB00002 2026.03.02. 800 posta");
    const QString closing = QStringLiteral(
        "2026-03-02 17:30:05|PENZTAR-1|pisti|Napzárás|Főpénztár|7|2026.03.02. napja, 3 sor; záró 99 300");
    const QString console =
        QStringLiteral("2026-03-05 09:00:00|PENZTAR-1|admin|SQL parancs||7|UPDATE ugyfel SET elszamollimit = 0;");
    QTest::newRow("March") << QDate(2026, 3, 1) << QDate(2026, 3, 31) << QString()
                           << QStringList{booking, closing, console};
    QTest::newRow("one day") << QDate(2026, 3, 2) << QDate(2026, 3, 2) << QString() << QStringList{booking, closing};
    QTest::newRow("a user") << QDate(2026, 3, 1) << QDate(2026, 3, 31) << QStringLiteral("PISTI")
                            << QStringList{closing};
    QTest::newRow("a word of the text") << QDate(2026, 3, 1) << QDate(2026, 3, 31) << QStringLiteral("posta")
                                        << QStringList{booking};
    QTest::newRow("nothing") << QDate(2026, 4, 1) << QDate(2026, 4, 30) << QString() << QStringList{};
}

void TestEventLogWindow::listsThePeriodAndSearches()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, search);
    QFETCH(QStringList, rows);
    Tfrm_Naplo window(m_db.session, *m_db.engine, m_db.messages, services(), {from, to});
    window.open();
    QTest::keyClicks(window.filterBox(), search);

    QCOMPARE(shown(window), rows);
    // The newest entry shown is the current one.
    QCOMPARE(window.currentRow(), int(rows.size()) - 1);
    QVERIFY(m_db.messages.shown.isEmpty());
}

void TestEventLogWindow::exportsTheRowsShown()
{
    Tfrm_Naplo window(m_db.session, *m_db.engine, m_db.messages, services(), {QDate(2026, 3, 1), QDate(2026, 3, 31)});
    window.open();
    window.filterBox()->setText(QStringLiteral("főpénztár"));
    window.action(QStringLiteral("aExcelbe"))->trigger();

    // The delimited export offers every field of the statement, the hidden key and till too.
    const QString expected = QStringLiteral(
        "naplo;időpont;munkaállomás;felhasználó;esemény;kassza;sor;leírás;kassza;\r\n"
        "2;2026-03-02 08:15:00;PENZTAR-1;bori;Könyvelés;Főpénztár;7;FB00002 2026.03.02. 800 posta;1;\r\n"
        "3;2026-03-02 17:30:05;PENZTAR-1;pisti;Napzárás;Főpénztár;7;\"2026.03.02. napja, 3 sor; záró 99 300\";1;\r\n");
    QCOMPARE(m_exported, ToWindows1250(expected));
    QCOMPARE(window.listTitle(), QStringLiteral("Eseménynapló: 2026.03.01. – 2026.03.31., keresés: főpénztár"));
}

void TestEventLogWindow::toolbar()
{
    Tfrm_Naplo window(m_db.session, *m_db.engine, m_db.messages, services(), {QDate(2026, 3, 1), QDate(2026, 3, 31)});
    QStringList captions;
    for (QAction *a : window.toolBar()->actions())
        captions.append(a->isSeparator() ? QStringLiteral("|") : a->iconText());
    QCOMPARE(captions.join(QLatin1Char(' ')),
             QStringLiteral("Időszak... | Nyomtat Nyom.kép | Excelbe... HTML export | Bezár"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Eseménynapló"));
}

QTEST_MAIN(TestEventLogWindow)
#include "test_eventlogwindow.moc"

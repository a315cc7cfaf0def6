#include "dayclosing.h"
#include "dayclosingactions.h"
#include "databasefaults.h"
#include "ledgerfixture.h"
#include "ledgerops.h"
#include "ledgersound.h"
#include "tfrm_naplezar.h"
#include "tillstore.h"
#include "voucherbooking.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

namespace {

const QString Question = QStringLiteral("Valóban lezárjam a napo(ka)t?");
const QString Closed = QStringLiteral("Ez a nap már le lett zárva.");
const QString Nothing = QStringLiteral("Nincs mit lezárni: a kasszának nincs könyvelt, még le nem zárt bizonylata.");

} // namespace

// Closing the open day of a till: which rows a closing takes, the record it writes, and when it refuses.
class TestDayClosing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void oneClosingTakesEveryBookedRowOfTheTill();
    void backDatedRowGoesIntoTheNextClosing();
    void refusals_data();
    void refusals();
    void failedStepLeavesNothingChanged_data();
    void failedStepLeavesNothingChanged();
    void closingsList();

private:
    // A voucher of the till dated on the day, booked whatever that day's state (back-dating on).
    int book(int till, LedgerFixture::Type type, double amount, const QDate &day)
    {
        const int row = m_db.pending(till, type, amount, day);
        const BookingResult result = BookVoucher(*m_db.engine, row, AnyDay());
        return result.check == BookingCheck::Allowed ? row : -1;
    }
    // "Zárás" on the open day with Yes to its question; the new closing record, 0 when refused.
    int closeOn(const QDate &openDay)
    {
        m_db.session.openDay = openDay;
        m_db.messages.answers = {true};
        return NapLezar(m_db.session, *m_db.engine, m_db.messages);
    }
    // The closing records as "number till from to nyito zaro".
    QStringList closings() const
    {
        Query q(*m_db.engine, QStringLiteral("SELECT zarbizonylat, kassza, dat_tol, dat_ig, nyito, zaro "
                                             "FROM zarbizonylat ORDER BY zarbizonylat;"));
        q.open();
        QStringList records;
        while (q.next())
            records.append(
                QStringLiteral("%1 %2 %3 %4 %5 %6")
                    .arg(q.value(0).toInt())
                    .arg(q.value(1).toInt())
                    .arg(q.value(2).toDate().toString(Qt::ISODate), q.value(3).toDate().toString(Qt::ISODate))
                    .arg(q.value(4).toDouble())
                    .arg(q.value(5).toDouble()));
        return records;
    }
    // The till's closed-until date and closing balance as "yyyy-MM-dd zaro".
    QString tillState(int till) const
    {
        Query q(*m_db.engine, QStringLiteral("SELECT lezarva, zaro FROM kassza WHERE kassza = %1;").arg(till));
        q.open();
        return q.next() ? q.value(0).toDate().toString(Qt::ISODate) + QLatin1Char(' ') +
                              QString::number(q.value(1).toDouble())
                        : QString();
    }
    int count(const QString &sql) const { return m_db.scalar(sql).toInt(); }

    LedgerFixture m_db;
    int m_till = 0;
};

void TestDayClosing::init()
{
    // The till opens with 100 000 on 8 March.
    m_db.open(QStringLiteral("dayclosing"), QDate(2026, 3, 8));
    m_till = m_db.till(QStringLiteral("Fő"), QStringLiteral("FB"), QStringLiteral("FK"), 100000);
    m_db.session.till = m_till;
}

void TestDayClosing::oneClosingTakesEveryBookedRowOfTheTill()
{
    book(m_till, LedgerFixture::Receipt, 1000, QDate(2026, 3, 8));
    book(m_till, LedgerFixture::Receipt, 20000, QDate(2026, 3, 9));
    book(m_till, LedgerFixture::Payment, 5000, QDate(2026, 3, 10));
    const int pending = m_db.pending(m_till, LedgerFixture::Receipt, 700, QDate(2026, 3, 10));
    const int other = m_db.till(QStringLiteral("Bolt"), QStringLiteral("BB"), QStringLiteral("BK"), 3000);
    const int otherRow = book(other, LedgerFixture::Receipt, 400, QDate(2026, 3, 9));

    const int record = closeOn(QDate(2026, 3, 10));

    QCOMPARE(record, 1);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().text, Question);
    QCOMPARE(m_db.messages.shown.first().caption, QStringLiteral("Megerősítés"));
    // Every voucher booked since the till opened, over three days, in one closing; the opening row is no voucher
    // and stays outside.
    QCOMPARE(closings(), QStringList{QStringLiteral("1 %1 2026-03-08 2026-03-10 100000 116000").arg(m_till)});
    QCOMPARE(tillState(m_till), QStringLiteral("2026-03-10 116000"));
    QCOMPARE(m_db.session.closedUntil, QDate(2026, 3, 10));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE zarbizonylat = 1 AND lezarva = 'I';")), 3);
    // The pending row and the other till's rows stay open.
    QCOMPARE(m_db.value(pending, "lezarva").toString(), QStringLiteral("N"));
    QVERIFY(m_db.value(pending, "zarbizonylat").isNull());
    QCOMPARE(m_db.value(otherRow, "lezarva").toString(), QStringLiteral("N"));
    QCOMPARE(tillState(other), QStringLiteral(" 0"));
    // The unclosed sums of the till are 0, and the pending row no longer books onto the closed day.
    QCOMPARE(BookVoucher(*m_db.engine, pending, MainWindowDay(m_db.session)).check, BookingCheck::DayClosed);
    const UnclosedTotals sums = LedgerOps(*m_db.engine).UnclosedSums(m_till);
    QCOMPARE(sums.receipts, 0.0);
    QCOMPARE(sums.payments, 0.0);
    QVERIFY_LEDGER_SOUND(*m_db.engine);

    // The other till closes on its own and takes the next number.
    m_db.session.till = other;
    m_db.session.closedUntil = QDate();
    QCOMPARE(closeOn(QDate(2026, 3, 10)), 2);
    QCOMPARE(closings().last(), QStringLiteral("2 %1 2026-03-09 2026-03-09 3000 3400").arg(other));
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestDayClosing::backDatedRowGoesIntoTheNextClosing()
{
    book(m_till, LedgerFixture::Receipt, 20000, QDate(2026, 3, 9));
    QCOMPARE(closeOn(QDate(2026, 3, 10)), 1);
    // Back-dating on: a row dated before the closing is booked after it.
    const int late = book(m_till, LedgerFixture::Payment, 1500, QDate(2026, 3, 5));
    book(m_till, LedgerFixture::Receipt, 300, QDate(2026, 3, 11));
    QVERIFY(late > 0);

    QCOMPARE(closeOn(QDate(2026, 3, 12)), 2);

    // Its date is the first of the closing; the till is closed until the open day, later than any row.
    QCOMPARE(closings().last(), QStringLiteral("2 %1 2026-03-05 2026-03-11 120000 118800").arg(m_till));
    QCOMPARE(tillState(m_till), QStringLiteral("2026-03-12 118800"));
    QCOMPARE(m_db.value(late, "zarbizonylat").toInt(), 2);
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestDayClosing::refusals_data()
{
    QTest::addColumn<QDate>("openDay");
    QTest::addColumn<bool>("bookFirst");   // a receipt booked on the open day before the attempt
    QTest::addColumn<bool>("answer");      // the answer to the question
    QTest::addColumn<bool>("otherCloses"); // another workstation closes the day while the question is open
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QDate>("closedUntil"); // the session's closed-until date afterwards

    // The till was closed on 10 March before each attempt.
    const QDate closed(2026, 3, 10);
    QTest::newRow("the same day twice") << closed << false << true << false << QStringList{Closed} << closed;
    QTest::newRow("a day before the closed one")
        << QDate(2026, 3, 9) << false << true << false << QStringList{Closed} << closed;
    QTest::newRow("nothing booked since")
        << QDate(2026, 3, 11) << false << true << false << QStringList{Nothing} << closed;
    QTest::newRow("the user says No") << QDate(2026, 3, 11) << true << false << false << QStringList{Question}
                                      << closed;
    QTest::newRow("another workstation closes it first")
        << QDate(2026, 3, 11) << true << true << true << QStringList{Question, Closed} << QDate(2026, 3, 11);
}

void TestDayClosing::refusals()
{
    QFETCH(QDate, openDay);
    QFETCH(bool, bookFirst);
    QFETCH(bool, answer);
    QFETCH(bool, otherCloses);
    QFETCH(QStringList, shown);
    QFETCH(QDate, closedUntil);

    book(m_till, LedgerFixture::Receipt, 20000, QDate(2026, 3, 9));
    QCOMPARE(closeOn(QDate(2026, 3, 10)), 1);
    // A pending row never makes a closing.
    const int pending = m_db.pending(m_till, LedgerFixture::Receipt, 700, openDay);
    if (bookFirst)
        book(m_till, LedgerFixture::Receipt, 250, openDay);
    if (otherCloses)
        m_db.messages.onAsk = [this, openDay](const QString &) {
            Engine other(QStringLiteral("other-workstation"));
            other.open(m_db.folder);
            QCOMPARE(CloseDay(other, m_till, openDay, QStringLiteral("teszt")).outcome, DayClosing::Outcome::Closed);
        };
    const QStringList before = closings();
    const QString tillBefore = tillState(m_till);
    m_db.messages.clear();

    m_db.session.openDay = openDay;
    m_db.messages.answers = {answer};
    QCOMPARE(NapLezar(m_db.session, *m_db.engine, m_db.messages), 0);

    QCOMPARE(m_db.messages.texts(), shown);
    QCOMPARE(m_db.session.closedUntil, closedUntil);
    QCOMPARE(m_db.value(pending, "lezarva").toString(), QStringLiteral("N"));
    // Nothing written here: the records and the till are as before, or as the other workstation left them.
    QCOMPARE(closings().size(), before.size() + (otherCloses ? 1 : 0));
    if (!otherCloses)
        QCOMPARE(tillState(m_till), tillBefore);
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestDayClosing::failedStepLeavesNothingChanged_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::newRow("the till update") << QStringLiteral("BEFORE UPDATE ON kassza");
    QTest::newRow("the closing record") << QStringLiteral("BEFORE INSERT ON zarbizonylat");
    QTest::newRow("the row stamping") << QStringLiteral("BEFORE UPDATE OF lezarva ON dromvel");
}

void TestDayClosing::failedStepLeavesNothingChanged()
{
    QFETCH(QString, trigger);
    book(m_till, LedgerFixture::Receipt, 20000, QDate(2026, 3, 9));
    const QString tillBefore = tillState(m_till);
    CreateFailingTrigger(*m_db.engine, QStringLiteral("forced_failure"), trigger, QStringLiteral("kényszerített hiba"));

    QVERIFY_THROWS_EXCEPTION(EngineError, CloseDay(*m_db.engine, m_till, QDate(2026, 3, 10), QStringLiteral("teszt")));

    QCOMPARE(m_db.engine->transactionDepth(), 0);
    QCOMPARE(tillState(m_till), tillBefore);
    QVERIFY(closings().isEmpty());
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM dromvel WHERE lezarva = 'I' OR zarbizonylat IS NOT NULL;")), 0);
    QVERIFY_LEDGER_SOUND(*m_db.engine);

    // Once the fault is gone the same closing goes through.
    DropFailingTrigger(*m_db.engine, QStringLiteral("forced_failure"));
    const DayClosing closing = CloseDay(*m_db.engine, m_till, QDate(2026, 3, 10), QStringLiteral("teszt"));
    QCOMPARE(closing.zarbizonylat, 1);
    QCOMPARE(closing.rows, 1);
    QVERIFY_LEDGER_SOUND(*m_db.engine);
}

void TestDayClosing::closingsList()
{
    book(m_till, LedgerFixture::Receipt, 20000, QDate(2026, 3, 9));
    QCOMPARE(closeOn(QDate(2026, 3, 10)), 1);
    m_db.session.till = m_db.till(QStringLiteral("Bolt"), QStringLiteral("BB"), QStringLiteral("BK"), 3000);
    m_db.session.closedUntil = QDate();
    book(m_db.session.till, LedgerFixture::Receipt, 500, QDate(2026, 3, 11));
    QCOMPARE(closeOn(QDate(2026, 3, 11)), 2);

    // What reaches the output: the document's title and file name and whether it is previewed; the exports' titles
    // and their first row.
    QStringList outputs;
    ClosingServices services;
    services.reports.outputChoice = [](QWidget *) { return 0; };
    services.reports.output = [&outputs](const Report::Document &doc, bool preview, QWidget *) {
        outputs.append(doc.title + QLatin1Char('|') + doc.fileName +
                       (preview ? QStringLiteral("|preview") : QString()));
    };
    const auto firstRow = [](ExportSource &rows) {
        const QList<ExportColumn> columns = rows.columns();
        QStringList fields;
        rows.read([&fields, &columns](const ExportRow &row) {
            for (const int i : ShownColumns(columns))
                if (columns.at(i).visible)
                    fields.append(columns.at(i).label + QLatin1Char('=') + row.text(i));
            return false;
        });
        return fields.join(QLatin1Char(' '));
    };
    services.exportRows = [&outputs, firstRow](ExportSource &rows, QWidget *) { outputs.append(firstRow(rows)); };
    services.exportHtml = [&outputs, firstRow](ExportSource &rows, const QString &title, QWidget *) {
        outputs.append(title + QLatin1Char('|') + firstRow(rows));
    };

    Tfrm_NapLezar window(m_db.session, *m_db.engine, m_db.messages, services);
    window.open(2);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Lezárt napok"));

    // Every till's closings with the till's name and currency, in the titles and formats of the list.
    const QAbstractItemModel *model = window.grid()->model();
    QStringList shown;
    for (int r = -1; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            if (!window.grid()->isColumnHidden(c))
                cells.append(r < 0 ? model->headerData(c, Qt::Horizontal).toString()
                                   : model->index(r, c).data().toString());
        shown.append(cells.join(QLatin1Char('|')));
    }
    QCOMPARE(shown, (QStringList{QStringLiteral("bizonylat|kassza|valuta|tól|ig|nyitó|záró"),
                                 QStringLiteral("00001|Fő|Ft|2026.03.09|2026.03.09|100 000|120 000"),
                                 QStringLiteral("00002|Bolt|Ft|2026.03.11|2026.03.11|3 000|3 500")}));
    // The till name above the grid and the counter follow the cursor.
    QCOMPARE(window.tillName(), QStringLiteral("Bolt"));
    QCOMPARE(window.recordPositionLabel()->text(), QStringLiteral("2: 2"));
    QTest::keyClick(window.grid(), Qt::Key_Up);
    QCOMPARE(window.tillName(), QStringLiteral("Fő"));
    QCOMPARE(window.recordPositionLabel()->text(), QStringLiteral("2: 1"));

    // The toolbar and the pop-up menu hold the same actions; nothing adds, edits or deletes a closing.
    const auto names = [](const QList<QAction *> &actions) {
        QStringList list;
        for (const QAction *a : actions)
            list.append(a->isSeparator() ? QStringLiteral("|") : a->iconText());
        return list.join(QLatin1Char(' '));
    };
    const QString order = QStringLiteral("Nyomtat Nyom.kép | Excelbe... HTML export | Pénztárjelentés | Bezár");
    QCOMPARE(names(window.toolBar()->actions()), order);
    QCOMPARE(names(window.popupMenu()->actions()), order);
    QVERIFY(!window.newAction()->isEnabled() && !window.editAction()->isEnabled() &&
            !window.deleteAction()->isEnabled());

    // Each key reaches its output with the current row's till in the title and its closing in the cash report.
    QTest::keyClick(window.grid(), Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(window.grid(), Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(window.grid(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(window.grid(), Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(window.grid(), Qt::Key_H, Qt::ControlModifier);
    const QString row = QStringLiteral("bizonylat=00001 kassza=Fő valuta=Ft tól=2026.03.09 ig=2026.03.09 nyitó=100 000 "
                                       "záró=120 000");
    QCOMPARE(outputs, (QStringList{QStringLiteral("Lezárt napok: Fő|Lezárt napok: Fő"),
                                   QStringLiteral("Lezárt napok: Fő|Lezárt napok: Fő|preview"),
                                   QStringLiteral("Időszaki pénztárjelentés|Időszaki pénztárjelentés 00001|preview"),
                                   row, QStringLiteral("Lezárt napok: Fő|") + row}));
    QTest::keyClick(window.grid(), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestDayClosing)
#include "test_dayclosing.moc"

#include "cashcountstore.h"
#include "dayclosing.h"
#include "ledgerfixture.h"
#include "pdftext.h"
#include "reportprinting.h"
#include "schema.h"
#include "voucherbooking.h"

#include <QLocale>
#include <QPrinterInfo>
#include <QtTest>

// A database made by an earlier version, before the event log or the cash controls, opened by today's program: it
// gains their tables and fields at once, keeps every row, and books, closes with a cash count and prints its cash
// report.
class TestOlderDatabase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void init();
    void cleanup() { m_db.close(); }

    void opensWithTodaysLayout_data();
    void opensWithTodaysLayout();
    void partThatCannotBeAddedLeavesTheOthersOut();

private:
    // Every table with its fields as they are now.
    QMap<QString, QStringList> layout() const;
    // The rows of the table with those fields, in row id order, as text.
    QStringList rows(const QString &table, const QStringList &fields) const;
    // Every table's rows with the fields of the layout.
    QMap<QString, QStringList> contents(const QMap<QString, QStringList> &tables) const;
    void reopen();

    LedgerFixture m_db;
    int m_till = 0;
};

namespace {

const QDate FirstDay(2026, 3, 9);
const QStringList BeforeEventLog{QStringLiteral("DROP TABLE naplo;")};
const QStringList BeforeCashControls{QStringLiteral("ALTER TABLE kassza DROP COLUMN zaro_max;"),
                                     QStringLiteral("ALTER TABLE zarbizonylat DROP COLUMN zaro_max;"),
                                     QStringLiteral("ALTER TABLE beallit DROP COLUMN kpfizetes_havi;"),
                                     QStringLiteral("DROP TABLE penztarellenorzes;")};

} // namespace

void TestOlderDatabase::init()
{
    // A till with its opening, a booked receipt and a closed day.
    m_db.open(QStringLiteral("older"), FirstDay);
    m_till = m_db.till(QStringLiteral("Főpénztár"), QStringLiteral("FB"), QStringLiteral("FK"), 100000);
    m_db.session.till = m_till;
    BookVoucher(*m_db.engine, m_db.pending(m_till, LedgerFixture::Receipt, 2500, FirstDay), AnyDay());
    QCOMPARE(CloseDay(*m_db.engine, m_till, FirstDay, QStringLiteral("teszt")).outcome, DayClosing::Outcome::Closed);
}

QMap<QString, QStringList> TestOlderDatabase::layout() const
{
    QMap<QString, QStringList> tables;
    for (const QString &table : m_db.engine->tables())
        tables.insert(table, m_db.engine->fieldNames(table));
    return tables;
}

QStringList TestOlderDatabase::rows(const QString &table, const QStringList &fields) const
{
    Query q(*m_db.engine,
            QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid;").arg(fields.join(QLatin1Char(',')), table));
    q.open();
    QStringList result;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < fields.size(); ++i)
            values.append(q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
        result.append(values.join(QLatin1Char('|')));
    }
    return result;
}

QMap<QString, QStringList> TestOlderDatabase::contents(const QMap<QString, QStringList> &tables) const
{
    QMap<QString, QStringList> result;
    for (auto it = tables.cbegin(); it != tables.cend(); ++it)
        result.insert(it.key(), rows(it.key(), it.value()));
    return result;
}

void TestOlderDatabase::reopen()
{
    m_db.engine.reset();
    m_db.engine = std::make_unique<Engine>(QStringLiteral("older"));
    m_db.engine->open(m_db.folder);
}

void TestOlderDatabase::opensWithTodaysLayout_data()
{
    QTest::addColumn<QStringList>("olderLayout");
    QTest::newRow("before the event log") << BeforeEventLog;
    QTest::newRow("before the cash controls") << BeforeCashControls;
    QTest::newRow("before both") << BeforeEventLog + BeforeCashControls;
    QTest::newRow("today's") << QStringList();
}

void TestOlderDatabase::opensWithTodaysLayout()
{
    QFETCH(QStringList, olderLayout);
    for (const QString &statement : olderLayout)
        m_db.engine->exec(statement);
    const QMap<QString, QStringList> olderTables = layout();
    const QMap<QString, QStringList> before = contents(olderTables);
    reopen();

    for (const TableDef &table : Schema::Tables()) {
        QCOMPARE(m_db.engine->fieldNames(table.name), table.fieldNames());
        for (const IndexDef &index : table.allIndexes())
            QVERIFY2(m_db.engine->indexNames(table.name).contains(index.name), qPrintable(index.name));
    }
    // The rows it had keep every value; the new fields hold their defaults, the new tables nothing.
    QCOMPARE(contents(olderTables), before);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT kpfizetes_havi FROM beallit;")).toDouble(), 1500000.0);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(zaro_max) FROM kassza;")).toInt(), 0);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(zaro_max) FROM zarbizonylat;")).toInt(), 0);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM penztarellenorzes;")).toInt(), 0);

    // It books into the log, closes with a count 100 Ft short and prints the count on its cash report.
    const QDate day = FirstDay.addDays(1);
    const qint64 entries = m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM naplo;")).toLongLong();
    const BookingResult booked = BookVoucher(*m_db.engine, m_db.pending(m_till, LedgerFixture::Receipt, 1200, day),
                                             {day, QDate(), DateRule::AnyDay, QStringLiteral("teszt")});
    QCOMPARE(booked.check, BookingCheck::Allowed);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM naplo;")).toLongLong(), entries + 1);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT esemeny FROM naplo ORDER BY naplo DESC LIMIT 1;")).toString(),
             QStringLiteral("Könyvelés"));
    const CashCount count = CashCount::OfPieces({5, 0, 0, 1, 1, 1, 0, 1});
    const DayClosing closing = CloseDay(*m_db.engine, m_till, day, QStringLiteral("teszt"), &count);
    QCOMPARE(closing.outcome, DayClosing::Outcome::Closed);
    QCOMPARE(closing.zaro, 103700.0);
    QCOMPARE(ReadCashCount(*m_db.engine, closing.zarbizonylat)->total(), 103600.0);

    REQUIRE_PDF_TOOLS();
    ReportServices services = ReportServices::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs,
                                                      [] { return QPrinterInfo(); });
    services.outputChoice = [](QWidget *) { return 1; };
    const QString path = m_db.dir.filePath(QStringLiteral("napzar.pdf"));
    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {path};
    NapZarNyomtat(m_db.session, *m_db.engine, closing.zarbizonylat, services);
    const QString text = PdfText(path);
    for (const char *expected : {"Pénztárellenőrzés szerinti záró pénzkészlet", "103 600,00", "1 200,00"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
}

void TestOlderDatabase::partThatCannotBeAddedLeavesTheOthersOut()
{
    // Something of another kind in the place of the count table: nothing of the new layout comes, nothing is lost.
    for (const QString &statement : BeforeEventLog + BeforeCashControls)
        m_db.engine->exec(statement);
    m_db.engine->exec(QStringLiteral("CREATE VIEW penztarellenorzes AS SELECT 1 AS sor;"));
    const QMap<QString, QStringList> olderTables = layout();
    const QMap<QString, QStringList> before = contents(olderTables);
    reopen();

    QCOMPARE(layout(), olderTables);
    QCOMPARE(contents(olderTables), before);
    QCOMPARE(m_db.engine->transactionDepth(), 0);
}

QTEST_MAIN(TestOlderDatabase)
#include "test_olderdatabase.moc"

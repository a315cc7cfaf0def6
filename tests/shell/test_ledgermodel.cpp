#include "engine.h"
#include "ledgermodel.h"
#include "settlementicons.h"
#include "testserver.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

class TestLedgerModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shortText_data();
    void shortText();
    void rowsFollowTheTillAndTheFilter();
    void sortingBySerialInterleavesLetterCodes();
    void rowsAreColouredByState();
    void settlementIconsFollowTheFlags();
    void moneyUsesTheFormatAndDatesShowDotted();
    void openViewLetsTheLogOfOtherWritersBeReused();

private:
    qint64 row(const QVariantMap &values) { return m_engine->insert(QStringLiteral("dromvel"), values); }
    QStringList column(LedgerModel &model, int column)
    {
        QStringList result;
        for (int r = 0; r < model.rowCount(); ++r)
            result.append(model.data(model.index(r, column)).toString());
        return result;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<TestPlace> m_place;
    std::unique_ptr<Engine> m_engine;
    int m_count = 0;
};

void TestLedgerModel::init()
{
    const QString folder = m_dir.filePath(QString::number(++m_count));
    QDir().mkpath(folder);
    m_place = std::make_unique<TestPlace>(folder);
    m_engine = std::make_unique<Engine>(QStringLiteral("ledgermodel"));
    m_engine->open(m_place->path());
}

void TestLedgerModel::cleanup()
{
    m_engine.reset();
    m_place.reset();
}

void TestLedgerModel::shortText_data()
{
    QTest::addColumn<QVariant>("szoveg");
    QTest::addColumn<QString>("expected");
    const QString s39 = QString(38, QLatin1Char('a')) + QLatin1Char('b');
    QTest::newRow("39 whole") << QVariant(s39) << s39;
    QTest::newRow("40 cut") << QVariant(QString(36, QLatin1Char('a')) + QStringLiteral(" bcd"))
                            << QString(36, QLatin1Char('a')) + QStringLiteral("...");
    QTest::newRow("null") << QVariant() << QString();
    QTest::newRow("line breaks") << QVariant(QStringLiteral("egy\r\nkettő")) << QStringLiteral("egy  kettő");
}

void TestLedgerModel::shortText()
{
    QFETCH(QVariant, szoveg);
    QFETCH(QString, expected);
    QCOMPARE(LedgerModel::ShortText(szoveg), expected);
}

void TestLedgerModel::rowsFollowTheTillAndTheFilter()
{
    LedgerModel model(*m_engine);
    model.setTill(4, true);

    const auto add = [this](int till, const char *kibe, const char *kiadva, const char *lezarva) {
        row({{QStringLiteral("kassza"), till},
             {QStringLiteral("kibe"), QString::fromLatin1(kibe)},
             {QStringLiteral("kiadva"), QString::fromLatin1(kiadva)},
             {QStringLiteral("lezarva"), QString::fromLatin1(lezarva)}});
    };
    add(4, "N", "I", "N"); // opening row: never shown
    add(4, "B", "I", "I"); // closed
    add(4, "K", "I", "N"); // booked, open
    add(4, "B", "N", "N"); // pending
    add(5, "B", "I", "N"); // other till
    model.reopen();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.totalRows(), 2);
    model.setTill(4, false);
    model.reopen();
    QCOMPARE(model.totalRows(), 3);
}

void TestLedgerModel::sortingBySerialInterleavesLetterCodes()
{
    for (auto [code, ssz] : {std::pair{"KB", 3}, {"BB", 1}, {"KB", 2}, {"BB", 4}})
        row({{QStringLiteral("kassza"), 1},
             {QStringLiteral("kibe"), QStringLiteral("B")},
             {QStringLiteral("kiadva"), QStringLiteral("I")},
             {QStringLiteral("lezarva"), QStringLiteral("N")},
             {QStringLiteral("betujel"), QString::fromLatin1(code)},
             {QStringLiteral("ssz"), ssz}});
    LedgerModel model(*m_engine);
    model.setTill(1, true);
    model.reopen();
    QCOMPARE(column(model, model.sorszamColumn()), (QStringList{QStringLiteral("KB00003"), QStringLiteral("BB00001"),
                                                                QStringLiteral("KB00002"), QStringLiteral("BB00004")}));
    model.setOrderField(QStringLiteral("ssz"));
    model.reopen();
    QCOMPARE(column(model, model.sorszamColumn()), (QStringList{QStringLiteral("BB00001"), QStringLiteral("KB00002"),
                                                                QStringLiteral("KB00003"), QStringLiteral("BB00004")}));
}

void TestLedgerModel::rowsAreColouredByState()
{
    const auto add = [this](const char *kibe, const char *kiadva) {
        row({{QStringLiteral("kassza"), 1},
             {QStringLiteral("kibe"), QString::fromLatin1(kibe)},
             {QStringLiteral("kiadva"), QString::fromLatin1(kiadva)},
             {QStringLiteral("lezarva"), QStringLiteral("N")}});
    };
    add("K", "I");
    add("B", "I");
    add("K", "N");
    LedgerModel model(*m_engine);
    model.setTill(1, true);
    model.reopen();
    const int osszeg = model.record().indexOf(QStringLiteral("osszeg"));
    auto colours = [&](int r) {
        return std::pair{model.data(model.index(r, osszeg), Qt::ForegroundRole).value<QColor>(),
                         model.data(model.index(r, osszeg), Qt::BackgroundRole).value<QColor>()};
    };
    QCOMPARE(colours(0), (std::pair{QColor(255, 0, 0), QColor(255, 236, 236)}));
    QCOMPARE(colours(1), (std::pair{QColor(0, 0, 255), QColor(230, 242, 255)}));
    QCOMPARE(colours(2), (std::pair{QColor(128, 128, 128), QColor(233, 233, 233)}));
    // The sorted column keeps the grid's highlight.
    model.setSortedColumn(osszeg);
    QVERIFY(!model.data(model.index(0, osszeg), Qt::BackgroundRole).isValid());
    QVERIFY(model.data(model.index(0, model.sorszamColumn()), Qt::BackgroundRole).isValid());
}

void TestLedgerModel::settlementIconsFollowTheFlags()
{
    const auto add = [this](const char *kell, const char *settled) {
        row({{QStringLiteral("kassza"), 1},
             {QStringLiteral("kibe"), QStringLiteral("K")},
             {QStringLiteral("kiadva"), QStringLiteral("I")},
             {QStringLiteral("lezarva"), QStringLiteral("N")},
             {QStringLiteral("elszamol_kell"), QString::fromLatin1(kell)},
             {QStringLiteral("elszamolva"), QString::fromLatin1(settled)}});
    };
    add("N", "N");
    add("I", "I");
    add("I", "N");
    LedgerModel model(*m_engine);
    model.setTill(1, true);
    model.reopen();
    const int icon = model.record().indexOf(QStringLiteral("elszamolva"));
    auto key = [&](int r) { return model.data(model.index(r, icon), Qt::DecorationRole).value<QIcon>().cacheKey(); };
    QCOMPARE(key(0), SettlementIcons::NoSettlement().cacheKey());
    QCOMPARE(key(1), SettlementIcons::Settled().cacheKey());
    QCOMPARE(key(2), SettlementIcons::Awaiting().cacheKey());
    QVERIFY(model.data(model.index(1, icon)).toString().isEmpty());
}

void TestLedgerModel::moneyUsesTheFormatAndDatesShowDotted()
{
    row({{QStringLiteral("kassza"), 1},
         {QStringLiteral("kibe"), QStringLiteral("B")},
         {QStringLiteral("kiadva"), QStringLiteral("I")},
         {QStringLiteral("lezarva"), QStringLiteral("N")},
         {QStringLiteral("osszeg"), 1234567.0},
         {QStringLiteral("dat_kiadva"), QDate(2026, 3, 2)}});
    LedgerModel model(*m_engine);
    model.setMoneyFormat(QStringLiteral("### ### ##0"));
    model.setTill(1, true);
    model.reopen();
    const QSqlRecord rec = model.record();
    QCOMPARE(model.data(model.index(0, rec.indexOf(QStringLiteral("osszeg")))).toString(), QStringLiteral("1 234 567"));
    QCOMPARE(model.data(model.index(0, rec.indexOf(QStringLiteral("dat_kiadva")))).toString(),
             QStringLiteral("2026.03.02"));
    QCOMPARE(model.field(0, QStringLiteral("dat_kiadva")).toDate(), QDate(2026, 3, 2));
    QCOMPARE(model.headerData(rec.indexOf(QStringLiteral("ugyfel_nev")), Qt::Horizontal).toString(),
             QStringLiteral("kitől-kinek"));
}

void TestLedgerModel::openViewLetsTheLogOfOtherWritersBeReused()
{
    {
        Transaction transaction(*m_engine);
        for (int i = 0; i < 2000; ++i)
            row({{QStringLiteral("kassza"), 1},
                 {QStringLiteral("kibe"), QStringLiteral("B")},
                 {QStringLiteral("kiadva"), QStringLiteral("I")},
                 {QStringLiteral("lezarva"), QStringLiteral("N")}});
        transaction.commit();
    }
    LedgerModel model(*m_engine);
    model.setTill(1, false);
    model.reopen();
    QVERIFY(model.data(model.index(0, model.sorszamColumn())).isValid());

    // Another workstation writes many small transactions while the view stays open. The log can be
    // checkpointed and started over only while no reader holds an older snapshot.
    Engine other(QStringLiteral("ledgermodel_other"));
    other.open(m_engine->folder());
    const QString text(200, QLatin1Char('x'));
    for (int i = 0; i < 150; ++i)
        other.exec(
            QStringLiteral("UPDATE dromvel SET szoveg='%1%2' WHERE dromvel % 10 = %3;").arg(text).arg(i).arg(i % 10));
    if (m_engine->isServer()) {
        // The server keeps older row versions for a connection that is in a transaction.
        QVERIFY(!m_engine->inTransaction());
        return;
    }
    const qint64 wal = QFileInfo(m_engine->filePath() + QStringLiteral("-wal")).size();
    QVERIFY2(wal < 8 * 1024 * 1024, qPrintable(QString::number(wal)));
}

QTEST_MAIN(TestLedgerModel)
#include "test_ledgermodel.moc"

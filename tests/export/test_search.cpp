#include "engine.h"
#include "gridhighlight.h"
#include "keyboard.h"
#include "modaldialogs.h"
#include "searchresultmodel.h"
#include "testdatabase.h"
#include "tfrm_keres.h"
#include "uicolours.h"
#include "util.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

// The search window driven as a user drives it: typing, Enter, clicks on titles and rows.
class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void enterSearchesAndShowsTheResult();
    void resultShowsTheRowsColumns();
    void noHitSaysSoAndStaysOnTheSearchPage_data();
    void noHitSaysSoAndStaysOnTheSearchPage();
    void titleClickSortsByItsField_data();
    void titleClickSortsByItsField();
    void titleClickBeforeASearchListsNothing();
    void pickingARow_data();
    void pickingARow();
    void escapeClosesWithoutAPick();
    void engineErrorReachesTheErrorBox();
    void pageThatCannotBeReadIsReportedOnce();
    void sizeLimitsColumnsAndBounds();
    void searchFieldIsLightBlueWhileFocused();

private:
    qint64 row(int till, int ssz, const QString &szoveg, const QDate &date, qint64 ugyfel)
    {
        return m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), till},
                                                               {QStringLiteral("ugyfel"), ugyfel},
                                                               {QStringLiteral("kibe"), QStringLiteral("B")},
                                                               {QStringLiteral("kiadva"), QStringLiteral("I")},
                                                               {QStringLiteral("lezarva"), QStringLiteral("N")},
                                                               {QStringLiteral("betujel"), QStringLiteral("KB")},
                                                               {QStringLiteral("ssz"), ssz},
                                                               {QStringLiteral("dat_kiadva"), date},
                                                               {QStringLiteral("szoveg"), szoveg}});
    }
    qint64 client(const QString &name)
    {
        return m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), name}});
    }
    std::unique_ptr<Tfrm_Keres> window()
    {
        auto w = std::make_unique<Tfrm_Keres>(m_db.session, *m_db.engine, m_db.messages);
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("search window not exposed");
        return w;
    }
    // Types the text into the search field and presses Enter there.
    static void typeAndEnter(Tfrm_Keres &w, const QString &text)
    {
        w.pages()->setCurrentIndex(0);
        w.textField()->setFocus();
        w.textField()->clear();
        TypeText(w.textField(), text);
        QTest::keyClick(w.textField(), Qt::Key_Return);
    }
    static QStringList column(const Tfrm_Keres &w, int column)
    {
        QStringList texts;
        for (int r = 0; r < w.result()->rowCount(); ++r)
            texts.append(w.result()->index(r, column).data().toString());
        return texts;
    }
    static void clickTitle(Tfrm_Keres &w, int column)
    {
        QHeaderView *header = w.grid()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }

    TestDatabase m_db;
    QList<qint64> m_rows;
};

void TestSearch::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
}

void TestSearch::init()
{
    m_db.fresh(QStringLiteral("search"));
    m_db.session.till = 1;
    for (const char *name : {"Főpénztár", "Kis kassza"})
        m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QString::fromUtf8(name)}});
    const qint64 anna = client(QStringLiteral("Anna Kft."));
    const qint64 bela = client(QStringLiteral("Béla Bt."));
    const qint64 cecil = client(QStringLiteral("Cecil Zrt."));
    m_rows = {row(1, 3, QStringLiteral("ÁRVÍZTŰRŐ tükörfúrógép"), QDate(2026, 5, 2), bela),
              row(1, 1, QStringLiteral("Irodaszer"), QDate(2026, 5, 3), cecil),
              row(1, 2, QStringLiteral("Árvíztűrő\r\nkötél"), QDate(2026, 5, 1), anna),
              row(2, 4, QStringLiteral("árvíztűrő a másik kasszában"), QDate(2026, 5, 1), anna)};
}

void TestSearch::cleanup()
{
    m_db.close();
}

void TestSearch::enterSearchesAndShowsTheResult()
{
    auto w = window();
    QCOMPARE(w->windowTitle(), QStringLiteral("Részletes keresése"));
    QCOMPARE(w->pages()->tabText(0), QStringLiteral("Keresés"));
    QCOMPARE(w->pages()->tabText(1), QStringLiteral("Eredmény"));
    QVERIFY(w->textField()->hasFocus());
    QVERIFY(!w->foundButton()->isEnabled());
    typeAndEnter(*w, QStringLiteral("árvíztűrő"));
    QVERIFY(m_db.messages.shown.isEmpty());
    QCOMPARE(w->pages()->currentIndex(), 1);
    QVERIFY(w->foundButton()->isEnabled());
    QCOMPARE(column(*w, SearchResultModel::Sorszam), (QStringList{"KB00003", "KB00002"}));
    // The grid stands on the first row found, ready for Megvan.
    QCOMPARE(w->chosenRow(), m_rows.at(0));
}

void TestSearch::resultShowsTheRowsColumns()
{
    auto w = window();
    typeAndEnter(*w, QStringLiteral("Kötél"));
    const QAbstractItemModel *model = w->grid()->model();
    QCOMPARE(model->columnCount(), 4);
    QStringList titles;
    QStringList cells;
    for (int c = 0; c < model->columnCount(); ++c) {
        titles.append(model->headerData(c, Qt::Horizontal).toString());
        cells.append(model->index(0, c).data().toString());
    }
    QCOMPARE(titles, (QStringList{"sorszám", "kiadva", "ügyfél", "szöveg"}));
    QCOMPARE(cells, (QStringList{"KB00002", "2026.05.01", "Anna Kft.", "Árvíztűrő kötél"}));
}

void TestSearch::noHitSaysSoAndStaysOnTheSearchPage_data()
{
    QTest::addColumn<bool>("foundBefore");
    QTest::newRow("first search") << false;
    QTest::newRow("after a search that found rows") << true;
}

void TestSearch::noHitSaysSoAndStaysOnTheSearchPage()
{
    QFETCH(bool, foundBefore);
    auto w = window();
    if (foundBefore)
        typeAndEnter(*w, QStringLiteral("irodaszer"));
    // The other till's own text is not found here.
    typeAndEnter(*w, QStringLiteral("másik kassza"));
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Nincs ilyen sor, keresés sikertelen")});
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
    QCOMPARE(w->pages()->currentIndex(), 0);
    QCOMPARE(w->result()->rowCount(), 0);
    // Megvan keeps what it was; with the result empty it picks no row.
    QCOMPARE(w->foundButton()->isEnabled(), foundBefore);
    QCOMPARE(w->chosenRow(), 0);
}

void TestSearch::titleClickSortsByItsField_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("sorszám by serial") << int(SearchResultModel::Sorszam)
                                       << QStringList{"KB00001", "KB00002", "KB00003"};
    QTest::newRow("kiadva") << int(SearchResultModel::DatKiadva) << QStringList{"KB00002", "KB00003", "KB00001"};
    QTest::newRow("ügyfél") << int(SearchResultModel::UgyfelNev) << QStringList{"KB00002", "KB00003", "KB00001"};
    QTest::newRow("szöveg") << int(SearchResultModel::Szoveg) << QStringList{"KB00001", "KB00003", "KB00002"};
}

void TestSearch::titleClickSortsByItsField()
{
    QFETCH(int, column);
    QFETCH(QStringList, numbers);
    auto w = window();
    typeAndEnter(*w, QString());
    QCOMPARE(this->column(*w, SearchResultModel::Sorszam), (QStringList{"KB00003", "KB00001", "KB00002"}));
    clickTitle(*w, column);
    QCOMPARE(this->column(*w, SearchResultModel::Sorszam), numbers);
    QVERIFY(w->result()->sqlText().endsWith(QStringLiteral("ORDER BY ") + SearchResultModel::OrderField(column) +
                                            QLatin1Char(';')));
    // The next search keeps the order.
    typeAndEnter(*w, QStringLiteral("r"));
    QCOMPARE(this->column(*w, SearchResultModel::Sorszam), numbers);
    // The voucher number keeps the highlight.
    QCOMPARE(GridColumnBackground(w->grid(), SearchResultModel::Sorszam), HighlightColor());
    QVERIFY(!GridColumnBackground(w->grid(), column == 0 ? 1 : column).isValid());
    QVERIFY(m_db.messages.shown.isEmpty());
}

void TestSearch::titleClickBeforeASearchListsNothing()
{
    auto w = window();
    w->pages()->setCurrentIndex(1);
    clickTitle(*w, SearchResultModel::Sorszam);
    QCOMPARE(w->result()->rowCount(), 0);
    typeAndEnter(*w, QString());
    QCOMPARE(column(*w, SearchResultModel::Sorszam), (QStringList{"KB00001", "KB00002", "KB00003"}));
}

void TestSearch::pickingARow_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("row");
    QTest::newRow("Megvan after moving down") << QStringLiteral("Megvan") << 2;
    QTest::newRow("double-click") << QStringLiteral("double-click") << 1;
}

void TestSearch::pickingARow()
{
    QFETCH(QString, how);
    QFETCH(int, row);
    std::optional<qint64> picked;
    OnNextModal([&](QDialog *dialog) {
        auto *w = static_cast<Tfrm_Keres *>(dialog);
        typeAndEnter(*w, QString());
        QTableView *grid = w->grid();
        if (how == QLatin1String("Megvan")) {
            for (int i = 0; i < row; ++i)
                QTest::keyClick(grid, Qt::Key_Down);
            QTest::mouseClick(w->foundButton(), Qt::LeftButton);
        } else {
            const QRect cell = grid->visualRect(w->result()->index(row, SearchResultModel::Szoveg));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        }
        // A pick that did not close the window fails here rather than waiting for ever.
        if (dialog->isVisible())
            dialog->reject();
    });
    picked = ReszletesKereses(m_db.session, *m_db.engine, m_db.messages);
    QVERIFY(picked.has_value());
    QCOMPARE(*picked, m_rows.at(row));
}

void TestSearch::escapeClosesWithoutAPick()
{
    OnNextModal([](QDialog *dialog) {
        auto *w = static_cast<Tfrm_Keres *>(dialog);
        typeAndEnter(*w, QStringLiteral("irodaszer"));
        QTest::keyClick(w->grid(), Qt::Key_Escape);
        if (dialog->isVisible())
            dialog->accept();
    });
    QCOMPARE(ReszletesKereses(m_db.session, *m_db.engine, m_db.messages), std::nullopt);
}

void TestSearch::engineErrorReachesTheErrorBox()
{
    auto w = window();
    m_db.engine->exec(QStringLiteral("DROP TABLE ugyfel;"));
    typeAndEnter(*w, QStringLiteral("irodaszer"));
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("application"));
    QVERIFY2(m_db.messages.shown.first().text.contains(QStringLiteral("ugyfel")),
             qPrintable(m_db.messages.shown.first().text));
    QCOMPARE(w->pages()->currentIndex(), 0);
}

void TestSearch::pageThatCannotBeReadIsReportedOnce()
{
    m_db.engine->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                                     "INSERT INTO dromvel (kassza, ugyfel, kibe, kiadva, ssz, betujel, szoveg) "
                                     "SELECT 1, 1, 'B', 'I', 100 + i, 'KB', 'Sok ' || i FROM n;"));
    auto w = window();
    typeAndEnter(*w, QStringLiteral("sok"));
    QCOMPARE(w->result()->rowCount(), 600);
    m_db.engine->exec(QStringLiteral("DROP TABLE ugyfel;"));
    w->grid()->scrollToBottom();
    w->grid()->viewport()->repaint();
    w->grid()->scrollToTop();
    w->grid()->viewport()->repaint();
    QTest::qWait(20);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("application"));
}

void TestSearch::sizeLimitsColumnsAndBounds()
{
    m_db.session.ini.writeInt(QStringLiteral("Tfrm_Keres"), QStringLiteral("Width"), 700);
    m_db.session.ini.writeInt(QStringLiteral("Tfrm_Keres"), QStringLiteral("Height"), 400);
    auto w = window();
    QCOMPARE(w->size(), QSize(700, 400));
    w->resize(300, 100);
    QCOMPARE(w->size(), QSize(555, 276));
    typeAndEnter(*w, QString());
    const double factors[] = {0.2, 0.2, 0.3, 0.3};
    for (const int width : {555, 640, 901}) {
        w->resize(width, 300);
        QApplication::processEvents();
        const int available = w->grid()->width() - 40;
        for (int c = 0; c < 4; ++c)
            QCOMPARE(w->grid()->columnWidth(c), int(available * factors[c]));
    }
    QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("btnBezar2")), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(m_db.session.ini.readInt(QStringLiteral("Tfrm_Keres"), QStringLiteral("Width")), 901);
    QCOMPARE(m_db.session.ini.readInt(QStringLiteral("Tfrm_Keres"), QStringLiteral("Height")), 300);
}

void TestSearch::searchFieldIsLightBlueWhileFocused()
{
    auto w = window();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    const auto background = [&w] {
        const QImage image = w->textField()->grab().toImage();
        return image.pixelColor(image.width() - 6, image.height() / 2);
    };
    w->textField()->setFocus();
    QCOMPARE(background(), FocusColor());
    w->searchButton()->setFocus();
    QVERIFY(background() != FocusColor());
}

QTEST_MAIN(TestSearch)
#include "test_search.moc"

#include "keyboard.h"
#include "ledgermodel.h"
#include "maindialogs.h"
#include "modaldialogs.h"
#include "testdatabase.h"
#include "tfrm_keres.h"
#include "tfrm_main.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

// "Keresés" of the main window: the search window opens on the current till, and the row picked there becomes the
// grid's current row when the grid shows it.
class TestMainSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void actionNeedsNoRight();
    void pickedRowBecomesCurrentWhenShown_data();
    void pickedRowBecomesCurrentWhenShown();
    void foundInTheProgramsOwnWindow();

private:
    qint64 row(const QString &szoveg, const char *kibe = "B", const char *lezarva = "N")
    {
        return m_db.engine->insert(QStringLiteral("dromvel"),
                                   {{QStringLiteral("kassza"), 1},
                                    {QStringLiteral("ugyfel"), 1},
                                    {QStringLiteral("kibe"), QString::fromLatin1(kibe)},
                                    {QStringLiteral("kiadva"), QStringLiteral("I")},
                                    {QStringLiteral("lezarva"), QString::fromLatin1(lezarva)},
                                    {QStringLiteral("szoveg"), szoveg}});
    }
    std::unique_ptr<Tfrm_Main> window()
    {
        auto w = std::make_unique<Tfrm_Main>(m_db.session, *m_db.engine, m_db.messages, m_dialogs);
        w->resize(900, 600);
        w->TillSwitch(1, QStringLiteral("Főpénztár"));
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            qWarning("main window not exposed");
        return w;
    }

    TestDatabase m_db;
    MainDialogs m_dialogs;
    QMap<QString, qint64> m_rows;
};

void TestMainSearch::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary));
}

void TestMainSearch::init()
{
    m_db.fresh(QStringLiteral("mainsearch"));
    m_db.session.openDay = QDate(2026, 12, 8);
    m_db.session.formatFt = QStringLiteral("### ### ##0");
    m_dialogs = MainDialogs::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs);
    m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Nagy Béla")}});
    m_rows = {{QStringLiteral("opening"), row(QStringLiteral("Pénztári nyitó megadás"), "N")},
              {QStringLiteral("first"), row(QStringLiteral("Bérleti díj"))},
              {QStringLiteral("closed"), row(QStringLiteral("Lezárt nap tétele"), "K", "I")},
              {QStringLiteral("second"), row(QStringLiteral("Irodaszer"))},
              {QStringLiteral("third"), row(QStringLiteral("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP"), "K")}};
}

void TestMainSearch::cleanup()
{
    m_db.close();
}

void TestMainSearch::actionNeedsNoRight()
{
    m_db.session.admin = false;
    m_db.session.masterEdit = false;
    int opened = 0;
    m_dialogs.search = [&opened](QWidget *) {
        ++opened;
        return std::optional<qint64>();
    };
    auto w = window();
    QAction *search = w->action(QStringLiteral("aKeres"));
    QCOMPARE(search->text(), QStringLiteral("Keresés"));
    QCOMPARE(search->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    QVERIFY(w->findChild<QToolBar *>(QStringLiteral("ToolBarLower"))->actions().contains(search));
    QTest::keyClick(w->grid(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(opened, 1);
    QVERIFY(m_db.messages.shown.isEmpty());
}

void TestMainSearch::pickedRowBecomesCurrentWhenShown_data()
{
    QTest::addColumn<QString>("picked"); // empty: closed without a pick
    QTest::addColumn<QString>("current");
    QTest::newRow("shown row") << QStringLiteral("third") << QStringLiteral("third");
    QTest::newRow("closed row under the unclosed filter") << QStringLiteral("closed") << QStringLiteral("second");
    QTest::newRow("opening row") << QStringLiteral("opening") << QStringLiteral("second");
    QTest::newRow("empty result") << QStringLiteral("none") << QStringLiteral("second");
    QTest::newRow("closed without a pick") << QString() << QStringLiteral("second");
}

void TestMainSearch::pickedRowBecomesCurrentWhenShown()
{
    QFETCH(QString, picked);
    QFETCH(QString, current);
    m_dialogs.search = [this, picked](QWidget *) {
        return picked.isEmpty() ? std::optional<qint64>() : std::optional<qint64>(m_rows.value(picked, 0));
    };
    auto w = window();
    QVERIFY(w->StandOn(int(m_rows.value(QStringLiteral("second")))));
    const QString counter = w->statusText(0);
    w->action(QStringLiteral("aKeres"))->trigger();
    QCOMPARE(w->currentId(), int(m_rows.value(current)));
    QCOMPARE(w->grid()->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(w->grid()->selectionModel()->selectedRows().first().row(), w->grid()->currentIndex().row());
    QCOMPARE(w->statusText(0) == counter, current == QLatin1String("second"));
    QVERIFY(m_db.messages.shown.isEmpty());
}

void TestMainSearch::foundInTheProgramsOwnWindow()
{
    auto w = window();
    OnNextModal([](QDialog *dialog) {
        auto *search = static_cast<Tfrm_Keres *>(dialog);
        TypeText(search->textField(), QStringLiteral("árvíztűrő"));
        QTest::mouseClick(search->searchButton(), Qt::LeftButton);
        QTest::mouseClick(search->foundButton(), Qt::LeftButton);
        if (dialog->isVisible())
            dialog->reject();
    });
    QTest::keyClick(w->grid(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(w->currentId(), int(m_rows.value(QStringLiteral("third"))));
    QVERIFY(m_db.messages.shown.isEmpty());
}

QTEST_MAIN(TestMainSearch)
#include "test_mainsearch.moc"

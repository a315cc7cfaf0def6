#include "keyboard.h"
#include "listwindow.h"
#include "session.h"
#include "util.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QToolBar>
#include <QtTest>

namespace {

// A list window over an in-memory model, counting the row actions it is asked for.
class CountingWindow : public ListWindow
{
public:
    using ListWindow::ListWindow;
    int created = 0;
    int edited = 0;
    int deleted = 0;

protected:
    void newRow() override { ++created; }
    void editRow() override { ++edited; }
    void deleteRow() override { ++deleted; }
};

} // namespace

class TestListWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chooseModeShowsAndEnablesAccept();
    void typedCharacterStartsTheSearch_data();
    void typedCharacterStartsTheSearch();
    void searchIsCaseInsensitivePrefixOnTheSearchColumn();
    void searchBoxEnterAndDownGoToTheGrid();
    void enterAndDoubleClickAcceptOnlyInChooseMode();
    void actionKeysReachTheRowActions();
    void recordCounterFollowsTheCursor();
    void columnsShareTheGridWidth();
    void boundsAreKeptInTheIni();

private:
    void showWindow(bool choose);

    Session m_session;
    QStandardItemModel *m_model = nullptr;
    CountingWindow *m_window = nullptr;
};

void TestListWindow::init()
{
    m_session = Session();
    m_model = new QStandardItemModel(0, 2);
    for (const char *name : {"Alma", "árvíztűrő", "Barack", "Éva", "123 Kft", "citrom"}) {
        m_model->appendRow(
            {new QStandardItem(QString::fromUtf8(name)), new QStandardItem(QString::number(m_model->rowCount() * 10))});
    }
    m_window = new CountingWindow(m_session, QStringLiteral("frm_Proba"));
    m_window->setModel(m_model);
    m_window->setCurrentRow(0);
}

void TestListWindow::cleanup()
{
    delete m_window;
    delete m_model;
}

void TestListWindow::showWindow(bool choose)
{
    m_window->setChooseMode(choose);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestListWindow::chooseModeShowsAndEnablesAccept()
{
    QAction *accept = m_window->acceptAction();
    QCOMPARE(accept->objectName(), QStringLiteral("aElfogad"));
    showWindow(false);
    QVERIFY(!accept->isVisible() || !accept->isEnabled());
    QVERIFY(!m_window->toolBar()->widgetForAction(accept)->isVisible());
    m_window->setChooseMode(true);
    QVERIFY(accept->isVisible() && accept->isEnabled());
    QTRY_VERIFY(m_window->toolBar()->widgetForAction(accept)->isVisible());
    for (const char *name : {"aUj", "aSzerkeszt", "aTorol", "aKeres", "aBezar", "DBGrid1", "eKereso", "ToolBar1",
                             "StatusBar1", "PopupMenu1"})
        QVERIFY2(m_window->findChild<QObject *>(QString::fromLatin1(name)), name);
}

void TestListWindow::typedCharacterStartsTheSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("row");
    QTest::newRow("lower-case letter") << "b"
                                       << "b" << 2;
    QTest::newRow("capital letter is lowered") << "C"
                                               << "c" << 5;
    QTest::newRow("capital accented letter") << "É"
                                             << "é" << 3;
    QTest::newRow("double acute") << "ű"
                                  << "ű" << 0; // no row: the cursor stays
    QTest::newRow("digit") << "1"
                           << "1" << 4;
    QTest::newRow("punctuation does nothing") << ","
                                              << "" << 0;
    QTest::newRow("blank does nothing") << " "
                                        << "" << 0;
}

void TestListWindow::typedCharacterStartsTheSearch()
{
    QFETCH(QString, typed);
    QFETCH(QString, search);
    QFETCH(int, row);
    showWindow(false);
    m_window->grid()->setFocus();
    TypeChar(m_window->grid(), typed);
    QCOMPARE(m_window->searchBox()->text(), search);
    QCOMPARE(m_window->currentRow(), row);
    if (search.isEmpty()) {
        QCOMPARE(QApplication::focusWidget(), m_window->grid());
    } else {
        QCOMPARE(QApplication::focusWidget(), m_window->searchBox());
        QCOMPARE(m_window->searchBox()->cursorPosition(), 1);
        QVERIFY(!m_window->searchBox()->hasSelectedText());
    }
}

void TestListWindow::searchIsCaseInsensitivePrefixOnTheSearchColumn()
{
    showWindow(false);
    QLineEdit *search = m_window->searchBox();
    QTest::keyClicks(search, "BAR");
    QCOMPARE(m_window->currentRow(), 2);
    // No match leaves the cursor where it is.
    QTest::keyClicks(search, "x");
    QCOMPARE(m_window->currentRow(), 2);
    search->clear();
    TypeChar(search, QStringLiteral("Á"));
    QCOMPARE(m_window->currentRow(), 1);
    m_window->setSearchColumn(1);
    search->setText(QStringLiteral("4"));
    QCOMPARE(m_window->currentRow(), 4);
}

void TestListWindow::searchBoxEnterAndDownGoToTheGrid()
{
    showWindow(false);
    QLineEdit *search = m_window->searchBox();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Down}) {
        search->setFocus();
        QTest::keyClick(search, key);
        QCOMPARE(QApplication::focusWidget(), m_window->grid());
    }
    QVERIFY(m_window->isVisible());
    // Entering the box selects its text, so typing replaces it.
    search->setText(QStringLiteral("cit"));
    m_window->grid()->setFocus();
    m_window->searchAction()->trigger();
    QCOMPARE(search->selectedText(), QStringLiteral("cit"));
}

void TestListWindow::enterAndDoubleClickAcceptOnlyInChooseMode()
{
    showWindow(false);
    QTest::keyClick(m_window->grid(), Qt::Key_Return);
    QVERIFY(m_window->isVisible());
    const QModelIndex second = m_model->index(1, 0);
    const QPoint secondAt = m_window->grid()->visualRect(second).center();
    QTest::mouseClick(m_window->grid()->viewport(), Qt::LeftButton, {}, secondAt);
    QTest::mouseDClick(m_window->grid()->viewport(), Qt::LeftButton, {}, secondAt);
    QCOMPARE(m_window->edited, 1);
    QVERIFY(m_window->isVisible());

    m_window->setChooseMode(true);
    m_window->searchBox()->setFocus();
    QTest::keyClick(m_window->searchBox(), Qt::Key_Return);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_window->result(), int(QDialog::Accepted));

    showWindow(true);
    m_window->setCurrentRow(0);
    QTest::mouseClick(m_window->grid()->viewport(), Qt::LeftButton, {}, secondAt);
    QTest::mouseDClick(m_window->grid()->viewport(), Qt::LeftButton, {}, secondAt);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_window->result(), int(QDialog::Accepted));
    QCOMPARE(m_window->currentRow(), 1);
    QCOMPARE(m_window->edited, 1);
}

void TestListWindow::actionKeysReachTheRowActions()
{
    showWindow(false);
    QTableView *grid = m_window->grid();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Insert);
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_window->created, 1);
    QCOMPARE(m_window->edited, 1);
    QCOMPARE(m_window->deleted, 1);
    // Editing and deleting need a row.
    m_model->removeRows(0, m_model->rowCount());
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_window->edited, 1);
    QCOMPARE(m_window->deleted, 1);
    QTest::keyClick(grid, Qt::Key_Escape);
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_window->result(), int(QDialog::Rejected));
}

void TestListWindow::recordCounterFollowsTheCursor()
{
    showWindow(false);
    QLabel *counter = m_window->recordPositionLabel();
    QCOMPARE(counter->text(), QStringLiteral("6: 1"));
    m_window->grid()->setFocus();
    QTest::keyClick(m_window->grid(), Qt::Key_Down);
    QTest::keyClick(m_window->grid(), Qt::Key_Down);
    QCOMPARE(counter->text(), QStringLiteral("6: 3"));
    m_model->appendRow(new QStandardItem(QStringLiteral("Dió")));
    QCOMPARE(counter->text(), QStringLiteral("7: 3"));
    m_model->removeRows(0, m_model->rowCount());
    QCOMPARE(counter->text(), QStringLiteral("0: 0"));
}

void TestListWindow::columnsShareTheGridWidth()
{
    m_window->setColumnFactors({0.75, 0.25});
    showWindow(false);
    m_window->resize(600, 300);
    QTableView *grid = m_window->grid();
    // The two columns fill the grid without a horizontal scroll bar, the first three times as wide.
    QTRY_VERIFY(grid->columnWidth(0) > 300);
    const int shown = grid->columnWidth(0) + grid->columnWidth(1);
    QVERIFY2(shown <= grid->viewport()->width() && shown > grid->viewport()->width() - 45,
             qPrintable(QStringLiteral("%1 of %2").arg(shown).arg(grid->viewport()->width())));
    QVERIFY(qAbs(grid->columnWidth(0) - 3 * grid->columnWidth(1)) <= 3);
    QVERIFY(!grid->horizontalScrollBar()->isVisible());
    m_window->resize(800, 300);
    QTRY_VERIFY(grid->columnWidth(0) + grid->columnWidth(1) > shown + 150);
}

void TestListWindow::boundsAreKeptInTheIni()
{
    m_session.ini.writeInt(QStringLiteral("frm_Proba"), QStringLiteral("Width"), 480);
    m_session.ini.writeInt(QStringLiteral("frm_Proba"), QStringLiteral("Height"), 310);
    showWindow(false);
    QCOMPARE(m_window->size(), QSize(480, 310));
    m_window->resize(500, 333);
    m_window->closeAction()->trigger();
    QCOMPARE(m_session.ini.readInt(QStringLiteral("frm_Proba"), QStringLiteral("Width")), 500);
    QCOMPARE(m_session.ini.readInt(QStringLiteral("frm_Proba"), QStringLiteral("Height")), 333);
}

QTEST_MAIN(TestListWindow)
#include "test_listwindow.moc"

#include "choosers.h"
#include "gridhighlight.h"
#include "masterdatafixture.h"
#include "numberedit.h"
#include "tfrm_torzsugyfel.h"
#include "tfrm_ugyfelvalaszt.h"
#include "uicolours.h"
#include "util.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>

class TestClients : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db.openDatabase(QStringLiteral("clients")); }
    void cleanup() { m_db.close(); }

    void newClientStartsWithNothingDueAndNoLimit();
    void editKeepsTheAmountDueAndSetsTheUnit();
    void townComesFromThePostcodeOnlyIntoAnEmptyField();
    void mailButtonHandsTheAddressToTheDesktop();
    void titleClickSortsWhereAnIndexExists();
    void chooserReturnsClientAndSettlementDays();
    void longListLeavesNoStatementOpen();

private:
    qint64 client(const QString &name, const QString &town = QString(), const QString &street = QString(),
                  const QVariant &days = QVariant())
    {
        return m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), name},
                                                              {QStringLiteral("cim_varos"), town},
                                                              {QStringLiteral("cim_cim"), street},
                                                              {QStringLiteral("elszamol"), days}});
    }
    static QLineEdit *edit(QWidget *editor, const char *field)
    {
        return editor->findChild<QLineEdit *>(QString::fromLatin1(field));
    }
    static void clickTitle(QTableView *grid, int column)
    {
        QHeaderView *header = grid->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2));
    }

    MasterDataFixture m_db;
};

void TestClients::newClientStartsWithNothingDueAndNoLimit()
{
    Tfrm_UgyfelValaszt window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Ügyfél választása"));
    OnNextModal([](QDialog *editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("Ügyfél adatok szerkesztése"));
        QCOMPARE(QApplication::focusWidget(), edit(editor, "ugyfel_nev"));
        TypeText(edit(editor, "ugyfel_nev"), QStringLiteral("Kovács Ödön"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        TypeText(QApplication::focusWidget(), QStringLiteral("AB123456CD9999999"));
        QCOMPARE(edit(editor, "szigszam")->text(), QStringLiteral("AB123456CD99999"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), edit(editor, "elszamol"));
        TypeText(edit(editor, "elszamol"), QStringLiteral("1x5"));
        QCOMPARE(edit(editor, "elszamol")->text(), QStringLiteral("15"));
        QCOMPARE(edit(editor, "elszamollimit")->text(), QStringLiteral("0"));
        QCOMPARE(edit(editor, "elszamolasra")->text(), QStringLiteral("0"));
        QCOMPARE(edit(editor, "elszamolasra")->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(editor->findChild<QPushButton *>("bOK"), Qt::LeftButton);
    });
    QTest::keyClick(window.grid(), Qt::Key_Insert);
    QCOMPARE(m_db.count(QStringLiteral("ugyfel")), 1);
    QCOMPARE(window.currentValue(QStringLiteral("ugyfel_nev")).toString(), QStringLiteral("Kovács Ödön"));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT elszamol FROM ugyfel;")).toInt(), 15);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT elszamolasra FROM ugyfel;")), QVariant(0.0));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT elszamollimit FROM ugyfel;")), QVariant(0.0));
}

void TestClients::editKeepsTheAmountDueAndSetsTheUnit()
{
    m_db.engine->insert(QStringLiteral("szervegyseg"), {{QStringLiteral("szervegyseg"), 7},
                                                        {QStringLiteral("szervegyseg_nev"), QStringLiteral("Raktár")}});
    m_db.engine->insert(QStringLiteral("szervegyseg"), {{QStringLiteral("szervegyseg"), 3},
                                                        {QStringLiteral("szervegyseg_nev"), QStringLiteral("Iroda")}});
    const qint64 id = client(QStringLiteral("Nagy Béla"));
    m_db.engine->update(QStringLiteral("ugyfel"), QStringLiteral("ugyfel"), id,
                        {{QStringLiteral("elszamolasra"), 12345.0}, {QStringLiteral("elszamollimit"), 50000.0}});
    Tfrm_UgyfelValaszt window(m_db.session, *m_db.engine, m_db.messages);
    window.open(static_cast<int>(id));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.grid()->model()->index(0, 4).data().toString(), FormatFloat(QStringLiteral("### ### ##0"), 12345));
    OnNextModal([this](QDialog *editor) {
        QCOMPARE(edit(editor, "elszamolasra")->text(), FormatFloat(QStringLiteral("### ### ##0"), 12345));
        auto *unit = editor->findChild<QComboBox *>("szervegyseg");
        QCOMPARE(unit->count(), 3);
        QCOMPARE(unit->itemText(1), QStringLiteral("Iroda"));
        unit->setCurrentIndex(unit->findText(QStringLiteral("Raktár")));
        edit(editor, "elszamollimit")->setFocus();
        edit(editor, "elszamollimit")->selectAll();
        TypeText(edit(editor, "elszamollimit"), QStringLiteral("60000,5"));
        // A booking changes the amount due while the editor is open; the editor must not write it back.
        m_db.engine->update(QStringLiteral("ugyfel"), QStringLiteral("ugyfel"), 1,
                            {{QStringLiteral("elszamolasra"), 20000.0}});
        QTest::mouseClick(editor->findChild<QPushButton *>("bOK"), Qt::LeftButton);
    });
    QTest::keyClick(window.grid(), Qt::Key_F2);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT szervegyseg FROM ugyfel;")).toInt(), 7);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT elszamollimit FROM ugyfel;")).toDouble(), 60000.5);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT elszamolasra FROM ugyfel;")).toDouble(), 20000.0);
}

void TestClients::townComesFromThePostcodeOnlyIntoAnEmptyField()
{
    m_db.engine->insert(QStringLiteral("irsz"), {{QStringLiteral("id"), 1},
                                                 {QStringLiteral("irsz"), QStringLiteral("6720")},
                                                 {QStringLiteral("varos"), QStringLiteral("Szeged")}});
    Tfrm_TorzsUgyfel editor(m_db.session, *m_db.engine, m_db.messages);
    editor.setValues({});
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    QLineEdit *postcode = edit(&editor, "cim_irsz");
    QLineEdit *town = edit(&editor, "cim_varos");

    postcode->setFocus();
    QTest::keyClicks(postcode, "9999");
    QTest::keyClick(postcode, Qt::Key_Tab);
    QCOMPARE(town->text(), QString());

    postcode->setFocus();
    postcode->selectAll();
    QTest::keyClicks(postcode, "6720");
    QTest::keyClick(postcode, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), town);
    QCOMPARE(town->text(), QStringLiteral("Szeged"));

    town->setText(QStringLiteral("Algyő"));
    postcode->setFocus();
    QTest::keyClick(postcode, Qt::Key_Tab);
    QCOMPARE(town->text(), QStringLiteral("Algyő"));
}

void TestClients::mailButtonHandsTheAddressToTheDesktop()
{
    QList<QUrl> opened;
    Tfrm_TorzsUgyfel editor(m_db.session, *m_db.engine, m_db.messages);
    editor.setUrlOpener([&opened](const QUrl &url) {
        opened.append(url);
        return true;
    });
    editor.setValues({});
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    auto *button = editor.findChild<QToolButton *>("bEmil");
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(opened.isEmpty());
    edit(&editor, "emil")->setText(QStringLiteral("kiss.eva@pelda.hu"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("mailto:kiss.eva@pelda.hu"))});
    QVERIFY(editor.isVisible());
}

void TestClients::titleClickSortsWhereAnIndexExists()
{
    client(QStringLiteral("Cecil"), QStringLiteral("Budapest"), QStringLiteral("Zrínyi u. 1"));
    client(QStringLiteral("aladár"), QStringLiteral("Szeged"), QStringLiteral("Fő tér 2"));
    client(QStringLiteral("Béla"), QStringLiteral("Abony"), QStringLiteral("Kossuth u. 3"));
    m_db.engine->exec(QStringLiteral("DROP INDEX idx_cim_cim;"));
    Tfrm_UgyfelValaszt window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTableView *grid = window.grid();
    auto names = [grid] {
        QStringList result;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            result.append(grid->model()->index(row, 0).data().toString());
        return result;
    };
    QCOMPARE(names(), (QStringList{"aladár", "Béla", "Cecil"}));
    QCOMPARE(GridColumnBackground(grid, 0), HighlightColor());

    clickTitle(grid, 2); // város
    QCOMPARE(names(), (QStringList{"Béla", "Cecil", "aladár"}));
    QCOMPARE(window.sortField(), QStringLiteral("cim_varos"));
    QCOMPARE(GridColumnBackground(grid, 2), HighlightColor());
    QVERIFY(!GridColumnBackground(grid, 0).isValid());
    QCOMPARE(QApplication::focusWidget(), window.searchBox());
    // The search follows the sorted column.
    TypeText(window.searchBox(), QStringLiteral("sz"));
    QCOMPARE(window.currentValue(QStringLiteral("ugyfel_nev")).toString(), QStringLiteral("aladár"));

    clickTitle(grid, 3); // cím: its index is gone
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Erre a mezőre nem lehet sorbarendezni.")});
    QCOMPARE(names(), (QStringList{"Béla", "Cecil", "aladár"}));
    QCOMPARE(window.sortField(), QStringLiteral("cim_varos"));
    QCOMPARE(GridColumnBackground(grid, 2), HighlightColor());
    QVERIFY(!GridColumnBackground(grid, 3).isValid());
    QCOMPARE(window.currentValue(QStringLiteral("ugyfel_nev")).toString(), QStringLiteral("aladár"));
}

void TestClients::chooserReturnsClientAndSettlementDays()
{
    OnNextModal([](QDialog *window) { qobject_cast<ListWindow *>(window)->acceptAction()->trigger(); });
    const UgyfelChoice empty = UgyfelValasztNap(m_db.session, *m_db.engine, m_db.messages, -1, true);
    QCOMPARE(empty.ugyfel, 0);
    QCOMPARE(empty.elszamol, 0);

    client(QStringLiteral("Alfa Kft"), {}, {}, 8);
    const qint64 beta = client(QStringLiteral("Béta Bt"), {}, {}, 30);
    OnNextModal([](QDialog *window) {
        auto *list = qobject_cast<ListWindow *>(window);
        QCOMPARE(list->recordPositionLabel()->text(), QStringLiteral("2: 2"));
        QTest::keyClick(list->grid(), Qt::Key_Return);
    });
    const UgyfelChoice chosen =
        UgyfelValasztNap(m_db.session, *m_db.engine, m_db.messages, static_cast<int>(beta), true);
    QCOMPARE(chosen.ugyfel, int(beta));
    QCOMPARE(chosen.elszamol, 30);

    OnNextModal([](QDialog *window) { QTest::keyClick(window, Qt::Key_Escape); });
    QCOMPARE(UgyfelValaszt(m_db.session, *m_db.engine, m_db.messages, static_cast<int>(beta), true), -1);
}

void TestClients::longListLeavesNoStatementOpen()
{
    {
        Transaction transaction(*m_db.engine);
        for (int i = 0; i < 600; ++i)
            client(QStringLiteral("Ügyfél %1").arg(i));
        transaction.commit();
    }
    Tfrm_UgyfelValaszt window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.grid()->model()->rowCount(), 600);
    // The list read all its rows, so another workstation's commit does not stand in the way of this one's write.
    Engine other(QStringLiteral("clients_other"));
    other.open(m_db.folder);
    other.exec(QStringLiteral("UPDATE ugyfel SET telefon='1' WHERE ugyfel=1;"));
    Transaction transaction(*m_db.engine);
    m_db.engine->exec(QStringLiteral("UPDATE ugyfel SET telefon='2' WHERE ugyfel=2;"));
    transaction.commit();
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT telefon FROM ugyfel WHERE ugyfel=2;")).toString(), QStringLiteral("2"));
}

QTEST_MAIN(TestClients)
#include "test_clients.moc"

#include "choosers.h"
#include "ledgerops.h"
#include "masterdatafixture.h"
#include "numberedit.h"
#include "tfrm_torzskassza.h"
#include "tfrm_torzskassza_szerkeszt.h"
#include "tillsetup.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

class TestTills : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db.openDatabase(QStringLiteral("tills")); }
    void cleanup() { m_db.close(); }

    void newTillWritesItsOpeningRow();
    void emptyOpeningAmountGivesAnEmptyOpeningRow();
    void failedOpeningRowLeavesNoTill();
    void cancelledNewTillWritesNothing();
    void editorRefusesWhatTheFieldsCannotHold();
    void refusedPostKeepsTheEditorOpen();
    void editorTakesTheSessionFontUnderItsList();
    void editNeverTouchesTheOpeningAmount();
    void okWithoutAChangeKeepsWhatIsStored();
    void deleteAsksAndRemovesOnlyTheTill();
    void chooserReturnsTheAcceptedTill();
    void chooserOnAnEmptyListAndWhenClosed();

private:
    qint64 till(const QString &name, const QString &currency = QStringLiteral("HUF"))
    {
        return m_db.engine->insert(QStringLiteral("kassza"),
                                   {{QStringLiteral("kassza_nev"), name}, {QStringLiteral("valuta"), currency}});
    }
    // Types into a field of the editor.
    static void fill(QDialog *editor, const char *field, const QString &text)
    {
        auto *edit = editor->findChild<QLineEdit *>(QString::fromLatin1(field));
        QVERIFY2(edit, field);
        edit->setFocus();
        edit->selectAll();
        TypeText(edit, text);
    }
    static void clickOk(QDialog *editor) { QTest::mouseClick(editor->findChild<QPushButton *>("bOK"), Qt::LeftButton); }

    MasterDataFixture m_db;
};

void TestTills::newTillWritesItsOpeningRow()
{
    till(QStringLiteral("Fő kassza"));
    m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("dromvelid"), 41}, {QStringLiteral("kassza"), 1}});
    Tfrm_TorzsKassza window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    OnNextModal([this](QDialog *editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("Kassza szerkesztés"));
        QVERIFY(editor->findChild<QLineEdit *>("nyito")->isVisible());
        fill(editor, "kassza_nev", QStringLiteral("Bolt"));
        fill(editor, "valuta", QStringLiteral("eur"));
        fill(editor, "betujel_be", QStringLiteral("BB"));
        fill(editor, "betujel_ki", QStringLiteral("BK"));
        fill(editor, "nyito", QStringLiteral("12 500,5"));
        clickOk(editor);
    });
    QTest::keyClick(window.grid(), Qt::Key_Insert);

    QCOMPARE(m_db.count(QStringLiteral("kassza")), 2);
    const qint64 id = window.currentKey();
    QCOMPARE(window.currentValue(QStringLiteral("kassza_nev")).toString(), QStringLiteral("Bolt"));
    QCOMPARE(window.currentValue(QStringLiteral("valuta")).toString(), QStringLiteral("EUR"));
    QCOMPARE(window.recordPositionLabel()->text(), QStringLiteral("2: 1"));
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(id), 12500.5);

    Query q(*m_db.engine, QStringLiteral("SELECT * FROM dromvel WHERE kassza=:k;"));
    q.setInt(QStringLiteral("k"), id).open();
    QVERIFY(q.next());
    QCOMPARE(q.value(QStringLiteral("dromvelid")).toInt(), 42);
    QCOMPARE(q.value(QStringLiteral("kibe")).toString(), QStringLiteral("N"));
    QCOMPARE(q.value(QStringLiteral("kiadva")).toString(), QStringLiteral("I"));
    QCOMPARE(q.value(QStringLiteral("dat_kiadva")).toDate(), QDate::currentDate());
    QCOMPARE(q.value(QStringLiteral("osszeg")).toDouble(), 12500.5);
    QCOMPARE(q.value(QStringLiteral("nyito")).toDouble(), 0.0);
    QCOMPARE(q.value(QStringLiteral("szoveg")).toString(), QStringLiteral("Pénztári nyitó megadás"));
    QCOMPARE(q.value(QStringLiteral("felhasznalo")).toString(), QStringLiteral("teszt"));
    QVERIFY(q.value(QStringLiteral("ssz")).isNull());
    QVERIFY(!q.next());
}

void TestTills::emptyOpeningAmountGivesAnEmptyOpeningRow()
{
    const qint64 id = CreateTill(*m_db.engine, {{QStringLiteral("kassza_nev"), QStringLiteral("Üres")}},
                                 QStringLiteral("teszt"), QDate(2026, 3, 2));
    QVERIFY(m_db.scalar(QStringLiteral("SELECT zaro FROM dromvel WHERE kassza=%1;").arg(id)).isNull());
    QVERIFY(m_db.scalar(QStringLiteral("SELECT osszeg FROM dromvel WHERE kassza=%1;").arg(id)).isNull());
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT dromvelid FROM dromvel;")).toInt(), 1);
    QCOMPARE(LedgerOps(*m_db.engine).TillBalance(id), 0.0);
}

void TestTills::failedOpeningRowLeavesNoTill()
{
    m_db.engine->exec(QStringLiteral("DROP TABLE dromvel;"));
    Tfrm_TorzsKassza window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    OnNextModal([this](QDialog *editor) {
        fill(editor, "kassza_nev", QStringLiteral("Bolt"));
        fill(editor, "nyito", QStringLiteral("1000"));
        clickOk(editor);
        // Refused: the editor stays with what was typed.
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->findChild<QLineEdit *>("kassza_nev")->text(), QStringLiteral("Bolt"));
        editor->reject();
    });
    window.newAction()->trigger();
    QCOMPARE(m_db.count(QStringLiteral("kassza")), 0);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("Hiányos, vagy hibás adatmegadás\r\n")));
    QVERIFY(m_db.messages.shown.first().text.size() > 40);
}

void TestTills::cancelledNewTillWritesNothing()
{
    Tfrm_TorzsKassza window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    OnNextModal([](QDialog *editor) {
        fill(editor, "kassza_nev", QStringLiteral("Bolt"));
        fill(editor, "nyito", QStringLiteral("1000"));
        QTest::keyClick(editor, Qt::Key_Escape);
    });
    window.newAction()->trigger();
    QCOMPARE(m_db.count(QStringLiteral("kassza")), 0);
    QCOMPARE(m_db.count(QStringLiteral("dromvel")), 0);
}

void TestTills::editorRefusesWhatTheFieldsCannotHold()
{
    Tfrm_TorzsKassza_Szerkeszt editor(m_db.session, m_db.messages, true);
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    fill(&editor, "kassza_nev", QStringLiteral("Egy nagyon hosszú kassza neve itt"));
    QCOMPARE(editor.findChild<QLineEdit *>("kassza_nev")->text().size(), 25);
    fill(&editor, "valuta", QStringLiteral("hufx"));
    QCOMPARE(editor.findChild<QLineEdit *>("valuta")->text(), QStringLiteral("HUF"));

    QVERIFY(editor.hintLabel()->isHidden());
    fill(&editor, "nyito", QStringLiteral("12a"));
    QCOMPARE(editor.findChild<QLineEdit *>("nyito")->text(), QStringLiteral("12"));
    QVERIFY(editor.hintLabel()->isVisible());
    QVERIFY(editor.hintLabel()->text().contains(QStringLiteral("számot")));
    // The hint goes with the next keystroke the field takes.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_3);
    QCOMPARE(editor.findChild<QLineEdit *>("nyito")->text(), QStringLiteral("123"));
    QVERIFY(editor.hintLabel()->isHidden());

    // A lone minus is not a number: OK refuses it and posts nothing.
    bool posted = false;
    editor.setPost([&posted](const QVariantMap &) { posted = true; });
    fill(&editor, "nyito", QStringLiteral("-"));
    clickOk(&editor);
    QVERIFY(!posted);
    QVERIFY(editor.isVisible());
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(QApplication::focusWidget(), editor.findChild<QLineEdit *>("nyito"));

    // Enter moves on from field to field.
    editor.findChild<QLineEdit *>("kassza_nev")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), editor.findChild<QLineEdit *>("valuta"));
    QVERIFY(editor.isVisible());
}

void TestTills::refusedPostKeepsTheEditorOpen()
{
    Tfrm_TorzsKassza_Szerkeszt editor(m_db.session, m_db.messages, false);
    editor.setPost([](const QVariantMap &) { throw EngineError(QStringLiteral("database is locked")); });
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    fill(&editor, "kassza_nev", QStringLiteral("Bolt"));
    clickOk(&editor);
    QVERIFY(editor.isVisible());
    QCOMPARE(m_db.messages.texts(),
             QStringList{QStringLiteral("Hiányos, vagy hibás adatmegadás\r\ndatabase is locked")});
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
    QCOMPARE(editor.findChild<QLineEdit *>("kassza_nev")->text(), QStringLiteral("Bolt"));
}

void TestTills::editorTakesTheSessionFontUnderItsList()
{
    // The list window's style sheet must not keep the editor's fields at the application font.
    m_db.session.fontSize = 13;
    Tfrm_TorzsKassza window(m_db.session, *m_db.engine, m_db.messages);
    Tfrm_TorzsKassza_Szerkeszt editor(m_db.session, m_db.messages, true, &window);
    QCOMPARE(editor.findChild<QLineEdit *>("valuta")->font().pointSize(), 13);
    QCOMPARE(editor.findChild<QLabel *>("lValuta")->font().pointSize(), 13);
    QCOMPARE(editor.findChild<QLineEdit *>("kassza_nev")->font().pointSize(), 16);
    QVERIFY(editor.findChild<QLineEdit *>("kassza_nev")->font().bold());
}

void TestTills::editNeverTouchesTheOpeningAmount()
{
    const qint64 id = CreateTill(
        *m_db.engine, {{QStringLiteral("kassza_nev"), QStringLiteral("Régi")}, {QStringLiteral("nyito"), 5000.0}},
        QStringLiteral("teszt"), QDate::currentDate());
    Tfrm_TorzsKassza window(m_db.session, *m_db.engine, m_db.messages);
    window.open(static_cast<int>(id));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    OnNextModal([](QDialog *editor) {
        QVERIFY(!editor->findChild<QLineEdit *>("nyito")->isVisible());
        QVERIFY(!editor->findChild<QLabel *>("lNyito")->isVisible());
        QCOMPARE(editor->findChild<QLineEdit *>("kassza_nev")->text(), QStringLiteral("Régi"));
        fill(editor, "kassza_nev", QStringLiteral("Új név"));
        fill(editor, "betujel_be", QStringLiteral("RB"));
        clickOk(editor);
    });
    QTest::keyClick(window.grid(), Qt::Key_F2);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT kassza_nev FROM kassza;")).toString(), QStringLiteral("Új név"));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT betujel_be FROM kassza;")).toString(), QStringLiteral("RB"));
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT nyito FROM kassza;")).toDouble(), 5000.0);
    QCOMPARE(m_db.count(QStringLiteral("dromvel")), 1);
    QCOMPARE(window.currentKey(), id);

    // Cancelling an edit changes nothing.
    OnNextModal([](QDialog *editor) {
        fill(editor, "kassza_nev", QStringLiteral("Eldobott"));
        QTest::mouseClick(editor->findChild<QPushButton *>("bMegsem"), Qt::LeftButton);
    });
    window.editAction()->trigger();
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT kassza_nev FROM kassza;")).toString(), QStringLiteral("Új név"));
}

void TestTills::okWithoutAChangeKeepsWhatIsStored()
{
    const qint64 id = till(QStringLiteral("Forint"), QStringLiteral("Ft"));
    Tfrm_TorzsKassza window(m_db.session, *m_db.engine, m_db.messages);
    window.open(static_cast<int>(id));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    OnNextModal([](QDialog *editor) {
        QCOMPARE(editor->findChild<QLineEdit *>("valuta")->text(), QStringLiteral("Ft"));
        clickOk(editor);
    });
    QTest::keyClick(window.grid(), Qt::Key_F2);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT valuta FROM kassza;")).toString(), QStringLiteral("Ft"));

    // Typed letters turn upper case; the letters already there keep theirs.
    OnNextModal([](QDialog *editor) {
        auto *currency = editor->findChild<QLineEdit *>("valuta");
        currency->setFocus();
        currency->setCursorPosition(1);
        TypeText(currency, QStringLiteral("x"));
        QCOMPARE(currency->text(), QStringLiteral("FXt"));
        QCOMPARE(currency->cursorPosition(), 2);
        QTest::keyClick(currency, Qt::Key_Backspace);
        QCOMPARE(currency->text(), QStringLiteral("Ft"));
        currency->end(false);
        currency->insert(QStringLiteral("é")); // as a paste puts it in
        QCOMPARE(currency->text(), QStringLiteral("FtÉ"));
        clickOk(editor);
    });
    window.editAction()->trigger();
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT valuta FROM kassza;")).toString(), QStringLiteral("FtÉ"));
}

void TestTills::deleteAsksAndRemovesOnlyTheTill()
{
    const qint64 first = CreateTill(*m_db.engine, {{QStringLiteral("kassza_nev"), QStringLiteral("Alfa")}},
                                    QStringLiteral("teszt"), QDate::currentDate());
    till(QStringLiteral("Béta"));
    Tfrm_TorzsKassza window(m_db.session, *m_db.engine, m_db.messages);
    window.open(static_cast<int>(first));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    m_db.messages.answers = {false};
    QTest::keyClick(window.grid(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_db.count(QStringLiteral("kassza")), 2);
    QCOMPARE(m_db.messages.shown.first().text, QStringLiteral("Valóban töröljem a sort?"));
    QCOMPARE(m_db.messages.shown.first().caption, QStringLiteral("Megerősítés"));

    m_db.messages.answers = {true};
    QTest::keyClick(window.grid(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_db.count(QStringLiteral("kassza")), 1);
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT kassza_nev FROM kassza;")).toString(), QStringLiteral("Béta"));
    QCOMPARE(m_db.count(QStringLiteral("dromvel")), 1);
    QCOMPARE(window.recordPositionLabel()->text(), QStringLiteral("1: 1"));
}

void TestTills::chooserReturnsTheAcceptedTill()
{
    till(QStringLiteral("bolt"));
    const qint64 main = till(QStringLiteral("Fő kassza"));
    till(QStringLiteral("Alfa"));
    // Opens on the given till, in name order regardless of case.
    OnNextModal([](QDialog *window) {
        auto *list = qobject_cast<Tfrm_TorzsKassza *>(window);
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QStringLiteral("Kasszák"));
        QCOMPARE(list->currentValue(QStringLiteral("kassza_nev")).toString(), QStringLiteral("Fő kassza"));
        QCOMPARE(list->recordPositionLabel()->text(), QStringLiteral("3: 3"));
        TypeChar(list->grid(), QStringLiteral("B"));
        QCOMPARE(list->currentValue(QStringLiteral("kassza_nev")).toString(), QStringLiteral("bolt"));
        QTest::keyClick(list->searchBox(), Qt::Key_Return);
    });
    QString name = QStringLiteral("előző");
    const int chosen = KasszaValaszt(m_db.session, *m_db.engine, m_db.messages, static_cast<int>(main), true, &name);
    QCOMPARE(chosen, 1);
    QCOMPARE(name, QStringLiteral("bolt"));
    QVERIFY(m_db.session.ini.sectionExists(QStringLiteral("frm_TorzsKassza")));
}

void TestTills::chooserOnAnEmptyListAndWhenClosed()
{
    OnNextModal([](QDialog *window) { qobject_cast<ListWindow *>(window)->acceptAction()->trigger(); });
    QString name = QStringLiteral("előző");
    QCOMPARE(KasszaValaszt(m_db.session, *m_db.engine, m_db.messages, 1, true, &name), 0);
    QCOMPARE(name, QString());

    till(QStringLiteral("Alfa"));
    OnNextModal([](QDialog *window) { QTest::keyClick(window, Qt::Key_Escape); });
    name = QStringLiteral("előző");
    QCOMPARE(KasszaValaszt(m_db.session, *m_db.engine, m_db.messages, 1, true, &name), -1);
    QCOMPARE(name, QStringLiteral("előző"));
}

QTEST_MAIN(TestTills)
#include "test_tills.moc"

#include "engine.h"
#include "query.h"
#include "scriptedmessages.h"
#include "session.h"
#include "tfrm_felhasznalo.h"
#include "tfrm_felhasznaloszerkeszt.h"
#include "util.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

int g_generation = 0;

// Runs action on the first modal dialog of type T, polling for up to a second.
template <typename T> void WhenModal(std::function<void(T *)> action, int tries = 100)
{
    const int generation = g_generation;
    QTimer::singleShot(10, [action, tries, generation]() {
        if (generation != g_generation)
            return;
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget()))
            action(dialog);
        else if (tries > 0)
            WhenModal<T>(action, tries - 1);
    });
}

QLineEdit *Edit(QWidget *form, const char *name)
{
    return form->findChild<QLineEdit *>(QString::fromLatin1(name));
}

// Replaces the field's text by typing, as a user would.
void Retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // keyClicks takes only ASCII; Hungarian letters go in as key events carrying their text.
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void ClickBox(QWidget *form, const char *name)
{
    auto *box = form->findChild<QCheckBox *>(QString::fromLatin1(name));
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

void Press(QWidget *form, const char *button)
{
    QTest::mouseClick(form->findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
}

// The offscreen platform does not hand the activation back when a modal dialog closes; a desktop does.
bool Reactivate(QWidget *window)
{
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void editorLayout();
    void editorOk_data();
    void editorOk();
    void editorCancelLeavesTheRow();

    void listShowsUsersAndRights();
    void listNewEditDelete();

private:
    QVariant rowIdOf(const QString &code);
    // All users as "code|name|password|admin|edit", in code order.
    QStringList users();

    QTemporaryDir *m_dir = nullptr;
    Engine *m_engine = nullptr;
    ScriptedMessages m_messages;
    Session m_session;
};

void TestUsers::init()
{
    ++g_generation;
    m_dir = new QTemporaryDir;
    m_engine = new Engine(QStringLiteral("test_users"));
    m_engine->open(m_dir->path());
    m_messages = {};
    m_session = Session();
    m_session.engine = m_engine;
    m_session.messages = &m_messages;
    auto add = [this](const char *code, const char *name, const char *password, const char *admin, const char *edit) {
        m_engine->insert(QStringLiteral("felhasznalo"), {{QStringLiteral("felhasznalo"), QString::fromUtf8(code)},
                                                         {QStringLiteral("felhasznalo_nev"), QString::fromUtf8(name)},
                                                         {QStringLiteral("jelszo"), QString::fromUtf8(password)},
                                                         {QStringLiteral("rendszergazda"), QString::fromUtf8(admin)},
                                                         {QStringLiteral("torzsszerkeszt"), QString::fromUtf8(edit)}});
    };
    add("Anna", "Nagy Anna", "titok", "I", "N");
    add("bela", "Kis Béla", "ab  ", "N", "I");
    add("cecil", "Cecil", "x", "", "");
}

void TestUsers::cleanup()
{
    delete m_engine;
    delete m_dir;
}

QVariant TestUsers::rowIdOf(const QString &code)
{
    Query q(*m_engine, QStringLiteral("SELECT rowid FROM felhasznalo WHERE felhasznalo = :p;"));
    q.setText(QStringLiteral("p"), code);
    q.open();
    return q.next() ? q.value(0) : QVariant();
}

QStringList TestUsers::users()
{
    Query q(*m_engine, QStringLiteral("SELECT felhasznalo, felhasznalo_nev, jelszo, rendszergazda, torzsszerkeszt "
                                      "FROM felhasznalo ORDER BY felhasznalo;"));
    q.open();
    QStringList result;
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < 5; ++i)
            fields.append(q.value(i).toString());
        result.append(fields.join(QLatin1Char('|')));
    }
    return result;
}

void TestUsers::editorLayout()
{
    Tfrm_FelhasznaloSzerkeszt editor(m_session, QVariant());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Felhasználó adatainak szerkesztése"));
    QCOMPARE(Edit(&editor, "edtFelhasznalo")->maxLength(), 20);
    QCOMPARE(Edit(&editor, "edtFelhasznaloNev")->maxLength(), 20);
    QCOMPARE(Edit(&editor, "edtJelszo")->maxLength(), 10);
    QCOMPARE(Edit(&editor, "edtJelszo2")->maxLength(), 10);
    QCOMPARE(Edit(&editor, "edtJelszo")->echoMode(), QLineEdit::Password);
    QCOMPARE(Edit(&editor, "edtJelszo2")->echoMode(), QLineEdit::Password);
    QVERIFY(!editor.findChild<QCheckBox *>(QStringLiteral("cbRendszergazda"))->isChecked());
    QVERIFY(!editor.findChild<QCheckBox *>(QStringLiteral("cbTorzsszerkeszt"))->isChecked());
    // Enter moves on instead of closing.
    Edit(&editor, "edtFelhasznalo")->setFocus();
    QTest::keyClick(Edit(&editor, "edtFelhasznalo"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), Edit(&editor, "edtFelhasznaloNev"));
    QVERIFY(editor.isVisible());
}

void TestUsers::editorOk_data()
{
    QTest::addColumn<QString>("user"); // empty: a new user
    QTest::addColumn<QString>("code"); // null: leave the field as it is
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<bool>("clickAdmin");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("users");

    const QStringList before{"Anna|Nagy Anna|titok|I|N", "bela|Kis Béla|ab  |N|I", "cecil|Cecil|x||"};
    QTest::newRow("new user") << ""
                              << "dora"
                              << "jelszo 1"
                              << "jelszo 1" << true << "" << before + QStringList{"dora|Dóra neve|jelszo 1|I|N"};
    QTest::newRow("new: empty password") << ""
                                         << "dora"
                                         << ""
                                         << "" << false << "Hiányos adat megadás" << before;
    QTest::newRow("new: confirmation differs") << ""
                                               << "dora"
                                               << "jelszo"
                                               << "jelszó" << false << "Hibás jelszó megadás" << before;
    QTest::newRow("new: empty code") << ""
                                     << ""
                                     << "jelszo"
                                     << "jelszo" << false << "Hiányos adat megadás" << before;
    QTest::newRow("new: code taken") << ""
                                     << "Anna"
                                     << "jelszo"
                                     << "jelszo" << false << "Hiányos adat megadás" << before;
    QTest::newRow("existing: unchanged password passes")
        << "bela" << QString() << QString() << QString() << true << ""
        << QStringList{"Anna|Nagy Anna|titok|I|N", "bela|Dóra neve|ab  |I|I", "cecil|Cecil|x||"};
    QTest::newRow("existing: new password not repeated")
        << "bela" << QString() << "uj" << QString() << false << "Hibás jelszó megadás" << before;
    QTest::newRow("existing: renamed") << "cecil"
                                       << "cili" << QString() << QString() << false << ""
                                       << QStringList{"Anna|Nagy Anna|titok|I|N", "bela|Kis Béla|ab  |N|I",
                                                      "cili|Dóra neve|x|N|N"};
    QTest::newRow("existing: renamed onto another")
        << "cecil"
        << "bela" << QString() << QString() << false << "Hiányos adat megadás" << before;
}

void TestUsers::editorOk()
{
    QFETCH(QString, user);
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(bool, clickAdmin);
    QFETCH(QString, error);

    Tfrm_FelhasznaloSzerkeszt editor(m_session, user.isEmpty() ? QVariant() : rowIdOf(user));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    if (!code.isNull())
        Retype(Edit(&editor, "edtFelhasznalo"), code);
    Retype(Edit(&editor, "edtFelhasznaloNev"), QStringLiteral("Dóra neve"));
    if (!password.isNull())
        Retype(Edit(&editor, "edtJelszo"), password);
    if (!confirm.isNull())
        Retype(Edit(&editor, "edtJelszo2"), confirm);
    if (clickAdmin)
        ClickBox(&editor, "cbRendszergazda");
    Press(&editor, "btnOk");

    if (error.isEmpty()) {
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QVERIFY(!editor.isVisible());
    } else {
        QCOMPARE(m_messages.texts(), QStringList{error});
        QVERIFY(editor.isVisible());
    }
    QTEST(users(), "users");
}

void TestUsers::editorCancelLeavesTheRow()
{
    const QStringList before = users();
    Tfrm_FelhasznaloSzerkeszt editor(m_session, rowIdOf(QStringLiteral("Anna")));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(Edit(&editor, "edtJelszo2")->text(), QStringLiteral("titok"));
    QVERIFY(editor.findChild<QCheckBox *>(QStringLiteral("cbRendszergazda"))->isChecked());
    Retype(Edit(&editor, "edtFelhasznaloNev"), QStringLiteral("Más"));
    ClickBox(&editor, "cbTorzsszerkeszt");
    Press(&editor, "btnCancel");
    QCOMPARE(editor.result(), int(QDialog::Rejected));
    QCOMPARE(users(), before);
}

void TestUsers::listShowsUsersAndRights()
{
    Tfrm_Felhasznalo list(m_session);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.windowTitle(), QStringLiteral("Felhasználók adatai"));
    QCOMPARE(list.findChild<QLabel *>(QStringLiteral("Panel1"))->text(), QStringLiteral("Felhasználók  "));
    QCOMPARE(list.newAction()->text(), QStringLiteral("Új Felhasználó"));

    QAbstractItemModel *model = list.grid()->model();
    QCOMPARE(model->rowCount(), 3);
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        if (!list.grid()->isColumnHidden(c))
            titles.append(model->headerData(c, Qt::Horizontal).toString());
    QCOMPARE(titles, (QStringList{"kód", "felhasználó", "rendszergazda", "szerkesztés"}));
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("Anna"));
    QCOMPARE(model->index(0, 2).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(model->index(0, 3).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(model->index(1, 3).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(model->index(2, 2).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked)); // empty flag
    QVERIFY(model->index(0, 2).data().toString().isEmpty());                           // a picture, not the letter
    QCOMPARE(GridColumnBackground(list.grid(), 0), HighlightColor());
    QCOMPARE(list.recordPositionLabel()->text(), RecordPositionText(3, 0));

    for (const int width : {700, 900}) {
        list.resize(width, 400);
        QTRY_COMPARE(list.grid()->columnWidth(0), int((list.grid()->width() - 194) * 0.4));
        QCOMPARE(list.grid()->columnWidth(1), int((list.grid()->width() - 194) * 0.6));
    }
}

void TestUsers::listNewEditDelete()
{
    Tfrm_Felhasznalo list(m_session);
    list.show();
    QVERIFY(Reactivate(&list));
    QTableView *grid = list.grid();
    grid->setFocus();

    // Insert: a new user, the cursor lands on it.
    WhenModal<Tfrm_FelhasznaloSzerkeszt>([](Tfrm_FelhasznaloSzerkeszt *editor) {
        QVERIFY(Edit(editor, "edtFelhasznalo")->text().isEmpty());
        Retype(Edit(editor, "edtFelhasznalo"), QStringLiteral("bori"));
        Retype(Edit(editor, "edtJelszo"), QStringLiteral("jelszo"));
        Retype(Edit(editor, "edtJelszo2"), QStringLiteral("jelszo"));
        Press(editor, "btnOk");
    });
    QTest::keyClick(grid, Qt::Key_Insert);
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(grid->model()->index(list.currentRow(), 0).data().toString(), QStringLiteral("bori"));
    QCOMPARE(list.recordPositionLabel()->text(), RecordPositionText(4, 2));

    // F2 edits the row under the cursor; the list's keys work once it is the active window again.
    QVERIFY(Reactivate(&list));
    list.setCurrentRow(0);
    WhenModal<Tfrm_FelhasznaloSzerkeszt>([](Tfrm_FelhasznaloSzerkeszt *editor) {
        QCOMPARE(Edit(editor, "edtFelhasznalo")->text(), QStringLiteral("Anna"));
        Retype(Edit(editor, "edtFelhasznaloNev"), QStringLiteral("Nagy Anna Mária"));
        Press(editor, "btnOk");
    });
    QTest::keyClick(grid, Qt::Key_F2);
    QCOMPARE(grid->model()->index(0, 1).data().toString(), QStringLiteral("Nagy Anna Mária"));

    // Enter in the grid edits as well; cancelling changes nothing.
    bool opened = false;
    WhenModal<Tfrm_FelhasznaloSzerkeszt>([&opened](Tfrm_FelhasznaloSzerkeszt *editor) {
        opened = true;
        Press(editor, "btnCancel");
    });
    QVERIFY(Reactivate(&list));
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(opened);
    QCOMPARE(list.isVisible(), true);

    // Ctrl+Del asks first; No keeps the row, Yes deletes it.
    m_messages.answers = {false, true};
    QVERIFY(Reactivate(&list));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->model()->rowCount(), 4);
    QCOMPARE(m_messages.shown.last().text, QStringLiteral("Valóban töröljem a sort?"));
    QCOMPARE(m_messages.shown.last().caption, QStringLiteral("Megerősítés"));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(grid->model()->rowCount(), 3);
    QVERIFY(!users().join(QLatin1Char(',')).contains(QStringLiteral("Anna")));
    QCOMPARE(list.recordPositionLabel()->text(), RecordPositionText(3, 0));

    // Esc closes and the bounds are remembered.
    QTest::keyClick(grid, Qt::Key_Escape);
    QVERIFY(!list.isVisible());
    QVERIFY(m_session.ini.valueExists(QStringLiteral("Tfrm_Felhasznalo"), QStringLiteral("Width")));
}

QTEST_MAIN(TestUsers)
#include "test_users.moc"

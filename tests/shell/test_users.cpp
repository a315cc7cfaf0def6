#include "gridhighlight.h"
#include "passwordhash.h"
#include "query.h"
#include "testdatabase.h"
#include "tfrm_felhasznalo.h"
#include "tfrm_felhasznaloszerkeszt.h"
#include "uicolours.h"
#include "util.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

QLineEdit *Edit(QWidget *form, const char *name)
{
    return form->findChild<QLineEdit *>(QString::fromLatin1(name));
}

// Replaces the text by typing; Hungarian letters go in as key events carrying their text.
void Retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void Press(QWidget *form, const char *button)
{
    QTest::mouseClick(form->findChild<QPushButton *>(QString::fromLatin1(button)), Qt::LeftButton);
}

// Presses key on the list once it is active again (the offscreen platform does not hand the activation back
// when a modal dialog closes), and runs onEditor on the editor it opens.
void KeyOpeningEditor(QDialog *list, int key, std::function<void(QDialog *)> onEditor)
{
    list->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(list));
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto *editor = qobject_cast<Tfrm_FelhasznaloSzerkeszt *>(QApplication::activeModalWidget());
        opened = editor != nullptr;
        if (editor)
            onEditor(editor);
    });
    QTest::keyClick(list->findChild<QTableView *>(), Qt::Key(key));
    QVERIFY(opened);
}

} // namespace

class TestUsers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void editorOk_data();
    void editorOk();
    void list();

private:
    QVariant rowIdOf(const QString &code);
    QStringList users(); // "code|name|password|admin|edit" in code order
    // The rows as users() gives them, with each stored hash standing for the password of the expected row that
    // it verifies, or for "?" when it verifies none.
    QStringList usersAgainst(const QStringList &expected);

    TestDatabase m_db;
};

void TestUsers::init()
{
    m_db.fresh(QStringLiteral("test_users"));
    // Plain passwords as an older version stored them; a user without one.
    const QList<QStringList> rows = {{"Anna", "Nagy Anna", "titok", "I", "N"},
                                     {"bela", "Kis Béla", "ab  ", "N", "I"},
                                     {"cecil", "Cecil", "x", "", ""},
                                     {"dani", "Dani", "", "N", "N"}};
    for (const QStringList &r : rows)
        m_db.engine->insert("felhasznalo", {{"felhasznalo", r[0]},
                                            {"felhasznalo_nev", r[1]},
                                            {"jelszo", r[2]},
                                            {"rendszergazda", r[3]},
                                            {"torzsszerkeszt", r[4]}});
}

void TestUsers::cleanup()
{
    m_db.close();
}

QVariant TestUsers::rowIdOf(const QString &code)
{
    Query q(*m_db.engine, QStringLiteral("SELECT rowid FROM felhasznalo WHERE felhasznalo = :p;"));
    q.setText(QStringLiteral("p"), code);
    q.open();
    return q.next() ? q.value(0) : QVariant();
}

QStringList TestUsers::users()
{
    Query q(*m_db.engine, QStringLiteral("SELECT felhasznalo || '|' || ifnull(felhasznalo_nev, '') || '|' || "
                                         "ifnull(jelszo, '') || "
                                         "'|' || ifnull(rendszergazda, '') || '|' || ifnull(torzsszerkeszt, '') "
                                         "FROM felhasznalo ORDER BY felhasznalo;"));
    q.open();
    QStringList result;
    while (q.next())
        result.append(q.value(0).toString());
    return result;
}

QStringList TestUsers::usersAgainst(const QStringList &expected)
{
    QStringList rows = users();
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QStringList fields = rows.at(r).split(QLatin1Char('|'));
        if (!IsPasswordHash(fields.at(2)))
            continue;
        const QString password = r < expected.size() ? expected.at(r).split(QLatin1Char('|')).value(2) : QString();
        fields[2] = PasswordMatches(fields.at(2), password) ? password : QStringLiteral("?");
        rows[r] = fields.join(QLatin1Char('|'));
    }
    return rows;
}

void TestUsers::editorOk_data()
{
    QTest::addColumn<QString>("user");      // empty: a new user
    QTest::addColumn<QStringList>("typed"); // code, password, confirmation; a null entry is left as it is
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("users");
    const QStringList before{"Anna|Nagy Anna|titok|I|N", "bela|Kis Béla|ab  |N|I", "cecil|Cecil|x||", "dani|Dani||N|N"};
    const QString incomplete = QStringLiteral("Hiányos adat megadás");
    QTest::newRow("new user") << "" << QStringList{"dora", "jelszo 1", "jelszo 1"} << ""
                              << before + QStringList{"dora|Dóra|jelszo 1|I|N"};
    QTest::newRow("new: empty password") << "" << QStringList{"dora", "", ""} << incomplete << before;
    QTest::newRow("new: confirmation differs")
        << "" << QStringList{"dora", "jelszo", "jelszó"} << "Hibás jelszó megadás" << before;
    QTest::newRow("new: empty code") << "" << QStringList{"", "jelszo", "jelszo"} << incomplete << before;
    QTest::newRow("new: code taken") << "" << QStringList{"Anna", "jelszo", "jelszo"} << incomplete << before;
    QTest::newRow("existing: fields left empty keep the stored password")
        << "bela" << QStringList{QString(), QString(), QString()} << ""
        << QStringList{"Anna|Nagy Anna|titok|I|N", "bela|Dóra|ab  |I|I", "cecil|Cecil|x||", "dani|Dani||N|N"};
    QTest::newRow("existing: new password typed twice")
        << "bela" << QStringList{QString(), "uj jelszo", "uj jelszo"} << ""
        << QStringList{"Anna|Nagy Anna|titok|I|N", "bela|Dóra|uj jelszo|I|I", "cecil|Cecil|x||", "dani|Dani||N|N"};
    QTest::newRow("existing: new password not repeated")
        << "bela" << QStringList{QString(), "uj", QString()} << "Hibás jelszó megadás" << before;
    QTest::newRow("existing: only the confirmation typed")
        << "bela" << QStringList{QString(), QString(), "uj"} << "Hibás jelszó megadás" << before;
    QTest::newRow("existing without a password: fields left empty")
        << "dani" << QStringList{QString(), QString(), QString()} << incomplete << before;
    QTest::newRow("existing: renamed onto another")
        << "cecil" << QStringList{"bela", QString(), QString()} << incomplete << before;
}

void TestUsers::editorOk()
{
    QFETCH(QString, user);
    QFETCH(QStringList, typed);
    QFETCH(QString, error);
    Tfrm_FelhasznaloSzerkeszt editor(m_db.session, *m_db.engine, m_db.messages,
                                     user.isEmpty() ? QVariant() : rowIdOf(user));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(Edit(&editor, "edtJelszo")->maxLength(), 10);
    QCOMPARE(Edit(&editor, "edtJelszo2")->echoMode(), QLineEdit::Password);
    // Whatever is stored, the password fields start empty: a hash is never shown, not even as stars.
    QVERIFY(Edit(&editor, "edtJelszo")->text().isEmpty() && Edit(&editor, "edtJelszo2")->text().isEmpty());
    // With DROMVEL_SCREENSHOTS set, the editor is saved there to be looked at.
    if (const QString dir = qEnvironmentVariable("DROMVEL_SCREENSHOTS"); !dir.isEmpty())
        editor.grab().save(QDir(dir).filePath(QStringLiteral("user-editor-%1.png").arg(user.isEmpty() ? "new" : user)));
    const char *fields[] = {"edtFelhasznalo", "edtJelszo", "edtJelszo2"};
    for (int i = 0; i < 3; ++i)
        if (!typed.at(i).isNull())
            Retype(Edit(&editor, fields[i]), typed.at(i));
    Retype(Edit(&editor, "edtFelhasznaloNev"), QStringLiteral("Dóra"));
    auto *admin = editor.findChild<QCheckBox *>(QStringLiteral("cbRendszergazda"));
    QTest::mouseClick(admin, Qt::LeftButton, {}, QPoint(admin->height() / 2, admin->height() / 2));
    Press(&editor, "btnOk");

    QFETCH(QStringList, users);
    QCOMPARE(m_db.messages.texts(), error.isEmpty() ? QStringList() : QStringList{error});
    QCOMPARE(editor.isVisible(), !error.isEmpty());
    QCOMPARE(usersAgainst(users), users);
    if (!error.isEmpty()) {
        Press(&editor, "btnCancel");
        QCOMPARE(usersAgainst(users), users);
    }
}

void TestUsers::list()
{
    Tfrm_Felhasznalo list(m_db.session, *m_db.engine, m_db.messages);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QCOMPARE(list.windowTitle(), QStringLiteral("Felhasználók adatai"));
    QCOMPARE(list.findChild<QLabel *>(QStringLiteral("Panel1"))->text(), QStringLiteral("Felhasználók  "));
    QAbstractItemModel *model = list.grid()->model();
    QStringList titles, ticks;
    for (int c = 0; c < model->columnCount(); ++c)
        if (!list.grid()->isColumnHidden(c))
            titles.append(model->headerData(c, Qt::Horizontal).toString());
    for (int r = 0; r < model->rowCount(); ++r)
        ticks.append(QStringLiteral("%1%2")
                         .arg(model->index(r, 2).data(Qt::CheckStateRole).toInt())
                         .arg(model->index(r, 3).data(Qt::CheckStateRole).toInt()));
    QCOMPARE(titles, (QStringList{"kód", "felhasználó", "rendszergazda", "szerkesztés"}));
    QCOMPARE(ticks, (QStringList{"20", "02", "00", "00"}));
    QVERIFY(model->index(0, 2).data().toString().isEmpty()); // a picture, not the letter
    QCOMPARE(GridColumnBackground(list.grid(), 0), HighlightColor());
    list.resize(700, 400);
    QTRY_COMPARE(list.grid()->columnWidth(0), int((list.grid()->width() - 194) * 0.4));
    QCOMPARE(list.grid()->columnWidth(1), int((list.grid()->width() - 194) * 0.6));

    // Insert: a new user, with the cursor on it.
    KeyOpeningEditor(&list, Qt::Key_Insert, [](QDialog *editor) {
        QVERIFY(Edit(editor, "edtFelhasznalo")->text().isEmpty());
        for (const char *field : {"edtFelhasznalo", "edtJelszo", "edtJelszo2"})
            Retype(Edit(editor, field), QStringLiteral("bori"));
        Press(editor, "btnOk");
    });
    QCOMPARE(model->index(list.currentRow(), 0).data().toString(), QStringLiteral("bori"));
    QCOMPARE(list.recordPositionLabel()->text(), RecordPositionText(5, 2));
    // F2 and Enter edit the row under the cursor.
    list.setCurrentRow(0);
    KeyOpeningEditor(&list, Qt::Key_F2, [](QDialog *editor) {
        Retype(Edit(editor, "edtFelhasznaloNev"), QStringLiteral("Nagy Anna Mária"));
        Press(editor, "btnOk");
    });
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("Nagy Anna Mária"));
    KeyOpeningEditor(&list, Qt::Key_Return, [](QDialog *editor) {
        QCOMPARE(Edit(editor, "edtFelhasznalo")->text(), QStringLiteral("Anna"));
        Press(editor, "btnCancel");
    });
    // Ctrl+Del asks first: No keeps the row, Yes deletes it.
    m_db.messages.answers = {false, true};
    list.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(list.grid(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(m_db.messages.shown.size(), 2);
    QCOMPARE(m_db.messages.shown.at(0).text, QStringLiteral("Valóban töröljem a sort?"));
    QCOMPARE(m_db.messages.shown.at(0).caption, QStringLiteral("Megerősítés"));
    QCOMPARE(users().size(), 4);
    QVERIFY(!users().join(',').contains(QStringLiteral("Anna")));
    QCOMPARE(list.recordPositionLabel()->text(), RecordPositionText(4, 0));
}

QTEST_MAIN(TestUsers)
#include "test_users.moc"

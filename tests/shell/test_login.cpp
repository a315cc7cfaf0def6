#include "inputdialog.h"
#include "passwordhash.h"
#include "query.h"
#include "testdatabase.h"
#include "tfrm_login.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

const QString Invalid = QStringLiteral("Érvénytelen felhasználó, vagy jelszó");

// Answers the input dialogs as they open: a text is typed and confirmed, a null text cancels. Each dialog
// seen is recorded as "caption/prompt".
void AnswerInputs(QStringList answers, QStringList *asked)
{
    QTimer::singleShot(0, [answers, asked]() mutable {
        auto *dialog = qobject_cast<InputDialogWindow *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edtValue"));
        asked->append(dialog->windowTitle() + QLatin1Char('/') +
                      dialog->findChild<QWidget *>("lblPrompt")->property("text").toString());
        QVERIFY(edit->echoMode() == QLineEdit::Normal && edit->text().isEmpty());
        const QString answer = answers.takeFirst();
        QTest::keyClicks(edit, answer);
        QTest::mouseClick(dialog->findChild<QPushButton *>(answer.isNull() ? "btnCancel" : "btnOk"), Qt::LeftButton);
        if (!answers.isEmpty())
            AnswerInputs(answers, asked);
    });
}

} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void credentials_data();
    void credentials();
    void belepesEndsOnCancel();
    void newPassword_data();
    void newPassword();

private:
    void type(const QString &code, const QString &password);
    QString stored(const QString &code);

    TestDatabase m_db;
    Tfrm_Login *m_dialog = nullptr;
};

void TestLogin::init()
{
    m_db.fresh(QStringLiteral("test_login"));
    // Plain passwords, as an older version stored them (cut to ten characters).
    const QList<QVariantList> users = {{"Anna", "titok", "I", "N"},
                                       {"bela", "ab  ", "N", "I"},
                                       {"ures", QVariant(), "I", "I"},
                                       {"hosszu", "0123456789", "", ""}};
    for (const QVariantList &u : users)
        m_db.engine->insert("felhasznalo", {{"felhasznalo", u[0]},
                                            {"felhasznalo_nev", u[0].toString() + " neve"},
                                            {"jelszo", u[1]},
                                            {"rendszergazda", u[2]},
                                            {"torzsszerkeszt", u[3]}});
    m_dialog = new Tfrm_Login(m_db.session, *m_db.engine, m_db.messages);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void TestLogin::cleanup()
{
    delete m_dialog;
    m_db.close();
}

void TestLogin::type(const QString &code, const QString &password)
{
    auto *user = m_dialog->findChild<QLineEdit *>(QStringLiteral("edtFelhasznalo"));
    auto *pass = m_dialog->findChild<QLineEdit *>(QStringLiteral("edtJelszo"));
    user->clear();
    pass->clear();
    QTest::keyClicks(user, code);
    QTest::keyClicks(pass, password);
}

QString TestLogin::stored(const QString &code)
{
    Query q(*m_db.engine, QStringLiteral("SELECT jelszo FROM felhasznalo WHERE felhasznalo = :p;"));
    q.setText(QStringLiteral("p"), code);
    q.open();
    return q.next() ? q.value(0).toString() : QString();
}

void TestLogin::credentials_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("rights"); // "admin edit", empty when refused
    QTest::newRow("exact") << "Anna"
                           << "titok"
                           << "1 0";
    QTest::newRow("code in other letter case") << "anna"
                                               << "titok"
                                               << "";
    QTest::newRow("password in other letter case") << "Anna"
                                                   << "Titok"
                                                   << "";
    QTest::newRow("trailing blanks left off") << "bela"
                                              << "ab"
                                              << "";
    QTest::newRow("trailing blanks typed") << "bela"
                                           << "ab  "
                                           << "0 1";
    QTest::newRow("empty stored password") << "ures"
                                           << ""
                                           << "";
    QTest::newRow("unknown user") << "cecil"
                                  << "titok"
                                  << "";
    QTest::newRow("stored password cut to 10") << "hosszu"
                                               << "0123456789"
                                               << "0 0";
    QTest::newRow("the cut-off part does not log in") << "hosszu"
                                                      << "0123456789AB"
                                                      << "";
}

void TestLogin::credentials()
{
    QFETCH(QString, code);
    QFETCH(QString, rights);
    QCOMPARE(m_dialog->findChild<QLineEdit *>(QStringLiteral("edtJelszo"))->echoMode(), QLineEdit::Password);
    // A refused try can be repeated without limit, so every case starts with two wrong ones.
    for (int i = 0; i < 2; ++i) {
        type(code, QStringLiteral("rossz"));
        QTest::mouseClick(m_dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    }
    QFETCH(QString, password);
    const QString before = stored(code);
    type(code, password);
    QTest::mouseClick(m_dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);

    QCOMPARE(m_dialog->isVisible(), rights.isEmpty());
    QCOMPARE(m_db.messages.texts(), QStringList(rights.isEmpty() ? 3 : 2, Invalid));
    if (rights.isEmpty()) {
        QCOMPARE(stored(code), before); // a refused try changes nothing
        return;
    }
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_db.session.user, code);
    QCOMPARE(QStringLiteral("%1 %2").arg(m_db.session.admin).arg(m_db.session.masterEdit), rights);
    // The plain password of the older version has given way to its hash, which the same password opens.
    const QString hash = stored(code);
    QVERIFY2(IsPasswordHash(hash) && !hash.contains(password), qPrintable(hash));
    QVERIFY(PasswordMatches(hash, password));
    QVERIFY(!PasswordMatches(hash, password + QLatin1Char(' ')));
    QVERIFY(!PasswordMatches(hash, password.chopped(1)));
}

void TestLogin::belepesEndsOnCancel()
{
    Tfrm_Login *own = m_dialog;
    // Polls until Belepes() has put its own dialog on screen.
    std::function<void(std::function<void()>)> whenOpen = [&](std::function<void()> action) {
        QTimer::singleShot(10, [&, action] {
            m_dialog = qobject_cast<Tfrm_Login *>(QApplication::activeModalWidget());
            m_dialog ? action() : whenOpen(action);
        });
    };
    whenOpen([&] { QTest::keyClick(m_dialog, Qt::Key_Escape); });
    QVERIFY(!Belepes(m_db.session, *m_db.engine, m_db.messages));
    whenOpen([&] {
        type(QStringLiteral("Anna"), QStringLiteral("titok"));
        QTest::keyClick(m_dialog->findChild<QLineEdit *>(QStringLiteral("edtJelszo")), Qt::Key_Return); // moves on
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);                                   // OK
    });
    QVERIFY(Belepes(m_db.session, *m_db.engine, m_db.messages));
    m_dialog = own;
    QCOMPARE(m_db.session.user, QStringLiteral("Anna"));
}

void TestLogin::newPassword_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QStringList>("answers"); // a null entry cancels that dialog
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("password"); // the one that logs in afterwards
    const QStringList done{"Jelszó változtatás kész."};
    QTest::newRow("changed") << "titok" << QStringList{"uj jelszo", "uj jelszo"} << 2 << done << "uj jelszo";
    QTest::newRow("longer than 10 is cut")
        << "titok" << QStringList{"0123456789AB", "0123456789AB"} << 2 << done << "0123456789";
    QTest::newRow("empty refused") << "titok" << QStringList{""} << 1 << QStringList{"Hiányos adat megadás"} << "titok";
    QTest::newRow("confirmation differs")
        << "titok" << QStringList{"uj1", "uj2"} << 2 << QStringList{"A megadott jelszavak nem egyezőek"} << "titok";
    QTest::newRow("confirmation cancelled")
        << "titok" << QStringList{"uj1", QString()} << 2 << QStringList{} << "titok";
    QTest::newRow("wrong old password") << "rossz" << QStringList{"uj1"} << 0 << QStringList{Invalid} << "titok";
}

void TestLogin::newPassword()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, password);
    QFETCH(QString, oldPassword);
    type(QStringLiteral("Anna"), oldPassword);
    QStringList asked;
    AnswerInputs(answers, &asked);
    QTest::mouseClick(m_dialog->findChild<QPushButton *>(QStringLiteral("btnUjJelszo")), Qt::LeftButton);

    const QStringList dialogs{"Jelszó megadása/Add meg az új jelszót", "Megerősítés/Add újra az új jelszót"};
    QTEST(int(asked.size()), "dialogs");
    QCOMPARE(asked, dialogs.mid(0, asked.size()));
    QTEST(m_db.messages.texts(), "messages");
    // The credential check that passed has hashed the plain password, whatever followed.
    const QString hash = stored(QStringLiteral("Anna"));
    QCOMPARE(IsPasswordHash(hash), oldPassword == QLatin1String("titok"));
    QVERIFY(PasswordMatches(hash, password));
    QVERIFY(m_dialog->isVisible()); // stays open whatever happened

    // From now on only that password logs in.
    m_db.messages.clear();
    type(QStringLiteral("Anna"), password + QLatin1Char('X'));
    QTest::mouseClick(m_dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    QCOMPARE(m_db.messages.texts(), QStringList{Invalid});
    type(QStringLiteral("Anna"), password);
    QTest::mouseClick(m_dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"

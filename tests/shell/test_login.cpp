#include "engine.h"
#include "inputdialog.h"
#include "query.h"
#include "scriptedmessages.h"
#include "session.h"
#include "tfrm_login.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Bumped by every test, so a helper still waiting for a dialog of an earlier test gives up.
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

struct Asked
{
    QString caption;
    QString prompt;
    QLineEdit::EchoMode echo;
};

// Answers the input dialogs in turn: a text is typed and confirmed, a null text cancels.
void AnswerInputs(QStringList answers, QList<Asked> *asked)
{
    if (answers.isEmpty())
        return;
    WhenModal<InputDialogWindow>([answers, asked](InputDialogWindow *dialog) mutable {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edtValue"));
        asked->append({dialog->windowTitle(),
                       dialog->findChild<QWidget *>(QStringLiteral("lblPrompt"))->property("text").toString(),
                       edit->echoMode()});
        const QString answer = answers.takeFirst();
        if (answer.isNull()) {
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
        } else {
            QTest::keyClicks(edit, answer);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
        }
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
    void refusedTryCanBeRepeated();
    void belepesEndsOnCancel();
    void newPassword_data();
    void newPassword();
    void afterChangeOnlyTheNewPasswordLogsIn();

private:
    void addUser(const QString &code, const QVariant &password, const QString &admin, const QString &edit);
    QVariant storedPassword(const QString &code);
    void typeCredentials(Tfrm_Login &dialog, const QString &code, const QString &password);

    QTemporaryDir *m_dir = nullptr;
    Engine *m_engine = nullptr;
    ScriptedMessages m_messages;
    Session m_session;
};

void TestLogin::init()
{
    ++g_generation;
    m_dir = new QTemporaryDir;
    m_engine = new Engine(QStringLiteral("test_login"));
    m_engine->open(m_dir->path());
    m_messages = {};
    m_session = Session();
    m_session.engine = m_engine;
    m_session.messages = &m_messages;
    addUser(QStringLiteral("Anna"), QStringLiteral("titok"), QStringLiteral("I"), QStringLiteral("N"));
    addUser(QStringLiteral("bela"), QStringLiteral("ab  "), QStringLiteral("N"), QStringLiteral("I"));
    addUser(QStringLiteral("ures"), QVariant(), QStringLiteral("I"), QStringLiteral("I"));
    addUser(QStringLiteral("hosszu"), QStringLiteral("0123456789AB"), QString(), QString());
}

void TestLogin::cleanup()
{
    delete m_engine;
    delete m_dir;
}

void TestLogin::addUser(const QString &code, const QVariant &password, const QString &admin, const QString &edit)
{
    m_engine->insert(QStringLiteral("felhasznalo"),
                     {{QStringLiteral("felhasznalo"), code},
                      {QStringLiteral("felhasznalo_nev"), code + QStringLiteral(" neve")},
                      {QStringLiteral("jelszo"), password},
                      {QStringLiteral("rendszergazda"), admin},
                      {QStringLiteral("torzsszerkeszt"), edit}});
}

QVariant TestLogin::storedPassword(const QString &code)
{
    Query q(*m_engine, QStringLiteral("SELECT jelszo FROM felhasznalo WHERE felhasznalo = :p;"));
    q.setText(QStringLiteral("p"), code);
    q.open();
    return q.next() ? q.value(0) : QVariant();
}

void TestLogin::typeCredentials(Tfrm_Login &dialog, const QString &code, const QString &password)
{
    auto *user = dialog.findChild<QLineEdit *>(QStringLiteral("edtFelhasznalo"));
    auto *pass = dialog.findChild<QLineEdit *>(QStringLiteral("edtJelszo"));
    user->clear();
    pass->clear();
    QTest::keyClicks(user, code);
    QTest::keyClicks(pass, password);
}

void TestLogin::credentials_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("admin");
    QTest::addColumn<bool>("edit");
    QTest::newRow("exact") << "Anna"
                           << "titok" << true << true << false;
    QTest::newRow("code in other letter case") << "anna"
                                               << "titok" << false << false << false;
    QTest::newRow("password in other letter case") << "Anna"
                                                   << "Titok" << false << false << false;
    QTest::newRow("trailing blanks left off") << "bela"
                                              << "ab" << false << false << false;
    QTest::newRow("trailing blanks typed") << "bela"
                                           << "ab  " << true << false << true;
    QTest::newRow("empty stored password") << "ures"
                                           << "" << false << false << false;
    QTest::newRow("unknown user") << "cecil"
                                  << "titok" << false << false << false;
    QTest::newRow("stored password was cut to 10") << "hosszu"
                                                   << "0123456789" << true << false << false;
    QTest::newRow("the cut-off part does not log in") << "hosszu"
                                                      << "0123456789AB" << false << false << false;
}

void TestLogin::credentials()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(bool, accepted);
    Tfrm_Login dialog(m_session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Belépés azonosítás"));
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("edtJelszo"))->echoMode(), QLineEdit::Password);
    typeCredentials(dialog, code, password);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);

    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(dialog.isVisible(), !accepted);
    if (accepted) {
        QVERIFY(m_messages.shown.isEmpty());
        QCOMPARE(m_session.user, code);
        QTEST(m_session.admin, "admin");
        QTEST(m_session.masterEdit, "edit");
    } else {
        QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("Érvénytelen felhasználó, vagy jelszó")});
        QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    }
}

void TestLogin::refusedTryCanBeRepeated()
{
    Tfrm_Login dialog(m_session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("btnOk"));
    for (int i = 0; i < 3; ++i) {
        typeCredentials(dialog, QStringLiteral("bela"), QStringLiteral("rossz"));
        QTest::mouseClick(ok, Qt::LeftButton);
    }
    QCOMPARE(m_messages.shown.size(), 3);
    QVERIFY(dialog.isVisible());
    typeCredentials(dialog, QStringLiteral("bela"), QStringLiteral("ab  "));
    // Enter in the password field moves on to OK, whose Enter logs in.
    QTest::keyClick(dialog.findChild<QLineEdit *>(QStringLiteral("edtJelszo")), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_session.user, QStringLiteral("bela"));
    QCOMPARE(m_session.userName, QStringLiteral("bela neve"));
}

void TestLogin::belepesEndsOnCancel()
{
    WhenModal<Tfrm_Login>([](Tfrm_Login *dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnCancel")), Qt::LeftButton);
    });
    QVERIFY(!Belepes(m_session));
    WhenModal<Tfrm_Login>([](Tfrm_Login *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QVERIFY(!Belepes(m_session));
    WhenModal<Tfrm_Login>([this](Tfrm_Login *dialog) {
        typeCredentials(*dialog, QStringLiteral("Anna"), QStringLiteral("titok"));
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("btnOk")), Qt::LeftButton);
    });
    QVERIFY(Belepes(m_session));
    QCOMPARE(m_session.user, QStringLiteral("Anna"));
}

void TestLogin::newPassword_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QStringList>("answers"); // a null entry cancels that dialog
    QTest::addColumn<int>("dialogs");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("stored");

    const QString done = QStringLiteral("Jelszó változtatás kész.");
    QTest::newRow("changed") << "titok" << QStringList{"uj jelszo", "uj jelszo"} << 2 << QStringList{done}
                             << "uj jelszo";
    QTest::newRow("longer than 10 is cut")
        << "titok" << QStringList{"0123456789AB", "0123456789AB"} << 2 << QStringList{done} << "0123456789";
    QTest::newRow("empty new password refused")
        << "titok" << QStringList{""} << 1 << QStringList{"Hiányos adat megadás"} << "titok";
    QTest::newRow("confirmation differs")
        << "titok" << QStringList{"uj1", "uj2"} << 2 << QStringList{"A megadott jelszavak nem egyezőek"} << "titok";
    QTest::newRow("first cancelled") << "titok" << QStringList{QString()} << 1 << QStringList{} << "titok";
    QTest::newRow("confirmation cancelled")
        << "titok" << QStringList{"uj1", QString()} << 2 << QStringList{} << "titok";
    QTest::newRow("wrong old password") << "rossz" << QStringList{"uj1", "uj1"} << 0
                                        << QStringList{"Érvénytelen felhasználó, vagy jelszó"} << "titok";
}

void TestLogin::newPassword()
{
    QFETCH(QString, oldPassword);
    QFETCH(QStringList, answers);
    QFETCH(int, dialogs);
    QFETCH(QStringList, messages);
    QFETCH(QString, stored);

    Tfrm_Login dialog(m_session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeCredentials(dialog, QStringLiteral("Anna"), oldPassword);
    QList<Asked> asked;
    AnswerInputs(answers, &asked);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("btnUjJelszo")), Qt::LeftButton);

    QCOMPARE(asked.size(), dialogs);
    if (dialogs > 0) {
        QCOMPARE(asked.at(0).caption, QStringLiteral("Jelszó megadása"));
        QCOMPARE(asked.at(0).prompt, QStringLiteral("Add meg az új jelszót"));
        QCOMPARE(asked.at(0).echo, QLineEdit::Normal);
    }
    if (dialogs > 1) {
        QCOMPARE(asked.at(1).caption, QStringLiteral("Megerősítés"));
        QCOMPARE(asked.at(1).prompt, QStringLiteral("Add újra az új jelszót"));
    }
    QCOMPARE(m_messages.texts(), messages);
    QCOMPARE(storedPassword(QStringLiteral("Anna")).toString(), stored);
    // The dialog stays open whatever happened.
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestLogin::afterChangeOnlyTheNewPasswordLogsIn()
{
    Tfrm_Login dialog(m_session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeCredentials(dialog, QStringLiteral("Anna"), QStringLiteral("titok"));
    QList<Asked> asked;
    AnswerInputs({QStringLiteral("friss"), QStringLiteral("friss")}, &asked);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("btnUjJelszo")), Qt::LeftButton);
    QCOMPARE(asked.size(), 2);

    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("btnOk"));
    QTest::mouseClick(ok, Qt::LeftButton); // still the old password in the field
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_messages.texts().last(), QStringLiteral("Érvénytelen felhasználó, vagy jelszó"));
    typeCredentials(dialog, QStringLiteral("Anna"), QStringLiteral("friss"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"

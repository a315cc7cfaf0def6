#include "application.h"
#include "ledgermodel.h"
#include "maindialogs.h"
#include "modaldialogs.h"
#include "qtmessages.h"
#include "testdatabase.h"
#include "tfrm_main.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSqlRecord>
#include <QTableView>
#include <QWindow>
#include <QtTest>

// The main window as the user sees it and works it from the keyboard, on the program's own application object.
class TestMainScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_db.close(); }

    void captionsAreTheProgramsOwn();
    void menusOpenFromTheKeyboard_data();
    void menusOpenFromTheKeyboard();
    void fontSizeActionsResizeGridAndPanels();
    void masterListsRefreshTheNamesShown_data();
    void masterListsRefreshTheNamesShown();

private:
    std::unique_ptr<Tfrm_Main> window()
    {
        auto w = std::make_unique<Tfrm_Main>(m_db.session, *m_db.engine, m_db.messages, m_dialogs);
        w->resize(1000, 600);
        w->TillSwitch(1, QStringLiteral("Főpénztár"));
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return nullptr;
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get()))
            return nullptr;
        return w;
    }
    // The window as it looks, saved for a look when DROMVEL_SHOTS names a folder.
    static QImage shot(QWidget *w, const QString &name)
    {
        QTest::qWait(50);
        const QImage image = w->grab().toImage();
        if (const QString folder = qEnvironmentVariable("DROMVEL_SHOTS"); !folder.isEmpty())
            image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
        return image;
    }

    TestDatabase m_db;
    MainDialogs m_dialogs;
};

void TestMainScreen::init()
{
    m_db.fresh(QStringLiteral("mainscreen"));
    m_db.session.iniPath = QDir(m_db.folder).filePath(QStringLiteral("DromvelPro.ini"));
    m_db.session.openDay = QDate(2026, 12, 8);
    m_db.session.formatFt = QStringLiteral("### ### ##0");
    m_db.session.fontSize = 8;
    m_db.engine->insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    m_db.engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Irodaszer")}});
    m_db.engine->insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács Péter")}});
    m_db.engine->insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), 1},
                                                    {QStringLiteral("kasszatip"), 1},
                                                    {QStringLiteral("ugyfel"), 1},
                                                    {QStringLiteral("kibe"), QStringLiteral("K")},
                                                    {QStringLiteral("kiadva"), QStringLiteral("N")},
                                                    {QStringLiteral("lezarva"), QStringLiteral("N")},
                                                    {QStringLiteral("osszeg"), 1500.0}});
    m_dialogs = MainDialogs::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs);
    m_dialogs.printChoice = {};
}

void TestMainScreen::captionsAreTheProgramsOwn()
{
    // The window system appends an application display name, once one is set, to every caption it shows
    // ("Hiba — …"); without one it shows the captions as they are.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    auto w = window();
    QVERIFY(w);
    QCOMPARE(w->windowHandle()->title(), QStringLiteral("Dromvel.Pro: []"));
    QString shown;
    OnNextModal([&shown](QDialog *box) {
        shown = box->windowHandle()->title();
        box->reject();
    });
    QtMessages().ShowError(QStringLiteral("Próba"), w.get());
    QCOMPARE(shown, QStringLiteral("Hiba"));
}

void TestMainScreen::menusOpenFromTheKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("menu");

    QTest::newRow("F10") << int(Qt::Key_F10) << int(Qt::NoModifier) << "Rekordok";
    QTest::newRow("Alt+R") << int(Qt::Key_R) << int(Qt::AltModifier) << "Rekordok";
    QTest::newRow("Alt+K") << int(Qt::Key_K) << int(Qt::AltModifier) << "Kassza";
    QTest::newRow("Alt+N") << int(Qt::Key_N) << int(Qt::AltModifier) << "Nézet";
    QTest::newRow("Alt+T") << int(Qt::Key_T) << int(Qt::AltModifier) << "Törzsadatok";
    QTest::newRow("Alt+Y") << int(Qt::Key_Y) << int(Qt::AltModifier) << "Nyomtatások";
    QTest::newRow("Alt+E") << int(Qt::Key_E) << int(Qt::AltModifier) << "Rendszer";
    QTest::newRow("Alt+S") << int(Qt::Key_S) << int(Qt::AltModifier) << "Súgó";
}

void TestMainScreen::menusOpenFromTheKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, menu);

    auto w = window();
    QVERIFY(w);
    w->grid()->setFocus();
    QTest::keyClick(w.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY(popup);
    // The caption keeps its given text: no "&" and nothing drawn under a letter.
    QCOMPARE(popup->title(), menu);
    QTest::keyClick(popup, Qt::Key_Escape);
    QStringList titles;
    for (QAction *a : w->menuBar()->actions())
        titles.append(a->text());
    QCOMPARE(titles, (QStringList{"Rekordok", "Kassza", "Nézet", "Törzsadatok", "Nyomtatások", "Rendszer", "Súgó"}));
}

void TestMainScreen::fontSizeActionsResizeGridAndPanels()
{
    auto w = window();
    QVERIFY(w);
    const auto pointSize = [&w](const char *name) { return w->findChild<QWidget *>(name)->font().pointSize(); };
    const int rowBefore = w->grid()->rowHeight(0);
    const QImage before = shot(w.get(), QStringLiteral("betumeret-8"));
    QCOMPARE(pointSize("DBGrid1"), 8);

    w->action(QStringLiteral("aBetuNovel"))->trigger();
    w->action(QStringLiteral("aBetuNovel"))->trigger();
    QCOMPARE(m_db.session.fontSize, 10);
    for (const char *name : {"DBGrid1", "lblBevesz", "lblPenzkeszlet", "lblSzoveg", "StatusPanel2"})
        QVERIFY2(pointSize(name) == 10, name);
    QCOMPARE(w->grid()->horizontalHeader()->font().pointSize(), 10);
    QVERIFY(w->grid()->rowHeight(0) > rowBefore);
    // The balance stays bold at its new size.
    QVERIFY(w->findChild<QLabel *>(QStringLiteral("lblPenzkeszlet"))->font().bold());
    QVERIFY(shot(w.get(), QStringLiteral("betumeret-10")) != before);

    w->action(QStringLiteral("aBetuCsokkent"))->trigger();
    w->action(QStringLiteral("aBetuCsokkent"))->trigger();
    QCOMPARE(pointSize("DBGrid1"), 8);
    QCOMPARE(w->grid()->rowHeight(0), rowBefore);
}

void TestMainScreen::masterListsRefreshTheNamesShown_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shownIn");

    QTest::newRow("Ügyfelek") << "aTorzsUgyfel"
                              << "ugyfel"
                              << "ugyfel_nev"
                              << "ugyfel_nev";
    QTest::newRow("Kassza típusok") << "aTorzsKasszaTipus"
                                    << "kasszatip"
                                    << "kasszatip_nev"
                                    << "kasszatip_nev";
    QTest::newRow("Kasszák") << "aTorzsKassza"
                             << "kassza"
                             << "kassza_nev"
                             << "TitlePanel";
}

void TestMainScreen::masterListsRefreshTheNamesShown()
{
    QFETCH(QString, action);
    QFETCH(QString, table);
    QFETCH(QString, field);
    QFETCH(QString, shownIn);

    // Each list renames its first row, as the user would in it.
    const auto rename = [this, table, field] {
        m_db.engine->update(table, table, 1, {{field, QStringLiteral("Új név")}});
    };
    m_dialogs.clients = [rename](QWidget *) { rename(); };
    m_dialogs.movementTypes = [rename](QWidget *) { rename(); };
    m_dialogs.tills = [rename](int, bool, QString *, QWidget *) {
        rename();
        return -1;
    };
    auto w = window();
    QVERIFY(w);
    w->action(action)->trigger();
    QVERIFY(m_db.messages.shown.isEmpty());
    if (shownIn == QLatin1String("TitlePanel")) {
        QCOMPARE(w->findChild<QLabel *>(shownIn)->text(), QStringLiteral("Kassza: Új név"));
        QCOMPARE(w->statusText(2), QStringLiteral("Kassza: Új név"));
        QCOMPARE(m_db.session.tillName, QStringLiteral("Új név"));
    } else {
        const int column = w->ledger()->record().indexOf(shownIn);
        QCOMPARE(w->ledger()->index(0, column).data().toString(), QStringLiteral("Új név"));
    }
}

int main(int argc, char **argv)
{
    DromvelApplication app(argc, argv);
    TestMainScreen test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainscreen.moc"

#include "scriptedmessages.h"
#include "tfrm_adatbazisnyitbde.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestAdatbazisNyit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstLinePreselectedAndOkTakesExistingFolder();
    void okRefusesMissingFolderAndStaysOpen();
    void doubleClickAcceptsWithoutChecking();
    void noSelectionMeansOkDoesNothing();
    void modalCallReturnsIndex();
    void serverEntryIsNoFolder_data();
    void serverEntryIsNoFolder();

private:
    QStringList names() const { return {"Teszt", "Éles", "Régi"}; }
    QStringList entries() const
    {
        return {"Teszt;" + m_dir.filePath("a") + ";", "Éles;" + m_dir.filePath("b") + ";",
                "Régi;" + m_dir.filePath("nincs") + ";"};
    }

    QTemporaryDir m_dir;
    ScriptedMessages m_messages;
};

void TestAdatbazisNyit::init()
{
    QDir().mkpath(m_dir.filePath("a"));
    QDir().mkpath(m_dir.filePath("b"));
    m_messages.clear();
}

void TestAdatbazisNyit::firstLinePreselectedAndOkTakesExistingFolder()
{
    Tfrm_AdatbazisNyitBDE form(names(), entries(), "Választás", m_messages);
    form.show();
    QCOMPARE(form.windowTitle(), QStringLiteral("Választás"));
    auto *list = form.findChild<QListWidget *>("ListBox1");
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Éles"));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::mouseClick(form.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.chosenIndex(), 1);
    QVERIFY(m_messages.shown.isEmpty());
}

void TestAdatbazisNyit::okRefusesMissingFolderAndStaysOpen()
{
    Tfrm_AdatbazisNyitBDE form(names(), entries(), "x", m_messages);
    form.show();
    form.findChild<QListWidget *>("ListBox1")->setCurrentRow(2);
    QTest::mouseClick(form.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QVERIFY(form.isVisible());
    QCOMPARE(form.chosenIndex(), -1);
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QCOMPARE(m_messages.shown.first().text, QStringLiteral("Nem létező adatbázis mappa"));
}

void TestAdatbazisNyit::doubleClickAcceptsWithoutChecking()
{
    Tfrm_AdatbazisNyitBDE form(names(), entries(), "x", m_messages);
    form.show();
    auto *list = form.findChild<QListWidget *>("ListBox1");
    const QRect rect = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.chosenIndex(), 2);
    QVERIFY(m_messages.shown.isEmpty());
}

void TestAdatbazisNyit::noSelectionMeansOkDoesNothing()
{
    Tfrm_AdatbazisNyitBDE form(names(), entries(), "x", m_messages);
    form.show();
    form.findChild<QListWidget *>("ListBox1")->clearSelection();
    QTest::mouseClick(form.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QVERIFY(form.isVisible());
    QVERIFY(m_messages.shown.isEmpty());
}

// Enter is OK (the default button), Escape is Mégsem.
void TestAdatbazisNyit::modalCallReturnsIndex()
{
    auto press = [](Qt::Key key) {
        QTimer::singleShot(0, [key] {
            auto *form = qobject_cast<Tfrm_AdatbazisNyitBDE *>(QApplication::activeModalWidget());
            QVERIFY(form);
            auto *list = form->findChild<QListWidget *>("ListBox1");
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, key);
        });
    };
    press(Qt::Key_Return);
    QCOMPARE(AdatbazisValaszt(names(), entries(), "x", m_messages), 1);
    press(Qt::Key_Escape);
    QCOMPARE(AdatbazisValaszt(names(), entries(), "x", m_messages), -1);
}

void TestAdatbazisNyit::serverEntryIsNoFolder_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("tip");
    QTest::newRow("server") << "postgresql://kovacs@iroda:5433/penztar"
                            << "kiszolgáló: iroda:5433/penztar, felhasználó: kovacs";
    // Opening it says what is wrong with it.
    QTest::newRow("malformed address") << "postgresql://iroda"
                                       << "hibás kiszolgáló cím: postgresql://iroda";
}

// OK takes a server entry without looking for a folder of its name: opening the database checks it.
void TestAdatbazisNyit::serverEntryIsNoFolder()
{
    QFETCH(QString, path);
    QFETCH(QString, tip);
    Tfrm_AdatbazisNyitBDE form({"Teszt", "Központ"}, {entries().first(), "Központ;" + path + ";"}, "x", m_messages);
    form.show();
    auto *list = form.findChild<QListWidget *>("ListBox1");
    QCOMPARE(list->item(1)->toolTip(), tip);
    QCOMPARE(list->item(0)->toolTip(), m_dir.filePath("a"));
    list->setCurrentRow(1);
    QTest::mouseClick(form.findChild<QPushButton *>("btnOK"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.chosenIndex(), 1);
    QVERIFY(m_messages.shown.isEmpty());
}

QTEST_MAIN(TestAdatbazisNyit)
#include "test_adatbazisnyitbde.moc"

#include "choosers.h"
#include "masterdatafixture.h"
#include "tfrm_torzskasszatip.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

class TestMovementTypes : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_db.openDatabase(QStringLiteral("types")); }
    void cleanup() { m_db.close(); }

    void newTypeIsAPaymentUntilToldOtherwise();
    void szorzoChoiceRewritesBothFields();
    void okWithoutAChangeWritesOnlyTheChoice();
    void listShowsTheDirectionNameAndSearchesByName();
    void chooserReturnsTypeDirectionAndFlag();
    void chooserOnAnEmptyListAndWhenClosed();

private:
    qint64 type(const QString &name, int szorzo, const QString &elszamolas = QStringLiteral("N"))
    {
        return m_db.engine->insert(QStringLiteral("kasszatip"),
                                   {{QStringLiteral("kasszatip_nev"), name},
                                    {QStringLiteral("szorzo"), szorzo},
                                    {QStringLiteral("kibe"), szorzo == -1 ? QStringLiteral("K") : QStringLiteral("B")},
                                    {QStringLiteral("elszamolas"), elszamolas}});
    }
    QVariant field(qint64 id, const char *name)
    {
        return m_db.scalar(
            QStringLiteral("SELECT %1 FROM kasszatip WHERE kasszatip=%2;").arg(QString::fromLatin1(name)).arg(id));
    }

    MasterDataFixture m_db;
};

void TestMovementTypes::newTypeIsAPaymentUntilToldOtherwise()
{
    Tfrm_TorzsKasszaTip window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    OnNextModal([](QDialog *editor) {
        QCOMPARE(editor->windowTitle(), QStringLiteral("Kassza típus szerkesztés"));
        QVERIFY(editor->findChild<QRadioButton *>("rbKiadas")->isChecked());
        QVERIFY(!editor->findChild<QCheckBox *>("elszamolas")->isChecked());
        TypeText(editor->findChild<QLineEdit *>("kasszatip_nev"), QStringLiteral("Anyagvásárlás"));
        QTest::mouseClick(editor->findChild<QPushButton *>("bOK"), Qt::LeftButton);
    });
    QTest::keyClick(window.grid(), Qt::Key_Insert);
    const qint64 id = window.currentKey();
    QVERIFY(id > 0);
    QCOMPARE(field(id, "kasszatip_nev").toString(), QStringLiteral("Anyagvásárlás"));
    QCOMPARE(field(id, "szorzo").toInt(), -1);
    QCOMPARE(field(id, "kibe").toString(), QStringLiteral("K"));
    QCOMPARE(field(id, "elszamolas").toString(), QStringLiteral("N"));
    QCOMPARE(window.currentValue(QStringLiteral("nev")).toString(), QStringLiteral("kiadás"));

    // A cancelled new type writes nothing.
    OnNextModal([](QDialog *editor) { QTest::keyClick(editor, Qt::Key_Escape); });
    window.newAction()->trigger();
    QCOMPARE(m_db.count(QStringLiteral("kasszatip")), 1);
}

void TestMovementTypes::szorzoChoiceRewritesBothFields()
{
    const qint64 receipt = type(QStringLiteral("Pénzfelvétel"), 1);
    m_db.engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Üres")}});
    Tfrm_TorzsKasszaTip window(m_db.session, *m_db.engine, m_db.messages);
    window.open(static_cast<int>(receipt));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    OnNextModal([](QDialog *editor) {
        QVERIFY(editor->findChild<QRadioButton *>("rbBevetel")->isChecked());
        QTest::mouseClick(editor->findChild<QRadioButton *>("rbKiadas"), Qt::LeftButton);
        QTest::keyClick(editor->findChild<QCheckBox *>("elszamolas"), Qt::Key_Space);
        QTest::mouseClick(editor->findChild<QPushButton *>("bOK"), Qt::LeftButton);
    });
    QTest::keyClick(window.grid(), Qt::Key_F2);
    QCOMPARE(field(receipt, "szorzo").toInt(), -1);
    QCOMPARE(field(receipt, "kibe").toString(), QStringLiteral("K"));
    QCOMPARE(field(receipt, "elszamolas").toString(), QStringLiteral("I"));

    // An empty multiplier shows as a receipt type and is written as one.
    TypeChar(window.grid(), QStringLiteral("Ü"));
    QCOMPARE(window.currentValue(QStringLiteral("kasszatip_nev")).toString(), QStringLiteral("Üres"));
    OnNextModal([](QDialog *editor) {
        QVERIFY(editor->findChild<QRadioButton *>("rbBevetel")->isChecked());
        QTest::mouseClick(editor->findChild<QPushButton *>("bOK"), Qt::LeftButton);
    });
    window.editAction()->trigger();
    QCOMPARE(m_db.scalar(QStringLiteral("SELECT kibe FROM kasszatip WHERE kasszatip_nev='Üres';")).toString(),
             QStringLiteral("B"));
}

void TestMovementTypes::okWithoutAChangeWritesOnlyTheChoice()
{
    // A type written by hand with no advance flag: the box shows "no", and OK must not store that "N".
    const qint64 id = m_db.engine->insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), "Posta"},
                                                                        {QStringLiteral("szorzo"), -1},
                                                                        {QStringLiteral("kibe"), QStringLiteral("K")}});
    Tfrm_TorzsKasszaTip window(m_db.session, *m_db.engine, m_db.messages);
    window.open(static_cast<int>(id));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    OnNextModal([](QDialog *editor) {
        QVERIFY(!editor->findChild<QCheckBox *>("elszamolas")->isChecked());
        QTest::mouseClick(editor->findChild<QPushButton *>("bOK"), Qt::LeftButton);
    });
    QTest::keyClick(window.grid(), Qt::Key_F2);
    QVERIFY(field(id, "elszamolas").isNull());
    QCOMPARE(field(id, "kasszatip_nev").toString(), QStringLiteral("Posta"));
    QCOMPARE(field(id, "szorzo").toInt(), -1);
}

void TestMovementTypes::listShowsTheDirectionNameAndSearchesByName()
{
    type(QStringLiteral("bérlet"), -1);
    type(QStringLiteral("Árbevétel"), 1);
    type(QStringLiteral("Alkatrész"), -1);
    Tfrm_TorzsKasszaTip window(m_db.session, *m_db.engine, m_db.messages);
    window.open(-1);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTableView *grid = window.grid();
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("kassza típus"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("kiadás/bevétel"));
    QCOMPARE(window.currentValue(QStringLiteral("kasszatip_nev")).toString(), QStringLiteral("Alkatrész"));
    QCOMPARE(window.recordPositionLabel()->text(), QStringLiteral("3: 1"));
    TypeText(window.searchBox(), QStringLiteral("ÁR"));
    QCOMPARE(window.currentValue(QStringLiteral("nev")).toString(), QStringLiteral("bevétel"));
}

void TestMovementTypes::chooserReturnsTypeDirectionAndFlag()
{
    type(QStringLiteral("Bevétel"), 1);
    const qint64 advance = type(QStringLiteral("Előleg"), -1, QStringLiteral("I"));
    OnNextModal([](QDialog *window) {
        QCOMPARE(window->windowTitle(), QStringLiteral("Kiadás kasszatípus"));
        auto *list = qobject_cast<ListWindow *>(window);
        TypeChar(list->grid(), QStringLiteral("e"));
        QTest::keyClick(list->searchBox(), Qt::Key_Return);
    });
    const KasszaTipChoice choice =
        KasszaTipValasztKibe(m_db.session, *m_db.engine, m_db.messages, -1, true, QStringLiteral("Kiadás kasszatípus"));
    QCOMPARE(choice.kasszatip, int(advance));
    QCOMPARE(choice.kibe, QStringLiteral("K"));
    QCOMPARE(choice.elszamolas, QStringLiteral("I"));

    OnNextModal([](QDialog *window) { qobject_cast<ListWindow *>(window)->acceptAction()->trigger(); });
    QCOMPARE(KasszaTipValaszt(m_db.session, *m_db.engine, m_db.messages, -1, true, QStringLiteral("Kassza típusok")),
             1);
}

void TestMovementTypes::chooserOnAnEmptyListAndWhenClosed()
{
    OnNextModal([](QDialog *window) { qobject_cast<ListWindow *>(window)->acceptAction()->trigger(); });
    const KasszaTipChoice empty =
        KasszaTipValasztKibe(m_db.session, *m_db.engine, m_db.messages, -1, true, QStringLiteral("Kassza típusok"));
    QCOMPARE(empty.kasszatip, 0);
    QCOMPARE(empty.kibe, QString());
    QCOMPARE(empty.elszamolas, QString());

    type(QStringLiteral("Bevétel"), 1);
    OnNextModal([](QDialog *window) { QTest::keyClick(window, Qt::Key_Escape); });
    const KasszaTipChoice closed =
        KasszaTipValasztKibe(m_db.session, *m_db.engine, m_db.messages, -1, true, QStringLiteral("Kassza típusok"));
    QCOMPARE(closed.kasszatip, -1);
    QCOMPARE(closed.kibe, QString());
}

QTEST_MAIN(TestMovementTypes)
#include "test_movementtypes.moc"

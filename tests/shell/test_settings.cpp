#include "filefaults.h"
#include "inibytes.h"
#include "query.h"
#include "settings.h"
#include "testdatabase.h"
#include "tfrm_beallit.h"
#include "util.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

template <typename T> T *Child(QWidget *form, const char *name)
{
    return form->findChild<T *>(QString::fromLatin1(name));
}

// On the indicator: the middle of a stretched box may lie beyond its text.
void Click(QWidget *form, const char *name)
{
    auto *button = Child<QAbstractButton>(form, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
}

// The dialog flow with the dialog driven by `drive` once it is on screen.
bool RunDialog(TestDatabase &db, std::function<void(Tfrm_Beallit *)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto *dialog = qobject_cast<Tfrm_Beallit *>(QApplication::activeModalWidget());
        QVERIFY(dialog && QTest::qWaitForWindowExposed(dialog));
        drive(dialog);
    });
    return BeallitasokMegnyit(db.session, *db.engine, db.fileDialogs);
}

// One row as text, NULL as "-".
QString Row(Engine &engine, const QString &sql)
{
    Query q(engine, sql);
    q.open();
    QStringList values;
    if (q.next())
        for (int i = 0; i < q.fieldCount(); ++i)
            values.append(q.value(i).isNull() ? QStringLiteral("-") : q.value(i).toString());
    return values.join(QLatin1Char('|'));
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void iniValuesAndTheirDefaults_data();
    void iniValuesAndTheirDefaults();
    void closingWritesEveryKeyInOrder();
    void unwritableIniIsTold();
    void quittingOnAFullDiskKeepsTheList();
    void okPostsRowsAndChangesMemory();
    void cancelChangesNothingButRereadsTheRow();
    void browseAndEnter();
    void missingRowsAreAddedNotLost();

private:
    TestDatabase m_db;
};

void TestSettings::init()
{
    m_db.fresh(QStringLiteral("test_settings"));
    m_db.session.iniPath = QDir(m_db.folder).filePath(QStringLiteral("DromvelPro.ini"));
    m_db.session.databaseFolder = m_db.folder;
}

void TestSettings::cleanup()
{
    m_db.close();
}

void TestSettings::iniValuesAndTheirDefaults_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("expected"); // vissza csakEgyet fullScreen fontSize till tillName html bounds
    const QString defaults = QStringLiteral("0 0 0 9 1 Dromvel %1/Html 0,0,777,550").arg(DataFolder());
    QTest::newRow("missing file") << QByteArray() << defaults;
    QTest::newRow("unreadable values") << QByteArray("[Defaults]\nVissza=igen\nFontSize=nagy\n[Screen]\nWidth=x\n")
                                       << defaults;
    QTest::newRow("every key, FontSize 12 as is")
        << QByteArray("[Defaults]\nVissza=1\nCsakEgyetNyomtat=5\nFontSize=12\nCassa=4\nCassaName=Bolt\n[Screen]\n"
                      "FullScreen=1\nLeft=20\nTop=30\nWidth=900\nHeight=600\n[Export]\nHtml=/srv/html\n")
        << "1 1 1 12 4 Bolt /srv/html 20,30,900,600";
}

void TestSettings::iniValuesAndTheirDefaults()
{
    QFETCH(QByteArray, ini);
    QFile file(m_db.session.iniPath);
    if (!ini.isNull())
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size());
    file.close();
    QVERIFY(m_db.session.ini.load(m_db.session.iniPath));
    ReadIniSettings(m_db.session);
    const QRect b = ReadMainWindowBounds(m_db.session.ini);
    QTEST(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8,%9,%10,%11")
              .arg(m_db.session.vissza)
              .arg(m_db.session.csakEgyetNyomtat)
              .arg(m_db.session.fullScreen)
              .arg(m_db.session.fontSize)
              .arg(m_db.session.till)
              .arg(m_db.session.tillName, m_db.session.htmlFolder)
              .arg(b.x())
              .arg(b.y())
              .arg(b.width())
              .arg(b.height()),
          "expected");
}

void TestSettings::closingWritesEveryKeyInOrder()
{
    m_db.session.fullScreen = true;
    m_db.session.tillName = QStringLiteral("Főpénztár");
    QVERIFY(WriteIniSettings(m_db.session, m_db.messages, QRect(5, 6, 800, 500)));
    IniFile written;
    QVERIFY(written.load(m_db.session.iniPath));
    QCOMPARE(written.sections(), (QStringList{"Defaults", "Screen", "Export"}));
    QCOMPARE(written.sectionKeys(QStringLiteral("Defaults")),
             (QStringList{"Vissza", "CsakEgyetNyomtat", "FontSize", "Cassa", "CassaName"}));
    QCOMPARE(written.sectionKeys(QStringLiteral("Screen")),
             (QStringList{"FullScreen", "Left", "Top", "Width", "Height"}));
    QCOMPARE(written.readString(QStringLiteral("Export"), QStringLiteral("Html")), DataFolder() + "/Html");

    Session next; // the next start
    next.ini = written;
    ReadIniSettings(next);
    QVERIFY(next.fullScreen && !next.vissza);
    QCOMPARE(next.tillName, QStringLiteral("Főpénztár"));
    QCOMPARE(ReadMainWindowBounds(written), QRect(5, 6, 800, 500));
}

void TestSettings::unwritableIniIsTold()
{
    QFile blocker(QDir(m_db.folder).filePath(QStringLiteral("blocker"))); // a file where the ini's folder should be
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    m_db.session.iniPath = blocker.fileName() + QStringLiteral("/DromvelPro.ini");
    QVERIFY(!WriteIniSettings(m_db.session, m_db.messages, QRect()));
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY(m_db.messages.shown.first().text.contains(m_db.session.iniPath));
}

void TestSettings::quittingOnAFullDiskKeepsTheList()
{
    const QByteArray stored = "[Adatbazis]\r\nConStr1=1. Teszt adatb\xE1zis;/srv/teszt;\r\n";
    QVERIFY(WriteBytes(m_db.session.iniPath, stored));
    QVERIFY(m_db.session.ini.load(m_db.session.iniPath));
    bool saved = true;
    {
        const FileSizeLimit disk(64);
        if (!disk.active())
            QSKIP("the file size limit cannot be set");
        saved = WriteIniSettings(m_db.session, m_db.messages, QRect(5, 6, 800, 500));
    }
    QVERIFY(!saved);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
    QFile file(m_db.session.iniPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), stored);
}

void TestSettings::okPostsRowsAndChangesMemory()
{
    m_db.session.csakEgyetNyomtat = true;
    m_db.session.ini.writeInt(QStringLiteral("Tfrm_Beallit"), QStringLiteral("Left"), 120);
    m_db.engine->exec(QStringLiteral("UPDATE beallit SET metodus=1;"));
    const bool ok = RunDialog(m_db, [](Tfrm_Beallit *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Beállítások"));
        QCOMPARE(dialog->x(), 120);
        QVERIFY(Child<QCheckBox>(dialog, "cbCsakEgyetNyomtat")->isChecked());
        QVERIFY(Child<QRadioButton>(dialog, "rbMetodus1")->isChecked());
        QCOMPARE(Child<QLineEdit>(dialog, "edt_adoszam")->maxLength(), 11);
        for (const char *box : {"cbFullScreen", "cbVissza", "cbCsakEgyetNyomtat", "cbVanBelep", "cbAutoNyomtat"})
            Click(dialog, box);
        Click(dialog, "rbMetodus2");
        Child<QLineEdit>(dialog, "edtFormatFt")->setText(QStringLiteral("# ##0.00"));
        Child<QLineEdit>(dialog, "edtAdatbazis")->setText(QStringLiteral("/mnt/masik"));
        Child<QLineEdit>(dialog, "edt_tulajdonos")->setText(QStringLiteral("Minta Kft."));
        QTest::mouseClick(Child<QPushButton>(dialog, "btnOk"), Qt::LeftButton);
    });
    QVERIFY(ok);
    QVERIFY(m_db.session.fullScreen && m_db.session.vissza && !m_db.session.csakEgyetNyomtat);
    QCOMPARE(m_db.session.databaseFolder, QStringLiteral("/mnt/masik"));
    QVERIFY(m_db.session.vanBelep && m_db.session.autoNyomtat && m_db.session.metodus == 2);
    QCOMPARE(Row(*m_db.engine, QStringLiteral("SELECT vanbelep, autonyomtat, metodus, formatft FROM beallit;")),
             QStringLiteral("I|I|2|# ##0.00"));
    // The owner row has no name yet: found by its row id, not by its empty key.
    QCOMPARE(Row(*m_db.engine, QStringLiteral("SELECT count(*), tulajdonos, telefon FROM tulajdonos;")),
             QStringLiteral("1|Minta Kft.|-"));
    QVERIFY(!QFile::exists(m_db.session.iniPath)); // written when the main window closes
}

void TestSettings::cancelChangesNothingButRereadsTheRow()
{
    QVERIFY(!RunDialog(m_db, [this](Tfrm_Beallit *dialog) {
        for (const char *box : {"cbFullScreen", "cbVissza", "cbCsakEgyetNyomtat", "cbVanBelep", "rbMetodus1"})
            Click(dialog, box);
        Child<QLineEdit>(dialog, "edtAdatbazis")->setText(QStringLiteral("/mnt/masik"));
        Child<QLineEdit>(dialog, "edt_tulajdonos")->setText(QStringLiteral("Más Kft."));
        // Another workstation changes the row meanwhile.
        m_db.engine->exec(QStringLiteral("UPDATE beallit SET autonyomtat='I', formatft=NULL;"));
        QTest::keyClick(dialog, Qt::Key_Escape);
    }));
    QVERIFY(!m_db.session.fullScreen && !m_db.session.vissza && !m_db.session.csakEgyetNyomtat &&
            !m_db.session.vanBelep);
    QCOMPARE(m_db.session.databaseFolder, m_db.folder);
    QVERIFY(m_db.session.autoNyomtat); // read again
    QCOMPARE(m_db.session.formatFt, QString());
    QCOMPARE(Row(*m_db.engine, QStringLiteral("SELECT * FROM beallit;")), QStringLiteral("1|N|I|0|-|1500000"));
    QCOMPARE(Row(*m_db.engine, QStringLiteral("SELECT tulajdonos FROM tulajdonos;")), QStringLiteral("-"));
}

void TestSettings::browseAndEnter()
{
    m_db.fileDialogs.answers = {QString(), QStringLiteral("/srv/adat")};
    Tfrm_Beallit dialog(m_db.session, *m_db.engine, m_db.fileDialogs);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *path = Child<QLineEdit>(&dialog, "edtAdatbazis");
    auto *browse = Child<QPushButton>(&dialog, "btnTalloz");
    path->setFocus();
    QTest::keyClick(path, Qt::Key_Return); // moves on to the browse button, whose Enter opens the chooser
    QCOMPARE(QApplication::focusWidget(), browse);
    QTest::keyClick(browse, Qt::Key_Return); // cancelled
    QCOMPARE(path->text(), m_db.folder);
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(path->text(), QStringLiteral("/srv/adat"));
    QCOMPARE(m_db.fileDialogs.asked.at(0).caption, QStringLiteral("Adatbázis mappa"));
    QCOMPARE(m_db.fileDialogs.asked.at(0).path, m_db.folder);

    // Enter walks the page down to OK without closing the dialog.
    Child<QCheckBox>(&dialog, "cbFullScreen")->setFocus();
    auto *ok = Child<QPushButton>(&dialog, "btnOk");
    for (int i = 0; i < 20 && QApplication::focusWidget() != ok; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), ok);
    QCOMPARE(finished.count(), 0);
}

void TestSettings::missingRowsAreAddedNotLost()
{
    m_db.engine->exec(QStringLiteral("DELETE FROM beallit;"));
    m_db.engine->exec(QStringLiteral("DELETE FROM tulajdonos;"));
    for (const char *phone : {"1", "2"}) {
        Tfrm_Beallit dialog(m_db.session, *m_db.engine, m_db.fileDialogs);
        Child<QLineEdit>(&dialog, "edt_telefon")->setText(QString::fromLatin1(phone));
        dialog.post();
    }
    QCOMPARE(Row(*m_db.engine, QStringLiteral("SELECT count(*), vanbelep FROM beallit;")), QStringLiteral("1|N"));
    QCOMPARE(Row(*m_db.engine, QStringLiteral("SELECT count(*), telefon FROM tulajdonos;")), QStringLiteral("1|2"));
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"

#include "engine.h"
#include "query.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessages.h"
#include "session.h"
#include "settings.h"
#include "tfrm_beallit.h"
#include "util.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// Runs action on the settings dialog once BeallitasokMegnyit() has opened it modally.
void WhenDialogOpens(std::function<void(Tfrm_Beallit *)> action)
{
    QTimer::singleShot(10, [action]() {
        if (auto *dialog = qobject_cast<Tfrm_Beallit *>(QApplication::activeModalWidget())) {
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            action(dialog);
        } else {
            WhenDialogOpens(action);
        }
    });
}

template <typename T> T *Child(QWidget *dialog, const char *name)
{
    T *child = dialog->findChild<T *>(QString::fromLatin1(name));
    if (!child)
        qFatal("missing child %s", name);
    return child;
}

// Clicks a check box or radio button on its indicator; its middle may lie beyond its text.
void Click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
}

// A NULL comes back as a typed null value; the tests compare it as the empty QVariant.
QVariantList Row(Engine &engine, const QString &sql)
{
    Query q(engine, sql);
    q.open();
    QVariantList values;
    if (q.next())
        for (int i = 0; i < q.fieldCount(); ++i)
            values.append(q.value(i).isNull() ? QVariant() : q.value(i));
    return values;
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
    void unwritableIniIsToldNotHidden();
    void settingsRowIsRead();

    void dialogShowsMemoryAndRows();
    void okPostsRowsAndChangesMemory();
    void cancelChangesNothingButRereadsTheRow();
    void browseReplacesThePathOnlyWhenChosen();
    void enterMovesOnAndTheWarningLabelWorksItsBox();
    void missingRowsAreAddedNotLost();

private:
    QTemporaryDir *m_dir = nullptr;
    Engine *m_engine = nullptr;
    ScriptedMessages m_messages;
    ScriptedFileDialogs m_files;
    Session m_session;
};

void TestSettings::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    QDir().mkpath(m_dir->filePath(QStringLiteral("db")));
    m_engine = new Engine(QStringLiteral("test_settings"));
    m_engine->open(m_dir->filePath(QStringLiteral("db")));
    m_messages = {};
    m_files = {};
    m_session = Session();
    m_session.engine = m_engine;
    m_session.messages = &m_messages;
    m_session.fileDialogs = &m_files;
    m_session.iniPath = m_dir->filePath(QStringLiteral("DromvelPro.ini"));
    m_session.databaseFolder = m_dir->filePath(QStringLiteral("db"));
}

void TestSettings::cleanup()
{
    delete m_engine;
    m_engine = nullptr;
    delete m_dir;
    m_dir = nullptr;
}

void TestSettings::iniValuesAndTheirDefaults_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("vissza");
    QTest::addColumn<bool>("csakEgyet");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("till");
    QTest::addColumn<QString>("tillName");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QRect>("bounds");

    const QString defaultHtml = DataFolder() + QStringLiteral("/Html");
    QTest::newRow("missing file") << QString() << false << false << false << 9 << 1 << "Dromvel" << defaultHtml
                                  << QRect(0, 0, 777, 550);
    QTest::newRow("every key") << "[Defaults]\nVissza=1\nCsakEgyetNyomtat=5\nFontSize=12\nCassa=4\n"
                                  "CassaName=Bolt\n[Screen]\nFullScreen=1\nLeft=20\nTop=30\nWidth=900\nHeight=600\n"
                                  "[Export]\nHtml=/srv/html\n"
                               << true << true << true << 12 << 4 << "Bolt"
                               << "/srv/html" << QRect(20, 30, 900, 600);
    QTest::newRow("unreadable values give defaults")
        << "[Defaults]\nVissza=igen\nFontSize=nagy\nCassa=\n[Screen]\nWidth=széles\n"
        << false << false << false << 9 << 1 << "Dromvel" << defaultHtml << QRect(0, 0, 777, 550);
}

void TestSettings::iniValuesAndTheirDefaults()
{
    QFETCH(QString, ini);
    if (!ini.isNull()) {
        QFile file(m_session.iniPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini.toLatin1());
    }
    QVERIFY(m_session.ini.load(m_session.iniPath));
    ReadIniSettings(m_session);
    QTEST(m_session.vissza, "vissza");
    QTEST(m_session.csakEgyetNyomtat, "csakEgyet");
    QTEST(m_session.fullScreen, "fullScreen");
    QTEST(m_session.fontSize, "fontSize");
    QTEST(m_session.till, "till");
    QTEST(m_session.tillName, "tillName");
    QTEST(m_session.htmlFolder, "html");
    QTEST(ReadMainWindowBounds(m_session.ini), "bounds");
}

void TestSettings::closingWritesEveryKeyInOrder()
{
    m_session.vissza = true;
    m_session.fullScreen = true;
    m_session.fontSize = 12;
    m_session.till = 3;
    m_session.tillName = QStringLiteral("Főpénztár");
    m_session.htmlFolder = QStringLiteral("/srv/html");
    QVERIFY(WriteIniSettings(m_session, QRect(5, 6, 800, 500)));
    QVERIFY(m_messages.shown.isEmpty());

    IniFile written;
    QVERIFY(written.load(m_session.iniPath));
    QCOMPARE(written.sections(), (QStringList{"Defaults", "Screen", "Export"}));
    QCOMPARE(written.sectionKeys(QStringLiteral("Defaults")),
             (QStringList{"Vissza", "CsakEgyetNyomtat", "FontSize", "Cassa", "CassaName"}));
    QCOMPARE(written.sectionKeys(QStringLiteral("Screen")),
             (QStringList{"FullScreen", "Left", "Top", "Width", "Height"}));
    QCOMPARE(written.sectionKeys(QStringLiteral("Export")), QStringList{"Html"});

    // The next start reads back what was written.
    Session next;
    next.ini = written;
    ReadIniSettings(next);
    QCOMPARE(next.vissza, true);
    QCOMPARE(next.fullScreen, true);
    QCOMPARE(next.csakEgyetNyomtat, false);
    QCOMPARE(next.fontSize, 12);
    QCOMPARE(next.till, 3);
    QCOMPARE(next.tillName, QStringLiteral("Főpénztár"));
    QCOMPARE(next.htmlFolder, QStringLiteral("/srv/html"));
    QCOMPARE(ReadMainWindowBounds(written), QRect(5, 6, 800, 500));
}

void TestSettings::unwritableIniIsToldNotHidden()
{
    // A file stands where the ini's folder should be.
    QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_session.iniPath = m_dir->filePath(QStringLiteral("blocker/DromvelPro.ini"));
    QVERIFY(!WriteIniSettings(m_session, QRect(0, 0, 777, 550)));
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY(m_messages.shown.first().text.contains(QDir::toNativeSeparators(m_session.iniPath)));
}

void TestSettings::settingsRowIsRead()
{
    ReadSettingsRow(m_session);
    QCOMPARE(m_session.vanBelep, false);
    QCOMPARE(m_session.autoNyomtat, false);
    QCOMPARE(m_session.metodus, 0);
    QCOMPARE(m_session.formatFt, QStringLiteral("### ### ##0"));

    m_engine->exec(QStringLiteral("UPDATE beallit SET vanbelep='I', autonyomtat='I', metodus=2, "
                                  "formatft='# ##0.00';"));
    ReadSettingsRow(m_session);
    QCOMPARE(m_session.vanBelep, true);
    QCOMPARE(m_session.autoNyomtat, true);
    QCOMPARE(m_session.metodus, 2);
    QCOMPARE(m_session.formatFt, QStringLiteral("# ##0.00"));

    // Anything but 'I' is off; an empty format is the general one.
    m_engine->exec(QStringLiteral("UPDATE beallit SET vanbelep='i', autonyomtat=NULL, metodus=NULL, formatft=NULL;"));
    ReadSettingsRow(m_session);
    QCOMPARE(m_session.vanBelep, false);
    QCOMPARE(m_session.autoNyomtat, false);
    QCOMPARE(m_session.metodus, 0);
    QCOMPARE(m_session.formatFt, QString());
}

void TestSettings::dialogShowsMemoryAndRows()
{
    m_session.fullScreen = true;
    m_session.csakEgyetNyomtat = true;
    m_engine->exec(QStringLiteral("UPDATE beallit SET vanbelep='I', metodus=1;"));
    m_engine->exec(QStringLiteral("UPDATE tulajdonos SET tulajdonos='Minta Bt.', adoszam='12345678111';"));
    Tfrm_Beallit dialog(m_session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Beállítások"));
    auto *tabs = Child<QTabWidget>(&dialog, "tabs");
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Beállítások"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Tulajdonos adatai"));
    QCOMPARE(Child<QLineEdit>(&dialog, "edtAdatbazis")->text(), m_session.databaseFolder);
    QVERIFY(Child<QCheckBox>(&dialog, "cbFullScreen")->isChecked());
    QVERIFY(!Child<QCheckBox>(&dialog, "cbVissza")->isChecked());
    QVERIFY(Child<QCheckBox>(&dialog, "cbCsakEgyetNyomtat")->isChecked());
    QVERIFY(Child<QCheckBox>(&dialog, "cbVanBelep")->isChecked());
    QVERIFY(!Child<QCheckBox>(&dialog, "cbAutoNyomtat")->isChecked());
    QVERIFY(Child<QRadioButton>(&dialog, "rbMetodus1")->isChecked());
    QCOMPARE(Child<QRadioButton>(&dialog, "rbMetodus2")->text(), QStringLiteral("Semmit"));
    QCOMPARE(Child<QLineEdit>(&dialog, "edtFormatFt")->text(), QStringLiteral("### ### ##0"));
    QCOMPARE(Child<QLineEdit>(&dialog, "edtFormatFt")->maxLength(), 20);
    QCOMPARE(Child<QLineEdit>(&dialog, "edt_tulajdonos")->text(), QStringLiteral("Minta Bt."));
    QCOMPARE(Child<QLineEdit>(&dialog, "edt_tulajdonos")->maxLength(), 100);
    QCOMPARE(Child<QLineEdit>(&dialog, "edt_adoszam")->text(), QStringLiteral("12345678111"));
    QCOMPARE(Child<QLineEdit>(&dialog, "edt_adoszam")->maxLength(), 11);
    QCOMPARE(Child<QLineEdit>(&dialog, "edt_bankszamlaszam")->maxLength(), 24);
    QVERIFY(Child<QLabel>(&dialog, "lblVissza")->wordWrap());
    QVERIFY(Child<QLabel>(&dialog, "lblVissza")->text().startsWith(QStringLiteral("Időben vissza adatok")));
}

void TestSettings::okPostsRowsAndChangesMemory()
{
    m_session.ini.writeInt(QStringLiteral("Tfrm_Beallit"), QStringLiteral("Left"), 120);
    m_session.ini.writeInt(QStringLiteral("Tfrm_Beallit"), QStringLiteral("Top"), 80);
    bool opened = false;
    WhenDialogOpens([&](Tfrm_Beallit *dialog) {
        opened = true;
        QCOMPARE(dialog->pos(), QPoint(120, 80));
        Click(Child<QCheckBox>(dialog, "cbFullScreen"));
        Click(Child<QCheckBox>(dialog, "cbVissza"));
        Click(Child<QCheckBox>(dialog, "cbVanBelep"));
        Click(Child<QCheckBox>(dialog, "cbAutoNyomtat"));
        Click(Child<QRadioButton>(dialog, "rbMetodus2"));
        auto *format = Child<QLineEdit>(dialog, "edtFormatFt");
        format->selectAll();
        QTest::keyClicks(format, "# ##0.00");
        auto *path = Child<QLineEdit>(dialog, "edtAdatbazis");
        path->selectAll();
        QTest::keyClicks(path, "/mnt/masik");
        Child<QTabWidget>(dialog, "tabs")->setCurrentIndex(1);
        QTest::keyClicks(Child<QLineEdit>(dialog, "edt_tulajdonos"), "Minta Kft.");
        QTest::keyClicks(Child<QLineEdit>(dialog, "edt_varos"), "Szeged");
        QTest::mouseClick(Child<QPushButton>(dialog, "btnOk"), Qt::LeftButton);
    });
    QVERIFY(BeallitasokMegnyit(m_session));
    QVERIFY(opened);

    QCOMPARE(m_session.fullScreen, true);
    QCOMPARE(m_session.vissza, true);
    QCOMPARE(m_session.csakEgyetNyomtat, false);
    QCOMPARE(m_session.databaseFolder, QStringLiteral("/mnt/masik"));
    // The session holds the row as read back after the post.
    QCOMPARE(m_session.vanBelep, true);
    QCOMPARE(m_session.autoNyomtat, true);
    QCOMPARE(m_session.metodus, 2);
    QCOMPARE(m_session.formatFt, QStringLiteral("# ##0.00"));
    QCOMPARE(Row(*m_engine, QStringLiteral("SELECT vanbelep, autonyomtat, metodus, formatft FROM beallit;")),
             (QVariantList{"I", "I", 2, "# ##0.00"}));
    QCOMPARE(Row(*m_engine, QStringLiteral("SELECT count(*), tulajdonos, varos, telefon FROM tulajdonos;")),
             (QVariantList{1, "Minta Kft.", "Szeged", QVariant()}));
    // The ini file itself is only written when the main window closes.
    QVERIFY(!QFile::exists(m_session.iniPath));
    QVERIFY(m_session.ini.valueExists(QStringLiteral("Tfrm_Beallit"), QStringLiteral("Left")));
}

void TestSettings::cancelChangesNothingButRereadsTheRow()
{
    const QString folder = m_session.databaseFolder;
    for (const bool escape : {false, true}) {
        WhenDialogOpens([&](Tfrm_Beallit *dialog) {
            Click(Child<QCheckBox>(dialog, "cbFullScreen"));
            Click(Child<QCheckBox>(dialog, "cbVissza"));
            Click(Child<QCheckBox>(dialog, "cbCsakEgyetNyomtat"));
            Click(Child<QCheckBox>(dialog, "cbVanBelep"));
            Click(Child<QRadioButton>(dialog, "rbMetodus1"));
            Child<QLineEdit>(dialog, "edtAdatbazis")->setText(QStringLiteral("/mnt/masik"));
            Child<QLineEdit>(dialog, "edt_tulajdonos")->setText(QStringLiteral("Más Kft."));
            // Another workstation changes the row meanwhile; closing the dialog must pick that up.
            m_engine->exec(QStringLiteral("UPDATE beallit SET formatft='0.00';"));
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                QTest::mouseClick(Child<QPushButton>(dialog, "btnCancel"), Qt::LeftButton);
        });
        QVERIFY(!BeallitasokMegnyit(m_session));
        QCOMPARE(m_session.fullScreen, false);
        QCOMPARE(m_session.vissza, false);
        QCOMPARE(m_session.csakEgyetNyomtat, false);
        QCOMPARE(m_session.databaseFolder, folder);
        QCOMPARE(m_session.vanBelep, false);
        QCOMPARE(m_session.formatFt, QStringLiteral("0.00"));
        QCOMPARE(Row(*m_engine, QStringLiteral("SELECT vanbelep, metodus FROM beallit;")), (QVariantList{"N", 0}));
        QCOMPARE(Row(*m_engine, QStringLiteral("SELECT tulajdonos FROM tulajdonos;")), QVariantList{QVariant()});
        m_engine->exec(QStringLiteral("UPDATE beallit SET formatft='### ### ##0';"));
    }
}

void TestSettings::browseReplacesThePathOnlyWhenChosen()
{
    m_files.answers = {QString(), QStringLiteral("/srv/adat")};
    Tfrm_Beallit dialog(m_session);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *path = Child<QLineEdit>(&dialog, "edtAdatbazis");
    auto *browse = Child<QPushButton>(&dialog, "btnTalloz");

    QTest::mouseClick(browse, Qt::LeftButton); // cancelled
    QCOMPARE(path->text(), m_session.databaseFolder);
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(path->text(), QStringLiteral("/srv/adat"));
    QCOMPARE(m_files.asked.size(), 2);
    QCOMPARE(m_files.asked.at(0).kind, QStringLiteral("folder"));
    QCOMPARE(m_files.asked.at(0).caption, QStringLiteral("Adatbázis mappa"));
    QCOMPARE(m_files.asked.at(0).path, m_session.databaseFolder);
    // Only OK hands the folder to the session.
    QCOMPARE(m_session.databaseFolder, m_dir->filePath(QStringLiteral("db")));
}

void TestSettings::enterMovesOnAndTheWarningLabelWorksItsBox()
{
    Tfrm_Beallit dialog(m_session);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *path = Child<QLineEdit>(&dialog, "edtAdatbazis");
    path->setFocus();
    QTest::keyClick(path, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), Child<QPushButton>(&dialog, "btnTalloz"));
    // A focused push button keeps its own Enter: the browse button opens the chooser.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(m_files.asked.size(), 1);
    // From the first box Enter walks every control of the page down to OK without closing the dialog.
    Child<QCheckBox>(&dialog, "cbFullScreen")->setFocus();
    auto *ok = Child<QPushButton>(&dialog, "btnOk");
    for (int i = 0; i < 20 && QApplication::focusWidget() != ok; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), ok);
    QCOMPARE(finished.count(), 0);

    auto *vissza = Child<QCheckBox>(&dialog, "cbVissza");
    QTest::mouseClick(Child<QLabel>(&dialog, "lblVissza"), Qt::LeftButton);
    QVERIFY(vissza->isChecked());
    QTest::mouseClick(Child<QLabel>(&dialog, "lblVissza"), Qt::LeftButton);
    QVERIFY(!vissza->isChecked());
}

void TestSettings::missingRowsAreAddedNotLost()
{
    m_engine->exec(QStringLiteral("DELETE FROM beallit;"));
    m_engine->exec(QStringLiteral("DELETE FROM tulajdonos;"));
    {
        Tfrm_Beallit dialog(m_session);
        Child<QCheckBox>(&dialog, "cbVanBelep")->setChecked(true);
        Child<QLineEdit>(&dialog, "edt_tulajdonos")->setText(QStringLiteral("Új Bt."));
        dialog.post();
    }
    QCOMPARE(Row(*m_engine, QStringLiteral("SELECT count(*), vanbelep FROM beallit;")), (QVariantList{1, "I"}));
    QCOMPARE(Row(*m_engine, QStringLiteral("SELECT count(*), tulajdonos FROM tulajdonos;")),
             (QVariantList{1, "Új Bt."}));
    // Posting again updates those rows instead of adding more.
    Tfrm_Beallit again(m_session);
    Child<QLineEdit>(&again, "edt_telefon")->setText(QStringLiteral("06-1-234-5678"));
    again.post();
    QCOMPARE(Row(*m_engine, QStringLiteral("SELECT count(*), telefon FROM tulajdonos;")),
             (QVariantList{1, "06-1-234-5678"}));
    QCOMPARE(Row(*m_engine, QStringLiteral("SELECT count(*) FROM beallit;")), QVariantList{1});
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"

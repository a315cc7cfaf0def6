#include "codepage.h"
#include "exportfixture.h"
#include "tfrm_grid2html.h"
#include "tfrm_hatarolt.h"
#include "util.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Rows of another source with something done after a given row: a click on "Megállít" while the export runs, or
// an engine failure half-way.
class InterruptedSource : public ExportSource
{
public:
    InterruptedSource(ExportSource &inner, qint64 after, std::function<void()> interrupt)
        : m_inner(inner), m_after(after), m_interrupt(std::move(interrupt))
    {}
    QList<ExportColumn> columns() override { return m_inner.columns(); }
    qint64 rowCount() override { return m_inner.rowCount(); }
    qint64 read(const std::function<bool(const ExportRow &)> &take) override
    {
        qint64 n = 0;
        return m_inner.read([&](const ExportRow &row) {
            if (!take(row))
                return false;
            if (++n == m_after)
                m_interrupt();
            return true;
        });
    }

private:
    ExportSource &m_inner;
    qint64 m_after;
    std::function<void()> m_interrupt;
};

} // namespace

class TestExportDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ExportFixture::initProcess(); }
    void init();

    void delimitedDialogStartsWithTheDefaults();
    void delimitedExportDrivenByKeysAndClicks();
    void stopDuringTheExportKeepsTheRowsWritten();
    void closingWhileRunningStopsFirst();
    void spreadsheetNameWritesXlsxAndOpensIt();
    void emptyPathAsksForAFile();
    void failedExportLeavesTheOldFile();

    void htmlDialogStartsWithTheDefaults();
    void htmlOkWritesOpensAndRemembersTheFolder();
    void htmlCancelWritesNothing();
    void htmlMailSendsTheSavedPage();
    void htmlWithoutMailProgramSaysSo();
    void htmlWriteFailureKeepsTheDialogOpen();

private:
    ExportServices services()
    {
        ExportServices s{m_db.messages, m_db.fileDialogs};
        s.openFile = [this](const QString &path) { m_opened.append(path); };
        s.runProgram = [this](const QString &program, const QStringList &arguments) {
            m_started.append(QStringList{program} + arguments);
            return m_mailStatus;
        };
        return s;
    }
    template <typename T> T *child(QWidget &dialog, const char *name)
    {
        T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no child %s", name);
        return widget;
    }
    void setPath(QWidget &dialog, const char *edit, const QString &path)
    {
        auto *box = child<QLineEdit>(dialog, edit);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, path);
    }

    ExportFixture m_db;
    QTemporaryDir m_dir;
    QStringList m_opened;
    QList<QStringList> m_started;
    int m_mailStatus = 0;
};

void TestExportDialogs::init()
{
    m_db.fresh(QStringLiteral("dialogs"));
    m_db.session.fontSize = 9;
    m_db.session.htmlFolder = m_dir.filePath(QStringLiteral("Html"));
    m_opened.clear();
    m_started.clear();
    m_mailStatus = 0;
    m_db.addRow(QStringLiteral("Első; tétel"), 1500.0, 1, QDate(2026, 3, 2));
    m_db.addRow(QStringLiteral("Második"), 250.5, 2, QDate(2026, 3, 3));
}

void TestExportDialogs::delimitedDialogStartsWithTheDefaults()
{
    SqlExportSource source = m_db.source();
    Tfrm_Hatarolt dialog(source, QString(), m_db.session, services());
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Határolt szöveg export"));
    QCOMPARE(QDir::fromNativeSeparators(dialog.path()),
             QDir(DocumentsFolder()).filePath(QStringLiteral("File001.csv")));
    auto *fields = child<QListWidget>(dialog, "lbMezok");
    QCOMPARE(fields->count(), 4);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(fields->item(i)->checkState(), Qt::Checked);
    QCOMPARE(fields->item(3)->text(), QStringLiteral("dat_kiadva"));
    QVERIFY(child<QRadioButton>(dialog, "rbPontosvesszo")->isChecked());
    QVERIFY(child<QRadioButton>(dialog, "rbSemmi")->isChecked());
    QCOMPARE(child<QRadioButton>(dialog, "rbIdezojel")->text(), QStringLiteral("Idézőjel (\")"));
    for (const char *box : {"cbTobbsoros", "cbEredetiNevek", "cbFejlecNemKell", "cbMegnyit"})
        QVERIFY(!child<QCheckBox>(dialog, box)->isChecked());
    QVERIFY(child<QPushButton>(dialog, "btnExport")->isDefault());
    QVERIFY(!child<QPushButton>(dialog, "btnMegallit")->isEnabled());
    QCOMPARE(child<QPushButton>(dialog, "btnBezar")->text(), QStringLiteral("Bezár"));

    // A report's proposed name stands in the documents folder, not wherever the program was started; a name with
    // its folder stays as it is.
    Tfrm_Hatarolt proposed(source, QStringLiteral("Kasszatörténet.csv"), m_db.session, services());
    QCOMPARE(QDir::fromNativeSeparators(proposed.path()),
             QDir(DocumentsFolder()).filePath(QStringLiteral("Kasszatörténet.csv")));
    const QString elsewhere = m_db.dir.filePath(QStringLiteral("Kasszatörténet.csv"));
    Tfrm_Hatarolt placed(source, elsewhere, m_db.session, services());
    QCOMPARE(QDir::fromNativeSeparators(placed.path()), elsewhere);
}

void TestExportDialogs::delimitedExportDrivenByKeysAndClicks()
{
    SqlExportSource source = m_db.source();
    Tfrm_Hatarolt dialog(source, QString(), m_db.session, services());
    dialog.show();
    const QString path = m_dir.filePath(QStringLiteral("ki.txt"));
    setPath(dialog, "edFilenev", path);
    // Enter in the path box moves on instead of starting the export.
    QTest::keyClick(child<QLineEdit>(dialog, "edFilenev"), Qt::Key_Return);
    QVERIFY(!QFile::exists(path));

    QTest::mouseClick(child<QPushButton>(dialog, "btnEgyikSem"), Qt::LeftButton);
    auto *fields = child<QListWidget>(dialog, "lbMezok");
    fields->item(0)->setCheckState(Qt::Checked);
    fields->item(1)->setCheckState(Qt::Checked);
    child<QRadioButton>(dialog, "rbCso")->click();
    child<QRadioButton>(dialog, "rbIdezojel")->click();
    child<QCheckBox>(dialog, "cbEredetiNevek")->click();
    auto *start = child<QPushButton>(dialog, "btnExport");
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Return);

    QCOMPARE(FileBytes(path), QByteArray("\"szoveg\"|\"osszeg\"|\r\n\"Els\xf5; t\xe9tel\"|\"1500\"|\r\n"
                                         "\"M\xe1sodik\"|\"250,5\"|\r\n"));
    QCOMPARE(m_db.messages.texts(), QStringList{QDir::toNativeSeparators(path) + QStringLiteral(" file kész.")});
    QVERIFY(dialog.isVisible());
    QVERIFY(m_opened.isEmpty());
}

void TestExportDialogs::stopDuringTheExportKeepsTheRowsWritten()
{
    for (int i = 3; i <= 40; ++i)
        m_db.addRow(QStringLiteral("sor %1").arg(i));
    SqlExportSource inner = m_db.source();
    Tfrm_Hatarolt *dialog = nullptr;
    InterruptedSource source(inner, 5, [&] {
        auto *stop = child<QPushButton>(*dialog, "btnMegallit");
        QVERIFY(stop->isEnabled());
        QVERIFY(!child<QPushButton>(*dialog, "btnExport")->isEnabled());
        QTest::mouseClick(stop, Qt::LeftButton);
    });
    Tfrm_Hatarolt form(source, m_dir.filePath(QStringLiteral("megallit.csv")), m_db.session, services());
    dialog = &form;
    form.show();
    QTest::mouseClick(child<QPushButton>(form, "btnExport"), Qt::LeftButton);

    const QList<QByteArray> lines = FileBytes(m_dir.filePath(QStringLiteral("megallit.csv"))).split('\n');
    QCOMPARE(lines.size(), 1 + 5 + 1);
    QVERIFY(lines.at(5).startsWith("sor 5;"));
    QCOMPARE(m_db.messages.texts(),
             QStringList{m_dir.filePath(QStringLiteral("megallit.csv")) + QStringLiteral(" file kész.")});
    QVERIFY(!child<QPushButton>(form, "btnMegallit")->isEnabled());
    QVERIFY(child<QPushButton>(form, "btnExport")->isEnabled());
}

void TestExportDialogs::closingWhileRunningStopsFirst()
{
    for (int i = 3; i <= 20; ++i)
        m_db.addRow(QStringLiteral("sor %1").arg(i));
    SqlExportSource inner = m_db.source();
    Tfrm_Hatarolt *dialog = nullptr;
    InterruptedSource source(inner, 3, [&] { QTest::keyClick(dialog, Qt::Key_Escape); });
    Tfrm_Hatarolt form(source, m_dir.filePath(QStringLiteral("bezar.csv")), m_db.session, services());
    dialog = &form;
    form.show();
    QTest::mouseClick(child<QPushButton>(form, "btnExport"), Qt::LeftButton);
    QCOMPARE(FileBytes(m_dir.filePath(QStringLiteral("bezar.csv"))).count('\n'), 1 + 3);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
}

void TestExportDialogs::spreadsheetNameWritesXlsxAndOpensIt()
{
    SqlExportSource source = m_db.source();
    Tfrm_Hatarolt dialog(source, m_dir.filePath(QStringLiteral("Munka.XLS")), m_db.session, services());
    dialog.show();
    child<QCheckBox>(dialog, "cbMegnyit")->click();
    QTest::mouseClick(child<QPushButton>(dialog, "btnExport"), Qt::LeftButton);
    const QString written = m_dir.filePath(QStringLiteral("Munka.xlsx"));
    QVERIFY(FileBytes(written).startsWith("PK"));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("Munka.XLS"))));
    QVERIFY(m_db.messages.shown.isEmpty());
    QCOMPARE(m_opened, QStringList{written});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestExportDialogs::emptyPathAsksForAFile()
{
    SqlExportSource source = m_db.source();
    Tfrm_Hatarolt dialog(source, QString(), m_db.session, services());
    dialog.show();
    setPath(dialog, "edFilenev", QString());
    QTest::mouseClick(child<QPushButton>(dialog, "btnExport"), Qt::LeftButton);
    QCOMPARE(m_db.fileDialogs.asked.size(), 1);
    QVERIFY(m_db.fileDialogs.asked.first().filter.contains(QStringLiteral("Excel munkalap (*.xlsx)")));
    QVERIFY(m_db.messages.shown.isEmpty());

    const QString chosen = m_dir.filePath(QStringLiteral("valasztott.csv"));
    m_db.fileDialogs.answers = {chosen};
    QTest::mouseClick(child<QPushButton>(dialog, "btnExport"), Qt::LeftButton);
    QVERIFY(QFile::exists(chosen));
    QCOMPARE(QDir::fromNativeSeparators(dialog.path()), chosen);
}

void TestExportDialogs::failedExportLeavesTheOldFile()
{
    for (int i = 3; i <= 10; ++i)
        m_db.addRow(QStringLiteral("sor %1").arg(i));
    const QString path = m_dir.filePath(QStringLiteral("regi.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("a felhasználó korábbi fájlja\r\n");
    old.close();

    SqlExportSource inner = m_db.source();
    InterruptedSource source(inner, 4, [] { throw EngineError(QStringLiteral("disk I/O error")); });
    Tfrm_Hatarolt dialog(source, path, m_db.session, services());
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "btnExport"), Qt::LeftButton);
    QCOMPARE(m_db.messages.texts(), QStringList{QStringLiteral("Hiba: disk I/O error")});
    QCOMPARE(FileBytes(path), QByteArray("a felhasználó korábbi fájlja\r\n"));
    QVERIFY(child<QPushButton>(dialog, "btnExport")->isEnabled());

    m_db.messages.clear();
    Tfrm_Hatarolt missingFolder(inner, m_dir.filePath(QStringLiteral("nincs/ki.csv")), m_db.session, services());
    QTest::mouseClick(child<QPushButton>(missingFolder, "btnExport"), Qt::LeftButton);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("Hiba: ")));
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
}

void TestExportDialogs::htmlDialogStartsWithTheDefaults()
{
    SqlExportSource source = m_db.source();
    Tfrm_Grid2Html dialog(source, QStringLiteral("Lezárt napok: Fő kassza"), m_db.session, services());
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("HTML export"));
    QCOMPARE(QDir::fromNativeSeparators(dialog.path()),
             m_dir.filePath(QStringLiteral("Html/lez_rt-napok--f_-kassza.htm")));
    QVERIFY(child<QCheckBox>(dialog, "cbMegnyit")->isChecked());
    QCOMPARE(child<QCheckBox>(dialog, "cbMegnyit")->text(), QStringLiteral("Mentés után megnyitás"));
    QVERIFY(child<QPushButton>(dialog, "btnOk")->isDefault());
    QCOMPARE(child<QPushButton>(dialog, "btnEmail")->text(), QStringLiteral("E-Mail"));
    QCOMPARE(child<QPushButton>(dialog, "btnCancel")->text(), QStringLiteral("Mégsem"));

    m_db.session.htmlFolder.clear();
    Tfrm_Grid2Html noFolder(source, QStringLiteral("Bank"), m_db.session, services());
    QCOMPARE(QDir::fromNativeSeparators(noFolder.path()), DataFolder() + QStringLiteral("/bank.htm"));
}

void TestExportDialogs::htmlOkWritesOpensAndRemembersTheFolder()
{
    SqlExportSource source = m_db.source();
    Tfrm_Grid2Html dialog(source, QStringLiteral("Fő kassza"), m_db.session, services());
    dialog.show();
    const QString path = m_dir.filePath(QStringLiteral("masik/mappa/oldal.htm"));
    setPath(dialog, "edHely", path);
    QTest::keyClick(child<QLineEdit>(dialog, "edHely"), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QTest::keyClick(child<QPushButton>(dialog, "btnOk"), Qt::Key_Return);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const QString page = FromWindows1250(FileBytes(path));
    QVERIFY(page.startsWith(QStringLiteral("<html>\r\n")));
    QVERIFY(page.contains(QStringLiteral("Összesen 2 sor.")));
    QVERIFY(page.contains(QStringLiteral(">Második</font>")));
    QCOMPARE(m_opened, QStringList{path});
    QCOMPARE(QDir::fromNativeSeparators(m_db.session.htmlFolder), m_dir.filePath(QStringLiteral("masik/mappa")));

    Tfrm_Grid2Html next(source, QStringLiteral("Fő kassza"), m_db.session, services());
    QCOMPARE(QDir::fromNativeSeparators(next.path()), m_dir.filePath(QStringLiteral("masik/mappa/f_-kassza.htm")));
}

void TestExportDialogs::htmlCancelWritesNothing()
{
    SqlExportSource source = m_db.source();
    const QString folder = m_db.session.htmlFolder;
    Tfrm_Grid2Html dialog(source, QStringLiteral("Fő kassza"), m_db.session, services());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!QFile::exists(QDir::fromNativeSeparators(dialog.path())));
    QCOMPARE(m_db.session.htmlFolder, folder);
    QVERIFY(m_opened.isEmpty());
}

void TestExportDialogs::htmlMailSendsTheSavedPage()
{
    SqlExportSource source = m_db.source();
    const QString folder = m_db.session.htmlFolder;
    Tfrm_Grid2Html dialog(source, QStringLiteral("Fő kassza"), m_db.session, services());
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "btnEmail"), Qt::LeftButton);

    const QString path = QDir::fromNativeSeparators(dialog.path());
    QVERIFY(FileBytes(path).startsWith("<html>"));
    QCOMPARE(m_started, (QList<QStringList>{{QStringLiteral("xdg-email"), QStringLiteral("--subject"),
                                             QStringLiteral("Html küldés"), QStringLiteral("--body"),
                                             QStringLiteral("Html küldés"), QStringLiteral("--attach"), path}}));
    QVERIFY(!child<QCheckBox>(dialog, "cbMegnyit")->isChecked());
    QVERIFY(m_opened.isEmpty());
    QVERIFY(dialog.isVisible());
    QVERIFY(m_db.messages.shown.isEmpty());
    QCOMPARE(m_db.session.htmlFolder, folder);
}

void TestExportDialogs::htmlWithoutMailProgramSaysSo()
{
    m_mailStatus = -1;
    SqlExportSource source = m_db.source();
    Tfrm_Grid2Html dialog(source, QStringLiteral("Fő kassza"), m_db.session, services());
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "btnEmail"), Qt::LeftButton);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("Nem indítható levelezőprogram")));
    QVERIFY(dialog.isVisible());
}

void TestExportDialogs::htmlWriteFailureKeepsTheDialogOpen()
{
    QFile blocker(m_dir.filePath(QStringLiteral("fajl")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SqlExportSource source = m_db.source();
    Tfrm_Grid2Html dialog(source, QStringLiteral("Fő kassza"), m_db.session, services());
    dialog.show();
    setPath(dialog, "edHely", m_dir.filePath(QStringLiteral("fajl/oldal.htm")));
    QTest::mouseClick(child<QPushButton>(dialog, "btnOk"), Qt::LeftButton);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY(dialog.isVisible());
    QVERIFY(m_opened.isEmpty());
}

QTEST_MAIN(TestExportDialogs)
#include "test_exportdialogs.moc"

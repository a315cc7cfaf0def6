#include "reportsfixture.h"
#include "tfrm_biznyomtatas.h"
#include "util.h"
#include "voucherprinting.h"

#include <QAction>
#include <QCheckBox>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScopeGuard>

class TestVoucherPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ReportsFixture::initProcess(); }
    void init() { m_db.openDatabase(QStringLiteral("printing")); }
    void cleanup() { m_db.close(); }

    void withoutPrinterTheVoucherCanBeSavedAsPdf();
    void declinedPdfWritesNothing();
    void newAccountGetsASecondChanceToSave();
    void previewIsModalAndSavesPdf();
    void printChoiceAfterBooking();

private:
    QString pdfPath(const QString &name) const { return m_db.dir.filePath(name + QStringLiteral(".pdf")); }
    // The text of the PDF; a note in its place when the file was not written.
    static QString textOf(const QString &path)
    {
        if (!QFileInfo::exists(path))
            return QStringLiteral("<no file %1>").arg(path);
        return PdfText(path);
    }

    ReportsFixture m_db;
};

void TestVoucherPrinting::withoutPrinterTheVoucherCanBeSavedAsPdf()
{
    const qint64 id = m_db.voucher({{QStringLiteral("osszeg"), 2500.0}});
    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {pdfPath(QStringLiteral("biz"))};
    PenztarbizNyomtat(m_db.session, *m_db.engine, m_db.output(), id, false);

    QCOMPARE(m_db.messages.shown.size(), 1);
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("question"));
    QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("Nincs nyomtató")));
    QCOMPARE(m_db.fileDialogs.asked.size(), 1);
    QVERIFY(m_db.fileDialogs.asked.first().path.endsWith(QStringLiteral("/Pénztárbizonylat KB00007.pdf")));

    const QString text = textOf(pdfPath(QStringLiteral("biz")));
    REQUIRE_PDF_TOOLS();
    QCOMPARE(PdfPageCount(text), 1);
    QCOMPARE(text.count(QStringLiteral("kettőezer ötszáz")), 2);
    QVERIFY(text.contains(QStringLiteral("1. példány")));
    QVERIFY(text.contains(QStringLiteral("2. példány")));
    QVERIFY(text.contains(QStringLiteral("KB00007")));
    // A legal document carries no address of the program's maker.
    QVERIFY(!text.contains(QStringLiteral("Készítette")));
    QVERIFY(!text.contains(QStringLiteral("http")));

    // With one copy a page the second one is gone from the paper too.
    m_db.session.csakEgyetNyomtat = true;
    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {pdfPath(QStringLiteral("egy"))};
    PenztarbizNyomtat(m_db.session, *m_db.engine, m_db.output(), id, false);
    const QString one = textOf(pdfPath(QStringLiteral("egy")));
    QCOMPARE(one.count(QStringLiteral("kettőezer ötszáz")), 1);
    QVERIFY(!one.contains(QStringLiteral("2. példány")));
}

void TestVoucherPrinting::declinedPdfWritesNothing()
{
    m_db.messages.answers = {false};
    KpElszamolNyomtat(m_db.session, *m_db.engine, m_db.output(), m_db.voucher(), false);
    QCOMPARE(m_db.messages.shown.size(), 1);
    QVERIFY(m_db.fileDialogs.asked.isEmpty());
}

void TestVoucherPrinting::newAccountGetsASecondChanceToSave()
{
    // A new account: the home folder holds no documents folder yet.
    const QString home = m_db.dir.filePath(QStringLiteral("uj-felhasznalo"));
    QVERIFY(QDir().mkpath(home));
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        if (!oldConfig.isNull())
            qputenv("XDG_CONFIG_HOME", oldConfig);
    });

    m_db.messages.answers = {true};
    const QString missing = m_db.dir.filePath(QStringLiteral("nincs-ilyen/x.pdf"));
    m_db.fileDialogs.answers = {missing, pdfPath(QStringLiteral("masodszor"))};
    KpElszamolNyomtat(m_db.session, *m_db.engine, m_db.output(), m_db.voucher(), false);

    // Proposed in a folder that exists now.
    QCOMPARE(m_db.fileDialogs.asked.size(), 2);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(documents.startsWith(home));
    QCOMPARE(QFileInfo(m_db.fileDialogs.asked.first().path).absolutePath(), documents);
    QVERIFY(QFileInfo(documents).isDir());
    // The failed write says why, and the save dialog comes again on that name.
    QCOMPARE(m_db.messages.shown.size(), 2);
    QCOMPARE(m_db.messages.shown.last().kind, QStringLiteral("error"));
    QVERIFY(m_db.messages.shown.last().text.contains(missing));
    QVERIFY(m_db.messages.shown.last().text.contains(QStringLiteral("A mappa nem létezik")));
    QCOMPARE(m_db.fileDialogs.asked.last().path, missing);
    const QString text = textOf(pdfPath(QStringLiteral("masodszor")));
    if (text.isNull())
        QSKIP("pdftotext is not installed");
    QVERIFY(text.contains(QStringLiteral("Készpénzigénylés elszámolásra")));
    QVERIFY(!text.contains(QStringLiteral("Készítette")));
    QVERIFY(!text.contains(QStringLiteral("http")));
}

void TestVoucherPrinting::previewIsModalAndSavesPdf()
{
    for (int day = 1; day <= 4; ++day)
        m_db.voucher({{QStringLiteral("ssz"), day}, {QStringLiteral("dat_kiadva"), QDate(2026, 3, day)}});
    m_db.fileDialogs.answers = {pdfPath(QStringLiteral("idoszak"))};
    bool seen = false;
    OnNextModal([&seen](QDialog *dialog) {
        seen = qobject_cast<QPrintPreviewDialog *>(dialog) && dialog->isModal();
        if (auto *pdf = dialog->findChild<QAction *>(QStringLiteral("aPdfMentes")))
            pdf->trigger();
        dialog->reject();
    });
    PenztarbizIdoszakNyomtat(m_db.session, *m_db.engine, m_db.output(), m_db.till, QDate(2026, 3, 1),
                             QDate(2026, 3, 31), true);
    QVERIFY(seen);
    QVERIFY(m_db.messages.shown.isEmpty());
    QCOMPARE(m_db.fileDialogs.asked.size(), 1);
    QVERIFY(
        m_db.fileDialogs.asked.first().path.endsWith(QStringLiteral("Pénztárbizonylatok 2026.03.01-2026.03.31.pdf")));

    const QString text = textOf(pdfPath(QStringLiteral("idoszak")));
    REQUIRE_PDF_TOOLS();
    QCOMPARE(PdfPageCount(text), 2);
    QVERIFY(text.contains(QStringLiteral("KB00004")));
}

void TestVoucherPrinting::printChoiceAfterBooking()
{
    // The proposed PDF names tell which documents went to the (missing) printer.
    const auto printed = [this] {
        QStringList names;
        for (const ScriptedFileDialogs::Asked &a : m_db.fileDialogs.asked)
            names.append(QFileInfo(a.path).fileName());
        m_db.fileDialogs.asked.clear();
        return names;
    };

    // Not an advance: the request is greyed and unchecked; Enter is OK and prints the voucher only.
    m_db.messages.answers = {true, true};
    OnNextModal([](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Bizonylat nyomtatás"));
        auto *voucher = dialog->findChild<QCheckBox *>(QStringLiteral("cbPenztarbiz"));
        auto *request = dialog->findChild<QCheckBox *>(QStringLiteral("cbKpElszamol"));
        QVERIFY(voucher->isChecked() && voucher->isEnabled());
        QVERIFY(!request->isChecked() && !request->isEnabled());
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    BizNyomtatas(m_db.session, *m_db.engine, m_db.output(), false, m_db.voucher());
    QCOMPARE(printed(), QStringList{QStringLiteral("Pénztárbizonylat KB00007.pdf")});
    QVERIFY(m_db.session.ini.readInt(QStringLiteral("Tfrm_BizNyomtatas"), QStringLiteral("Left"), -1) >= 0);

    // An advance: both, the voucher first.
    const qint64 advance =
        m_db.voucher({{QStringLiteral("ssz"), 8}, {QStringLiteral("elszamol_kell"), QStringLiteral("I")}});
    m_db.messages.answers = {true, true};
    OnNextModal([](QDialog *dialog) {
        QVERIFY(dialog->findChild<QCheckBox *>(QStringLiteral("cbKpElszamol"))->isChecked());
        dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    BizNyomtatas(m_db.session, *m_db.engine, m_db.output(), true, advance);
    QCOMPARE(printed(), QStringList({QStringLiteral("Pénztárbizonylat KB00008.pdf"),
                                     QStringLiteral("Készpénzigénylés KB00008.pdf")}));

    // Esc, and Enter on a focused "Mégsem", print nothing; Enter on a check box moves on.
    m_db.messages.clear();
    OnNextModal([](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    BizNyomtatas(m_db.session, *m_db.engine, m_db.output(), true, advance);
    OnNextModal([](QDialog *dialog) {
        auto *voucher = dialog->findChild<QCheckBox *>(QStringLiteral("cbPenztarbiz"));
        voucher->setFocus();
        QTest::keyClick(voucher, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QVERIFY(!voucher->hasFocus());
        auto *cancel = dialog->findChild<QPushButton *>(QStringLiteral("btnCancel"));
        cancel->setFocus();
        QTest::keyClick(cancel, Qt::Key_Return);
    });
    BizNyomtatas(m_db.session, *m_db.engine, m_db.output(), true, advance);
    QVERIFY(m_db.messages.shown.isEmpty());
    QVERIFY(printed().isEmpty());

    // Ctrl+Enter is OK from a check box.
    m_db.messages.answers = {true, true};
    OnNextModal([](QDialog *dialog) {
        auto *request = dialog->findChild<QCheckBox *>(QStringLiteral("cbKpElszamol"));
        request->setFocus();
        QTest::keyClick(request, Qt::Key_Space);
        QTest::keyClick(request, Qt::Key_Return, Qt::ControlModifier);
    });
    BizNyomtatas(m_db.session, *m_db.engine, m_db.output(), true, advance);
    QCOMPARE(printed(), QStringList{QStringLiteral("Pénztárbizonylat KB00008.pdf")});
}

QTEST_MAIN(TestVoucherPrinting)
#include "test_voucherprinting.moc"

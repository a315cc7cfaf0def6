#include "codepage.h"
#include "ledgermodel.h"
#include "maindialogs.h"
#include "modaldialogs.h"
#include "pdftext.h"
#include "testdatabase.h"
#include "tfrm_hatarolt.h"
#include "tfrm_main.h"
#include "util.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QTableView>
#include <QtTest>

namespace {

// The delimited file as the export writes it by default: a header of field names, ";" after every field, CR LF.
QList<QStringList> CsvTable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> table;
    for (const QString &line : FromWindows1250(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList fields = line.split(QLatin1Char(';'));
        fields.removeLast();
        table.append(fields);
    }
    return table;
}

// One column of a table by its header, without the header.
QStringList Column(const QList<QStringList> &table, const QString &name)
{
    QStringList values;
    const qsizetype at = table.isEmpty() ? -1 : table.first().indexOf(name);
    for (qsizetype r = 1; at >= 0 && r < table.size(); ++r)
        values.append(table.at(r).value(at));
    return values;
}

} // namespace

// The main window's report actions and grid printing: each asks its choosers, then prints its document (here to PDF,
// as on a machine without a printer) or exports the rows it prints.
class TestMainReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void init();
    void cleanup() { m_db.close(); }

    void reportActionsPrintOrExportTheirRows_data();
    void reportActionsPrintOrExportTheirRows();
    void cancelledChoosersGiveNothing();
    void gridPrintHasTheGridsRows();
    void overdueAdvancesFollowTheDeadline_data();
    void overdueAdvancesFollowTheDeadline();

private:
    enum Output { Pdf = 1, Csv = 2 };

    qint64 insert(const QString &table, const QVariantMap &values) { return m_db.engine->insert(table, values); }
    // A booked voucher of December 2026, still open to the day closing.
    void voucher(int tillId, const char *code, int serial, double amount, const QVariantMap &more = {})
    {
        const bool receipt = code[1] == 'B';
        QVariantMap row{{QStringLiteral("kassza"), tillId},
                        {QStringLiteral("kibe"), receipt ? QStringLiteral("B") : QStringLiteral("K")},
                        {QStringLiteral("betujel"), QString::fromLatin1(code)},
                        {QStringLiteral("ssz"), serial},
                        {QStringLiteral("kiadva"), QStringLiteral("I")},
                        {QStringLiteral("lezarva"), QStringLiteral("N")},
                        {QStringLiteral("elszamol_kell"), QStringLiteral("N")},
                        {QStringLiteral("elszamolva"), QStringLiteral("N")},
                        {QStringLiteral("osszeg"), amount},
                        {QStringLiteral("bevetel"), receipt ? amount : 0.0},
                        {QStringLiteral("kiadas"), receipt ? 0.0 : amount},
                        {QStringLiteral("dat_kiadva"), QDate(2026, 12, serial)},
                        {QStringLiteral("kasszatip"), m_type},
                        {QStringLiteral("ugyfel"), m_client}};
        row.insert(more);
        insert(QStringLiteral("dromvel"), row);
    }
    std::unique_ptr<Tfrm_Main> window()
    {
        auto w = std::make_unique<Tfrm_Main>(m_db.session, *m_db.engine, m_db.messages, m_dialogs);
        w->resize(1000, 600);
        w->TillSwitch(1, QStringLiteral("Főpénztár"));
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return {};
        return w;
    }
    QString path(const QString &name) const { return m_db.dir.filePath(name); }

    TestDatabase m_db;
    MainDialogs m_dialogs;
    QStringList m_asked;
    std::optional<DateRange> m_period;
    int m_till = -1;
    int m_output = Pdf;
    qint64 m_type = 0;
    qint64 m_client = 0;
};

void TestMainReports::init()
{
    m_db.fresh(QStringLiteral("mainreports"));
    // Beside the database, wherever that is; each test starts without one.
    m_db.session.iniPath = m_db.dir.filePath(QStringLiteral("DromvelPro.ini"));
    QFile::remove(m_db.session.iniPath);
    m_db.session.openDay = QDate(2026, 12, 20);
    m_db.session.formatFt = QStringLiteral("### ### ##0");
    // The program's own dialogs, the choosers scripted and no printer on the machine.
    m_dialogs = MainDialogs::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs);
    m_dialogs.reports = ReportServices::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs,
                                                [] { return QPrinterInfo(); });
    m_asked.clear();
    m_period = DateRange{QDate(2026, 12, 1), QDate(2026, 12, 31)};
    m_till = -1;
    m_output = Pdf;
    m_dialogs.reports.period = [this](const DateRange &preset, QWidget *) {
        m_asked << (preset == DefaultPeriod(QDate::currentDate()) ? QStringLiteral("period")
                                                                  : QStringLiteral("period, other preset"));
        return m_period;
    };
    m_dialogs.reports.chooseTill = [this](int till, QWidget *) {
        m_asked << QStringLiteral("till %1").arg(till);
        return m_till;
    };
    m_dialogs.reports.outputChoice = [this](QWidget *) {
        m_asked << QStringLiteral("output");
        return m_output;
    };

    insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Kis kassza")}});
    m_type = insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Irodaszer")}});
    m_client = insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács Bt.")}});
    // Till 1: a receipt, a payment and an advance paid out, waiting for its settlement; till 2: one receipt.
    voucher(1, "PB", 1, 5000);
    voucher(1, "PK", 2, 2000);
    voucher(1, "PK", 3, 1200,
            {{QStringLiteral("elszamol_kell"), QStringLiteral("I")},
             {QStringLiteral("elszamol_ssz"), 4},
             {QStringLiteral("elszamol_kell_dat"), QDate(2026, 12, 10)}});
    voucher(2, "PB", 4, 700);
}

void TestMainReports::reportActionsPrintOrExportTheirRows_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("output");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("numbers"); // the voucher numbers listed, in order
    QTest::addColumn<QString>("lastField");   // the export's last field: the calculated ones come last

    const QStringList period{QStringLiteral("period"), QStringLiteral("output")};
    const QStringList tillFirst{QStringLiteral("till 1"), QStringLiteral("period"), QStringLiteral("output")};
    QTest::newRow("aNyomBevet") << "aNyomBevet" << int(Pdf) << period << "Pénztári befizetések időszakra"
                                << QStringList{"PB00001"} << "";
    QTest::newRow("aNyomKifizet") << "aNyomKifizet" << int(Csv) << period << "Pénztári kifizetések időszakra"
                                  << QStringList{"PK00002", "PK00003"} << "sorszam";
    QTest::newRow("aNyomKasszatortenet") << "aNyomKasszatortenet" << int(Pdf) << period << "Kasszatörténet"
                                         << QStringList{"PB00001", "PK00002", "PK00003"} << "";
    // The chosen-till forms ask for the till, here the second one.
    QTest::newRow("aNyomBevet1") << "aNyomBevet1" << int(Csv) << tillFirst << "Pénztári befizetések időszakra"
                                 << QStringList{"PB00004"} << "sorszam";
    QTest::newRow("aNyomKifizet1") << "aNyomKifizet1" << int(Pdf) << tillFirst << "Pénztári kifizetések időszakra"
                                   << QStringList{} << "";
    QTest::newRow("aNyomKasszatortenet1")
        << "aNyomKasszatortenet1" << int(Csv) << tillFirst << "Kasszatörténet" << QStringList{"PB00004"} << "egyenleg";
    QTest::newRow("aNyomElszamol") << "aNyomElszamol" << int(Pdf)
                                   << QStringList{QStringLiteral("till 1"), QStringLiteral("output")}
                                   << "Elszámolásra váró tételek" << QStringList{"PK00003"} << "";
    QTest::newRow("aNyomElszamolas") << "aNyomElszamolas" << int(Csv) << period << "Készpénzigénylések elszámolása"
                                     << QStringList{"PK00003"} << "sorszam";
}

void TestMainReports::reportActionsPrintOrExportTheirRows()
{
    QFETCH(QString, action);
    QFETCH(int, output);
    QFETCH(QStringList, asked);
    QFETCH(QString, title);
    QFETCH(QStringList, numbers);
    QFETCH(QString, lastField);
    m_output = output;
    m_till = action.endsWith(QLatin1Char('1')) ? 2 : 1;
    auto w = window();
    QVERIFY(w);
    QAction *a = w->action(action);
    QVERIFY(a->isEnabled());

    if (output == Pdf) {
        m_db.messages.answers = {true};
        m_db.fileDialogs.answers = {path(QStringLiteral("report.pdf"))};
        a->trigger();
        QCOMPARE(m_asked, asked);
        QCOMPARE(m_db.messages.shown.size(), 1);
        QVERIFY(m_db.messages.shown.first().text.startsWith(QStringLiteral("Nincs nyomtató")));
        REQUIRE_PDF_TOOLS();
        const QString text = PdfText(path(QStringLiteral("report.pdf")));
        QCOMPARE(PdfPageCount(text), 1);
        QVERIFY(text.contains(title));
        QVERIFY(text.contains(m_till == 2 ? QStringLiteral("Kis kassza") : QStringLiteral("Főpénztár")));
        QStringList listed;
        for (const char *number : {"PB00001", "PK00002", "PK00003", "PB00004"})
            if (text.contains(QLatin1String(number)))
                listed.append(QLatin1String(number));
        QCOMPARE(listed, numbers);
        return;
    }

    // The export proposes the report's title as the file's name and offers every field checked.
    QString proposed;
    QStringList unchecked;
    int fields = 0;
    OnNextModal([&](QDialog *dialog) {
        auto *box = dialog->findChild<QLineEdit *>(QStringLiteral("edFilenev"));
        proposed = QDir::fromNativeSeparators(box->text());
        const auto *list = dialog->findChild<QListWidget *>(QStringLiteral("lbMezok"));
        fields = list->count();
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() != Qt::Checked)
                unchecked.append(list->item(i)->text());
        box->setText(path(QStringLiteral("report.csv")));
        static_cast<Tfrm_Hatarolt *>(dialog)->startExport();
        dialog->reject();
    });
    a->trigger();
    QCOMPARE(m_asked, asked);
    QCOMPARE(proposed, QDir(DocumentsFolder()).filePath(title + QStringLiteral(".csv")));
    QVERIFY(unchecked.isEmpty());
    const QList<QStringList> table = CsvTable(path(QStringLiteral("report.csv")));
    QCOMPARE(table.size(), 1 + numbers.size());
    QCOMPARE(table.first().size(), fields);
    QCOMPARE(table.first().last(), lastField);
    QCOMPARE(Column(table, QStringLiteral("sorszam")), numbers);
}

void TestMainReports::cancelledChoosersGiveNothing()
{
    auto w = window();
    QVERIFY(w);
    // No till chosen, no period given, no output chosen: nothing is printed, asked or written.
    m_till = -1;
    w->action(QStringLiteral("aNyomKasszatortenet1"))->trigger();
    w->action(QStringLiteral("aNyomElszamol"))->trigger();
    m_period.reset();
    w->action(QStringLiteral("aNyomBevet"))->trigger();
    w->action(QStringLiteral("aNyomElszamolas"))->trigger();
    m_period = DateRange{QDate(2026, 12, 1), QDate(2026, 12, 31)};
    m_output = -1;
    w->action(QStringLiteral("aNyomKifizet"))->trigger();
    QCOMPARE(m_asked, QStringList({QStringLiteral("till 1"), QStringLiteral("till 1"), QStringLiteral("period"),
                                   QStringLiteral("period"), QStringLiteral("period"), QStringLiteral("output")}));
    QVERIFY(m_db.messages.shown.isEmpty());
    QVERIFY(m_db.fileDialogs.asked.isEmpty());
    // The chosen-till forms leave the window on its till.
    QCOMPARE(m_db.session.till, 1);
}

void TestMainReports::gridPrintHasTheGridsRows()
{
    // A closed row and another till's row stay out of the grid and so out of the print.
    voucher(1, "PB", 5, 99, {{QStringLiteral("lezarva"), QStringLiteral("I")}});
    voucher(1, "PK", 6, 1234567, {{QStringLiteral("kiadva"), QStringLiteral("N")}});
    auto w = window();
    QVERIFY(w);
    // Sorted by the voucher number with a click on its title: the print keeps the grid's order.
    QHeaderView *header = w->grid()->horizontalHeader();
    const int column = w->ledger()->sorszamColumn();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));

    bool previewed = false;
    OnNextModal([&previewed](QDialog *dialog) {
        previewed = qobject_cast<QPrintPreviewDialog *>(dialog) && dialog->isModal();
        dialog->reject();
    });
    QTest::keyClick(w.get(), Qt::Key_K, Qt::ControlModifier);
    QVERIFY(previewed);

    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {path(QStringLiteral("grid.pdf"))};
    // The preview gone, the window takes the keys again.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(m_db.fileDialogs.asked.size(), 1);
    QVERIFY(m_db.fileDialogs.asked.first().path.endsWith(QStringLiteral("/Főpénztár.pdf")));

    // The grid's shown columns in their screen order, as the grid shows them; the settlement icon prints its flag.
    const QTableView &grid = *w->grid();
    const QHeaderView &shown = *grid.horizontalHeader();
    QStringList titles;
    QStringList rows;
    for (int r = 0; r < grid.model()->rowCount(); ++r) {
        QStringList cells;
        for (int v = 0; v < shown.count(); ++v) {
            const int c = shown.logicalIndex(v);
            if (grid.isColumnHidden(c))
                continue;
            if (r == 0)
                titles.append(grid.model()->headerData(c, Qt::Horizontal).toString());
            const QString text = v == 0 ? w->ledger()->field(r, QStringLiteral("elszamolva")).toString()
                                        : grid.model()->index(r, c).data().toString();
            if (!text.isEmpty())
                cells.append(text);
        }
        rows.append(cells.join(QLatin1Char(' ')));
    }
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(3), QStringLiteral("N PK00006 2026.12.06 Irodaszer Kovács Bt. 1 234 567"));

    REQUIRE_PDF_TOOLS();
    QCOMPARE(PdfPageCount(PdfText(path(QStringLiteral("grid.pdf")))), 1);
    const QStringList lines = PdfLines(path(QStringLiteral("grid.pdf")), 1);
    QCOMPARE(lines.first(), QStringLiteral("Főpénztár"));
    QCOMPARE(lines.at(1), titles.join(QLatin1Char(' ')));
    QCOMPARE(lines.mid(2, rows.size()), rows);
    QVERIFY(lines.at(2 + rows.size()).startsWith(QStringLiteral("Dromvel.Pro ")));
    QVERIFY(lines.last().endsWith(QStringLiteral("qrGridPrint")));
}

QTEST_MAIN(TestMainReports)
#include "test_mainreports.moc"

void TestMainReports::overdueAdvancesFollowTheDeadline_data()
{
    QTest::addColumn<QDate>("openDay");
    QTest::addColumn<QStringList>("overdue");
    const QString first = QStringLiteral("PK00003"), second = QStringLiteral("PK00008");
    // PK00003 is due on 10 December, PK00008 on 15 December: an advance is overdue from the day after its deadline.
    QTest::newRow("on the first deadline") << QDate(2026, 12, 10) << QStringList();
    QTest::newRow("the day after it") << QDate(2026, 12, 11) << QStringList{first};
    QTest::newRow("on the second deadline") << QDate(2026, 12, 15) << QStringList{first};
    QTest::newRow("the day after both") << QDate(2026, 12, 16) << QStringList{first, second};
}

void TestMainReports::overdueAdvancesFollowTheDeadline()
{
    QFETCH(QDate, openDay);
    QFETCH(QStringList, overdue);
    const auto advance = [](int serial, const QDate &deadline, const QVariantMap &more = {}) {
        QVariantMap row{{QStringLiteral("elszamol_kell"), QStringLiteral("I")},
                        {QStringLiteral("elszamol_ssz"), serial},
                        {QStringLiteral("elszamol_kell_dat"), deadline}};
        row.insert(more);
        return row;
    };
    // Never overdue: a settled advance, a pending one and another till's.
    voucher(1, "PK", 5, 300, advance(5, QDate(2026, 12, 1), {{QStringLiteral("elszamolva"), QStringLiteral("I")}}));
    voucher(1, "PK", 6, 400, advance(6, QDate(2026, 12, 1), {{QStringLiteral("kiadva"), QStringLiteral("N")}}));
    voucher(2, "PK", 7, 500, advance(7, QDate(2026, 12, 1)));
    voucher(1, "PK", 8, 800, advance(8, QDate(2026, 12, 15)));
    m_db.session.openDay = openDay;
    auto w = window();
    QVERIFY(w);

    auto *panel = w->findChild<QLabel *>(QStringLiteral("StatusPanelLejart"));
    QVERIFY(panel);
    QCOMPARE(panel->isVisible(), !overdue.isEmpty());
    w->WarnOverdueAdvances();
    if (overdue.isEmpty()) {
        QVERIFY(m_db.messages.shown.isEmpty());
        return;
    }
    QCOMPARE(panel->text(), QStringLiteral("Lejárt elszámolás: %1").arg(overdue.size()));
    // The start-up warning names each overdue advance with its client, amount and deadline.
    QCOMPARE(m_db.messages.shown.size(), 1);
    const QString warning = m_db.messages.shown.first().text;
    QCOMPARE(m_db.messages.shown.first().kind, QStringLiteral("warning"));
    QVERIFY(
        warning.startsWith(QStringLiteral("Lejárt határidejű, el nem számolt előlegek (%1 db):").arg(overdue.size())));
    QVERIFY(warning.contains(QStringLiteral("PK00003  Kovács Bt.  1 200 Ft, határidő: 2026.12.10")));
    QCOMPARE(warning.contains(QStringLiteral("PK00008")), overdue.contains(QStringLiteral("PK00008")));
    for (const char *never : {"PK00005", "PK00006", "PK00007"})
        QVERIFY(!warning.contains(QLatin1String(never)));

    // A click on the count prints the waiting-items list of the overdue advances only.
    m_db.messages.clear();
    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {path(QStringLiteral("overdue.pdf"))};
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(m_asked, QStringList{QStringLiteral("output")});
    REQUIRE_PDF_TOOLS();
    const QString text = PdfText(path(QStringLiteral("overdue.pdf")));
    QVERIFY(text.contains(QStringLiteral("Lejárt határidejű elszámolások")));
    QStringList listed;
    for (const char *number : {"PK00003", "PK00005", "PK00006", "PK00007", "PK00008"})
        if (text.contains(QLatin1String(number)))
            listed.append(QLatin1String(number));
    QCOMPARE(listed, overdue);
}

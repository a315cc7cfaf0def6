#include "gridprinting.h"
#include "listframe.h"
#include "reportsfixture.h"
#include "sqlexportsource.h"

#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QSqlQueryModel>
#include <QTableView>

using namespace Report;

Q_DECLARE_METATYPE(TqrGridPrint::Placement)

class TestGridPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ReportsFixture::initProcess(); }
    void init();
    void cleanup()
    {
        m_view.reset();
        m_model.reset();
        m_db.close();
    }

    void columnsKeepTheirShareOfTheGrid_data();
    void columnsKeepTheirShareOfTheGrid();
    void listFollowsTheLayout();
    void emptyGridAndNoTotals();
    void printedAndPreviewed();

private:
    using Placement = TqrGridPrint::Placement;

    static QString Sql()
    {
        return QStringLiteral("SELECT ugyfel.ugyfel_nev, dromvel.kassza, dromvel.osszeg FROM dromvel LEFT OUTER JOIN "
                              "ugyfel ON (dromvel.ugyfel = ugyfel.ugyfel) ORDER BY dromvel.dromvel;");
    }
    // The rows of the screen grid, read again by their statement, in the grid's layout.
    std::shared_ptr<ExportSource> Rows() const
    {
        auto rows = std::make_shared<SqlExportSource>(*m_db.engine, Sql());
        rows->setNumberFormat(QStringLiteral("### ### ##0")).takeGridLayout(*m_view);
        return rows;
    }
    GridPrintOptions Options(const QString &sumField = QString()) const
    {
        GridPrintOptions o;
        o.title = QStringLiteral("Fő kassza");
        o.subtitle = QStringLiteral("Március");
        o.sumField = sumField;
        return o;
    }

    ReportsFixture m_db;
    std::unique_ptr<QSqlQueryModel> m_model;
    std::unique_ptr<QTableView> m_view;
};

void TestGridPrint::init()
{
    m_db.openDatabase(QStringLiteral("gridprint"));
    // The screen grid: the amount (300 px) moved before the client's name (100 px), the till (50 px) hidden, in a
    // grid 400 px wide.
    m_model = std::make_unique<QSqlQueryModel>();
    m_model->setQuery(Sql(), m_db.engine->database());
    m_model->setHeaderData(0, Qt::Horizontal, QStringLiteral("ügyfél"));
    m_model->setHeaderData(2, Qt::Horizontal, QStringLiteral("összeg"));
    m_view = std::make_unique<QTableView>();
    m_view->setModel(m_model.get());
    m_view->resize(400, 200);
    m_view->setColumnWidth(0, 100);
    m_view->setColumnWidth(1, 50);
    m_view->setColumnWidth(2, 300);
    m_view->setColumnHidden(1, true);
    m_view->horizontalHeader()->moveSection(2, 0);
}

void TestGridPrint::columnsKeepTheirShareOfTheGrid_data()
{
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<int>("gridWidth");
    QTest::addColumn<int>("reference");
    QTest::addColumn<QList<Placement>>("placed");

    // 575 x 0.25 = 143.75 and 575 x 0.75 = 431.25; the second column after a gap of 4.
    QTest::newRow("portrait") << QList<int>{100, 300} << 400 << 575 << QList<Placement>{{0, 144}, {148, 431}};
    // 838 x 0.25 = 209.5 and 838 x 0.75 = 628.5: halves go to the even unit.
    QTest::newRow("landscape") << QList<int>{100, 300} << 400 << 838 << QList<Placement>{{0, 210}, {214, 628}};
    QTest::newRow("wider than the page") << QList<int>{100, 500} << 400 << 575
                                         << QList<Placement>{{0, 144}, {148, 719}};
    QTest::newRow("grid width from the columns")
        << QList<int>{100, 300} << 0 << 575 << QList<Placement>{{0, 144}, {148, 431}};
}

void TestGridPrint::columnsKeepTheirShareOfTheGrid()
{
    QFETCH(QList<int>, widths);
    QFETCH(int, gridWidth);
    QFETCH(int, reference);
    QFETCH(QList<Placement>, placed);
    QList<ExportColumn> columns;
    for (int width : widths) {
        ExportColumn column;
        column.width = width;
        columns.append(column);
    }
    QCOMPARE(TqrGridPrint::Place(columns, gridWidth, reference), placed);
}

void TestGridPrint::listFollowsTheLayout()
{
    m_db.voucher({{QStringLiteral("osszeg"), 1500.0}});
    m_db.voucher({{QStringLiteral("osszeg"), 2500.0}});
    const QDateTime printed(QDate(2026, 3, 20), QTime(10, 0));
    const Document doc = Collected(TqrGridPrint::layout(Rows(), Options(QStringLiteral("osszeg")), printed));
    QCOMPARE(doc.pages.size(), 1);
    QCOMPARE(doc.title, QStringLiteral("Fő kassza"));
    const Page &page = doc.pages.first();
    const double u = TqrGridPrint::UnitMm;
    const Font arial8{QStringLiteral("Arial"), 8};

    const struct
    {
        const char *name;
        double left, top, width, height;
        const char *text;
    } table[] = {
        {"cim", 0, 1.3, -1, -1, "Fő kassza"},
        {"alcim", 0, 9.3, 74.4, 9.6, "Március"},
        {"fej_osszeg", 0, 72 * u, 431 * u, -1, "összeg"},
        {"fej_ugyfel_nev", 435 * u, 72 * u, 144 * u, -1, "ügyfél"},
        {"fej_vonal", 0, 30.1, 190.0, 0, nullptr},
        {"osszeg", 0, 30.1 + 4 * u, 431 * u, 13 * u, "1 500"},
        {"ugyfel_nev", 435 * u, 30.1 + 4 * u, 144 * u, 13 * u, "Nagy Péter"},
        {"vonal", 0, 30.1 + 6.6, 190.0, 0, nullptr},
        {"osszesen", 5.3, 30.1 + 2 * 6.6 + 4 * u, -1, -1, "Összesen"},
        {"osszesen_osszeg", 0, 30.1 + 2 * 6.6 + 4 * u, 431 * u, -1, "4 000"},
        {"osszesen_vonal", 0, 30.1 + 3 * 6.6, 190.0, 0, nullptr},
    };
    for (const auto &t : table) {
        const Element *e = FindElement(page, QString::fromLatin1(t.name));
        const QString mismatch = BoxMismatch(e, t.left, t.top, t.width, t.height);
        QVERIFY2(mismatch.isEmpty(), qPrintable(QString::fromLatin1(t.name) + QLatin1Char(' ') + mismatch));
        if (t.text)
            QCOMPARE(e->text, QString::fromUtf8(t.text));
    }
    QCOMPARE(FindElement(page, QStringLiteral("cim"))->font, (Font{QStringLiteral("Arial"), 16, true}));
    QCOMPARE(FindElement(page, QStringLiteral("alcim"))->font, ListFrame::Tahoma9Bold);
    QVERIFY(FindElement(page, QStringLiteral("alcim"))->wordWrap);
    QCOMPARE(FindElement(page, QStringLiteral("fej_osszeg"))->font, (Font{QStringLiteral("Arial"), 8, false, true}));
    QCOMPARE(FindElement(page, QStringLiteral("fej_osszeg"))->alignment, Qt::AlignRight);
    QCOMPARE(FindElement(page, QStringLiteral("osszeg"))->font, arial8);
    QVERIFY(FindElement(page, QStringLiteral("osszeg"))->clip);
    QCOMPARE(FindElement(page, QStringLiteral("osszesen_osszeg"))->font, (Font{QStringLiteral("Arial"), 8, true}));
    QCOMPARE(FindElement(page, QStringLiteral("osszesen_osszeg"))->alignment, Qt::AlignRight);
    // The hidden column is not printed.
    QVERIFY(!FindElement(page, QStringLiteral("kassza")));
    QVERIFY(!FindElement(page, QStringLiteral("fej_kassza")));
    QCOMPARE(FindElement(page, QStringLiteral("lablec_nev"))->text, QStringLiteral("qrGridPrint"));
    QCOMPARE(FindElement(page, QStringLiteral("lablec_cim"))->text, QStringLiteral("Fő kassza"));
    QCOMPARE(FindElement(page, QStringLiteral("lablec_oldal"))->text, QStringLiteral("oldal: 1"));

    // The font size carries to the rows; landscape takes its own reference width.
    GridPrintOptions large = Options();
    large.fontSize = 11;
    large.portrait = false;
    // The document stays while its element is looked at.
    const Document largeDoc = Collected(TqrGridPrint::layout(Rows(), large, printed));
    const Element *cell = FindElement(largeDoc.pages.first(), QStringLiteral("ugyfel_nev"));
    QCOMPARE(cell->font.pointSize, 11.0);
    QCOMPARE(cell->box.left(), (628 + 4) * u);
}

void TestGridPrint::emptyGridAndNoTotals()
{
    const Page empty =
        Collected(TqrGridPrint::layout(Rows(), Options(QStringLiteral("osszeg")), QDateTime())).pages.first();
    QVERIFY(FindElement(empty, QStringLiteral("fej_osszeg")));
    QVERIFY(!FindElement(empty, QStringLiteral("osszeg")));
    QCOMPARE(FindElement(empty, QStringLiteral("osszesen_osszeg"))->text, QStringLiteral("0"));

    m_db.voucher();
    const Page plain = Collected(TqrGridPrint::layout(Rows(), Options(), QDateTime())).pages.first();
    QVERIFY(FindElement(plain, QStringLiteral("osszeg")));
    for (const Element &e : plain.elements)
        QVERIFY2(!e.name.startsWith(QLatin1String("osszesen")), qPrintable(e.name));
    // Nothing but the page footer under the last row's line.
    for (const Element &e : plain.elements)
        if (!e.name.startsWith(QLatin1String("lablec_")))
            QVERIFY2(e.box.top() <= 30.1 + 6.6, qPrintable(e.name));
}

void TestGridPrint::printedAndPreviewed()
{
    // 277 mm less the header (30.1) and the footer (14.6) hold 35 rows of 6.6 mm: 80 rows take three pages.
    for (int i = 0; i < 80; ++i)
        m_db.voucher({{QStringLiteral("osszeg"), 100.0 + i}});
    const QString path = m_db.dir.filePath(QStringLiteral("grid.pdf"));
    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {path};
    const ReportServices services = m_db.services();
    GridNyomtat(Rows(), true, Options(QStringLiteral("osszeg")), services);
    QCOMPARE(m_db.fileDialogs.asked.size(), 1);
    QVERIFY(m_db.fileDialogs.asked.first().path.endsWith(QStringLiteral("/Fő kassza.pdf")));

    bool previewed = false;
    OnNextModal([&previewed](QDialog *dialog) {
        previewed = qobject_cast<QPrintPreviewDialog *>(dialog) && dialog->isModal();
        dialog->reject();
    });
    GridNyomtat(Rows(), false, Options(), services);
    QVERIFY(previewed);

    REQUIRE_PDF_TOOLS();
    const QString text = PdfText(path);
    QCOMPARE(PdfPageCount(text), 3);
    QVERIFY(text.contains(QStringLiteral("qrGridPrint")));
    QVERIFY(text.contains(QStringLiteral("11 160"))); // 80 x 100 + 0 + 1 + ... + 79

    // The second column starts at unit 435 on paper too.
    for (const PdfWord &w : PdfWords(path, 1))
        if (w.text == QStringLiteral("ügyfél")) {
            const double left = 10 + 435 * TqrGridPrint::UnitMm;
            QVERIFY2(qAbs(w.box.left() - left) <= 0.3, qPrintable(QString::number(w.box.left())));
        }
}

QTEST_MAIN(TestGridPrint)
#include "test_gridprint.moc"

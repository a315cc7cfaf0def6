#include "cashcountstore.h"
#include "engine.h"
#include "reportprinting.h"
#include "reportsfixture.h"
#include "tqrnapzar.h"
#include "util.h"
#include "voucherdata.h"

using namespace Report;

Q_DECLARE_METATYPE(CashCount)

class TestCashReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ReportsFixture::initProcess(); }
    void init()
    {
        m_db.openDatabase(QStringLiteral("cashreport"));
        m_serial = 0;
    }
    void cleanup() { m_db.close(); }

    void headerAndRowsFollowTheLayoutTable();
    void summaryFollowsTheLayoutTable();
    void summaryFigures_data();
    void summaryFigures();
    void rowNumbersRunOnAcrossPages();
    void printedFromItsClosingRecord();
    void countFillsTheForm_data();
    void countFillsTheForm();
    void countOnPaper();
    void cashLimitAndExcess_data();
    void cashLimitAndExcess();

private:
    // A closing record of the till with its rows: receipts and payments of the given amounts.
    int closing(int number, double nyito, const QList<double> &receipts, const QList<double> &payments)
    {
        double zaro = nyito;
        for (double r : receipts) {
            voucher(number, QStringLiteral("B"), r);
            zaro += r;
        }
        for (double p : payments) {
            voucher(number, QStringLiteral("K"), p);
            zaro -= p;
        }
        m_db.engine->insert(QStringLiteral("zarbizonylat"), {{QStringLiteral("zarbizonylat"), number},
                                                             {QStringLiteral("kassza"), m_db.till},
                                                             {QStringLiteral("dat_tol"), QDate(2026, 3, 1)},
                                                             {QStringLiteral("dat_ig"), QDate(2026, 3, 14)},
                                                             {QStringLiteral("nyito"), nyito},
                                                             {QStringLiteral("zaro"), zaro}});
        return number;
    }
    void voucher(int zarbizonylat, const QString &kibe, double amount)
    {
        const bool receipt = kibe == QLatin1String("B");
        m_db.voucher({{QStringLiteral("kibe"), kibe},
                      {QStringLiteral("betujel"), receipt ? QStringLiteral("PB") : QStringLiteral("PK")},
                      {QStringLiteral("ssz"), ++m_serial},
                      {QStringLiteral("osszeg"), amount},
                      {QStringLiteral("bevetel"), receipt ? amount : 0.0},
                      {QStringLiteral("kiadas"), receipt ? 0.0 : amount},
                      {QStringLiteral("szoveg"), QStringLiteral("Tétel %1").arg(m_serial)},
                      {QStringLiteral("zarbizonylat"), zarbizonylat}});
    }
    Document report(int zarbizonylat, const std::optional<CashCount> &count = std::nullopt)
    {
        Engine &engine = *m_db.engine;
        return Collected(TqrNapZar::layout(
            ReadClosingHeading(engine, zarbizonylat), TqrNapZar::ReadCounts(engine, zarbizonylat),
            {ReadOwnerHeading(engine), QStringLiteral("### ### ##0"), QDateTime(QDate(2026, 3, 14), QTime(18, 0))},
            TqrNapZar::Rows(engine, zarbizonylat, QStringLiteral("### ### ##0")), count));
    }
    static void Check(const Page &page, const char *name, double left, double top, double width = -1,
                      double height = -1)
    {
        const QString mismatch = BoxMismatch(FindElement(page, QString::fromLatin1(name)), left, top, width, height);
        QVERIFY2(mismatch.isEmpty(), qPrintable(QString::fromLatin1(name) + QLatin1Char(' ') + mismatch));
    }
    static QString Text(const Page &page, const char *name)
    {
        const Element *e = FindElement(page, QString::fromLatin1(name));
        return e ? e->text : QStringLiteral("<none>");
    }

    ReportsFixture m_db;
    int m_serial = 0;
};

void TestCashReport::headerAndRowsFollowTheLayoutTable()
{
    const Document doc = report(closing(7, 150000, {2500, 1200}, {800}));
    QCOMPARE(doc.title, QStringLiteral("Időszaki pénztárjelentés"));
    QCOMPARE(doc.pages.size(), 1);
    const Page &page = doc.pages.first();

    const struct
    {
        const char *name;
        double left, top, width;
        const char *text;
    } header[] = {
        {"cim", 0, 1.3, -1, "Időszaki pénztárjelentés"},
        {"kassza_nev_felirat", 0, 7.9, -1, "pénztár"},
        {"kassza_nev", 22.8, 7.9, -1, "Fő kassza"},
        {"dat_tol_felirat", 0, 11.9, -1, "időszak"},
        {"dat_tol", 22.8, 11.9, -1, nullptr},
        {"dat_ig", 51.9, 11.9, -1, nullptr},
        {"valuta_felirat", 0, 15.9, -1, "valuta"},
        {"valuta", 22.8, 15.9, -1, "HUF"},
        {"zarbizonylat_felirat", 0, 19.8, -1, "bizonylatszám"},
        {"zarbizonylat", 22.8, 19.8, -1, "00007"},
        {"fej_sor", 0, 27.8, 14.6, "sorszám"},
        {"fej_dat_kiadva", 15.9, 27.8, -1, "dátum"},
        {"fej_sorszam", 38.4, 27.8, -1, "bizonylatszám"},
        {"fej_szoveg", 67.5, 27.8, -1, "szöveg"},
        {"fej_bevetel", 127.0, 27.8, 30.4, "bevétel"},
        {"fej_kiadas", 158.8, 27.8, 30.4, "kiadás"},
        {"fej_vonal", 0, 34.4, 190.0, nullptr},
        // The first row from 34.4.
        {"sor", 0, 35.5, 14.6, "1"},
        {"dat_kiadva", 15.9, 35.5, -1, nullptr},
        {"sorszam", 38.4, 35.5, -1, "PB00001"},
        {"szoveg", 67.5, 35.5, 58.5, "Tétel 1"},
        {"bevetel", 127.0, 35.5, 30.4, "2 500"},
        {"kiadas", 158.8, 35.5, 30.4, "0"},
        {"vonal", 0, 34.4 + 6.3, 190.0, nullptr},
    };
    for (const auto &h : header) {
        Check(page, h.name, h.left, h.top, h.width);
        if (h.text)
            QCOMPARE(Text(page, h.name), QString::fromUtf8(h.text));
    }
    QCOMPARE(Text(page, "dat_tol"), ShortDate(QDate(2026, 3, 1)));
    QCOMPARE(Text(page, "dat_ig"), ShortDate(QDate(2026, 3, 14)));
    QCOMPARE(FindElement(page, QStringLiteral("cim"))->font, (Font{QStringLiteral("Arial"), 16, true}));
    QCOMPARE(FindElement(page, QStringLiteral("valuta_felirat"))->font, ListFrame::Tahoma8Italic);
    QCOMPARE(FindElement(page, QStringLiteral("valuta"))->font, ListFrame::Tahoma10Bold);
    QCOMPARE(FindElement(page, QStringLiteral("fej_kiadas"))->font, ListFrame::Tahoma9Italic);
    QCOMPARE(Text(page, "lablec_nev"), QStringLiteral("qrNapZar"));
    QCOMPARE(FindElement(page, QStringLiteral("lablec_nev"))->font, (Font{QStringLiteral("Courier New"), 8}));

    QStringList numbers;
    for (const Element &e : page.elements)
        if (e.name == QLatin1String("sor"))
            numbers.append(QStringLiteral("%1@%2").arg(e.text).arg(e.box.top(), 0, 'f', 1));
    QCOMPARE(numbers, QStringList({QStringLiteral("1@35.5"), QStringLiteral("2@41.8"), QStringLiteral("3@48.1")}));
}

void TestCashReport::summaryFollowsTheLayoutTable()
{
    const Page page = report(closing(3, 1000, {500}, {200})).pages.first();
    // Two rows of 6.3 mm under the 34.4 mm header.
    const double s = 34.4 + 2 * 6.3;
    const char *rows[] = {"forgalom", "kezdo", "zaro", "osszesen", "ellenorzes", "tobblet", "hiany"};
    for (int i = 0; i < 7; ++i) {
        const QByteArray name = QByteArray("keret_") + rows[i];
        const double top = s + 1.3 + 6.6 * i;
        if (i < 4) {
            Check(page, name.constData(), 87.3, top, 40.0, 6.9);
            Check(page, (name + "_bevetel").constData(), 127.0, top, 32.1, 6.9);
        } else {
            // The label spans the label and receipts columns.
            Check(page, name.constData(), 87.3, top, 71.8, 6.9);
        }
        Check(page, (name + "_kiadas").constData(), 158.8, top, 30.8, 6.9);
    }
    Check(page, "keret_mellekletek", 87.3, s + 47.6, 102.2, 29.4);
    Check(page, "mellekletek", 88.6, s + 48.9);

    // The cash-count form: title, headings, sixteen rows and the total at a pitch of 4 mm, 87.6 mm wide.
    Check(page, "keret_penztarellenorzes", 0, s + 1.3, 87.6);
    Check(page, "keret_db", 0, s + 5.3, 20.2);
    Check(page, "keret_penznem", 19.9, s + 5.3, 29.4);
    Check(page, "keret_valuta_oszlop", 49.0, s + 5.3, 38.6);
    QCOMPARE(Text(page, "valuta_oszlop"), QStringLiteral("HUF"));
    int frames = 0;
    double lowest = 0;
    for (const Element &e : page.elements)
        if (e.name == QLatin1String("keret_szamlalo")) {
            ++frames;
            lowest = qMax(lowest, e.box.top());
        }
    QCOMPARE(frames, 16 * 3);
    QCOMPARE(lowest, s + 1.3 + 17 * 4.0);
    Check(page, "keret_szamlalo_osszesen", 0, s + 1.3 + 18 * 4.0, 49.3);
    Check(page, "keret_szamlalo_osszeg", 49.0, s + 1.3 + 18 * 4.0, 38.6);
    QCOMPARE(Text(page, "szamlalo_osszesen"), QStringLiteral("összesen"));
    // The whole summary stays inside its 79 mm.
    for (const Element &e : page.elements)
        if (e.box.top() >= s && e.box.top() < s + TqrNapZar::SummaryHeight)
            QVERIFY2(e.box.bottom() <= s + TqrNapZar::SummaryHeight, qPrintable(e.name));
}

void TestCashReport::summaryFigures_data()
{
    QTest::addColumn<double>("nyito");
    QTest::addColumn<QList<double>>("receipts");
    QTest::addColumn<QList<double>>("payments");
    QTest::addColumn<QStringList>("figures"); // forgalom in/out, kezdo, zaro, osszesen in/out, counts in/out

    QTest::newRow("both") << 10000.0 << QList<double>{2500, 1200} << QList<double>{800}
                          << QStringList{"3 700,00",  "800,00",    "10 000,00", "12 900,00",
                                         "13 700,00", "13 700,00", "2",         "1"};
    // Payments only: no receipts, and "Összesen" is the opening balance in both columns.
    QTest::newRow("payments only") << 50000.0 << QList<double>{} << QList<double>{1500, 2500}
                                   << QStringList{"0,00",      "4 000,00",  "50 000,00", "46 000,00",
                                                  "50 000,00", "50 000,00", "0",         "2"};
    QTest::newRow("no rows") << 7000.0 << QList<double>{} << QList<double>{}
                             << QStringList{"0,00", "0,00", "7 000,00", "7 000,00", "7 000,00", "7 000,00", "0", "0"};
}

void TestCashReport::summaryFigures()
{
    QFETCH(double, nyito);
    QFETCH(QList<double>, receipts);
    QFETCH(QList<double>, payments);
    QFETCH(QStringList, figures);

    // Another closing's rows stay out.
    closing(1, 99, {11}, {22});
    const Document doc = report(closing(2, nyito, receipts, payments));
    QCOMPARE(doc.pages.size(), 1);
    const Page &page = doc.pages.first();
    const char *names[] = {"forgalom_bevetel", "forgalom_kiadas", "kezdo_bevetel", "zaro_kiadas",
                           "osszesen_bevetel", "osszesen_kiadas", "bevetel_db",    "kiadas_db"};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(Text(page, names[i]), figures.at(i));
    QCOMPARE(Text(page, "kezdo_kiadas"), QStringLiteral("<none>"));
    QCOMPARE(Text(page, "zaro_bevetel"), QStringLiteral("<none>"));
    int rows = 0;
    for (const Element &e : page.elements)
        rows += e.name == QLatin1String("sor");
    QCOMPARE(rows, int(receipts.size() + payments.size()));
    const char *texts[] = {"forgalom", "kezdo",           "zaro",           "osszesen",  "ellenorzes", "tobblet",
                           "hiany",    "bevetel_felirat", "kiadas_felirat", "penztaros", "ellenor"};
    const char *expected[] = {"Forgalom/Átvitel",
                              "Kezdő pénzkészlet",
                              "Záró pénzkészlet",
                              "Összesen",
                              "Pénztárellenőrzés szerinti záró pénzkészlet",
                              "Többlet",
                              "Hiány",
                              "Bevételi pénztárbizonylat",
                              "Kiadási pénztárbizonylat",
                              "Pénztáros",
                              "Ellenőr"};
    for (int i = 0; i < 11; ++i)
        QCOMPARE(Text(page, texts[i]), QString::fromUtf8(expected[i]));
}

void TestCashReport::rowNumbersRunOnAcrossPages()
{
    // 277 mm less the header (34.4) and the footer (14.6) hold 36 rows of 6.3 mm.
    QList<double> receipts;
    for (int i = 0; i < 45; ++i)
        receipts.append(100);
    const Document doc = report(closing(4, 0, receipts, {}));
    QCOMPARE(doc.pages.size(), 2);
    const Page &second = doc.pages.at(1);
    QCOMPARE(Text(second, "sor"), QStringLiteral("37"));
    QCOMPARE(FindElement(second, QStringLiteral("sor"))->box.top(), 35.5);
    QCOMPARE(Text(second, "fej_sor"), QStringLiteral("sorszám"));
    QCOMPARE(Text(second, "lablec_oldal"), QStringLiteral("oldal: 2"));
    QCOMPARE(Text(second, "forgalom_bevetel"), QStringLiteral("4 500,00"));
    QVERIFY(!FindElement(doc.pages.first(), QStringLiteral("forgalom_bevetel")));
}

void TestCashReport::printedFromItsClosingRecord()
{
    const int record = closing(12, 20000, {3000}, {1000});
    m_db.voucher({{QStringLiteral("ssz"), 99}, {QStringLiteral("zarbizonylat"), 13}});

    // Printed without a printer, it is offered as a PDF.
    ReportServices services = m_db.services();
    services.outputChoice = [](QWidget *) { return 1; };
    const QString path = m_db.dir.filePath(QStringLiteral("napzar.pdf"));
    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {path};
    NapZarNyomtat(m_db.session, *m_db.engine, record, services);
    QCOMPARE(m_db.fileDialogs.asked.size(), 1);
    QVERIFY(m_db.fileDialogs.asked.first().path.endsWith(QStringLiteral("/Időszaki pénztárjelentés 00012.pdf")));

    REQUIRE_PDF_TOOLS();
    const QString text = PdfText(path);
    QCOMPARE(PdfPageCount(text), 1);
    for (const char *expected : {"Időszaki pénztárjelentés", "00012", "PB00001", "PK00002", "Mellékletek",
                                 "Pénztárellenőrzés szerinti záró pénzkészlet", "23 000,00", "qrNapZar"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(!text.contains(QStringLiteral("KB00099")));

    // Positions on paper, from the printable area at 10 mm: two rows of 6.3 under the 34.4 mm header.
    const double s = 10 + 34.4 + 2 * 6.3;
    const struct
    {
        const char *word;
        double left, top;
    } expected[] = {{"Időszaki", 10, 11.3},
                    {"bizonylatszám", 10, 29.8},
                    {"Forgalom/Átvitel", 88.6 + 10, -1},
                    {"Mellékletek", 88.6 + 10, s + 48.9}};
    const QList<PdfWord> words = PdfWords(path, 1);
    for (const auto &x : expected) {
        const PdfWord *found = nullptr;
        for (const PdfWord &w : words)
            if (w.text == QString::fromUtf8(x.word) && !found)
                found = &w;
        QVERIFY2(found, x.word);
        if (x.left >= 0)
            QVERIFY2(qAbs(found->box.left() - x.left) <= 0.3,
                     qPrintable(QStringLiteral("%1 x %2").arg(found->text).arg(found->box.left())));
        if (x.top >= 0)
            QVERIFY2(qAbs(found->box.top() - x.top) <= 0.3,
                     qPrintable(QStringLiteral("%1 y %2").arg(found->text).arg(found->box.top())));
    }
}

void TestCashReport::countFillsTheForm_data()
{
    QTest::addColumn<CashCount>("count");
    QTest::addColumn<QStringList>("firstLine"); // db, címlet, value; empty cells left out
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("surplus");
    QTest::addColumn<QString>("shortage");

    // The closing balance is 1 000 + 500 - 200 = 1 300.
    QTest::newRow("forint, equal") << CashCount::OfPieces({0, 0, 0, 0, 1, 0, 1, 1})
                                   << QStringList{"0", "20 000", "0,00"} << "1 300,00"
                                   << "0,00"
                                   << "0,00";
    QTest::newRow("forint, 5 Ft surplus")
        << CashCount::OfPieces({0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 1}) << QStringList{"0", "20 000", "0,00"} << "1 305,00"
        << "5,00"
        << "0,00";
    QTest::newRow("forint, 100 Ft shortage")
        << CashCount::OfPieces({0, 0, 0, 0, 1, 0, 1}) << QStringList{"0", "20 000", "0,00"} << "1 200,00"
        << "0,00"
        << "100,00";
    // Another currency: the amount of each line only.
    QTest::newRow("amounts per line") << CashCount::OfAmounts({1000.5, 299.5}) << QStringList{"1 000,50"} << "1 300,00"
                                      << "0,00"
                                      << "0,00";
}

void TestCashReport::countFillsTheForm()
{
    QFETCH(CashCount, count);
    QFETCH(QStringList, firstLine);
    QFETCH(QString, total);
    QFETCH(QString, surplus);
    QFETCH(QString, shortage);
    const Page page = report(closing(3, 1000, {500}, {200}), count).pages.first();
    const double s = 34.4 + 2 * 6.3;
    // The lines stand in the form's rows: the first under the headings, 4 mm apart, 1.3 mm inside their columns.
    const double columns[] = {0, 19.9, 49.0};
    const char *names[] = {"szamlalo_db", "szamlalo_cimlet", "szamlalo_ertek"};
    QStringList cells;
    for (int c = 0; c < 3; ++c) {
        const Element *e = FindElement(page, QString::fromLatin1(names[c]));
        if (!e)
            continue;
        cells << e->text;
        Check(page, names[c], columns[c] + 1.3, s + 1.3 + 2 * 4.0 + 0.4);
    }
    QCOMPARE(cells, firstLine);
    int values = 0;
    for (const Element &e : page.elements)
        values += e.name == QLatin1String("szamlalo_ertek");
    QCOMPARE(values, int(count.lines.size()));
    Check(page, "szamlalo_osszeg", 49.0 + 1.3, s + 1.3 + 18 * 4.0 + 0.4);
    QCOMPARE(Text(page, "szamlalo_osszeg"), total);
    // The counted balance, surplus and shortage in the payments column of their lines.
    QCOMPARE(Text(page, "ellenorzes_kiadas"), total);
    QCOMPARE(Text(page, "tobblet_kiadas"), surplus);
    QCOMPARE(Text(page, "hiany_kiadas"), shortage);
    for (const char *name : {"ellenorzes_kiadas", "tobblet_kiadas", "hiany_kiadas"})
        QVERIFY(FindElement(page, QString::fromLatin1(name))->box.left() > 158.8);
    // The whole summary still stays inside its 79 mm.
    for (const Element &e : page.elements)
        if (e.box.top() >= s && e.box.top() < s + TqrNapZar::SummaryHeight)
            QVERIFY2(e.box.bottom() <= s + TqrNapZar::SummaryHeight, qPrintable(e.name));
}

void TestCashReport::countOnPaper()
{
    // The count stored with the closing is printed from the record.
    const int record = closing(12, 20000, {3000}, {1000});
    Transaction transaction(*m_db.engine);
    WriteCashCount(*m_db.engine, record, CashCount::OfPieces({1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
    transaction.commit();
    ReportServices services = m_db.services();
    services.outputChoice = [](QWidget *) { return 1; };
    const QString path = m_db.dir.filePath(QStringLiteral("count.pdf"));
    m_db.messages.answers = {true};
    m_db.fileDialogs.answers = {path};
    NapZarNyomtat(m_db.session, *m_db.engine, record, services);
    REQUIRE_PDF_TOOLS();
    // 22 000 + 10 counted against 22 000 in the book: the total at the form's foot, the surplus in its line.
    const double s = 10 + 34.4 + 2 * 6.3;
    const QList<PdfWord> words = PdfWords(path, 1);
    // The word at that height, left of the given edge.
    const auto find = [&words](const QString &text, double top, double before = 1000) -> const PdfWord * {
        for (const PdfWord &w : words)
            if (w.text == text && qAbs(w.box.top() - top) <= 1.0 && w.box.left() < before)
                return &w;
        return nullptr;
    };
    // The form's first line: 1 piece of 20 000, its value right-aligned in the currency column, inside the form.
    const double formRight = 10 + 87.6;
    const PdfWord *value = find(QStringLiteral("000,00"), s + 1.3 + 2 * 4.0 + 0.4, formRight);
    QVERIFY(value);
    QVERIFY2(qAbs(value->box.right() - (formRight - 1.6)) <= 0.6, qPrintable(QString::number(value->box.right())));
    QVERIFY(find(QStringLiteral("20"), s + 1.3 + 2 * 4.0 + 0.4, 10 + 49.0));
    QVERIFY(find(QStringLiteral("22"), s + 1.3 + 18 * 4.0 + 0.4, formRight));
    // A summary line's text stands in the middle of its 6.9 mm frame.
    QVERIFY(find(QStringLiteral("10,00"), s + 1.3 + 5 * 6.6 + 1.4));
    const PdfWord *surplusLabel = find(QStringLiteral("Többlet"), s + 1.3 + 5 * 6.6 + 1.4);
    QVERIFY(surplusLabel);
    QVERIFY(qAbs(surplusLabel->box.left() - (10 + 88.6)) <= 0.3);
}

void TestCashReport::cashLimitAndExcess_data()
{
    QTest::addColumn<QVariant>("limit"); // the till's limit kept on the closing record; null: none
    QTest::addColumn<QString>("line");   // empty: no line

    // The closing balance is 1 000 + 500 - 200 = 1 300.
    QTest::newRow("no limit") << QVariant() << QString();
    QTest::newRow("one forint above the balance") << QVariant(1301.0) << QStringLiteral("1 301,00");
    QTest::newRow("at the balance") << QVariant(1300.0) << QStringLiteral("1 300,00");
    QTest::newRow("one forint below the balance") << QVariant(1299.0) << QStringLiteral("1 299,00, túllépés: 1,00");
}

void TestCashReport::cashLimitAndExcess()
{
    QFETCH(QVariant, limit);
    QFETCH(QString, line);
    const int record = closing(3, 1000, {500}, {200});
    m_db.engine->update(QStringLiteral("zarbizonylat"), QStringLiteral("zarbizonylat"), record,
                        {{QStringLiteral("zaro_max"), limit}});
    const Page page = report(record).pages.first();
    if (line.isEmpty()) {
        QVERIFY(!FindElement(page, QStringLiteral("zaro_max")));
        QVERIFY(!FindElement(page, QStringLiteral("zaro_max_felirat")));
        return;
    }
    // A header line under the closing's number, above the column headings.
    Check(page, "zaro_max_felirat", 0, 23.7);
    Check(page, "zaro_max", 22.8, 23.7);
    QCOMPARE(Text(page, "zaro_max_felirat"), QStringLiteral("max. készlet"));
    QCOMPARE(Text(page, "zaro_max"), line);
    QVERIFY(FindElement(page, QStringLiteral("zaro_max"))->box.bottom() <= 27.8);
}

QTEST_MAIN(TestCashReport)
#include "test_cashreport.moc"

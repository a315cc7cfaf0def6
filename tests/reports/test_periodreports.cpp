#include "reportsfixture.h"
#include "tqrelszamol.h"
#include "tqrelszamolas.h"
#include "tqrossz.h"
#include "util.h"

using namespace Report;

class TestPeriodReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ReportsFixture::initProcess(); }
    void init()
    {
        m_db.openDatabase(QStringLiteral("periodreports"));
        m_serial = 0;
    }
    void cleanup() { m_db.close(); }

    void tillHistoryFollowsTheLayoutTable_data();
    void tillHistoryFollowsTheLayoutTable();
    void eachKindListsItsDirectionAndSumsIt_data();
    void eachKindListsItsDirectionAndSumsIt();
    void longHistoryRepeatsTheHeaderAndTotalsOnTheLastPage();
    void emptyPeriodGivesHeadingsAndTotalsOfZero();
    void waitingAdvancesFollowTheLayoutTable();
    void settlementsFollowTheLayoutTable();
    void pdfPutsLabelsWhereTheLayoutSays();

private:
    static constexpr double FooterTop = 277.0 - 14.6;
    const DateRange March{QDate(2026, 3, 1), QDate(2026, 3, 31)};
    const QString Format = QStringLiteral("### ### ##0");

    qint64 receipt(double amount, const QVariantMap &values = {})
    {
        QVariantMap row{{QStringLiteral("kibe"), QStringLiteral("B")},
                        {QStringLiteral("betujel"), QStringLiteral("PB")},
                        {QStringLiteral("bevetel"), amount},
                        {QStringLiteral("kiadas"), 0.0}};
        row.insert(values);
        return payment(amount, row);
    }
    qint64 payment(double amount, const QVariantMap &values = {})
    {
        QVariantMap row{{QStringLiteral("osszeg"), amount},
                        {QStringLiteral("bevetel"), 0.0},
                        {QStringLiteral("kiadas"), amount},
                        {QStringLiteral("ssz"), ++m_serial}};
        row.insert(values);
        return m_db.voucher(row);
    }
    ListFrame::Context context() const
    {
        return {ReadOwnerHeading(*m_db.engine), Format, QDateTime(QDate(2026, 4, 2), QTime(8, 30))};
    }
    Document history(int kind = TqrOssz::Kasszatortenet)
    {
        return Collected(TqrOssz::layout(kind, QStringLiteral("Fő kassza"), March, context(),
                                         TqrOssz::Rows(*m_db.engine, kind, m_db.till, March, Format)));
    }
    // The texts of the elements with this name, page by page in order.
    static QStringList Texts(const QList<Page> &pages, const QString &name)
    {
        QStringList texts;
        for (const Page &page : pages)
            for (const Element &e : page.elements)
                if (e.name == name)
                    texts.append(e.text);
        return texts;
    }
    // Rows of (name, left, top, width, text), positions to 0.1 mm as the layout tables give them.
    struct Expected
    {
        const char *name;
        double left, top, width;
        const char *text;
    };
    static QString Mismatches(const Page &page, std::initializer_list<Expected> table)
    {
        QStringList wrong;
        for (const Expected &x : table) {
            const Element *e = FindElement(page, QString::fromLatin1(x.name));
            QString mismatch = BoxMismatch(e, x.left, x.top, x.width, -1, 0.1);
            if (mismatch.isEmpty() && x.text && e->text != QString::fromUtf8(x.text))
                mismatch = QStringLiteral("%1 reads \"%2\"").arg(e->name, e->text);
            if (!mismatch.isEmpty())
                wrong << QString::fromLatin1(x.name) + QLatin1Char(' ') + mismatch;
        }
        return wrong.join(QLatin1Char('\n'));
    }

    ReportsFixture m_db;
    int m_serial = 0;
};

void TestPeriodReports::tillHistoryFollowsTheLayoutTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("width"); // -1: as wide as its text
    QTest::addColumn<QString>("font"); // "Tahoma 8 i"; empty for lines
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("text"); // null: not checked
    const auto row = [](const char *name, double left, double top, double width, const char *font, int alignment,
                        const char *text = nullptr) {
        QTest::newRow(name) << QString::fromLatin1(name) << left << top << width << QString::fromLatin1(font)
                            << alignment << (text ? QString::fromUtf8(text) : QString());
    };
    const int L = Qt::AlignLeft, R = Qt::AlignRight, C = Qt::AlignHCenter;
    // Page header.
    row("cim", 0, 1.3, -1, "Tahoma 16 b", L, "Kasszatörténet");
    row("kassza_nev", 0, 7.9, -1, "Tahoma 10 b", L, "Fő kassza");
    row("idoszak", 0, 11.9, -1, "Tahoma 10 b", L, "2026.03.01 - 2026.03.31");
    row("tulajdonos", 100.0, 1.3, 90.0, "Tahoma 10 b", R, "Gyöngyvirág Kereskedelmi Bt.");
    row("irszvaros", 100.0, 5.6, 90.0, "Tahoma 10", R, "1051 Budapest, Nádor utca 12.");
    row("telefon", 100.0, 9.9, 90.0, "Tahoma 10", R, "+36 1 234 5678");
    row("fej_sorszam", 0, 18.5, -1, "Tahoma 8 i", L, "bizonylat");
    row("fej_dat_kiadva", 21.2, 18.5, -1, "Tahoma 8 i", L, "dátum");
    row("fej_kasszatip_nev", 42.3, 18.5, -1, "Tahoma 8 i", L, "típus");
    row("fej_ugyfel_nev", 70.1, 18.5, -1, "Tahoma 8 i", L, "kitől/kinek");
    row("fej_bevetel", 115.1, 18.5, 25.5, "Tahoma 8 i", R, "bevétel");
    row("fej_kiadas", 141.6, 18.5, 25.5, "Tahoma 8 i", R, "kiadás");
    row("fej_vonal", 0, 23.5, 190.0, "", L);
    // The first row, with its text under it, from 23.5 and 11.9 high; the second without text 6.6 high.
    row("sorszam", 0, 24.8, 20.0, "Tahoma 8", L, "PB00001");
    row("dat_kiadva", 21.2, 24.8, 20.0, "Tahoma 8", L);
    row("kasszatip_nev", 42.3, 24.8, 26.8, "Tahoma 8", L, "Irodaszer");
    row("ugyfel_nev", 70.1, 24.8, 44.0, "Tahoma 8", L, "Nagy Péter");
    row("bevetel", 115.1, 24.8, 25.5, "Tahoma 8", R, "5 000");
    row("kiadas", 141.6, 24.8, 25.5, "Tahoma 8", R, "0");
    row("szoveg", 13.2, 28.8, 163.0, "Tahoma 8", L, "Napi bevétel");
    row("vonal", 0, 35.4, 190.0, "", L);
    // Summary.
    row("osszesen_vonal", 0, 42.0, 190.0, "", L);
    row("osszesen", 7.9, 43.3, -1, "Tahoma 8", L, "Összesen");
    row("osszesen_bevetel", 115.1, 43.3, 25.5, "Tahoma 8 b", R, "5 000");
    row("osszesen_kiadas", 141.6, 43.3, 25.5, "Tahoma 8 b", R, "2 000");
    row("egyenleg_felirat", 140.2, 48.6, -1, "Tahoma 8", L, "Egyenleg");
    row("egyenleg", 162.7, 48.6, 25.5, "Tahoma 8 b", R, "3 000");
    row("osszesen_vonal_alul", 0, 53.9, 190.0, "", L);
    // Page footer: lines of Courier New 6 (2.4 mm) from 1.3 mm below its top and up to 1.3 mm above its bottom.
    row("lablec_vonal", 0, FooterTop, 190.0, "", L);
    row("lablec_program", 0, FooterTop + 1.3, -1, "Courier New 6", L, "Dromvel.Pro");
    row("lablec_nyomtatva", 0, FooterTop + 1.3, 190.0, "Courier New 6", R, "2026. 04. 02. 8:30");
    row("lablec_cim", 0, FooterTop + 3.7, 190.0, "Courier New 6", R, "Kasszatörténet");
    row("lablec_oldal", 0, FooterTop + 10.9, -1, "Courier New 6", L, "oldal: 1");
    row("lablec_honlap", 0, FooterTop + 10.9, 190.0, "Courier New 6", C);
    row("lablec_nev", 0, FooterTop + 10.9, 190.0, "Courier New 6", R, "qrOssz");
}

void TestPeriodReports::tillHistoryFollowsTheLayoutTable()
{
    QFETCH(QString, name);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, width);
    QFETCH(QString, font);
    QFETCH(int, alignment);
    QFETCH(QString, text);

    m_db.engine->update(QStringLiteral("tulajdonos"), QStringLiteral("rowid"), 1,
                        {{QStringLiteral("telefon"), QStringLiteral("+36 1 234 5678")},
                         {QStringLiteral("irsz"), QStringLiteral("1051")},
                         {QStringLiteral("varos"), QStringLiteral("Budapest")},
                         {QStringLiteral("cim"), QStringLiteral("Nádor utca 12.")}});
    receipt(5000, {{QStringLiteral("szoveg"), QStringLiteral("Napi bevétel")}});
    payment(2000);
    const Document doc = history();
    QCOMPARE(doc.pages.size(), 1);
    QCOMPARE(doc.title, QStringLiteral("Kasszatörténet"));

    const Element *e = FindElement(doc.pages.first(), name);
    const QString mismatch = BoxMismatch(e, left, top, width, -1, 0.1);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    if (!font.isEmpty()) {
        QStringList parts = font.split(QLatin1Char(' '));
        const bool italic = parts.last() == QLatin1String("i");
        const bool bold = parts.last() == QLatin1String("b");
        if (italic || bold)
            parts.removeLast();
        const double size = parts.takeLast().toDouble();
        QCOMPARE(e->font, (Font{parts.join(QLatin1Char(' ')), size, bold, italic}));
        QCOMPARE(int(e->alignment & Qt::AlignHorizontal_Mask), alignment);
    }
    if (!text.isNull())
        QCOMPARE(e->text, text);
}

void TestPeriodReports::eachKindListsItsDirectionAndSumsIt_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("receipts"); // null: no column, heading or total
    QTest::addColumn<QString>("payments");
    QTest::addColumn<QString>("balance");
    QTest::newRow("receipts") << int(TqrOssz::Befizetesek) << QStringList{QStringLiteral("PB00002")}
                              << QStringLiteral("5 000") << QString() << QString();
    QTest::newRow("payments") << int(TqrOssz::Kifizetesek) << QStringList{QStringLiteral("KB00003")} << QString()
                              << QStringLiteral("2 000") << QString();
    // The opening row of the till has no number.
    QTest::newRow("history") << int(TqrOssz::Kasszatortenet)
                             << QStringList{QString(), QStringLiteral("PB00002"), QStringLiteral("KB00003")}
                             << QStringLiteral("5 000") << QStringLiteral("2 000") << QStringLiteral("3 000");
}

void TestPeriodReports::eachKindListsItsDirectionAndSumsIt()
{
    QFETCH(int, kind);
    QFETCH(QStringList, numbers);
    QFETCH(QString, receipts);
    QFETCH(QString, payments);
    QFETCH(QString, balance);

    payment(0, {{QStringLiteral("kibe"), QStringLiteral("N")},
                {QStringLiteral("betujel"), QVariant()},
                {QStringLiteral("ssz"), QVariant()},
                {QStringLiteral("dat_kiadva"), QDate(2026, 3, 1)}});
    receipt(5000);
    payment(2000);
    // Pending, other till, outside the period: never listed.
    receipt(700, {{QStringLiteral("kiadva"), QStringLiteral("N")}});
    payment(800, {{QStringLiteral("kassza"), m_db.till + 1}});
    receipt(900, {{QStringLiteral("dat_kiadva"), QDate(2026, 4, 1)}});

    const Document doc = history(kind);
    QCOMPARE(doc.title, TqrOssz::Title(kind));
    QCOMPARE(Texts(doc.pages, QStringLiteral("sorszam")), numbers);
    const Page &page = doc.pages.first();
    QCOMPARE(FindElement(page, QStringLiteral("cim"))->text, TqrOssz::Title(kind));
    for (const auto &[column, total] : {std::pair{"bevetel", receipts}, std::pair{"kiadas", payments}}) {
        const QString name = QString::fromLatin1(column);
        QCOMPARE(FindElement(page, QStringLiteral("fej_") + name) != nullptr, !total.isNull());
        QCOMPARE(Texts(doc.pages, name).size(), total.isNull() ? 0 : numbers.size());
        const Element *sum = FindElement(page, QStringLiteral("osszesen_") + name);
        QCOMPARE(sum ? sum->text : QString(), total);
    }
    const Element *egyenleg = FindElement(page, QStringLiteral("egyenleg"));
    QCOMPARE(egyenleg ? egyenleg->text : QString(), balance);
    QCOMPARE(FindElement(page, QStringLiteral("egyenleg_felirat")) != nullptr, !balance.isNull());
}

void TestPeriodReports::longHistoryRepeatsTheHeaderAndTotalsOnTheLastPage()
{
    // 277 mm less the header (23.5) and the footer (14.6) hold 36 rows of 6.6 mm: 100 rows and the totals take
    // three pages. A long text grows its row beyond 11.9 mm.
    double in = 0, out = 0;
    for (int i = 1; i <= 100; ++i) {
        const double amount = 1000 + i;
        (i % 4 == 0 ? out : in) += amount;
        if (i % 4 == 0)
            payment(amount);
        else
            receipt(amount);
    }
    receipt(0,
            {{QStringLiteral("szoveg"), QStringLiteral("Hosszú szöveg, amely több sorra tördelődik. ").repeated(8)}});
    const Document doc = history();
    QCOMPARE(doc.pages.size(), 3);
    const QList<int> rows = {36, 36, 29};
    for (int p = 0; p < 3; ++p) {
        const Page &page = doc.pages.at(p);
        QCOMPARE(FindElement(page, QStringLiteral("cim"))->text, QStringLiteral("Kasszatörténet"));
        QVERIFY(FindElement(page, QStringLiteral("fej_kiadas")));
        QCOMPARE(FindElement(page, QStringLiteral("lablec_oldal"))->text, QStringLiteral("oldal: %1").arg(p + 1));
        QCOMPARE(Texts({page}, QStringLiteral("sorszam")).size(), rows.at(p));
        QCOMPARE(FindElement(page, QStringLiteral("sorszam"))->box.top(), 24.8);
        QCOMPARE(FindElement(page, QStringLiteral("osszesen")) != nullptr, p == 2);
    }
    const Page &last = doc.pages.last();
    const QString format = QStringLiteral("### ### ##0");
    QCOMPARE(FindElement(last, QStringLiteral("osszesen_bevetel"))->text, FormatFloat(format, in));
    QCOMPARE(FindElement(last, QStringLiteral("osszesen_kiadas"))->text, FormatFloat(format, out));
    QCOMPARE(FindElement(last, QStringLiteral("egyenleg"))->text, FormatFloat(format, in - out));
    const Element *text = FindElement(last, QStringLiteral("szoveg"));
    const double summaryTop = FindElement(last, QStringLiteral("osszesen_vonal"))->box.top();
    QVERIFY(summaryTop - (text->box.top() - 5.3) > TqrOssz::TextRowHeight + 2);
    QVERIFY(text->box.bottom() <= summaryTop);

    REQUIRE_PDF_TOOLS();
    const QString path = m_db.dir.filePath(QStringLiteral("tortenet.pdf"));
    QCOMPARE(WritePdf(history(), path), QString());
    const QString pdf = PdfText(path);
    QCOMPARE(PdfPageCount(pdf), 3);
    QVERIFY(pdf.contains(QStringLiteral("oldal: 3")));
}

void TestPeriodReports::emptyPeriodGivesHeadingsAndTotalsOfZero()
{
    payment(500, {{QStringLiteral("dat_kiadva"), QDate(2026, 5, 1)}});
    for (int kind = 1; kind <= 3; ++kind) {
        const Document doc = history(kind);
        QCOMPARE(doc.pages.size(), 1);
        const Page &page = doc.pages.first();
        QVERIFY(!FindElement(page, QStringLiteral("sorszam")));
        QVERIFY(FindElement(page, QStringLiteral("fej_sorszam")) && FindElement(page, QStringLiteral("lablec_nev")));
        QCOMPARE(FindElement(page, QStringLiteral("osszesen"))->box.top(), 23.5 + 1.3);
        for (const char *total : {"osszesen_bevetel", "osszesen_kiadas", "egyenleg"})
            if (const Element *e = FindElement(page, QString::fromLatin1(total)))
                QCOMPARE(e->text, QStringLiteral("0"));
    }
}

void TestPeriodReports::waitingAdvancesFollowTheLayoutTable()
{
    const auto advance = [this](int dromvelid, const QDate &due, const QVariantMap &values = {}) {
        QVariantMap row{{QStringLiteral("dromvelid"), dromvelid},
                        {QStringLiteral("elszamol_kell"), QStringLiteral("I")},
                        {QStringLiteral("elszamolva"), QStringLiteral("N")},
                        {QStringLiteral("elszamol_kell_dat"), due}};
        row.insert(values);
        return payment(1000.0 * dromvelid, row);
    };
    advance(3, QDate(2026, 4, 20), {{QStringLiteral("szoveg"), QStringLiteral("Utazás")}});
    advance(1, QDate(2026, 4, 10));
    advance(2, QDate(2026, 4, 20));
    advance(4, QDate(2026, 4, 1), {{QStringLiteral("elszamolva"), QStringLiteral("I")}});
    advance(5, QDate(2026, 4, 1), {{QStringLiteral("kiadva"), QStringLiteral("N")}});
    advance(6, QDate(2026, 4, 1), {{QStringLiteral("kassza"), m_db.till + 1}});
    payment(700);

    const Document doc = Collected(TqrElszamol::layout(QStringLiteral("Fő kassza"), context(),
                                                       TqrElszamol::Rows(*m_db.engine, m_db.till, Format)));
    QCOMPARE(doc.pages.size(), 1);
    // Oldest due date first, then booking order; the third row has its text under it.
    QCOMPARE(Texts(doc.pages, QStringLiteral("osszeg")),
             QStringList({QStringLiteral("1 000"), QStringLiteral("2 000"), QStringLiteral("3 000")}));
    const double summary = 22.2 + 2 * 6.6 + 11.9;
    const QString wrong =
        Mismatches(doc.pages.first(), {
                                          {"cim", 0, 1.3, -1, "Elszámolásra váró tételek"},
                                          {"kassza_nev", 0, 7.9, -1, "Fő kassza"},
                                          {"fej_elszamol_kell_dat", 0, 17.2, -1, "elszámolás"},
                                          {"fej_sorszam", 21.2, 17.2, -1, "bizonylat"},
                                          {"fej_dat_kiadva", 42.3, 17.2, -1, "dátum"},
                                          {"fej_kasszatip_nev", 63.5, 17.2, -1, "típus"},
                                          {"fej_ugyfel_nev", 91.3, 17.2, -1, "kitől/kinek"},
                                          {"fej_osszeg", 136.3, 17.2, 25.5, "összeg"},
                                          {"fej_vonal", 0, 22.2, 190.0, nullptr},
                                          {"elszamol_kell_dat", 5.3, 23.5, 20.0, "2026. 04. 10."},
                                          {"sorszam", 26.5, 23.5, 20.0, "KB00002"},
                                          {"dat_kiadva", 47.6, 23.5, 20.0, "2026. 03. 14."},
                                          {"kasszatip_nev", 68.8, 23.5, 26.8, "Irodaszer"},
                                          {"ugyfel_nev", 96.6, 23.5, 44.0, "Nagy Péter"},
                                          {"osszeg", 141.6, 23.5, 25.5, "1 000"},
                                          {"szoveg", 13.2, 22.2 + 2 * 6.6 + 5.3, 163.0, "Utazás"},
                                          {"osszesen", 7.9, summary + 1.3, -1, "Összesen"},
                                          {"osszesen_osszeg", 141.6, summary + 1.3, 25.5, "6 000"},
                                          {"lablec_cim", 0, FooterTop + 3.7, 190.0, "Elszámolásra váró tételek"},
                                          {"lablec_nev", 0, FooterTop + 10.9, 190.0, "qrElszamol"},
                                      });
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestPeriodReports::settlementsFollowTheLayoutTable()
{
    m_db.engine->update(QStringLiteral("kassza"), QStringLiteral("kassza"), m_db.till,
                        {{QStringLiteral("valuta"), QStringLiteral("EUR")}});
    const auto request = [this](int serial, const QVariantMap &values = {}) {
        QVariantMap row{{QStringLiteral("elszamol_kell"), QStringLiteral("I")},
                        {QStringLiteral("elszamol_ssz"), serial},
                        {QStringLiteral("elszamol_kell_dat"), QDate(2026, 4, 15)}};
        row.insert(values);
        return payment(15000, row);
    };
    request(12, {{QStringLiteral("elszamol_dat"), QDate(2026, 4, 10)},
                 {QStringLiteral("elszamol_tenyl_osszeg"), 14200.0},
                 {QStringLiteral("elszamol_bevet_penztarbiz"), QStringLiteral("PB00044")},
                 {QStringLiteral("szoveg"), QStringLiteral("Maradék visszahozva")}});
    request(3);
    request(9, {{QStringLiteral("elszamol_kell"), QStringLiteral("N")}});
    request(7, {{QStringLiteral("dat_kiadva"), QDate(2026, 2, 28)}});

    const Document doc = Collected(TqrElszamolas::layout(ReadTillHeading(*m_db.engine, m_db.till), March, context(),
                                                         TqrElszamolas::Rows(*m_db.engine, m_db.till, March, Format)));
    QCOMPARE(doc.setup.orientation, QPageLayout::Landscape);
    const Page &page = doc.pages.first();
    // In settlement order, numbered by the settlement serial; no totals and no lines between the rows.
    QCOMPARE(Texts(doc.pages, QStringLiteral("elszamol_ssz")),
             QStringList({QStringLiteral("00003"), QStringLiteral("00012")}));
    QCOMPARE(Texts(doc.pages, QStringLiteral("sorszam")),
             QStringList({QStringLiteral("KB00002"), QStringLiteral("KB00001")}));
    QVERIFY(!FindElement(page, QStringLiteral("osszesen")) && !FindElement(page, QStringLiteral("vonal")));
    QCOMPARE(FindElement(page, QStringLiteral("lablec_nev"))->font, (Font{QStringLiteral("Courier New"), 8}));

    // Headings at 23.8 over their cells, which start 1.3 into the 30 mm header's next band, rows 7.9 apart.
    const struct
    {
        const char *name;
        double left, width;
        Qt::Alignment alignment;
        const char *heading;
        const char *lastRow;
    } columns[] = {
        {"elszamol_ssz", 0, 14.6, Qt::AlignRight, "sorszám", "00012"},
        {"dat_kiadva", 15.9, 20.3, Qt::AlignLeft, "felvétel", "2026. 03. 14."},
        {"sorszam", 37.0, 21.6, Qt::AlignLeft, "kiadási biz.", "KB00001"},
        {"ugyfel_nev", 59.5, 34.4, Qt::AlignLeft, "felvevő neve", "Nagy Péter"},
        {"szoveg1", 95.7, 25.6, Qt::AlignLeft, "felvétel jogcím", "Nyomtatópapír"},
        {"osszeg", 122.1, 22.9, Qt::AlignRight, "felvett összeg", "15 000"},
        {"elszamol_kell_dat", 146.8, 24.7, Qt::AlignHCenter, "határideje", "2026. 04. 15."},
        {"elszamol_dat", 173.3, 24.7, Qt::AlignHCenter, "tényleges időpont", "2026. 04. 10."},
        {"elszamol_tenyl_osszeg", 199.8, 22.9, Qt::AlignRight, "felh.összeg", "14 200"},
        {"elszamol_bevet_penztarbiz", 224.0, 21.6, Qt::AlignLeft, "bevét biz.", "PB00044"},
        {"szoveg", 246.9, 28.7, Qt::AlignLeft, "megjegyzés", "Maradék visszahozva"},
    };
    for (const auto &c : columns) {
        const QString name = QString::fromLatin1(c.name);
        const Element *heading = FindElement(page, QStringLiteral("fej_") + name);
        QString mismatch = BoxMismatch(heading, c.left, 23.8, c.width);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QCOMPARE(heading->text, QString::fromUtf8(c.heading));
        QCOMPARE(heading->alignment, c.alignment);
        QCOMPARE(heading->font, ListFrame::Tahoma8Italic);
        const Element *last = nullptr;
        for (const Element &e : page.elements)
            if (e.name == name)
                last = &e;
        mismatch = BoxMismatch(last, c.left, 30.0 + 1.3 + 7.9, c.width);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        QCOMPARE(last->alignment, c.alignment);
        QCOMPARE(last->text, QString::fromUtf8(c.lastRow));
    }
    const QString wrong = Mismatches(page, {
                                               {"cim", 0, 1.3, -1, "Készpénzigénylések elszámolása"},
                                               {"kassza_nev", 0, 7.9, -1, "Fő kassza"},
                                               {"valuta_felirat", 54.7, 7.9, -1, "valuta"},
                                               {"valuta", 72.3, 7.9, -1, "EUR"},
                                               {"idoszak", 0, 13.2, -1, "2026.03.01 - 2026.03.31"},
                                               {"fej_elszamolas", 146.8, 18.5, 173.3 + 24.7 - 146.8, "elszámolás"},
                                               {"tulajdonos", 277.0 - 90.0, 1.3, 90.0, "Gyöngyvirág Kereskedelmi Bt."},
                                               {"lablec_nev", 0, 190.0 - 1.3 - 3.2, 277.0, "qrElszamolas"},
                                           });
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
}

void TestPeriodReports::pdfPutsLabelsWhereTheLayoutSays()
{
    REQUIRE_PDF_TOOLS();
    receipt(5000);
    payment(2000);
    const QString path = m_db.dir.filePath(QStringLiteral("kasszatortenet.pdf"));
    QCOMPARE(WritePdf(history(), path), QString());
    const QList<PdfWord> words = PdfWords(path, 1);

    // Printable area from 10 mm; left-aligned words by their left edge, right-aligned ones by their right edge.
    const double summary = 23.5 + 2 * 6.6;
    const struct
    {
        const char *word;
        double x, top;
        bool right;
    } expected[] = {
        {"Kasszatörténet", 0, 1.3, false},
        {"bizonylat", 0, 18.5, false},
        {"kitől/kinek", 70.1, 18.5, false},
        {"kiadás", 167.1, 18.5, true},
        {"PB00001", 0, 24.8, false},
        {"Összesen", 7.9, summary + 1.3, false},
        {"Egyenleg", 140.2, summary + 6.6, false},
        {"000", 188.2, summary + 6.6, true},
        {"qrOssz", 190.0, FooterTop + 10.9, true},
    };
    for (const auto &x : expected) {
        const QString text = QString::fromUtf8(x.word);
        const PdfWord *found = nullptr;
        for (const PdfWord &w : words)
            if (w.text == text && qAbs(w.box.top() - 10 - x.top) < 2)
                found = &w;
        QVERIFY2(found, x.word);
        const double edge = (x.right ? found->box.right() : found->box.left()) - 10;
        QVERIFY2(qAbs(edge - x.x) <= 0.3, qPrintable(QStringLiteral("%1 at x %2").arg(text).arg(edge)));
        QVERIFY2(qAbs(found->box.top() - 10 - x.top) <= 0.3,
                 qPrintable(QStringLiteral("%1 at y %2").arg(text).arg(found->box.top() - 10)));
    }
}

QTEST_MAIN(TestPeriodReports)
#include "test_periodreports.moc"

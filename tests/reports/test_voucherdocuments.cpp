#include "reportfonts.h"
#include "reportsfixture.h"
#include "settingsstore.h"
#include "tqrkpelszamol.h"
#include "tqrpenztarbiz.h"
#include "tqrpenztarbiz2.h"
#include "util.h"
#include "voucherdata.h"

using namespace Report;

class TestVoucherDocuments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ReportsFixture::initProcess(); }
    void init() { m_db.openDatabase(QStringLiteral("vouchers")); }
    void cleanup() { m_db.close(); }

    void cashVoucherFollowsTheLayoutTable_data();
    void cashVoucherFollowsTheLayoutTable();
    void cashVoucherTextsAndSecondCopy();
    void instructionLineFollowsTheDirection_data();
    void instructionLineFollowsTheDirection();
    void oneCopyPerPageHidesTheSecondCopyAndItsLines();
    void longValuesStayInsideTheirFrames();
    void cashRequestFollowsTheLayoutTable();
    void periodVouchersThreeToAPage();
    void unknownRowGivesAnEmptyPage();

private:
    VoucherSettings settings() const
    {
        return {OwnerName(*m_db.engine), QStringLiteral("### ### ##0"), QStringLiteral("lábléc szövege"),
                QDateTime(QDate(2026, 3, 20), QTime(9, 5))};
    }
    Document cashVoucher(qint64 row, bool csakEgyet = false)
    {
        return TqrPenztarbiz::layout(ReadVoucher(*m_db.engine, row), settings(), csakEgyet);
    }
    static void checkBox(const Element *e, double left, double top, double width, double height, double tolerance);

    ReportsFixture m_db;
};

void TestVoucherDocuments::checkBox(const Element *e, double left, double top, double width, double height,
                                    double tolerance)
{
    QVERIFY(e);
    const auto near = [tolerance](double a, double b) { return qAbs(a - b) <= tolerance + 1e-9; };
    QVERIFY2(near(e->box.left(), left), qPrintable(QStringLiteral("%1 left %2").arg(e->name).arg(e->box.left())));
    QVERIFY2(near(e->box.top(), top), qPrintable(QStringLiteral("%1 top %2").arg(e->name).arg(e->box.top())));
    if (width >= 0)
        QVERIFY2(near(e->box.width(), width), qPrintable(e->name));
    if (height >= 0)
        QVERIFY2(near(e->box.height(), height), qPrintable(e->name));
}

void TestVoucherDocuments::cashVoucherFollowsTheLayoutTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("width"); // -1: as wide as its text
    QTest::addColumn<double>("height");
    QTest::addColumn<QString>("font"); // family, size, b for bold; empty for frames
    QTest::addColumn<int>("alignment");

    const int L = Qt::AlignLeft, R = Qt::AlignRight, C = Qt::AlignHCenter;
    const auto row = [](const char *name, double left, double top, double width, double height, const char *font,
                        int alignment) {
        QTest::newRow(name) << QString::fromLatin1(name) << left << top << width << height << QString::fromLatin1(font)
                            << alignment;
    };
    row("kibe_nev", 1.3, 1.3, 44.0, 13.6, "Arial 14 b", L);
    row("kiallito_ph", 46.3, 2.6, -1, -1, "Arial 10", L);
    row("tulajdonos", 46.3, 9.3, -1, -1, "Tahoma 9 b", L);
    row("sorszam", 142.9, 2.6, 44.0, -1, "Arial 14 b", R);
    row("peldany", 142.9, 9.3, 44.0, -1, "Tahoma 9 b", R);
    row("keret", 0, 15.9, 189.5, 73.1, "", L);
    const double leftTops[] = {15.9, 30.4, 45.0, 59.5, 74.1};
    for (int i = 0; i < 5; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        row(QByteArray("keret_bal" + n).constData(), 0, leftTops[i], 28.1, 14.9, "", L);
        row(QByteArray("bal" + n).constData(), 1.3, leftTops[i] + 1.3, -1, -1, "Tahoma 8", L);
    }
    row("felhasznalo_nev", 1.3, 25.1, -1, -1, "Tahoma 6", L);
    row("utasitas", 30.4, 18.5, -1, -1, "Tahoma 6", L);
    row("ugyfel_nev", 33.1, 23.8, 85.0, -1, "Tahoma 9 b", L);
    row("keret_kelt", 148.2, 15.9, 41.3, 12.2, "", L);
    row("kelt", 149.5, 17.2, -1, -1, "Tahoma 8", L);
    row("dat_kiadva", 156.1, 22.5, 31.8, -1, "Tahoma 9 b", R);
    row("keret_osszeg", 31.8, 30.4, 26.8, 6.9, "", L);
    row("osszeg", 33.1, 31.8, 23.8, -1, "Tahoma 9 b", R);
    row("azaz", 62.2, 31.8, -1, -1, "Tahoma 6", L);
    row("keret_betuvel", 72.8, 30.4, 100.9, 6.9, "", L);
    row("betuvel", 74.1, 31.8, -1, -1, "Tahoma 9 b", L);
    row("valuta", 177.3, 31.8, -1, -1, "Tahoma 8", L);
    const double rowTops[] = {38.4, 45.0, 51.6, 58.2, 64.8, 71.4};
    const double colLefts[] = {27.8, 55.6, 83.3, 161.4};
    const double colWidths[] = {28.1, 28.1, 78.4, 28.1};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c)
            row(QStringLiteral("tetel_%1_%2").arg(r + 1).arg(c + 1).toLatin1().constData(), colLefts[c], rowTops[r],
                colWidths[c], 6.9, "", L);
    for (int c = 0; c < 4; ++c)
        row(QStringLiteral("fejlec%1").arg(c + 1).toLatin1().constData(), colLefts[c] + 0.5, 39.7, colWidths[c] - 1.0,
            -1, "Tahoma 6", C);
    const char *itemFields[] = {"forgjogcim", "bizszam", "szoveg"};
    for (int i = 1; i <= 3; ++i) {
        for (int c = 0; c < 3; ++c)
            row(QStringLiteral("%1%2").arg(QLatin1String(itemFields[c])).arg(i).toLatin1().constData(),
                colLefts[c] + 1.3, rowTops[i] + 1.3, colWidths[c] - 2.6, -1, "Times New Roman 8", L);
        row(QStringLiteral("osszeg%1").arg(i).toLatin1().constData(), 162.7, rowTops[i] + 1.3, 25.5, -1, "Tahoma 9 b",
            R);
    }
    row("keret_melleklet", 27.8, 78.1, 28.1, 10.9, "", L);
    row("melleklet", 29.1, 79.4, -1, -1, "Tahoma 8", L);
    row("keret_vegosszeg", 161.4, 78.1, 28.1, 10.9, "", L);
    row("vegosszeg", 162.7, 80.7, 25.1, -1, "Tahoma 9 b", R);
    row("szigszam", 133.6, 79.4, 25.1, -1, "Times New Roman 8", R);
    row("alairas", 56.9, 84.7, 102.2, -1, "Tahoma 6", C);
    row("program", 0, 90.0, -1, -1, "Courier New 6", L);
    row("lablec", 0, 90.0, 190.2, -1, "Courier New 6", C);
}

void TestVoucherDocuments::cashVoucherFollowsTheLayoutTable()
{
    QFETCH(QString, name);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QString, font);
    QFETCH(int, alignment);

    const Document doc = cashVoucher(m_db.voucher());
    QCOMPARE(doc.pages.size(), 1);
    const Page &page = doc.pages.first();
    const Element *first = FindElement(page, name, 1);
    checkBox(first, left, top, width, height, 0.01);
    QCOMPARE(int(first->alignment & Qt::AlignHorizontal_Mask), alignment);
    if (!font.isEmpty()) {
        QCOMPARE(first->kind, Kind::Text);
        const QStringList parts = font.split(QLatin1Char(' '));
        const bool bold = parts.last() == QLatin1String("b");
        const QStringList family = parts.mid(0, parts.size() - (bold ? 2 : 1));
        QCOMPARE(first->font.family, family.join(QLatin1Char(' ')));
        QCOMPARE(first->font.pointSize, parts.at(family.size()).toDouble());
        QCOMPARE(first->font.bold, bold);
    }
    // The second copy is the same 96.5 mm lower.
    checkBox(FindElement(page, name, 2), left, top + 96.5, width, height, 0.01);
}

void TestVoucherDocuments::cashVoucherTextsAndSecondCopy()
{
    const qint64 id = m_db.voucher({{QStringLiteral("szoveg2"), QStringLiteral("Boríték")},
                                    {QStringLiteral("osszeg2"), 655.0},
                                    {QStringLiteral("osszeg"), 13000.0}});
    const Document doc = cashVoucher(id);
    QCOMPARE(doc.title, QStringLiteral("Bevételi pénztárbizonylat"));
    QCOMPARE(doc.setup.margins, QMarginsF(10, 10, 10, 10));
    const Page &page = doc.pages.first();
    const struct
    {
        const char *name;
        int copy;
        QString text;
    } texts[] = {
        {"kibe_nev", 1, QStringLiteral("Kiadási pénztárbizonylat")},
        {"sorszam", 2, QStringLiteral("KB00007")},
        {"peldany", 1, QStringLiteral("1. példány")},
        {"peldany", 2, QStringLiteral("2. példány")},
        {"tulajdonos", 2, QStringLiteral("Gyöngyvirág Kereskedelmi Bt.")},
        {"felhasznalo_nev", 1, QStringLiteral("Kiss Anna")},
        {"ugyfel_nev", 1, QStringLiteral("Nagy Péter")},
        {"szigszam", 1, QStringLiteral("123456AB")},
        {"dat_kiadva", 1, QLocale().toString(QDate(2026, 3, 14), QLocale::ShortFormat)},
        {"osszeg", 1, QStringLiteral("13 000")},
        {"vegosszeg", 2, QStringLiteral("13 000")},
        {"betuvel", 2, QStringLiteral("tizenháromezer ")},
        {"valuta", 1, QStringLiteral("HUF")},
        {"osszeg1", 1, QStringLiteral("12 345")},
        {"szoveg2", 1, QStringLiteral("Boríték")},
        {"osszeg2", 2, QStringLiteral("655")},
        {"szoveg3", 1, QString()}, // no third item
        {"osszeg3", 1, QString()},
        {"lablec", 2, QStringLiteral("lábléc szövege")},
    };
    for (const auto &t : texts) {
        const Element *e = FindElement(page, QString::fromLatin1(t.name), t.copy);
        QVERIFY2(e, t.name);
        QCOMPARE(e->text, t.text);
    }

    // The dividing line runs through the middle of the strip at 93.9, the closing one through the strip at 190.5;
    // both belong to the second copy.
    checkBox(FindElement(page, QStringLiteral("vonal_kozep"), 2), 0, 95.9, 189.5, 0, 0.01);
    checkBox(FindElement(page, QStringLiteral("vonal_also"), 2), 0, 192.5, 189.5, 0, 0.01);
    QVERIFY(!FindElement(page, QStringLiteral("vonal_kozep"), 1));
}

void TestVoucherDocuments::instructionLineFollowsTheDirection_data()
{
    QTest::addColumn<QVariant>("kibe");
    QTest::addColumn<QString>("line");
    const QString pay = QStringLiteral("A pénztár fizessen az alábbiak szerint:");
    QTest::newRow("payment") << QVariant(QStringLiteral("K")) << pay;
    QTest::newRow("receipt") << QVariant(QStringLiteral("B"))
                             << QStringLiteral("A pénztár vételezzen be az alábbiak szerint:");
    QTest::newRow("empty") << QVariant() << pay;
}

void TestVoucherDocuments::instructionLineFollowsTheDirection()
{
    QFETCH(QVariant, kibe);
    QFETCH(QString, line);
    const Document doc = cashVoucher(m_db.voucher({{QStringLiteral("kibe"), kibe}}));
    QCOMPARE(FindElement(doc.pages.first(), QStringLiteral("utasitas"), 1)->text, line);
    QCOMPARE(FindElement(doc.pages.first(), QStringLiteral("utasitas"), 2)->text, line);
}

void TestVoucherDocuments::oneCopyPerPageHidesTheSecondCopyAndItsLines()
{
    const Document doc = cashVoucher(m_db.voucher(), true);
    QCOMPARE(doc.pages.size(), 1);
    int first = 0;
    for (const Element &e : doc.pages.first().elements) {
        QVERIFY2(!(e.visible && e.copy == 2), qPrintable(e.name));
        first += e.copy == 1 && e.visible;
    }
    QVERIFY(first > 50);
    QCOMPARE(FindElement(doc.pages.first(), QStringLiteral("peldany"))->text, QStringLiteral("1. példány"));
}

void TestVoucherDocuments::longValuesStayInsideTheirFrames()
{
    const qint64 id = m_db.voucher({{QStringLiteral("osszeg"), 987654321.0},
                                    {QStringLiteral("bizszam1"), QStringLiteral("1234567890123456789012345")}});
    const Page page = cashVoucher(id).pages.first();
    const auto inside = [&page](const char *name, const char *frame) {
        const Element *e = FindElement(page, QString::fromLatin1(name), 1);
        const Element *f = FindElement(page, QString::fromLatin1(frame), 1);
        QVERIFY(e && f);
        QVERIFY2(f->box.contains(e->box), qPrintable(e->name));
        QVERIFY2(e->clip, qPrintable(e->name));
        QVERIFY2(TextWidth(e->font, e->text) <= e->box.width() + 0.01 || e->wordWrap, qPrintable(e->name));
    };
    inside("betuvel", "keret_betuvel");
    inside("bizszam1", "tetel_2_2");
    inside("osszeg", "keret_osszeg");

    const Element *words = FindElement(page, QStringLiteral("betuvel"), 1);
    QCOMPARE(words->text, AmountInWords(987654321.0));
    QVERIFY(words->font.pointSize < 9);

    // Too long even for small type on one line: two lines, still inside the frame.
    const Page huge = cashVoucher(m_db.voucher({{QStringLiteral("osszeg"), 999999999999.0}})).pages.first();
    const Element *wrapped = FindElement(huge, QStringLiteral("betuvel"), 1);
    QVERIFY(wrapped->wordWrap);
    QVERIFY(FindElement(huge, QStringLiteral("keret_betuvel"), 1)->box.contains(wrapped->box));
    QVERIFY(WrappedHeight(wrapped->font, wrapped->box.width(), wrapped->text) <= wrapped->box.height());
}

void TestVoucherDocuments::cashRequestFollowsTheLayoutTable()
{
    m_db.engine->update(QStringLiteral("kassza"), QStringLiteral("kassza"), m_db.till,
                        {{QStringLiteral("valuta"), QStringLiteral("EUR")}});
    const qint64 id = m_db.voucher({{QStringLiteral("elszamol_kell"), QStringLiteral("I")},
                                    {QStringLiteral("elszamol_ssz"), 12},
                                    {QStringLiteral("elszamol_kell_dat"), QDate(2026, 4, 13)},
                                    {QStringLiteral("szoveg1"), QStringLiteral("Anyagbeszerzés")}});
    const Document doc = TqrKpElszamol::layout(ReadRequest(*m_db.engine, id), settings());
    QCOMPARE(doc.pages.size(), 1);
    const Page &page = doc.pages.first();

    struct Expect
    {
        const char *name;
        double left, top, width;
        const char *text;
    };
    const Expect table[] = {
        {"szervegyseg_nev", 0.3, 2.6, 47.6, "Raktár"},
        {"szervegyseg_felirat", 0, 7.9, 48.0, "Szervezeti egység megnevezése"},
        {"sorszam_felirat", 83.3, 2.6, -1, "Sorszám"},
        {"elszamol_ssz", 98.2, 2.6, 22.2, "00012"},
        {"kiadva_felirat", 83.3, 7.9, -1, "Kiadva"},
        {"dat_kiadva", 101.9, 7.9, 18.5, nullptr},
        {"cim", 20.8, 14.6, 78.7, "Készpénzigénylés elszámolásra"},
        {"kerem", 6.6, 25.1, -1, "Kérem"},
        {"ugyfel_nev", 18.9, 25.1, -1, "Nagy Péter"},
        {"reszere", 105.8, 25.1, 9.9, "részére"},
        {"osszeg", 18.9, 31.8, -1, "12 345"},
        {"forintot", 105.5, 31.8, -1, "Forintot"},
        {"szoveg1", 18.9, 38.4, -1, "Anyagbeszerzés"},
        {"jogcimen", 104.5, 38.4, -1, "jogcímen"},
        {"kotelezettseg", 6.6, 46.3, -1, "utólagos elszámolási kötelezettséggel kiadni."},
        {"hatarido_felirat", 6.6, 52.9, -1, "Elszámolás határideje"},
        {"elszamol_kell_dat", 40.0, 52.9, -1, nullptr},
        {"bizonylat_felirat", 6.6, 59.5, -1, "Kiadási pénztárbizonylat"},
        {"sorszam", 40.0, 59.5, -1, "KB00007"},
        {"keret_alairas", 74.1, 50.3, 46.6, nullptr},
        {"alairas", 76.7, 60.9, 41.3, "Igénylő szerv.egység vezető"},
        {"program", 0, 67.5, -1, "Dromvel.Pro"},
        {"nyomtatva", 105.2, 67.5, 14.9, nullptr},
        {"lablec", 0, 72.8, -1, "lábléc szövege"},
        {"vonal", 0, 78.1, 120.7, nullptr},
    };
    for (const Expect &x : table) {
        const QString name = QString::fromLatin1(x.name);
        checkBox(FindElement(page, name, 1), x.left, x.top, x.width, -1, 0.01);
        checkBox(FindElement(page, name, 2), x.left, x.top + 87.3, x.width, -1, 0.01);
        if (x.text)
            QCOMPARE(FindElement(page, name, 2)->text, QString::fromUtf8(x.text));
    }
    QCOMPARE(FindElement(page, QStringLiteral("elszamol_kell_dat"))->text,
             QLocale().toString(QDate(2026, 4, 13), QLocale::ShortFormat));
    QCOMPARE(FindElement(page, QStringLiteral("nyomtatva"))->text,
             QLocale().toString(QDateTime(QDate(2026, 3, 20), QTime(9, 5)), QLocale::ShortFormat));
    QCOMPARE(FindElement(page, QStringLiteral("nyomtatva"))->alignment, Qt::AlignRight);
    int frames = 0;
    for (const Element &e : page.elements)
        frames += e.name == QLatin1String("keret") && e.copy == 1;
    QCOMPARE(frames, 3);
}

void TestVoucherDocuments::periodVouchersThreeToAPage()
{
    for (int day = 1; day <= 4; ++day)
        m_db.voucher({{QStringLiteral("ssz"), day}, {QStringLiteral("dat_kiadva"), QDate(2026, 3, day)}});
    // Pending rows print too; other dates, other tills and rows of an unknown direction do not.
    m_db.voucher({{QStringLiteral("ssz"), 5},
                  {QStringLiteral("kiadva"), QStringLiteral("N")},
                  {QStringLiteral("dat_kiadva"), QDate(2026, 3, 31)}});
    m_db.voucher({{QStringLiteral("ssz"), 90}, {QStringLiteral("dat_kiadva"), QDate(2026, 4, 1)}});
    m_db.voucher({{QStringLiteral("ssz"), 91}, {QStringLiteral("kassza"), m_db.till + 1}});
    m_db.voucher({{QStringLiteral("ssz"), 92}, {QStringLiteral("kibe"), QStringLiteral("X")}});

    const QList<VoucherRow> rows = ReadPeriodVouchers(*m_db.engine, m_db.till, QDate(2026, 3, 1), QDate(2026, 3, 31));
    QCOMPARE(rows.size(), 5);
    const Document doc = TqrPenztarbiz2::layout(rows, settings());
    QCOMPARE(doc.title, QStringLiteral("qrPenztarbiz2"));
    QCOMPARE(doc.setup.margins, QMarginsF(10, 5, 10, 5));
    QCOMPARE(doc.pages.size(), 2);

    QStringList numbers;
    for (int p = 0; p < 2; ++p) {
        const Page &page = doc.pages.at(p);
        int onPage = 0;
        for (const Element &e : page.elements) {
            QVERIFY(e.copy == 1);
            if (e.name == QLatin1String("sorszam")) {
                numbers.append(e.text);
                const double band = 91.9 * onPage++;
                checkBox(&e, 142.9, band + 1.3, 44.0, -1, 0.01);
                // The table's positions, which it gives to a tenth of a millimetre.
                const auto at = [&page, band](const char *name, double left, double top) {
                    for (const Element &x : page.elements)
                        if (x.name == QLatin1String(name) && qAbs(x.box.top() - band - top) <= 0.11)
                            return qAbs(x.box.left() - left) < 0.01;
                    return false;
                };
                QVERIFY(at("kibe_nev", 1.3, 0));
                QVERIFY(at("kiallito_ph", 46.3, 1.3));
                QVERIFY(at("tulajdonos", 46.3, 7.9));
                QVERIFY(at("peldany", 142.9, 7.9));
                QVERIFY(at("keret", 0, 13.2));
                QVERIFY(at("fejlec1", 28.3, 37.0));
                QVERIFY(at("program", 0, 87.3));
                QVERIFY(at("lablec", 0, 87.3));
            }
            QVERIFY(e.name != QLatin1String("vonal_kozep") && e.name != QLatin1String("vonal_also"));
        }
        QCOMPARE(onPage, p == 0 ? 3 : 2);
    }
    QCOMPARE(numbers, QStringList({QStringLiteral("KB00001"), QStringLiteral("KB00002"), QStringLiteral("KB00003"),
                                   QStringLiteral("KB00004"), QStringLiteral("KB00005")}));
}

void TestVoucherDocuments::unknownRowGivesAnEmptyPage()
{
    const Document doc = cashVoucher(999);
    QCOMPARE(doc.pages.size(), 1);
    QVERIFY(doc.pages.first().elements.isEmpty());
    QVERIFY(TqrPenztarbiz2::layout({}, settings()).pages.first().elements.isEmpty());
}

QTEST_MAIN(TestVoucherDocuments)
#include "test_voucherdocuments.moc"

#include "pageflow.h"
#include "reportdocument.h"
#include "reportfonts.h"
#include "reportpainter.h"
#include "reportsfixture.h"
#include "rowstream.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

using namespace Report;

class TestReportLayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ReportsFixture::initProcess(); }

    void bandsFlowOverPagesWithHeaderAndFooter();
    void summaryAndEmptyAndOversizedReports();
    void flowHandsPagesOnAsTheyFill();
    void previewSaysWhyRowsCouldNotBeRead();
    void layoutFontsResolveToMetricCompatibleFaces();
    void cutTextKeepsTheAccentsOverCapitals();
    void pdfPutsTextWhereTheLayoutSays();
};

namespace {

Band Detail(double height, const QString &text)
{
    Band b;
    b.height = height;
    b.add(Label(text, 0, 1, Font{QStringLiteral("Tahoma"), 8}), QStringLiteral("detail"));
    return b;
}

// A report with a 20 mm header and a 10 mm footer that print the page number and count.
BandedReport Numbered()
{
    BandedReport r;
    r.title = QStringLiteral("próba");
    r.pageHeader.height = 20;
    r.pageHeader.build = [](const PageInfo &info) {
        Element e = Label(QStringLiteral("fej %1/%2").arg(info.number).arg(info.count), 0, 0,
                          Font{QStringLiteral("Arial"), 10});
        e.name = QStringLiteral("header");
        return QList<Element>{e};
    };
    r.pageFooter.height = 10;
    r.pageFooter.build = [](const PageInfo &info) {
        Element e = Label(QStringLiteral("oldal: %1 (%2-%3)")
                              .arg(info.number)
                              .arg(info.firstDetail)
                              .arg(info.firstDetail + info.detailCount - 1),
                          0, 2, Font{QStringLiteral("Courier New"), 6});
        e.name = QStringLiteral("footer");
        return QList<Element>{e};
    };
    return r;
}

QList<const Element *> Named(const Page &page, const QString &name)
{
    QList<const Element *> found;
    for (const Element &e : page.elements)
        if (e.name == name)
            found.append(&e);
    return found;
}

} // namespace

void TestReportLayer::bandsFlowOverPagesWithHeaderAndFooter()
{
    // A4 portrait with 10 mm margins leaves 277 mm; less header and footer 247 mm: four 60 mm bands a page.
    BandedReport r = Numbered();
    for (int i = 0; i < 9; ++i)
        r.details.append(Detail(60, QString::number(i)));
    const Document doc = r.layout();

    QCOMPARE(doc.pages.size(), 3);
    QCOMPARE(doc.title, QStringLiteral("próba"));
    const QList<int> perPage = {4, 4, 1};
    for (int p = 0; p < 3; ++p) {
        const Page &page = doc.pages.at(p);
        const QList<const Element *> details = Named(page, QStringLiteral("detail"));
        QCOMPARE(details.size(), perPage.at(p));
        for (int i = 0; i < details.size(); ++i)
            QCOMPARE(details.at(i)->box.top(), 20 + 60 * i + 1);
        QCOMPARE(FindElement(page, QStringLiteral("header"))->text, QStringLiteral("fej %1/3").arg(p + 1));
        const Element *footer = FindElement(page, QStringLiteral("footer"));
        QCOMPARE(footer->box.top(), 277.0 - 10 + 2);
    }
    QCOMPARE(FindElement(doc.pages.at(1), QStringLiteral("footer"))->text, QStringLiteral("oldal: 2 (4-7)"));
    QCOMPARE(FindElement(doc.pages.at(2), QStringLiteral("detail"))->text, QStringLiteral("8"));
}

void TestReportLayer::summaryAndEmptyAndOversizedReports()
{
    BandedReport r = Numbered();
    for (int i = 0; i < 4; ++i)
        r.details.append(Detail(60, QString::number(i)));
    r.summary = Detail(8, QStringLiteral("összesen"));
    r.summary.elements.first().name = QStringLiteral("summary");
    Document doc = r.layout();
    QCOMPARE(doc.pages.size(), 2);
    QCOMPARE(FindElement(doc.pages.at(1), QStringLiteral("summary"))->box.top(), 21.0);

    // With room left it follows the last detail on the same page.
    r.details.removeLast();
    doc = r.layout();
    QCOMPARE(doc.pages.size(), 1);
    QCOMPARE(FindElement(doc.pages.at(0), QStringLiteral("summary"))->box.top(), 20 + 3 * 60 + 1.0);

    // Without rows there is still a page; a band taller than a page gets one of its own, not endless empty ones.
    r.details.clear();
    r.summary = Band();
    doc = r.layout();
    QCOMPARE(doc.pages.size(), 1);
    QCOMPARE(FindElement(doc.pages.at(0), QStringLiteral("header"))->text, QStringLiteral("fej 1/1"));
    r.details = {Detail(300, QStringLiteral("a")), Detail(300, QStringLiteral("b"))};
    QCOMPARE(r.layout().pages.size(), 2);
}

void TestReportLayer::flowHandsPagesOnAsTheyFill()
{
    // The same report as above, flowed: each page leaves as soon as the next band does not fit, with its header
    // and footer, and the page count is not known while it flows.
    const BandedReport r = Numbered();
    QList<PageInfo> infos;
    QList<int> detailsOnHandOver;
    QStringList frames;
    int added = 0;
    PageFlow flow(r.setup, r.pageHeader, r.pageFooter, [&](Page &&page, const PageInfo &info) {
        infos.append(info);
        detailsOnHandOver.append(added);
        frames << FindElement(page, QStringLiteral("header"))->text
               << QString::number(FindElement(page, QStringLiteral("footer"))->box.top());
        return info.number < 2;
    });
    for (int i = 0; i < 9; ++i) {
        const bool going = flow.addDetail(Detail(60, QString::number(i)));
        added += going;
        QCOMPARE(going, i < 8);
    }
    QVERIFY(!flow.finish());
    // The second page was the last the sink took: the flow stopped at the band that would start the third.
    QCOMPARE(infos.size(), 2);
    QCOMPARE(detailsOnHandOver, QList<int>({4, 8}));
    QCOMPARE(infos.at(1).firstDetail, 4);
    QCOMPARE(infos.at(1).detailCount, 4);
    QCOMPARE(frames, QStringList({QStringLiteral("fej 1/0"), QStringLiteral("269"), QStringLiteral("fej 2/0"),
                                  QStringLiteral("269")}));

    // A streamed document paints like a collected one.
    QTemporaryDir dir;
    Document doc;
    doc.stream = [](const std::function<bool(const Page &)> &visit) {
        const BandedReport numbered = Numbered();
        PageFlow pages(numbered.setup, numbered.pageHeader, numbered.pageFooter,
                       [&visit](Page &&page, const PageInfo &) { return visit(page); });
        for (int i = 0; i < 9; ++i)
            pages.addDetail(Detail(60, QString::number(i)));
        pages.finish();
    };
    int count = 0;
    doc.forEachPage([&count](const Page &) { return ++count < 2; });
    QCOMPARE(count, 2);
    const QString path = dir.filePath(QStringLiteral("stream.pdf"));
    QCOMPARE(WritePdf(doc, path), QString());
    const QString text = PdfText(path);
    REQUIRE_PDF_TOOLS();
    QCOMPARE(PdfPageCount(text), 3);
}

void TestReportLayer::previewSaysWhyRowsCouldNotBeRead()
{
    // A streamed document reads its rows again while the preview paints; a failure then is told, not thrown
    // through the dialog.
    ReportsFixture db;
    db.openDatabase(QStringLiteral("unreadable"));
    RowStream rows(*db.engine, QStringLiteral("SELECT dromvel FROM dromvel;"));
    db.engine->exec(QStringLiteral("DROP TABLE dromvel;"));
    Document doc;
    doc.title = QStringLiteral("próba");
    doc.stream = [&rows](const std::function<bool(const Page &)> &visit) {
        rows.open();
        visit(Page());
    };
    OnNextModal([](QDialog *dialog) { dialog->reject(); });
    db.output().preview(doc);
    QCOMPARE(db.messages.shown.size(), 1);
    QCOMPARE(db.messages.shown.first().kind, QStringLiteral("error"));
    QVERIFY2(db.messages.shown.first().text.contains(QStringLiteral("dromvel")),
             qPrintable(db.messages.shown.first().text));
}

void TestReportLayer::layoutFontsResolveToMetricCompatibleFaces()
{
    EnsureReportFonts();
    QCOMPARE(QFontInfo(ToQFont(Font{QStringLiteral("Arial"), 10})).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(QFontInfo(ToQFont(Font{QStringLiteral("Times New Roman"), 8})).family(),
             QStringLiteral("Liberation Serif"));
    QCOMPARE(QFontInfo(ToQFont(Font{QStringLiteral("Courier New"), 6})).family(), QStringLiteral("Liberation Mono"));
    REQUIRE_PDF_TOOLS();
    QCOMPARE(QFontInfo(ToQFont(Font{QStringLiteral("Tahoma"), 9, true})).family(), QStringLiteral("Tahoma"));
}

void TestReportLayer::cutTextKeepsTheAccentsOverCapitals()
{
    // A text that may be cut at its box looks as one that may not, inside the box: the acute over Á and the double
    // acute over Ő stand above the font's line and stay on the paper. Only what runs past the box's side goes.
    REQUIRE_PDF_TOOLS();
    constexpr double dpi = 300;
    const auto painted = [](bool clip, double width) {
        QImage image(700, 200, QImage::Format_RGB32);
        image.setDotsPerMeterX(dpi / 0.0254);
        image.setDotsPerMeterY(dpi / 0.0254);
        image.fill(Qt::white);
        Page page;
        for (const char *family : {"Tahoma", "Arial"}) {
            Element e = Label(QStringLiteral("ÁŐÚ Ügyfél"), 5, family[0] == 'T' ? 2 : 9,
                              Font{QLatin1String(family), 12}, width, Qt::AlignHCenter);
            e.clip = clip;
            page.elements.append(e);
        }
        QPainter painter(&image);
        PaintPage(painter, page, MmScale(image));
        return image;
    };
    // Fits in 45 mm.
    QCOMPARE(painted(true, 45), painted(false, 45));
    // Runs past both sides of 15 mm.
    const int left = qRound(5 / 25.4 * dpi), right = qRound(20 / 25.4 * dpi);
    const QImage cut = painted(true, 15), whole = painted(false, 15);
    QCOMPARE(cut.copy(left + 1, 0, right - left - 2, cut.height()),
             whole.copy(left + 1, 0, right - left - 2, whole.height()));
    // Left of the box the whole text has ink, the cut one none.
    const QImage outside = cut.copy(0, 0, left - 1, cut.height());
    QVERIFY(whole.copy(outside.rect()) != outside);
    QImage white(outside.size(), outside.format());
    white.fill(Qt::white);
    QCOMPARE(outside, white);
}

void TestReportLayer::pdfPutsTextWhereTheLayoutSays()
{
    QTemporaryDir dir;
    BandedReport r = Numbered();
    r.setup.margins = QMarginsF(10, 5, 10, 5);
    Band band;
    band.height = 100;
    band.add(Label(QStringLiteral("Jelzőszó"), 50, 100, Font{QStringLiteral("Arial"), 12}));
    r.details = {band, band, band};
    const QString path = dir.filePath(QStringLiteral("proba.pdf"));
    QCOMPARE(WritePdf(r.layout(), path), QString());

    const QString text = PdfText(path);
    REQUIRE_PDF_TOOLS();
    QCOMPARE(PdfPageCount(text), 2);

    // The first band's word: printable area from (10, 5) mm, header 20 mm, band at 0, label at (50, 100).
    const QString bbox = PdfText(path, {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                        QStringLiteral("-l"), QStringLiteral("1")});
    QVERIFY(bbox.contains(QStringLiteral("width=\"595.")));
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>Jelzőszó<"));
    const QRegularExpressionMatch m = word.match(bbox);
    QVERIFY2(m.hasMatch(), qPrintable(bbox));
    const double pt = 72 / 25.4;
    QVERIFY(qAbs(m.captured(1).toDouble() - (10 + 50) * pt) < 1.0);
    // yMin is the top of the glyph box, near the top of the line.
    const double top = m.captured(2).toDouble() / pt;
    QVERIFY2(qAbs(top - (5 + 20 + 100)) < 1.0, qPrintable(QString::number(top)));
}

QTEST_MAIN(TestReportLayer)
#include "test_reportlayer.moc"

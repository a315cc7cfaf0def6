#include "exportfixture.h"
#include "spreadsheetwriter.h"
#include "testfiles.h"
#include "tfrm_hatarolt.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// The named part of an xlsx file, read back with libzip.
QByteArray Part(const QByteArray &xlsx, const char *name)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.xlsx"));
    WriteFile(path, xlsx);
    return ReadZip(path).value(QString::fromLatin1(name)).bytes;
}

// The cell element of a reference such as "B2" in the sheet's XML.
QString Cell(const QString &sheet, const QString &ref)
{
    const QRegularExpression cell(QStringLiteral("<c r=\"%1\"[^>]*?(/>|>.*?</c>)").arg(ref));
    return cell.match(sheet).captured(0);
}

} // namespace

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ExportFixture::initProcess(); }
    void init() { m_db.fresh(QStringLiteral("spreadsheet")); }

    void sheetHoldsHeaderNumbersAndDates();
    void uncheckedFieldsAreLeftOut();
    void stopKeepsTheRowsWritten();
    void numberFormats_data();
    void numberFormats();
    void spreadsheetNames_data();
    void spreadsheetNames();

private:
    QByteArray workbook(const SpreadsheetOptions &options, const ExportControl &control = {})
    {
        SqlExportSource source = m_db.source();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        SpreadsheetWriter(options).write(source, buffer, control);
        return buffer.data();
    }

    ExportFixture m_db;
};

void TestSpreadsheetExport::sheetHoldsHeaderNumbersAndDates()
{
    m_db.addRow(QStringLiteral("Árvíztűrő <b>&</b>"), 1234567.5, 42, QDate(2026, 3, 15));
    m_db.addRow(QStringLiteral("egy hosszabb szöveg, amelyhez szélesebb oszlop kell"), -12.0, 7, {});
    const QByteArray xlsx = workbook({});
    const QString sheet = QString::fromUtf8(Part(xlsx, "xl/worksheets/sheet1.xml"));
    QVERIFY2(!sheet.isEmpty(), "the workbook has no sheet");

    // Header of display labels.
    QVERIFY(Cell(sheet, QStringLiteral("A1")).contains(QStringLiteral("<t>Szöveg</t>")));
    QVERIFY(Cell(sheet, QStringLiteral("B1")).contains(QStringLiteral("<t>Összeg</t>")));
    QVERIFY(Cell(sheet, QStringLiteral("D1")).contains(QStringLiteral("<t>Kiadva</t>")));
    // Text as text, escaped by the writer.
    QVERIFY(Cell(sheet, QStringLiteral("A2")).contains(QStringLiteral("<t>Árvíztűrő &lt;b&gt;&amp;&lt;/b&gt;</t>")));
    // Numbers as numbers: a value and no text type.
    const QString amount = Cell(sheet, QStringLiteral("B2"));
    QVERIFY2(amount.contains(QStringLiteral("<v>1234567.5</v>")) && !amount.contains(QStringLiteral(" t=")),
             qPrintable(amount));
    QVERIFY(Cell(sheet, QStringLiteral("C3")).contains(QStringLiteral("<v>7</v>")));
    // A date is a day number with a date style.
    const QString date = Cell(sheet, QStringLiteral("D2"));
    QVERIFY2(date.contains(QStringLiteral("<v>46096</v>")) && !date.contains(QStringLiteral(" t=")), qPrintable(date));
    QVERIFY(Cell(sheet, QStringLiteral("D3")).isEmpty());

    const QString styles = QString::fromUtf8(Part(xlsx, "xl/styles.xml"));
    QVERIFY(styles.contains(QStringLiteral("formatCode=\"yyyy.mm.dd\"")));
    QVERIFY(styles.contains(QStringLiteral("formatCode=\"#,##0\"")));
    const QRegularExpression styleOf(QStringLiteral(" s=\"(\\d+)\""));
    QVERIFY(styleOf.match(date).captured(1) != styleOf.match(amount).captured(1));

    // Header frozen, a filter over every row, widths fitted to the longest content.
    QVERIFY(sheet.contains(QStringLiteral("ySplit=\"1\"")) && sheet.contains(QStringLiteral("state=\"frozen\"")));
    QVERIFY(sheet.contains(QStringLiteral("<autoFilter ref=\"A1:D3\"/>")));
    const QRegularExpression firstWidth(QStringLiteral("<col min=\"1\" max=\"1\" width=\"([0-9.]+)\""));
    const QRegularExpression lastWidth(QStringLiteral("<col min=\"4\" max=\"4\" width=\"([0-9.]+)\""));
    QVERIFY(firstWidth.match(sheet).captured(1).toDouble() > 50);
    QVERIFY(lastWidth.match(sheet).captured(1).toDouble() < 15);
}

void TestSpreadsheetExport::uncheckedFieldsAreLeftOut()
{
    m_db.addRow(QStringLiteral("x"), 5.0, 1, QDate(2026, 1, 2));
    SpreadsheetOptions options;
    options.exported = {false, true, false, true};
    options.fieldNames = true;
    const QString sheet = QString::fromUtf8(Part(workbook(options), "xl/worksheets/sheet1.xml"));
    QVERIFY(Cell(sheet, QStringLiteral("A1")).contains(QStringLiteral("<t>osszeg</t>")));
    QVERIFY(Cell(sheet, QStringLiteral("B1")).contains(QStringLiteral("<t>dat_kiadva</t>")));
    QVERIFY(Cell(sheet, QStringLiteral("A2")).contains(QStringLiteral("<v>5</v>")));
    QVERIFY(Cell(sheet, QStringLiteral("C1")).isEmpty());
}

void TestSpreadsheetExport::stopKeepsTheRowsWritten()
{
    for (int i = 1; i <= 30; ++i)
        m_db.addRow(QStringLiteral("sor %1").arg(i), double(i));
    StopAfter stopper(12);
    const QString sheet = QString::fromUtf8(Part(workbook({}, stopper.control), "xl/worksheets/sheet1.xml"));
    QVERIFY(!Cell(sheet, QStringLiteral("B13")).isEmpty());
    QVERIFY(Cell(sheet, QStringLiteral("B14")).isEmpty());
    QVERIFY(sheet.contains(QStringLiteral("<autoFilter ref=\"A1:D13\"/>")));
}

void TestSpreadsheetExport::numberFormats_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("money") << QStringLiteral("### ### ##0") << QStringLiteral("#,##0");
    QTest::newRow("money with decimals") << QStringLiteral("### ### ##0.00") << QStringLiteral("#,##0.00");
    QTest::newRow("currency text") << QStringLiteral("### ### ##0 Ft") << QStringLiteral("#,##0\" Ft\"");
    QTest::newRow("leading zeros") << QStringLiteral("00000") << QStringLiteral("00000");
    QTest::newRow("grouped with commas") << QStringLiteral("#,##0.##") << QStringLiteral("#,##0.##");
    QTest::newRow("sections") << QStringLiteral("#,##0;-#,##0;nulla") << QStringLiteral("#,##0;\"-\"#,##0;\"nulla\"");
    QTest::newRow("general") << QString() << QString();
}

void TestSpreadsheetExport::numberFormats()
{
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(SpreadsheetNumberFormat(pattern), expected);
}

void TestSpreadsheetExport::spreadsheetNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("xls") << QStringLiteral("/tmp/a.xls") << QStringLiteral("/tmp/a.xlsx");
    QTest::newRow("XLS") << QStringLiteral("/tmp/A.XLS") << QStringLiteral("/tmp/A.xlsx");
    QTest::newRow("Xlsx") << QStringLiteral("/tmp/a.Xlsx") << QStringLiteral("/tmp/a.Xlsx");
    QTest::newRow("csv") << QStringLiteral("/tmp/a.csv") << QString();
    QTest::newRow("xls in the folder only") << QStringLiteral("/tmp/x.xls/a.txt") << QString();
}

void TestSpreadsheetExport::spreadsheetNames()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(SpreadsheetFileName(path), expected);
}

QTEST_MAIN(TestSpreadsheetExport)
#include "test_spreadsheetexport.moc"

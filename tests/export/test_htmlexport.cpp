#include "codepage.h"
#include "exportfixture.h"
#include "htmlpagewriter.h"
#include "modelexportsource.h"
#include "sendmail.h"
#include "tfrm_grid2html.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

namespace {

QByteArray Page(const QStringList &lines)
{
    return ToWindows1250(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QStringList Head(const QString &title)
{
    return {QStringLiteral("<html>"),
            QString(),
            QStringLiteral("<head>"),
            QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">"),
            QStringLiteral("<title>") + title + QStringLiteral("</title>"),
            QStringLiteral("<meta name=\"GENERATOR\" content=\"Velmora Bt. Grid2Html\">"),
            QStringLiteral("</head>"),
            QString(),
            QStringLiteral("<body>"),
            QStringLiteral("<p><strong><font face=\"Verdana\" size=\"2\">") + title +
                QStringLiteral("</font></strong></p>"),
            QStringLiteral("<p><strong><font face=\"Verdana\" size=\"1\"></font></strong></p>"),
            QStringLiteral("<div align=\"center\"><center>"),
            QString(),
            QStringLiteral("<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\" width=\"90%\">")};
}

QStringList Tail(int rows)
{
    return {QStringLiteral("</table>"),
            QStringLiteral("</center></div>"),
            QString(),
            QStringLiteral("<p><font face=\"Verdana\" size=\"1\">Összesen %1 sor.</font></p>").arg(rows),
            QString(),
            QStringLiteral("<p><font face=\"Verdana\" size=\"1\">2026.03.15 09:05:07</font></p>"),
            QString(),
            QStringLiteral("<p><font face=\"Courier New\" size=\"1\">Dromvel.Pro 1.0.0.1</font></p>"),
            QString(),
            QStringLiteral("</body>"),
            QStringLiteral("</html>")};
}

QString HeaderCell(int width, const QString &prefix, const QString &text)
{
    return QStringLiteral("    <td width=\"%1%\" bgcolor=\"#C0C0C0\"><font face=\"Verdana\" size=\"1\"><strong>%2%3"
                          "</strong></font></td>")
        .arg(width)
        .arg(prefix, text);
}

QString DataCell(int width, const QString &prefix, const QString &text)
{
    return QStringLiteral("    <td width=\"%1%\"><font face=\"Verdana\" size=\"1\">%2%3</font></td>")
        .arg(width)
        .arg(prefix, text);
}

const QString Right = QStringLiteral("<p align=\"right\">");

// A fake mail starter on PATH that writes its arguments, one a line, beside itself and ends with the given code.
QString FakeMailProgram(const QTemporaryDir &dir, int exitCode)
{
    const QString script = dir.filePath(QStringLiteral("xdg-email"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"%1\"\nexit %2\n")
                   .arg(dir.filePath(QStringLiteral("args.txt")))
                   .arg(exitCode)
                   .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

} // namespace

class TestHtmlExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ExportFixture::initProcess(); }

    void emptyGridGivesTheHeaderRowOnly();
    void twoRowGrid();
    void insertedTextsAreEscaped();
    void sqlRowsShowAsTheGridShowsThem();
    void columnsFollowTheGridsOrder_data();
    void columnsFollowTheGridsOrder();
    void defaultPath_data();
    void defaultPath();
    void mailGoesToTheDesktopMailStarter();
    void mailStatusTellsWhetherAClientTookIt();

private:
    // Columns of 50, 98 and 102 pixels in a grid 400 wide: 12.5 %, 24.5 % and 25.5 %, halves going to even.
    void setUpGrid(QStandardItemModel &model, QTableView &grid)
    {
        model.setHorizontalHeaderLabels(
            {QStringLiteral("Név"), QStringLiteral("Összeg"), QStringLiteral("Rejtett"), QStringLiteral("Dátum")});
        grid.setModel(&model);
        grid.resize(400, 100);
        grid.setColumnWidth(0, 50);
        grid.setColumnWidth(1, 98);
        grid.setColumnHidden(2, true);
        grid.setColumnWidth(3, 102);
    }

    QByteArray page(ExportSource &source, const QString &title)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        HtmlPageWriter(title, QDateTime(QDate(2026, 3, 15), QTime(9, 5, 7))).write(source, buffer);
        return buffer.data();
    }
};

void TestHtmlExport::emptyGridGivesTheHeaderRowOnly()
{
    QStandardItemModel model;
    QTableView grid;
    setUpGrid(model, grid);
    ModelExportSource source(model, &grid);
    QCOMPARE(page(source, QStringLiteral("Fő kassza")),
             Page(Head(QStringLiteral("Fő kassza")) +
                  QStringList{QStringLiteral("  <tr>"), HeaderCell(12, QString(), QStringLiteral("Név")),
                              HeaderCell(24, QString(), QStringLiteral("Összeg")),
                              HeaderCell(26, QString(), QStringLiteral("Dátum")), QStringLiteral("  </tr>")} +
                  Tail(0)));
}

void TestHtmlExport::twoRowGrid()
{
    QStandardItemModel model;
    QTableView grid;
    setUpGrid(model, grid);
    const QList<QVariantList> rows{{QStringLiteral("Kovács Ödön"), 1234.5, QStringLiteral("x"), QDate(2026, 3, 1)},
                                   {QStringLiteral("Nagy Éva"), -20.0, QStringLiteral("y"), QVariant()}};
    for (const QVariantList &values : rows) {
        QList<QStandardItem *> items;
        for (const QVariant &value : values) {
            auto *item = new QStandardItem;
            item->setData(value, Qt::EditRole);
            items.append(item);
        }
        model.appendRow(items);
    }
    ModelExportSource source(model, &grid);
    QCOMPARE(page(source, QStringLiteral("Fő kassza")),
             Page(Head(QStringLiteral("Fő kassza")) +
                  QStringList{QStringLiteral("  <tr>"), HeaderCell(12, QString(), QStringLiteral("Név")),
                              HeaderCell(24, Right, QStringLiteral("Összeg")),
                              HeaderCell(26, QString(), QStringLiteral("Dátum")), QStringLiteral("  </tr>"),
                              QStringLiteral("  <tr>"), DataCell(12, QString(), QStringLiteral("Kovács Ödön")),
                              DataCell(24, Right, QStringLiteral("1234,5")),
                              DataCell(26, QString(), QStringLiteral("2026.03.01")), QStringLiteral("  </tr>"),
                              QStringLiteral("  <tr>"), DataCell(12, QString(), QStringLiteral("Nagy Éva")),
                              DataCell(24, Right, QStringLiteral("-20")), DataCell(26, QString(), QString()),
                              QStringLiteral("  </tr>")} +
                  Tail(2)));
}

void TestHtmlExport::insertedTextsAreEscaped()
{
    QStandardItemModel model(1, 1);
    model.setHorizontalHeaderLabels({QStringLiteral("\"Ügyfél\" <név>")});
    model.setData(model.index(0, 0), QStringLiteral("<b>&</b>"));
    ModelExportSource source(model);
    const QString html = FromWindows1250(page(source, QStringLiteral("<script>alert(1)</script> & Társa")));
    QVERIFY(html.contains(QStringLiteral("<title>&lt;script&gt;alert(1)&lt;/script&gt; &amp; Társa</title>")));
    QVERIFY(html.contains(QStringLiteral("size=\"2\">&lt;script&gt;alert(1)&lt;/script&gt; &amp; Társa</font>")));
    QVERIFY(html.contains(QStringLiteral("<strong>&quot;Ügyfél&quot; &lt;név&gt;</strong>")));
    QVERIFY(html.contains(QStringLiteral("size=\"1\">&lt;b&gt;&amp;&lt;/b&gt;</font></td>")));
    QVERIFY(!html.contains(QStringLiteral("<b>")) && !html.contains(QStringLiteral("<script>")));
}

void TestHtmlExport::sqlRowsShowAsTheGridShowsThem()
{
    ExportFixture db;
    db.fresh(QStringLiteral("html"));
    db.addRow(QStringLiteral("tétel"), 1234567.0, 3, QDate(2026, 2, 28));
    SqlExportSource source = db.source();
    source.addCalculated(
        QStringLiteral("sorszam"), QStringLiteral("sorszám"), ExportKind::Text, [](const StoredRow &row) {
            return QStringLiteral("B%1").arg(row.value(QStringLiteral("SSZ")).toInt(), 5, 10, QLatin1Char('0'));
        });
    const QString html = FromWindows1250(page(source, QStringLiteral("Fő kassza")));
    QVERIFY(html.contains(HeaderCell(20, Right, QStringLiteral("Összeg"))));
    QVERIFY(html.contains(DataCell(20, Right, QStringLiteral("1 234 567"))));
    QVERIFY(html.contains(DataCell(20, QString(), QStringLiteral("2026.02.28"))));
    QVERIFY(html.contains(DataCell(20, QString(), QStringLiteral("B00003"))));
}

void TestHtmlExport::columnsFollowTheGridsOrder_data()
{
    QTest::addColumn<bool>("fromSql");
    QTest::addColumn<QStringList>("headers");
    QTest::newRow("model") << false << QStringList{"Dátum", "Név", "Összeg"};
    QTest::newRow("statement") << true << QStringList{"Kiadva", "Szöveg", "Összeg"};
}

void TestHtmlExport::columnsFollowTheGridsOrder()
{
    QFETCH(bool, fromSql);
    QFETCH(QStringList, headers);
    ExportFixture db;
    db.fresh(QStringLiteral("htmlorder"));
    db.addRow(QStringLiteral("tétel"), 1500.0, 3, QDate(2026, 2, 28));
    QStandardItemModel model;
    QTableView grid;
    setUpGrid(model, grid);
    model.appendRow({new QStandardItem(QStringLiteral("tétel")), new QStandardItem(QStringLiteral("1 500")),
                     new QStandardItem(QStringLiteral("3")), new QStandardItem(QStringLiteral("2026.02.28"))});
    // The date column dragged to the front.
    grid.horizontalHeader()->moveSection(3, 0);
    SqlExportSource sql = db.source();
    sql.takeGridLayout(grid);
    ModelExportSource fromModel(model, &grid);
    ExportSource &source = fromSql ? static_cast<ExportSource &>(sql) : fromModel;
    const QString html = FromWindows1250(page(source, QStringLiteral("Fő kassza")));
    QStringList shown;
    const QRegularExpression header(QStringLiteral("<strong>(?:<p align=\"right\">)?([^<]*)</strong>"));
    for (auto match = header.globalMatch(html); match.hasNext();)
        shown.append(match.next().captured(1));
    QCOMPARE(shown, headers);
    QVERIFY(html.contains(DataCell(26, QString(), QStringLiteral("2026.02.28")) + QStringLiteral("\r\n") +
                          DataCell(12, QString(), QStringLiteral("tétel"))));
}

void TestHtmlExport::defaultPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("closings") << QStringLiteral("/home/anna/Html") << QStringLiteral("Lezárt napok: Fő kassza")
                              << QStringLiteral("/home/anna/Html/lez_rt-napok--f_-kassza.htm");
    QTest::newRow("folder with separator")
        << QStringLiteral("/home/anna/Html/") << QStringLiteral("Bank") << QStringLiteral("/home/anna/Html/bank.htm");
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("A&B") << QStringLiteral("/a-b.htm");
}

void TestHtmlExport::defaultPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, title);
    QFETCH(QString, expected);
    QCOMPARE(QDir::fromNativeSeparators(DefaultHtmlPath(folder, title)), expected);
}

void TestHtmlExport::mailGoesToTheDesktopMailStarter()
{
    QString program;
    QStringList arguments;
    const int status = SendMail(QStringLiteral("Html küldés"), QStringLiteral("Html küldés"),
                                QStringLiteral("/tmp/fő kassza.htm"), [&](const QString &p, const QStringList &a) {
                                    program = p;
                                    arguments = a;
                                    return 0;
                                });
    QCOMPARE(status, 0);
    QCOMPARE(program, QStringLiteral("xdg-email"));
    QCOMPARE(arguments, (QStringList{QStringLiteral("--subject"), QStringLiteral("Html küldés"),
                                     QStringLiteral("--body"), QStringLiteral("Html küldés"),
                                     QStringLiteral("--attach"), QStringLiteral("/tmp/fő kassza.htm")}));
}

void TestHtmlExport::mailStatusTellsWhetherAClientTookIt()
{
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir taking, refusing, empty;
    FakeMailProgram(taking, 0);
    FakeMailProgram(refusing, 3);

    qputenv("PATH", QFile::encodeName(taking.path()));
    QCOMPARE(SendMail(QStringLiteral("Html küldés"), QStringLiteral("Html küldés"), QStringLiteral("/tmp/a b.htm")), 0);
    QFile args(taking.filePath(QStringLiteral("args.txt")));
    QVERIFY(args.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(args.readAll()),
             QStringLiteral("--subject\nHtml küldés\n--body\nHtml küldés\n--attach\n/tmp/a b.htm\n"));

    qputenv("PATH", QFile::encodeName(refusing.path()));
    QCOMPARE(SendMail(QStringLiteral("s"), QStringLiteral("b"), QStringLiteral("/tmp/a.htm")), 3);
    qputenv("PATH", QFile::encodeName(empty.path()));
    QCOMPARE(SendMail(QStringLiteral("s"), QStringLiteral("b"), QStringLiteral("/tmp/a.htm")), -1);
    qputenv("PATH", path);
}

QTEST_MAIN(TestHtmlExport)
#include "test_htmlexport.moc"

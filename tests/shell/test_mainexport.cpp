#include "codepage.h"
#include "ledgermodel.h"
#include "maindialogs.h"
#include "modaldialogs.h"
#include "testdatabase.h"
#include "testfiles.h"
#include "tfrm_grid2html.h"
#include "tfrm_hatarolt.h"
#include "tfrm_main.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QtTest>

namespace {

// One table of texts: the header, then the rows.
using Table = QList<QStringList>;

// The delimited file as the dialog writes it by default: ";" after every field, CR LF after every line.
Table CsvTable(const QByteArray &bytes)
{
    Table table;
    for (const QString &line : FromWindows1250(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList fields = line.split(QLatin1Char(';'));
        if (fields.last().isEmpty())
            fields.removeLast();
        table.append(fields);
    }
    return table;
}

// The sheet's cells row by row, each at its column (an empty field has no cell); the cells looked at hold text.
Table SheetTable(const QString &path)
{
    const QString sheet = QString::fromUtf8(ReadZip(path).value(QStringLiteral("xl/worksheets/sheet1.xml")).bytes);
    Table table;
    const QRegularExpression row(QStringLiteral("<row [^>]*>(.*?)</row>"));
    const QRegularExpression cell(QStringLiteral("<c r=\"([A-Z]+)\\d+\"[^>]*?(?:/>|>(.*?)</c>)"));
    const QRegularExpression text(QStringLiteral("<t[^>]*>([^<]*)</t>"));
    for (auto rows = row.globalMatch(sheet); rows.hasNext();) {
        QStringList values;
        for (auto cells = cell.globalMatch(rows.next().captured(1)); cells.hasNext();) {
            const QRegularExpressionMatch match = cells.next();
            int column = 0;
            for (const QChar letter : match.captured(1))
                column = column * 26 + (letter.unicode() - 'A' + 1);
            while (values.size() < column)
                values.append(QString());
            values[column - 1] = text.match(match.captured(2))
                                     .captured(1)
                                     .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                                     .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                                     .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                                     .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        }
        table.append(values);
    }
    return table;
}

// The page's table: the header cells, then every row's cells.
Table PageTable(const QByteArray &bytes)
{
    const QString page = FromWindows1250(bytes);
    Table table;
    const QRegularExpression row(QStringLiteral("  <tr>\r\n(.*?)  </tr>"),
                                 QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression cell(QStringLiteral(
        "<td [^>]*><font [^>]*>(?:<strong>)?(?:<p align=\"[a-z]+\">)?([^<]*)(?:</strong>)?</font></td>"));
    for (auto rows = row.globalMatch(page); rows.hasNext();) {
        QStringList values;
        for (auto cells = cell.globalMatch(rows.next().captured(1)); cells.hasNext();)
            values.append(cells.next().captured(1));
        table.append(values);
    }
    return table;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// "Excelbe..." and "HTML export" of the main window write the rows the ledger grid shows, in its order.
class TestMainExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void init();
    void cleanup() { m_db.close(); }

    void excelbeWritesTheViewsRows_data();
    void excelbeWritesTheViewsRows();
    void htmlPageShowsTheGridAsItIs();

private:
    qint64 insert(const QString &table, const QVariantMap &values) { return m_db.engine->insert(table, values); }
    void voucher(int tillId, const char *code, int serial, const char *booked, const char *closed, double amount,
                 const QString &text)
    {
        insert(QStringLiteral("dromvel"), {{QStringLiteral("kassza"), tillId},
                                           {QStringLiteral("kibe"), QStringLiteral("K")},
                                           {QStringLiteral("betujel"), QString::fromLatin1(code)},
                                           {QStringLiteral("ssz"), serial},
                                           {QStringLiteral("kiadva"), QString::fromLatin1(booked)},
                                           {QStringLiteral("lezarva"), QString::fromLatin1(closed)},
                                           {QStringLiteral("elszamol_kell"), QStringLiteral("N")},
                                           {QStringLiteral("elszamolva"), QStringLiteral("N")},
                                           {QStringLiteral("osszeg"), amount},
                                           {QStringLiteral("dat_kiadva"), QDate(2026, 12, serial)},
                                           {QStringLiteral("kasszatip"), m_type},
                                           {QStringLiteral("ugyfel"), m_client},
                                           {QStringLiteral("szoveg"), text}});
    }
    // The window on till 1, its grid sorted by the voucher number with a click on the column's title.
    std::unique_ptr<Tfrm_Main> window()
    {
        auto w = std::make_unique<Tfrm_Main>(m_db.session, *m_db.engine, m_db.messages, m_dialogs);
        w->resize(1000, 600);
        w->TillSwitch(1, QStringLiteral("Főpénztár"));
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get()))
            return {};
        QHeaderView *header = w->grid()->horizontalHeader();
        const int column = w->ledger()->sorszamColumn();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
        return w;
    }
    // The texts of the named columns (by their titles) in every row of the grid, the titles first.
    static Table GridColumns(const QTableView &grid, const QStringList &titles)
    {
        const QAbstractItemModel &model = *grid.model();
        QList<int> columns;
        for (const QString &title : titles)
            for (int c = 0; c < model.columnCount(); ++c)
                if (model.headerData(c, Qt::Horizontal).toString() == title)
                    columns.append(c);
        Table table{titles};
        for (int r = 0; r < model.rowCount(); ++r) {
            QStringList row;
            for (int c : columns)
                row.append(model.index(r, c).data().toString());
            table.append(row);
        }
        return table;
    }
    // The same named columns of a written table, found by their titles in its first row.
    static Table Columns(const Table &table, const QStringList &titles)
    {
        Table result;
        for (const QStringList &row : table) {
            QStringList values;
            for (const QString &title : titles)
                values.append(row.value(table.first().indexOf(title)));
            result.append(values);
        }
        return result;
    }

    TestDatabase m_db;
    MainDialogs m_dialogs;
    QTemporaryDir m_dir;
    qint64 m_type = 0;
    qint64 m_client = 0;
};

void TestMainExport::init()
{
    m_db.fresh(QStringLiteral("mainexport"));
    m_db.session.iniPath = QDir(m_db.folder).filePath(QStringLiteral("DromvelPro.ini"));
    m_db.session.openDay = QDate(2026, 12, 8);
    m_db.session.formatFt = QStringLiteral("### ### ##0");
    m_db.session.htmlFolder = m_dir.filePath(QStringLiteral("Html"));
    m_dialogs = MainDialogs::Default(m_db.session, *m_db.engine, m_db.messages, m_db.fileDialogs);
    insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Főpénztár")}});
    insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Kis kassza")}});
    m_type = insert(QStringLiteral("kasszatip"), {{QStringLiteral("kasszatip_nev"), QStringLiteral("Irodaszer")}});
    m_client = insert(QStringLiteral("ugyfel"), {{QStringLiteral("ugyfel_nev"), QStringLiteral("Kovács & Társa")}});
    // Entered in another order than their numbers run; a closed row and another till's row stay out of the view.
    voucher(1, "KB", 3, "I", "N", 1500, QStringLiteral("Papír, toll és egy tűzőgép a pénztárablak mellé"));
    voucher(1, "KB", 1, "I", "N", 250.5, QStringLiteral("Bélyeg"));
    voucher(1, "KB", 2, "N", "N", 12000, QStringLiteral("<b>Nyomtató</b>"));
    voucher(1, "KB", 4, "I", "I", 99, QStringLiteral("Lezárt tétel"));
    voucher(2, "KB", 5, "I", "N", 77, QStringLiteral("Másik kassza"));
}

void TestMainExport::excelbeWritesTheViewsRows_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("delimited") << QStringLiteral("penztar.csv") << QStringLiteral("penztar.csv");
    QTest::newRow("spreadsheet") << QStringLiteral("penztar.xls") << QStringLiteral("penztar.xlsx");
}

void TestMainExport::excelbeWritesTheViewsRows()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    auto w = window();
    QVERIFY(w);
    QString proposed;
    OnNextModal([&](QDialog *dialog) {
        auto *box = dialog->findChild<QLineEdit *>(QStringLiteral("edFilenev"));
        proposed = box->text();
        box->setText(m_dir.filePath(typed));
        static_cast<Tfrm_Hatarolt *>(dialog)->startExport();
        dialog->reject();
    });
    QTest::keyClick(w.get(), Qt::Key_E, Qt::ControlModifier);
    QVERIFY(proposed.endsWith(QStringLiteral("File001.csv")));

    const QString path = m_dir.filePath(written);
    const Table file = written.endsWith(QStringLiteral(".csv")) ? CsvTable(FileBytes(path)) : SheetTable(path);
    const QStringList shown{QStringLiteral("sorszám"), QStringLiteral("típus"), QStringLiteral("kitől-kinek")};
    const Table grid = GridColumns(*w->grid(), shown);
    QCOMPARE(grid.size(), 4);
    QCOMPARE(Columns(file, shown), grid);
    // Every field of the view is there, the grid's hidden short text as the grid would show it.
    QCOMPARE(file.first().size(), w->grid()->model()->columnCount());
    QCOMPARE(Columns(file, {QStringLiteral("szoveg_rovid")}).mid(1),
             (Table{{"Bélyeg"}, {"<b>Nyomtató</b>"}, {"Papír, toll és egy tűzőgép a pénztára..."}}));
}

void TestMainExport::htmlPageShowsTheGridAsItIs()
{
    auto w = window();
    QVERIFY(w);
    QString path;
    OnNextModal([&](QDialog *dialog) {
        path = static_cast<Tfrm_Grid2Html *>(dialog)->path();
        dialog->findChild<QCheckBox *>(QStringLiteral("cbMegnyit"))->setChecked(false);
        dialog->accept();
    });
    QTest::keyClick(w.get(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(path, DefaultHtmlPath(m_db.session.htmlFolder, QStringLiteral("Főpénztár")));
    const QByteArray page = FileBytes(path);
    QVERIFY(FromWindows1250(page).contains(QStringLiteral("<title>Főpénztár</title>")));

    // The grid's shown columns in the order they stand on screen; the settlement icon's column shows its flag.
    const QTableView &grid = *w->grid();
    const QHeaderView &header = *grid.horizontalHeader();
    Table expected(1);
    for (int v = 0; v < header.count(); ++v) {
        const int c = header.logicalIndex(v);
        if (!grid.isColumnHidden(c))
            expected.first().append(grid.model()->headerData(c, Qt::Horizontal).toString());
    }
    for (int r = 0; r < grid.model()->rowCount(); ++r) {
        QStringList row;
        for (int v = 0; v < header.count(); ++v) {
            const int c = header.logicalIndex(v);
            if (!grid.isColumnHidden(c))
                row.append(v == 0 ? w->ledger()->field(r, QStringLiteral("elszamolva")).toString()
                                  : grid.model()->index(r, c).data().toString().toHtmlEscaped());
        }
        expected.append(row);
    }
    QCOMPARE(expected.first().first(), QStringLiteral("elsz?"));
    QCOMPARE(expected.first().at(1), QStringLiteral("sorszám"));
    QCOMPARE(expected.at(1).at(1), QStringLiteral("KB00001"));
    QCOMPARE(PageTable(page), expected);
    QVERIFY(FromWindows1250(page).contains(QStringLiteral("Összesen 3 sor.")));
}

QTEST_MAIN(TestMainExport)
#include "test_mainexport.moc"

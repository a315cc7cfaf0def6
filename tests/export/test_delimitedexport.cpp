#include "codepage.h"
#include "delimitedwriter.h"
#include "exportfixture.h"
#include "rowstream.h"
#include "util.h"
#include "windows1250encoder.h"

// Splits a delimited file the way RFC 4180 readers do, with the given separator and quote character. The trailing
// separator of every line gives an empty last field, which is dropped.
QList<QStringList> ReadDelimited(const QString &text, QChar separator, QChar quote)
{
    QList<QStringList> rows;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == quote && i + 1 < text.size() && text.at(i + 1) == quote) {
                field += quote;
                ++i;
            } else if (c == quote) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == quote) {
            quoted = true;
        } else if (c == separator) {
            fields.append(field);
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            fields.append(field);
            field.clear();
            if (fields.last().isEmpty())
                fields.removeLast();
            rows.append(fields);
            fields.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

class TestDelimitedExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ExportFixture::initProcess(); }
    void init() { m_db.fresh(QStringLiteral("delimited")); }

    void bytes_data();
    void bytes();
    void readBackGivesTheValuesWritten_data();
    void readBackGivesTheValuesWritten();
    void plainValues();
    void floatsInTheGeneralForm();
    void stopKeepsTheRowsWritten();
    void filteredRowsStayOutOfTheCountAndTheFile();
    void encoderMatchesTheCodePage_data();
    void encoderMatchesTheCodePage();
    void streamLeavesTheProgramsConnectionFreeToWrite();

private:
    QByteArray written(const DelimitedOptions &options)
    {
        SqlExportSource source = m_db.source();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        DelimitedWriter(options).write(source, buffer);
        return buffer.data();
    }

    ExportFixture m_db;
};

void TestDelimitedExport::bytes_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("quote");
    QTest::addColumn<bool>("memo");
    QTest::addColumn<QByteArray>("expected");

    const QString semi = QStringLiteral(";"), pipe = QStringLiteral("|"), dq = QStringLiteral("\""),
                  ap = QStringLiteral("'"), none;
    const QByteArray header = "Sz\xf6veg;";
    QTest::newRow("defaults: trailing separator, CR LF")
        << QStringList{QStringLiteral("A")} << semi << none << false << header + "\r\nA;\r\n";
    QTest::newRow("separator inside, no quote: quoted alone")
        << QStringList{QStringLiteral("a;b"), QStringLiteral("c")} << semi << none << false
        << header + "\r\n\"a;b\";\r\nc;\r\n";
    QTest::newRow("double quote inside, no quote: doubled")
        << QStringList{QStringLiteral("6\" cső")} << semi << none << false << header + "\r\n\"6\"\" cs\xf5\";\r\n";
    QTest::newRow("apostrophe, no quote: unchanged")
        << QStringList{QStringLiteral("O'Hara")} << semi << none << false << header + "\r\nO'Hara;\r\n";
    QTest::newRow("line break, no quote: quoted") << QStringList{QStringLiteral("egy\r\nkettő")} << semi << none
                                                  << false << header + "\r\n\"egy\r\nkett\xf5\";\r\n";
    QTest::newRow("double quote chosen: inner doubled") << QStringList{QStringLiteral("a\"b;c")} << semi << dq << false
                                                        << QByteArray("\"Sz\xf6veg\";\r\n\"a\"\"b;c\";\r\n");
    QTest::newRow("apostrophe chosen: inner apostrophe doubled, double quote left")
        << QStringList{QStringLiteral("O'Hara \"Kft\"")} << semi << ap << false
        << QByteArray("'Sz\xf6veg';\r\n'O''Hara \"Kft\"';\r\n");
    QTest::newRow("outside the code page: ?")
        << QStringList{QStringLiteral("€ ő 😀 ñ")} << semi << none << false << header + "\r\n\x80 \xf5 ? ?;\r\n";
    QTest::newRow("memo off: BLOB") << QStringList{QStringLiteral("egy\nkettő")} << semi << none << false
                                    << header + "\r\nBLOB;\r\n";
    QTest::newRow("memo on with |: line breaks become commas")
        << QStringList{QStringLiteral("egy\nkettő\nhárom")} << pipe << none << true
        << QByteArray("Sz\xf6veg|\r\negy,kett\xf5,h\xe1rom|\r\n");
    QTest::newRow("memo on with ;: joined with |, separators become commas")
        << QStringList{QStringLiteral("a;b\nc")} << semi << none << true << header + "\r\na,b|c;\r\n";
}

void TestDelimitedExport::bytes()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, separator);
    QFETCH(QString, quote);
    QFETCH(bool, memo);
    QFETCH(QByteArray, expected);
    for (const QString &text : texts)
        m_db.addRow(text);
    SqlExportSource source = m_db.source();
    if (memo || QString::fromLatin1(QTest::currentDataTag()).startsWith(QStringLiteral("memo")))
        source.setKind(QStringLiteral("szoveg"), ExportKind::Memo);
    DelimitedOptions options;
    options.separator = separator.at(0);
    options.quote = quote;
    options.memoLines = memo;
    options.exported = {true, false, false, false};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QCOMPARE(DelimitedWriter(options).write(source, buffer), qint64(texts.size()));
    QCOMPARE(buffer.data(), expected);
}

void TestDelimitedExport::readBackGivesTheValuesWritten_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("quote");
    const QStringList separators{QStringLiteral(";"), QStringLiteral("\t"), QStringLiteral(","), QStringLiteral("|")};
    const QStringList quotes{QStringLiteral("\""), QStringLiteral("'"), QString()};
    for (const QString &s : separators)
        for (const QString &q : quotes)
            QTest::addRow("sep %d quote %s", int(s.at(0).unicode()), q.isEmpty() ? "none" : qPrintable(q)) << s << q;
}

void TestDelimitedExport::readBackGivesTheValuesWritten()
{
    QFETCH(QString, separator);
    QFETCH(QString, quote);
    const QStringList texts{QStringLiteral("sima"),      QStringLiteral("pontos;vessző"),
                            QStringLiteral("tab\there"), QStringLiteral("vessző, után"),
                            QStringLiteral("cső|jel"),   QStringLiteral("\"idézet\""),
                            QStringLiteral("O'Hara"),    QStringLiteral("két\r\nsor"),
                            QStringLiteral("'\"';|,\t"), QStringLiteral("Árvíztűrő gép")};
    for (const QString &text : texts)
        m_db.addRow(text, 1234.5, 7, QDate(2026, 3, 15));

    DelimitedOptions options;
    options.separator = separator.at(0);
    options.quote = quote;
    const QString file = FromWindows1250(written(options));

    const QList<QStringList> rows =
        ReadDelimited(file, separator.at(0), quote.isEmpty() ? QLatin1Char('"') : quote.at(0));
    QCOMPARE(rows.size(), texts.size() + 1);
    QCOMPARE(rows.first(), (QStringList{QStringLiteral("Szöveg"), QStringLiteral("Összeg"), QStringLiteral("Sorszám"),
                                        QStringLiteral("Kiadva")}));
    for (qsizetype i = 0; i < texts.size(); ++i)
        QCOMPARE(rows.at(i + 1), (QStringList{texts.at(i), QStringLiteral("1234,5"), QStringLiteral("7"),
                                              QStringLiteral("2026. 03. 15.")}));
}

void TestDelimitedExport::plainValues()
{
    m_db.addRow(QStringLiteral("x"), 1234567.25, 42, QDate(2026, 1, 2));
    m_db.addRow({}, 0.1 + 0.2, {}, {});
    m_db.addRow(QStringLiteral("y"), -5000.0, 0, {});

    DelimitedOptions options;
    QCOMPARE(written(options), QByteArray("Sz\xf6veg;\xd6sszeg;Sorsz\xe1m;Kiadva;\r\n"
                                          "x;1234567,25;42;2026. 01. 02.;\r\n"
                                          ";0,3;;;\r\n"
                                          "y;-5000;0;;\r\n"));

    options.fieldNames = true;
    options.exported = {false, true};
    QCOMPARE(written(options), QByteArray("osszeg;ssz;dat_kiadva;\r\n1234567,25;42;2026. 01. 02.;\r\n0,3;;;\r\n"
                                          "-5000;0;;\r\n"));

    options.noHeader = true;
    options.exported = {false, false, false, false};
    QCOMPARE(written(options), QByteArray("\r\n\r\n\r\n\r\n"));
}

void TestDelimitedExport::floatsInTheGeneralForm()
{
    // The writer's quick path must give what the general form of the shared routines gives, for every value.
    QList<double> values{0.1 + 0.2,        1.005,      1234.5, -0.25,     1e-4,  1.234e-5,          123456789012.34,
                         99999999999999.9, 1e15 + 0.5, 1e20,   2.0 / 3.0, -1e-7, 4503599627370495.5};
    quint64 state = 12345;
    for (int i = 0; i < 2000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double magnitude = std::pow(10.0, double(int(state >> 59) - 8));
        values.append(double(state >> 11) / double(1ULL << 53) * magnitude * ((state & 1) ? -1 : 1));
    }
    const DelimitedWriter writer{DelimitedOptions()};
    ExportColumn column;
    column.kind = ExportKind::Float;
    for (double value : values)
        QCOMPARE(writer.plainText(column, value), FormatFloat(QString(), value));
}

void TestDelimitedExport::stopKeepsTheRowsWritten()
{
    for (int i = 1; i <= 50; ++i)
        m_db.addRow(QStringLiteral("sor %1").arg(i));
    SqlExportSource source = m_db.source();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    StopAfter stopper(17);
    DelimitedOptions options;
    options.exported = {true, false, false, false};
    QCOMPARE(DelimitedWriter(options).write(source, buffer, stopper.control), qint64(17));
    const QList<QByteArray> lines = buffer.data().split('\n');
    QCOMPARE(lines.size(), 1 + 17 + 1);
    QCOMPARE(lines.at(17), QByteArray("sor 17;\r"));
}

void TestDelimitedExport::filteredRowsStayOutOfTheCountAndTheFile()
{
    m_db.addRow(QStringLiteral("bevétel"), 500.0, 1);
    m_db.addRow(QStringLiteral("kiadás"), -200.0, 2);
    m_db.addRow(QStringLiteral("bevétel"), 300.0, 3);
    SqlExportSource source = m_db.source();
    source.setFilter([](const StoredRow &row) { return row.value(QStringLiteral("OSSZEG")).toDouble() > 0; })
        .addCalculated(QStringLiteral("dupla"), QStringLiteral("Dupla"), ExportKind::Float,
                       [](const StoredRow &row) { return row.value(QStringLiteral("osszeg")).toDouble() * 2; });
    QCOMPARE(source.rowCount(), qint64(2));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DelimitedOptions options;
    options.exported = {false, true, true, false};
    QCOMPARE(DelimitedWriter(options).write(source, buffer), qint64(2));
    QCOMPARE(buffer.data(), QByteArray("\xd6sszeg;Sorsz\xe1m;Dupla;\r\n500;1;1000;\r\n300;3;600;\r\n"));
}

void TestDelimitedExport::encoderMatchesTheCodePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QStringLiteral("Hello, world; 123");
    QTest::newRow("hungarian") << QStringLiteral("Árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP");
    QTest::newRow("code page extras") << QStringLiteral("€‚„…†‡‰Š‹ŚŤŽŹ‘’“”•–—™š›śťžź ˇ˘ŁĄŞŻ˛łąşż");
    QTest::newRow("outside") << QStringLiteral("ñ ø 中文 😀 ÿ");
    QTest::newRow("controls") << QStringLiteral("a\tb\r\nc");
}

void TestDelimitedExport::encoderMatchesTheCodePage()
{
    QFETCH(QString, text);
    QCOMPARE(Windows1250Encoder().encode(text), ToWindows1250(text));
}

void TestDelimitedExport::streamLeavesTheProgramsConnectionFreeToWrite()
{
    for (int i = 0; i < 3; ++i)
        m_db.addRow(QStringLiteral("sor"));
    QCOMPARE(RowStream(*m_db.engine, QStringLiteral("SELECT szoveg FROM dromvel -- minden sor")).count(), 3);
    RowStream stream(*m_db.engine, ExportFixture::Sql());
    QCOMPARE(stream.count(), 3);
    stream.open();
    QVERIFY(stream.next());
    QCOMPARE(stream.fieldNames(), (QStringList{QStringLiteral("szoveg"), QStringLiteral("osszeg"),
                                               QStringLiteral("ssz"), QStringLiteral("dat_kiadva")}));

    // Another workstation commits while the export is half-way; then this program writes.
    {
        Engine other(QStringLiteral("other"));
        other.open(m_db.folder);
        other.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Másik")}});
    }
    m_db.addRow(QStringLiteral("új"));
    int rest = 0;
    while (stream.next())
        ++rest;
    QCOMPARE(rest, 2);
}

QTEST_GUILESS_MAIN(TestDelimitedExport)
#include "test_delimitedexport.moc"

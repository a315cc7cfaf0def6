#include "engine.h"
#include "ledgersound.h"
#include "paradoximport.h"
#include "paradoxtable.h"
#include "paradoxwriter.h"
#include "query.h"
#include "sampledata.h"
#include "samplevouchers.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

extern "C" {
#include <paradox.h>
}

// Old databases written as Paradox tables in the schema's layouts from the program's own sample ledger (with
// Hungarian texts in Windows-1250 and the direction names in a memo field), taken over and compared row by row.
class TestParadoxImport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void oldTablesComeOverRowByRow();
    void longMemoIsCutToItsFieldAndSaidSo();
    void codePage852IsRead();
    void nothingIsWrittenWhenATableFails_data();
    void nothingIsWrittenWhenATableFails();
    void realParadoxFilesAreReadButAreNotOurs();
    void damagedBcdNumberFailsItsRecord_data();
    void damagedBcdNumberFailsItsRecord();
    void unreadableHeaderIsRefused_data();
    void unreadableHeaderIsRefused();

private:
    void writeOldTables(const QString &folder)
    {
        const QString error = WriteOldDatabase(*m_sample, folder);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    QStringList dump(Engine &engine, const TableDef &def);
    QString fresh(const QString &name)
    {
        const QString path = m_dir.filePath(QStringLiteral("%1-%2").arg(name).arg(m_count));
        QDir().mkpath(path);
        return path;
    }
    bool isEmpty(const QString &folder) const
    {
        return QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir m_dir;
    int m_count = 0;
    std::unique_ptr<Engine> m_sample;
};

void TestParadoxImport::initTestCase()
{
    const QString folder = m_dir.filePath(QStringLiteral("sample"));
    QDir().mkpath(folder);
    m_sample = std::make_unique<Engine>(QStringLiteral("sample"));
    m_sample->open(folder);
    FillSampleData(*m_sample);
    FillSampleVouchers(*m_sample, QDate(2024, 6, 14));
    m_sample->insert(QStringLiteral("felhasznalo"),
                     {{QStringLiteral("felhasznalo"), QStringLiteral("ÁRVÍZTŰRŐ")},
                      {QStringLiteral("felhasznalo_nev"), QStringLiteral("Tükörfúró Győző")},
                      {QStringLiteral("rendszergazda"), QStringLiteral("I")}});
}

void TestParadoxImport::init()
{
    ++m_count;
}

QStringList TestParadoxImport::dump(Engine &engine, const TableDef &def)
{
    QStringList lines;
    Query q(engine, QStringLiteral("SELECT %1 FROM %2 ORDER BY 1;").arg(def.fieldNames().join(','), def.name));
    q.open();
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < def.fields.size(); ++i)
            values.append(q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
        lines.append(values.join('|'));
    }
    return lines;
}

void TestParadoxImport::oldTablesComeOverRowByRow()
{
    const QString source = fresh(QStringLiteral("old"));
    writeOldTables(source);
    const QString target = fresh(QStringLiteral("new"));
    QStringList statuses;
    MaintenanceProgress progress;
    progress.status = [&statuses](const QString &text) { statuses.append(text); };
    const ParadoxImportResult result = ImportParadoxFolder(source + QStringLiteral("/"), target, progress);
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QVERIFY(statuses.contains(QStringLiteral("Átvétel: dromvel.DB")));
    QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("dromvel.sqlite")});

    Engine imported(QStringLiteral("imported"));
    imported.open(target);
    for (const TableDef &def : Schema::ImportedTables()) {
        QCOMPARE(imported.fieldNames(def.name), def.fieldNames());
        QCOMPARE(dump(imported, def), dump(*m_sample, def));
    }
    // The new database's log starts with its import.
    QCOMPARE(
        Query(imported, QStringLiteral("SELECT COUNT(*) || ' ' || MAX(esemeny) FROM naplo;")).firstValue().toString(),
        QStringLiteral("1 Átvétel"));
    const int ledgerRows = dump(*m_sample, *Schema::Table(QStringLiteral("dromvel"))).size();
    QVERIFY(ledgerRows > 100);
    QVERIFY(result.report.contains(QStringLiteral("dromvel: %1 sor").arg(ledgerRows)));
    QVERIFY2(result.findings.isEmpty(), qPrintable(result.findings.join('\n')));
    QVERIFY_LEDGER_SOUND(imported);
    // A new row continues the old keys.
    const qint64 lastKey = dump(*m_sample, *Schema::Table(QStringLiteral("kassza"))).size();
    QCOMPARE(imported.insert(QStringLiteral("kassza"), {{QStringLiteral("kassza_nev"), QStringLiteral("Új")}}),
             lastKey + 1);
}

void TestParadoxImport::longMemoIsCutToItsFieldAndSaidSo()
{
    const QString source = fresh(QStringLiteral("old"));
    writeOldTables(source);
    const QString longName = QStringLiteral("Előlegek elszámolása ") + QString(3000, QLatin1Char('x'));
    QList<QVariantList> kibe{
        {QStringLiteral("B"), QStringLiteral("Bevételi pénztárbizonylat"), longName},
        {QStringLiteral("K"), QStringLiteral("Kiadási pénztárbizonylat"), QStringLiteral("kiadás")}};
    QVERIFY(WriteParadoxTable(QDir(source).filePath(QStringLiteral("KIBE.DB")),
                              OldColumns(*Schema::Table(QStringLiteral("kibe"))), kibe)
                .isEmpty());
    QFile::remove(QDir(source).filePath(QStringLiteral("kibe.DB")));
    QFile::remove(QDir(source).filePath(QStringLiteral("kibe.MB")));
    const QString target = fresh(QStringLiteral("new"));
    const ParadoxImportResult result = ImportParadoxFolder(source, target, {});
    QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
    QVERIFY(result.report.contains(QStringLiteral("kibe: 2 sor (1 szöveg a mező hosszára vágva)")));
    Engine imported(QStringLiteral("imported"));
    imported.open(target);
    Query q(imported, QStringLiteral("SELECT nev FROM kibe WHERE kibe='B';"));
    q.open();
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), longName.left(25));
}

void TestParadoxImport::codePage852IsRead()
{
    const QString path = m_dir.filePath(QStringLiteral("tulajdonos852.DB"));
    const QString owner = QStringLiteral("Őrző és Társa Kft. – ÁRVÍZTŰRŐ");
    QVERIFY(WriteParadoxTable(path, OldColumns(*Schema::Table(QStringLiteral("tulajdonos"))),
                              {{owner.left(19) + owner.mid(20)}}, 852)
                .isEmpty());
    ParadoxTable table;
    QVERIFY2(table.open(path), qPrintable(table.error()));
    QCOMPARE(table.codePage(), 852);
    QVariantList record;
    QVERIFY(table.record(0, record));
    QCOMPARE(record.first().toString(), owner.left(19) + owner.mid(20));
}

void TestParadoxImport::nothingIsWrittenWhenATableFails_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing table") << "missing"
                                   << "Hiányzó táblák: szervegyseg.DB.";
    QTest::newRow("unreadable table") << "garbage"
                                      << "A(z) kassza.DB tábla nem olvasható: ";
    QTest::newRow("foreign table under our name") << "foreign"
                                                  << "A(z) ugyfel.DB nem ennek a programnak a táblája: "
                                                     "nincs „ugyfel” mezője.";
    QTest::newRow("text where a number belongs") << "text"
                                                 << "A(z) zarbizonylat.DB tábla 1. rekordja: a(z) „kassza” "
                                                    "mezőbe nem illő érték: „Főpénztár”";
    QTest::newRow("target not empty") << "target"
                                      << "Az új adatbázis mappája nem üres: ";
}

void TestParadoxImport::nothingIsWrittenWhenATableFails()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const QString source = fresh(QStringLiteral("old"));
    writeOldTables(source);
    const QString target = fresh(QStringLiteral("new"));
    if (fault == QLatin1String("missing")) {
        QVERIFY(QFile::remove(QDir(source).filePath(QStringLiteral("szervegyseg.DB"))));
    } else if (fault == QLatin1String("garbage")) {
        QFile file(QDir(source).filePath(QStringLiteral("kassza.DB")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(3000, '\x7f'));
    } else if (fault == QLatin1String("foreign")) {
        QVERIFY(WriteParadoxTable(QDir(source).filePath(QStringLiteral("ugyfel.DB")), {{"Name", pxfAlpha, 20}},
                                  {{QStringLiteral("Argentina")}})
                    .isEmpty());
    } else if (fault == QLatin1String("text")) {
        QVERIFY(WriteParadoxTable(QDir(source).filePath(QStringLiteral("zarbizonylat.DB")),
                                  {{"zarbizonylat", pxfLong, 4}, {"kassza", pxfAlpha, 25}},
                                  {{qint64(1), QStringLiteral("Főpénztár")}})
                    .isEmpty());
    } else {
        QFile file(QDir(target).filePath(QStringLiteral("jegyzet.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const ParadoxImportResult result = ImportParadoxFolder(source, target, {});
    QVERIFY2(result.error.contains(message), qPrintable(result.error));
    QVERIFY(result.report.isEmpty());
    QVERIFY(!QFile::exists(QDir(target).filePath(QStringLiteral("dromvel.sqlite"))));
    if (fault != QLatin1String("target"))
        QVERIFY(isEmpty(target));
}

// Paradox files written by the original desktop engine: every record of every file reads, and a folder of them
// is told apart as somebody else's tables.
void TestParadoxImport::realParadoxFilesAreReadButAreNotOurs()
{
    const QDir real(QStringLiteral(PARADOX_TESTDATA));
    const QStringList files = real.entryList({QStringLiteral("*.db")}, QDir::Files);
    QCOMPARE(files.size(), 3);
    int records = 0;
    for (const QString &file : files) {
        ParadoxTable table;
        QVERIFY2(table.open(real.filePath(file)), qPrintable(file + QStringLiteral(": ") + table.error()));
        QVERIFY(!table.fields().isEmpty());
        QVariantList record;
        for (int n = 0; n < table.recordCount(); ++n) {
            QVERIFY2(table.record(n, record), qPrintable(file + QStringLiteral(": ") + table.error()));
            QCOMPARE(record.size(), table.fields().size());
            ++records;
        }
    }
    QCOMPARE(records, 18 + 5);

    ParadoxTable types;
    QVERIFY(types.open(real.filePath(QStringLiteral("TypSammlung.DB"))));
    QCOMPARE(types.fields().at(2).name, QStringLiteral("Währung"));
    QVariantList record;
    QVERIFY(types.record(0, record));
    QCOMPARE(record.at(0).toString(), QStringLiteral("AAA Irgendein Text"));
    QCOMPARE(record.at(6).toDate(), QDate(1970, 1, 1));
    // BCD numbers: an empty one stays empty (not 0), a negative one is read from its complemented digits.
    QStringList numbers;
    for (int n = 0; n < types.recordCount(); ++n) {
        QVERIFY(types.record(n, record));
        numbers.append(record.at(5).isNull() ? QStringLiteral("NULL")
                                             : QString::number(record.at(5).toDouble(), 'g', 12));
    }
    QCOMPARE(numbers, (QStringList{"40", "NULL", "13.123457", "0", "-40"}));

    const QString target = fresh(QStringLiteral("new"));
    const ParadoxImportResult result = ImportParadoxFolder(real.path(), target, {});
    QVERIFY2(result.error.startsWith(QStringLiteral("A mappában nincsenek a Dromvel program régi táblái")),
             qPrintable(result.error));
    QVERIFY2(result.error.contains(QStringLiteral("A mappa Paradox táblái (country.db, empty.db, TypSammlung.DB) nem "
                                                  "ennek a programnak a táblái.")),
             qPrintable(result.error));
    QVERIFY(isEmpty(target));
}

void TestParadoxImport::damagedBcdNumberFailsItsRecord_data()
{
    QTest::addColumn<int>("at"); // byte of the number (17 bytes: sign and decimals, then 32 digits)
    QTest::addColumn<char>("value");
    QTest::newRow("decimals other than the field's") << 0 << char(0xC5);
    QTest::newRow("a digit that is not one") << 3 << char(0xAB);
}

// The number field of the real table's first record, damaged: the record is refused with the field's name, not
// read as empty or as 0. (The first data block follows the 2048-byte header; its records after 6 bytes; the number
// lies after fields of 30, 8, 8, 2 and 4 bytes.)
void TestParadoxImport::damagedBcdNumberFailsItsRecord()
{
    QFETCH(int, at);
    QFETCH(char, value);
    const QString path = m_dir.filePath(QStringLiteral("bcd%1.DB").arg(at));
    QVERIFY(QFile::copy(QStringLiteral(PARADOX_TESTDATA "/TypSammlung.DB"), path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    {
        ParadoxTable sound;
        QVERIFY(sound.open(path));
        QCOMPARE(sound.fields().at(5).type, int(pxfBCD));
        QVariantList record;
        QVERIFY(sound.record(0, record));
        QCOMPARE(record.at(5).typeId(), QMetaType::Double);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(2048 + 6 + 52 + at));
    QVERIFY(file.putChar(value));
    file.close();

    ParadoxTable table;
    QVERIFY(table.open(path));
    QVariantList record;
    QVERIFY(!table.record(0, record));
    QVERIFY(record.isEmpty());
    QCOMPARE(table.error(), QStringLiteral("a(z) 1. rekord „%1” mezője hibás szám").arg(table.fields().at(5).name));
    QVERIFY(table.record(1, record));
}

void TestParadoxImport::unreadableHeaderIsRefused_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<char>("value");
    QTest::addColumn<QString>("error");
    // The encryption mark (at 37) other than "none": the blocks would read as noise.
    QTest::newRow("encrypted") << 0x25 << char(0x02) << "jelszóval védett (titkosított) tábla";
    // The first data block (after the 2048-byte header) names itself as the next one: reading would never end.
    QTest::newRow("block chain in a circle") << 2048 << char(0x01) << "sérült adatblokk-lánc";
    QTest::newRow("block beyond the file") << 2048 << char(0x09) << "sérült adatblokk-lánc";
}

void TestParadoxImport::unreadableHeaderIsRefused()
{
    QFETCH(int, at);
    QFETCH(char, value);
    const QString path = m_dir.filePath(QStringLiteral("fej%1-%2.DB").arg(at).arg(int(value)));
    QVERIFY(QFile::copy(QStringLiteral(PARADOX_TESTDATA "/TypSammlung.DB"), path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(at));
    QVERIFY(file.putChar(value));
    file.close();

    ParadoxTable table;
    QVERIFY(!table.open(path));
    QTEST(table.error(), "error");
    QVERIFY(table.fields().isEmpty());
}

QTEST_GUILESS_MAIN(TestParadoxImport)
#include "test_paradoximport.moc"

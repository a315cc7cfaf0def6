#include "filefaults.h"
#include "ini.h"
#include "inibytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Defaults = QStringLiteral("Defaults");

} // namespace

class TestIni : public QObject
{
    Q_OBJECT
private slots:
    void writesWindows1250WithCrLf();
    void rewriteKeepsUnknownLinesAndSpelling();
    void reads_data();
    void reads();
    void readsLf();
    void encodings_data();
    void encodings();
    void deleteAndErase();
    void files();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void unreadableFileIsKept();
    void fileThatIsNotTextIsKept();
    void rewriteReadsBackAsTheSameText();
};

void TestIni::writesWindows1250WithCrLf()
{
    IniFile ini;
    ini.writeString(Defaults, QStringLiteral("CassaName"), QStringLiteral("Pénztár ő ű"));
    ini.writeBool(QStringLiteral("Screen"), QStringLiteral("FullScreen"), false);
    ini.writeBool(Defaults, QStringLiteral("Vissza"), true);
    ini.writeDate(QStringLiteral("Archive"), QStringLiteral("LastArchive"), QDate(2026, 1, 5));
    // A line break in a value would split it into a stray line.
    ini.writeString(QStringLiteral("Archive"), QStringLiteral("Note"), QStringLiteral("a\r\nb\nc"));
    // A key added later to an earlier section joins it, before the blank line that separates sections.
    const QByteArray expected = "[Defaults]\r\nCassaName=P\xE9nzt\xE1r \xF5 \xFB\r\nVissza=1\r\n\r\n"
                                "[Screen]\r\nFullScreen=0\r\n\r\n"
                                "[Archive]\r\nLastArchive=2026-01-05\r\nNote=a b c\r\n";
    QCOMPARE(IniBytes(ini), expected);
    QCOMPARE(IniFromBytes(expected).readString(Defaults, QStringLiteral("CassaName")), QStringLiteral("Pénztár ő ű"));
}

void TestIni::rewriteKeepsUnknownLinesAndSpelling()
{
    const QByteArray original = "; kept comment\r\n[DEFAULTS]\r\nFONTSIZE = 10\r\nOther Tool=x=y\r\n# comment\r\n"
                                "no equals sign here\r\n\r\n[Foreign]\r\na=1\r\n[Screen]\r\nLeft=5\r\n";
    IniFile ini = IniFromBytes(original);
    QCOMPARE(IniBytes(ini), original);
    QVERIFY(ini.valueExists(QStringLiteral("defaults"), QStringLiteral("FontSize")));
    QCOMPARE(ini.readString(Defaults, QStringLiteral("other tool")), QStringLiteral("x=y"));
    QVERIFY(!ini.valueExists(Defaults, QStringLiteral("Cassa")));

    ini.writeInt(Defaults, QStringLiteral("FontSize"), 9);
    ini.writeInt(Defaults, QStringLiteral("Cassa"), 2);
    ini.writeInt(QStringLiteral("screen"), QStringLiteral("left"), 5); // same value: line untouched
    ini.writeString(QStringLiteral("Export"), QStringLiteral("Html"), QStringLiteral("/tmp/h"));
    QCOMPARE(IniBytes(ini),
             QByteArray("; kept comment\r\n[DEFAULTS]\r\nFONTSIZE=9\r\nOther Tool=x=y\r\n# comment\r\n"
                        "no equals sign here\r\nCassa=2\r\n\r\n[Foreign]\r\na=1\r\n[Screen]\r\nLeft=5\r\n"
                        "\r\n[Export]\r\nHtml=/tmp/h\r\n"));
    QCOMPARE(ini.sectionKeys(QStringLiteral("defaults")),
             QStringList({QStringLiteral("FONTSIZE"), QStringLiteral("Other Tool"), QStringLiteral("Cassa")}));
}

void TestIni::reads_data()
{
    // expected: an invalid QVariant means "the default"; bools are read with either default.
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("expected");
    const QVariant byDefault;
    QTest::newRow("int") << QByteArray("Value = -40 ") << "int" << QVariant(-40);
    QTest::newRow("int: letters") << QByteArray("Value=abc") << "int" << byDefault;
    QTest::newRow("int: trailing letters") << QByteArray("Value=12pt") << "int" << byDefault;
    QTest::newRow("int: fraction") << QByteArray("Value=9.5") << "int" << byDefault;
    QTest::newRow("int: too large") << QByteArray("Value=99999999999") << "int" << byDefault;
    QTest::newRow("int: missing") << QByteArray("Other=3") << "int" << byDefault;
    QTest::newRow("bool: 0") << QByteArray("Value=0") << "bool" << QVariant(false);
    QTest::newRow("bool: 2") << QByteArray("Value=2") << "bool" << QVariant(true);
    QTest::newRow("bool: -1") << QByteArray("Value=-1") << "bool" << QVariant(true);
    QTest::newRow("bool: word") << QByteArray("Value=true") << "bool" << byDefault;
    QTest::newRow("bool: empty") << QByteArray("Value=") << "bool" << byDefault;
    QTest::newRow("date: iso") << QByteArray("Value=2026-12-08") << "date" << QVariant(QDate(2026, 12, 8));
    QTest::newRow("date: hungarian") << QByteArray("Value=2026.12.08.") << "date" << QVariant(QDate(2026, 12, 8));
    QTest::newRow("date: with blanks") << QByteArray("Value=2026. 3. 1.") << "date" << QVariant(QDate(2026, 3, 1));
    QTest::newRow("date: no such day") << QByteArray("Value=2026-02-30") << "date" << byDefault;
    QTest::newRow("date: day first") << QByteArray("Value=08.12.2026") << "date" << byDefault;
    QTest::newRow("string: empty value is no default") << QByteArray("Value=") << "string" << QVariant(QString());
    QTest::newRow("string: missing") << QByteArray() << "string" << byDefault;
}

void TestIni::reads()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, type);
    QFETCH(QVariant, expected);
    const IniFile ini = IniFromBytes("[Sect]\r\n" + stored + "\r\n");
    const QString s = QStringLiteral("SECT"), k = QStringLiteral("value");
    if (type == QLatin1String("int")) {
        QCOMPARE(ini.readInt(s, k, 7), expected.isValid() ? expected.toInt() : 7);
    } else if (type == QLatin1String("bool")) {
        QCOMPARE(ini.readBool(s, k, false), expected.isValid() ? expected.toBool() : false);
        QCOMPARE(ini.readBool(s, k, true), expected.isValid() ? expected.toBool() : true);
    } else if (type == QLatin1String("date")) {
        const QDate fallback(2000, 1, 1);
        QCOMPARE(ini.readDate(s, k, fallback), expected.isValid() ? expected.toDate() : fallback);
    } else {
        QCOMPARE(ini.readString(s, k, QStringLiteral("Dromvel")),
                 expected.isValid() ? expected.toString() : QStringLiteral("Dromvel"));
    }
}

void TestIni::readsLf()
{
    const IniFile lf = IniFromBytes("[Defaults]\nCassaName=Kassza \xF5\nCassa=4");
    QCOMPARE(lf.readString(Defaults, QStringLiteral("CassaName")), QStringLiteral("Kassza ő"));
    QCOMPARE(IniBytes(lf), QByteArray("[Defaults]\r\nCassaName=Kassza \xF5\r\nCassa=4\r\n"));
}

void TestIni::encodings_data()
{
    // stored: the file as found; read: CassaName as read; written: the file after writing Cassa=2.
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QByteArray>("written");
    const QString none;
    QTest::newRow("windows-1250") << QByteArray("[Defaults]\r\nCassaName=\xE1rv\xEDzt\xFBr\xF5\r\n")
                                  << QStringLiteral("árvíztűrő") << none
                                  << QByteArray("[Defaults]\r\nCassaName=\xE1rv\xEDzt\xFBr\xF5\r\nCassa=2\r\n");
    // A text editor on Linux saves UTF-8 without a mark; each quit used to turn its letters into "?".
    QTest::newRow("utf-8") << QByteArray("[Defaults]\r\nCassaName=F\xC5\x91 kassza\r\n") << QStringLiteral("Fő kassza")
                           << none << QByteArray("[Defaults]\r\nCassaName=F\xC5\x91 kassza\r\nCassa=2\r\n");
    // With a mark: the first section's name must not be garbled and lost.
    QTest::newRow("utf-8 with a mark") << QByteArray("\xEF\xBB\xBF[Defaults]\r\nCassaName=F\xC5\x91\r\n")
                                       << QStringLiteral("Fő") << none
                                       << QByteArray("\xEF\xBB\xBF[Defaults]\r\nCassaName=F\xC5\x91\r\nCassa=2\r\n");
    QTest::newRow("plain ascii gets windows-1250")
        << QByteArray("[Defaults]\r\nCassaName=Dromvel\r\n") << QStringLiteral("Dromvel") << QStringLiteral("Fő")
        << QByteArray("[Defaults]\r\nCassaName=Dromvel\r\nCassa=2\r\nPath=F\xF5\r\n");
    // A folder name in Cyrillic has no place in the code page; "?" would lose it.
    QTest::newRow("a character windows-1250 lacks")
        << QByteArray("[Defaults]\r\nCassaName=F\xF5\r\n") << QStringLiteral("Fő") << QStringLiteral("Д")
        << QByteArray("[Defaults]\r\nCassaName=F\xC5\x91\r\nCassa=2\r\nPath=\xD0\x94\r\n");
}

void TestIni::encodings()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, read);
    QFETCH(QString, added);
    QFETCH(QByteArray, written);
    IniFile ini = IniFromBytes(stored);
    QCOMPARE(ini.readString(Defaults, QStringLiteral("CassaName")), read);
    QCOMPARE(IniBytes(ini), stored);
    ini.writeInt(Defaults, QStringLiteral("Cassa"), 2);
    if (!added.isEmpty())
        ini.writeString(Defaults, QStringLiteral("Path"), added);
    QCOMPARE(IniBytes(ini), written);
    QCOMPARE(IniFromBytes(written).readString(Defaults, QStringLiteral("CassaName")), read);
}

void TestIni::deleteAndErase()
{
    IniFile ini = IniFromBytes("[database]\r\npath=C:\\x\r\nPATH=dup\r\nother=1\r\n[Adatbazis]\r\nConStr1=a;b;\r\n"
                               "[DATABASE]\r\nlate=1\r\n");
    ini.deleteKey(QStringLiteral("Database"), QStringLiteral("Path"));
    // The duplicate goes too, so no older value comes to light.
    QVERIFY(!ini.valueExists(QStringLiteral("database"), QStringLiteral("path")));
    QVERIFY(ini.valueExists(QStringLiteral("database"), QStringLiteral("other")));
    ini.eraseSection(QStringLiteral("Database"));
    QVERIFY(!ini.sectionExists(QStringLiteral("database")));
    QCOMPARE(IniBytes(ini), QByteArray("[Adatbazis]\r\nConStr1=a;b;\r\n"));
}

void TestIni::files()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    IniFile ini;
    ini.writeString(Defaults, QStringLiteral("CassaName"), QStringLiteral("Főpénztár"));
    // The data folder of a fresh workstation does not exist yet.
    const QString path = dir.filePath(QStringLiteral("sub/DromvelPro/DromvelPro.ini"));
    QVERIFY(ini.save(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Defaults]\r\nCassaName=F\xF5p\xE9nzt\xE1r\r\n"));

    IniFile loaded;
    QVERIFY(loaded.load(path));
    QCOMPARE(loaded.readString(Defaults, QStringLiteral("CassaName")), QStringLiteral("Főpénztár"));
    QVERIFY(loaded.load(dir.filePath(QStringLiteral("missing.ini"))));
    QVERIFY(loaded.isEmpty());

    // A folder in the file's place can be neither read nor replaced.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.ini")));
    QVERIFY(!loaded.load(dir.filePath(QStringLiteral("taken.ini"))));
    QCOMPARE(loaded.readInt(Defaults, QStringLiteral("Cassa"), 1), 1);
    QVERIFY(!ini.save(dir.filePath(QStringLiteral("taken.ini"))));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("taken.ini"))).isDir());
    // A plain file where the folder should be.
    QVERIFY(!ini.save(path + QStringLiteral("/DromvelPro.ini")));
}

void TestIni::fullDiskKeepsTheOldFile_data()
{
    // The file buffers writes: a short ini fails only when the buffer is flushed, a long one in a write.
    QTest::addColumn<int>("keys");
    QTest::newRow("fails in the flush") << 40;
    QTest::newRow("fails in a write") << 4000;
}

void TestIni::fullDiskKeepsTheOldFile()
{
    QFETCH(int, keys);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("DromvelPro.ini"));
    const QByteArray old = "[Adatbazis]\r\nConStr1=1. Teszt adatb\xE1zis;/data/Data;\r\n";
    QVERIFY(WriteBytes(path, old));
    IniFile ini;
    QVERIFY(ini.load(path));
    for (int i = 0; i < keys; ++i)
        ini.writeString(QStringLiteral("Frm%1").arg(i), QStringLiteral("Left"), QStringLiteral("10"));

    bool saved = true;
    {
        const FileSizeLimit disk(100);
        if (!disk.active())
            QSKIP("the file size limit cannot be set");
        saved = ini.save(path);
    }
    QVERIFY(!saved);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("DromvelPro.ini")});
}

void TestIni::unreadableFileIsKept()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("DromvelPro.ini"));
    const QByteArray stored = "[Adatbazis]\r\nConStr1=1. \xC9les;/data/Data_eles;\r\n";
    QVERIFY(WriteBytes(path, stored));
    QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));

    IniFile ini;
    {
        const FileModesBind modes;
        if (!modes.active())
            QSKIP("file modes cannot be made to bind this process");
        QVERIFY(!ini.load(path));
        QVERIFY(ini.isEmpty());
        // The program goes on with its defaults in memory; the user's file stays as it is.
        ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"), QStringLiteral("1. Teszt;/x;"));
        QVERIFY(ini.save(path));
    }
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), stored);

    // Another file is written as usual, and a later successful load lifts the guard.
    const QString other = dir.filePath(QStringLiteral("other.ini"));
    QVERIFY(ini.save(other));
    QVERIFY(QFileInfo(other).size() > 0);
    QVERIFY(ini.load(path));
    ini.writeInt(QStringLiteral("Defaults"), QStringLiteral("Cassa"), 2);
    QVERIFY(ini.save(path));
    QVERIFY(IniFile().load(path));
}

void TestIni::fileThatIsNotTextIsKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("DromvelPro.ini"));
    // Something else took the ini's name, or the disk damaged it: a NUL byte never stands in a text file.
    const char raw[] = "[Adatbazis]\r\nConStr1=1. Teszt;/data;\r\n\0\x01\xFF\xFE\r\n";
    const QByteArray stored(raw, sizeof raw - 1);
    QVERIFY(WriteBytes(path, stored));
    QVERIFY(SaveKeepsUnreadFile(path, stored));
    // A NUL the program is handed never makes its own file one it cannot read back.
    IniFile written;
    written.writeString(Defaults, QStringLiteral("Path"), QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
    QCOMPARE(IniFromBytes(IniBytes(written)).readString(Defaults, QStringLiteral("Path")), QStringLiteral("a b"));
}

void TestIni::rewriteReadsBackAsTheSameText()
{
    // Windows-1250 with a byte the code page leaves undefined (0x90, read as "?"), whose other letters happen to
    // be bytes that form UTF-8: written back as code page bytes, the file would read as other letters next time.
    const QByteArray stored("[Be\xC3\xA1llit]\r\nNev=\x90\r\n");
    const IniFile ini = IniFromBytes(stored);
    QCOMPARE(ini.sections(), QStringList{QStringLiteral("BeĂˇllit")});
    const IniFile again = IniFromBytes(IniBytes(ini));
    QCOMPARE(again.sections(), ini.sections());
    QCOMPARE(again.readString(QStringLiteral("BeĂˇllit"), QStringLiteral("Nev")), QStringLiteral("?"));
}

QTEST_GUILESS_MAIN(TestIni)
#include "test_ini.moc"

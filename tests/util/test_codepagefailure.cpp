#include "codepage.h"
#include "ini.h"
#include "inibytes.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <iconv.h>

// This program runs without a code page converter: the C library's is replaced by one that cannot be opened,
// as on a system whose conversion modules are missing.
extern "C" iconv_t iconv_open(const char *, const char *)
{
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
}

namespace {

const QByteArray Stored = "[Adatbazis]\r\nConStr1=1. \xC9les adatb\xE1zis;/data/Data_eles;\r\n";

} // namespace

class TestCodePageFailure : public QObject
{
    Q_OBJECT
private slots:
    void conversionReportsTheFailure();
    void iniIsNeitherReadNorWritten();
    void utf8IniNeedsNoConverter();
};

void TestCodePageFailure::conversionReportsTheFailure()
{
    bool ok = true;
    QVERIFY(ToWindows1250(QStringLiteral("Fő"), &ok).isEmpty());
    QVERIFY(!ok);
    ok = true;
    FromWindows1250("F\xF5", &ok);
    QVERIFY(!ok);
}

void TestCodePageFailure::iniIsNeitherReadNorWritten()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("DromvelPro.ini"));
    QVERIFY(WriteBytes(path, Stored));

    // Reading would give an empty ini, and the next save would write the defaults over the list.
    QVERIFY(SaveKeepsUnreadFile(path, Stored));

    // Writing is an error, never an empty file.
    IniFile ini;
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"), QStringLiteral("1. Teszt;/x;"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QVERIFY(!ini.write(buffer));
    QVERIFY(bytes.isEmpty());
    const QString other = dir.filePath(QStringLiteral("other.ini"));
    QVERIFY(!ini.save(other));
    QVERIFY(!QFile::exists(other));
}

void TestCodePageFailure::utf8IniNeedsNoConverter()
{
    const QByteArray stored = "[Defaults]\r\nCassaName=F\xC5\x91 kassza\r\n";
    const IniFile ini = IniFromBytes(stored);
    QCOMPARE(ini.readString(QStringLiteral("Defaults"), QStringLiteral("CassaName")), QStringLiteral("Fő kassza"));
    QCOMPARE(IniBytes(ini), stored);
}

QTEST_GUILESS_MAIN(TestCodePageFailure)
#include "test_codepagefailure.moc"

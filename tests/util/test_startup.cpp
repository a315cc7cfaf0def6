#include "util.h"

#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void dataFolder_data();
    void dataFolder();
    void accessors();

private:
    QTemporaryDir m_dir;
};

void TestStartup::dataFolder_data()
{
    QTest::addColumn<bool>("iniBesideProgram");
    QTest::addColumn<QString>("common");
    QTest::addColumn<QString>("expectedData"); // relative to the temp dir

    QTest::newRow("ini beside program") << true << "Common"
                                        << "Prog Dir";
    QTest::newRow("ini in common folder") << false << "Common"
                                          << "Common/DromvelPro";
    QTest::newRow("common folder with slash") << false << "Common/"
                                              << "Common/DromvelPro";
    QTest::newRow("no common folder") << false << ""
                                      << "Prog Dir";
}

void TestStartup::dataFolder()
{
    QFETCH(bool, iniBesideProgram);
    QFETCH(QString, common);
    QFETCH(QString, expectedData);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.path() + QLatin1Char('/');
    const QString program = root + QStringLiteral("Prog Dir");
    QVERIFY(QDir().mkpath(program));
    if (iniBesideProgram) {
        QFile ini(program + QStringLiteral("/DromvelPro.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
    }

    // The trailing slash goes, the letter case stays.
    const StartupValues v = ComputeStartupValues(program + QLatin1Char('/'), common.isEmpty() ? common : root + common);
    QCOMPARE(v.programFolder, program);
    QCOMPARE(v.dataFolder, root + expectedData);
    QCOMPARE(v.iniPath, root + expectedData + QStringLiteral("/DromvelPro.ini"));
}

void TestStartup::accessors()
{
    QVERIFY(m_dir.isValid());
    InitStartupValues(m_dir.path(), m_dir.path() + QStringLiteral("/common"));
    QCOMPARE(ProgramFolder(), m_dir.path());
    QCOMPARE(IniPath(), m_dir.path() + QStringLiteral("/common/DromvelPro/DromvelPro.ini"));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"

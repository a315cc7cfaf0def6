#include "dblist.h"
#include "ini.h"

#include <QtTest>

class TestDbList : public QObject
{
    Q_OBJECT

private slots:
    void readSkipsGapsAndStopsAt25();
};

void TestDbList::readSkipsGapsAndStopsAt25()
{
    IniFile ini;
    ini.writeString("adatbazis", "ConStr3", "Három;/c;");
    ini.writeString("adatbazis", "ConStr1", "Egy;/a;valami");
    ini.writeString("adatbazis", "ConStr2", "");
    ini.writeString("adatbazis", "ConStr26", "Túl;/z;");
    const QStringList entries = DatabaseList::Read(ini);
    QCOMPARE(entries, (QStringList{"Egy;/a;valami", "Három;/c;"}));
    QCOMPARE(DatabaseList::Names(entries), (QStringList{"Egy", "Három"}));
    QCOMPARE(DatabaseList::EntryFolder(entries.first()), QStringLiteral("/a"));
}

QTEST_GUILESS_MAIN(TestDbList)
#include "test_dblist.moc"

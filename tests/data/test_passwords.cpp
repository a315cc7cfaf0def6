#include "engine.h"
#include "passwordhash.h"
#include "query.h"
#include "testserver.h"
#include "users.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestPasswords : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void eachHashHasItsOwnSalt();
    void copiedDatabaseShowsNoPassword();

private:
    QTemporaryDir m_dir;
    QString m_hash = HashPassword(QStringLiteral("Titok 1ő"));
};

void TestPasswords::matches_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");
    QTest::addColumn<bool>("hash");
    const QString hash = m_hash;
    QTest::newRow("hash, same password") << hash << "Titok 1ő" << true << true;
    QTest::newRow("hash, other letter case") << hash << "titok 1ő" << false << true;
    QTest::newRow("hash, trailing blank") << hash << "Titok 1ő " << false << true;
    QTest::newRow("hash, accent left off") << hash << "Titok 1o" << false << true;
    QTest::newRow("hash, nothing typed") << hash << "" << false << true;
    QTest::newRow("hash typed as the password") << hash << hash << false << true;
    QTest::newRow("plain, same") << "titok"
                                 << "titok" << true << false;
    QTest::newRow("plain, trailing blanks count") << "ab  "
                                                  << "ab" << false << false;
    QTest::newRow("plain, nothing stored") << ""
                                           << "" << false << false;
    // Ten characters were the most a plain password held, so one that looks like the start of a hash is one.
    QTest::newRow("plain password that looks like a hash") << "$argon2id$"
                                                           << "$argon2id$" << true << false;
    QTest::newRow("damaged hash") << "$argon2id$v=19$m=65536,t=2,p=1$semmi"
                                  << "semmi" << false << true;
    QTest::newRow("overlong hash") << "$argon2id$" + QString(200, QLatin1Char('a')) << "a" << false << true;
}

void TestPasswords::matches()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QTEST(PasswordMatches(stored, typed), "matches");
    QTEST(IsPasswordHash(stored), "hash");
    // Only a sound hash at today's cost is left alone.
    QCOMPARE(NeedsNewHash(stored), stored != m_hash);
}

void TestPasswords::eachHashHasItsOwnSalt()
{
    const QString first = HashPassword(QStringLiteral("titok"));
    const QString second = HashPassword(QStringLiteral("titok"));
    QVERIFY(first != second);
    QVERIFY(PasswordMatches(first, QStringLiteral("titok")) && PasswordMatches(second, QStringLiteral("titok")));
    QVERIFY(first.startsWith(QLatin1String("$argon2id$")) && first.size() <= 128);
}

// Plain passwords of an older database: the one who logs in and the one who never does are both hashed (the
// second by the upgrade of the maintenance program), and the file holds neither password afterwards.
void TestPasswords::copiedDatabaseShowsNoPassword()
{
    const QString folder = m_dir.filePath(QStringLiteral("regi"));
    QDir().mkpath(folder);
    const TestPlace place(folder);
    {
        Engine engine(QStringLiteral("passwords"));
        engine.open(place.path());
        for (const auto &[code, password] : {std::pair{"anna", "Belepo1234"}, std::pair{"bela", "Soha5678xy"}})
            engine.insert(QStringLiteral("felhasznalo"), {{QStringLiteral("felhasznalo"), QString::fromLatin1(code)},
                                                          {QStringLiteral("jelszo"), QString::fromLatin1(password)},
                                                          {QStringLiteral("rendszergazda"), QStringLiteral("I")}});
        engine.insert(QStringLiteral("felhasznalo"), {{QStringLiteral("felhasznalo"), QStringLiteral("cecil")}});

        QVERIFY(FindUser(engine, QStringLiteral("anna"), QStringLiteral("Belepo1234")));
        QCOMPARE(HashPlainPasswords(engine), 1);
        QCOMPARE(HashPlainPasswords(engine), 0);
        QVERIFY(FindUser(engine, QStringLiteral("anna"), QStringLiteral("Belepo1234")));
        QVERIFY(FindUser(engine, QStringLiteral("bela"), QStringLiteral("Soha5678xy")));
        QVERIFY(!FindUser(engine, QStringLiteral("cecil"), QString()));
        Query q(engine, QStringLiteral("SELECT COUNT(*) FROM felhasznalo WHERE jelszo IS NULL;"));
        q.open();
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        Query stored(engine, QStringLiteral("SELECT jelszo FROM felhasznalo WHERE jelszo IS NOT NULL;"));
        stored.open();
        while (stored.next())
            QVERIFY(IsPasswordHash(stored.value(0).toString()));
    }
    if (TestServer::inUse())
        return;
    QStringList files = QDir(folder).entryList(QDir::Files);
    QVERIFY(files.contains(QLatin1String(Engine::FileName)));
    for (const QString &name : files) {
        QFile file(QDir(folder).filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY2(!bytes.contains("Belepo1234") && !bytes.contains("Soha5678xy"), qPrintable(name));
    }
}

QTEST_GUILESS_MAIN(TestPasswords)
#include "test_passwords.moc"

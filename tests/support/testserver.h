#pragma once

#include <QString>

// The PostgreSQL server the tests' second run uses. A test executable runs against it when ctest starts it with
// DROMVEL_TEST_ENGINE=server (the _pg tests); DROMVEL_TEST_SERVER names the server's maintenance database
// (default postgresql:///postgres: this computer's server through its socket, as the user running the tests).
// Each database made here is new and uniquely named, and dropped again by dropDatabase(), at the end of the
// process (dropAtExit()) or, when a test process died before, by the next test that reaches the server.
namespace TestServer {

bool inUse();
// A new empty database on the server (of the locale given); its address. When no server can be reached the
// process ends here: skipped (exit code 77) outside CI, failed under CI.
QString newDatabase(const QString &locale = QStringLiteral("C.UTF-8"));
// A new database on the server with the program's tables and starting rows, as opening an empty one makes them.
QString newLedger();
// A new database on the server holding what the database at that address holds; nobody may be connected to it.
QString copyOf(const QString &address);
void dropDatabase(const QString &address);
// Drops the database when the test process ends. Drops one after another are quick; a drop between two tests
// waits for the server to write out everything the test wrote.
void dropAtExit(const QString &address);
// Runs a statement on the server's maintenance database as the tests' own role (making roles, for example).
void exec(const QString &sql);
// Puts the role into the group whose every connection the server's pg_hba.conf turns away (tools/test-server.sh
// makes the group and its line).
void turnAway(const QString &role);

} // namespace TestServer

// Where one test database lives: the folder given, or in the server run a new database on the test server,
// dropped when the test process ends.
class TestPlace
{
public:
    explicit TestPlace(const QString &folder);
    ~TestPlace();
    TestPlace(const TestPlace &) = delete;
    TestPlace &operator=(const TestPlace &) = delete;

    QString path() const { return m_path; }

private:
    QString m_path;
};

// Skips the running test in the server run: what it looks at (a query plan, the write-ahead log) is SQLite's own.
#define SKIP_ON_SERVER(why)                                                                                            \
    do {                                                                                                               \
        if (TestServer::inUse())                                                                                       \
            QSKIP(why);                                                                                                \
    } while (false)

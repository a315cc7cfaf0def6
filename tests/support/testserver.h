#pragma once

#include <QString>

// The PostgreSQL server the tests' second run uses. A test executable runs against it when ctest starts it with
// DROMVEL_TEST_ENGINE=server (the _pg tests); DROMVEL_TEST_SERVER names the server's maintenance database
// (default postgresql:///postgres: this computer's server through its socket, as the user running the tests).
// Each database made here is new and uniquely named, and dropped again by dropDatabase() or, when a test
// process died before, by the next test that reaches the server.
namespace TestServer {

bool inUse();
// A new empty database on the server; its address. When no server can be reached the process ends here:
// skipped (exit code 77) outside CI, failed under CI.
QString newDatabase();
void dropDatabase(const QString &address);

} // namespace TestServer

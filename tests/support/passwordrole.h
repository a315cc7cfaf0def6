#pragma once

#include <QString>

// What a workstation has on the test server: a role that logs in with a password over TCP (127.0.0.1 unless the
// test server names a host; the server's host lines ask for a password), owning a new empty database of its
// own. Role and database go with the object. Without a server the process ends as TestServer::newDatabase() says.
class PasswordRole
{
public:
    PasswordRole();
    ~PasswordRole();
    PasswordRole(const PasswordRole &) = delete;
    PasswordRole &operator=(const PasswordRole &) = delete;

    QString user;
    QString password;
    QString host;
    int port = 5432;
    QString database;
    // postgresql://user@host:port/database
    QString address() const;

private:
    QString m_socketAddress;
};

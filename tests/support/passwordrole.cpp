#include "passwordrole.h"

#include "serveraddress.h"
#include "testserver.h"

#include <QCoreApplication>
#include <QRandomGenerator>

PasswordRole::PasswordRole()
{
    static int count = 0;
    const quint32 random = QRandomGenerator::global()->bounded(1000000);
    user = QStringLiteral("dromvel_test_%1_role%2_%3").arg(QCoreApplication::applicationPid()).arg(++count).arg(random);
    password = QStringLiteral("Jó-jelszó-%1").arg(random);
    m_socketAddress = TestServer::newDatabase();
    const ServerAddress made = *ServerAddress::parse(m_socketAddress);
    database = made.database;
    host = made.host.isEmpty() ? QStringLiteral("127.0.0.1") : made.host;
    if (made.port > 0)
        port = made.port;
    QString quoted = password;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    TestServer::exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2';").arg(user, quoted));
    // A role that may make roles may take their rights, and so hand them a database.
    TestServer::exec(QStringLiteral("GRANT %1 TO CURRENT_USER;").arg(user));
    TestServer::exec(QStringLiteral("ALTER DATABASE %1 OWNER TO %2;").arg(database, user));
}

PasswordRole::~PasswordRole()
{
    TestServer::dropDatabase(m_socketAddress);
    TestServer::exec(QStringLiteral("DROP ROLE IF EXISTS %1;").arg(user));
}

QString PasswordRole::address() const
{
    ServerAddress result;
    result.user = user;
    result.host = host;
    result.port = port;
    result.database = database;
    return result.toString();
}

#include "testserver.h"

#include "engine.h"
#include "serveraddress.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <signal.h>

namespace {

const QString Connection = QStringLiteral("dromvel_test_server");
const QString Prefix = QStringLiteral("dromvel_test_");

ServerAddress Maintenance()
{
    const QString text = qEnvironmentVariable("DROMVEL_TEST_SERVER", QStringLiteral("postgresql:///postgres"));
    const std::optional<ServerAddress> address = ServerAddress::parse(text);
    if (!address) {
        std::fprintf(stderr, "DROMVEL_TEST_SERVER is no server address: %s\n", qPrintable(text));
        std::exit(1);
    }
    return *address;
}

[[noreturn]] void Unreachable(const QString &reason)
{
    if (qEnvironmentVariableIsSet("CI")) {
        std::fprintf(stderr, "FAIL: the PostgreSQL test server cannot be reached (CI needs it): %s\n",
                     qPrintable(reason));
        std::exit(1);
    }
    std::printf("SKIP: the PostgreSQL test server cannot be reached, the server run of this test is skipped: %s\n",
                qPrintable(reason));
    std::fflush(stdout);
    std::exit(77);
}

void Exec(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

// Databases of test processes that ended without dropping them.
void DropLeftovers(QSqlDatabase db)
{
    QSqlQuery q(db);
    q.exec(QStringLiteral("SELECT datname FROM pg_database WHERE datname LIKE 'dromvel\\_test\\_%';"));
    QStringList names;
    while (q.next())
        names.append(q.value(0).toString());
    for (const QString &name : names) {
        const qint64 pid = name.section(QLatin1Char('_'), 2, 2).toLongLong();
        if (pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            Exec(db, QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(name));
    }
}

QSqlDatabase Admin()
{
    if (QSqlDatabase::contains(Connection))
        return QSqlDatabase::database(Connection);
    const ServerAddress address = Maintenance();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), Connection);
    if (!db.isValid())
        Unreachable(QStringLiteral("no QPSQL driver (libqt6sql6-psql)"));
    db.setHostName(address.host);
    if (address.port > 0)
        db.setPort(address.port);
    db.setUserName(address.user);
    db.setDatabaseName(address.database);
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    if (!db.open())
        Unreachable(address.toString() + QStringLiteral(": ") + db.lastError().text());
    DropLeftovers(db);
    return db;
}

} // namespace

namespace TestServer {

bool inUse()
{
    return qEnvironmentVariable("DROMVEL_TEST_ENGINE") == QLatin1String("server");
}

QString newDatabase(const QString &locale)
{
    static int count = 0;
    ServerAddress address = Maintenance();
    address.database = Prefix + QStringLiteral("%1_%2_%3")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(++count)
                                    .arg(QRandomGenerator::global()->bounded(1000000));
    // UPPER and LOWER know the accented letters, and text sorts by code point as in SQLite.
    Exec(Admin(), QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE '%2';")
                      .arg(address.database, locale));
    return address.toString();
}

QString newLedger()
{
    // Copying a database the program has made once is quicker than making its tables and indexes again.
    static const QString model = [] {
        const QString address = newDatabase();
        {
            Engine engine(QStringLiteral("dromvel_test_model"));
            engine.open(address);
        }
        dropAtExit(address);
        return address;
    }();
    return copyOf(model);
}

QString copyOf(const QString &original)
{
    ServerAddress address = Maintenance();
    address.database = Prefix + QStringLiteral("%1_copy_%2")
                                    .arg(QCoreApplication::applicationPid())
                                    .arg(QRandomGenerator::global()->bounded(100000000));
    Exec(Admin(), QStringLiteral("CREATE DATABASE %1 TEMPLATE %2;")
                      .arg(address.database, ServerAddress::parse(original)->database));
    return address.toString();
}

void dropDatabase(const QString &address)
{
    const std::optional<ServerAddress> parsed = ServerAddress::parse(address);
    if (parsed && parsed->database.startsWith(Prefix))
        Exec(Admin(), QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(parsed->database));
}

void dropAtExit(const QString &address)
{
    static QStringList pending;
    if (pending.isEmpty())
        qAddPostRoutine([] {
            for (const QString &each : std::as_const(pending))
                dropDatabase(each);
            pending.clear();
        });
    pending.append(address);
}

void exec(const QString &sql)
{
    Exec(Admin(), sql);
}

void turnAway(const QString &role)
{
    Exec(Admin(), QStringLiteral("GRANT dromvel_test_kizartak TO %1;").arg(role));
}

} // namespace TestServer

TestPlace::TestPlace(const QString &folder) : m_path(TestServer::inUse() ? TestServer::newLedger() : folder) {}

TestPlace::~TestPlace()
{
    if (TestServer::inUse())
        TestServer::dropAtExit(m_path);
}

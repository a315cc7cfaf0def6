#pragma once

#include "engineerror.h"
#include "serveraddress.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <signal.h>

// Where a benchmark builds its ledger, named by its command line: nothing, a temporary folder; a folder or a server
// address (postgresql://[user@]host[:port]/dbname), that one, kept for the next run; "server", a new database on
// this computer's PostgreSQL server (through its socket, as the user running the bench), dropped at the end.
class BenchDatabase
{
public:
    explicit BenchDatabase(const QString &place)
    {
        if (place.isEmpty())
            m_path = m_temporary.path();
        else if (place == QLatin1String("server"))
            createOnServer();
        else
            m_path = place;
    }

    ~BenchDatabase()
    {
        if (m_made.isEmpty())
            return;
        {
            QSqlQuery drop(QSqlDatabase::database(AdminConnection));
            drop.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(m_made));
        }
        QSqlDatabase::removeDatabase(AdminConnection);
    }

    BenchDatabase(const BenchDatabase &) = delete;
    BenchDatabase &operator=(const BenchDatabase &) = delete;

    // The folder or the server address for Engine::open().
    QString path() const { return m_path; }

private:
    static constexpr const char *Prefix = "dromvel_bench_";
    static inline const QString AdminConnection = QStringLiteral("dromvel_bench_admin");

    void createOnServer()
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), AdminConnection);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open())
            throw EngineError(QStringLiteral("The server cannot be reached: ") + admin.lastError().text());
        // Databases of bench runs that ended before dropping theirs.
        QSqlQuery left(admin);
        left.exec(QStringLiteral("SELECT datname FROM pg_database WHERE datname LIKE 'dromvel\\_bench\\_%';"));
        QStringList names;
        while (left.next())
            names.append(left.value(0).toString());
        for (const QString &name : names) {
            const qint64 pid = name.mid(int(qstrlen(Prefix))).toLongLong();
            if (pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH)
                adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE);").arg(name));
        }
        m_made = QString::fromLatin1(Prefix) + QString::number(QCoreApplication::applicationPid());
        adminExec(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LOCALE 'C.UTF-8';").arg(m_made));
        ServerAddress address;
        address.database = m_made;
        m_path = address.toString();
    }

    static void adminExec(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(AdminConnection));
        if (!q.exec(sql))
            throw EngineError(sql + QStringLiteral(": ") + q.lastError().text());
    }

    QTemporaryDir m_temporary;
    QString m_path;
    QString m_made;
};

#include "maintenancedatabase.h"

#include "passwordrefusal.h"
#include "query.h"
#include "serveraddress.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace {

// The other programs' connections are seen at once; a short wait covers one that is just finishing a write.
constexpr int BusyTimeoutMs = 500;
constexpr int WaitStepMs = 50;

const QString InUseMessage =
    QStringLiteral("Az adatbázist egy másik program használja: valamelyik számítógépen még fut a Dromvel program. "
                   "Zárja be mindenhol, majd próbálja újra.\nAz adatbázis nem változott.");

bool HasOldTables(const QString &folder)
{
    return !QDir(folder).entryList({QStringLiteral("dromvel.db")}, QDir::Files).isEmpty();
}

} // namespace

const QString MaintenanceDatabase::MissingFolderMessage = QStringLiteral("Nem létező adatbázis mappa.");

MaintenanceDatabase::MaintenanceDatabase(const QString &connectionName) : m_engine(connectionName) {}

QString MaintenanceDatabase::FolderOf(const QString &typed)
{
    if (ServerAddress::isServerPath(typed))
        return typed.trimmed();
    if (typed.size() > 1 && (typed.endsWith(QLatin1Char('/')) || typed.endsWith(QLatin1Char('\\'))))
        return typed.chopped(1);
    return typed;
}

QString MaintenanceDatabase::open(const QString &typedFolder, Access access, const QString &password)
{
    close();
    m_passwordRefused = false;
    if (ServerAddress::isServerPath(typedFolder))
        return openServer(typedFolder.trimmed(), access, password);
    const QString folder = FolderOf(typedFolder);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return MissingFolderMessage;
    const QFileInfo file(QDir(folder).filePath(QString::fromLatin1(Engine::FileName)));
    if (!file.isFile() || file.size() == 0) {
        QString text = QStringLiteral("A mappában nincs Dromvel adatbázis: %1").arg(QDir::toNativeSeparators(folder));
        if (HasOldTables(folder))
            text += QStringLiteral("\nA mappában régi (Paradox) táblák vannak: ezeket a „Régi adatbázis átvétele” "
                                   "gombbal lehet új adatbázisba átvenni.");
        return text;
    }
    try {
        m_engine.open(folder);
        if (access == Access::Shared)
            return {};
        m_engine.exec(QStringLiteral("PRAGMA busy_timeout=%1;").arg(BusyTimeoutMs));
        m_engine.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE;"));
    } catch (const EngineError &e) {
        close();
        return e.message();
    }
    // In exclusive locking mode the first write transaction takes the file for this connection until it closes;
    // it cannot start while any other connection has the database open.
    QSqlQuery take(m_engine.database());
    if (!take.exec(QStringLiteral("BEGIN IMMEDIATE;"))) {
        const QSqlError error = take.lastError();
        take.finish();
        close();
        const int code = error.nativeErrorCode().toInt() & 0xff;
        if (code == 5 || code == 6) // SQLITE_BUSY, SQLITE_LOCKED
            return InUseMessage;
        return EngineError::from(error).message();
    }
    if (!take.exec(QStringLiteral("COMMIT;"))) {
        const QString message = EngineError::from(take.lastError()).message();
        take.finish();
        close();
        return message;
    }
    return {};
}

QString MaintenanceDatabase::openServer(const QString &address, Access access, const QString &password)
{
    try {
        m_engine.setPassword(password);
        m_engine.open(address);
        if (access == Access::Shared)
            return {};
        // The server cannot refuse later connections; the maintenance program starts only when there are none. A
        // connection just closed (the maintenance program's own look at the database among them) leaves the list
        // a moment after its program let it go.
        for (int waited = 0;; waited += WaitStepMs) {
            const qint64 others =
                Query(m_engine, QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = "
                                               "current_database() AND pid <> pg_backend_pid();"))
                    .firstValue()
                    .toLongLong();
            if (others == 0)
                return {};
            if (waited >= BusyTimeoutMs)
                break;
            QThread::msleep(WaitStepMs);
        }
    } catch (const EngineError &e) {
        m_passwordRefused = IsPasswordRefusal(e);
        close();
        return e.message();
    }
    close();
    return InUseMessage;
}

#include "databasefaults.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

bool PlantDatabaseFault(DatabaseFault fault, const QString &soundDatabaseFile, const QString &folder)
{
    const QString path = QDir(folder).filePath(QString::fromLatin1(Engine::FileName));
    QFile::remove(path);
    if (fault == DatabaseFault::RandomBytes) {
        QFile file(path);
        const QByteArray bytes = RandomBytes(65536);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    if (!QFile::copy(soundDatabaseFile, path) || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
        return false;
    if (fault == DatabaseFault::Truncated)
        return QFile::resize(path, QFileInfo(path).size() / 2);
    if (fault == DatabaseFault::ReadOnly)
        return QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

DatabaseFaultInForce::DatabaseFaultInForce(DatabaseFault fault, const QString &folder)
{
    switch (fault) {
    case DatabaseFault::Locked:
        // As the maintenance program holds it while it rebuilds: nobody else can even read.
        m_holder.emplace(QStringLiteral("fault_holder"));
        m_holder->open(folder);
        m_holder->exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE;"));
        m_holder->begin();
        m_holder->exec(QStringLiteral("UPDATE beallit SET metodus = metodus;"));
        break;
    case DatabaseFault::ReadOnly:
        m_modes.emplace();
        m_active = m_modes->active();
        break;
    case DatabaseFault::FullDisk:
        // Files can still be read, but no byte can be written anywhere.
        m_disk.emplace(rlim_t(1));
        m_active = m_disk->active();
        break;
    case DatabaseFault::RandomBytes:
    case DatabaseFault::Truncated:
        break;
    }
}

DatabaseFaultInForce::~DatabaseFaultInForce()
{
    m_disk.reset();
    m_modes.reset();
    if (m_holder) {
        m_holder->rollback();
        m_holder->close();
    }
}

void CreateFailingTrigger(Engine &engine, const QString &name, const QString &event, const QString &message,
                          const QString &condition)
{
    if (!engine.isServer()) {
        const QString when = condition.isEmpty() ? QString() : QStringLiteral(" WHEN ") + condition;
        engine.exec(QStringLiteral("CREATE TRIGGER %1 %2%3 BEGIN SELECT RAISE(ABORT, '%4'); END;")
                        .arg(name, event, when, message));
        return;
    }
    const QString when = condition.isEmpty() ? QString() : QStringLiteral(" WHEN (%1)").arg(condition);
    engine.exec(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                               "$$ BEGIN RAISE EXCEPTION '%2'; END $$;")
                    .arg(name, message));
    engine.exec(
        QStringLiteral("CREATE TRIGGER %1 %2 FOR EACH ROW%3 EXECUTE FUNCTION %1();").arg(name, event, when));
}

void DropFailingTrigger(Engine &engine, const QString &name)
{
    if (!engine.isServer()) {
        engine.exec(QStringLiteral("DROP TRIGGER %1;").arg(name));
        return;
    }
    // Dropping the function drops its triggers with it.
    engine.exec(QStringLiteral("DROP FUNCTION %1() CASCADE;").arg(name));
}

QMap<QString, QByteArray> FolderBytes(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        files.insert(QDir(folder).relativeFilePath(file.fileName()),
                     file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("(unreadable)"));
    }
    return files;
}

QByteArray RandomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(16);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

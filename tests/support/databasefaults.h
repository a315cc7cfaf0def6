#pragma once

#include "engine.h"
#include "filefaults.h"

#include <QByteArray>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <optional>

// The ways a database file goes bad in the field, for the tests of what the programs do on starting with one.
enum class DatabaseFault {
    RandomBytes, // something else took the database's name
    Truncated,   // a copy cut short: the header promises pages the file lacks
    ReadOnly,    // the file's mode forbids writing
    Locked,      // another program holds the database for itself
    FullDisk,    // no file can grow
};
Q_DECLARE_METATYPE(DatabaseFault)

// Puts the database file of the fault into the folder: random bytes, or a copy of the sound database file
// (truncated, or made read-only, as the fault asks).
bool PlantDatabaseFault(DatabaseFault fault, const QString &soundDatabaseFile, const QString &folder);

// While it lives, the part of the fault that lies outside the file is in force: another connection holding the
// database exclusively in the middle of a write, file modes that bind even root, or a full disk.
class DatabaseFaultInForce
{
public:
    DatabaseFaultInForce(DatabaseFault fault, const QString &folder);
    ~DatabaseFaultInForce();
    DatabaseFaultInForce(const DatabaseFaultInForce &) = delete;
    DatabaseFaultInForce &operator=(const DatabaseFaultInForce &) = delete;

    // False when this machine cannot bring the fault about (the test then skips).
    bool active() const { return m_active; }

private:
    std::optional<Engine> m_holder;
    std::optional<FileModesBind> m_modes;
    std::optional<FileSizeLimit> m_disk;
    bool m_active = true;
};

// A trigger that makes each write it names ("BEFORE UPDATE OF kiadva ON dromvel") fail with the message, where the
// condition on NEW holds (always when empty), written for the engine of the database.
void CreateFailingTrigger(Engine &engine, const QString &name, const QString &event, const QString &message,
                          const QString &condition = QString());
void DropFailingTrigger(Engine &engine, const QString &name);

// Every file under the folder with its bytes, so that a test can show that none of them changed.
QMap<QString, QByteArray> FolderBytes(const QString &folder);

// Bytes that are no file format, the same in every run.
QByteArray RandomBytes(qsizetype size);

#pragma once

#include "databasefaults.h"
#include "inibytes.h"

#include <QDir>
#include <QFile>
#include <QMetaType>
#include <QtTest>

// The ways the workstation's ini file goes bad, for the tests of what the programs do on starting with one.
enum class IniFault {
    Garbage,    // something else took the ini's name
    Unreadable, // its mode forbids reading (binds only while FileModesBind lives)
    Folder,     // a folder stands where the file should
};
Q_DECLARE_METATYPE(IniFault)

// Puts the fault in the place of the ini file, which must exist.
inline bool PlantIniFault(IniFault fault, const QString &iniPath)
{
    switch (fault) {
    case IniFault::Garbage:
        return WriteBytes(iniPath, RandomBytes(4096));
    case IniFault::Unreadable:
        return QFile::setPermissions(iniPath, QFile::WriteOwner);
    case IniFault::Folder:
        return QFile::remove(iniPath) && QDir().mkpath(iniPath + QStringLiteral("/belul"));
    }
    return false;
}

// Every ini fault, as rows of the test's data table.
inline void AddIniFaultRows()
{
    QTest::addColumn<IniFault>("fault");
    QTest::newRow("garbage") << IniFault::Garbage;
    QTest::newRow("unreadable") << IniFault::Unreadable;
    QTest::newRow("a folder") << IniFault::Folder;
}

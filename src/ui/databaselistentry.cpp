#include "databaselistentry.h"

#include "dblist.h"
#include "ini.h"
#include "messages.h"

#include <QDir>

bool AppendDatabaseEntry(IniFile &ini, const QString &iniPath, const QString &name, const QString &folder,
                         Messages &messages, QWidget *parent)
{
    QStringList entries = DatabaseList::Read(ini);
    if (entries.size() >= DatabaseList::MaxEntries) {
        messages.ShowWarning(QStringLiteral("Az adatbázisok listája megtelt (%1 adatbázis), az új adatbázis nem "
                                            "került fel rá. Vegye fel kézzel: %2")
                                 .arg(DatabaseList::MaxEntries)
                                 .arg(folder),
                             parent);
        return false;
    }
    entries.append(DatabaseList::EntryText(name, folder));
    DatabaseList::Write(ini, entries);
    if (!ini.save(iniPath)) {
        messages.ShowError(QStringLiteral("A beállítófájl nem írható: %1").arg(QDir::toNativeSeparators(iniPath)),
                           parent);
        return false;
    }
    return true;
}

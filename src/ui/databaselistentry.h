#pragma once

#include <QString>

class IniFile;
class Messages;
class QWidget;

// Puts a database the program made (restored, taken over) on the ini's database list and writes the ini file.
// A full list (DatabaseList::MaxEntries) or an ini file that cannot be written is told, and the result is false.
bool AppendDatabaseEntry(IniFile &ini, const QString &iniPath, const QString &name, const QString &folder,
                         Messages &messages, QWidget *parent = nullptr);

#pragma once

#include <QString>

class IniFile;
class Messages;

// Start-up: moves the legacy database/path key into ConStr1, or writes the two default entries (and creates
// their folders with empty databases) when ConStr1 / ConStr2 are missing, then writes the ini file.
// False when the ini file could not be written; every failure has been reported through messages.
bool AdatbazisListaAlap(IniFile &ini, const QString &iniPath, Messages &messages);

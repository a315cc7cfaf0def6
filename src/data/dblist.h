#pragma once

#include <QString>
#include <QStringList>

class IniFile;
class Messages;

// The list of known databases in the ini file: section Adatbazis, keys ConStr1 .. ConStr25, each value
// "name;folder;". Fields split on ";" without escaping.
namespace DatabaseList {

constexpr int MaxEntries = 25;

QString EntryText(const QString &name, const QString &folder);
QString EntryName(const QString &entry);
QString EntryFolder(const QString &entry);

// Entries of ConStr1 .. ConStr25 in key order; missing and empty keys are skipped.
QStringList Read(const IniFile &ini);
// Field 1 of each entry.
QStringList Names(const QStringList &entries);
// Deletes every ConStr key and writes the entries as ConStr1, ConStr2, ... (also beyond 25).
void Write(IniFile &ini, const QStringList &entries);

} // namespace DatabaseList

// Start-up: moves the legacy database/path key into ConStr1, or writes the two default entries (and creates
// their folders with empty databases) when ConStr1 / ConStr2 are missing, then writes the ini file.
// False when the ini file could not be written; every failure has been reported through messages.
bool AdatbazisListaAlap(IniFile &ini, const QString &iniPath, Messages &messages);

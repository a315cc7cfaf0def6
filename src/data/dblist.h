#pragma once

#include <QString>
#include <QStringList>

class IniFile;

// The list of known databases in the ini file: section Adatbazis, keys ConStr1 .. ConStr25, each value
// "name;folder;". Fields split on ";" without escaping.
namespace DatabaseList {

constexpr int MaxEntries = 25;

QString EntryText(const QString &name, const QString &folder);
QString EntryName(const QString &entry);
QString EntryFolder(const QString &entry);
// How the lists show an entry's path: a folder as it is, a server database as "kiszolgáló: host:port/dbname"
// (and its user, when the address names one).
QString PlaceText(const QString &path);

// Entries of ConStr1 .. ConStr25 in key order; missing and empty keys are skipped.
QStringList Read(const IniFile &ini);
// Field 1 of each entry.
QStringList Names(const QStringList &entries);
// Writes the entries as ConStr1, ConStr2, ... (also beyond 25) in place of the keys up to 25. Keys above 25
// that the list does not reach are no business of the list and stay. An unchanged list changes nothing.
void Write(IniFile &ini, const QStringList &entries);

// The list a start-up needs: moves the legacy database/path key into ConStr1, or writes the two default
// entries (dataFolder/Data and, when ConStr2 is missing too, dataFolder/Data_eles) when ConStr1 is missing.
// Returns the folders of the new default entries; changed tells whether the ini needs saving.
QStringList AddDefaults(IniFile &ini, const QString &dataFolder, bool *changed);

} // namespace DatabaseList

#include "dblist.h"

#include "ini.h"
#include "serveraddress.h"
#include "util.h"

#include <QDir>
#include <algorithm>

namespace {

const QString Section = QStringLiteral("Adatbazis");
const QString Semicolon = QStringLiteral(";");

QString Key(int n)
{
    return QStringLiteral("ConStr%1").arg(n);
}

} // namespace

namespace DatabaseList {

QString EntryText(const QString &name, const QString &folder)
{
    return name + Semicolon + folder + Semicolon;
}

QString EntryName(const QString &entry)
{
    return NthField(Semicolon, entry, 1);
}

QString EntryFolder(const QString &entry)
{
    return NthField(Semicolon, entry, 2);
}

QString PlaceText(const QString &path)
{
    if (!ServerAddress::isServerPath(path))
        return path;
    const std::optional<ServerAddress> address = ServerAddress::parse(path);
    if (!address)
        return QStringLiteral("hibás kiszolgáló cím: ") + path.trimmed();
    QString text;
    if (address->host.isEmpty()) {
        text = QStringLiteral("helyi kiszolgáló: ") + address->database;
    } else {
        const bool ipv6 = address->host.contains(QLatin1Char(':'));
        text = QStringLiteral("kiszolgáló: ") +
               (ipv6 ? QLatin1Char('[') + address->host + QLatin1Char(']') : address->host);
        if (address->port > 0)
            text += QLatin1Char(':') + QString::number(address->port);
        text += QLatin1Char('/') + address->database;
    }
    if (!address->user.isEmpty())
        text += QStringLiteral(", felhasználó: ") + address->user;
    return text;
}

QStringList Read(const IniFile &ini)
{
    QStringList entries;
    for (int n = 1; n <= MaxEntries; ++n) {
        const QString value = ini.readString(Section, Key(n));
        if (!value.isEmpty())
            entries.append(value);
    }
    return entries;
}

QStringList Names(const QStringList &entries)
{
    QStringList names;
    for (const QString &entry : entries)
        names.append(EntryName(entry));
    return names;
}

void Write(IniFile &ini, const QStringList &entries)
{
    const int last = std::max<int>(MaxEntries, entries.size());
    bool same = true;
    for (int n = 1; n <= last && same; ++n)
        same = n <= entries.size() ? ini.readString(Section, Key(n)) == entries.at(n - 1)
                                   : !ini.valueExists(Section, Key(n));
    if (same)
        return;
    for (int n = 1; n <= last; ++n)
        ini.deleteKey(Section, Key(n));
    for (int n = 1; n <= entries.size(); ++n)
        ini.writeString(Section, Key(n), entries.at(n - 1));
}

} // namespace DatabaseList

QStringList DatabaseList::AddDefaults(IniFile &ini, const QString &dataFolder, bool *changed)
{
    QStringList newFolders;
    *changed = false;
    const QString legacy = ini.readString(QStringLiteral("database"), QStringLiteral("path"));
    if (!legacy.isEmpty()) {
        ini.writeString(Section, Key(1), EntryText(QStringLiteral("1. Éles adatbázis"), legacy));
        ini.deleteKey(QStringLiteral("database"), QStringLiteral("path"));
        *changed = true;
    } else if (ini.readString(Section, Key(1)).isEmpty()) {
        const QString test = dataFolder + QStringLiteral("/Data");
        ini.writeString(Section, Key(1),
                        EntryText(QStringLiteral("1. Teszt adatbázis"), QDir::toNativeSeparators(test)));
        newFolders.append(test);
        if (ini.readString(Section, Key(2)).isEmpty()) {
            const QString live = dataFolder + QStringLiteral("/Data_eles");
            ini.writeString(Section, Key(2),
                            EntryText(QStringLiteral("2. Éles adatbázis"), QDir::toNativeSeparators(live)));
            newFolders.append(live);
        }
        *changed = true;
    }
    return newFolders;
}

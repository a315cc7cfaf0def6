#pragma once

#include "ini.h"

#include <QBuffer>
#include <QFile>
#include <QString>
#include <QtGlobal>

// Ini files as bytes, for the tests of what is read and written.

inline IniFile IniFromBytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    IniFile ini;
    if (!ini.read(buffer))
        qFatal("reading from a buffer failed");
    return ini;
}

inline QByteArray IniBytes(const IniFile &ini)
{
    QByteArray data;
    QBuffer buffer(&data);
    if (!ini.write(buffer))
        qFatal("writing to a buffer failed");
    return data;
}

// The file holds exactly these bytes afterwards; false when it could not be written.
inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Loads the file, which must fail, writes a value into the empty ini and saves it: true when the file then still
// holds exactly `stored`, as an ini that could not be read is never replaced.
inline bool SaveKeepsUnreadFile(const QString &path, const QByteArray &stored)
{
    IniFile ini;
    if (ini.load(path) || !ini.isEmpty())
        return false;
    ini.writeString(QStringLiteral("Adatbazis"), QStringLiteral("ConStr1"), QStringLiteral("1. Teszt;/x;"));
    QFile file(path);
    return ini.save(path) && file.open(QIODevice::ReadOnly) && file.readAll() == stored;
}

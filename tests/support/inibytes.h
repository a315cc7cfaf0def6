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

#pragma once

#include <QByteArray>

class QIODevice;

// Bytes gathered in memory and handed to the device in large blocks. A device that takes fewer bytes than it is
// given (full disk, lost share) ends the export with an ExportError.
class DeviceBuffer
{
public:
    explicit DeviceBuffer(QIODevice &device);

    QByteArray &bytes() { return m_bytes; }
    // Hands the bytes over once a block is full.
    void flushWhenFull();
    void flush();

private:
    QIODevice &m_device;
    QByteArray m_bytes;
};

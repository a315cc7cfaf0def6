#include "devicebuffer.h"

#include "exporterror.h"

#include <QIODevice>

namespace {

constexpr qsizetype BlockSize = 1 << 16;

} // namespace

DeviceBuffer::DeviceBuffer(QIODevice &device) : m_device(device)
{
    m_bytes.reserve(BlockSize + 4096);
}

void DeviceBuffer::flushWhenFull()
{
    if (m_bytes.size() >= BlockSize)
        flush();
}

void DeviceBuffer::flush()
{
    if (m_bytes.isEmpty())
        return;
    if (m_device.write(m_bytes) != m_bytes.size())
        throw ExportError(m_device.errorString());
    m_bytes.clear();
}

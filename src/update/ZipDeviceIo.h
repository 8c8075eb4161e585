#pragma once

#include <QIODevice>

#include <ioapi.h>

#include <memory>

namespace velmora {

// The archive bytes minizip reads: a file or an image in memory behind one device. minizip
// reaches it only through the callbacks of ZipDeviceFunctions, which never read or seek
// outside the data.
class CZipDevice
{
public:
    // The size is taken once: minizip seeks before every block it reads, and asking the
    // file system each time cost more than the reading.
    explicit CZipDevice(std::unique_ptr<QIODevice> device)
        : m_device(std::move(device)), m_size(m_device ? m_device->size() : 0)
    {
    }

    bool IsReadable() const { return m_device && m_device->isReadable(); }
    qint64 Read(void *buffer, qint64 size);
    qint64 Position() const { return m_device ? m_device->pos() : -1; }
    // Moves to base + offset (base by minizip's origin); false outside the data.
    bool Seek(quint64 offset, int origin);
    bool Failed() const { return m_bFailed; }

private:
    std::unique_ptr<QIODevice> m_device;
    qint64 m_size = 0;
    bool m_bFailed = false;
};

// minizip's file functions over device. The device stays owned by the caller; the name
// minizip passes to its open function is ignored.
zlib_filefunc64_def ZipDeviceFunctions(CZipDevice *device);

} // namespace velmora

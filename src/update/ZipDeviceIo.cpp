#include "update/ZipDeviceIo.h"

#include <limits>

namespace velmora {

namespace {

CZipDevice *DeviceOf(voidpf opaque)
{
    return static_cast<CZipDevice *>(opaque);
}

voidpf ZCALLBACK OpenDevice(voidpf opaque, const void *, int mode)
{
    const bool reading = (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) == ZLIB_FILEFUNC_MODE_READ;
    return reading && DeviceOf(opaque)->IsReadable() ? opaque : nullptr;
}

uLong ZCALLBACK ReadDevice(voidpf opaque, voidpf, void *buffer, uLong size)
{
    const qint64 got = DeviceOf(opaque)->Read(buffer, qint64(qMin<uLong>(size, std::numeric_limits<qint32>::max())));
    return got > 0 ? uLong(got) : 0;
}

uLong ZCALLBACK WriteDevice(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK TellDevice(voidpf opaque, voidpf)
{
    const qint64 position = DeviceOf(opaque)->Position();
    return position >= 0 ? ZPOS64_T(position) : ZPOS64_T(-1);
}

long ZCALLBACK SeekDevice(voidpf opaque, voidpf, ZPOS64_T offset, int origin)
{
    return DeviceOf(opaque)->Seek(offset, origin) ? 0 : -1;
}

int ZCALLBACK CloseDevice(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK DeviceError(voidpf opaque, voidpf)
{
    return DeviceOf(opaque)->Failed() ? 1 : 0;
}

} // namespace

qint64 CZipDevice::Read(void *buffer, qint64 size)
{
    if (!m_device || size < 0)
        return -1;
    const qint64 got = m_device->read(static_cast<char *>(buffer), size);
    if (got < 0)
        m_bFailed = true;
    return got;
}

bool CZipDevice::Seek(quint64 offset, int origin)
{
    if (!m_device)
        return false;
    const qint64 size = m_size;
    qint64 target = -1;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR) {
        // minizip steps back over a field it has read by a wrapped-around unsigned offset.
        const qint64 step = qint64(offset);
        const qint64 position = m_device->pos();
        target = step >= -position && step <= size - position ? position + step : -1;
    } else if (origin == ZLIB_FILEFUNC_SEEK_SET || origin == ZLIB_FILEFUNC_SEEK_END) {
        const qint64 base = origin == ZLIB_FILEFUNC_SEEK_END ? size : 0;
        target = offset <= quint64(size - base) ? base + qint64(offset) : -1;
    }
    if (target < 0)
        return false;
    // A seek to where the device already is would still cost a system call.
    return target == m_device->pos() || m_device->seek(target);
}

zlib_filefunc64_def ZipDeviceFunctions(CZipDevice *device)
{
    zlib_filefunc64_def functions{};
    functions.zopen64_file = OpenDevice;
    functions.zread_file = ReadDevice;
    functions.zwrite_file = WriteDevice;
    functions.ztell64_file = TellDevice;
    functions.zseek64_file = SeekDevice;
    functions.zclose_file = CloseDevice;
    functions.zerror_file = DeviceError;
    functions.opaque = device;
    return functions;
}

} // namespace velmora

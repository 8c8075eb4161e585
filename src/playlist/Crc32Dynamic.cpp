#include "playlist/Crc32Dynamic.h"

#include "platform/OpenFile.h"

#include <zlib.h>

#include <algorithm>

namespace velmora {

namespace {

constexpr qint64 kFileBlock = 64 * 1024;
// zlib counts lengths in unsigned int; larger views go in pieces of this size.
constexpr qsizetype kUpdatePiece = qsizetype(1) << 30;

} // namespace

void CCrc32Dynamic::Update(QByteArrayView bytes)
{
    // zlib keeps the complement inside, so a running value continues where it stopped.
    uLong crc = m_crc;
    for (qsizetype offset = 0; offset < bytes.size(); offset += kUpdatePiece) {
        const qsizetype length = std::min(kUpdatePiece, bytes.size() - offset);
        crc = crc32(crc, reinterpret_cast<const Bytef *>(bytes.data() + offset), uInt(length));
    }
    m_crc = quint32(crc);
}

quint32 CCrc32Dynamic::Crc32(QByteArrayView bytes)
{
    CCrc32Dynamic crc;
    crc.Update(bytes);
    return crc.Value();
}

bool CCrc32Dynamic::FileCrc32(const QString &path, quint32 &crc)
{
    const auto file = OpenFileForRead(path);
    if (!file)
        return false;
    CCrc32Dynamic running;
    QByteArray block(kFileBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file->read(block.data(), kFileBlock);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        running.Update(QByteArrayView(block.constData(), got));
    }
    crc = running.Value();
    return true;
}

} // namespace velmora

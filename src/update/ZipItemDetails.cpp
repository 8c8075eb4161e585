#include "update/ZipItemDetails.h"

#include "base/ByteReader.h"

#include <QDateTime>

namespace velmora {

namespace {

constexpr quint32 kHostMsDos = 0;
constexpr quint32 kHostOs2 = 7;   // this and the next two keep DOS attribute bits too
constexpr quint32 kHostNtfs = 11;
constexpr quint32 kHostVfat = 14;
constexpr quint32 kUnixFolder = 0x40000000;
constexpr quint32 kUnixOwnerWrite = 0x00800000;
constexpr quint32 kDosAttributeBits = ZIP_ATTR_READONLY | ZIP_ATTR_HIDDEN | ZIP_ATTR_SYSTEM
                                    | ZIP_ATTR_FOLDER | ZIP_ATTR_ARCHIVE;

bool KeepsDosAttributes(quint32 host)
{
    return host == kHostMsDos || host == kHostOs2 || host == kHostNtfs || host == kHostVfat;
}

} // namespace

quint32 ZipItemAttributes(quint32 versionMadeBy, quint32 externalAttributes)
{
    const quint32 host = (versionMadeBy >> 8) & 0xFF;
    if (KeepsDosAttributes(host))
        return externalAttributes & kDosAttributeBits;
    quint32 attributes = ZIP_ATTR_ARCHIVE;
    if (externalAttributes & kUnixFolder)
        attributes |= ZIP_ATTR_FOLDER;
    if (!(externalAttributes & kUnixOwnerWrite))
        attributes |= ZIP_ATTR_READONLY;
    return attributes;
}

SFileTime DosTimeToFileTime(quint32 dosDateTime)
{
    const quint32 date = dosDateTime >> 16;
    const quint32 time = dosDateTime & 0xFFFF;
    const QDate day(int(1980 + (date >> 9)), int((date >> 5) & 0x0F), int(date & 0x1F));
    const QTime clock(int(time >> 11), int((time >> 5) & 0x3F), int((time & 0x1F) * 2));
    // Archives written without a time (all fields 0) and damaged fields give no time at all
    // instead of a guessed one.
    if (!day.isValid() || !clock.isValid())
        return {};
    const QDateTime local(day, clock, Qt::LocalTime);
    return SFileTime::FromUnix(local.toSecsSinceEpoch(), 0);
}

SFileTime UnixTimeToFileTime(qint32 seconds)
{
    return SFileTime::FromUnix(seconds, 0);
}

void ApplyExtendedTimes(QByteArrayView extra, SZipEntry &item)
{
    if (extra.size() < 5)
        return;
    CByteReader blocks(extra);
    while (blocks.Remaining() >= 4) {
        const bool extendedTime = blocks.HasAt(blocks.Position(), "UT");
        blocks.Skip(2);
        const quint32 size = blocks.Get_L2() & 0xFF;   // only the low byte of the size counts
        const QByteArrayView data = blocks.Get_Bytes(qMin<qsizetype>(size, blocks.Remaining()));
        if (!extendedTime)
            continue;
        CByteReader times(data);
        const quint8 flags = times.Get_B1();
        SFileTime *const targets[] = {&item.ftLastWriteTime, &item.ftLastAccessTime, &item.ftCreationTime};
        for (int bit = 0; bit < 3; ++bit) {
            if (!(flags & (1u << bit)))
                continue;
            // Central-directory blocks often announce more times than they hold.
            if (times.Remaining() < 4)
                break;
            *targets[bit] = UnixTimeToFileTime(qint32(times.Get_L4()));
        }
        return;
    }
}

} // namespace velmora

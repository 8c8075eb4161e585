#include "inspect/KaraokeIdentification.h"

#include "base/Format.h"
#include "base/ByteReader.h"
#include "inspect/CdgReader.h"
#include "inspect/FileBytes.h"
#include "inspect/FileList.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint64 kCdgBytesPerSecond = 7200; // 300 packets of 24 bytes
constexpr qint64 kPlainCdgLimit = 4 * 1024 * 1024;
constexpr qint64 kScdgSearchBlock = 8192;
constexpr qsizetype kRecordSize = 16;
constexpr int kPacksPerSecond = 75;

const QByteArrayView kTagNcg("KLOVNCG");
const QByteArrayView kTagMcg("KLOVMC");
const QByteArrayView kTagUsa("KLOVUSA");

QString MinutesAndSeconds(quint64 seconds)
{
    return Format(u"%dmn %ds", seconds / 60, seconds % 60);
}

void IdentifyCdgBySize(const QString &path, QString &generalText, QString &formatLabel, QString &durationText)
{
    const qint64 size = FileSizeOf(path);
    if (size < 0 || !LoadKaraokeGraphics(path))
        return;
    generalText += u", CDG Karaoke File"_s;
    formatLabel = u"CDG File"_s;
    durationText = MinutesAndSeconds(quint64(size) / kCdgBytesPerSecond);
}

void IdentifyMdkByHeader(const QString &path, QString &generalText, QString &formatLabel, QString &durationText)
{
    const auto ends = ReadFileEnds(path, 32, 0);
    if (!ends)
        return;
    CByteReader header(ends->head);
    if (!header.HasAt(0, "MD-LJM"))
        return;
    header.Seek(16);
    const quint32 milliseconds = header.Get_L4();
    if (!header.Ok()) // too short to hold its playing time
        return;
    generalText = u"KLOV Karaoke File"_s;
    formatLabel = u"ZR310 MDK Midi File"_s;
    durationText = MinutesAndSeconds(milliseconds / 1000u);
}

// The trailer as the last 32 bytes of the file; a shorter file is right-aligned in zeros so
// that "n bytes before the end" stays true and no offset reads outside it.
QByteArray AlignedTrailer(const QByteArray &tail)
{
    return QByteArray(32 - tail.size(), '\0') + tail;
}

bool HasScdgTrailer(const QString &path, const QByteArray &trailer, qint64 size)
{
    const bool padded = trailer.mid(13, 4) == QByteArray(4, '\xFF');
    if (!padded || size <= kScdgSearchBlock)
        return false;
    const auto ends = ReadFileEnds(path, 0, kScdgSearchBlock);
    if (!ends)
        return false;
    const CByteReader block(ends->tail);
    for (qsizetype n = ends->tail.size() - 16; n > 0; n -= 16) {
        if (block.HasAt(n + 1, kTagUsa))
            return true;
    }
    return false;
}

// The labels the header and trailer tags give; empty when nothing matched.
SKaraokeIdentity LabelsFromTags(const QString &path, const SFileEnds &ends)
{
    const CByteReader header(ends.head);
    const QByteArray trailer = AlignedTrailer(ends.tail);
    const CByteReader tail(trailer);
    const QString maker = u"KLOV Karaoke File"_s;
    if (header.HasAt(0, kTagNcg))
        return {maker, u"ZR310 NCG File"_s};
    if (header.HasAt(0, kTagMcg)) {
        SKaraokeIdentity found;
        if (HasScdgTrailer(path, trailer, ends.nSize))
            found = {maker, u"KLOV SCDG File"_s};
        if (tail.HasAt(17, kTagUsa))
            found = {maker, u"KLOV MCG File"_s};
        return found;
    }
    if (tail.HasAt(19, kTagUsa))
        return {maker, u"ZR30 CDG File"_s};
    if (ends.nSize < kPlainCdgLimit && ends.nSize % 24 == 0 && HasEnding(path, u".cdg"))
        return {u"CDG Karaoke File"_s, u"CDG File"_s};
    return {};
}

} // namespace

void IdentifyKaraokeFileByExtension(const QString &path, QString &generalText, QString &formatLabel,
                                    QString &durationText)
{
    if (HasEnding(path, u".cdg"))
        IdentifyCdgBySize(path, generalText, formatLabel, durationText);
    else if (HasEnding(path, u".mdk"))
        IdentifyMdkByHeader(path, generalText, formatLabel, durationText);
}

SKaraokeIdentity IdentifyKaraokeFileByContent(const QString &path)
{
    const auto ends = ReadFileEnds(path, 16, 32);
    if (!ends)
        return {};
    SKaraokeIdentity identity = LabelsFromTags(path, *ends);
    if (identity.strFormat.isEmpty())
        return identity;
    QByteArray records;
    identity.bAccepted = LoadKaraokeGraphics(path, &records);
    if (identity.bAccepted)
        identity.nDuration = GraphicsPlayingTime(records);
    return identity;
}

int GraphicsPlayingTime(QByteArrayView records)
{
    if (records.size() <= kRecordSize)
        return 0;
    CByteReader reader(records);
    reader.Seek(records.size() - 2);
    return reader.Get_L2() / kPacksPerSecond;
}

} // namespace velmora

#include "inspect/Mp3Analysis.h"

#include "base/ByteReader.h"
#include "inspect/FileBytes.h"
#include "inspect/Id3v1Tag.h"
#include "inspect/Id3v2Tag.h"
#include "platform/OpenFile.h"

#include <QFile>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kAudioStartBytes = 1024;
constexpr qsizetype kLastSyncOffset = 605;

// Bit rates in kbit/s by index 1 to 14 (index 0 is free format, 15 is invalid).
constexpr int kMpeg1Rates[3][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // Layer III
};
constexpr int kMpeg2Rates[2][15] = {
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256}, // Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},      // Layers II and III
};
constexpr int kSamplingRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};

struct SFrameHeader
{
    int version = 0;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = 0;    // 3 Layer I, 2 Layer II, 1 Layer III
    int bitRateIndex = 0;
    int samplingIndex = 0;
    int padding = 0;
};

int BitRateOf(const SFrameHeader &h)
{
    if (h.bitRateIndex >= 15 || h.layer == 0) // layer bits 00 are reserved: no table row
        return -1;
    if (h.version == 3)
        return kMpeg1Rates[3 - h.layer][h.bitRateIndex];
    return kMpeg2Rates[h.layer == 3 ? 0 : 1][h.bitRateIndex];
}

int SamplingRateOf(const SFrameHeader &h)
{
    const int row = h.version == 3 ? 0 : h.version == 2 ? 1 : 2;
    return h.samplingIndex < 3 ? kSamplingRates[row][h.samplingIndex] : 0;
}

// Frame length in bytes; 0 when the header cannot describe a frame (free format, invalid
// bit rate, reserved layer), which would otherwise be a division by zero.
qint64 FrameLength(const SFrameHeader &h)
{
    const int bitRate = BitRateOf(h);
    const int samplingRate = SamplingRateOf(h);
    if (h.layer == 0 || bitRate <= 0 || samplingRate <= 0)
        return 0;
    if (h.layer == 3)
        return (12000LL * bitRate / samplingRate + h.padding) * 4;
    return 144000LL * bitRate / samplingRate + h.padding;
}

// Splits the ID3 version 2 tag (if any), the audio start and the trailer out of a file's
// bytes, the way the MP3 branch reads them.
struct SMp3Parts
{
    QByteArray tagImage;   // header and body of the version 2 tag, as far as present
    QByteArray audioStart;
    QByteArray trailer;    // the last 128 bytes
    qint64 nFileSize = 0;
};

bool BuildResult(const SMp3Parts &parts, QStringList &result)
{
    const SId3v2Header header = ReadId3v2Header(parts.tagImage);
    qint64 tagLength = header.bFound ? qint64(kId3v2HeaderSize) + header.nBodySize : 0;
    const QByteArrayView trailer = Id3v1Trailer(parts.trailer);
    if (!trailer.isEmpty())
        tagLength += kId3v1TagSize;
    // A tag may claim more than the file holds; no audio then, never a negative count.
    const qint64 audioBytes = std::max<qint64>(0, parts.nFileSize - tagLength);

    result = {EstimateMp3Duration(parts.audioStart, audioBytes), QString(), QString()};
    if (header.bFound) {
        result += ReadId3v2Frames(Id3v2Body(parts.tagImage, header), header.wVersion, header.nFlags);
        return true;
    }
    if (!trailer.isEmpty()) {
        result += ReadId3v1(trailer);
        return true;
    }
    return false;
}

SMp3Parts PartsOfImage(QByteArrayView image)
{
    SMp3Parts parts;
    parts.nFileSize = image.size();
    const SId3v2Header header = ReadId3v2Header(image);
    const qint64 tagEnd = header.bFound ? std::min<qint64>(image.size(), kId3v2HeaderSize + qint64(header.nBodySize)) : 0;
    parts.tagImage = image.first(tagEnd).toByteArray();
    parts.audioStart = image.sliced(tagEnd).first(std::min<qint64>(kAudioStartBytes, image.size() - tagEnd)).toByteArray();
    parts.trailer = image.last(std::min<qsizetype>(kId3v1TagSize, image.size())).toByteArray();
    return parts;
}

std::optional<SMp3Parts> PartsOfFile(const QString &path)
{
    const auto file = OpenFileForRead(path);
    if (!file || file->size() >= kMaxAnalysedFileSize)
        return std::nullopt;
    SMp3Parts parts;
    parts.nFileSize = file->size();
    const QByteArray head = file->read(kId3v2HeaderSize);
    const SId3v2Header header = ReadId3v2Header(head);
    if (header.bFound) {
        // The body is read only as far as the file goes, whatever the header claims.
        parts.tagImage = head + file->read(std::min<qint64>(header.nBodySize, parts.nFileSize));
    } else {
        file->seek(0);
    }
    parts.audioStart = file->read(kAudioStartBytes);
    const qint64 trailerSize = std::min<qint64>(kId3v1TagSize, parts.nFileSize);
    if (file->seek(parts.nFileSize - trailerSize))
        parts.trailer = file->read(trailerSize);
    return parts;
}

} // namespace

QString EstimateMp3Duration(QByteArrayView audioStart, qint64 audioBytes)
{
    qsizetype syncAt = -1;
    quint32 word = 0;
    for (qsizetype offset = 0; offset <= kLastSyncOffset && offset + 4 <= audioStart.size(); ++offset) {
        CByteReader at(audioStart.sliced(offset, 4));
        word = at.Get_B4();
        if ((word & 0xFFE00000u) == 0xFFE00000u) {
            syncAt = offset;
            break;
        }
    }
    if (syncAt < 0)
        return u"Error MP3FRAMEHEADER"_s;
    SFrameHeader h;
    h.version = int((word >> 19) & 3);
    h.layer = int((word >> 17) & 3);
    h.bitRateIndex = int((word >> 12) & 15);
    h.samplingIndex = int((word >> 10) & 3);
    h.padding = int((word >> 9) & 1);
    if (h.version == 1)
        return {};
    const qint64 frameLength = FrameLength(h);
    if (frameLength <= 0)
        return {};
    return QString::number(std::max<qint64>(0, audioBytes) / frameLength * 26 / 1000);
}

bool ReadMp3FileTags(const QString &path, QStringList &result)
{
    result.clear();
    const auto parts = PartsOfFile(path);
    return parts && BuildResult(*parts, result);
}

bool ReadMp3ImageTags(QByteArrayView image, QStringList &result)
{
    result.clear();
    return BuildResult(PartsOfImage(image), result);
}

} // namespace velmora

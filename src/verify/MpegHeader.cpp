#include "verify/MpegHeader.h"

#include "base/ByteReader.h"

#include <array>

namespace velmora {

namespace {

// Bit rates in kbit/s by bit-rate index 1 to 14 (ISO/IEC 11172-3 and 13818-3).
constexpr std::array<std::array<int, 14>, 5> kBitRates = {{
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // MPEG-1 Layer I
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // MPEG-1 Layer II
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // MPEG-1 Layer III
    {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // MPEG-2/2.5 Layer I
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // MPEG-2/2.5 Layers II, III
}};
constexpr std::array<int, 3> kMpeg1Rates = {44100, 48000, 32000};

int BitRateOf(int version, int layer, int index)
{
    const size_t table = version == 10 ? size_t(layer - 1) : (layer == 1 ? 3 : 4);
    return kBitRates[table][size_t(index - 1)];
}

int SamplesOf(int version, int layer)
{
    if (layer == 1)
        return 384;
    return layer == 3 && version != 10 ? 576 : 1152;
}

int FrameLengthOf(const SMpegHeader &h, bool padding)
{
    if (h.nLayer == 1)
        return (12000 * h.nBitRate / h.nSampleRate + (padding ? 1 : 0)) * 4;
    const int factor = h.nLayer == 3 && h.nVersion != 10 ? 72000 : 144000;
    return factor * h.nBitRate / h.nSampleRate + (padding ? 1 : 0);
}

// Where a Xing or Info header stands in a Layer III frame: after the side information.
qsizetype XingOffset(const SMpegHeader &h)
{
    const qsizetype side = h.nVersion == 10 ? (h.bMono ? 17 : 32) : (h.bMono ? 9 : 17);
    return 4 + (h.bCrc ? 2 : 0) + side;
}

} // namespace

std::optional<SMpegHeader> ParseMpegHeader(QByteArrayView data)
{
    CByteReader reader(data);
    const quint32 word = reader.Get_B4();
    if (!reader.Ok() || (word & 0xFFE00000u) != 0xFFE00000u)
        return std::nullopt;
    const int versionBits = int((word >> 19) & 3);
    const int layerBits = int((word >> 17) & 3);
    const int bitRateIndex = int((word >> 12) & 15);
    const int rateIndex = int((word >> 10) & 3);
    if (versionBits == 1 || layerBits == 0 || bitRateIndex == 0 || bitRateIndex == 15 || rateIndex == 3
        || (word & 3) == 2)
        return std::nullopt;
    SMpegHeader h;
    h.nVersion = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    h.nLayer = 4 - layerBits;
    h.nBitRate = BitRateOf(h.nVersion, h.nLayer, bitRateIndex);
    const int divisor = h.nVersion == 10 ? 1 : h.nVersion == 20 ? 2 : 4;
    h.nSampleRate = kMpeg1Rates[size_t(rateIndex)] / divisor;
    h.bMono = ((word >> 6) & 3) == 3;
    h.bCrc = ((word >> 16) & 1) == 0;
    h.nFrameLength = FrameLengthOf(h, ((word >> 9) & 1) != 0);
    h.nSamples = SamplesOf(h.nVersion, h.nLayer);
    return h;
}

qint64 DeclaredFrameCount(QByteArrayView frame, const SMpegHeader &header)
{
    if (header.nLayer != 3)
        return -1;
    const CByteReader reader(frame);
    const qsizetype xing = XingOffset(header);
    if (reader.HasAt(xing, "Xing") || reader.HasAt(xing, "Info")) {
        CByteReader fields(frame);
        fields.Seek(xing + 4);
        const quint32 flags = fields.Get_B4();
        const quint32 frames = fields.Get_B4();
        return fields.Ok() && (flags & 1) != 0 ? qint64(frames) : -1;
    }
    // VBRI sits 32 bytes after the header, whatever the channel mode.
    constexpr qsizetype kVbri = 4 + 32;
    if (reader.HasAt(kVbri, "VBRI")) {
        CByteReader fields(frame);
        fields.Seek(kVbri + 14);
        const quint32 frames = fields.Get_B4();
        return fields.Ok() ? qint64(frames) : -1;
    }
    return -1;
}

} // namespace velmora

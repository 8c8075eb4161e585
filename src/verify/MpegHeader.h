#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace velmora {

// One MPEG audio frame header (the four bytes that open every frame).
struct SMpegHeader
{
    int nVersion = 0;        // 10 for MPEG-1, 20 for MPEG-2, 25 for MPEG-2.5
    int nLayer = 0;          // 1, 2 or 3
    int nBitRate = 0;        // kbit/s
    int nSampleRate = 0;     // Hz
    bool bMono = false;
    bool bCrc = false;       // a 16-bit check follows the header
    int nFrameLength = 0;    // bytes, header included
    int nSamples = 0;        // samples per channel in the frame

    // Frames of one stream share version, layer and sampling rate; bit rate and channel
    // mode may change from frame to frame.
    bool SameStream(const SMpegHeader &other) const
    {
        return nVersion == other.nVersion && nLayer == other.nLayer && nSampleRate == other.nSampleRate;
    }
};

// The longest frame any header can describe (MPEG-2 Layer II, 160 kbit/s at 8000 Hz).
inline constexpr int kMaxMpegFrameLength = 2881;

// The header in the first four bytes of data, or nullopt when they are not a usable frame
// header: no sync, a reserved version, layer, sampling rate or emphasis, or a bit rate of
// "free" or "bad" (free-format streams carry no frame length and are not walked).
std::optional<SMpegHeader> ParseMpegHeader(QByteArrayView data);

// The frame count a Xing, Info or VBRI header in the frame at data promises, or -1.
qint64 DeclaredFrameCount(QByteArrayView frame, const SMpegHeader &header);

} // namespace velmora

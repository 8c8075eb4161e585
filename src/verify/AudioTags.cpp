#include "verify/AudioTags.h"

#include "base/ByteReader.h"

namespace velmora {

namespace {

constexpr qint64 kId3v1Size = 128;
constexpr qint64 kId3v1ExtendedSize = 227;
constexpr qint64 kApeFooterSize = 32;
constexpr quint32 kApeHasHeader = 0x80000000u;
constexpr qint64 kLyrics3v2TrailerSize = 15; // six size digits and "LYRICS200"
constexpr qint64 kLyrics3v1MaxSize = 5100 + 11 + 9;

// The tail as seen from the stream: bytes by their offset in the stream.
class CTail
{
public:
    CTail(QByteArrayView tail, qint64 end) : m_reader(tail), m_start(end - tail.size()) {}
    bool Has(qint64 offset, QByteArrayView text) const { return offset >= m_start && m_reader.HasAt(offset - m_start, text); }
    bool Holds(qint64 offset, qint64 size) const { return offset >= m_start && size >= 0; }
    CByteReader ReaderAt(qint64 offset) const
    {
        CByteReader reader(m_reader);
        reader.Seek(offset - m_start);
        return reader;
    }
    qint64 Start() const { return m_start; }

private:
    CByteReader m_reader;
    qint64 m_start;
};

qint64 PeelId3v1(const CTail &tail, qint64 end)
{
    if (!tail.Has(end - kId3v1Size, "TAG"))
        return end;
    const qint64 start = end - kId3v1Size;
    return tail.Has(start - kId3v1ExtendedSize, "TAG+") ? start - kId3v1ExtendedSize : start;
}

qint64 PeelApe(const CTail &tail, qint64 end)
{
    const qint64 footer = end - kApeFooterSize;
    if (!tail.Has(footer, "APETAGEX"))
        return end;
    CByteReader reader = tail.ReaderAt(footer + 12);
    const quint32 size = reader.Get_L4();
    const quint32 count = reader.Get_L4();
    const quint32 flags = reader.Get_L4();
    Q_UNUSED(count);
    if (!reader.Ok() || size < kApeFooterSize)
        return end;
    return end - qint64(size) - ((flags & kApeHasHeader) ? kApeFooterSize : 0);
}

qint64 PeelLyrics3v2(const CTail &tail, qint64 end)
{
    if (!tail.Has(end - 9, "LYRICS200"))
        return end;
    CByteReader reader = tail.ReaderAt(end - kLyrics3v2TrailerSize);
    const QByteArrayView digits = reader.Get_Bytes(6);
    bool ok = reader.Ok();
    const qint64 size = ok ? QByteArray(digits.data(), digits.size()).toLongLong(&ok) : 0;
    if (!ok || size < 11)
        return end;
    const qint64 start = end - kLyrics3v2TrailerSize - size;
    // The size is trusted only when the tag's opening mark stands where it says.
    return tail.Holds(start, size) && !tail.Has(start, "LYRICSBEGIN") ? end : start;
}

qint64 PeelLyrics3v1(const CTail &tail, qint64 end)
{
    if (!tail.Has(end - 9, "LYRICSEND"))
        return end;
    for (qint64 at = end - 9 - 11; at >= end - kLyrics3v1MaxSize && at >= tail.Start(); --at) {
        if (tail.Has(at, "LYRICSBEGIN"))
            return at;
    }
    return end;
}

} // namespace

qint64 LeadingId3v2Size(QByteArrayView data, bool atEnd)
{
    if (data.size() < 10)
        return atEnd || !QByteArrayView("ID3").startsWith(data.first(qMin<qsizetype>(data.size(), 3))) ? 0 : -1;
    CByteReader reader(data);
    if (!reader.HasAt(0, "ID3"))
        return 0;
    reader.Seek(3);
    const quint8 major = reader.Get_B1();
    reader.Get_B1();
    const quint8 flags = reader.Get_B1();
    qint64 size = 0;
    for (int i = 0; i < 4; ++i) {
        const quint8 byte = reader.Get_B1();
        if (byte & 0x80)
            return 0;
        size = (size << 7) | byte;
    }
    if (major == 0xFF)
        return 0;
    const bool footer = major >= 4 && (flags & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

bool StartsAudioTag(QByteArrayView data)
{
    for (const QByteArrayView mark : {QByteArrayView("TAG"), QByteArrayView("APETAGEX"), QByteArrayView("LYRICSBEGIN"),
                                      QByteArrayView("ID3")}) {
        if (data.startsWith(mark))
            return true;
    }
    return false;
}

qint64 TrailingTagsStart(QByteArrayView tail, qint64 end, qint64 floor)
{
    const CTail bytes(tail, end);
    qint64 start = end;
    for (;;) {
        qint64 next = PeelId3v1(bytes, start);
        if (next == start)
            next = PeelApe(bytes, start);
        if (next == start)
            next = PeelLyrics3v2(bytes, start);
        if (next == start)
            next = PeelLyrics3v1(bytes, start);
        if (next == start || next < floor)
            return start;
        start = next;
    }
}

} // namespace velmora

#include "inspect/Id3v2FrameCursor.h"

#include "inspect/Id3v2Tag.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr qsizetype kFrameHeaderSize = 10;
constexpr qsizetype kFrameHeaderSize22 = 6;

quint32 SynchsafeValue(quint32 raw)
{
    return (raw >> 24 & 0x7F) << 21 | (raw >> 16 & 0x7F) << 14 | (raw >> 8 & 0x7F) << 7 | (raw & 0x7F);
}

// Version 2.2 ids of the frames that are read, with their later names.
QByteArrayView MapVersion22Id(QByteArrayView id)
{
    static constexpr struct { const char *old; const char *id; } kMap[] = {
        {"TT2", "TIT2"}, {"TP1", "TPE1"}, {"TAL", "TALB"}, {"TYE", "TYER"},
        {"TRK", "TRCK"}, {"TCO", "TCON"}, {"COM", "COMM"},
    };
    for (const auto &entry : kMap) {
        if (id == QByteArrayView(entry.old))
            return QByteArrayView(entry.id);
    }
    return {};
}

} // namespace

CId3v2FrameCursor::CId3v2FrameCursor(QByteArrayView body, quint16 wVersion, quint8 nTagFlags)
    : m_reader(body), m_wVersion(wVersion)
{
    // A frame is looked for only while its whole header and at least one byte still fit.
    m_nLimit = body.size() - (IsVersion22() ? kFrameHeaderSize22 : kFrameHeaderSize);
    // Version 0 is no tag; a compressed version 2.2 tag has no agreed format to read.
    m_bDone = wVersion == 0 || (IsVersion22() && (nTagFlags & kId3v2ExtendedHeader));
    if (!m_bDone && (nTagFlags & kId3v2ExtendedHeader))
        SkipExtendedHeader();
}

// Version 2.3 counts the size after its own four bytes, version 2.4 includes them and
// writes it synchsafe. A size that runs past the body leaves the reader failed: no frames.
void CId3v2FrameCursor::SkipExtendedHeader()
{
    const quint32 raw = m_reader.Get_B4();
    if (m_wVersion < 0x0400)
        m_reader.Skip(qsizetype(raw));
    else
        m_reader.Skip(qsizetype(SynchsafeValue(raw)) - 4);
}

// Version 2.4 writes frame sizes synchsafe. Some taggers wrote plain numbers into 2.4
// tags; a byte with its high bit set cannot be synchsafe, so such a size is read plainly.
quint32 CId3v2FrameCursor::ReadFrameSize()
{
    if (IsVersion22()) {
        const quint32 high = m_reader.Get_B1();
        return high << 16 | m_reader.Get_B2();
    }
    const quint32 raw = m_reader.Get_B4();
    if (m_wVersion >= 0x0400 && (raw & 0x80808080) == 0)
        return SynchsafeValue(raw);
    return raw;
}

bool CId3v2FrameCursor::NextFrame(SId3v2Frame &frame)
{
    if (m_bDone || !m_reader.Ok() || m_reader.Position() >= m_nLimit)
        return false;
    const QByteArrayView id = m_reader.Get_Bytes(IsVersion22() ? 3 : 4);
    if (!m_reader.Ok() || id.at(0) == 0)
        return false; // padding
    const quint32 size = ReadFrameSize();
    const quint16 flags = IsVersion22() ? 0 : m_reader.Get_B2();
    if (!m_reader.Ok())
        return false;

    frame.id = IsVersion22() ? MapVersion22Id(id) : id;
    frame.nFormatFlags = quint8(flags & 0xFF);
    // A frame that claims more than the body holds keeps what is there; the cursor is then
    // at the end of the body, which ends the walk.
    const qsizetype available = std::min<qint64>(size, m_reader.Remaining());
    frame.content = m_reader.Get_Bytes(available);
    return true;
}

} // namespace velmora

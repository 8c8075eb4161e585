#include "inspect/CdgReader.h"

#include "base/ByteReader.h"
#include "inspect/CdgPacket.h"
#include "inspect/FileBytes.h"
#include "legacy/ConvertNCG.h"

#include <algorithm>
#include <span>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kUnitSize = kGraphicsRecordSize;
constexpr qsizetype kMcgHeaderSize = 16;
constexpr qsizetype kMcgTrailerTagOffset = 1;
constexpr qsizetype kTaggedTrailerTagOffset = 3;
constexpr qsizetype kTaggedTagFromEnd = 13;

const QByteArrayView kTagNcg("KLOVNCG");
const QByteArrayView kTagMcg("KLOVMC");
const QByteArrayView kTagUsa("KLOVUSA");

// The restored content of an NCG file, or nullopt when there is none. The work buffer is
// no larger than the content can be, and never larger than the NCG limit.
std::optional<QByteArray> ConvertNcg(qsizetype sourceSize, auto &&convert)
{
    const qsizetype room = std::clamp(sourceSize - CConvertNCG::kContentOffset, qsizetype(0), kNcgWorkBufferSize);
    QByteArray work(room, '\0');
    qsizetype length = 0;
    if (!convert(std::span<char>(work.data(), size_t(work.size())), length) || length <= 0)
        return std::nullopt;
    work.truncate(length);
    return work;
}

std::optional<QByteArray> ReadNcgFile(const QString &path, qint64 size)
{
    CConvertNCG converter;
    const qsizetype sourceSize = qsizetype(std::min<qint64>(size, kMaxGraphicsFileSize));
    return ConvertNcg(sourceSize, [&](std::span<char> buffer, qsizetype &length) {
        return converter.Convert(path, buffer, length);
    });
}

// Pack numbers are 16 bits wide; later packs keep the highest number so that a playing time
// taken from them never runs backwards.
quint16 PackNumber(qsizetype pack)
{
    return quint16(std::min<qsizetype>(pack, 0xFFFF));
}

// The offset of the first whole unit from first on that holds tag at tagOffset; -1 if none.
qsizetype FindTrailerUnit(QByteArrayView data, qsizetype first, qsizetype tagOffset)
{
    const CByteReader reader(data);
    for (qsizetype at = first; at + kUnitSize <= data.size(); at += kUnitSize) {
        if (reader.HasAt(at + tagOffset, kTagUsa))
            return at;
    }
    return -1;
}

} // namespace

bool KaraokeGraphics::Load(const QString &path)
{
    Release();
    const qint64 size = FileSizeOf(path);
    if (size < 0)
        return false;
    std::optional<QByteArray> data = path.endsWith(u".ncg"_s, Qt::CaseInsensitive)
        ? ReadNcgFile(path, size)
        : ReadWholeFile(path, kMaxGraphicsFileSize);
    if (!data)
        return false;
    return Decode(std::move(*data));
}

bool KaraokeGraphics::Decode(QByteArray data)
{
    Release();
    m_buffer = std::move(data);
    m_buffer.detach(); // decoded in place: never write into bytes the caller still shares
    return !m_buffer.isEmpty() && DecodeBuffer();
}

QByteArray KaraokeGraphics::TakeRecords()
{
    m_buffer.truncate(m_decodedLength);
    QByteArray records = std::move(m_buffer);
    Release();
    return records;
}

void KaraokeGraphics::Release()
{
    m_buffer = QByteArray();
    m_decodedLength = 0;
}

bool KaraokeGraphics::DecodeBuffer()
{
    const CByteReader reader(m_buffer);
    if (reader.HasAt(0, kTagNcg) && !RestoreNcgData())
        return false;
    const CByteReader restored(m_buffer);
    if (restored.HasAt(0, kTagMcg))
        return DecodeMcgUnits();
    if (restored.HasAt(m_buffer.size() - kTaggedTagFromEnd, kTagUsa))
        return DecodeTaggedCdg();
    return DecodePlainCdg();
}

// An NCG file under another name. Its stored bytes are scrambled, so when they cannot be
// restored the data is refused rather than read as if it were plain CD+G.
bool KaraokeGraphics::RestoreNcgData()
{
    CConvertNCG converter;
    std::optional<QByteArray> content = ConvertNcg(m_buffer.size(), [&](std::span<char> buffer, qsizetype &length) {
        return converter.ConvertBytes(m_buffer, buffer, length);
    });
    if (!content)
        return false;
    m_buffer = std::move(*content);
    return true;
}

// Records are written from the start of the buffer while packets are still being read:
// 16 bytes out for every 24 in, and each packet is decoded before its record is stored, so
// a record only ever lands on bytes that have been read already.
bool KaraokeGraphics::DecodePlainCdg()
{
    const qsizetype packs = m_buffer.size() / kCdgPackSize;
    qsizetype written = 0;
    for (qsizetype pack = 0; pack < packs; ++pack) {
        for (qsizetype packet = 0; packet < kCdgPacketsPerPack; ++packet) {
            const qsizetype offset = pack * kCdgPackSize + packet * kCdgPacketSize;
            const auto record = DecodeCdgPacket(QByteArrayView(m_buffer).sliced(offset, kCdgPacketSize), PackNumber(pack));
            if (!record)
                continue;
            Q_ASSERT(written + kGraphicsRecordSize <= offset + kCdgPacketSize);
            std::copy(record->begin(), record->end(), m_buffer.begin() + written);
            written += kGraphicsRecordSize;
        }
    }
    m_decodedLength = written;
    return written > 0;
}

// The maker's MCG form: a header, encoded record units, and a trailer unit. The units'
// encoding is the maker's own and unknown here, so a file laid out that way counts as
// graphics with no records (its pack numbers, and so its playing time, stay unknown).
bool KaraokeGraphics::DecodeMcgUnits()
{
    const qsizetype trailer = FindTrailerUnit(m_buffer, kMcgHeaderSize, kMcgTrailerTagOffset);
    return trailer > kMcgHeaderSize;
}

// The maker's tagged CD+G: records stored with their pack number first, up to a trailer
// unit. A file whose units do not line up with its tag has no trailer and is refused.
bool KaraokeGraphics::DecodeTaggedCdg()
{
    const qsizetype trailer = FindTrailerUnit(m_buffer, 0, kTaggedTrailerTagOffset);
    if (trailer <= 0)
        return false;
    for (qsizetype at = 0; at < trailer; at += kUnitSize)
        std::rotate(m_buffer.begin() + at, m_buffer.begin() + at + 2, m_buffer.begin() + at + kUnitSize);
    m_decodedLength = trailer;
    return true;
}

bool LoadKaraokeGraphics(const QString &path, QByteArray *records)
{
    KaraokeGraphics graphics;
    const bool found = graphics.Load(path);
    if (records)
        *records = found ? graphics.TakeRecords() : QByteArray();
    return found;
}

bool DecodeKaraokeGraphics(QByteArrayView bytes, QByteArray *records)
{
    KaraokeGraphics graphics;
    const bool found = graphics.Decode(bytes.toByteArray());
    if (records)
        *records = found ? graphics.TakeRecords() : QByteArray();
    return found;
}

} // namespace velmora

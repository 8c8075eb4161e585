#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace velmora {

// Largest graphics file read whole: over two and a half hours of CD+G, far beyond any song,
// and small enough that a huge or sparse file cannot make the checker allocate gigabytes.
inline constexpr qint64 kMaxGraphicsFileSize = 64 * 1024 * 1024;
// Largest content an NCG file may restore to.
inline constexpr qsizetype kNcgWorkBufferSize = 4 * 1024 * 1024;

// One load of a karaoke graphics file: plain CD+G, the maker's tagged CD+G, MCG, or NCG
// (restored first). Decoding overwrites the loaded data from its start with 16-byte
// instruction records (see CdgPacket.h).
class KaraokeGraphics
{
public:
    // True when the file holds karaoke graphics. Any earlier load is released first.
    bool Load(const QString &path);
    // The same for data already in memory (a zip member, a test, a fuzzer).
    bool Decode(QByteArray data);

    qsizetype DecodedLength() const { return m_decodedLength; }
    qsizetype BufferLength() const { return m_buffer.size(); }
    QByteArrayView Records() const { return QByteArrayView(m_buffer).first(m_decodedLength); }
    // Hands the records over and releases the buffer.
    QByteArray TakeRecords();

private:
    void Release();
    bool DecodeBuffer();
    bool RestoreNcgData();
    bool DecodePlainCdg();
    bool DecodeMcgUnits();
    bool DecodeTaggedCdg();

    qsizetype m_decodedLength = 0;
    QByteArray m_buffer;
};

// Whether the file holds karaoke graphics; on success the decoded instruction records
// (empty for MCG files, whose records the checker cannot decode).
bool LoadKaraokeGraphics(const QString &path, QByteArray *records = nullptr);
// The same for the bytes of a graphics file in memory.
bool DecodeKaraokeGraphics(QByteArrayView bytes, QByteArray *records = nullptr);

} // namespace velmora

#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace velmora {

constexpr qsizetype kId3v2HeaderSize = 10;

// Header flags this reader acts on.
constexpr quint8 kId3v2Unsynchronised = 0x80;
constexpr quint8 kId3v2ExtendedHeader = 0x40; // version 2.2: compressed tag

// The 10-byte header in front of an ID3 version 2 tag.
struct SId3v2Header
{
    bool bFound = false;   // the data began with "ID3" and held all ten bytes
    quint16 wVersion = 0;  // major version in the high byte, revision in the low byte
    quint8 nFlags = 0;
    quint32 nBodySize = 0; // as the header declares it; may claim more than the file holds
};

// Reads the header from the first ten bytes of data (more may follow).
SId3v2Header ReadId3v2Header(QByteArrayView data);

// The tag body within an image that starts with the header: the declared body size, or as
// much of it as the image holds.
QByteArrayView Id3v2Body(QByteArrayView image, const SId3v2Header &header);

// The seven values of an ID3 version 2 tag, in the order of ReadId3v2Frames' result.
enum EId3v2Value { Id3v2Title, Id3v2Artist, Id3v2Album, Id3v2Year, Id3v2Track, Id3v2Genre,
                   Id3v2Comment, Id3v2ValueCount };

// The title, artist, album, year, track, genre and comment of a tag body: always seven
// texts, each empty when its frame is absent; a later frame with the same id replaces an
// earlier one. wVersion and nFlags come from the tag's header.
QStringList ReadId3v2Frames(QByteArrayView body, quint16 wVersion, quint8 nFlags);

} // namespace velmora

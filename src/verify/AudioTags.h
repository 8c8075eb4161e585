#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace velmora {

// The whole size (header, body and footer) of the ID3v2 tag data begins with; 0 when data
// does not begin with one, -1 when fewer than its 10 header bytes are at hand.
qint64 LeadingId3v2Size(QByteArrayView data, bool atEnd);

// Whether the bytes at data begin one of the tags that may follow MPEG audio: ID3v1,
// APEv2, Lyrics3 or a further ID3v2 tag.
bool StartsAudioTag(QByteArrayView data);

// Where the tags at the end of a stream begin: ID3v1 (with its extended part), APEv2 and
// Lyrics3 (both versions), in any order and number. tail holds the last bytes of the
// stream, which ends at end; a tag whose marks lie outside tail is not seen. Never less
// than floor; end when there is no tag.
qint64 TrailingTagsStart(QByteArrayView tail, qint64 end, qint64 floor);

} // namespace velmora

#pragma once

#include <QByteArrayView>
#include <QString>

namespace velmora {

// Text encodings of ID3 version 2 text frames (the byte before the text).
enum EId3Encoding : quint8 {
    Id3Latin = 0,       // narrow text, read in the configured ANSI code page
    Id3Utf16 = 1,       // UTF-16 with a byte-order mark
    Id3Utf16Be = 2,     // UTF-16 big-endian without a mark
    Id3Utf8 = 3,
};

// Narrow text up to its first zero byte, in the configured ANSI code page (ISO-8859-1 when
// that code page cannot be converted).
QString DecodeId3Narrow(QByteArrayView bytes);

// The text of the bytes after a frame's encoding byte, up to its first terminator (one
// zero byte, or one zero code unit for UTF-16). An unknown encoding gives an empty text.
QString DecodeId3Text(quint8 encoding, QByteArrayView bytes);

// The bytes after the first terminator of the encoding; empty when there is none. Used to
// step over the short description in front of a comment.
QByteArrayView AfterId3Terminator(quint8 encoding, QByteArrayView bytes);

} // namespace velmora

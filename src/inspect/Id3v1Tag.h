#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace velmora {

constexpr qsizetype kId3v1TagSize = 128;
constexpr int kId3v1ValueCount = 6;

// The last 128 bytes of an image when they begin with "TAG", otherwise an empty view (also
// for images shorter than 128 bytes).
QByteArrayView Id3v1Trailer(QByteArrayView image);

// The title, artist, album, year, track and genre of a 128-byte trailer: always six texts,
// in the order of EId3v2Value (which adds the comment).
// Texts end at their first zero byte and lose trailing blanks; the track is the byte at 126
// when byte 125 is zero (version 1.1) and it is not 0; the genre is GenreName of byte 127.
// Anything but 128 bytes beginning with "TAG" gives six empty texts.
QStringList ReadId3v1(QByteArrayView trailer);

} // namespace velmora

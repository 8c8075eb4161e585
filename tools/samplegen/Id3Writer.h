#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::samplegen {

// The song details written into both kinds of ID3 tag. Empty texts and zero numbers
// leave their frame out of the version 2 tag and their field blank in the trailer.
struct SId3Fields
{
    QString title;
    QString artist;
    QString album;
    int year = 0;
    int track = 0;       // the version 1.1 trailer holds 1 to 255 only
    QString genre;       // written to TCON as it stands, e.g. "Pop"
    int genreIndex = 255; // version 1 genre number for the same genre; 255 means none
    QString comment;
};

inline constexpr int kId3v2HeaderBytes = 10;
inline constexpr int kId3v1Bytes = 128;

// ID3 version 2.3 tag: header "ID3" 3.0, flags 0, synchsafe body size; text frames
// TIT2, TPE1, TALB, TYER, TRCK, TCON and a COMM frame, then a little zero padding.
// A frame is written as ISO-8859-1 (encoding 0) when all its text fits, otherwise as
// UTF-16 with a byte-order mark (encoding 1).
QByteArray MakeId3v23Tag(const SId3Fields &fields);

// ID3 version 1.1 trailer of 128 bytes: "TAG", title, artist, album (30 bytes each),
// year (4), comment (28), a zero byte, the track byte and the genre byte. Text is
// ISO-8859-1, cut to its field, with "?" for characters outside it.
QByteArray MakeId3v1Tag(const SId3Fields &fields);

} // namespace velmora::samplegen

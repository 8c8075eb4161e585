#include "inspect/Id3v1Tag.h"

#include "inspect/Genres.h"
#include "inspect/Id3Text.h"

namespace velmora {

namespace {

constexpr qsizetype kTitleAt = 3, kArtistAt = 33, kAlbumAt = 63, kYearAt = 93;
constexpr qsizetype kTextField = 30, kYearField = 4;
constexpr qsizetype kTrackMarkAt = 125, kTrackAt = 126, kGenreAt = 127;

bool IsTrailer(QByteArrayView bytes)
{
    return bytes.size() == kId3v1TagSize && bytes.startsWith("TAG");
}

// Many taggers fill the fixed fields with blanks instead of zero bytes.
QString FieldText(QByteArrayView trailer, qsizetype offset, qsizetype width)
{
    QString text = DecodeId3Narrow(trailer.sliced(offset, width));
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    text.truncate(end);
    return text;
}

// Version 1.1 keeps the track in the last comment byte, marked by a zero before it; a
// track of 0 is the zero padding of a version 1.0 comment.
QString TrackText(QByteArrayView trailer)
{
    const quint8 track = quint8(trailer.at(kTrackAt));
    if (trailer.at(kTrackMarkAt) != 0 || track == 0)
        return {};
    return QString::number(track);
}

} // namespace

QByteArrayView Id3v1Trailer(QByteArrayView image)
{
    if (image.size() < kId3v1TagSize)
        return {};
    const QByteArrayView trailer = image.last(kId3v1TagSize);
    return IsTrailer(trailer) ? trailer : QByteArrayView();
}

QStringList ReadId3v1(QByteArrayView trailer)
{
    if (!IsTrailer(trailer))
        return QStringList(kId3v1ValueCount);
    return {
        FieldText(trailer, kTitleAt, kTextField),
        FieldText(trailer, kArtistAt, kTextField),
        FieldText(trailer, kAlbumAt, kTextField),
        FieldText(trailer, kYearAt, kYearField),
        TrackText(trailer),
        GenreName(quint8(trailer.at(kGenreAt))),
    };
}

} // namespace velmora

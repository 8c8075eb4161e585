#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The unzip tool's output is examined only when it has 1 to this many lines.
constexpr qsizetype kMaxUnzipListingLines = 15;

// What a package listing ("unzip -l") tells about a karaoke package.
struct SZipListing
{
    qint64 nMp3Length = 0;       // unpacked length of the last MP3 member
    qint64 nGraphicsLength = 0;  // of the graphics member (the first ".cdg", or the last ".mcg"/".ncg")
    quint32 dwMarks = 0;         // ZIP_MARK_* of the members
    QString strMp3Extension;     // the last MP3 member's extension without dot, in its own case
};

// Walks the member lines between the listing's separators. A listing of no lines or of
// more than kMaxUnzipListingLines lines tells nothing.
SZipListing ParseUnzipListing(const QStringList &lines);

// The names after "inflating: " (deflated members), "extracting: " (stored members),
// "bunzipping: " (bzip2) or the tool's words for the older methods in extraction output,
// in order.
QStringList ExtractedMemberNames(const QStringList &lines);

// The leading number of a listing line, read the way the C library's strtol reads it
// (leading blanks skipped); saturated, and never below 0 since it is a length.
qint64 LeadingLength(QStringView line);

} // namespace velmora

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace velmora {

// MP3 files and zip packages are analysed only below this size.
constexpr qint64 kMaxAnalysedFileSize = 64 * 1024 * 1024;

// Slot 0 of an MP3 result: the playing time estimated from the first frame header found in
// audioStart (at most 1024 bytes) and the number of audio bytes; "Error MP3FRAMEHEADER"
// when no frame sync is found early enough; empty for reserved or invalid header fields.
QString EstimateMp3Duration(QByteArrayView audioStart, qint64 audioBytes);

// The MP3 branch on a file: tags and playing time. Three slots without tags, nine with an
// ID3 version 1 trailer, ten with an ID3 version 2 tag; true when a tag was found.
bool ReadMp3FileTags(const QString &path, QStringList &result);
// The same for a whole MP3 file image in memory (a zip member).
bool ReadMp3ImageTags(QByteArrayView image, QStringList &result);

} // namespace velmora

#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// Analysis result slots: 0 playing time in seconds, 1 bit rate, 3 title, 4 artist, 5 album,
// 6 year, 7 track, 8 genre, 9 comment. Slots 3 to 8 count only with at least 9 slots.
enum EAnalysisSlot { SlotDuration = 0, SlotBitRate = 1, SlotTitle = 3, SlotArtist = 4, SlotAlbum = 5,
                     SlotYear = 6, SlotTrack = 7, SlotGenre = 8, SlotComment = 9 };
constexpr int kFullAnalysisSlots = 9;

bool ReadMediaTags(const QString &path, QStringList &result);
bool AnalyseMediaFile(const QString &path, QStringList &result);
// True when reading the file's tags and analysing it both come down to the media-information
// library alone (a type without a reader of its own), which reads but never logs or writes.
bool AnalysedByMediaLibraryOnly(const QString &path);

} // namespace velmora

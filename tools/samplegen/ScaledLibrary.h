#pragma once

#include "samplegen/SampleLibrary.h"

#include <QList>
#include <QString>

#include <functional>

namespace velmora::samplegen {

// A library of any size for measuring checks, a hundred songs to an artist folder, the last
// ten of each in its "Duets" subfolder. Small songs (the default, for tests) run 2 to 4
// seconds, about 70 KB a song; full-length songs run 2:30 to 4:10 as real ones do: MP3s of
// 3 to 5 MB with real frame headers and CD+G of 1.1 to 1.8 MB (1.4 MB on average).
enum class ESongSize { Small, Full };
inline constexpr int kMaxScaledSongs = 1'000'000;
inline constexpr int kScaledSongsPerFolder = 100;
inline constexpr int kScaledDuetsFrom = 90; // songs 90..99 of a folder go one level down

// The kinds of song, repeating every 50 songs: 41 MP3 + CD+G pairs, 3 zip packages
// holding such a pair, 4 MIDI karaoke files, 1 MP3 without any frame sync beside a good
// CD+G, and 1 MP3 whose graphics are missing.
enum class EScaledSongKind { Pair, Zip, Midi, BrokenMp3, LoneMp3 };
EScaledSongKind ScaledSongKind(int index);

// What a library of that many songs holds. Only the count decides it, never the seed.
struct SScaledLibraryCounts
{
    int nSongs = 0;
    int nPairs = 0;
    int nZips = 0;
    int nMidi = 0;
    int nBrokenMp3 = 0;
    int nLoneMp3 = 0;
    int nUnknown = 0; // one file of unknown type at the top of each artist folder
    int nFolders = 0; // artist folders and their "Duets" subfolders
    int nFiles = 0;
};
SScaledLibraryCounts CountScaledLibrary(int songs);

// The files of song index (from 0) of the library made from seed; each song has its own
// random stream, so any song can be made without the ones before it.
QList<SSampleFile> BuildScaledSong(int index, quint64 seed, ESongSize size = ESongSize::Small);

// Hands every file of the library to sink in the order written, one song at a time, so
// a large library never sits in memory whole. Stops early when sink returns false.
void ForEachScaledFile(int songs, quint64 seed, const std::function<bool(const SSampleFile &)> &sink,
                       ESongSize size = ESongSize::Small);

// The whole library in memory; for tests and small sizes.
QList<SSampleFile> BuildScaledLibrary(int songs, quint64 seed);

// Writes the library below folder with the fixed sample file time, creating folders as
// needed; other files in folder stay. songs must be 1..kMaxScaledSongs. On failure
// returns false with a message naming what failed.
bool WriteScaledLibrary(const QString &folder, int songs, quint64 seed, QString *error,
                        SScaledLibraryCounts *written = nullptr, ESongSize size = ESongSize::Small);

} // namespace velmora::samplegen

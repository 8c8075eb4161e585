#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>

namespace velmora {

// MIDI karaoke files (.mid, .kar, .wrk) are small; anything larger is not read at all. The
// limit is the one the analysis puts on sound files.
constexpr qint64 kMaxMidiFileBytes = 64 * 1024 * 1024;

// Hostile files could otherwise ask for endless records: at most this many tracks, events
// (over the whole file) and tempo changes are read; the rest of such a file is ignored.
constexpr qsizetype kMaxMidiTracks = 65535;
constexpr qsizetype kMaxMidiEvents = 4 * 1024 * 1024;
constexpr qsizetype kMaxMidiTempos = 65536;

// Raw texts and track names are 8-bit texts of at most this many bytes.
constexpr qsizetype kMaxMidiText = 259;

// The text slots gathered from a file, before they are converted from their code page.
enum EMidiTextSlot { MidiTextTitle = 0, MidiTextSubtitle, MidiTextCopyright, MidiTextInstructions,
                     MidiTextAuthor, kMidiTextSlots };

// The karaoke flavour, from the first track whose name is one of the known styles.
enum EMidiStyle { MidiStyleNone = 0, MidiStyleInfo = 1, MidiStyleSetUp = 2, MidiStyleVc1 = 3, MidiStyleWords = 4 };

// The format value given to .kar files once the header has been checked.
constexpr int kKarFormat = 2;

struct tagTrackInfo
{
    QByteArray szName;     // at most kMaxMidiText bytes
    qint64 nEndTick = 0;
    int nPort = -1;        // from the port meta event, -1 when there was none
    bool bLyrics = false;  // named "Soft Karaoke" or "Words"
};

struct tagTempoInfo
{
    qint64 nStartTick = 0;
    qint64 nStartMs = 0;
    qint64 nLengthTicks = 0;
    int nBpm = 0;
    quint32 nMicrosPerQuarter = 0;
};

struct MidiSongInfo
{
    int nFormat = 0;           // 0 or 1; kKarFormat for .kar files
    int nTrackCount = 0;       // as the header claims it
    int nTicksPerQuarter = 0;
    qint64 nSongEndTick = 0;
    qint64 nDurationMs = 0;
    int nCodePage = 0;         // 0: not decided, which converts in the ANSI code page
    std::array<QByteArray, kMidiTextSlots> aszTexts;
    QString strTitle;
    QString strArtist;
    int nDurationSeconds = 0;
    int nStyle = MidiStyleNone;
    QList<tagTrackInfo> tracks;
    QList<tagTempoInfo> tempos;
};

// Reads a .mid, .kar or .wrk file (chosen by the last four characters of path, in any case)
// and fills info with its title, artist and playing time. False when the file is missing,
// empty, larger than kMaxMidiFileBytes, not of its type, or has a track that cannot be read.
bool ReadMidiSongInfo(const QString &path, MidiSongInfo &info);

// The same from bytes already in memory; fileName (a name or a whole path) only chooses the
// type and gives a .kar file without a style track its title and artist.
bool ReadMidiSongInfoFromBytes(QByteArrayView bytes, const QString &fileName, MidiSongInfo &info);

} // namespace velmora

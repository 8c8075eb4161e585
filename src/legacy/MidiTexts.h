#pragma once

#include "legacy/MidiSongInfo.h"

#include <QByteArrayView>

namespace velmora {

// Meta texts are read as far as a reader's buffer of 512 bytes would hold them.
constexpr qsizetype kMaxMidiMetaText = 511;

// Case-insensitive for ASCII letters only: the texts are in unknown 8-bit code pages.
bool StartsWithNoCase(QByteArrayView text, QByteArrayView prefix);
bool EqualsNoCase(QByteArrayView text, QByteArrayView other);

// What a C string of the bytes would hold: up to the first NUL, at most maxLength bytes.
QByteArray BoundedMidiText(QByteArrayView bytes, qsizetype maxLength = kMaxMidiText);

void SetMidiText(MidiSongInfo &info, EMidiTextSlot slot, QByteArrayView text);

// The text rules of one track of a Standard MIDI File: track 0 names the song, later tracks
// name themselves, and lyrics tracks carry the song's texts in their "@" commands.
class CMidiTrackTexts
{
public:
    CMidiTrackTexts(MidiSongInfo &info, qsizetype trackIndex, tagTrackInfo &track)
        : m_info(info), m_track(track), m_firstTrack(trackIndex == 0)
    {
    }

    void AddTrackName(QByteArrayView name);
    void AddText(QByteArrayView text);
    void AddCopyright(QByteArrayView text);

private:
    void AddLyricsCommand(QByteArrayView text);
    void AddTitleText(QByteArrayView text);
    void AddBanner(QByteArrayView banner);

    MidiSongInfo &m_info;
    tagTrackInfo &m_track;
    bool m_firstTrack;
    int m_texts = 0;  // texts of track 0, or "@T" texts of a lyrics track
    int m_names = 0;  // track names of track 0
};

} // namespace velmora

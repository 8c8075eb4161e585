#include "legacy/MidiTexts.h"

#include <algorithm>

namespace velmora {

namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

const QByteArrayView kBannerStart("@T>>> ");

} // namespace

bool StartsWithNoCase(QByteArrayView text, QByteArrayView prefix)
{
    if (text.size() < prefix.size())
        return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

bool EqualsNoCase(QByteArrayView text, QByteArrayView other)
{
    return text.size() == other.size() && StartsWithNoCase(text, other);
}

QByteArray BoundedMidiText(QByteArrayView bytes, qsizetype maxLength)
{
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype length = std::min(nul < 0 ? bytes.size() : nul, std::max<qsizetype>(maxLength, 0));
    return bytes.first(length).toByteArray();
}

void SetMidiText(MidiSongInfo &info, EMidiTextSlot slot, QByteArrayView text)
{
    info.aszTexts[slot] = BoundedMidiText(text);
}

void CMidiTrackTexts::AddTrackName(QByteArrayView name)
{
    if (m_firstTrack) {
        if (m_names == 0)
            SetMidiText(m_info, MidiTextTitle, name);
        else if (m_names == 1)
            SetMidiText(m_info, MidiTextSubtitle, name);
        ++m_names;
        return;
    }
    m_track.szName = BoundedMidiText(name);
    if (EqualsNoCase(m_track.szName, "Soft Karaoke") || EqualsNoCase(m_track.szName, "Words"))
        m_track.bLyrics = true;
}

void CMidiTrackTexts::AddText(QByteArrayView text)
{
    if (m_firstTrack) {
        if (m_texts == 0)
            SetMidiText(m_info, MidiTextInstructions, text);
        else if (m_texts == 1)
            SetMidiText(m_info, MidiTextAuthor, text);
        ++m_texts;
        return;
    }
    // Outside track 0 only the commands of a lyrics track say anything about the song;
    // plain texts there are the lyrics themselves.
    if (m_track.bLyrics && text.startsWith('@'))
        AddLyricsCommand(text);
}

void CMidiTrackTexts::AddCopyright(QByteArrayView text)
{
    // Soft Karaoke files use the copyright event for their own notice, not the song's.
    if (m_info.nFormat != kKarFormat)
        SetMidiText(m_info, MidiTextCopyright, text);
}

void CMidiTrackTexts::AddLyricsCommand(QByteArrayView text)
{
    if (text.startsWith("@K"))
        SetMidiText(m_info, MidiTextInstructions, text.sliced(2));
    else if (text.startsWith("@L"))
        SetMidiText(m_info, MidiTextSubtitle, text.sliced(2));
    else if (text.startsWith("@T"))
        AddTitleText(text);
}

void CMidiTrackTexts::AddTitleText(QByteArrayView text)
{
    if (text.startsWith(kBannerStart)) {
        // A banner closes with four characters of its own (" <<<").
        const QByteArrayView banner = text.sliced(kBannerStart.size());
        AddBanner(banner.size() > 4 ? banner.chopped(4) : QByteArrayView());
    } else {
        const QByteArrayView value = text.sliced(2);
        if (m_texts == 0)
            SetMidiText(m_info, MidiTextTitle, value);
        else if (m_texts == 1)
            SetMidiText(m_info, MidiTextAuthor, value);
        else if (m_texts == 2)
            SetMidiText(m_info, MidiTextCopyright, value);
    }
    ++m_texts;
}

void CMidiTrackTexts::AddBanner(QByteArrayView banner)
{
    if (m_texts == 0) {
        // "Author - Title": the author loses the blank before the dash.
        const qsizetype dash = banner.indexOf('-');
        if (dash < 0) {
            SetMidiText(m_info, MidiTextAuthor, banner);
            SetMidiText(m_info, MidiTextTitle, {});
        } else {
            SetMidiText(m_info, MidiTextAuthor, banner.first(std::max<qsizetype>(dash - 1, 0)));
            SetMidiText(m_info, MidiTextTitle, banner.sliced(dash + 1));
        }
    } else if (m_texts == 1) {
        if (m_info.aszTexts[MidiTextTitle].isEmpty())
            SetMidiText(m_info, MidiTextTitle, banner);
    } else if (m_texts == 2) {
        SetMidiText(m_info, MidiTextCopyright, banner);
    }
}

} // namespace velmora

#pragma once

#include "legacy/MidiSongInfo.h"

#include <QByteArrayView>
#include <QString>

namespace velmora {

// Decides the code page of the texts when the style has not: by the style, and for VC-1
// files by the texts themselves.
void DecideMidiCodePage(MidiSongInfo &info);

// An 8-bit text in a code page; code page 0 is the ANSI code page. Empty for a code page
// the system cannot convert.
QString DecodeMidiText(const QByteArray &text, int codePage);

// The title and artist of a file with a style, converted from its code page.
void ConvertMidiTitles(MidiSongInfo &info);

// A .kar file without a style track is named "Title-Artist_Name.kar".
void ApplyKarFileName(MidiSongInfo &info, const QString &fileName);

} // namespace velmora

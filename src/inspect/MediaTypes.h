#pragma once

#include "check/ItemArray.h"
#include "check/ItemInfo.h"

#include <QString>

namespace velmora {

// Labels found by recognising a karaoke file from its content, with its playing time.
struct SKaraokeIdentity
{
    QString strGeneral;
    QString strFormat;
    bool bAccepted = false; // the graphics reader accepted the file
    int nDuration = 0;
};

bool IsKnownMediaFile(const QString &name);

// Merges the files of one song that follow items[first]: returns how many following items
// joined it, with their names in fileList (graphics first, then audio, then the rest).
int GroupSongFiles(const CArray<_ITEMINFO> &items, int first, QString &fileList);

// Recognition by the ".cdg" / ".mdk" ending, after the media tool described the file: may
// extend the general text, set the format label and a duration text "%dmn %ds".
void IdentifyKaraokeFileByExtension(const QString &path, QString &generalText, QString &formatLabel,
                                    QString &durationText);

// Recognition by the file's header and trailer bytes, validated by the graphics reader.
SKaraokeIdentity IdentifyKaraokeFileByContent(const QString &path);

} // namespace velmora

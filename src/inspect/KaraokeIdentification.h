#pragma once

#include <QByteArrayView>
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

// Recognition by the ".cdg" / ".mdk" ending, after the media tool described the file: may
// extend the general text, set the format label and a duration text "%dmn %ds".
void IdentifyKaraokeFileByExtension(const QString &path, QString &generalText, QString &formatLabel,
                                    QString &durationText);

// Recognition by the file's header and trailer bytes, validated by the graphics reader.
SKaraokeIdentity IdentifyKaraokeFileByContent(const QString &path);

// Playing time of decoded graphics: the pack number of the last 16-byte record / 75.
int GraphicsPlayingTime(QByteArrayView records);

} // namespace velmora

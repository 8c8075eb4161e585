#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora::samplegen {

// A PCM WAV file of silence: 8 kHz, mono, 8 bits.
QByteArray MakeWavFile(int seconds);

// An uncompressed AVI of grey 16x16 frames at 5 frames per second, with its index.
QByteArray MakeAviFile(int seconds);

// A maker's MIDI karaoke file: the "MD-LJM" header with the playing time in milliseconds
// at offset 16, followed by a little body.
QByteArray MakeMdkFile(quint32 milliseconds);

// The smallest Standard MIDI File: format 0, one track holding only its end.
QByteArray MakeMinimalMidiFile();

struct SZipMember
{
    QString name;
    QByteArray content;
};
// A zip archive whose members are stored uncompressed, with a central directory.
QByteArray MakeStoredZip(const QList<SZipMember> &members);

} // namespace velmora::samplegen

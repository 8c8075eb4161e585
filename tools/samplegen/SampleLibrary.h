#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace velmora::samplegen {

struct SSampleFile
{
    QString relativePath; // "/"-separated, plain ASCII
    QByteArray content;
};

// The whole sample library in the order it is written: tagged MP3 and CD+G pairs, a
// "Song-.mp3" with "Song.cdg", numbered songs, a pair in a subfolder, a file of unknown
// type, an MP3 without any frame sync next to a good CD+G, and a .bak copy.
QList<SSampleFile> BuildSampleLibrary();

// Every written file, and the subfolders, get this modification time so that
// directory listings of the library do not change from run to run.
QDateTime SampleFileTime();

// Writes the library below folder, creating folders as needed. Only the library's own
// files are overwritten; nothing else in folder is touched. On failure returns false
// and, when error is given, a message naming the path that failed.
bool WriteSampleLibrary(const QString &folder, QString *error, int *filesWritten = nullptr);

} // namespace velmora::samplegen

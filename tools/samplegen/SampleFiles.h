#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::samplegen {

// Writing generated libraries to disk. Every function returns false on failure and, when
// error is given, a message naming the path that failed.

// The message "cannot <what> <path>: <reason>"; always false.
bool FailSampleWrite(QString *error, const QString &what, const QString &path, const QString &reason);

// Creates the folder and its parents; a file in the way is an error.
bool MakeSampleFolder(const QString &path, QString *error);

// Writes the file whole and gives it the fixed sample time (SampleFileTime).
bool WriteSampleFile(const QString &path, const QByteArray &content, QString *error);

// Gives a folder the sample time; call it after the folder's files are written, since
// writing into a folder changes its time.
bool SetSampleFolderTime(const QString &path, QString *error);

} // namespace velmora::samplegen

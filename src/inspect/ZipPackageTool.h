#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

// Zip packages through the outside unzip tool (program folder first, then PATH), for the
// packages the in-process reader cannot read and for previews that need files on disk.

// Lists a package. True for a karaoke package (an MP3 and a graphics member); the lengths
// and marks (ZIP_MARK_*) are set to 0 first and then taken from the listing.
bool ListZipPackage(const QString &zipPath, qint64 &mp3Length, qint64 &graphicsLength, quint32 &marks);

// Unpacks a package into a fresh "dec" folder below the "_unzip" work folder. mp3Path gets
// the extracted MP3 (empty when none); it stays on disk for the caller. The graphics member
// chosen by marks (".mcg", else ".cdg", else ".ncg") is read into graphicsBuffer, whose size
// on entry is the most it may take: afterwards it holds the member, or nothing when the
// member is larger or unreadable. Every other member is deleted. Always true.
bool ExtractZipPackage(QString &mp3Path, const QString &zipPath, QByteArray &graphicsBuffer, quint32 marks);

// The analysis of a package the in-process reader cannot read: lists it, unpacks only its MP3
// members into a folder of this call's own below the "_unzip" work folder, analyses the
// first one written (ReadMp3FileTags) and removes the folder with everything in it. True
// when an MP3 was analysed; result holds its values.
bool ReadZipPackageByTool(const QString &zipPath, QStringList &result);

// The file an extraction line names, below folder; empty when the name would lead outside.
QString ExtractedMemberPath(const QString &folder, const QString &printedName);

} // namespace velmora

#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace velmora {

// Playlists written on Windows name song folders with drive letters ("E:\Karaoke\").
// The settings section "Drives" maps a letter to the folder it is mounted at here (key
// "E", value "/media/usb"); such a folder becomes that folder plus the rest of the path
// with "\" turned into "/". Paths without a drive letter are taken as they are.
class CDriveMap
{
public:
    // Reads the mapping from the settings store.
    static CDriveMap FromSettings();
    void SetMountPoint(QChar letter, const QString &mountPoint);

    // The letter of a "X:" path, or a null character.
    static QChar DriveLetterOf(const QString &path);
    // The path below its drive ("Karaoke/Pop/" of "E:\Karaoke\Pop\"), separators made "/".
    static QString PathBelowDrive(const QString &path);

    QString MountPointOf(QChar letter) const;
    // The local form of a playlist folder or path.
    QString NativePath(const QString &path) const;
    // The drive whose mount point holds a local path (the longest match); null when none.
    QChar DriveHolding(const QString &nativePath) const;
    // True when the letter is mounted from an optical disc.
    bool IsOpticalDrive(QChar letter) const;

    // Folders to look in for a song on drive X: when it is not where it was: the rest of its
    // path below every folder from the playlist's own folder up to the root, nearest first.
    static QStringList RelocationCandidates(const QString &folder, const QString &playlistFolder);

private:
    QString m_mountPoints[26];
};

} // namespace velmora

#pragma once

#include <QFile>
#include <QString>

#include <memory>

namespace velmora {

// Work, cache and update files live where no other local user can reach them:
// "$XDG_RUNTIME_DIR/velmora" when that variable names a folder of ours, otherwise
// "velmora-UID" in the system's temporary folder. The folder is checked before each use: a
// real folder (not a link), owned by this user, closed to group and others. One that fails
// (made by someone else first, or opened up) is refused and never used; the process then
// works in a folder of its own made with a random name, removed when the process ends.
// Empty only when no folder at all can be had.
QString PrivateWorkFolder();

// The folder at relative ("/"-separated plain steps) below the private folder; each step is
// made with mode 0700 when missing and refused unless it is a real folder of ours. Empty
// when refused.
QString PrivateWorkSubfolder(const QString &relative);

// A real folder, not a link, owned by this user, with no access for group or others.
bool IsPrivateFolder(const QString &path);

// Makes folder (mode 0700) when missing; true when it then is a private folder.
bool EnsurePrivateFolder(const QString &folder);

// A new folder with a unique name (prefix and random characters) in folder, mode 0700.
// Empty when none can be made.
QString MakeUniqueFolder(const QString &folder, const QString &prefix);

// Removes folder and everything below it. Links are removed, never followed.
bool RemoveFolderTree(const QString &folder);

// A new file at path. Whatever entry has the name is removed first, and the file is made
// with O_EXCL and O_NOFOLLOW, so what is written lands in a new file of ours and never
// goes through a link. Null when it cannot be made.
std::unique_ptr<QFile> CreateFreshFile(const QString &path, int mode = 0600);

} // namespace velmora

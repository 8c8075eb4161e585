#pragma once

#include <QString>

namespace velmora {

// Paths are limited to 259 characters, so a work path that would be longer is refused.
constexpr qsizetype kMaxWorkPath = 259;

// The work folder (the private per-user folder of platform/PrivateFolder.h) joined with
// name; doubled separators collapse to one. Empty when the folder is refused or the result
// would be longer than kMaxWorkPath: a cut path could name a folder of someone else's.
QString TempWorkPath(const QString &name = {});

// The subfolder name of the work folder, made (mode 0700) when missing and checked before
// it is handed out; empty when it is refused or its path is too long.
QString WorkSubfolder(const QString &name);

} // namespace velmora

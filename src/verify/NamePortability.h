#pragma once

#include <QString>

namespace velmora {

// The longest path Windows takes, in UTF-16 units without the terminator.
inline constexpr qsizetype kMaxPortablePath = 259;

// Why a file or folder of the checked tree cannot be copied as it is to a FAT or exFAT stick
// or a Windows host; empty when it can. relativePath is its path below the checked folder
// ("/" between parts); rootName is the checked folder's own name, which a copy keeps.
QString NotPortableReason(const QString &relativePath, const QString &rootName);

} // namespace velmora

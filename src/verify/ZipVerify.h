#pragma once

#include "verify/FileVerify.h"

namespace velmora {

// Members beyond this count, and members that declare more bytes than this, are not read.
inline constexpr int kMaxVerifiedMembers = 4096;
inline constexpr qint64 kMaxVerifiedMemberSize = 512LL * 1024 * 1024;

// Unpacks every member of a zip package once, checking its CRC-32, walks the audio and
// scans the graphics members, and fills findings with the package's reasons and prints.
void VerifyZipPackage(const QString &path, SFileFindings &findings);

} // namespace velmora

#pragma once

#include "verify/CdgPackScan.h"
#include "verify/Mp3FrameWalk.h"
#include "verify/VerifyReason.h"

#include <QList>

namespace velmora {

// Damaged places are named one by one up to this many; the rest are summed up in one more.
inline constexpr int kNamedDamagedRanges = 3;
// A Xing or VBRI count may differ by one frame from the frames walked: encoders disagree
// on whether the header frame counts itself.
inline constexpr qint64 kDeclaredFrameSlack = 1;
// Missing audio beyond this is broken, less is a warning.
inline constexpr double kTruncatedBroken = 1.0;

// The reasons of an MP3 stream's walk; prefix opens every text (for a package member).
QList<SFileReason> Mp3Reasons(const SMp3Walk &walk, const QString &prefix = {});
// The reasons of a CD+G stream's scan.
QList<SFileReason> CdgReasons(const SCdgScan &scan, const QString &prefix = {});

} // namespace velmora

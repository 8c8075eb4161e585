#pragma once

#include "verify/VerifyReason.h"

#include <QString>

#include <optional>

namespace velmora {

// "m:ss" of a playing time or a position in it.
QString TimeText(double seconds);
// "0.4 s" below a minute, else "m:ss".
QString SpanText(double seconds);

// Playing times further apart than this make a length-mismatch; graphics that end this much
// sooner than the audio leave the singers without lyrics: broken.
inline constexpr double kLengthTolerance = 5.0;
inline constexpr double kGraphicsShortBroken = 30.0;

// The length-mismatch of graphics and audio of one song, when there is one.
std::optional<SFileReason> LengthMismatchReason(double graphicsSeconds, const QString &graphicsName,
                                                double audioSeconds, const QString &audioName);

// What bytes that should be audio look like instead ("a WAV file", "a zip package"), or empty.
QString ContentKindText(QByteArrayView head);

} // namespace velmora

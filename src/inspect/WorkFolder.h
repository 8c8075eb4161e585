#pragma once

#include <QString>

namespace velmora {

// Paths are limited to 259 characters, so a work path that would be longer is refused.
constexpr qsizetype kMaxWorkPath = 259;

// The work folder "{1B163BAA-6946-4e0f-AF36-DC66D906F2EA}" under the system's temporary
// folder (created when missing), joined with name; doubled separators collapse to one.
// Empty when the result would be longer than kMaxWorkPath: a cut path could name a
// folder of someone else's.
QString TempWorkPath(const QString &name = {});

} // namespace velmora

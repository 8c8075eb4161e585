#pragma once

#include <QStringList>

namespace velmora {

struct _ITEMINFO;

// Copies an analysis result into a row: the playing time from slot 0 when there is one,
// title, artist, album, year, track and genre (and the details-loaded flag) when the
// result has all nine slots.
void ApplyAnalysisResult(_ITEMINFO &item, const QStringList &result);

} // namespace velmora

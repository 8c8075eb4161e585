#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The zip branch of the analysis: tags and playing time of the MP3 inside a song package
// (one with graphics and an MP3 among fewer than 16 entries). True when an MP3 member was
// analysed.
bool ReadZipPackageTags(const QString &path, QStringList &result);

} // namespace velmora

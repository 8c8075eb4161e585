#pragma once

#include <QString>

namespace velmora {

// The likely file of a playlist entry whose file is not in its folder, as a path, or empty:
// the same name in another case or Unicode normal form, the same song under another
// extension, or the name inside a zip package of the song's base name ("pkg.zip:name").
QString SuggestMissingFile(const QString &folder, const QString &fileName);

} // namespace velmora

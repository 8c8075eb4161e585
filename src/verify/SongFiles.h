#pragma once

#include <QStringList>

namespace velmora {

struct _ITEMINFO;

// The full paths of the files of one row of the song check, graphics first as the row lists
// them. Every part of the verification asks here, so that how a row keeps its files is
// known in one place only.
QStringList SongFilePaths(const _ITEMINFO &item);

} // namespace velmora

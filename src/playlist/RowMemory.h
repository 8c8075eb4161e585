#pragma once

#include "base/ItemInfo.h"

#include <QString>

namespace velmora {

// What a row of the playlist grid holds in memory, counted as the heap hands it out: the
// record itself, and each text that has a block of its own as that block (the string's
// header, its characters and terminator, plus the allocator's 8-byte header, rounded up
// to its 16-byte steps). A text that shares its block with the same field of the row
// before (previous, when given) was counted with that row; other shared blocks are
// counted for each field that holds them.
qint64 TextHeapBytes(qsizetype units);
qint64 TextHeapBytes(const QString &text);
qint64 RowHeapBytes(const _ITEMINFO &row, const _ITEMINFO *previous = nullptr);

} // namespace velmora

#pragma once

namespace velmora {

struct _ITEMINFO;

// Reads tags and playing time of every file of a song row. Returns 1 on success or when
// there is nothing to do, 0 on an error (the result text then names it).
int LoadMediaFile(_ITEMINFO &item);

} // namespace velmora

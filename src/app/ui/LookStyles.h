#pragma once

namespace velmora {

// Gives the application the toolkit style and colours that stand for a look id (210 to 218;
// any other id takes the colours of the last Office-like scheme, blue).
void ApplyLookStyle(int look);

} // namespace velmora

#pragma once

#include <QString>

namespace velmora {

// The ID3 version 1 genre list with the Winamp extensions: 0 "Blues" to 147 "SynthPop".
constexpr int kGenreCount = 148;

// The name of a genre index, or an empty text for any index outside the list.
QString GenreName(int index);

} // namespace velmora

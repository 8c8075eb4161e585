#pragma once

namespace velmora {

// Names the running application "Velmora" of "Klovenix" with its version, which places its
// settings; both forms of the program call it once their application object exists.
void NameApplication();

} // namespace velmora

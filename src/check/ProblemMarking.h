#pragma once

namespace velmora {

class CDirItemList;

// Marks item e as a problem file (checked, red, with its unknown-media result and log line)
// and the unmarked items of the same path without extension as its companions.
void MarkProblemFile(CDirItemList &list, int e);

} // namespace velmora

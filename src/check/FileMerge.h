#pragma once

namespace velmora {

class CDirItemList;

// Merges the files of each song into the row of its first file (graphics first); the other
// members' rows are removed. Runs after the directory order, which puts members side by side.
void FileMerge(CDirItemList &list);

} // namespace velmora

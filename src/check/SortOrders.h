#pragma once

namespace velmora {

class CDirItemList;

// Directory order: ".." first, folders before files, then full paths without regard to case.
void SortByDirectoryOrder(CDirItemList &list);
// File order (sort column 0): ".." first, folders before files, then songs with numeric
// names by number, the rest by their file-name lists without regard to case.
void SortByFileOrder(CDirItemList &list);

} // namespace velmora

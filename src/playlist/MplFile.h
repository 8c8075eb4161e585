#pragma once

#include <QString>

namespace velmora {

class CRevItemList;

inline constexpr char16_t kInvalidMplFile[] = u"KLOVMPL : Invalid KLOV *.mpl file";
inline constexpr char16_t kTruncatedMplFile[] = u"KLOVMPL : Unexpected end of *.mpl file";

// Larger files are refused as unloadable; a million songs of revision 2 take about 60 MB.
inline constexpr qint64 kMaxMplBytes = 512 * 1024 * 1024;

// Appends the songs of an MPL playlist ("klovmplfile" or "klovmplrev2") to the grid. On
// success sets the grid's playlist path, folder and encoding (0). A file that ends inside
// a record keeps the rows read before it and fails.
bool LoadMplFile(CRevItemList &grid, const QString &path);

} // namespace velmora

#pragma once

#include "base/ItemInfo.h"

#include <QString>
#include <QStringList>

namespace velmora {

class CDirItemList;

// What the result list shows of a row, kept apart from any toolkit so that every rule can
// be tested without a display. Colours are 0x00BBGGRR values.
namespace dirlist {

constexpr quint32 kBlack = 0x000000;
constexpr quint32 kBlue = 0xFF0000;
constexpr quint32 kAzure = 0xFF8000;
constexpr quint32 kRed = 0x0000FF;
constexpr quint32 kGrey = 0x808080;
constexpr int kTextLimit = 259;
constexpr int kToolTipLimit = 79;

enum class ECheckBox { None, Empty, Ticked };

// Column texts: Filename (up to the first ";"), Type, Title, Artist, Album, Duration
// ("%d:%02d", empty for 0) and Result, each at most kTextLimit units.
QString CellText(const _ITEMINFO &item, int column);
quint32 TextColour(const _ITEMINFO &item);
// Only marked rows carry a check box.
ECheckBox CheckBox(const _ITEMINFO &item);
// The whole file-name list, cut to kToolTipLimit units.
QString ToolTip(const _ITEMINFO &item);
// The folder a double-click opens: the row's path, or for ".." the parent of the folder the
// row sits in; empty for file rows.
QString FolderToOpen(const _ITEMINFO &item);
// The files on disk a row stands for (_ITEMINFO::FilePaths): the first is its path, the
// others sit beside it.
QStringList RowFiles(const _ITEMINFO &item);

// Inverts the tick of a marked row; false (nothing changed) for an unmarked one.
bool ToggleCheck(CDirItemList &list, int row);
// Ticks or unticks every marked row, redrawing those that changed.
void SetAllChecks(CDirItemList &list, bool checked);

} // namespace dirlist
} // namespace velmora

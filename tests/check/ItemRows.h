#pragma once

#include "base/ItemInfo.h"

#include <QString>

namespace velmora::test {

// A row of the result list in /k/Pop/, named after the first of its file names.
inline _ITEMINFO Row(const QString &names, quint32 flags = ITEM_WALK | ITEM_COLOURED)
{
    _ITEMINFO item;
    item.dwFlags = flags;
    item.szFileName = names;
    item.szPath = QStringLiteral("/k/Pop/") + names.section(u';', 0, 0);
    return item;
}

inline _ITEMINFO FolderRow(const QString &name, const QString &path)
{
    _ITEMINFO item = Row(name);
    item.dwFileAttributes = 0x10;
    item.szPath = path;
    return item;
}

} // namespace velmora::test

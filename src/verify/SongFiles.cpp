#include "verify/SongFiles.h"

#include "base/ItemInfo.h"
#include "inspect/FileList.h"

namespace velmora {

QStringList SongFilePaths(const _ITEMINFO &item)
{
    QStringList names;
    SplitFileList(item.szFileName, names);
    const QString folder = FolderOf(item.szPath);
    QStringList paths;
    for (const QString &name : std::as_const(names))
        paths.append(folder + name);
    return paths;
}

} // namespace velmora

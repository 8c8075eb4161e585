#include "playlist/PlaylistCommand.h"

#include "base/RunLogs.h"
#include "inspect/FileList.h"
#include "playlist/RevItemList.h"

namespace velmora {

void LoadPlaylistAndCheckFiles(CRevItemList &grid, const QString &path)
{
    grid.ListSelectDirectory(path, false);
    for (int i = 0; i < grid.GetItemCount(); ++i) {
        QString folder;
        QString file;
        if (grid.CheckRowFile(i, folder, file))
            WriteLog(2, u"CHECK, MediaFileStatus %s (%s), OK\r\n", folder, LogSafePath(file));
        else
            WriteLog(3, u"CHECK, MediaFileStatus %s (%s), FIle not found\r\n", folder, LogSafePath(file));
    }
}

} // namespace velmora

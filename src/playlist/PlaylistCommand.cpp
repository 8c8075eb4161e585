#include "playlist/PlaylistCommand.h"

#include "base/RunLogs.h"
#include "inspect/FileList.h"
#include "playlist/RevItemList.h"

namespace velmora {

int LoadPlaylistAndCheckFiles(CRevItemList &grid, const QString &path, const RowCheckGate &beforeRow)
{
    grid.ListSelectDirectory(path, false);
    const int count = grid.GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (beforeRow && !beforeRow(i, count)) {
            WriteLog(0, u"LIST, Check stopped by the user after %d of %d files\r\n", i, count);
            return i;
        }
        QString folder;
        QString file;
        if (grid.CheckRowFile(i, folder, file))
            WriteLog(2, u"CHECK, MediaFileStatus %s (%s), OK\r\n", folder, LogSafePath(file));
        else
            WriteLog(3, u"CHECK, MediaFileStatus %s (%s), FIle not found\r\n", folder, LogSafePath(file));
    }
    return count;
}

} // namespace velmora

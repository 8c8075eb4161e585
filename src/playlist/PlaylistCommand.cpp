#include "playlist/PlaylistCommand.h"

#include "base/RunLogs.h"
#include "inspect/FileList.h"
#include "playlist/RevItemList.h"

namespace velmora {

namespace {

// Holds the rows' found checks for the command (see HoldFoundChecksFrom) and lets them go at
// its end, however it ends.
class CHeldFoundChecks
{
public:
    explicit CHeldFoundChecks(CRevItemList &grid) : m_grid(grid) { m_grid.HoldFoundChecksFrom(0); }
    ~CHeldFoundChecks() { m_grid.HoldFoundChecksFrom(-1); }
    CHeldFoundChecks(const CHeldFoundChecks &) = delete;
    CHeldFoundChecks &operator=(const CHeldFoundChecks &) = delete;

private:
    CRevItemList &m_grid;
};

} // namespace

int LoadPlaylistAndCheckFiles(CRevItemList &grid, const QString &path, const RowCheckGate &beforeRow)
{
    if (grid.IsLoading())
        return 0;
    // Every log line lets the window paint the grid; a painted row would be settled before
    // its line is written, and the line would lose its folder and file.
    const CHeldFoundChecks held(grid);
    grid.ListSelectDirectory(path, false);
    const int count = grid.GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (beforeRow && !beforeRow(i, count)) {
            WriteLog(0, u"LIST, Check stopped by the user after %d of %d files\r\n", i, count);
            return i;
        }
        QString folder;
        QString file;
        const bool found = grid.CheckRowFile(i, folder, file);
        grid.HoldFoundChecksFrom(i + 1);
        if (found)
            WriteLog(2, u"CHECK, MediaFileStatus %s (%s), OK\r\n", folder, LogSafePath(file));
        else
            WriteLog(3, u"CHECK, MediaFileStatus %s (%s), FIle not found\r\n", folder, LogSafePath(file));
    }
    return count;
}

} // namespace velmora

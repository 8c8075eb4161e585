#include "app/ViewLayout.h"

namespace velmora {

namespace {

// Gaps around the path field: after SubFolder, and before Playlist.
constexpr int kPathFieldLead = 17;
constexpr int kPathFieldTrail = 23;
constexpr int kEdge = 2;

int RightButtonsWidth(const SCommandBarWidths &widths)
{
    return widths.nPlaylist + widths.nClear + widths.nSave + widths.nErrorView + widths.nMove;
}

} // namespace

SSplitterRows IdealSplitterRows(int clientHeight)
{
    return {clientHeight * 3 / 4, clientHeight / 4};
}

SCommandBarLayout LayOutCommandBar(int cx, int cy, const SCommandBarWidths &widths)
{
    SCommandBarLayout layout;
    layout.folder = QRect(kEdge, 0, widths.nFolder, kBarHeight);
    layout.subFolder = QRect(layout.folder.width() + kEdge, 0, widths.nSubFolder, kBarHeight);
    // Right-aligned from the right edge: Move, Error View, Save, Clear, Playlist.
    int e = cx;
    const std::pair<QRect *, int> right[] = {{&layout.move, widths.nMove}, {&layout.errorView, widths.nErrorView},
                                             {&layout.save, widths.nSave}, {&layout.clear, widths.nClear},
                                             {&layout.playlist, widths.nPlaylist}};
    for (const auto &[rect, width] : right) {
        e -= width;
        *rect = QRect(e - kEdge, 0, width, kBarHeight);
    }
    const int pathLeft = layout.folder.width() + layout.subFolder.width() + kPathFieldLead;
    layout.pathField = QRect(pathLeft, 1, layout.playlist.x() - kPathFieldTrail - pathLeft, kPathFieldHeight);
    layout.lists = QRect(0, kBarHeight, cx, cy - kBarHeight);
    return layout;
}

int CommandBarMinimumWidth(const SCommandBarWidths &widths)
{
    return widths.nFolder + widths.nSubFolder + kPathFieldLead + kMinimumPathFieldWidth + kPathFieldTrail
        + RightButtonsWidth(widths) + kEdge;
}

} // namespace velmora

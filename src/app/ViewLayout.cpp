#include "app/ViewLayout.h"

namespace velmora {

SSplitterRows IdealSplitterRows(int clientHeight)
{
    return {clientHeight * 3 / 4, clientHeight / 4};
}

SCommandBarLayout LayOutCommandBar(int cx, int cy)
{
    SCommandBarLayout layout;
    const QSize button(kButtonWidth, kBarHeight);
    layout.folder = QRect(QPoint(2, 0), button);
    layout.subFolder = QRect(QPoint(layout.folder.width() + 2, 0), button);
    layout.pathField = QRect(layout.folder.width() + layout.subFolder.width() + 17, 1,
                             cx - 15 * kLayoutUnit, kPathFieldHeight);
    // Right-aligned from the right edge: Move, Error View, Save, Clear, Playlist.
    int e = cx;
    for (QRect *right : {&layout.move, &layout.errorView, &layout.save, &layout.clear, &layout.playlist}) {
        e -= button.width();
        *right = QRect(QPoint(e - 2, 0), button);
    }
    layout.lists = QRect(0, kBarHeight, cx, cy - kBarHeight);
    return layout;
}

} // namespace velmora

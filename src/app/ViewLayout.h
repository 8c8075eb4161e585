#pragma once

#include <QRect>

namespace velmora {

// The splitter of the main frame: three quarters for the main view, one for the trace pane,
// at creation only; neither row may be dragged below kMinimumRowHeight.
struct SSplitterRows
{
    int nTop = 0;
    int nBottom = 0;
};
constexpr int kMinimumRowHeight = 50;
SSplitterRows IdealSplitterRows(int clientHeight);

// The main window is never lower than this: the bar, a header and several rows above, a few
// lines of the trace pane below. Its narrowest width is the command bar's.
constexpr int kMinimumWindowHeight = 400;

// The command bar of the main view, in units of 42 pixels on a bar 28 pixels high.
constexpr int kLayoutUnit = 42;
constexpr int kBarHeight = 28;
constexpr int kButtonWidth = 2 * kLayoutUnit;
constexpr int kPathFieldHeight = 26;
// The path field never gets narrower than this, so that a path can still be read in it.
constexpr int kMinimumPathFieldWidth = 3 * kLayoutUnit;

// The width of each control of the bar: kButtonWidth, or more where a caption needs it at
// the font in use.
struct SCommandBarWidths
{
    int nFolder = kButtonWidth;
    int nSubFolder = kButtonWidth;
    int nPlaylist = kButtonWidth;
    int nClear = kButtonWidth;
    int nSave = kButtonWidth;
    int nErrorView = kButtonWidth;
    int nMove = kButtonWidth;
};

struct SCommandBarLayout
{
    QRect folder, subFolder, pathField;
    QRect playlist, clear, save, errorView, move;
    QRect lists; // both lists share the area under the bar
};

// Places the controls for a client area of cx by cy. With every control kButtonWidth wide
// the path field is cx - 630 wide; wider controls take their room from the path field.
SCommandBarLayout LayOutCommandBar(int cx, int cy, const SCommandBarWidths &widths = {});

// The narrowest client width at which no control of the bar covers another and the path
// field keeps kMinimumPathFieldWidth.
int CommandBarMinimumWidth(const SCommandBarWidths &widths = {});

} // namespace velmora

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

// The command bar of the main view, in units of 42 pixels on a bar 28 pixels high.
constexpr int kLayoutUnit = 42;
constexpr int kBarHeight = 28;
constexpr int kButtonWidth = 2 * kLayoutUnit;
constexpr int kPathFieldHeight = 26;

struct SCommandBarLayout
{
    QRect folder, subFolder, pathField;
    QRect playlist, clear, save, errorView, move;
    QRect lists; // both lists share the area under the bar
};

// Places the controls for a client area of cx by cy, with every button kButtonWidth wide.
SCommandBarLayout LayOutCommandBar(int cx, int cy);

} // namespace velmora

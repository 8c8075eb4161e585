#pragma once

namespace velmora {

// What a view of the playlist grid hears from it. Cells are produced on demand from the
// row array, so these only say what changed; the About calls come before the change.
class IRevListObserver
{
public:
    virtual ~IRevListObserver() = default;
    virtual void OnRowsAboutToReset() = 0;
    virtual void OnRowsReset() = 0;
    virtual void OnRowsAboutToAppend(int first, int last) = 0;
    virtual void OnRowsAppended() = 0;
    virtual void OnRowsChanged(int first, int last) = 0;
    // Widths, order or shown state of the columns changed.
    virtual void OnColumnsChanged() = 0;
    // Fit a column to the larger of its contents and its header; the view measures the
    // texts and answers with SetColumnWidth.
    virtual void OnAutoSizeColumn(int column) = 0;
    virtual void OnSortChanged(int column, bool ascending, bool scrollToTop) = 0;
    // A load started (show the wait cursor) or ended.
    virtual void OnBusyChanged(bool busy) = 0;
};

} // namespace velmora

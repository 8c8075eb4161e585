#pragma once

namespace velmora {

struct SButtonStates
{
    bool bClear = false;
    bool bMove = false;
};

// Clear and Move act only on something there: in playlist mode Clear follows the grid's
// rows and Move is off (it works on the result list only); otherwise both follow the list.
SButtonStates UpdateButtonStates(bool playlistMode, int listItems, int gridRows);

} // namespace velmora

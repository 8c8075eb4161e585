#include "app/ButtonRules.h"

namespace velmora {

SButtonStates UpdateButtonStates(bool playlistMode, int listItems, int gridRows)
{
    if (playlistMode)
        return {gridRows > 0, false};
    return {listItems > 0, listItems > 0};
}

} // namespace velmora

#pragma once

#include <QIcon>

namespace velmora {

// The small picture of an icon index handed out by the file-type cache, from the desktop's
// icon theme (a generic document icon when the theme has none), made once per index.
QIcon FileIcon(int iconIndex);

// Picks an installed icon theme when the desktop named none (a bare X server or offscreen).
void ChooseIconTheme();

} // namespace velmora

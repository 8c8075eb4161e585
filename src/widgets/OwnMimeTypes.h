#pragma once

#include <QString>

namespace velmora {

// A file type of this program, as packaging/velmora-mime.xml defines it for the desktop.
struct SOwnMimeType
{
    const char16_t *szName;
    const char16_t *szSuffix; // the file name ends in "." and this, in any case
    const char16_t *szComment;
    const char16_t *szIcon;
};

// Our own type of a file, by its name, or nullptr. The desktop's database may not hold our
// types (a build tree), and where it does, other formats claim the same suffix: MPL playlists
// end in ".mpl" like MPlayer2 subtitles, and a name alone must name ours in this program.
const SOwnMimeType *OwnMimeTypeOf(const QString &path);

} // namespace velmora

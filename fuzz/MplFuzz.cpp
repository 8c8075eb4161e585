// MPL playlists: the archive-string reader alone, and the whole load into a grid over a
// scratch file.
#include "fuzz/FuzzTargets.h"

#include "fuzz/ScratchFile.h"
#include "playlist/ArchiveString.h"
#include "playlist/MplFile.h"
#include "playlist/RevItemList.h"

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

bool FuzzMpl(QByteArrayView data)
{
    // Every string read moves on by at least its one-byte prefix and never past the end.
    CByteReader reader(data);
    while (reader.Remaining() > 0) {
        const qsizetype before = reader.Position();
        const std::optional<QString> text = ReadArchiveString(reader);
        if (!text)
            break;
        if (reader.Position() <= before || reader.Position() > data.size() || text->size() > data.size())
            return false;
    }
    const QString path = WriteScratchFile(u"playlist.mpl"_s, data);
    if (path.isEmpty())
        return true;
    // One grid for every input, as the window keeps one: making a grid reads the settings
    // store, which no load needs twice. Each load empties it first; it is emptied again
    // afterwards so that no input's rows outlive it.
    static CRevItemList grid;
    grid.ListSelectDirectory(path, false);
    // A record holds two strings of at least one byte each, and the rows stay within what
    // a load of that many bytes may hold.
    const bool rowsFit =
        grid.GetItemCount() <= data.size() / 2 && grid.HeldBytes() <= SMplRowBudget{}.For(data.size());
    grid.RemoveAllRows();
    return rowsFit;
}

} // namespace velmora::fuzz

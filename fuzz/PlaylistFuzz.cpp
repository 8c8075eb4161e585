// The maker's text playlists: the whole reader over a scratch file, and the field rules of
// single lines.
#include "fuzz/FuzzTargets.h"

#include "base/ItemInfo.h"
#include "fuzz/ScratchFile.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/PlaylistLayout.h"
#include "playlist/SongRecordFields.h"

#include <algorithm>

namespace velmora::fuzz {

using namespace Qt::Literals::StringLiterals;

namespace {

bool IsTrimmed(const QString &text)
{
    return text == text.trimmed();
}

bool LineFieldsHold(const QString &line, const QString &path)
{
    for (const bool jukeboxList : {false, true})
        DetectPlaylistLayout(line, path, jukeboxList);
    for (const EPlaylistLayout layout : {EPlaylistLayout::TabList, EPlaylistLayout::JukeboxSongList,
                                         EPlaylistLayout::FullRecordList, EPlaylistLayout::BarList,
                                         EPlaylistLayout::HashList, EPlaylistLayout::FixedColumns}) {
        const SSongFields fields = SplitSongFields(layout, line);
        if (!IsTrimmed(fields.strNumber) || !IsTrimmed(fields.strTitle) || !IsTrimmed(fields.strArtist)
            || !IsTrimmed(fields.strFile))
            return false;
    }
    _ITEMINFO item;
    ParseSettings(line, item);
    DecodeTrackText(line, item);
    return true;
}

} // namespace

bool FuzzPlaylist(QByteArrayView data)
{
    const QString path = WriteScratchFile(u"playlist.txt"_s, data);
    if (path.isEmpty())
        return true;
    QStringList songs;
    if (!ReadKlovPlaylist(path, songs) && !songs.isEmpty())
        return false;
    // Every song line comes from at least one line of the file.
    if (songs.size() > data.count('\n') + 1)
        return false;
    const QStringList lines = QString::fromUtf8(data).split(u'\n');
    return std::all_of(lines.begin(), lines.end(), [&](const QString &line) { return LineFieldsHold(line, path); });
}

} // namespace velmora::fuzz

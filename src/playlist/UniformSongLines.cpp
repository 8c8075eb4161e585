#include "playlist/UniformSongLines.h"

#include "base/Format.h"
#include "inspect/NumberedSongs.h"
#include "inspect/TextNumbers.h"
#include "platform/FileStatus.h"
#include "platform/NameLookup.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kSongsPerFolder = 1000;

// A "|" inside a field would shift every later field of the song line; the broken bar
// looks the same to the user.
QString FieldText(QString text)
{
    text.replace(u'|', u'\u00A6');
    return text;
}

QString ExistingSubfolder(const QString &folder, const QString &name)
{
    const QString path = ResolveNameNoCase(folder, name);
    SFileStatus status;
    return !path.isEmpty() && QueryFileStatus(path, &status) && status.bFolder ? path : QString();
}

} // namespace

QString SourceFolderOf(const QString &sourcePath)
{
    const qsizetype separator = sourcePath.lastIndexOf(u'/');
    return separator < 0 ? QString() : sourcePath.left(separator);
}

CUniformSongLines::CUniformSongLines(EPlaylistLayout layout, const QString &sourcePath)
    : m_layout(layout)
    , m_strSourceFolder(SourceFolderOf(sourcePath))
{
    m_strListFolder = ListFolder();
}

// The folder of every song of the list, except for the jukebox song list whose songs live
// in numbered folders.
QString CUniformSongLines::ListFolder() const
{
    switch (m_layout) {
    case EPlaylistLayout::TabList:
    case EPlaylistLayout::BarList:
    case EPlaylistLayout::HashList: {
        const QString songs = ExistingSubfolder(m_strSourceFolder, u"_Songs"_s);
        return songs.isEmpty() ? m_strSourceFolder : songs;
    }
    default:
        return m_strSourceFolder;
    }
}

// The file-name list of the song from its numbered folder; a song's files are given out
// once, so a number listed twice finds nothing the second time.
QString CUniformSongLines::TakeNumberedSong(int number, QString &folder)
{
    const int folderNumber = number / kSongsPerFolder * kSongsPerFolder;
    if (folderNumber != m_nFolderNumber) {
        m_nFolderNumber = folderNumber;
        const QString name = Format(u"ZR%06d", folderNumber);
        const QString found = ResolveNameNoCase(m_strSourceFolder, name);
        const QString path = found.isEmpty() ? m_strSourceFolder + u'/' + name : found;
        m_strNumberedFolder = path + u'/';
        if (!ListNumberedSongs(path, m_folderSongs))
            m_folderSongs.clear();
    }
    folder = m_strNumberedFolder;
    for (qsizetype i = 0; i < m_folderSongs.size(); ++i) {
        if (LeadingInteger(m_folderSongs.at(i)) == number)
            return m_folderSongs.takeAt(i);
    }
    return {};
}

QString CUniformSongLines::SongLine(const QString &dataLine)
{
    const SSongFields song = SplitSongFields(m_layout, dataLine);
    QString files;
    QString folder = m_strListFolder;
    switch (m_layout) {
    case EPlaylistLayout::TabList:
    case EPlaylistLayout::BarList:
    case EPlaylistLayout::HashList:
        files = song.strNumber + u".mcg"_s;
        break;
    case EPlaylistLayout::FixedColumns:
        files = song.strNumber + u".cdg"_s;
        break;
    case EPlaylistLayout::FullRecordList:
        files = song.strFile;
        break;
    case EPlaylistLayout::JukeboxSongList:
        files = TakeNumberedSong(std::max(0, LeadingInteger(song.strNumber)), folder);
        break;
    case EPlaylistLayout::Invalid:
        break;
    }
    return QStringList{FieldText(song.strNumber), FieldText(song.strTitle), FieldText(song.strArtist),
                       FieldText(files), FieldText(folder)}
        .join(u'|');
}

} // namespace velmora

#include "playlist/PlaylistLayout.h"

#include <QStringList>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype kSeparatorWindow = 16;
constexpr qsizetype kNumberColumns = 5;
constexpr qsizetype kArtistColumn = 44;

bool SeparatorNearStart(const QString &line, QChar separator)
{
    return QStringView(line).left(kSeparatorWindow).contains(separator);
}

QString Field(const QStringList &fields, qsizetype index)
{
    return fields.value(index).trimmed();
}

// Spreadsheets quote a tab-separated cell that holds special characters.
QString Unquoted(const QString &field)
{
    if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"'))
        return field.sliced(1, field.size() - 2).trimmed();
    return field;
}

SSongFields NumberTitleArtist(const QString &line, QChar separator)
{
    const QStringList fields = line.split(separator);
    return {Field(fields, 0), Field(fields, 1), Field(fields, 2), QString()};
}

SSongFields FixedColumnFields(const QString &line)
{
    const qsizetype comment = line.indexOf(u';');
    const QString cut = comment < 0 ? line : line.left(comment);
    return {cut.mid(0, kNumberColumns).trimmed(), cut.mid(kNumberColumns, kArtistColumn - kNumberColumns).trimmed(),
            cut.mid(kArtistColumn).trimmed(), QString()};
}

} // namespace

bool IsJukeboxSongListPath(const QString &sourcePath)
{
    QString path = sourcePath;
    path.replace(u'\\', u'/');
    return path.endsWith(u"Songs/Songlist.txt"_s, Qt::CaseInsensitive);
}

EPlaylistLayout DetectPlaylistLayout(const QString &line, const QString &sourcePath, bool jukeboxListAllowed)
{
    if (SeparatorNearStart(line, u'\t'))
        return EPlaylistLayout::TabList;
    if (SeparatorNearStart(line, u'|')) {
        if (jukeboxListAllowed && IsJukeboxSongListPath(sourcePath))
            return EPlaylistLayout::JukeboxSongList;
        return line.count(u'|') > 2 ? EPlaylistLayout::FullRecordList : EPlaylistLayout::BarList;
    }
    if (SeparatorNearStart(line, u'#'))
        return EPlaylistLayout::HashList;
    if (line.size() > kArtistColumn)
        return EPlaylistLayout::FixedColumns;
    return EPlaylistLayout::Invalid;
}

SSongFields SplitSongFields(EPlaylistLayout layout, const QString &line)
{
    switch (layout) {
    case EPlaylistLayout::TabList: {
        SSongFields song = NumberTitleArtist(line, u'\t');
        song.strTitle = Unquoted(song.strTitle);
        song.strArtist = Unquoted(song.strArtist);
        return song;
    }
    case EPlaylistLayout::JukeboxSongList:
    case EPlaylistLayout::BarList:
        return NumberTitleArtist(line, u'|');
    case EPlaylistLayout::HashList:
        return NumberTitleArtist(line, u'#');
    case EPlaylistLayout::FullRecordList: {
        const QStringList fields = line.split(u'|');
        return {Field(fields, 1), Field(fields, 2), Field(fields, 3), Field(fields, 0)};
    }
    case EPlaylistLayout::FixedColumns:
        return FixedColumnFields(line);
    case EPlaylistLayout::Invalid:
        break;
    }
    return {};
}

} // namespace velmora

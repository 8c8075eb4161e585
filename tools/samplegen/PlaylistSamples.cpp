#include "samplegen/PlaylistSamples.h"

#include "samplegen/CdgWriter.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/MplWriter.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/TextEncoding.h"

using namespace Qt::Literals::StringLiterals;

namespace velmora::samplegen {

namespace {

// A song pair whose tags differ from its juke.txt record, so a reader can tell which one
// the details came from.
void AddSongPair(QList<SSampleFile> &files, const QString &baseName, const QString &tagTitle, int seconds)
{
    const SId3Fields tags{tagTitle, u"Tag Artist"_s, u"Tag Album"_s, 2000, 1, u"Pop"_s, 13, {}};
    files.append({baseName + u".mp3"_s, MakeMp3File(&tags, true, true, Mp3FramesForSeconds(seconds))});
    files.append({baseName + u".cdg"_s, MakeCdgPackets(seconds)});
}

void AddJukeFolder(QList<SSampleFile> &files)
{
    // Eight fields, so each record holds eight "|"; the second record goes on over the
    // next line, after a blank the reader drops.
    files.append({u"Juke/juke.txt"_s,
                  Utf16WithMark(u"; Velmora sample juke list\r\n"
                                u"; Header record: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"
                                u"00001|Paper Boats|Amber Coast|00001.cdg;00001.mp3||Harbour Lights|"
                                u"[50,0,0,1,0,-9,0,0,185](Birthday)Bar 12|3-Pop-1999|\r\n"
                                u"00002|Midnight Ferry|The Velvet Hours|00002.cdg;00002.mp3| \r\n"
                                u"|Night Crossing|[60,0,0,0,0,-9,0,0,242]()|7-Rock-1998|\r\n"
                                u"00003|Caf\u00e9 Soleil|Nina Castell|00003.cdg;00003.mp3||Rive Gauche|"
                                u"[45,2,-1,0,0,-9,10,20,201](duet)|1-Jazz-2011|\r\n"_s)});
    AddSongPair(files, u"Juke/_Songs/00001"_s, u"Tag One"_s, 2);
    AddSongPair(files, u"Juke/_Songs/00002"_s, u"Tag Two"_s, 2);
    AddSongPair(files, u"Juke/_Songs/00003"_s, u"Tag Three"_s, 1);
    // Not in juke.txt: its details come from its own tags.
    AddSongPair(files, u"Juke/_Songs/00004"_s, u"Unlisted Song"_s, 2);
}

// Columns 0-4 number, 5-43 title, from 44 the artist; a ";" ends the line's text.
QByteArray FixedColumnLine(const char *number, const char *title, const char *artist)
{
    return QByteArray(number).leftJustified(5, ' ') + QByteArray(title).leftJustified(39, ' ') + artist + "\r\n";
}

void AddEightBitPlaylists(QList<SSampleFile> &files)
{
    files.append({u"Playlists/Tab List.txt"_s,
                  QByteArrayLiteral("00001\t\"Paper Boats\"\t\"Amber Coast\"\r\n"
                                    "00002\tMidnight Ferry\tThe Velvet Hours\r\n")});
    files.append({u"Playlists/Bar List.txt"_s,
                  QByteArrayLiteral("; songs of the bar\r\n"
                                    "00123|My Song|Singer\r\n"
                                    "00124|Caf\xE9 Soleil|Nina Castell\r\n")}); // code page 1252
    files.append({u"Playlists/Full Record List.txt"_s,
                  // The first "|" must come within 16 characters for the layout to be seen.
                  QByteArrayLiteral("K0001.mcg|1|Paper Lanterns|Amber Coast\r\n"
                                    "K0002.mcg|2|Song|Dash Names\r\n")});
    files.append({u"Playlists/Hash List.txt"_s,
                  QByteArrayLiteral("00007#Seven Seas#Jukebox Band\r\n"
                                    "00008#Eight Bells#Jukebox Band\r\n")});
    files.append({u"Playlists/Fixed Columns.txt"_s,
                  FixedColumnLine("00042", "Fixed Width Song", "Column Band ; kept apart")
                      + FixedColumnLine("00043", "Another Fixed Song", "Column Band")});
    // "노래" (song) by "가수" (singer), written on a Korean system.
    files.append({u"Playlists/Korean.txt"_s, QByteArrayLiteral("00001|\xB3\xEB\xB7\xA1|\xB0\xA1\xBC\xF6\r\n")});
}

void AddOtherPlaylists(QList<SSampleFile> &files)
{
    // The jukebox song list: song 2345 lives in the numbered folder of 2000.
    files.append({u"Playlists/Songs/Songlist.txt"_s,
                  QByteArrayLiteral("2345|Numbered Song|Jukebox Band\r\n"
                                    "2346|Listed Without Files|Nobody\r\n")});
    AddSongPair(files, u"Playlists/Songs/ZR002000/2345"_s, u"Numbered Song"_s, 1);

    files.append({u"Playlists/Unicode Playlist.txt"_s,
                  QByteArrayLiteral("\xEF\xBB\xBF")
                      + u"; Header playlist: Number, Title, Artist.\r\n"
                        u"00005|\ud55c\uad6d \ub178\ub798|\uac00\uc218|\r\n"_s.toUtf8()});
    files.append({u"Playlists/Naming.txt"_s, Utf16WithMark(u"; Header naming: Slot, Name.\r\n1|Bar 12|\r\n"_s)});
}

// MPL playlists and a playlist with missing entries. Their folders name drive K:, which
// stands for the library's own root: map it ("Drives/K") or let the rows be found relative
// to the playlist's folder. "Moved Song" names 00004.CDG, which is found in any case.
void AddMplAndMissingPlaylists(QList<SSampleFile> &files)
{
    const QString songs = u"K:\\Juke\\_Songs\\"_s;
    files.append({u"Playlists/Version 1.mpl"_s,
                  MakeMplFile(u"klovmplfile"_s, {{u"00001.mp3"_s, songs}, {u"00002.mp3"_s, songs}})});
    files.append({u"Playlists/Revision 2.mpl"_s,
                  MakeMplFile(u"klovmplrev2"_s,
                              {{u"00001.cdg;00001.mp3"_s, songs, u"000012"_s, u"Paper Boats"_s, u"Amber Coast"_s},
                               {u"00003.cdg;00003.mp3"_s, songs, u"7"_s, u"Caf\u00e9 Soleil"_s, u"Nina Castell"_s}},
                              true)});
    files.append({u"Playlists/Missing Songs.txt"_s,
                  Utf16WithMark(u"; Header playlist: Number, Title, Artist, Files, Folder, Album, Settings, Track.\r\n"
                                u"1|Paper Boats|Amber Coast|00001.cdg;00001.mp3|K:\\Juke\\_Songs\\|Harbour Lights|"
                                u"[50,0,0,1,0,-9,0,0,185](Birthday)Bar 12|3-Pop-1999|\r\n"
                                u"2|Lost Song|Nobody|00009.cdg;00009.mp3|K:\\Juke\\_Songs\\||||\r\n"
                                u"3|Moved Song|Nobody|00004.CDG;00004.mp3|K:\\Juke\\_Songs\\||||\r\n"_s)});
}

} // namespace

void AddPlaylistSamples(QList<SSampleFile> &files)
{
    AddJukeFolder(files);
    AddEightBitPlaylists(files);
    AddOtherPlaylists(files);
    AddMplAndMissingPlaylists(files);
}

} // namespace velmora::samplegen

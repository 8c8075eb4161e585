#include "samplegen/SampleLibrary.h"

#include "samplegen/CdgWriter.h"
#include "samplegen/GraphicsSamples.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/MidiSamples.h"
#include "samplegen/JukeboxSamples.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/OtherFormats.h"
#include "samplegen/PlaylistSamples.h"
#include "samplegen/SampleFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

namespace velmora::samplegen {

namespace {

void AddMp3(QList<SSampleFile> &files, const QString &path, const SId3Fields &tags, int seconds,
            bool withV2 = true, bool withV1 = true)
{
    files.append({path, MakeMp3File(&tags, withV2, withV1, Mp3FramesForSeconds(seconds))});
}

void AddCdg(QList<SSampleFile> &files, const QString &path, int seconds)
{
    files.append({path, MakeCdgPackets(seconds)});
}

// Songs with both tags; the titles, albums and genres differ so a mix-up shows. One
// title needs ISO-8859-1 and one album needs UTF-16, so both tag encodings occur.
void AddTaggedPairs(QList<SSampleFile> &files)
{
    const struct
    {
        QString baseName;
        SId3Fields tags;
        int seconds;
    } songs[] = {
        {u"Amber Coast - Paper Lanterns"_s,
         {u"Paper Lanterns"_s, u"Amber Coast"_s, u"Harbour Lights"_s, 2004, 3, u"Pop"_s, 13,
          u"Sample song"_s},
         4},
        {u"The Velvet Hours - Midnight Ferry"_s,
         {u"Midnight Ferry"_s, u"The Velvet Hours"_s, u"Night Crossing"_s, 1998, 7, u"Rock"_s, 17,
          u"Sample song"_s},
         5},
        {u"Nina Castell - Cafe Soleil"_s,
         {u"Caf\u00e9 Soleil"_s, u"Nina Castell"_s, u"Rive Gauche"_s, 2011, 1, u"Jazz"_s, 8,
          u"Sample song"_s},
         3},
        {u"Orbit Theory - Northern Sky"_s,
         {u"Northern Sky"_s, u"Orbit Theory"_s, u"Aurora \u2013 Live"_s, 2019, 12, u"Electronic"_s, 52,
          u"Sample song"_s},
         4},
    };
    for (const auto &song : songs) {
        AddMp3(files, song.baseName + u".mp3"_s, song.tags, song.seconds);
        AddCdg(files, song.baseName + u".cdg"_s, song.seconds);
    }
}

// The trailing "-" of an MP3 name is ignored when songs are grouped, so these two
// belong together. Only a version 2 tag here, for variety.
void AddDashPair(QList<SSampleFile> &files)
{
    const SId3Fields tags{u"Song"_s, u"Dash Names"_s, u"Odd Names"_s, 2007, 2, u"Country"_s, 2, {}};
    AddMp3(files, u"Song-.mp3"_s, tags, 3, true, false);
    AddCdg(files, u"Song.cdg"_s, 3);
}

// "9" before "10" only when names are compared as numbers, and "abc" after both.
void AddNumberedSongs(QList<SSampleFile> &files)
{
    AddMp3(files, u"9.mp3"_s, {u"Number Nine"_s, u"Counting Crew"_s, u"Numbers"_s, 2002, 9, u"Blues"_s, 0, {}}, 2);
    AddMp3(files, u"10.mp3"_s, {u"Number Ten"_s, u"Counting Crew"_s, u"Numbers"_s, 2002, 10, u"Blues"_s, 0, {}}, 2);
    AddMp3(files, u"abc.mp3"_s, {u"Letters"_s, u"Counting Crew"_s, u"Numbers"_s, 2003, 1, u"Blues"_s, 0, {}}, 2);
}

// A pair one level down, with only the version 1 trailer.
void AddSubfolderPair(QList<SSampleFile> &files)
{
    const QString base = u"More Songs/Lena Moor - Quiet Harbour"_s;
    const SId3Fields tags{u"Quiet Harbour"_s, u"Lena Moor"_s, u"Tidal"_s, 2015, 5, u"Folk"_s, 80, {}};
    AddMp3(files, base + u".mp3"_s, tags, 3, false, true);
    AddCdg(files, base + u".cdg"_s, 3);
}

void AddProblemFiles(QList<SSampleFile> &files)
{
    files.append({u"notes.xyz"_s, QByteArrayLiteral("Velmora sample library\n"
                                                    "This file has a type no checker knows.\n")});
    // As long as a three-second song, but zeros only: no tag, no trailer and no byte
    // that could start a frame sync, so no playing time can be found.
    files.append({u"Broken Song.mp3"_s, QByteArray(qsizetype(Mp3FramesForSeconds(3)) * kMp3FrameBytes, '\0')});
    AddCdg(files, u"Broken Song.cdg"_s, 3);
    const SId3Fields tags{u"Old Take"_s, u"Amber Coast"_s, u"Harbour Lights"_s, 2004, 4, u"Pop"_s, 13, {}};
    AddMp3(files, u"backup.mp3.bak"_s, tags, 1);
}

// Song shapes the grouping must get right: three members, a package that ends a group, a
// MIDI file that is no companion of its MP3, and the maker's MIDI karaoke file.
void AddGroupShapes(QList<SSampleFile> &files)
{
    const SId3Fields trio{u"Three Parts"_s, u"Trio Sound"_s, u"Triangles"_s, 2010, 3, u"Pop"_s, 13, {}};
    AddCdg(files, u"Trio - Three Parts.cdg"_s, 2);
    AddMp3(files, u"Trio - Three Parts.mp3"_s, trio, 2);
    files.append({u"Trio - Three Parts.wav"_s, MakeWavFile(1)});

    const SId3Fields packed{u"Zip End"_s, u"Packed"_s, u"Boxes"_s, 2012, 1, u"Rock"_s, 17, {}};
    const QByteArray packedMp3 = MakeMp3File(&packed, true, true, Mp3FramesForSeconds(2));
    const QByteArray packedCdg = MakeCdgPackets(2);
    AddCdg(files, u"Packed - Zip End.cdg"_s, 2);
    files.append({u"Packed - Zip End.mp3"_s, packedMp3});
    files.append({u"Packed - Zip End.zip"_s, MakeStoredZip({{u"Packed - Zip End.cdg"_s, packedCdg},
                                                            {u"Packed - Zip End.mp3"_s, packedMp3}})});

    const SId3Fields midi{u"Midi Night"_s, u"Synth Club"_s, u"Keys"_s, 1995, 1, u"Dance"_s, 3, {}};
    AddMp3(files, u"Midi Night.mp3"_s, midi, 2);
    files.append({u"Midi Night.kar"_s, MakeMinimalMidiFile()});

    files.append({u"Klov Song.mdk"_s, MakeMdkFile(205'999)});

    // A music video: the video is the companion of its soundtrack.
    const SId3Fields clip{u"Moving Pictures"_s, u"Screen Band"_s, u"Reels"_s, 2018, 1, u"Pop"_s, 13, {}};
    files.append({u"Clips/Moving Pictures.avi"_s, MakeAviFile(2)});
    AddMp3(files, u"Clips/Moving Pictures.mp3"_s, clip, 2);
}

} // namespace

QList<SSampleFile> BuildSampleLibrary()
{
    QList<SSampleFile> files;
    AddTaggedPairs(files);
    AddDashPair(files);
    AddNumberedSongs(files);
    AddSubfolderPair(files);
    AddGroupShapes(files);
    AddMidiSamples(files);
    AddJukeboxSamples(files);
    AddPlaylistSamples(files);
    AddProblemFiles(files);
    AddGraphicsSamples(files);
    return files;
}

QDateTime SampleFileTime()
{
    return QDateTime(QDate(2020, 1, 1), QTime(12, 0), Qt::UTC);
}

bool WriteSampleLibrary(const QString &folder, QString *error, int *filesWritten)
{
    if (filesWritten)
        *filesWritten = 0;
    if (folder.isEmpty())
        return FailSampleWrite(error, u"create folder"_s, folder, u"no folder given"_s);
    if (!MakeSampleFolder(folder, error))
        return false;
    const QDir root(folder);

    QSet<QString> subfolders;
    const QList<SSampleFile> files = BuildSampleLibrary();
    for (const SSampleFile &file : files) {
        const QString path = root.filePath(file.relativePath);
        const QString parent = QFileInfo(path).path();
        if (!MakeSampleFolder(parent, error))
            return false;
        if (!WriteSampleFile(path, file.content, error))
            return false;
        if (file.relativePath.contains(u'/'))
            subfolders.insert(parent);
        if (filesWritten)
            ++*filesWritten;
    }
    // Last, because writing into a folder changes its time.
    for (const QString &subfolder : std::as_const(subfolders)) {
        if (!SetSampleFolderTime(subfolder, error))
            return false;
    }
    return true;
}

} // namespace velmora::samplegen

#include "legacy/MidiSongInfo.h"
#include "samplegen/MidiSamples.h"

#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using namespace velmora::samplegen;

TEST(MidiSamples, EachSampleReadsAsItsRoleSays)
{
    QList<SSampleFile> files;
    AddMidiSamples(files);
    QSet<QString> library;
    for (const SSampleFile &file : BuildSampleLibrary())
        library.insert(file.relativePath);

    const struct
    {
        QString path;
        int style;
        int codePage;
        QString title;
        QString artist;
        int seconds;
    } expected[] = {
        {u"Midi/Paper Moon.kar"_s, MidiStyleWords, 1252, u"Paper Moon"_s, u"Lyric Band"_s, 4},
        {u"Midi/Korean Love.mid"_s, MidiStyleInfo, 949, u"\uC0AC\uB791"_s, u"\uAC00\uC218"_s, 3},
        {u"Midi/Love-Some_Body.kar"_s, MidiStyleNone, 0, u"Love"_s, u"Some Body"_s, 2},
        {u"Midi/No Tempo.mid"_s, MidiStyleNone, 0, {}, {}, 0},
        {u"Midi/Work Song.wrk"_s, MidiStyleWords, 1252, u"Work Song"_s, u"Cake Band"_s, 5},
    };
    ASSERT_EQ(files.size(), std::size(expected));
    for (qsizetype i = 0; i < files.size(); ++i) {
        const auto &want = expected[i];
        SCOPED_TRACE(want.path.toStdString());
        EXPECT_EQ(files[i].relativePath, want.path);
        EXPECT_TRUE(library.contains(want.path));
        MidiSongInfo info;
        ASSERT_TRUE(ReadMidiSongInfoFromBytes(files[i].content, want.path, info));
        EXPECT_EQ(info.nStyle, want.style);
        EXPECT_EQ(info.nCodePage, want.codePage);
        EXPECT_EQ(info.strTitle, want.title);
        EXPECT_EQ(info.strArtist, want.artist);
        EXPECT_EQ(info.nDurationSeconds, want.seconds);
    }
}

TEST(MidiSamples, ShapesTheSongsAreBuiltFrom)
{
    QMap<QString, MidiSongInfo> infos;
    QList<SSampleFile> files;
    AddMidiSamples(files);
    for (const SSampleFile &file : std::as_const(files))
        ReadMidiSongInfoFromBytes(file.content, file.relativePath, infos[file.relativePath]);

    const MidiSongInfo &kar = infos[u"Midi/Paper Moon.kar"_s];
    EXPECT_EQ(kar.nTrackCount, 3);
    EXPECT_EQ(kar.aszTexts[MidiTextCopyright], "Velmora samples");  // from "@T", not the copyright event
    EXPECT_TRUE(kar.tracks[1].bLyrics);

    const MidiSongInfo &noTempo = infos[u"Midi/No Tempo.mid"_s];
    EXPECT_EQ(noTempo.nSongEndTick, 1920);
    EXPECT_TRUE(noTempo.tempos.isEmpty());

    const MidiSongInfo &work = infos[u"Midi/Work Song.wrk"_s];
    EXPECT_EQ(work.tracks.size(), 2);
    EXPECT_EQ(work.tempos.size(), 2);
    EXPECT_EQ(infos[u"Midi/Love-Some_Body.kar"_s].nFormat, kKarFormat);
}

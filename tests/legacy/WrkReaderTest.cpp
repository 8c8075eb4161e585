#include "legacy/MidiBytes.h"

#include "legacy/MidiSongInfo.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using namespace velmora::test;

namespace {

MidiSongInfo ParseWork(const QByteArray &bytes)
{
    MidiSongInfo info;
    EXPECT_TRUE(ReadMidiSongInfoFromBytes(bytes, u"song.WRK"_s, info));
    return info;
}

QList<QByteArray> SongChunks()
{
    return {WorkTimeBase(480),
            WorkText("FILE", "name.wrk"),
            WorkText("Title", "Work Song"),
            WorkText("Author", "Cake Band"),
            WorkTrack("Piano"),
            WorkTrack(" Words ", 36),
            WorkChunk(2, QByteArray(40, '\x05')),
            WorkSongEnd(2880),
            WorkTempos({{0, 12000}, {960, 6000}})};
}

} // namespace

TEST(WrkReader, ChunksGiveTitleArtistAndPlayingTime)
{
    const MidiSongInfo info = ParseWork(WorkFile(SongChunks()));
    EXPECT_EQ(info.nTicksPerQuarter, 480);
    EXPECT_EQ(info.nSongEndTick, 2880);
    ASSERT_EQ(info.tracks.size(), 2);
    EXPECT_EQ(info.tracks[0].szName, "Piano");
    EXPECT_EQ(info.tracks[1].szName, " Words ");
    EXPECT_EQ(info.nStyle, MidiStyleWords);
    EXPECT_EQ(info.strTitle, u"Work Song"_s);
    EXPECT_EQ(info.strArtist, u"Cake Band"_s);
    ASSERT_EQ(info.tempos.size(), 2);
    EXPECT_EQ(info.tempos[0].nMicrosPerQuarter, 500'000u);
    EXPECT_EQ(info.tempos[1].nMicrosPerQuarter, 1'000'000u);
    EXPECT_EQ(info.tempos[1].nBpm, 60);
    // Two quarters at 120 and four at 60 beats per minute.
    EXPECT_EQ(info.nDurationMs, 5000);
    EXPECT_EQ(info.nDurationSeconds, 5);
}

TEST(WrkReader, ChunkListStartsAfterTheVersion)
{
    // Without "9.00." at offset 11 the chunks start right there.
    const MidiSongInfo old = ParseWork(WorkFile(SongChunks(), false));
    EXPECT_EQ(old.strTitle, u"Work Song"_s);
    EXPECT_EQ(old.nDurationSeconds, 5);

    // With it, the version text is not read as a chunk.
    EXPECT_EQ(ParseWork(WorkFile({WorkTrack("Words"), WorkText("Title", "Late")})).strTitle, u"Late"_s);

    QByteArray lower = WorkFile(SongChunks());
    lower.replace(0, 8, "cakeWalk");
    EXPECT_EQ(ParseWork(lower).nDurationSeconds, 5);
}

TEST(WrkReader, NamedTextsAndTheirSlots)
{
    const MidiSongInfo info = ParseWork(WorkFile({WorkText("Subtitle", "Sub"), WorkText("Copyright", "(c)"),
                                                  WorkText("Instructions", "Ins"), WorkText("Titles", "Prefix"),
                                                  WorkText("title", "Lower case"), WorkText("FILE", "dropped"),
                                                  WorkText("Author", QByteArray("Name\0junk", 9)),
                                                  WorkChunk(26, "Title short")}));
    EXPECT_EQ(info.aszTexts[MidiTextSubtitle], "Sub");
    EXPECT_EQ(info.aszTexts[MidiTextCopyright], "(c)");
    EXPECT_EQ(info.aszTexts[MidiTextInstructions], "Ins");
    EXPECT_EQ(info.aszTexts[MidiTextTitle], "Prefix");
    EXPECT_EQ(info.aszTexts[MidiTextAuthor], "Name");
    // No style track: the texts stay raw.
    EXPECT_TRUE(info.strTitle.isEmpty());

    const MidiSongInfo longText = ParseWork(WorkFile({WorkText("Title", QByteArray(1000, 'T'))}));
    EXPECT_EQ(longText.aszTexts[MidiTextTitle].size(), kMaxMidiText);
}

TEST(WrkReader, SlowAndBrokenTempoEntries)
{
    // Below one beat per minute there is no tempo; exactly one beat is 60 seconds a quarter.
    MidiSongInfo info = ParseWork(WorkFile({WorkTimeBase(480), WorkSongEnd(480), WorkTempos({{0, 99}, {0, 0}, {0, 100}})}));
    ASSERT_EQ(info.tempos.size(), 1);
    EXPECT_EQ(info.tempos[0].nMicrosPerQuarter, 60'000'000u);
    EXPECT_EQ(info.nDurationSeconds, 60);
    // Whole beats only: 150 hundredths is one beat per minute.
    info = ParseWork(WorkFile({WorkTimeBase(480), WorkSongEnd(480), WorkTempos({{0, 150}})}));
    EXPECT_EQ(info.nDurationSeconds, 60);

    // A count larger than the entries: the whole entries are read.
    info = ParseWork(WorkFile({WorkTimeBase(480), WorkSongEnd(960), WorkTempos({{0, 12000}}, 500)}));
    ASSERT_EQ(info.tempos.size(), 1);
    EXPECT_EQ(info.nDurationMs, 1000);

    // A negative time base gives no playing time.
    info = ParseWork(WorkFile({WorkTimeBase(-480), WorkSongEnd(960), WorkTempos({{0, 12000}})}));
    EXPECT_EQ(info.nTicksPerQuarter, -480);
    EXPECT_EQ(info.nDurationMs, 0);
}

TEST(WrkReader, ShortChunksAndEarlyEnds)
{
    // Chunks too short for their fields change nothing.
    MidiSongInfo info = ParseWork(WorkFile({WorkChunk(3, QByteArray(76, '\x01')), WorkChunk(10, "\x01"),
                                            WorkChunk(1, QByteArray(2, '\0')), WorkChunk(36, QByteArray("\x00\x00\x40Words", 8))}));
    EXPECT_EQ(info.nSongEndTick, 0);
    EXPECT_EQ(info.nTicksPerQuarter, 0);
    ASSERT_EQ(info.tracks.size(), 2);
    EXPECT_TRUE(info.tracks[0].szName.isEmpty());
    EXPECT_EQ(info.tracks[1].szName, "Words");

    // No end chunk, or a chunk longer than the file: what came before it counts.
    EXPECT_EQ(ParseWork(WorkFile(SongChunks(), true, false)).nDurationSeconds, 5);
    QByteArray cut = WorkFile({WorkTrack("Words"), WorkText("Title", "Kept"), WorkText("Author", "Lost")}, true, false);
    cut.chop(2);
    info = ParseWork(cut);
    EXPECT_EQ(info.strTitle, u"Kept"_s);
    EXPECT_TRUE(info.strArtist.isEmpty());

    // Chunks after the end chunk are not read.
    QByteArray afterEnd = WorkFile({WorkTrack("Words")});
    afterEnd.append(WorkText("Title", "After"));
    EXPECT_TRUE(ParseWork(afterEnd).strTitle.isEmpty());

    // A header and nothing else is a work file without anything in it.
    EXPECT_EQ(ParseWork("CAKEWALK").tracks.size(), 0);
}

TEST(WrkReader, OnlyCakewalkFilesAreRead)
{
    MidiSongInfo info;
    EXPECT_FALSE(ReadMidiSongInfoFromBytes("CAKEWAL", u"a.wrk"_s, info));
    EXPECT_FALSE(ReadMidiSongInfoFromBytes(QByteArray::fromHex("4D546864000000060000000101E0"), u"a.wrk"_s, info));
    EXPECT_FALSE(ReadMidiSongInfoFromBytes(WorkFile(SongChunks()), u"a.mid"_s, info));
}

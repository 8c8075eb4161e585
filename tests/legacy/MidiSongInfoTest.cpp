#include "TestSupport.h"
#include "legacy/MidiBytes.h"

#include "legacy/MidiSongInfo.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using namespace velmora::test;

namespace {

MidiSongInfo Parse(const QByteArray &bytes, const QString &name = u"song.mid"_s)
{
    MidiSongInfo info;
    EXPECT_TRUE(ReadMidiSongInfoFromBytes(bytes, name, info)) << qPrintable(name);
    return info;
}

bool Fails(const QByteArray &bytes, const QString &name = u"song.mid"_s)
{
    MidiSongInfo info;
    info.strTitle = u"stale"_s;
    const bool ok = ReadMidiSongInfoFromBytes(bytes, name, info);
    // A failed read leaves an empty record, not half of one.
    EXPECT_TRUE(ok || (info.strTitle.isEmpty() && info.tracks.isEmpty() && info.nFormat == 0));
    return !ok;
}

QByteArray Slot(const MidiSongInfo &info, EMidiTextSlot slot)
{
    return info.aszTexts[slot];
}

QByteArray TempoTrack(quint32 endDelta = 1920)
{
    return CTrack().Name("Song").Tempo(0, 500'000).End(endDelta);
}

} // namespace

TEST(MidiSmf, WordsTrackGivesTitleArtistAndPlayingTime)
{
    const QByteArray words = CTrack()
                                 .Name("Words")
                                 .Text("@KMIDI KARAOKE FILE")
                                 .Text("@LENGL")
                                 .Text("@TMy Song")
                                 .Text("@TSinger")
                                 .Text("@TSome Label")
                                 .Text("@TFourth is ignored")
                                 .Text("\\Hel", 100)
                                 .Text("@Iinformation")
                                 .End(3740);
    const MidiSongInfo info = Parse(MidiFile({TempoTrack(), words}));
    EXPECT_EQ(info.nStyle, MidiStyleWords);
    EXPECT_EQ(info.nCodePage, 1252);
    EXPECT_EQ(info.strTitle, u"My Song"_s);
    EXPECT_EQ(info.strArtist, u"Singer"_s);
    EXPECT_EQ(Slot(info, MidiTextInstructions), "MIDI KARAOKE FILE");
    EXPECT_EQ(Slot(info, MidiTextSubtitle), "ENGL");
    EXPECT_EQ(Slot(info, MidiTextCopyright), "Some Label");
    // 3,840 ticks at 480 a quarter and 120 beats per minute.
    EXPECT_EQ(info.nSongEndTick, 3840);
    EXPECT_EQ(info.nDurationMs, 4000);
    EXPECT_EQ(info.nDurationSeconds, 4);
    ASSERT_EQ(info.tracks.size(), 2);
    EXPECT_TRUE(info.tracks[1].bLyrics);
    EXPECT_EQ(info.tracks[0].nEndTick, 1920);
    EXPECT_EQ(info.tracks[1].nEndTick, 3840);
}

TEST(MidiSmf, TrackZeroNamesAndTextsFillTheirSlots)
{
    const QByteArray first = CTrack()
                                 .Name("First name")
                                 .Name("Second name")
                                 .Name("Third name")
                                 .Text("First text")
                                 .Text("Second text")
                                 .Text("Third text")
                                 .Meta(0, 0x02, "(c) Someone")
                                 .End();
    const MidiSongInfo info = Parse(MidiFile({first}, 0));
    EXPECT_EQ(Slot(info, MidiTextTitle), "First name");
    EXPECT_EQ(Slot(info, MidiTextSubtitle), "Second name");
    EXPECT_EQ(Slot(info, MidiTextInstructions), "First text");
    EXPECT_EQ(Slot(info, MidiTextAuthor), "Second text");
    EXPECT_EQ(Slot(info, MidiTextCopyright), "(c) Someone");
    // Track 0 names the song, not itself, and a file without a style shows no title.
    EXPECT_TRUE(info.tracks[0].szName.isEmpty());
    EXPECT_EQ(info.nStyle, MidiStyleNone);
    EXPECT_TRUE(info.strTitle.isEmpty());

    // A .kar file keeps the copyright event out of its slots.
    const MidiSongInfo kar = Parse(MidiFile({first}, 0), u"song.kar"_s);
    EXPECT_EQ(kar.nFormat, kKarFormat);
    EXPECT_TRUE(Slot(kar, MidiTextCopyright).isEmpty());
}

TEST(MidiSmf, LyricsCommandsCountOnlyInLyricsTracks)
{
    const QByteArray plain = CTrack().Name("Melody").Text("@TNot a title").Text("@KNot this").End();
    const QByteArray soft = CTrack().Name("sOFT kARAOKE").Text("@TReal Title").Text("@XUnknown").Text("@TArtist").End();
    const QByteArray words = CTrack().Name("Words").Text("@TSecond Track Title").End();
    const MidiSongInfo info = Parse(MidiFile({TempoTrack(), plain, soft, words}));
    EXPECT_FALSE(info.tracks[1].bLyrics);
    EXPECT_TRUE(info.tracks[2].bLyrics);
    EXPECT_EQ(info.tracks[2].szName, "sOFT kARAOKE");
    // The counter is per track: the "Words" track's first "@T" is a title again.
    EXPECT_EQ(Slot(info, MidiTextTitle), "Second Track Title");
    EXPECT_EQ(Slot(info, MidiTextAuthor), "Artist");
    EXPECT_TRUE(Slot(info, MidiTextInstructions).isEmpty());
    // "Soft Karaoke" marks lyrics but is no style: only "Words" is.
    EXPECT_EQ(info.nStyle, MidiStyleWords);
}

TEST(MidiSmf, BannersSplitIntoAuthorAndTitle)
{
    const auto parse = [](const QList<QByteArray> &texts) {
        CTrack words;
        words.Name("Words");
        for (const QByteArray &text : texts)
            words.Text(text);
        return Parse(MidiFile({TempoTrack(), words.End()}));
    };
    // The blank before the dash goes with the dash; the one after it stays with the title.
    MidiSongInfo info = parse({"@T>>> Singer - My Song <<<", "@T>>> Other Title <<<", "@T>>> (c) 2001 <<<"});
    EXPECT_EQ(Slot(info, MidiTextAuthor), "Singer");
    EXPECT_EQ(Slot(info, MidiTextTitle), " My Song");
    EXPECT_EQ(Slot(info, MidiTextCopyright), "(c) 2001");

    info = parse({"@T>>> Just A Name <<<", "@T>>> Fills The Title <<<"});
    EXPECT_EQ(Slot(info, MidiTextAuthor), "Just A Name");
    EXPECT_EQ(Slot(info, MidiTextTitle), "Fills The Title");

    // Plain and banner texts share one counter.
    info = parse({"@TPlain Title", "@T>>> Banner <<<", "@T>>> Third <<<"});
    EXPECT_EQ(Slot(info, MidiTextTitle), "Plain Title");
    EXPECT_EQ(Slot(info, MidiTextCopyright), "Third");
    EXPECT_TRUE(Slot(info, MidiTextAuthor).isEmpty());

    // Dash first, and banners shorter than their closing characters.
    info = parse({"@T>>> -X <<<", "@T>>> ab"});
    EXPECT_TRUE(Slot(info, MidiTextAuthor).isEmpty());
    EXPECT_EQ(Slot(info, MidiTextTitle), "X");
    info = parse({"@T>>> ab"});
    EXPECT_TRUE(Slot(info, MidiTextAuthor).isEmpty());
    EXPECT_TRUE(Slot(info, MidiTextTitle).isEmpty());
}

TEST(MidiSmf, RunningStatusSysExAndChannelMessagesKeepTheirLengths)
{
    CTrack track;
    track.Name("Words")
        .Raw(QByteArray::fromHex("00903C64"))      // note on
        .Raw(QByteArray::fromHex("103C00"))        // running status: two data bytes
        .Raw(QByteArray::fromHex("00C005"))        // program change: one data byte
        .Raw(QByteArray::fromHex("0005"))          // running status program change
        .Raw(QByteArray::fromHex("00E00040"))      // pitch bend: two data bytes
        .Raw(QByteArray::fromHex("00F0057E7F0901F7"))  // system exclusive of five bytes
        .Raw(QByteArray::fromHex("00F7021234"))    // escaped bytes
        .Raw(QByteArray::fromHex("000040"))        // running status survives the sysex
        .Raw(QByteArray::fromHex("8100B07B00"))    // delta 128, control change
        .Text("@TAligned");
    const MidiSongInfo info = Parse(MidiFile({TempoTrack(0), track.End(1)}));
    EXPECT_EQ(Slot(info, MidiTextTitle), "Aligned");
    EXPECT_EQ(info.tracks[1].nEndTick, 16 + 128 + 1);
}

TEST(MidiSmf, StatusesAndMetaTypesThatFailTheFile)
{
    const auto fileWith = [](const QByteArray &events) {
        return MidiFile({TempoTrack(), CTrack::Chunk(CTrack().Name("Words").Raw(events).Events())});
    };
    EXPECT_TRUE(Fails(fileWith(QByteArray::fromHex("00F1"))));
    EXPECT_TRUE(Fails(fileWith(QByteArray::fromHex("00F20102"))));
    EXPECT_TRUE(Fails(fileWith(QByteArray::fromHex("00FE"))));
    for (const quint8 type : {0x08, 0x09, 0x0A, 0x22, 0x50, 0x80, 0xFF})
        EXPECT_TRUE(Fails(fileWith(CTrack().Meta(0, type, "MIDI Out").Events()))) << int(type);
    // The type alone decides: an empty device name fails too.
    EXPECT_TRUE(Fails(fileWith(CTrack().Meta(0, 0x09, {}).Events())));

    CTrack accepted;
    for (const quint8 type : {0x00, 0x04, 0x05, 0x06, 0x07, 0x20, 0x54, 0x58, 0x59, 0x7F})
        accepted.Meta(0, type, "data");
    accepted.Meta(0, 0x21, QByteArray(1, '\x03'));
    const MidiSongInfo info = Parse(MidiFile({TempoTrack(), accepted.End()}));
    EXPECT_EQ(info.tracks[1].nPort, 3);
    EXPECT_EQ(info.tracks[0].nPort, -1);
}

TEST(MidiSmf, RunningStatusAtTheStartOfATrackFails)
{
    EXPECT_TRUE(Fails(MidiFile({CTrack().Raw(QByteArray::fromHex("003C64")).End()})));
    // A meta event in between does not give a running status either.
    EXPECT_TRUE(Fails(MidiFile({CTrack().Name("x").Raw(QByteArray::fromHex("003C64")).End()})));
}

TEST(MidiSmf, HeaderFieldsAndFormats)
{
    const QByteArray track = TempoTrack();
    // A longer header is read from its first six bytes; its tail is skipped.
    MidiSongInfo info = Parse(MidiHeader(1, 1, 480, 10) + track);
    EXPECT_EQ(info.nTicksPerQuarter, 480);
    EXPECT_EQ(info.nTrackCount, 1);
    EXPECT_EQ(info.nDurationSeconds, 2);

    // The header mark in any case; the track mark exactly.
    QByteArray lower = MidiFile({track});
    lower.replace(0, 4, "mThD");
    EXPECT_EQ(Parse(lower).tracks.size(), 1);
    QByteArray wrongTrackMark = MidiFile({track});
    wrongTrackMark.replace(14, 4, "mtrk");
    EXPECT_TRUE(Parse(wrongTrackMark).tracks.isEmpty());

    EXPECT_TRUE(Fails(MidiHeader(2, 1, 480) + track));
    EXPECT_TRUE(Fails("RIFF" + MidiFile({track}).sliced(4)));
    EXPECT_TRUE(Fails(QByteArray()));

    // No header fields at all: format 0, no division, so no playing time.
    QByteArray empty("MThd");
    PutBig(empty, 0, 4);
    info = Parse(empty + track);
    EXPECT_EQ(info.nTicksPerQuarter, 0);
    EXPECT_EQ(info.nDurationMs, 0);
    ASSERT_EQ(info.tempos.size(), 1);
}

TEST(MidiSmf, ChunksAfterTheTracksAndShortChunks)
{
    // Reading stops at the first chunk that is not a track.
    const QByteArray bad = CTrack().Raw(QByteArray::fromHex("00F1")).End();
    QByteArray foreign = bad;
    foreign.replace(0, 4, "XTRK");
    MidiSongInfo info = Parse(MidiFile({TempoTrack(), foreign, bad}));
    EXPECT_EQ(info.tracks.size(), 1);

    // A track that claims more bytes than the file holds is read as far as it goes.
    QByteArray cut = MidiFile({CTrack().Name("Words").Text("@TCut Short").Tempo(0, 500'000).Note(960, 0).Chunk()});
    cut.replace(18, 4, QByteArray::fromHex("00FFFFFF"));
    info = Parse(cut);
    ASSERT_EQ(info.tracks.size(), 1);
    EXPECT_EQ(info.tracks[0].nEndTick, 960);
    EXPECT_EQ(info.nDurationMs, 1000);
}

TEST(MidiSmf, TempoEventsInTheirTracks)
{
    // Tempo changes of any track go into one map; a short tempo event is none.
    const QByteArray first = CTrack().Tempo(0, 500'000).Meta(0, 0x51, QByteArray(2, '\x01')).End(1920);
    const QByteArray second = CTrack().Tempo(960, 1'000'000).End(960);
    const MidiSongInfo info = Parse(MidiFile({first, second}));
    ASSERT_EQ(info.tempos.size(), 2);
    EXPECT_EQ(info.tempos[0].nBpm, 120);
    EXPECT_EQ(info.tempos[1].nBpm, 60);
    EXPECT_EQ(info.tempos[1].nStartMs, 1000);
    EXPECT_EQ(info.nDurationMs, 3000);
}

TEST(MidiSmf, FileNamesChooseTheTypeAndNameKarSongs)
{
    const QByteArray plain = MidiFile({CTrack().Name("Lead").Tempo(0, 500'000).End(1920)}, 0);
    MidiSongInfo info = Parse(plain, u"/songs/Love-Some_Body.kar"_s);
    EXPECT_EQ(info.strTitle, u"Love"_s);
    EXPECT_EQ(info.strArtist, u"Some Body"_s);
    EXPECT_EQ(info.nDurationSeconds, 2);

    info = Parse(plain, u"C:\\Karaoke\\A-B-C_D.KAR"_s);
    EXPECT_EQ(info.strTitle, u"A"_s);
    EXPECT_EQ(info.strArtist, u"B-C D"_s);
    // The dash of a folder name does not count.
    info = Parse(plain, u"/my-songs/NoDash.kar"_s);
    EXPECT_TRUE(info.strTitle.isEmpty());
    EXPECT_TRUE(info.strArtist.isEmpty());

    // Only .kar files are named by their file name, and only without a style track.
    info = Parse(plain, u"/songs/Love-Some_Body.mid"_s);
    EXPECT_TRUE(info.strTitle.isEmpty());
    const QByteArray styled = MidiFile({TempoTrack(), CTrack().Name("Words").Text("@TInside").End()});
    EXPECT_EQ(Parse(styled, u"Love-Some_Body.kar"_s).strTitle, u"Inside"_s);

    EXPECT_EQ(Parse(plain, u"song.MiD"_s).nFormat, 0);
    EXPECT_TRUE(Fails(plain, u"song.midi"_s));
    EXPECT_TRUE(Fails(plain, u"song.txt"_s));
    EXPECT_TRUE(Fails(plain, u"song.wrk"_s));
}

TEST(MidiSmf, ReadsFilesFromDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(u"Love-Some_Body.kar"_s);
    WriteBytes(path, MidiFile({TempoTrack()}, 0));
    MidiSongInfo info;
    ASSERT_TRUE(ReadMidiSongInfo(path, info));
    EXPECT_EQ(info.strTitle, u"Love"_s);
    EXPECT_EQ(info.nDurationSeconds, 2);

    EXPECT_FALSE(ReadMidiSongInfo(dir.filePath(u"missing.mid"_s), info));
    WriteBytes(dir.filePath(u"empty.mid"_s), {});
    EXPECT_FALSE(ReadMidiSongInfo(dir.filePath(u"empty.mid"_s), info));
    EXPECT_TRUE(info.strTitle.isEmpty());
}

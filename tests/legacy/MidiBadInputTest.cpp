#include "legacy/MidiBytes.h"

#include "legacy/MidiSongInfo.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using namespace velmora::test;

namespace {

bool Read(const QByteArray &bytes, MidiSongInfo &info, const QString &name = u"bad.kar"_s)
{
    return ReadMidiSongInfoFromBytes(bytes, name, info);
}

// A file whose lyrics track (track 1) ends in the given bytes.
QByteArray WordsFileWith(const QByteArray &tail)
{
    const QByteArray words = CTrack::Chunk(CTrack().Name("Words").Text("@TKept").Tempo(0, 500'000).Events() + tail);
    return MidiFile({CTrack().End(), words});
}

// What any result must hold, whatever the input.
void ExpectSaneResult(const MidiSongInfo &info)
{
    EXPECT_GE(info.nDurationMs, 0);
    EXPECT_GE(info.nDurationSeconds, 0);
    EXPECT_LE(info.tracks.size(), kMaxMidiTracks);
    EXPECT_LE(info.tempos.size(), kMaxMidiTempos);
    for (const QByteArray &text : info.aszTexts)
        EXPECT_LE(text.size(), kMaxMidiText);
    EXPECT_LE(info.strTitle.size(), kMaxMidiText);
    EXPECT_LE(info.strArtist.size(), kMaxMidiText);
}

} // namespace

TEST(MidiBadInput, EndlessAndOverlongQuantities)
{
    MidiSongInfo info;
    // A quantity still going when the data ends: the track ends there.
    ASSERT_TRUE(Read(WordsFileWith(QByteArray(3, '\x81')), info));
    EXPECT_EQ(info.strTitle, u"Kept"_s);
    ASSERT_TRUE(Read(WordsFileWith(QByteArray::fromHex("00FF01FFFFFF")), info));
    EXPECT_EQ(info.strTitle, u"Kept"_s);
    // Longer than four bytes is no MIDI data at all.
    EXPECT_FALSE(Read(WordsFileWith(QByteArray(5, '\x81') + '\x00' + QByteArray::fromHex("903C64")), info));
    EXPECT_FALSE(Read(WordsFileWith(QByteArray::fromHex("00FF018181818100")), info));
}

TEST(MidiBadInput, LengthsPastTheEnd)
{
    MidiSongInfo info;
    // Meta events and system exclusive data that claim more than the track holds.
    ASSERT_TRUE(Read(WordsFileWith(QByteArray::fromHex("00FF01FFFFFF7F") + "@TLost"), info));
    EXPECT_EQ(info.strTitle, u"Kept"_s);
    ASSERT_TRUE(Read(WordsFileWith(QByteArray::fromHex("00F0FFFFFF7F0102")), info));
    ASSERT_TRUE(Read(WordsFileWith(QByteArray::fromHex("00903C")), info));
    ASSERT_TRUE(Read(WordsFileWith(QByteArray::fromHex("00FF")), info));

    // A header longer than the file, or with a length of 4 GiB.
    QByteArray header = MidiHeader(1, 1, 480, 100);
    header.truncate(20);
    EXPECT_FALSE(Read(header, info));
    QByteArray huge = WordsFileWith({});
    huge.replace(4, 4, "\xFF\xFF\xFF\xFF");
    EXPECT_FALSE(Read(huge, info));
    // A header cut before its length.
    EXPECT_FALSE(Read("MThd\x00", info));
}

TEST(MidiBadInput, LongTextsAreCut)
{
    const QByteArray longText(100 * 1024, 'x');
    MidiSongInfo info;
    ASSERT_TRUE(Read(MidiFile({CTrack().Name(longText).Tempo(0, 500'000).End(),
                               CTrack().Name("Words").Text("@T" + longText).Text("@T" + longText).End(),
                               CTrack().Name(longText).End()}),
                     info));
    for (const QByteArray &text : info.aszTexts)
        EXPECT_LE(text.size(), kMaxMidiText);
    EXPECT_EQ(info.aszTexts[MidiTextTitle], QByteArray(kMaxMidiText, 'x'));
    EXPECT_EQ(info.tracks[2].szName.size(), kMaxMidiText);
    EXPECT_EQ(info.strArtist, QString(kMaxMidiText, u'x'));

    // A NUL ends a text as it would end the string.
    ASSERT_TRUE(Read(MidiFile({CTrack().End(), CTrack().Name("Words").Text(QByteArray("@TShort\0hidden", 14)).End()}), info));
    EXPECT_EQ(info.strTitle, u"Short"_s);
}

TEST(MidiBadInput, ManyTracks)
{
    QByteArray tracks;
    for (int i = 0; i < 10'000; ++i)
        tracks.append(CTrack().Note(1, 1).End());
    MidiSongInfo info;
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(Read(MidiHeader(1, 10'000, 480) + tracks, info));
    EXPECT_EQ(info.tracks.size(), 10'000);
    EXPECT_EQ(info.nSongEndTick, 2);
    EXPECT_LT(timer.elapsed(), 5000);

    // Beyond the limit the chunks are not read at all, so a bad one there is not seen.
    const QByteArray empty = CTrack::Chunk({});
    QByteArray capped = MidiHeader(1, 0xFFFF, 480);
    for (qsizetype i = 0; i < kMaxMidiTracks; ++i)
        capped.append(empty);
    capped.append(CTrack().Raw(QByteArray::fromHex("00F1")).End());
    ASSERT_TRUE(Read(capped, info));
    EXPECT_EQ(info.tracks.size(), kMaxMidiTracks);
}

TEST(MidiBadInput, ManyTemposAndEvents)
{
    CTrack tempos;
    for (qsizetype i = 0; i < kMaxMidiTempos + 100; ++i)
        tempos.Tempo(1, 500'000);
    MidiSongInfo info;
    ASSERT_TRUE(Read(MidiFile({tempos.End()}), info));
    EXPECT_EQ(info.tempos.size(), kMaxMidiTempos);

    // The event budget ends the reading before the bad event at the end.
    QByteArray events = QByteArray::fromHex("00903C64");
    events.reserve(3 * kMaxMidiEvents + 16);
    for (qsizetype i = 1; i < kMaxMidiEvents; ++i)
        events.append("\x01\x3C\x00", 3);
    events.append(QByteArray::fromHex("00FF0900"));
    ASSERT_TRUE(Read(MidiFile({CTrack::Chunk(events)}), info));
    EXPECT_EQ(info.tracks.size(), 1);
    EXPECT_EQ(info.nSongEndTick, kMaxMidiEvents - 1);
    // One event less in the budget's favour and the bad event is read.
    events.remove(4, 3);
    EXPECT_FALSE(Read(MidiFile({CTrack::Chunk(events)}), info));
}

TEST(MidiBadInput, WorkFilesWithManyChunks)
{
    // Many small chunks and no end.
    QByteArray chunks;
    for (int i = 0; i < 100'000; ++i)
        chunks.append(WorkChunk(99, "x"));
    MidiSongInfo info;
    ASSERT_TRUE(Read(WorkFile({chunks}, true, false), info, u"a.wrk"_s));

    QByteArray tracks;
    const QByteArray track = WorkTrack("T");
    for (qsizetype i = 0; i < kMaxMidiTracks + 10; ++i)
        tracks.append(track);
    QList<SWorkTempo> list(0xFFFF, SWorkTempo{0, 12000});
    const QByteArray tempoChunk = WorkTempos(list);
    ASSERT_TRUE(Read(WorkFile({tracks, tempoChunk, tempoChunk}), info, u"a.wrk"_s));
    EXPECT_EQ(info.tracks.size(), kMaxMidiTracks);
    EXPECT_EQ(info.tempos.size(), kMaxMidiTempos);
}

TEST(MidiBadInput, CutAndDamagedFiles)
{
    const QByteArray words = CTrack().Name("Words").Text("@T>>> Singer - Song <<<").Note(10, 20).Tempo(5, 400'000).End(9);
    const QByteArray midi = MidiFile({CTrack().Tempo(0, 500'000).Meta(0, 0x21, "\x01").End(100),
                                      CTrack().Name("INFO-KOR(x|a|b|y)").End(), CTrack().Name("VC-1").End(), words});
    const QByteArray work = WorkFile({WorkTimeBase(96), WorkTrack("VC-1"), WorkText("Author", "SONG:x"),
                                      WorkSongEnd(960), WorkTempos({{0, 12000}, {96, 9000}})});
    MidiSongInfo info;
    ASSERT_TRUE(Read(midi, info));
    EXPECT_EQ(info.nStyle, MidiStyleInfo);
    ASSERT_TRUE(Read(work, info, u"a.wrk"_s));
    EXPECT_EQ(info.strArtist, u"x"_s);

    // Every prefix of both files.
    for (qsizetype size = 0; size <= midi.size(); ++size) {
        Read(midi.first(size), info);
        ExpectSaneResult(info);
    }
    for (qsizetype size = 0; size <= work.size(); ++size) {
        Read(work.first(size), info, u"a.wrk"_s);
        ExpectSaneResult(info);
    }
    // Random bytes overwritten, and sometimes the file cut as well.
    QRandomGenerator random(20200101);
    for (int round = 0; round < 4000; ++round) {
        const bool isWork = round % 2 == 1;
        QByteArray bytes = isWork ? work : midi;
        for (int i = 1 + int(random.bounded(8)); i > 0; --i)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        if (random.bounded(4) == 0)
            bytes.truncate(random.bounded(int(bytes.size())));
        Read(bytes, info, isWork ? u"a.wrk"_s : u"a.kar"_s);
        ExpectSaneResult(info);
    }
}

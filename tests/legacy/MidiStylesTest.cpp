#include "legacy/MidiBytes.h"

#include "legacy/MidiSongInfo.h"
#include "legacy/MidiStyles.h"
#include "legacy/MidiTitles.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using namespace velmora::test;

namespace {

// Korean "love", "singer" and "song" in code page 949.
const QByteArray kLove("\xBB\xE7\xB6\xFB");
const QByteArray kSinger("\xB0\xA1\xBC\xF6");
const QByteArray kSongMark("\xB3\xEB\xB7\xA1:");

// A file whose track 1 has the given name and whose track 0 gives the slots' texts.
MidiSongInfo WithStyleTrack(const QByteArray &trackName, const QList<QByteArray> &firstTrackTexts = {},
                            const QByteArray &title = {}, const QByteArray &copyright = {})
{
    CTrack first;
    if (!title.isEmpty())
        first.Name(title);
    for (const QByteArray &text : firstTrackTexts)
        first.Text(text);
    if (!copyright.isEmpty())
        first.Meta(0, 0x02, copyright);
    first.Tempo(0, 500'000);
    MidiSongInfo info;
    EXPECT_TRUE(ReadMidiSongInfoFromBytes(MidiFile({first.End(480), CTrack().Name(trackName).End()}), u"a.mid"_s, info));
    return info;
}

} // namespace

TEST(MidiStyle, TrackNamesByTheirStart)
{
    EXPECT_EQ(MidiStyleOfTrackName("INFO(x|y|z)"), MidiStyleInfo);
    EXPECT_EQ(MidiStyleOfTrackName("  info-kor(x)"), MidiStyleInfo);
    EXPECT_EQ(MidiStyleOfTrackName("SET UP"), MidiStyleSetUp);
    EXPECT_EQ(MidiStyleOfTrackName("vc-1 song"), MidiStyleVc1);
    EXPECT_EQ(MidiStyleOfTrackName("\tWordsmith "), MidiStyleWords);
    EXPECT_EQ(MidiStyleOfTrackName("INFO"), MidiStyleNone);
    EXPECT_EQ(MidiStyleOfTrackName("Setup"), MidiStyleNone);
    EXPECT_EQ(MidiStyleOfTrackName("My Words"), MidiStyleNone);
    EXPECT_EQ(MidiStyleOfTrackName(""), MidiStyleNone);
}

TEST(MidiStyle, FirstStyleTrackDecides)
{
    CTrack first;
    first.Tempo(0, 500'000);
    const QByteArray file = MidiFile({first.End(), CTrack().Name("Piano").End(), CTrack().Name("Set up").End(),
                                      CTrack().Name("Words").End()});
    MidiSongInfo info;
    ASSERT_TRUE(ReadMidiSongInfoFromBytes(file, u"a.mid"_s, info));
    EXPECT_EQ(info.nStyle, MidiStyleSetUp);
    EXPECT_EQ(info.nCodePage, 932);
}

TEST(MidiStyle, InfoTrackGivesCodePageTitleAndAuthor)
{
    MidiSongInfo info = WithStyleTrack("INFO-KOR(x|Title text|Author text|y)");
    EXPECT_EQ(info.nStyle, MidiStyleInfo);
    EXPECT_EQ(info.nCodePage, 949);
    EXPECT_EQ(info.strTitle, u"Title text"_s);
    EXPECT_EQ(info.strArtist, u"Author text"_s);

    info = WithStyleTrack("INFO-KOR(x|" + kLove + '|' + kSinger + "|y)");
    EXPECT_EQ(info.strTitle, u"\uC0AC\uB791"_s);
    EXPECT_EQ(info.strArtist, u"\uAC00\uC218"_s);

    // Between the first "(" and the last ")": the pieces may hold parentheses.
    info = WithStyleTrack(" INFO(0|Song (live)|Band) ");
    EXPECT_EQ(info.nCodePage, 1252);
    EXPECT_EQ(info.strTitle, u"Song (live)"_s);
    EXPECT_EQ(info.strArtist, u"Band"_s);

    // Fewer than two "|" leave the slots as the file set them.
    info = WithStyleTrack("INFO-EN(only|one)", {"Instr", "Old Author"}, "Old Title");
    EXPECT_EQ(info.strTitle, u"Old Title"_s);
    EXPECT_EQ(info.strArtist, u"Old Author"_s);
    info = WithStyleTrack("INFO(a|b|c", {}, "Unclosed");
    EXPECT_EQ(info.strTitle, u"Unclosed"_s);
}

TEST(MidiStyle, LanguageCodes)
{
    const std::pair<QByteArrayView, int> codes[] = {
        {"UTF8", 65001}, {"kor", 949}, {"Ko", 949}, {"RUS", 1251}, {"ru", 1251}, {"JPN", 932}, {"JA", 932},
        {"CHI", 936}, {"zhi", 936}, {"ZH", 936}, {"ENG", 1252}, {"EN", 1252}, {"KOREAN", 0}, {" KO", 0}, {"", 0}};
    for (const auto &[code, codePage] : codes)
        EXPECT_EQ(CodePageOfLanguage(code), codePage) << code.toByteArray().constData();

    // An unknown language leaves an INFO file in code page 1252.
    EXPECT_EQ(WithStyleTrack("INFO-XX(a|b|c)").nCodePage, 1252);
    EXPECT_EQ(WithStyleTrack("INFO-RU(a|\xCF\xF0\xE8|c)").strTitle, u"\u041F\u0440\u0438"_s);
    EXPECT_EQ(WithStyleTrack("INFO-UTF8(a|Caf\xC3\xA9|c)").strTitle, u"Caf\u00E9"_s);
    EXPECT_EQ(WithStyleTrack("INFO-ZH(a|\xD6\xD0\xCE\xC4|c)").strTitle, u"\u4E2D\u6587"_s);
}

TEST(MidiCodePage, SetUpTracksAreJapanese)
{
    // "Uta" (song) in Shift-JIS as the first track name.
    const MidiSongInfo info = WithStyleTrack("Set up", {}, "\x89\xCC");
    EXPECT_EQ(info.nCodePage, 932);
    EXPECT_EQ(info.strTitle, u"\u6B4C"_s);
}

TEST(MidiCodePage, Vc1FilesByColonOrGuess)
{
    // A colon at the fifth byte of the copyright, instructions or author means Korean.
    EXPECT_EQ(WithStyleTrack("VC-1", {}, "Title", "abcd:e").nCodePage, 949);
    EXPECT_EQ(WithStyleTrack("VC-1", {"abcd:"}, "Title").nCodePage, 949);
    EXPECT_EQ(WithStyleTrack("VC-1", {"x", "abcd:"}, "Title").nCodePage, 949);
    // Otherwise the title decides.
    EXPECT_EQ(WithStyleTrack("VC-1", {"abc:"}, "Title").nCodePage, 1252);
    EXPECT_EQ(WithStyleTrack("VC-1", {}, kLove).nCodePage, 949);
    EXPECT_EQ(WithStyleTrack("VC-1", {}, "Caf\xE9").nCodePage, 1252);
    EXPECT_EQ(WithStyleTrack("VC-1").nCodePage, 0);
}

TEST(MidiCodePage, Vc1ArtistFromTheSongMark)
{
    MidiSongInfo info = WithStyleTrack("VC-1", {"SONG:Not first", kSongMark + kSinger}, kLove);
    EXPECT_EQ(info.strTitle, u"\uC0AC\uB791"_s);
    EXPECT_EQ(info.strArtist, u"\uAC00\uC218"_s);  // the author slot comes first

    info = WithStyleTrack("VC-1", {"SONG:Band", "Plain author"}, "Title");
    EXPECT_EQ(info.strArtist, u"Band"_s);
    info = WithStyleTrack("VC-1", {"Instr", "Plain author"}, "Title", "SONG:Label");
    EXPECT_EQ(info.strArtist, u"Label"_s);
    // Without a marked slot there is no artist, whatever the author slot says.
    info = WithStyleTrack("VC-1", {"Instr", "Plain author"}, "Title", "song:lower");
    EXPECT_TRUE(info.strArtist.isEmpty());
}

TEST(MidiCodePage, WordsFilesAreWestern)
{
    const MidiSongInfo info = WithStyleTrack("Words", {"x", "Bj\xF6rk"}, "Caf\xE9");
    EXPECT_EQ(info.nCodePage, 1252);
    EXPECT_EQ(info.strTitle, u"Caf\u00E9"_s);
    EXPECT_EQ(info.strArtist, u"Bj\u00F6rk"_s);
}

TEST(MidiCodePage, TextsCutInsideACharacterStillConvert)
{
    // 129 Korean characters: the 259-byte slot ends on the first byte of the last one.
    QByteArray longTitle;
    for (int i = 0; i < 130; ++i)
        longTitle.append(kLove.first(2));
    const MidiSongInfo info = WithStyleTrack("VC-1", {}, longTitle);
    EXPECT_EQ(info.nCodePage, 949);
    EXPECT_EQ(info.aszTexts[MidiTextTitle].size(), kMaxMidiText);
    EXPECT_EQ(info.strTitle, QString(129, QChar(0xC0AC)));

    // Only a full slot is taken to be cut.
    EXPECT_EQ(DecodeMidiText("ab\xB0", 949), u"ab\uFFFD"_s);
    EXPECT_TRUE(DecodeMidiText("abc", 12345).isEmpty());
}

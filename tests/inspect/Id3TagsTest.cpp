#include "inspect/Id3v1Tag.h"
#include "inspect/Id3v2Tag.h"
#include "platform/CodePage.h"

#include "samplegen/Id3Writer.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(value));
    return bytes;
}

QByteArray BigEndian(quint32 value, int width)
{
    QByteArray bytes;
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        bytes.append(char(value >> shift & 0xFF));
    return bytes;
}

QByteArray Synchsafe(quint32 value)
{
    return Bytes({int(value >> 21 & 0x7F), int(value >> 14 & 0x7F), int(value >> 7 & 0x7F), int(value & 0x7F)});
}

QByteArray Frame23(const char *id, const QByteArray &content, int formatFlags = 0)
{
    return QByteArray(id) + BigEndian(quint32(content.size()), 4) + Bytes({0, formatFlags}) + content;
}

QByteArray Frame24(const char *id, const QByteArray &content, int formatFlags = 0)
{
    return QByteArray(id) + Synchsafe(quint32(content.size())) + Bytes({0, formatFlags}) + content;
}

QByteArray Frame22(const char *id, const QByteArray &content)
{
    return QByteArray(id) + BigEndian(quint32(content.size()), 3) + content;
}

// Encoding byte 0 and the text, embedded zero bytes included.
QByteArray Latin(const QByteArray &text)
{
    return QByteArray(1, '\0') + text;
}
template <size_t N>
QByteArray Latin(const char (&text)[N])
{
    return Latin(QByteArray(text, N - 1));
}

QByteArray Padding()
{
    return QByteArray(16, '\0');
}

QStringList Frames23(QByteArrayView body, quint8 flags = 0)
{
    return ReadId3v2Frames(body, 0x0300, flags);
}

class Id3Frames : public ::testing::Test
{
protected:
    void SetUp() override { SetAnsiCodePage(1252); }
    void TearDown() override { SetAnsiCodePage(kDefaultAnsiCodePage); }
};

} // namespace

TEST(Id3v2Header, ReadsVersionFlagsAndSynchsafeSize)
{
    const SId3v2Header header = ReadId3v2Header(QByteArray("ID3") + Bytes({3, 0, 0x80, 0, 0, 2, 1}) + "more");
    EXPECT_TRUE(header.bFound);
    EXPECT_EQ(header.wVersion, 0x0300);
    EXPECT_EQ(header.nFlags, 0x80);
    EXPECT_EQ(header.nBodySize, 257u);

    // Stray high bits are not part of a synchsafe size: the largest value is 2^28 - 1.
    EXPECT_EQ(ReadId3v2Header(QByteArray("ID3") + Bytes({4, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})).nBodySize, 0x0FFFFFFFu);
}

TEST(Id3v2Header, NoTagWithoutMarkOrWithoutTenBytes)
{
    EXPECT_FALSE(ReadId3v2Header(QByteArray("ID2") + Bytes({3, 0, 0, 0, 0, 0, 1})).bFound);
    EXPECT_FALSE(ReadId3v2Header(QByteArray("ID3") + Bytes({3, 0, 0, 0, 0, 0})).bFound);
    EXPECT_FALSE(ReadId3v2Header(QByteArrayView()).bFound);
}

TEST(Id3v2Header, BodyIsCutAtTheEndOfTheImage)
{
    const QByteArray image = QByteArray("ID3") + Bytes({3, 0, 0, 0, 0, 0, 5}) + "abcdefgh";
    const SId3v2Header header = ReadId3v2Header(image);
    EXPECT_EQ(Id3v2Body(image, header), QByteArrayView("abcde"));

    SId3v2Header huge = header;
    huge.nBodySize = 0x0FFFFFFF;
    EXPECT_EQ(Id3v2Body(image, huge), QByteArrayView("abcdefgh"));
    EXPECT_TRUE(Id3v2Body(image.first(10), huge).isEmpty());
    EXPECT_TRUE(Id3v2Body(image, SId3v2Header()).isEmpty());
}

TEST_F(Id3Frames, WriterTagRoundTripsAllSevenValuesInOrder)
{
    samplegen::SId3Fields fields;
    fields.title = u"Café Song"_s;
    fields.artist = u"Пётр"_s; // not Latin-1: written as UTF-16 with a mark
    fields.album = u"Album"_s;
    fields.year = 1999;
    fields.track = 12;
    fields.genre = u"Pop"_s;
    fields.comment = u"Nice"_s;
    const QByteArray tag = samplegen::MakeId3v23Tag(fields);
    const SId3v2Header header = ReadId3v2Header(tag);
    ASSERT_TRUE(header.bFound);

    const QStringList values = ReadId3v2Frames(Id3v2Body(tag, header), header.wVersion, header.nFlags);
    EXPECT_EQ(values, (QStringList{u"Café Song"_s, u"Пётр"_s, u"Album"_s, u"1999"_s, u"12"_s, u"Pop"_s, u"Nice"_s}));
}

TEST_F(Id3Frames, AnsiTitleAndGenreReferenceAsTheyStand)
{
    const QByteArray body = Frame23("TIT2", Latin("Caf\xE9 \x80")) + Frame23("TCON", Latin("(17)")) + Padding();
    const QStringList values = Frames23(body);
    EXPECT_EQ(values[Id3v2Title], u"Café €"_s); // code page 1252, not ISO-8859-1
    EXPECT_EQ(values[Id3v2Genre], u"(17)"_s);

    SetAnsiCodePage(1251);
    EXPECT_EQ(Frames23(Frame23("TIT2", Latin("\xC0\xE1"))+ Padding())[Id3v2Title], u"Аб"_s);
}

TEST_F(Id3Frames, Version22IdsReadLikeTheirLaterNames)
{
    const QByteArray body22 = Frame22("TT2", Latin("Title")) + Frame22("TP1", Latin("Artist"))
        + Frame22("TAL", Latin("Album")) + Frame22("TYE", Latin("2001")) + Frame22("TXX", Latin("skipped"))
        + Frame22("TCO", Latin("Rock")) + Frame22("COM", Latin("eng\0Comment")) + Frame22("TRK", Latin("7"));
    const QByteArray body23 = Frame23("TIT2", Latin("Title")) + Frame23("TPE1", Latin("Artist"))
        + Frame23("TALB", Latin("Album")) + Frame23("TYER", Latin("2001")) + Frame23("TCON", Latin("Rock"))
        + Frame23("COMM", Latin("eng\0Comment")) + Frame23("TRCK", Latin("7")) + Padding();
    // The last version 2.2 frame ends the tag without padding and is still read.
    const QStringList values = ReadId3v2Frames(body22, 0x0200, 0);
    EXPECT_EQ(values, Frames23(body23));
    EXPECT_EQ(values[Id3v2Track], u"7"_s);
    EXPECT_EQ(values[Id3v2Comment], u"Comment"_s);
}

TEST_F(Id3Frames, EveryTextEncoding)
{
    const QByteArray body = Frame23("TIT2", Bytes({1, 0xFF, 0xFE, 'L', 0, 0xE9, 0, 0, 0}))  // UTF-16 LE mark
        + Frame23("TPE1", Bytes({1, 0xFE, 0xFF, 0, 'B', 0, 0xE9}))                          // UTF-16 BE mark
        + Frame23("TALB", Bytes({1, 'N', 0, 'o', 0}))                                       // no mark: LE
        + Frame23("TYER", Bytes({2, 0, '1', 0, '9', 0, '9', 0, '0', 0, 0}))                 // UTF-16 BE
        + Frame23("TRCK", Bytes({3, '7'}))                                                  // UTF-8, one character
        + Frame23("TCON", QByteArray(1, '\3') + u"Ωmega"_s.toUtf8() + QByteArray(1, '\0') + "junk")
        + Frame23("COMM", Bytes({7, 'e', 'n', 'g', 0, 'x'})) + Padding();
    const QStringList values = Frames23(body);
    EXPECT_EQ(values, (QStringList{u"Lé"_s, u"Bé"_s, u"No"_s, u"1990"_s, u"7"_s, u"Ωmega"_s, QString()}));
}

TEST_F(Id3Frames, UnknownEncodingReplacesEarlierValueWithEmpty)
{
    const QByteArray body = Frame23("TIT2", Latin("First")) + Frame23("TIT2", Bytes({7, 'A', 'B'}))
        + Frame23("TPE1", Latin("One")) + Frame23("TPE1", Latin("Two")) + Padding();
    const QStringList values = Frames23(body);
    EXPECT_EQ(values[Id3v2Title], QString());
    EXPECT_EQ(values[Id3v2Artist], u"Two"_s);
}

TEST_F(Id3Frames, TextEndsAtItsFirstTerminator)
{
    // 41 00 | 00 42 holds no zero code unit, although two zero bytes meet in the middle.
    const QByteArray body = Frame23("TIT2", Latin("abc\0def")) + Frame23("TPE1", Bytes({1, 'A', 0, 0, 0x42, 0, 0, 'Z', 0}))
        + Frame23("COMM", QByteArray("\1eng") + Bytes({0xFF, 0xFE, 'd', 0, 0, 0, 0xFF, 0xFE, 'T', 0})) + Padding();
    const QStringList values = Frames23(body);
    EXPECT_EQ(values[Id3v2Title], u"abc"_s);
    EXPECT_EQ(values[Id3v2Artist], u"A\u4200"_s);
    EXPECT_EQ(values[Id3v2Comment], u"T"_s); // language and description stepped over
}

TEST_F(Id3Frames, PaddingEndsTheFrameLoop)
{
    const QByteArray body = Frame23("TIT2", Latin("Title")) + Padding() + Frame23("TPE1", Latin("Hidden"));
    const QStringList values = Frames23(body);
    EXPECT_EQ(values[Id3v2Title], u"Title"_s);
    EXPECT_EQ(values[Id3v2Artist], QString());
}

TEST_F(Id3Frames, FrameLargerThanTheContentBufferIsCut)
{
    const QByteArray body = Frame23("TIT2", Latin(QByteArray(1000, 'a'))) + Frame23("TPE1", Latin("Next"))
        + Frame23("TALB", Bytes({1, 0xFF, 0xFE}) + QByteArray("b\0", 2).repeated(600)) + Padding();
    const QStringList values = Frames23(body);
    EXPECT_EQ(values[Id3v2Title], QString(518, u'a')); // 519 buffered bytes, the first is the encoding
    EXPECT_EQ(values[Id3v2Artist], u"Next"_s);         // the rest of the big frame was skipped
    EXPECT_EQ(values[Id3v2Album], QString(258, u'b'));
}

TEST_F(Id3Frames, FrameClaimingMoreThanTheBodyKeepsWhatIsThere)
{
    for (const quint32 size : {0x200u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        const QByteArray body = Frame23("TPE1", Latin("Artist")) + QByteArray("TIT2") + BigEndian(size, 4)
            + Bytes({0, 0}) + Latin("Title\0") + Frame23("TALB", Latin("Swallowed"));
        const QStringList values = Frames23(body);
        EXPECT_EQ(values[Id3v2Artist], u"Artist"_s);
        EXPECT_EQ(values[Id3v2Title], u"Title"_s);
        EXPECT_EQ(values[Id3v2Album], QString()) << size;
    }
}

TEST_F(Id3Frames, ZeroSizeFrameIsEmptyAndTheWalkGoesOn)
{
    const QByteArray body = Frame23("TIT2", {}) + Frame23("TPE1", Latin("Artist")) + Padding();
    const QStringList values = Frames23(body);
    EXPECT_EQ(values[Id3v2Title], QString());
    EXPECT_EQ(values[Id3v2Artist], u"Artist"_s);
}

TEST_F(Id3Frames, Version24FrameSizesAreSynchsafe)
{
    const QByteArray text = Latin(QByteArray(199, 'x')); // 200 bytes: synchsafe 01 48, plain 00 C8
    const QByteArray body = Frame24("TXXX", text) + Frame24("TIT2", Latin("Title")) + Frame24("TDRC", Latin("2004-05-06"))
        + Frame24("TPE1", Latin("Artist")) + Padding();
    const QStringList values = ReadId3v2Frames(body, 0x0400, 0);
    EXPECT_EQ(values[Id3v2Title], u"Title"_s);
    EXPECT_EQ(values[Id3v2Year], u"2004-05-06"_s);
    EXPECT_EQ(values[Id3v2Artist], u"Artist"_s);

    // A plain size with a high bit set cannot be synchsafe and is read as it stands.
    const QByteArray plain = Frame23("TXXX", text) + Frame23("TIT2", Latin("Plain")) + Padding();
    EXPECT_EQ(ReadId3v2Frames(plain, 0x0400, 0)[Id3v2Title], u"Plain"_s);
}

TEST_F(Id3Frames, ExtendedHeaderIsSteppedOver)
{
    const QByteArray frames = Frame23("TIT2", Latin("Title")) + Padding();
    EXPECT_EQ(Frames23(Bytes({0, 0, 0, 6, 0, 0, 0, 0, 0, 0}) + frames, kId3v2ExtendedHeader)[Id3v2Title], u"Title"_s);
    EXPECT_EQ(ReadId3v2Frames(Bytes({0, 0, 0, 6, 1, 0}) + frames, 0x0400, kId3v2ExtendedHeader)[Id3v2Title], u"Title"_s);
    // An extended header running past the body leaves nothing to read.
    EXPECT_EQ(Frames23(Bytes({0x7F, 0, 0, 0}) + frames, kId3v2ExtendedHeader), QStringList(Id3v2ValueCount));
}

TEST_F(Id3Frames, UnsynchronisedBytesAreRestored)
{
    // Version 2.3 sizes count the restored bytes; stored FF 00 FE is the mark FF FE.
    QByteArray body23 = Frame23("TIT2", Bytes({1, 0xFF, 0xFE, 'A', 0})) + Frame23("TPE1", Latin("\xFFx")) + Padding();
    body23.replace("\xFF", QByteArray("\xFF\0", 2));
    const QStringList values23 = Frames23(body23, kId3v2Unsynchronised);
    EXPECT_EQ(values23[Id3v2Title], u"A"_s);
    EXPECT_EQ(values23[Id3v2Artist], u"ÿx"_s);

    // Version 2.4 marks single frames, whose sizes count the stored bytes.
    const QByteArray body24 = Frame24("TIT2", Bytes({0, 0xFF, 0, 'x'}), 0x02) + Frame24("TPE1", Bytes({0, 0xFF, 0, 'x'}))
        + Padding();
    const QStringList values24 = ReadId3v2Frames(body24, 0x0400, 0);
    EXPECT_EQ(values24[Id3v2Title], u"ÿx"_s);
    EXPECT_EQ(values24[Id3v2Artist], u"ÿ"_s); // not marked: the zero byte ends the text
    EXPECT_EQ(ReadId3v2Frames(body24, 0x0400, kId3v2Unsynchronised)[Id3v2Artist], u"ÿx"_s);
}

TEST_F(Id3Frames, CompressedOrEncryptedFramesAreSkippedAndPrefixesStepped)
{
    const QByteArray body23 = Frame23("TIT2", Latin("Kept")) + Frame23("TIT2", Latin("Packed"), 0x80)
        + Frame23("TPE1", Latin("Secret"), 0x40) + Frame23("TALB", QByteArray(1, '\x05') + Latin("Grouped"), 0x20) + Padding();
    const QStringList values23 = Frames23(body23);
    EXPECT_EQ(values23[Id3v2Title], u"Kept"_s);
    EXPECT_EQ(values23[Id3v2Artist], QString());
    EXPECT_EQ(values23[Id3v2Album], u"Grouped"_s);

    const QByteArray body24 = Frame24("TIT2", Bytes({9, 0, 0, 0, 6}) + Latin("Title"), 0x41)
        + Frame24("TPE1", Latin("Packed"), 0x09) + Padding();
    const QStringList values24 = ReadId3v2Frames(body24, 0x0400, 0);
    EXPECT_EQ(values24[Id3v2Title], u"Title"_s);
    EXPECT_EQ(values24[Id3v2Artist], QString());
}

TEST_F(Id3Frames, TagsWithoutReadableFramesGiveSevenEmptyValues)
{
    const QByteArray body = Frame23("TIT2", Latin("Title")) + Padding();
    const QStringList empty(Id3v2ValueCount);
    EXPECT_EQ(ReadId3v2Frames(body, 0, 0), empty);                     // version 0
    EXPECT_EQ(ReadId3v2Frames(Frame22("TT2", Latin("T")), 0x0200, 0x40), empty); // compressed 2.2 tag
    EXPECT_EQ(Frames23(QByteArrayView()), empty);
    EXPECT_EQ(Frames23(body.first(10)), empty);
}

TEST_F(Id3Frames, TruncatedAndGarbageBodiesStayInside)
{
    // Every prefix of a real tag, then random bytes as every version: the address
    // sanitizer build catches any read outside the data.
    const QByteArray body = Frame24("TIT2", Bytes({1, 0xFF, 0xFE, 'T', 0}), 0x03) + Frame23("COMM", Bytes({1, 'e'}))
        + Frame22("TT2", Latin("x"));
    for (const quint16 version : {0x0200, 0x0300, 0x0400}) {
        for (qsizetype length = 0; length <= body.size(); ++length) {
            const QByteArray copy = body.first(length); // its own allocation, so overruns show
            EXPECT_EQ(ReadId3v2Frames(copy, version, 0xFF).size(), Id3v2ValueCount);
        }
    }
    QRandomGenerator random(6);
    for (int round = 0; round < 500; ++round) {
        QByteArray garbage(random.bounded(64), Qt::Uninitialized);
        for (char &byte : garbage)
            byte = char(random.bounded(4) == 0 ? 0xFF : random.bounded(256));
        const quint16 version = quint16(random.bounded(6) << 8);
        EXPECT_EQ(ReadId3v2Frames(garbage, version, quint8(random.bounded(256))).size(), Id3v2ValueCount);
    }
}

TEST(Id3v1, ReadsTheSixValues)
{
    samplegen::SId3Fields fields;
    fields.title = u"Title"_s;
    fields.artist = u"Artist"_s;
    fields.album = u"Album"_s;
    fields.year = 1987;
    fields.track = 7;
    fields.genreIndex = 17;
    EXPECT_EQ(ReadId3v1(samplegen::MakeId3v1Tag(fields)),
              (QStringList{u"Title"_s, u"Artist"_s, u"Album"_s, u"1987"_s, u"7"_s, u"Rock"_s}));
}

TEST(Id3v1, TrackByteNeedsTheZeroBeforeIt)
{
    QByteArray tag = samplegen::MakeId3v1Tag({});
    tag[126] = 7;
    EXPECT_EQ(ReadId3v1(tag)[Id3v2Track], u"7"_s);
    tag[126] = char(255);
    EXPECT_EQ(ReadId3v1(tag)[Id3v2Track], u"255"_s);
    tag[125] = 0x41; // a version 1.0 comment runs through both bytes
    EXPECT_EQ(ReadId3v1(tag)[Id3v2Track], QString());
    tag[125] = 0;
    tag[126] = 0;
    EXPECT_EQ(ReadId3v1(tag)[Id3v2Track], QString());
}

TEST(Id3v1, FieldsEndAtZeroOrBlankPaddingAndUseTheAnsiCodePage)
{
    QByteArray tag = samplegen::MakeId3v1Tag({});
    tag.replace(3, 30, QByteArray(30, 'T'));                  // fills the field: no terminator
    tag.replace(33, 30, QByteArray("Art \x80").leftJustified(30, ' '));
    tag.replace(63, 6, QByteArray("Al\0bum", 6));
    tag.replace(93, 4, "2001");
    SetAnsiCodePage(1252);
    const QStringList values = ReadId3v1(tag);
    SetAnsiCodePage(kDefaultAnsiCodePage);
    EXPECT_EQ(values[Id3v2Title], QString(30, u'T'));         // the artist field does not run on
    EXPECT_EQ(values[Id3v2Artist], u"Art €"_s);
    EXPECT_EQ(values[Id3v2Album], u"Al"_s);
    EXPECT_EQ(values[Id3v2Year], u"2001"_s);
}

TEST(Id3v1, GenreByteOutsideTheList)
{
    QByteArray tag = samplegen::MakeId3v1Tag({});
    tag[127] = char(147);
    EXPECT_EQ(ReadId3v1(tag)[Id3v2Genre], u"SynthPop"_s);
    tag[127] = char(148);
    EXPECT_EQ(ReadId3v1(tag)[Id3v2Genre], QString());
    tag[127] = char(255);
    EXPECT_EQ(ReadId3v1(tag)[Id3v2Genre], QString());
}

TEST(Id3v1, OnlyA128ByteTrailerStartingWithTagIsRead)
{
    samplegen::SId3Fields fields;
    fields.title = u"Title"_s;
    const QByteArray tag = samplegen::MakeId3v1Tag(fields);
    const QStringList empty(kId3v1ValueCount);
    EXPECT_EQ(ReadId3v1(tag.first(127)), empty);
    EXPECT_EQ(ReadId3v1(QByteArray("XAG") + tag.sliced(3)), empty);
    EXPECT_EQ(ReadId3v1(tag + 'x'), empty);

    const QByteArray image = QByteArray(1000, '\xFF') + tag;
    EXPECT_EQ(Id3v1Trailer(image), QByteArrayView(tag));
    EXPECT_EQ(Id3v1Trailer(tag), QByteArrayView(tag));
    EXPECT_TRUE(Id3v1Trailer(tag.sliced(1)).isEmpty());
    EXPECT_TRUE(Id3v1Trailer(image + 'x').isEmpty());
    EXPECT_EQ(ReadId3v1(Id3v1Trailer(image))[Id3v2Title], u"Title"_s);
}

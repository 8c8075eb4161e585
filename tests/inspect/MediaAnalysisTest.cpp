#include "TestSupport.h"

#include "inspect/MediaAnalysis.h"
#include "inspect/MediaInfoLibrary.h"
#include "inspect/Mp3Analysis.h"
#include "inspect/PackagedHeader.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/OtherFormats.h"
#include "samplegen/SampleLibrary.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, no padding: frames of 417 bytes.
const QByteArray kFrameHeader("\xFF\xFB\x90\x64", 4);

QByteArray AudioWithSyncAt(qsizetype offset, const QByteArray &header = kFrameHeader)
{
    return QByteArray(offset, '\0') + header + QByteArray(1024, '\0');
}

const samplegen::SId3Fields kTags{u"Title X"_s, u"Artist Y"_s, u"Album Z"_s, 1999, 7, u"Rock"_s, 17, u"note"_s};

class CAnalysis : public ::testing::Test
{
protected:
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        test::WriteBytes(path, bytes);
        return path;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST(EstimateMp3Duration, FrameHeaderArithmetic)
{
    EXPECT_EQ(EstimateMp3Duration(AudioWithSyncAt(0), 4'000'000), u"249"_s);
    EXPECT_EQ(EstimateMp3Duration(AudioWithSyncAt(0), 3'999'872), u"249"_s);
    EXPECT_EQ(EstimateMp3Duration(AudioWithSyncAt(605), 4'000'000), u"249"_s);
    EXPECT_EQ(EstimateMp3Duration(AudioWithSyncAt(606), 4'000'000), u"Error MP3FRAMEHEADER"_s);
    EXPECT_EQ(EstimateMp3Duration({}, 4'000'000), u"Error MP3FRAMEHEADER"_s);
    // MPEG-2 Layer III, 64 kbit/s, 22050 Hz, padded: 144000 * 64 / 22050 + 1 = 418 bytes.
    EXPECT_EQ(EstimateMp3Duration(AudioWithSyncAt(0, QByteArray("\xFF\xF3\x82\x00", 4)), 418 * 1000), u"26"_s);
    // Layer I, MPEG-1, 32 kbit/s, 32000 Hz: (12000 * 32 / 32000) * 4 = 48 bytes.
    EXPECT_EQ(EstimateMp3Duration(AudioWithSyncAt(0, QByteArray("\xFF\xFF\x18\x00", 4)), 48'000), u"26"_s);
}

TEST(EstimateMp3Duration, InvalidHeadersGiveNoTime)
{
    EXPECT_TRUE(EstimateMp3Duration(AudioWithSyncAt(0, QByteArray("\xFF\xEB\x90\x64", 4)), 1000).isEmpty()); // reserved version
    EXPECT_TRUE(EstimateMp3Duration(AudioWithSyncAt(0, QByteArray("\xFF\xF9\x90\x64", 4)), 1000).isEmpty()); // reserved layer
    EXPECT_TRUE(EstimateMp3Duration(AudioWithSyncAt(0, QByteArray("\xFF\xFB\x00\x64", 4)), 1000).isEmpty()); // free format
    EXPECT_TRUE(EstimateMp3Duration(AudioWithSyncAt(0, QByteArray("\xFF\xFB\xF0\x64", 4)), 1000).isEmpty()); // index 15
    EXPECT_TRUE(EstimateMp3Duration(AudioWithSyncAt(0, QByteArray("\xFF\xFB\x9C\x64", 4)), 1000).isEmpty()); // rate 3
    EXPECT_EQ(EstimateMp3Duration(AudioWithSyncAt(0), -5), u"0"_s);
}

TEST_F(CAnalysis, Mp3SlotsByTag)
{
    const QByteArray frames = samplegen::MakeMp3Frames(200);
    QStringList result;
    EXPECT_TRUE(ReadMp3FileTags(Write(u"v2.mp3"_s, samplegen::MakeMp3File(&kTags, true, false, 200)), result));
    ASSERT_EQ(result.size(), 10);
    EXPECT_EQ(result[SlotDuration], u"5"_s);
    EXPECT_EQ(result[SlotTitle], u"Title X"_s);
    EXPECT_EQ(result[SlotTrack], u"7"_s);
    EXPECT_EQ(result[SlotComment], u"note"_s);

    EXPECT_TRUE(ReadMp3FileTags(Write(u"v1.mp3"_s, samplegen::MakeMp3File(&kTags, false, true, 200)), result));
    ASSERT_EQ(result.size(), 9);
    EXPECT_EQ(result[SlotArtist], u"Artist Y"_s);
    EXPECT_EQ(result[SlotDuration], u"5"_s);

    EXPECT_FALSE(ReadMp3FileTags(Write(u"bare.mp3"_s, frames), result));
    EXPECT_EQ(result, QStringList({u"5"_s, QString(), QString()}));

    // The in-memory form gives the same.
    QStringList fromImage;
    ReadMp3ImageTags(samplegen::MakeMp3File(&kTags, true, true, 200), fromImage);
    EXPECT_EQ(fromImage.value(SlotTitle), u"Title X"_s);
}

TEST_F(CAnalysis, Mp3LimitsAndLyingTags)
{
    QStringList result;
    // A tag that claims far more than the file holds: no audio, but no harm.
    QByteArray lying("ID3\x03\x00\x00\x7F\x7F\x7F\x7F", 10);
    lying += QByteArray(100, 'x');
    EXPECT_TRUE(ReadMp3FileTags(Write(u"lying.mp3"_s, lying), result));
    EXPECT_EQ(result.value(SlotDuration), u"Error MP3FRAMEHEADER"_s);
    EXPECT_TRUE(ReadMp3ImageTags(lying, result));

    QFile big(m_dir.filePath(u"big.mp3"_s));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kMaxAnalysedFileSize)); // sparse, nothing written
    big.close();
    EXPECT_FALSE(ReadMp3FileTags(big.fileName(), result));
    EXPECT_TRUE(result.isEmpty());

    for (int size : {0, 3, 10, 127, 128, 129}) {
        EXPECT_FALSE(ReadMp3ImageTags(QByteArray(size, '\xFF'), result)) << size;
    }
}

TEST(PackagedHeader, InfoTextFields)
{
    const QByteArray text("1|Title|Artist|Album|X-(215,128,2001,3,Pop)");
    QByteArray bytes("PCGH" + QByteArray(8, '\0'));
    bytes.append(char(text.size())).append(QByteArray(3, '\0')).append(text);
    QStringList result;
    ASSERT_TRUE(ReadPackagedHeaderBytes(bytes, result));
    EXPECT_EQ(result, QStringList({u"215"_s, u"128"_s, QString(), u"Title"_s, u"Artist"_s, u"Album"_s, u"2001"_s,
                                   u"3"_s, u"Pop"_s}));

    // A field without both parentheses leaves the numbers empty; a huge length is cut.
    QByteArray plain = bytes.left(12) + QByteArray("\xFF\xFF\xFF\xFF", 4) + "0|T|A|B|no numbers";
    ASSERT_TRUE(ReadPackagedHeaderBytes(plain, result));
    EXPECT_TRUE(result[SlotDuration].isEmpty());
    EXPECT_EQ(result[SlotAlbum], u"B"_s);

    EXPECT_FALSE(ReadPackagedHeaderBytes(QByteArray("PCGX").leftJustified(40, '\1'), result));
    EXPECT_FALSE(ReadPackagedHeaderBytes(bytes.left(12) + QByteArray(4, '\0') + text, result));
    EXPECT_FALSE(ReadPackagedHeaderBytes(bytes.left(10), result));
    EXPECT_TRUE(result.isEmpty());
}

TEST_F(CAnalysis, DispatchByEnding)
{
    QStringList result;
    EXPECT_FALSE(ReadMediaTags(m_dir.filePath(u"missing.mp3"_s), result));
    EXPECT_FALSE(AnalyseMediaFile(m_dir.filePath(u"missing.wav"_s), result));
    EXPECT_TRUE(result.isEmpty());

    const QString wav = Write(u"tone.wav"_s, samplegen::MakeWavFile(2));
    EXPECT_FALSE(ReadMediaTags(wav, result));
    EXPECT_TRUE(result.isEmpty());

    for (const samplegen::SSampleFile &file : samplegen::BuildSampleLibrary()) {
        if (file.relativePath == u"Midi/Paper Moon.kar"_s) {
            ASSERT_TRUE(ReadMediaTags(Write(u"moon.KAR"_s, file.content), result));
            ASSERT_EQ(result.size(), 9);
            EXPECT_FALSE(result[SlotTitle].isEmpty());
            EXPECT_GT(result[SlotDuration].toInt(), 0);
        }
    }
    const QString pcg = Write(u"a.qcg"_s, QByteArray("PCGH") + QByteArray(8, '\0') + QByteArray("\x05\0\0\0" "1|T|A", 9));
    EXPECT_TRUE(ReadMediaTags(pcg, result));
    EXPECT_EQ(result.value(SlotArtist), u"A"_s);
}

TEST_F(CAnalysis, MediaLibraryBranch)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "libmediainfo is not installed";
    QStringList result;
    // A video without a movie name: the playing time, no title.
    EXPECT_FALSE(AnalyseMediaFile(Write(u"clip.avi"_s, samplegen::MakeAviFile(3)), result));
    ASSERT_EQ(result.size(), 3);
    EXPECT_EQ(result[SlotDuration], u"3"_s);
    EXPECT_FALSE(AnalyseMediaFile(Write(u"tone.wav"_s, samplegen::MakeWavFile(2)), result));
    EXPECT_EQ(result.value(SlotBitRate), u"64"_s);
}

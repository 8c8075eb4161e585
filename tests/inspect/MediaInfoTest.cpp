#include "TestSupport.h"

#include "inspect/MediaInfoLibrary.h"
#include "inspect/MediaInfoReport.h"
#include "platform/ToolLocator.h"
#include "samplegen/OtherFormats.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"
#include "widgets/ProcessRunner.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QStringList Lines(const QString &text)
{
    return text.split(u'\n');
}

QString ReportLine(const QString &key, const QString &value)
{
    return key.leftJustified(41, u' ') + u": "_s + value + u"\r\n"_s;
}

} // namespace

TEST(DurationTextToSeconds, BothSpellingsOfTheTool)
{
    // The older spelling keeps its results.
    EXPECT_EQ(DurationTextToSeconds(u"4mn 5s"_s), 245);
    EXPECT_EQ(DurationTextToSeconds(u"45s 120ms"_s), 45);
    EXPECT_EQ(DurationTextToSeconds(u"1h 5mn"_s), 3900);
    EXPECT_EQ(DurationTextToSeconds(u"25s 300ms"_s), 25);
    // The current one gives true seconds.
    EXPECT_EQ(DurationTextToSeconds(u"3 min 25 s"_s), 205);
    EXPECT_EQ(DurationTextToSeconds(u"1 h 2 min"_s), 3720);
    EXPECT_EQ(DurationTextToSeconds(u"5 s 41 ms"_s), 5);
    EXPECT_EQ(DurationTextToSeconds(u"25 s 0 ms"_s), 25);
    EXPECT_EQ(DurationTextToSeconds(u"752 ms"_s), 0);
    EXPECT_EQ(DurationTextToSeconds(u"752ms"_s), 0);
}

TEST(ParseToolReport, SectionsKeysAndSummaries)
{
    const SToolSummaries mp3 = ParseToolReport(Lines(
        u"General\r\nComplete name   : /k/a.mp3\r\nFormat          : MPEG Audio\r\nFile size       : 4.52 MiB\r\n"
        u"Duration        : 4mn 56s\r\n\r\nAudio\r\nFormat          : MPEG Audio\r\nBit rate        : 1 411 Kbps\r\n"
        u"Channel(s)      : 2 channels\r\nSampling rate   : 44.1 KHz\r\n"_s));
    EXPECT_EQ(mp3.strGeneral, u"MPEG Audio, 4.52 MB, 4mn 56s"_s);
    EXPECT_EQ(mp3.strDuration, u"4mn 56s"_s);
    EXPECT_EQ(DurationTextToSeconds(mp3.strDuration), 296);
    EXPECT_EQ(mp3.strAudio, u"MPEG Audio, 1 411 Kbps, 2 channels"_s);
    EXPECT_TRUE(mp3.strVideo.isEmpty());

    // A second audio stream is headed "Audio #1": after the blank line no section is current.
    const SToolSummaries two = ParseToolReport(Lines(
        u"General\nFormat : AVI\n\nVideo\nFormat : MPEG-4 Visual\nWidth : 320 pixels\n\nAudio #1\nFormat : AAC\n"_s));
    EXPECT_EQ(two.strVideo, u"MPEG-4 Visual, 320 pixels"_s);
    EXPECT_TRUE(two.strAudio.isEmpty());
    EXPECT_TRUE(two.strDuration.isEmpty());

    EXPECT_TRUE(ParseToolReport({}).strGeneral.isEmpty());
    // Keys without a section, a colon at the very end, and binary noise are harmless.
    const SToolSummaries odd = ParseToolReport({u"Format : x"_s, u"general"_s, u"Format:"_s, QString(3, QChar(0))});
    EXPECT_EQ(odd.strGeneral, QString());
}

TEST(MediaInfoReport, ValueLookupInTheLibraryReport)
{
    const QString report = u"General\r\n"_s + ReportLine(u"Format"_s, u"Wave"_s) + u"\r\nAudio\r\n"_s
                         + ReportLine(u"Duration"_s, u"3mn 25s"_s) + ReportLine(u"Bit rate"_s, u"1 411 Kbps  "_s)
                         + u"Last                             : no line feed"_s;
    EXPECT_EQ(ReportValueIn(report, u"General"_s, u"Format"_s), u"Wave"_s);
    // General lacks Duration: the lookup runs on into Audio.
    EXPECT_EQ(ReportValueIn(report, u"General"_s, u"Duration"_s), u"3mn 25s"_s);
    EXPECT_EQ(ReportValueIn(report, u"Audio"_s, u"Bit rate"_s), u"1 411 Kbps"_s);
    EXPECT_TRUE(ReportValueIn(report, u"Video"_s, u"Format"_s).isEmpty());
    EXPECT_TRUE(ReportValueIn(report, u"Audio"_s, u"Last"_s).isEmpty());
    EXPECT_TRUE(ReportValueIn(QString(), u"General"_s, u"Format"_s).isEmpty());
}

TEST(MediaInfoLibrary, IncompleteLibraryIsRefused)
{
    CMediaInfoModule incomplete(QString::fromUtf8(VELMORA_INCOMPLETE_MEDIAINFO));
    EXPECT_EQ(incomplete.Load(), -1);
    EXPECT_EQ(incomplete.Load(), -1);
    CMediaInfo info(incomplete);
    EXPECT_FALSE(info.Create());
    EXPECT_FALSE(info.Open(u"/tmp/x.mp3"_s));
    EXPECT_EQ(info.GetGeneral(u"Album"_s), u"Unable to load MediaInfo.dll"_s);
    EXPECT_EQ(info.DurationSeconds(), 0);

    CMediaInfoModule missing(u"/no/such/libmediainfo.so"_s);
    EXPECT_EQ(missing.Load(), -1);
}

TEST(MediaInfoLibrary, RealLibraryReadsGeneratedFiles)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "libmediainfo is not installed";
    QTemporaryDir dir;
    const samplegen::SId3Fields tags{u"Title X"_s, u"Artist Y"_s, u"Album Z"_s, 2001, 4, u"Pop"_s, 13, {}};
    const QString mp3 = dir.filePath(u"a.mp3"_s);
    test::WriteBytes(mp3, samplegen::MakeMp3File(&tags, true, true, samplegen::Mp3FramesForSeconds(3)));
    const QString wav = dir.filePath(u"b.WAV"_s);
    test::WriteBytes(wav, samplegen::MakeWavFile(2));

    CMediaInfo info;
    ASSERT_TRUE(info.Create());
    ASSERT_TRUE(info.Open(mp3));
    EXPECT_TRUE(info.IsAudio());
    EXPECT_EQ(info.AudioBitRate(), 128);
    EXPECT_EQ(info.Title(), u"Title X"_s);
    EXPECT_EQ(info.GetGeneral(u"Album"_s), u"Album Z"_s);
    EXPECT_GE(info.DurationSeconds(), 2);
    EXPECT_LE(info.DurationSeconds(), 3);
    info.Close();
    EXPECT_TRUE(info.Report().isEmpty());

    ASSERT_TRUE(info.Open(wav));
    EXPECT_EQ(info.DurationSeconds(), 2);
    EXPECT_EQ(info.AudioBitRate(), 64);
    info.Release();
    EXPECT_FALSE(info.HasHandle());
}

TEST(MediaInfoTool, RealToolReportParses)
{
    const QString tool = LocateTool(u"/nonexistent"_s, u"mediainfo"_s);
    if (QStandardPaths::findExecutable(u"mediainfo"_s).isEmpty())
        GTEST_SKIP() << "mediainfo is not installed";
    QTemporaryDir dir;
    const QString wav = dir.filePath(u"with blank's \"name\".wav"_s);
    test::WriteBytes(wav, samplegen::MakeWavFile(3));
    ProgramRunner runner(tool);
    ASSERT_TRUE(RunAndCollect(runner, QStringList{wav}));
    const SToolSummaries summaries = ParseToolReport(runner.m_lines);
    EXPECT_TRUE(summaries.strGeneral.startsWith(u"Wave, "_s));
    EXPECT_TRUE(summaries.strAudio.startsWith(u"PCM"_s));
    EXPECT_EQ(DurationTextToSeconds(summaries.strDuration), 3);
}

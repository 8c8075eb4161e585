#include "inspect/MediaInfoReport.h"
#include "inspect/TextNumbers.h"
#include "inspect/UnknownMedia.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(DurationTextToSeconds, ToolAndPassATexts)
{
    EXPECT_EQ(DurationTextToSeconds(u"3mn 25s"_s), 205);
    EXPECT_EQ(DurationTextToSeconds(u"1h 2mn"_s), 3720);
    EXPECT_EQ(DurationTextToSeconds(u"45s"_s), 45);
    EXPECT_EQ(DurationTextToSeconds(u"25s 300ms"_s), 25);
    EXPECT_EQ(DurationTextToSeconds(QString()), 0);
    EXPECT_EQ(DurationTextToSeconds(u"garbage"_s), 0);
}

TEST(DurationTextToSeconds, HugeValuesSaturateInsteadOfWrapping)
{
    EXPECT_EQ(DurationTextToSeconds(u"99999999999h"_s), INT_MAX);
    EXPECT_GE(DurationTextToSeconds(u"-5h 3s"_s), 0);
}

TEST(UnknownMedia, ResultTableByPathEnding)
{
    const SUnknownMedia audio = DescribeUnknownMedia(u"/k/a.MP3"_s, u"MP3 audio"_s);
    EXPECT_EQ(audio.strLogLine, u"INFO, AUDIO - Unknown Media /k/a.MP3\r\n"_s);
    EXPECT_EQ(audio.strResult, u"AUDIO - Unknown Media"_s);

    EXPECT_EQ(DescribeUnknownMedia(u"/k/a.zip"_s, {}).strResult, u"ZIP - Unknown Media"_s);
    EXPECT_EQ(DescribeUnknownMedia(u"/k/a.wmv"_s, {}).strResult, u"VIDEO - Unknown Media"_s);
    EXPECT_EQ(DescribeUnknownMedia(u"/k/a.kar"_s, {}).strResult, u"Synth - Unknown Media"_s);

    const SUnknownMedia graphics = DescribeUnknownMedia(u"/k/a.qcg"_s, {});
    EXPECT_FALSE(graphics.bSetsResult);
    EXPECT_EQ(graphics.strLogLine, u"INFO, KLOV Karaoke - Unknown Media /k/a.qcg\r\n"_s);

    // Only the last four characters count: ".jpeg" and "x.mp3x" are other types.
    const SUnknownMedia other = DescribeUnknownMedia(u"/k/a.mp3x"_s, u"MP3X File"_s);
    EXPECT_EQ(other.strLogLine, u"TYPE, 'MP3X File' Type /k/a.mp3x\r\n"_s);
    EXPECT_EQ(other.strResult, u"'MP3X File' Type"_s);
}

TEST(TextNumbers, LeadingIntegerLikeAtoi)
{
    EXPECT_EQ(LeadingInteger(u"  2001-05"_s), 2001);
    EXPECT_EQ(LeadingInteger(u"-12x"_s), -12);
    EXPECT_EQ(LeadingInteger(u"x12"_s), 0);
    EXPECT_EQ(LeadingInteger(u"99999999999999"_s), INT_MAX);
}

#include "base/Format.h"
#include "base/TraceDebug.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(Format, PrintfRulesForTheLogLines)
{
    EXPECT_EQ(Format(u"%02u:%02u-%03u", 3u, 7u, 45u), u"03:07-045"_s);
    EXPECT_EQ(Format(u"%08x.txt", 0xBEEFu), u"0000beef.txt"_s);
    EXPECT_EQ(Format(u"%X|%5d|%-5d|", 255, 42, 42), u"FF|   42|42   |"_s);
    EXPECT_EQ(Format(u"%I64d", qint64(5'000'000'000)), u"5000000000"_s);
    EXPECT_EQ(Format(u"%d", -7), u"-7"_s);
    EXPECT_EQ(Format(u"%.3s", u"abcdef"_s), u"abc"_s);
    EXPECT_EQ(Format(u"100%%"), u"100%"_s);
    EXPECT_EQ(Format(u"%c", int(u'Z')), u"Z"_s);
}

TEST(Format, ArgumentsAreNeverReadAsFormats)
{
    EXPECT_EQ(Format(u"[%s]", u"%s %d %n"_s), u"[%s %d %n]"_s);
    // A missing argument formats as nothing instead of reading past the list.
    EXPECT_EQ(Format(u"%s-%d-%s", u"a"_s), u"a--"_s);
}

TEST(TraceDebug, ChannelTextNormalisesLineEnds)
{
    EXPECT_EQ(DebugChannelText(u"a\r\nb\n"_s), u"a\r\nb"_s);
    EXPECT_EQ(DebugChannelText(u"x\ny\n\n  "_s), u"x\r\ny"_s);
    EXPECT_EQ(DebugChannelText(QString(9000, u'q')).size(), 4095);
}

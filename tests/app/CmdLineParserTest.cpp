#include "app/CmdLineParser.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {
QStringList Split(const QString &text)
{
    CmdLineParser parser;
    parser.Parse(text);
    QStringList arguments;
    for (int i = 0; i < parser.Count(); ++i)
        arguments.append(parser.Get(i));
    return arguments;
}
}

TEST(CmdLineParser, QuotedProgramPathAndSwitch)
{
    EXPECT_EQ(Split(uR"("C:\Program Files\Velmora\velmora.exe" -idodoDevodiviz)"_s),
              (QStringList{uR"(C:\Program Files\Velmora\velmora.exe)"_s, u"-idodoDevodiviz"_s}));
}

TEST(CmdLineParser, BlanksSeparateButNeverMakeEmptyArguments)
{
    EXPECT_EQ(Split(u"a  b   "_s), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(Split(u"a \"\" b"_s), (QStringList{u"a"_s, QString(), u"b"_s}));
    EXPECT_TRUE(Split(QString()).isEmpty());
    EXPECT_TRUE(Split(u"   "_s).isEmpty());
}

TEST(CmdLineParser, TabsAndInnerQuotesAreOrdinaryCharacters)
{
    EXPECT_EQ(Split(u"a\tb c\"d"_s), (QStringList{u"a\tb"_s, u"c\"d"_s}));
    // An unquoted argument runs on through a quote; a quoted one keeps its blanks.
    EXPECT_EQ(Split(u"\"x y\"z w"_s), (QStringList{u"x y"_s, u"z"_s, u"w"_s}));
    EXPECT_EQ(Split(u"\"open to the end"_s), (QStringList{u"open to the end"_s}));
}

TEST(CmdLineParser, ParseReplacesEarlierResultAndOutOfRangeIsEmpty)
{
    CmdLineParser parser;
    parser.Parse(u"one two three"_s);
    parser.Parse(u"four"_s);
    EXPECT_EQ(parser.Count(), 1);
    EXPECT_EQ(parser.Get(0), u"four"_s);
    EXPECT_TRUE(parser.Get(1).isEmpty());
    EXPECT_TRUE(parser.Get(-1).isEmpty());
}

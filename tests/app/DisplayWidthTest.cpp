#include "app/DisplayWidth.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(DisplayWidth, WideAndFullWidthCharactersTakeTwoColumns)
{
    EXPECT_EQ(DisplayWidth(u"Song"_s), 4);
    EXPECT_EQ(DisplayWidth(u"노래"_s), 4);           // Hangul syllables
    EXPECT_EQ(DisplayWidth(u"カラオケ"_s), 8);       // katakana
    EXPECT_EQ(DisplayWidth(u"歌 A"_s), 4);           // ideograph, space, Latin
    EXPECT_EQ(DisplayWidth(u"ＡＢ"_s), 4);           // full-width Latin
    EXPECT_EQ(DisplayWidth(u"\u3000"_s), 2);         // ideographic space
    EXPECT_EQ(DisplayWidth(u"ｶﾗｵｹ"_s), 4);           // half-width katakana stay narrow
    EXPECT_EQ(DisplayWidth(u"\U0001F3A4"_s), 2);     // microphone emoji, outside the BMP
    EXPECT_EQ(DisplayWidth(u"\U00020B9F"_s), 2);     // CJK extension B
}

TEST(DisplayWidth, MarksAndFormatCharactersTakeNone)
{
    EXPECT_EQ(DisplayWidth(u"e\u0301"_s), 1);        // decomposed é
    EXPECT_EQ(DisplayWidth(u"\u00e9"_s), 1);         // composed é
    EXPECT_EQ(DisplayWidth(u"\u1100\u1161\u11A8"_s), 2); // conjoining jamo of one syllable
    EXPECT_EQ(DisplayWidth(u"a\u200Bb\u200Dc"_s), 3);    // zero-width space and joiner
    EXPECT_EQ(DisplayWidth(u"\u0915\u094D\u0937"_s), 2); // Devanagari virama between letters
    EXPECT_EQ(DisplayWidth(u"a\u00ADb"_s), 3);       // the soft hyphen is drawn
    EXPECT_EQ(DisplayWidth(u"\u0600"_s), 1);         // Arabic number sign is drawn
}

TEST(DisplayWidth, RangeEdgesAndBrokenSurrogates)
{
    EXPECT_EQ(CodePointWidth(0x10FF), 1);
    EXPECT_EQ(CodePointWidth(0x1100), 2);
    EXPECT_EQ(CodePointWidth(0x115F), 2);
    EXPECT_EQ(CodePointWidth(0xA4C6), 2);
    EXPECT_EQ(CodePointWidth(0xA4C7), 1);
    EXPECT_EQ(CodePointWidth(0xD7A3), 2);
    EXPECT_EQ(CodePointWidth(0xFF60), 2);
    EXPECT_EQ(CodePointWidth(0xFF61), 1);
    EXPECT_EQ(CodePointWidth(0x3FFFD), 2);
    EXPECT_EQ(CodePointWidth(0x3FFFE), 1);
    EXPECT_EQ(CodePointWidth(0x00B1), 1);            // ambiguous width counts narrow
    EXPECT_EQ(CodePointWidth(0x0007), 0);
    // A lone half of a surrogate pair shows as one replacement character.
    EXPECT_EQ(DisplayWidth(QString(QChar(0xD83C))), 1);
    EXPECT_EQ(DisplayWidth(QString(QChar(0xDFA4)) + u"x"_s), 2);
    EXPECT_EQ(DisplayWidth(QString()), 0);
}

TEST(DisplayWidth, PaddingFillsColumnsNotCodeUnits)
{
    EXPECT_EQ(PadToDisplayWidth(u"歌"_s, 5), u"歌   "_s);
    EXPECT_EQ(PadToDisplayWidth(u"e\u0301"_s, 3), u"e\u0301  "_s);
    EXPECT_EQ(PadToDisplayWidth(u"toolong"_s, 3), u"toolong"_s);
}

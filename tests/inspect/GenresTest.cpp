#include "inspect/Genres.h"

#include <gtest/gtest.h>

#include <QSet>

#include <climits>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(GenreName, NamesAcrossTheList)
{
    EXPECT_EQ(GenreName(0), u"Blues"_s);
    EXPECT_EQ(GenreName(13), u"Pop"_s);
    EXPECT_EQ(GenreName(17), u"Rock"_s);
    EXPECT_EQ(GenreName(79), u"Hard Rock"_s);
    EXPECT_EQ(GenreName(80), u"Folk"_s); // first Winamp extension
    EXPECT_EQ(GenreName(101), u"Speech"_s);
    EXPECT_EQ(GenreName(131), u"Indie"_s);
    EXPECT_EQ(GenreName(147), u"SynthPop"_s);
}

TEST(GenreName, EveryIndexOfTheListHasItsOwnName)
{
    QSet<QString> names;
    for (int index = 0; index < kGenreCount; ++index) {
        EXPECT_FALSE(GenreName(index).isEmpty()) << index;
        names.insert(GenreName(index));
    }
    EXPECT_EQ(names.size(), kGenreCount);
}

TEST(GenreName, IndexOutsideTheListIsEmpty)
{
    for (const int index : {-1, 148, 255, INT_MAX, INT_MIN})
        EXPECT_TRUE(GenreName(index).isEmpty()) << index;
}

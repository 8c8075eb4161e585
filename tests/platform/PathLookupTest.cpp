// Paths as a user types them and as Windows playlists name them.
#include "TestSupport.h"

#include "platform/CleanPath.h"
#include "platform/NameLookup.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(CleanPath, DotStepsAndDoubledSeparatorsGo)
{
    EXPECT_EQ(CleanAbsolutePath(u"/a/./b//c/"_s), u"/a/b/c"_s);
    EXPECT_EQ(CleanAbsolutePath(u"/a/b/../c"_s), u"/a/c"_s);
    EXPECT_EQ(CleanAbsolutePath(u"/.."_s), u"/"_s);
    EXPECT_EQ(CleanAbsolutePath(u"/"_s), u"/"_s);
    EXPECT_EQ(CleanAbsolutePath(u"relative/./x"_s), u"relative/./x"_s);

    const QString here = AbsoluteCleanPath(u"."_s);
    EXPECT_EQ(here, QDir::currentPath());
    EXPECT_EQ(AbsoluteCleanPath(u"./x/../y"_s), QDir::currentPath() + u"/y"_s);
}

TEST(CleanPath, UpStepAfterALinkFollowsTheDisk)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(u"real/inner"_s);
    QDir(dir.path()).mkpath(u"side"_s);
    ASSERT_TRUE(QFile::link(dir.filePath(u"real/inner"_s), dir.filePath(u"side/link"_s)));
    const QString real = QDir(dir.path()).canonicalPath();
    // Lexically ".." would give side/; on disk it is real/.
    EXPECT_EQ(CleanAbsolutePath(dir.filePath(u"side/link/.."_s)), real + u"/real"_s);
    EXPECT_EQ(CleanAbsolutePath(dir.filePath(u"side/./link"_s)), dir.filePath(u"side/link"_s));
}

TEST(NoCaseNames, FilesOfDosDiscsAreFoundInAnyCase)
{
    QTemporaryDir dir;
    test::WriteBytes(dir.filePath(u"SONGS/00001.MCG"_s), "x");
    test::WriteBytes(dir.filePath(u"SONGS/00002.mcg"_s), "x");
    test::WriteBytes(dir.filePath(u"SONGS/00002.MCG"_s), "x");
    CNoCaseNames names;
    EXPECT_EQ(names.Resolve(dir.path(), u"SONGS/00001.MCG"_s), dir.filePath(u"SONGS/00001.MCG"_s));
    EXPECT_EQ(names.Resolve(dir.path() + u"/songs/"_s, u"00001.mcg"_s), dir.filePath(u"SONGS/00001.MCG"_s));
    // The exact name wins over its twin.
    EXPECT_EQ(names.Resolve(dir.filePath(u"SONGS"_s), u"00002.mcg"_s), dir.filePath(u"SONGS/00002.mcg"_s));
    EXPECT_TRUE(names.Resolve(dir.filePath(u"SONGS"_s), u"00003.mcg"_s).isEmpty());
    EXPECT_TRUE(names.Resolve(u"K:/Juke/"_s, u"00001.mcg"_s).isEmpty());

    // A file added after the folder was read is found once the listing is looked at again
    // (a tenth of a second later at most).
    test::WriteBytes(dir.filePath(u"SONGS/00003.MCG"_s), "x");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(names.Resolve(dir.filePath(u"SONGS"_s), u"00003.mcg"_s), dir.filePath(u"SONGS/00003.MCG"_s));
}

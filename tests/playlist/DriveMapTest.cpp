#include "playlist/DriveMap.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(DriveMap, MapsDriveLettersToMountPoints)
{
    CDriveMap drives;
    drives.SetMountPoint(u'e', u"/media/usb/"_s);
    EXPECT_EQ(drives.NativePath(u"E:\\Karaoke\\Pop\\"_s), u"/media/usb/Karaoke/Pop/"_s);
    EXPECT_EQ(drives.NativePath(u"e:\\a.mp3"_s), u"/media/usb/a.mp3"_s);
    EXPECT_EQ(drives.NativePath(u"F:\\Karaoke\\"_s), u"F:/Karaoke/"_s); // unmapped: names nothing here
    EXPECT_EQ(drives.NativePath(u"/home/a\\b/"_s), u"/home/a\\b/"_s);  // local paths untouched
    EXPECT_EQ(drives.DriveHolding(u"/media/usb/Karaoke/list.txt"_s), QChar(u'E'));
    EXPECT_TRUE(drives.DriveHolding(u"/media/usb2/list.txt"_s).isNull());
    EXPECT_EQ(CDriveMap::RelocationCandidates(u"E:\\Karaoke\\"_s, u"/srv/f/lists/"_s),
              (QStringList{u"/srv/f/lists/Karaoke/"_s, u"/srv/f/Karaoke/"_s, u"/srv/Karaoke/"_s, u"/Karaoke/"_s}));
}

#include "TestSupport.h"

#include "inspect/FileBytes.h"
#include "inspect/FileList.h"
#include "inspect/NumberedSongs.h"
#include "inspect/TextDecoding.h"
#include "inspect/WorkFolder.h"
#include "platform/SystemFolders.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(FileList, SplitFolderAndSafePath)
{
    QStringList names;
    EXPECT_EQ(SplitFileList(u"a.mp3;;b.cdg"_s, names), 2);
    EXPECT_EQ(names, QStringList({u"a.mp3"_s, u"b.cdg"_s}));
    EXPECT_EQ(SplitFileList(u";;"_s, names), 0);
    EXPECT_EQ(FolderOf(u"/k//songs/a.mp3"_s), u"/k/songs/"_s);
    EXPECT_EQ(FolderOf(u"a.mp3"_s), QString());
    EXPECT_EQ(LogSafePath(u"/k/100%/a%d.mp3"_s), u"/k/100?/a?d.mp3"_s);
    EXPECT_EQ(CountChar(u"a;b;;c"_s, u';'), 3);
}

TEST(FileList, BaseNameAndExtensionOfTheLastComponent)
{
    EXPECT_EQ(BaseNameOf(u"/k/Song.Live.mp3"_s), u"Song.Live"_s);
    EXPECT_EQ(ExtensionOf(u"/k/Song.Live.mp3"_s), u".mp3"_s);
    EXPECT_EQ(BaseNameOf(u"/k.d/noext"_s), u"noext"_s);
    EXPECT_TRUE(ExtensionOf(u"/k.d/noext"_s).isEmpty());
    EXPECT_TRUE(BaseNameOf(u"/k/.hidden"_s).isEmpty());
    EXPECT_EQ(ExtensionOf(u"/k/.hidden"_s), u".hidden"_s);
    EXPECT_TRUE(HasEnding(u"A.CDG"_s, u".cdg"));
    EXPECT_FALSE(HasEnding(u"a.scdg"_s, u".cdg"));
    EXPECT_FALSE(HasEnding(u"cdg"_s, u".cdg"));
}

TEST(FileList, FindByNumberInSortedLines)
{
    const QStringList lines{u"1\tOne"_s, u"5\tFive"_s, u"12\tTwelve"_s, u"300\tMany"_s};
    EXPECT_EQ(FindByNumber(lines, 1), 0);
    EXPECT_EQ(FindByNumber(lines, 12), 2);
    EXPECT_EQ(FindByNumber(lines, 300), 3);
    EXPECT_EQ(FindByNumber(lines, 7), -1);
    EXPECT_EQ(FindByNumber(lines, 301), -1);
    EXPECT_EQ(FindByNumber({}, 1), -1);
}

TEST(FileList, ExistenceTests)
{
    QTemporaryDir dir;
    test::WriteBytes(dir.filePath(u"a.cdg"_s), "x");
    EXPECT_TRUE(FirstFileExists(dir.path(), u"a.cdg;missing.mp3"_s));
    EXPECT_TRUE(FirstFileExists(dir.path() + u'/', u"a.cdg"_s));
    EXPECT_FALSE(FirstFileExists(dir.path(), u"missing.mp3;a.cdg"_s));
    EXPECT_FALSE(FirstFileExists(dir.path(), u";a.cdg"_s));
    EXPECT_TRUE(FileExists(dir.filePath(u"a.cdg"_s)));
    EXPECT_TRUE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(dir.filePath(u"b.cdg"_s)));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(NumberedSongs, OneEntryPerNumberModulo1000)
{
    QTemporaryDir dir;
    for (const char *name : {"0012 Song.cdg", "12-Song.mp3", "1012.mp3", "7.avi", "7.mp3", "Track.mp3",
                             "0.mp3", "7.doc", "-3.mp3", "99.scdg"})
        test::WriteBytes(dir.filePath(QString::fromLatin1(name)), "x");
    QDir(dir.path()).mkdir(u"5.mp3"_s);

    QStringList list{u"stale"_s};
    ASSERT_TRUE(ListNumberedSongs(dir.path(), list));
    EXPECT_EQ(list, QStringList({u"0012 Song.cdg;1012.mp3;12-Song.mp3"_s, u"7.avi;7.mp3"_s, u"99.scdg"_s}));

    EXPECT_FALSE(ListNumberedSongs(dir.filePath(u"missing"_s), list));
}

TEST(TextDecoding, Utf8ToWideBounds)
{
    EXPECT_EQ(Utf8ToWide("\xC3\xA9t\xC3\xA9"), u"\u00e9t\u00e9"_s);
    EXPECT_TRUE(Utf8ToWide("\xC3\xA9").isEmpty()); // one character is too few
    EXPECT_TRUE(Utf8ToWide("").isEmpty());
    EXPECT_EQ(Utf8ToWide(QByteArray(5000, 'a')).size(), kMaxDecodedText);

    // A four-byte character across the cut is dropped whole.
    const QByteArray emoji = QByteArray(kMaxDecodedText - 1, 'a') + "\xF0\x9F\x8E\xA4";
    const QString cut = Utf8ToWide(emoji);
    EXPECT_EQ(cut.size(), kMaxDecodedText - 1);
    EXPECT_FALSE(cut.back().isHighSurrogate());
}

TEST(TextDecoding, GuessCodePage)
{
    EXPECT_EQ(GuessCodePage(""), 0);
    EXPECT_EQ(GuessCodePage("plain"), 1252);
    EXPECT_EQ(GuessCodePage("a\xB0\xA1"), 949);
    EXPECT_EQ(GuessCodePage("a\xB0\xA0"), 1252);
    EXPECT_EQ(GuessCodePage("\x80\xB0\xA1"), 949); // 128 itself counts as plain
    EXPECT_EQ(GuessCodePage("\xE9t\xB0\xA1"), 1252); // the first high byte decides
    EXPECT_EQ(GuessCodePage("ab\xB0"), 1252);
}

TEST(WorkFolder, NamesInThePrivateFolder)
{
    const QString root = TempWorkPath();
    EXPECT_EQ(root, SystemTempFolder() + u"velmora-"_s + QString::number(::geteuid()) + u'/');
    EXPECT_TRUE(QDir(root).exists());
    EXPECT_EQ(TempWorkPath(u"_unzip"_s), root + u"_unzip"_s);
    EXPECT_EQ(TempWorkPath(u"/LoadJuke//x"_s), root + u"LoadJuke/x"_s);
    EXPECT_TRUE(TempWorkPath(QString(300, u'n')).isEmpty());
    const QString juke = WorkSubfolder(u"LoadJuke"_s);
    EXPECT_EQ(juke, root + u"LoadJuke"_s);
    EXPECT_EQ(QFileInfo(juke).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFileDevice::Permissions());
    EXPECT_TRUE(WorkSubfolder(QString(300, u'n')).isEmpty());
}

TEST(FileBytes, ReadsAreCappedByTheCaller)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"f.bin"_s);
    test::WriteBytes(path, "0123456789");
    EXPECT_EQ(ReadWholeFile(path, 10).value_or("none"), "0123456789");
    EXPECT_FALSE(ReadWholeFile(path, 9).has_value());
    EXPECT_FALSE(ReadWholeFile(dir.filePath(u"missing"_s), 100).has_value());
    EXPECT_FALSE(ReadWholeFile(dir.path(), 100).has_value());
    // What is held follows the file, not the limit: a read of a few bytes under a limit of
    // 512 MiB used to keep that much allocated.
    const std::optional<QByteArray> small = ReadWholeFile(path, 512 * 1024 * 1024);
    ASSERT_TRUE(small.has_value());
    EXPECT_LT(small->capacity(), 4096);
    // A file that claims no size (as the kernel's own files do) is still read to its end,
    // and still refused past the limit.
    if (QFile::exists(u"/proc/self/status"_s)) {
        EXPECT_TRUE(ReadWholeFile(u"/proc/self/status"_s, 1024 * 1024).value_or(QByteArray()).contains("Pid:"));
        EXPECT_FALSE(ReadWholeFile(u"/proc/self/status"_s, 10).has_value());
    }

    const auto ends = ReadFileEnds(path, 4, 32);
    ASSERT_TRUE(ends.has_value());
    EXPECT_EQ(ends->nSize, 10);
    EXPECT_EQ(ends->head, "0123");
    EXPECT_EQ(ends->tail, "0123456789");
}

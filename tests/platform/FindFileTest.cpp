#include "TestSupport.h"

#include "platform/FindFile.h"
#include "platform/NativeName.h"

#include <QDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QStringList SearchNames(const QString &folder)
{
    CFindFile find;
    QStringList names;
    if (!find.FindFile(folder))
        return names;
    SFindRecord record;
    while (find.FindNextFile(record))
        names.append(record.cFileName);
    return names;
}

} // namespace

TEST(FindFile, DotsFirstThenNamesAsWindowsSortsThem)
{
    QTemporaryDir dir;
    for (const char *name : {"b.mp3", "A.cdg", "a.cdg", "_x.txt", "Z.mp3", "10.mp3", "9.mp3"})
        test::WriteBytes(dir.filePath(QString::fromLatin1(name)), "1");
    QDir(dir.path()).mkdir(u"Sub"_s);

    // Upper-cased comparison puts "_" after the letters; equal folds fall back to exact order.
    EXPECT_EQ(SearchNames(dir.path()),
              QStringList({u"."_s, u".."_s, u"10.mp3"_s, u"9.mp3"_s, u"A.cdg"_s, u"a.cdg"_s,
                           u"b.mp3"_s, u"Sub"_s, u"Z.mp3"_s, u"_x.txt"_s}));
}

TEST(FindFile, RecordsCarryAttributesAndSizes)
{
    QTemporaryDir dir;
    test::WriteBytes(dir.filePath(u"song.mp3"_s), QByteArray(1234, 'x'));
    QDir(dir.path()).mkdir(u"folder"_s);

    CFindFile find;
    ASSERT_TRUE(find.FindFile(dir.path()));
    SFindRecord record;
    QMap<QString, SFindRecord> byName;
    while (find.FindNextFile(record))
        byName.insert(record.cFileName, record);
    EXPECT_EQ(byName[u"song.mp3"_s].dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(byName[u"song.mp3"_s].nFileSize, 1234u);
    EXPECT_TRUE(byName[u"folder"_s].IsFolder());
}

TEST(FindFile, FoldersThatCannotBeSearchedFindNothing)
{
    QTemporaryDir dir;
    test::WriteBytes(dir.filePath(u"file"_s), "x");
    CFindFile find;
    EXPECT_FALSE(find.FindFile(QString()));
    EXPECT_FALSE(find.FindFile(dir.filePath(u"missing"_s)));
    EXPECT_FALSE(find.FindFile(dir.filePath(u"file"_s)));
    SFindRecord record;
    EXPECT_FALSE(find.FindNextFile(record));
}

TEST(NativeName, NamesThatAreNotUtf8SurviveTheRoundTrip)
{
    const QByteArray latin1Name("Caf\xE9 \xC3\xA9.mp3"); // a stray Latin-1 byte, then real UTF-8
    const QString decoded = DecodeNativeName(latin1Name);
    EXPECT_EQ(decoded.at(3).unicode(), 0xDC00 + 0xE9);
    EXPECT_EQ(decoded.at(5), QChar(0xE9));
    EXPECT_EQ(EncodeNativeName(decoded), latin1Name);

    // The walk can open such a file by the name it found.
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + "/" + latin1Name;
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const QStringList names = SearchNames(dir.path());
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(EncodeNativeName(names[2]), latin1Name);
    ::unlink(path.constData()); // Qt could not remove a name it cannot decode
}

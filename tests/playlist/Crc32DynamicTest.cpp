#include "TestSupport.h"

#include "playlist/Crc32Dynamic.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(Crc32Dynamic, StandardCheckValues)
{
    EXPECT_EQ(CCrc32Dynamic::Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(CCrc32Dynamic::Crc32(QByteArrayView()), 0u);
    EXPECT_EQ(CCrc32Dynamic::Crc32("a"), 0xE8B7BE43u);

    // Fed in pieces, the value is that of the whole.
    CCrc32Dynamic running;
    running.Update("1234");
    running.Update("");
    running.Update("56789");
    EXPECT_EQ(running.Value(), 0xCBF43926u);
    running.Init();
    EXPECT_EQ(running.Value(), 0u);
}

TEST(Crc32Dynamic, WholeFileAcrossReadBlocks)
{
    QTemporaryDir dir;
    QByteArray bytes;
    for (int i = 0; i < 200 * 1024 + 7; ++i)
        bytes.append(char(i * 31 + i / 256));
    const QString path = dir.filePath(u"list.txt"_s);
    test::WriteBytes(path, bytes);
    quint32 crc = 0;
    ASSERT_TRUE(CCrc32Dynamic::FileCrc32(path, crc));
    EXPECT_EQ(crc, CCrc32Dynamic::Crc32(bytes));
    EXPECT_NE(crc, CCrc32Dynamic::Crc32(QByteArrayView(bytes).chopped(1)));

    crc = 123;
    EXPECT_FALSE(CCrc32Dynamic::FileCrc32(dir.filePath(u"missing.txt"_s), crc));
    EXPECT_FALSE(CCrc32Dynamic::FileCrc32(dir.path(), crc)); // a folder has no bytes
    EXPECT_EQ(crc, 123u);
}

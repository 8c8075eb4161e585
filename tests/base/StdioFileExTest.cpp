#include "TestSupport.h"

#include "platform/CodePage.h"
#include "base/StdioFileEx.h"
#include "base/TextConversion.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

class CTextFile : public ::testing::Test
{
protected:
    QString Write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(u"list%1.txt"_s.arg(++m_count));
        test::WriteBytes(path, bytes);
        return path;
    }
    QStringList ReadLines(const QString &path)
    {
        CStdioFileEx file;
        EXPECT_TRUE(file.Open(path, CStdioFileEx::modeRead | CStdioFileEx::typeText));
        QStringList lines;
        QString line;
        while (file.ReadString(line))
            lines.append(line);
        return lines;
    }
    QTemporaryDir m_dir;
    int m_count = 0;
};

} // namespace

TEST_F(CTextFile, ThreeEncodingsReadAsLines)
{
    const QString utf16 = Write(QByteArray("\xFF\xFE" "A\0\r\0\n\0B\0", 10));
    EXPECT_EQ(ReadLines(utf16), QStringList({u"A"_s, u"B"_s}));
    EXPECT_EQ(CStdioFileEx::GetFileEncoding(utf16), 1);

    const QString utf8 = Write("\xEF\xBB\xBF\xC3\xA9");
    EXPECT_EQ(ReadLines(utf8), QStringList({u"\u00e9"_s}));
    EXPECT_EQ(CStdioFileEx::GetFileEncoding(utf8), 65001);

    // Without a mark: the ANSI code page, and CR LF or LF end a line alike.
    const QString ansi = Write("Caf\xE9\r\nline 2\nlast");
    EXPECT_EQ(ReadLines(ansi), QStringList({u"Caf\u00e9"_s, u"line 2"_s, u"last"_s}));
    EXPECT_EQ(CStdioFileEx::GetFileEncoding(ansi), 0);
    EXPECT_EQ(CStdioFileEx::GetFileEncoding(m_dir.filePath(u"missing"_s)), 0);
}

TEST_F(CTextFile, OnlyOneCarriageReturnIsRemovedAndBlankLinesCount)
{
    EXPECT_EQ(ReadLines(Write("a\r\r\n\nb\n")), QStringList({u"a\r"_s, QString(), u"b"_s}));
    EXPECT_TRUE(ReadLines(Write("")).isEmpty());
    EXPECT_TRUE(ReadLines(Write("\xFF\xFE")).isEmpty());
}

TEST_F(CTextFile, LongLinesAndSeekingBack)
{
    const QString path = Write("\xEF\xBB\xBF" + QByteArray(10'000, 'x'));
    CStdioFileEx file;
    ASSERT_TRUE(file.Open(path, CStdioFileEx::modeRead));
    QString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.size(), 10'000);
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_TRUE(line.isEmpty());

    // Back at the start the mark is skipped again.
    file.Seek(0, CStdioFileEx::begin);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, QString(10'000, u'x'));
}

TEST_F(CTextFile, TextInTheWrongEncodingStillReads)
{
    // An odd last byte after FF FE is no character; invalid UTF-8 after the mark is replaced.
    EXPECT_EQ(ReadLines(Write(QByteArray("\xFF\xFE" "A\0\n\0B", 7))), QStringList({u"A"_s}));
    EXPECT_EQ(ReadLines(Write("\xEF\xBB\xBF" "a\xFF" "b\n")), QStringList({u"a\uFFFDb"_s}));
    // A megabyte line among short ones.
    const QStringList lines = ReadLines(Write("a\n" + QByteArray(1 << 20, 'm') + "\nz"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1].size(), 1 << 20);
    EXPECT_EQ(lines[2], u"z"_s);
}

TEST_F(CTextFile, WritingPutsOneMarkAtTheStart)
{
    const QString path = m_dir.filePath(u"out.txt"_s);
    {
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(path, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite | CStdioFileEx::modeWriteUnicode));
        EXPECT_TRUE(file.WriteString(u"A\r\n"_s));
        EXPECT_TRUE(file.WriteString(u"B\r\n"_s));
    }
    EXPECT_EQ(test::ReadBytes(path), QByteArray("\xFF\xFE" "A\0\r\0\n\0B\0\r\0\n\0", 14));

    // UTF-8 gets its own mark; ANSI gets none and "#" for what it cannot hold.
    {
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(path, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite));
        file.SetCodePage(kUtf8CodePage);
        file.WriteString(u"\u00e9\r\n"_s);
    }
    EXPECT_EQ(test::ReadBytes(path), "\xEF\xBB\xBF\xC3\xA9\r\n");
    {
        CStdioFileEx file;
        ASSERT_TRUE(file.Open(path, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite));
        file.SetCodePage(1252);
        file.WriteString(u"Caf\u00e9 \u4e2d \U0001F3A4!"_s);
    }
    EXPECT_EQ(test::ReadBytes(path), "Caf\xE9 # #!");
    EXPECT_FALSE(CStdioFileEx().Open(m_dir.filePath(u"no/such/folder.txt"_s), CStdioFileEx::modeCreate | CStdioFileEx::modeWrite));
}

TEST(TextConversion, CodePagesComposeAndReplace)
{
    EXPECT_EQ(ToWide(949, "\xC7\xD1\xB1\xB9"), u"\ud55c\uad6d"_s);   // Korean
    EXPECT_EQ(ToWide(932, "\x93\xfa\x96\x7b"), u"\u65e5\u672c"_s);   // Japanese
    EXPECT_EQ(ToWide(1251, "\xcf\xf0\xe8"), u"\u041f\u0440\u0438"_s); // Cyrillic
    EXPECT_EQ(ToWide(936, "\xd6\xd0"), u"\u4e2d"_s);
    EXPECT_EQ(ToNarrow(949, u"\ud55c"_s), "\xC7\xD1");
    // A decomposed "e" + acute is composed on the way out, and on the way in.
    EXPECT_EQ(ToNarrow(1252, u"e\u0301"_s), "\xE9");
    EXPECT_EQ(ToWide(kUtf8CodePage, "e\xCC\x81"), u"e\u0301"_s);
    // Bytes 1252 leaves undefined decode as the replacement character.
    EXPECT_EQ(ToWide(1252, "a\x81z"), u"a\uFFFDz"_s);
    EXPECT_TRUE(ToWide(1252, {}).isEmpty());

    SetAnsiCodePage(1251);
    EXPECT_EQ(ToWide(kAnsiCodePage, "\xcf"), u"\u041f"_s);
    SetAnsiCodePage(kDefaultAnsiCodePage);
}

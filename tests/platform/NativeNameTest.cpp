#include "platform/NativeName.h"

#include <gtest/gtest.h>

using namespace velmora;

// The encoder writes UTF-8 itself; every code unit and pair must come out as Qt's UTF-8.
TEST(NativeNameCoding, EncodesEveryCharacterAsUtf8)
{
    for (char32_t unit = 1; unit < 0x10000; ++unit) {
        if (QChar::isSurrogate(unit))
            continue;
        const QString text{QChar(char16_t(unit))};
        ASSERT_EQ(EncodeNativeName(text), text.toUtf8()) << unsigned(unit);
        ASSERT_EQ(DecodeNativeName(text.toUtf8()), text) << unsigned(unit);
    }
    for (char32_t codePoint : {char32_t(0x10000), char32_t(0x1F3A4), char32_t(0x10FFFF)}) {
        const QString text = QString::fromUcs4(&codePoint, 1);
        EXPECT_EQ(EncodeNativeName(text), text.toUtf8());
        EXPECT_EQ(DecodeNativeName(text.toUtf8()), text);
    }
}

TEST(NativeNameCoding, ForeignBytesAndLoneSurrogatesSurvive)
{
    const QByteArray latin1("Caf\xE9 \xFF.mp3");
    const QString decoded = DecodeNativeName(latin1);
    EXPECT_EQ(decoded.size(), latin1.size());
    EXPECT_EQ(decoded.at(3).unicode(), 0xDC80 + 0xE9 - 0x80);
    EXPECT_EQ(EncodeNativeName(decoded), latin1);
    EXPECT_EQ(DecodeNativeName(QByteArray("plain ascii")), QStringLiteral("plain ascii"));
    EXPECT_EQ(EncodeNativeName(QString(QChar(char16_t(0xD800))) + QChar(u'a')), QByteArray("?a"));
}

// Logs and printed rows must be valid Unicode and still name the bytes on disk.
TEST(NativeNameCoding, PrintableFormNamesTheBytes)
{
    const QString decoded = DecodeNativeName(QByteArray("Caf\xE9\\x.mp3"));
    EXPECT_EQ(PrintableNativeName(decoded, false), QStringLiteral("Caf\\xE9\\x.mp3"));
    // With backslashes escaped too, the printed text reads back to one byte string only.
    EXPECT_EQ(PrintableNativeName(decoded, true), QStringLiteral("Caf\\xE9\\\\x.mp3"));
    EXPECT_EQ(PrintableNativeName(QStringLiteral("Caf\\xE9.mp3"), true), QStringLiteral("Caf\\\\xE9.mp3"));

    const QString plain = QStringLiteral("Caf\u00e9 \U0001F3A4.mp3");
    EXPECT_EQ(PrintableNativeName(plain, true), plain);
    const QString stray = QString(QChar(char16_t(0xD800))) + QChar(u'a') + QChar(char16_t(0xDE00));
    EXPECT_EQ(PrintableNativeName(stray, false), QStringLiteral("\uFFFDa\uFFFD"));
    EXPECT_TRUE(PrintableNativeName(decoded, false).isValidUtf16());
}

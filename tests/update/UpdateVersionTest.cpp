#include "TestSupport.h"

#include "res/Version.h"
#include "update/UpdateVersion.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

TEST(CompareVersions, Table)
{
    EXPECT_EQ(CompareVersions(u"1.0.0.16"_s, u"1.0.0.15"_s), 1);
    EXPECT_EQ(CompareVersions(u"1.0.0.15"_s, u"1.0.0.16"_s), -1);
    EXPECT_EQ(CompareVersions(u"1.0"_s, u"1.0.0.0"_s), 0);
    EXPECT_EQ(CompareVersions(u"1,0,0,16"_s, u"1.0.0.16"_s), 0);
    EXPECT_EQ(CompareVersions(u"1, 0, 0, 16"_s, u"1.0.0.16"_s), -21); // blanks are not digits
    EXPECT_EQ(CompareVersions(u"1..2"_s, u"1.2"_s), 0);
    EXPECT_EQ(CompareVersions(u"2.0"_s, u"1.99.99.99"_s), 1);
    EXPECT_EQ(CompareVersions(u"1.0.0.1a"_s, u"1.0"_s), -21);
    EXPECT_EQ(CompareVersions(u"1.2.3.4.5"_s, u"1.0"_s), -21);
    EXPECT_EQ(CompareVersions(u""_s, u""_s), -21);
    EXPECT_EQ(CompareVersions(u"1.0"_s, u""_s), -22);
    EXPECT_EQ(CompareVersions(u"1.0"_s, u"x"_s), -22);
    // A number too large for any version does not wrap into a small one.
    EXPECT_EQ(CompareVersions(u"18446744073709551617"_s, u"1"_s), -21);
    EXPECT_EQ(CompareVersions(u"4294967296"_s, u"1"_s), -21);
    EXPECT_EQ(CompareVersions(u"1.0000000000016"_s, u"1.15"_s), 1); // leading zeros are only zeros
}

TEST(FileVersionString, OurProgramsCarryTheVersionOthersNone)
{
    // The marker linked into our programs says what Version.h says.
    EXPECT_EQ(FileVersionString(QStringLiteral(VELMORA_BINARY)), QString::fromUtf16(kVersionText));
    EXPECT_EQ(FileVersionString(QStringLiteral(VELMORA_PING_BINARY)), u"1.0.0.15"_s);
    EXPECT_EQ(FileVersionString(QStringLiteral(VELMORA_UPDATER_BINARY)), u"1.0.0.15"_s);
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.exe"_s);
    test::WriteBytes(plain, "MZ no version here VelmoraFileVersion=");
    EXPECT_EQ(FileVersionString(plain), u""_s);
    EXPECT_EQ(FileVersionString(dir.filePath(u"missing"_s)), u""_s);

    // A marker just across the edge of a read block is still found; bad markers are passed.
    QByteArray bytes(1 << 20, 'a');
    bytes.replace((1 << 20) - 40, 40, QByteArray("VelmoraFileVersion=9,99999,0,0").append('\0').append("VelmoraFileVer"));
    bytes += QByteArray("sion=2,5,0,0").append('\0');
    const QString edge = dir.filePath(u"edge.bin"_s);
    test::WriteBytes(edge, bytes);
    EXPECT_EQ(FileVersionString(edge), u"2.5"_s);
}

TEST(FileVersionString, FixedBlockRules)
{
    EXPECT_EQ(FixedVersionText(0x00010000, 0x0000000F), u"1.0.0.15"_s);
    EXPECT_EQ(FixedVersionText(0x00020003, 0), u"2.3"_s);
    EXPECT_EQ(FixedVersionText(0, 0), u""_s);
    EXPECT_EQ(FixedVersionText(0, 0x00010002), u"0.0.1.2"_s);
}

TEST(FileDateString, LocalDates)
{
    EXPECT_EQ(FileDateString(QDateTime(QDate(2014, 5, 7), QTime(12, 0))), u"2014-05-07"_s);
    EXPECT_EQ(FileDateString(QDateTime()), u""_s);
    EXPECT_EQ(LocalDateString(QDate(2026, 1, 9)), u"2026-01-09"_s);
}

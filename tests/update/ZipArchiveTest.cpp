#include "TestSupport.h"
#include "update/ZipArchive.h"
#include "update/ZipItemDetails.h"
#include "update/ZipNameGuard.h"
#include "update/ZipTestArchive.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <thread>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::SZipTestMember;

namespace {

constexpr quint64 kTicksPerSecond = 10000000ULL;
constexpr qint64 kSecondsFrom1601To1970 = 11644473600LL;

quint64 TicksOfUnix(qint64 seconds)
{
    return quint64(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
}

QByteArray Pattern(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

HZIP OpenBytes(const QByteArray &archive, const QString &root = {})
{
    return OpenArchiveFromMemory(archive, root);
}

// Streams an item in pieces of chunk bytes; the codes of every call and the bytes.
QList<ZipResult> StreamItem(CZipArchive *archive, int index, qsizetype chunk, QByteArray *content)
{
    QList<ZipResult> codes;
    QByteArray buffer(chunk, '\0');
    for (int calls = 0; calls < 100; ++calls) {
        qsizetype filled = 0;
        const ZipResult code = ExtractItemToBuffer(archive, index, std::span<char>(buffer.data(), size_t(chunk)), &filled);
        codes.append(code);
        if (content)
            content->append(buffer.first(filled));
        if (code != ZR_MORE)
            break;
    }
    return codes;
}

// Every file and folder below top, relative to it.
QStringList TreeBelow(const QString &top)
{
    QStringList found;
    QDirIterator it(top, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(QDir(top).relativeFilePath(it.next()));
    found.sort();
    return found;
}

} // namespace

TEST(ZipNameGuard, DropsDrivesSlashesAndParentSteps)
{
    const QList<std::pair<QString, QString>> cases = {
        {u"C:\\a\\..\\..\\win\\x.dll"_s, u"win\\x.dll"_s},
        {u"/a/../b/x"_s, u"b/x"_s},
        {u"..\\..\\x.exe"_s, u"x.exe"_s},
        {u"D:\\tools\\u.exe"_s, u"tools\\u.exe"_s},
        {u"../x"_s, u"x"_s},
        {u"..\\x"_s, u"x"_s},
        {u"../../../x"_s, u"x"_s},
        {u"/abs/name"_s, u"abs/name"_s},
        {u"a/../../x"_s, u"x"_s},
        {u"..//x"_s, u"x"_s},
        {u".."_s, QString()},
        {u"songs/Song - 01.mp3"_s, u"songs/Song - 01.mp3"_s},
        {u"a..b/c..d"_s, u"a..b/c..d"_s},
    };
    for (const auto &[stored, cleaned] : cases)
        EXPECT_EQ(CleanItemName(stored), cleaned) << stored.toStdString();
}

TEST(ZipNameGuard, ConfinedPartsNeverLeaveTheTop)
{
    EXPECT_EQ(ConfinedNameParts(u"a/./b\\c"_s), QStringList({u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(ConfinedNameParts(u"a/b/../c"_s), QStringList({u"a"_s, u"c"_s}));
    EXPECT_EQ(ConfinedNameParts(u"a/.."_s), QStringList());
    EXPECT_FALSE(ConfinedNameParts(u"./.."_s));
    EXPECT_FALSE(ConfinedNameParts(u"a/../.."_s));
    // Cleaned names that still hold parent steps end at the top or are refused.
    EXPECT_FALSE(ConfinedNameParts(CleanItemName(u"./.."_s)));
    EXPECT_EQ(ConfinedNameParts(CleanItemName(u"./../x"_s)), QStringList({u"x"_s}));
    EXPECT_EQ(ConfinedNameParts(CleanItemName(u"x/..\\.."_s)), QStringList());
    EXPECT_EQ(ConfinedNameParts(CleanItemName(u"C:..\\..\\x"_s)), QStringList({u"x"_s}));
}

TEST(ZipNameGuard, StoredNamesAreDecodedAndBounded)
{
    EXPECT_EQ(ItemNameFromBytes(QByteArray("../song\0/../../x", 16)), u"song"_s);
    EXPECT_EQ(ItemNameFromBytes("caf\xC3\xA9.mp3"), u"café.mp3"_s);
    EXPECT_EQ(ItemNameFromBytes("bad\xFF.mp3"), u"bad\uFFFD.mp3"_s);
    EXPECT_EQ(ItemNameFromBytes(QByteArray(300, 'n')).size(), kMaxZipItemName);
    // A surrogate pair is not cut in half at the limit.
    const QByteArray emoji = QByteArray(kMaxZipItemName - 1, 'e') + "\xF0\x9F\x8E\xA4";
    EXPECT_EQ(ItemNameFromBytes(emoji), QString(kMaxZipItemName - 1, u'e'));
}

TEST(ZipItemDetails, AttributesFollowTheHostSystem)
{
    EXPECT_EQ(ZipItemAttributes(test::kMadeByDos, 0x21), ZIP_ATTR_READONLY | ZIP_ATTR_ARCHIVE);
    EXPECT_EQ(ZipItemAttributes(0x0B00, 0xFFFFFF16), ZIP_ATTR_HIDDEN | ZIP_ATTR_SYSTEM | ZIP_ATTR_FOLDER);
    EXPECT_EQ(ZipItemAttributes(0x0700, 0x01), ZIP_ATTR_READONLY);
    EXPECT_EQ(ZipItemAttributes(0x0E00, 0x10), ZIP_ATTR_FOLDER);
    EXPECT_EQ(ZipItemAttributes(test::kMadeByUnix, 0100644u << 16), ZIP_ATTR_ARCHIVE);
    EXPECT_EQ(ZipItemAttributes(test::kMadeByUnix, 0100444u << 16), ZIP_ATTR_ARCHIVE | ZIP_ATTR_READONLY);
    EXPECT_EQ(ZipItemAttributes(test::kMadeByUnix, 040755u << 16), ZIP_ATTR_ARCHIVE | ZIP_ATTR_FOLDER);
    // Hidden and system bits of a Unix item mean nothing.
    EXPECT_EQ(ZipItemAttributes(test::kMadeByUnix, (0100644u << 16) | 0x06), ZIP_ATTR_ARCHIVE);
}

TEST(ZipItemDetails, DosTimesAreLocalAndInvalidOnesGiveNoTime)
{
    const QDateTime local(QDate(2024, 3, 15), QTime(10, 20, 30), Qt::LocalTime);
    EXPECT_EQ(DosTimeToFileTime(test::kTestDosTime).Ticks(), TicksOfUnix(local.toSecsSinceEpoch()));
    EXPECT_EQ(DosTimeToFileTime(0).Ticks(), 0u);
    EXPECT_EQ(DosTimeToFileTime((44u << 9 | 13u << 5 | 1u) << 16).Ticks(), 0u);  // month 13
    EXPECT_EQ(DosTimeToFileTime(((44u << 9 | 1u << 5 | 1u) << 16) | (24u << 11)).Ticks(), 0u);  // hour 24
    EXPECT_EQ(UnixTimeToFileTime(-1).Ticks(), TicksOfUnix(-1));
    EXPECT_EQ(UnixTimeToFileTime(qint32(0x80000000u)).Ticks(), TicksOfUnix(-2147483648LL));
}

TEST(ZipItemDetails, ExtendedTimeBlockReplacesOnlyTheTimesItHolds)
{
    SZipEntry base;
    base.ftCreationTime = base.ftLastAccessTime = base.ftLastWriteTime = SFileTime::FromTicks(42);

    SZipEntry onlyModified = base;
    QByteArray other("\x0A\x00\x04\x00" "abcd", 8);
    ApplyExtendedTimes(other + test::ExtendedTimeBlock(0x01, {1700000000}), onlyModified);
    EXPECT_EQ(onlyModified.ftLastWriteTime.Ticks(), TicksOfUnix(1700000000));
    EXPECT_EQ(onlyModified.ftLastAccessTime.Ticks(), 42u);
    EXPECT_EQ(onlyModified.ftCreationTime.Ticks(), 42u);

    SZipEntry all = base;
    ApplyExtendedTimes(test::ExtendedTimeBlock(0x07, {100, 200, 300}), all);
    EXPECT_EQ(all.ftLastWriteTime.Ticks(), TicksOfUnix(100));
    EXPECT_EQ(all.ftLastAccessTime.Ticks(), TicksOfUnix(200));
    EXPECT_EQ(all.ftCreationTime.Ticks(), TicksOfUnix(300));

    // Announced times that the block does not hold are not read from what follows it.
    SZipEntry announced = base;
    ApplyExtendedTimes(test::ExtendedTimeBlock(0x07, {100}) + test::ExtendedTimeBlock(0x01, {999}), announced);
    EXPECT_EQ(announced.ftLastWriteTime.Ticks(), TicksOfUnix(100));
    EXPECT_EQ(announced.ftLastAccessTime.Ticks(), 42u);

    // Too short to hold a block, or a block cut off by the end of the data.
    SZipEntry shortExtra = base;
    ApplyExtendedTimes(QByteArray("UT\x05\x00", 4), shortExtra);
    ApplyExtendedTimes(test::ExtendedTimeBlock(0x01, {100}).first(7), shortExtra);
    EXPECT_EQ(shortExtra.ftLastWriteTime.Ticks(), 42u);
}

TEST(ZipArchive, CountsAndDescribesItems)
{
    SZipTestMember stored{"song.cdg", Pattern(3000)};
    SZipTestMember deflated{"folder/song.mp3", QByteArray(5000, 'a'), true};
    deflated.nMadeBy = test::kMadeByDos;
    deflated.dwExternal = 0x21;
    deflated.centralExtra = test::ExtendedTimeBlock(0x01, {1700000000});
    SZipTestMember folder{"folder/", {}};
    folder.dwExternal = 040755u << 16;
    HZIP archive = OpenBytes(test::BuildZip({stored, deflated, folder}));
    ASSERT_TRUE(archive);

    SZipEntry item;
    EXPECT_EQ(DescribeItem(archive.get(), -1, item), ZR_OK);
    EXPECT_EQ(item.nIndex, 3);
    EXPECT_EQ(DescribeItem(archive.get(), 3, item), ZR_ARGS);
    EXPECT_EQ(LastZipResult(), ZR_ARGS);
    EXPECT_EQ(DescribeItem(archive.get(), -2, item), ZR_ARGS);

    ASSERT_EQ(DescribeItem(archive.get(), 1, item), ZR_OK);
    EXPECT_EQ(item.nIndex, 1);
    EXPECT_EQ(item.strName, u"folder/song.mp3"_s);
    EXPECT_EQ(item.nUncompressedSize, 5000);
    EXPECT_LT(item.nCompressedSize, 100);
    EXPECT_EQ(item.dwAttributes, ZIP_ATTR_READONLY | ZIP_ATTR_ARCHIVE);
    const QDateTime local(QDate(2024, 3, 15), QTime(10, 20, 30), Qt::LocalTime);
    EXPECT_EQ(item.ftLastWriteTime.Ticks(), TicksOfUnix(1700000000));
    EXPECT_EQ(item.ftLastAccessTime.Ticks(), TicksOfUnix(local.toSecsSinceEpoch()));
    EXPECT_EQ(item.ftCreationTime.Ticks(), TicksOfUnix(local.toSecsSinceEpoch()));

    // Backwards after forwards, and the same index again.
    ASSERT_EQ(DescribeItem(archive.get(), 2, item), ZR_OK);
    EXPECT_EQ(item.dwAttributes, ZIP_ATTR_ARCHIVE | ZIP_ATTR_FOLDER);
    ASSERT_EQ(DescribeItem(archive.get(), 0, item), ZR_OK);
    EXPECT_EQ(item.strName, u"song.cdg"_s);
    EXPECT_EQ(item.nCompressedSize, 3000);
    ASSERT_EQ(DescribeItem(archive.get(), 0, item), ZR_OK);
    EXPECT_EQ(item.nUncompressedSize, 3000);

    EXPECT_EQ(CloseArchive(archive), ZR_OK);
    EXPECT_FALSE(archive);
    EXPECT_EQ(CloseArchive(archive), ZR_ARGS);
    EXPECT_EQ(DescribeItem(nullptr, 0, item), ZR_ARGS);
}

TEST(ZipArchive, StreamsIntoABufferInParts)
{
    const QByteArray content = Pattern(40000);
    const QByteArray bytes = test::BuildZip({{"a.bin", content, true}, {"b.bin", "second", false}});
    HZIP archive = OpenBytes(bytes);
    ASSERT_TRUE(archive);

    QByteArray streamed;
    EXPECT_EQ(StreamItem(archive.get(), 0, 16384, &streamed), QList<ZipResult>({ZR_MORE, ZR_MORE, ZR_OK}));
    EXPECT_EQ(streamed, content);

    // An exact fit completes at once; asking for another item starts that one afresh.
    QByteArray buffer(40000, '\0');
    qsizetype filled = 0;
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 0, std::span<char>(buffer.data(), 16384), &filled), ZR_MORE);
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 1, std::span<char>(buffer.data(), 100), &filled), ZR_OK);
    EXPECT_EQ(buffer.first(filled), "second");
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 0, std::span<char>(buffer.data(), 40000), &filled), ZR_OK);
    EXPECT_EQ(buffer, content);

    // Describing other items meanwhile does not disturb the stream.
    SZipEntry item;
    QByteArray part(16384, '\0');
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 0, std::span<char>(part.data(), 16384)), ZR_MORE);
    EXPECT_EQ(DescribeItem(archive.get(), 1, item), ZR_OK);
    QByteArray rest;
    EXPECT_EQ(StreamItem(archive.get(), 0, 30000, &rest).last(), ZR_OK);
    EXPECT_EQ(part + rest, content);

    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 2, std::span<char>(part.data(), 10)), ZR_ARGS);
    EXPECT_EQ(ExtractItemToBuffer(nullptr, 0, std::span<char>(part.data(), 10)), ZR_ARGS);
}

TEST(ZipArchive, BadArchivesGiveResultCodes)
{
    QTemporaryDir dir;
    EXPECT_FALSE(OpenArchive(dir.filePath(u"missing.zip"_s)));
    EXPECT_EQ(LastZipResult(), ZR_NOFILE);
    EXPECT_FALSE(OpenArchive(dir.path()));
    EXPECT_EQ(LastZipResult(), ZR_NOFILE);

    const QByteArray good = test::BuildZip({{"a.mp3", Pattern(5000), true}, {"a.cdg", Pattern(700)}});
    EXPECT_FALSE(OpenBytes(good.first(good.size() / 2)));
    EXPECT_EQ(LastZipResult(), ZR_READ);
    EXPECT_FALSE(OpenBytes("ID3\x03\x00 this is an MP3 renamed to .zip"));
    EXPECT_EQ(LastZipResult(), ZR_READ);
    EXPECT_FALSE(OpenBytes({}));

    // The front of the archive is missing: the directory points at data that is not there.
    HZIP shifted = OpenBytes(good.mid(100));
    EXPECT_TRUE(!shifted || StreamItem(shifted.get(), 0, 4096, nullptr).last() != ZR_OK);
}

TEST(ZipArchive, DamagedAndLyingItemsAreRefused)
{
    const QByteArray content = Pattern(20000);
    SZipTestMember badCrc{"crc.bin", content, true};
    badCrc.crc = 0x12345678;
    SZipTestMember claimsMore{"more.bin", content, true};
    claimsMore.declaredSize = 30000;
    SZipTestMember claimsLess{"bomb.bin", QByteArray(1000000, '\0'), true};
    claimsLess.declaredSize = 1000;
    SZipTestMember localName{"song.mp3", content, true};
    localName.localName = "../../outside/evil.mp3";
    SZipTestMember encrypted{"secret.mp3", content};
    encrypted.nFlags = 1;
    SZipTestMember claimsHuge{"huge.bin", "tiny"};
    claimsHuge.declaredSize = 0xFFFFFFFFu;
    QByteArray bytes = test::BuildZip({badCrc, claimsMore, claimsLess, localName, encrypted, claimsHuge,
                                       {"broken.bin", content, true}});
    // Damage the deflated data of the last item in the middle.
    const qsizetype brokenData = bytes.indexOf("broken.bin") + 10;
    for (int i = 0; i < 40; ++i)
        bytes[brokenData + 20 + i] = char(0xFF);
    HZIP archive = OpenBytes(bytes);
    ASSERT_TRUE(archive);

    QByteArray big(40000, '\0');
    const std::span<char> all(big.data(), size_t(big.size()));
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 0, all), ZR_FLATE);
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 1, all), ZR_FLATE);
    EXPECT_EQ(StreamItem(archive.get(), 2, 1000, nullptr).last(), ZR_FLATE);
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 3, all), ZR_CORRUPT);
    EXPECT_EQ(LastZipResult(), ZR_CORRUPT);
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 4, all), ZR_PASSWORD);
    SZipEntry huge;
    ASSERT_EQ(DescribeItem(archive.get(), 5, huge), ZR_OK);
    EXPECT_EQ(huge.nUncompressedSize, 0xFFFFFFFFLL);
    EXPECT_EQ(StreamItem(archive.get(), 5, 1000, nullptr).last(), ZR_FLATE);
    EXPECT_EQ(ExtractItemToBuffer(archive.get(), 6, all), ZR_FLATE);
}

TEST(ZipArchive, CorruptCentralEntryIsReported)
{
    QByteArray bytes = test::BuildZip({{"a.mp3", "aaa"}, {"b.cdg", "bbb"}});
    const qsizetype second = bytes.lastIndexOf(QByteArray("PK\x01\x02", 4));
    bytes[second + 3] = 'X';
    HZIP archive = OpenBytes(bytes);
    ASSERT_TRUE(archive);
    SZipEntry item;
    EXPECT_EQ(DescribeItem(archive.get(), 0, item), ZR_OK);
    EXPECT_EQ(DescribeItem(archive.get(), 1, item), ZR_CORRUPT);
    EXPECT_EQ(LastZipResult(), ZR_CORRUPT);
}

TEST(ZipArchive, ExtractsOnlyBelowTheRootFolder)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(u"root"_s);
    QList<SZipTestMember> members;
    for (const QByteArray &name : {QByteArray("../x1"), QByteArray("..\\x2"), QByteArray("/abs/x3"),
                                   QByteArray("a/../../x4"), QByteArray("D:\\tools\\u.exe"),
                                   QByteArray("..\\..\\x.exe"), QByteArray("./../x5"), QByteArray("./.."),
                                   QByteArray("sub/dir/x6")})
        members.append({name, name + " content", true});
    HZIP archive = OpenBytes(test::BuildZip(members), root);
    ASSERT_TRUE(archive);
    QList<ZipResult> codes;
    for (int index = 0; index < members.size(); ++index) {
        SZipEntry item;
        ASSERT_EQ(DescribeItem(archive.get(), index, item), ZR_OK);
        codes.append(ExtractItemToFile(archive.get(), index, item.strName));
    }
    // Names given by a caller go through the same guard.
    codes.append(ExtractItemToFile(archive.get(), 0, u"../../caller"_s));
    codes.append(ExtractItemToFile(archive.get(), 0, u"/tmp/absolute"_s));
    EXPECT_EQ(codes, QList<ZipResult>({ZR_OK, ZR_OK, ZR_OK, ZR_OK, ZR_OK, ZR_OK, ZR_OK, ZR_NOFILE, ZR_OK,
                                       ZR_OK, ZR_OK}));
    EXPECT_EQ(TreeBelow(dir.path()),
              QStringList({u"root"_s, u"root/abs"_s, u"root/abs/x3"_s, u"root/caller"_s, u"root/sub"_s,
                           u"root/sub/dir"_s, u"root/sub/dir/x6"_s, u"root/tmp"_s, u"root/tmp/absolute"_s,
                           u"root/tools"_s, u"root/tools/u.exe"_s, u"root/x.exe"_s, u"root/x1"_s,
                           u"root/x2"_s, u"root/x4"_s, u"root/x5"_s}));
    EXPECT_EQ(test::ReadBytes(root + u"/tools/u.exe"_s), "D:\\tools\\u.exe content");
}

TEST(ZipArchive, FoldersThatAreLinksAreNotFollowed)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(u"root"_s);
    const QString outside = dir.filePath(u"outside"_s);
    QDir().mkpath(root);
    QDir().mkpath(outside);
    ASSERT_TRUE(QFile::link(outside, root + u"/link"_s));
    ASSERT_TRUE(QFile::link(outside + u"/target"_s, root + u"/file"_s));
    HZIP archive = OpenBytes(test::BuildZip({{"link/y", "through a link"}, {"file", "replaces the link"}}), root);
    ASSERT_TRUE(archive);
    EXPECT_EQ(ExtractItemToFile(archive.get(), 0, u"link/y"_s), ZR_NOFILE);
    EXPECT_EQ(ExtractItemToFile(archive.get(), 1, u"file"_s), ZR_OK);
    EXPECT_TRUE(TreeBelow(outside).isEmpty());
    EXPECT_FALSE(QFileInfo(root + u"/file"_s).isSymLink());
    EXPECT_EQ(test::ReadBytes(root + u"/file"_s), "replaces the link");
}

TEST(ZipArchive, ExtractedFilesKeepTimesAndReadOnly)
{
    QTemporaryDir dir;
    SZipTestMember readOnly{"ro.txt", "read only"};
    readOnly.dwExternal = 0100444u << 16;
    readOnly.centralExtra = test::ExtendedTimeBlock(0x03, {1600000000, 1650000000});
    SZipTestMember folder{"empty/", {}};
    folder.dwExternal = 040755u << 16;
    SZipTestMember damaged{"damaged.bin", Pattern(5000), true};
    damaged.crc = 1;
    HZIP archive = OpenBytes(test::BuildZip({readOnly, folder, damaged}), dir.path());
    ASSERT_TRUE(archive);
    for (int round = 0; round < 2; ++round)  // the second round replaces the read-only file
        EXPECT_EQ(ExtractItemToFile(archive.get(), 0, u"ro.txt"_s), ZR_OK);
    const QFileInfo info(dir.filePath(u"ro.txt"_s));
    EXPECT_EQ(info.lastModified().toSecsSinceEpoch(), 1600000000);
    EXPECT_EQ(info.lastRead().toSecsSinceEpoch(), 1650000000);
    EXPECT_FALSE(info.permissions() & QFile::WriteOwner);
    EXPECT_EQ(ExtractItemToFile(archive.get(), 1, u"empty/"_s), ZR_OK);
    EXPECT_TRUE(QFileInfo(dir.filePath(u"empty"_s)).isDir());
    // A damaged item leaves no file behind.
    EXPECT_EQ(ExtractItemToFile(archive.get(), 2, u"damaged.bin"_s), ZR_FLATE);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"damaged.bin"_s)));
    EXPECT_EQ(ExtractItemToFile(archive.get(), 3, u"x"_s), ZR_ARGS);
}

TEST(ZipArchive, MangledArchivesNeverEscapeOrOverrun)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(u"root"_s);
    const QByteArray good = test::BuildZip({{"a/song.mp3", Pattern(30000), true},
                                            {"../up.cdg", Pattern(3000)},
                                            {"b/c.txt", "text", true}});
    QRandomGenerator random(20240315);
    QByteArray buffer(70000, '\0');
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = good;
        const int flips = 1 + int(random.bounded(8));
        for (int i = 0; i < flips; ++i)
            bytes[qsizetype(random.bounded(quint32(bytes.size())))] = char(random.bounded(256));
        HZIP archive = OpenBytes(bytes, root);
        if (!archive)
            continue;
        SZipEntry count;
        ASSERT_EQ(DescribeItem(archive.get(), -1, count), ZR_OK);
        for (int index = 0; index < qMin(count.nIndex, 5); ++index) {
            SZipEntry item;
            if (DescribeItem(archive.get(), index, item) != ZR_OK)
                continue;
            qsizetype filled = 0;
            ExtractItemToBuffer(archive.get(), index, std::span<char>(buffer.data(), size_t(buffer.size())), &filled);
            EXPECT_LE(filled, buffer.size());
            ExtractItemToFile(archive.get(), index, item.strName);
        }
    }
    for (const QString &entry : TreeBelow(dir.path()))
        EXPECT_TRUE(entry == u"root"_s || entry.startsWith(u"root/"_s)) << entry.toStdString();
}

// Only stored and deflated items are read here; items of other methods are unreadable, so
// that the per-file analysis hands them to the outside tool, and nothing half-made stays.
TEST(ZipArchive, ItemsOfOtherMethodsAreUnreadableHere)
{
    const QByteArray content = Pattern(5000);
    QList<SZipTestMember> members{test::Deflate64Member("wide.bin", content)};
    if (const std::optional<SZipTestMember> bzip2 = test::Bzip2Member("b.bin", content))
        members.append(*bzip2);
    QTemporaryDir dir;
    HZIP archive = OpenBytes(test::BuildZip(members), dir.path());
    ASSERT_TRUE(archive);
    QByteArray buffer(content.size(), '\0');
    for (int index = 0; index < members.size(); ++index) {
        EXPECT_EQ(ExtractItemToBuffer(archive.get(), index, std::span<char>(buffer.data(), size_t(buffer.size()))),
                  ZR_CORRUPT) << index;
        EXPECT_EQ(ExtractItemToFile(archive.get(), index, u"out%1.bin"_s.arg(index)), ZR_CORRUPT) << index;
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    if (members.size() < 2)
        GTEST_SKIP() << "bzip2 is not installed; only the Deflate64 item was tried";
}

// A check reads packages on several threads: the last result of one thread's calls is its
// own, whatever the others do meanwhile.
TEST(ZipArchive, TheLastResultBelongsToTheCallingThread)
{
    HZIP corrupt = OpenBytes(test::BuildZip({test::Deflate64Member("wide.bin", Pattern(100))}));
    ASSERT_TRUE(corrupt);
    QByteArray buffer(100, '\0');
    ASSERT_EQ(ExtractItemToBuffer(corrupt.get(), 0, std::span<char>(buffer.data(), size_t(buffer.size()))), ZR_CORRUPT);
    std::thread other([] {
        HZIP fine = OpenBytes(test::BuildZip({{"a.bin", "abc"}}));
        SZipEntry item;
        EXPECT_EQ(DescribeItem(fine.get(), 0, item), ZR_OK);
        EXPECT_EQ(LastZipResult(), ZR_OK);
    });
    other.join();
    EXPECT_EQ(LastZipResult(), ZR_CORRUPT);
}

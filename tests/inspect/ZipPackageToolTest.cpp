#include "TestSupport.h"
#include "base/UserPaths.h"
#include "inspect/UnzipOutput.h"
#include "inspect/WorkFolder.h"
#include "inspect/ZipPackageMarks.h"
#include "inspect/ZipPackageTool.h"
#include "update/ZipTestArchive.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::SZipTestMember;

namespace {

const QString kOpening = u"---------  ---------- -----   ----"_s;
const QString kClosing = u"---------                     -------"_s;

QString MemberLine(qint64 length, const QString &name)
{
    return u"%1  2024-03-15 10:20   %2"_s.arg(length, 9).arg(name);
}

// A listing as the tool prints it, around the given member lines.
QStringList Listing(const QStringList &members)
{
    QStringList lines{u"Archive:  /songs/pack.zip"_s, u"  Length      Date    Time    Name"_s, kOpening};
    lines += members;
    lines += {kClosing, u"     1000                     2 files"_s};
    return lines;
}

// The work folder lives in a temporary folder of its own (through TMPDIR), and the tool
// is the system's unzip unless a test puts a stand-in into the program folder.
class CUnzipTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
        m_oldTmpDir = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        m_oldProgramFolder = ProgramFolder();
        SetProgramFolder(m_tools.path());
    }
    void TearDown() override
    {
        SetProgramFolder(m_oldProgramFolder);
        if (m_hadTmpDir)
            qputenv("TMPDIR", m_oldTmpDir);
        else
            qunsetenv("TMPDIR");
    }
    static bool HaveUnzip() { return !QStandardPaths::findExecutable(u"unzip"_s).isEmpty(); }
    QString Package(const QString &name, const QList<SZipTestMember> &members)
    {
        const QString path = m_files.filePath(name);
        test::WriteBytes(path, test::BuildZip(members));
        return path;
    }
    // A stand-in unzip that prints text whatever it is asked.
    void StandInTool(const QStringList &lines)
    {
        const QString text = m_tools.filePath(u"output.txt"_s);
        test::WriteBytes(text, (lines.join(u'\n') + u'\n').toUtf8());
        const QString script = m_tools.filePath(u"unzip"_s);
        test::WriteBytes(script, "#!/bin/sh\ncat '" + QFile::encodeName(text) + "'\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString WorkFolder() const { return TempWorkPath(u"_unzip"_s); }

    QTemporaryDir m_temp;
    QTemporaryDir m_tools;
    QTemporaryDir m_files;
    QByteArray m_oldTmpDir;
    bool m_hadTmpDir = false;
    QString m_oldProgramFolder;
};

// The suite's name in test listings.
using UnzipTool = CUnzipTool;

} // namespace

TEST(UnzipListing, MarksAndLengthsOfAKaraokePackage)
{
    const SZipListing listing = ParseUnzipListing(
        Listing({MemberLine(4000000, u"song.mp3"_s), MemberLine(1512000, u"song.cdg"_s)}));
    EXPECT_EQ(listing.dwMarks, 0x11u);
    EXPECT_EQ(listing.nMp3Length, 4000000);
    EXPECT_EQ(listing.nGraphicsLength, 1512000);
    EXPECT_EQ(listing.strMp3Extension, u"mp3"_s);
    EXPECT_TRUE(IsKaraokePackage(listing.dwMarks));
}

TEST(UnzipListing, WhichGraphicsMemberGivesTheLength)
{
    const auto graphics = [](const QStringList &members) { return ParseUnzipListing(Listing(members)).nGraphicsLength; };
    EXPECT_EQ(graphics({MemberLine(100, u"a.cdg"_s), MemberLine(200, u"b.cdg"_s)}), 100);
    EXPECT_EQ(graphics({MemberLine(100, u"a.mcg"_s), MemberLine(200, u"b.mcg"_s)}), 200);
    EXPECT_EQ(graphics({MemberLine(100, u"a.mcg"_s), MemberLine(200, u"b.cdg"_s)}), 100);
    EXPECT_EQ(graphics({MemberLine(100, u"a.cdg"_s), MemberLine(300, u"b.NCG"_s)}), 300);

    const SZipListing mixed = ParseUnzipListing(
        Listing({MemberLine(100, u"a.mcg"_s), MemberLine(200, u"b.cdg"_s), MemberLine(5, u"Song.MP3"_s)}));
    EXPECT_EQ(mixed.dwMarks, ZIP_MARK_MCG | ZIP_MARK_MP3);  // the late ".cdg" is not marked
    EXPECT_EQ(mixed.strMp3Extension, u"MP3"_s);

    const SZipListing onlyMp3 = ParseUnzipListing(Listing({MemberLine(4000000, u"song.mp3"_s)}));
    EXPECT_EQ(onlyMp3.dwMarks, ZIP_MARK_MP3);
    EXPECT_FALSE(IsKaraokePackage(onlyMp3.dwMarks));
}

TEST(UnzipListing, OnlyTheMemberLinesBetweenTheSeparatorsCount)
{
    QStringList lines = Listing({MemberLine(10, u"a.mp3"_s), MemberLine(20, u"a.cdg"_s)});
    lines[0] = u"Archive:  /songs/old.cdg"_s;
    lines[2] += u"   "_s;  // trailing blanks do not hide a separator
    lines.insert(lines.size() - 1, u"      999  2024-03-15 10:20   after.mcg"_s);
    const SZipListing listing = ParseUnzipListing(lines);
    EXPECT_EQ(listing.dwMarks, 0x11u);
    EXPECT_EQ(listing.nGraphicsLength, 20);

    QStringList noOpening = lines;
    noOpening.removeAt(2);
    EXPECT_EQ(ParseUnzipListing(noOpening).dwMarks, 0u);
}

TEST(UnzipListing, OnlyOneToFifteenLinesAreExamined)
{
    QStringList members{MemberLine(10, u"a.mp3"_s), MemberLine(20, u"a.cdg"_s)};
    while (Listing(members).size() < 15)
        members.append(MemberLine(1, u"x%1.txt"_s.arg(members.size())));
    ASSERT_EQ(Listing(members).size(), 15);
    EXPECT_EQ(ParseUnzipListing(Listing(members)).dwMarks, 0x11u);
    members.append(MemberLine(1, u"one-more.txt"_s));
    EXPECT_EQ(ParseUnzipListing(Listing(members)).dwMarks, 0u);
    EXPECT_EQ(ParseUnzipListing({}).dwMarks, 0u);
}

TEST(UnzipListing, LeadingLengthReadsLikeStrtol)
{
    EXPECT_EQ(LeadingLength(u"   1512000  2024-03-15"_s), 1512000);
    EXPECT_EQ(LeadingLength(u"+42x"_s), 42);
    EXPECT_EQ(LeadingLength(u"name.cdg"_s), 0);
    EXPECT_EQ(LeadingLength(u"-5 a.cdg"_s), 0);
    EXPECT_EQ(LeadingLength(u"99999999999999999999999 a.cdg"_s), std::numeric_limits<qint64>::max());
}

TEST(UnzipExtraction, MembersOfEveryPackingMethodCount)
{
    const QStringList lines{u"Archive:  /songs/pack.zip"_s,
                            u"  inflating: /w/dec1/a.mp3               "_s,
                            u" extracting: /w/dec1/b.cdg"_s,
                            u"   creating: /w/dec1/sub/"_s,
                            u"  inflating: /w/dec1/sub/c.mcg"_s,
                            u" bunzipping: /w/dec1/e.mp3"_s,
                            u"  exploding: /w/dec1/f.cdg"_s,
                            u"warning:  skipped \"../\" path component(s) in ../d.mp3"_s,
                            u"   skipping: e.mp3                   incorrect password"_s};
    EXPECT_EQ(ExtractedMemberNames(lines),
              QStringList({u"/w/dec1/a.mp3"_s, u"/w/dec1/b.cdg"_s, u"/w/dec1/sub/c.mcg"_s, u"/w/dec1/e.mp3"_s,
                           u"/w/dec1/f.cdg"_s}));
    EXPECT_TRUE(ExtractedMemberNames({u"Archive:  x.zip"_s, u"caution: filename not matched:  *.mp3"_s}).isEmpty());
}

TEST(UnzipExtraction, MemberPathsStayInTheirFolder)
{
    const QString folder = u"/w/dec1"_s;
    EXPECT_EQ(ExtractedMemberPath(folder, u"/w/dec1/sub/a.mp3"_s), u"/w/dec1/sub/a.mp3"_s);
    EXPECT_EQ(ExtractedMemberPath(folder + u'/', u"sub\\a.mp3"_s), u"/w/dec1/sub/a.mp3"_s);
    EXPECT_EQ(ExtractedMemberPath(folder, u"../a.mp3"_s), QString());
    EXPECT_EQ(ExtractedMemberPath(folder, u"/w/dec1/../../etc/x"_s), QString());
    EXPECT_EQ(ExtractedMemberPath(folder, u"/w/dec10/a.mp3"_s), QString());
    EXPECT_EQ(ExtractedMemberPath(folder, u"/etc/passwd"_s), QString());
    EXPECT_EQ(ExtractedMemberPath(folder, u"/w/dec1/"_s), QString());
}

TEST_F(UnzipTool, ListsARealPackage)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QString path = Package(u"Artist - Song [KV] 01.zip"_s,
                                 {{"song.mp3", QByteArray(4000, 'm'), true}, {"song.cdg", QByteArray(2400, 'g')}});
    qint64 mp3Length = -1;
    qint64 graphicsLength = -1;
    quint32 marks = 99;
    EXPECT_TRUE(ListZipPackage(path, mp3Length, graphicsLength, marks));
    EXPECT_EQ(mp3Length, 4000);
    EXPECT_EQ(graphicsLength, 2400);
    EXPECT_EQ(marks, 0x11u);

    QList<SZipTestMember> many{{"song.mp3", "m"}, {"song.cdg", "g"}};
    for (int i = 0; i < 9; ++i)
        many.append({"extra" + QByteArray::number(i) + ".txt", "x"});
    EXPECT_FALSE(ListZipPackage(Package(u"many.zip"_s, many), mp3Length, graphicsLength, marks));
    EXPECT_EQ(marks, 0u);
    EXPECT_EQ(mp3Length, 0);

    EXPECT_FALSE(ListZipPackage(Package(u"only.zip"_s, {{"song.mp3", "m"}}), mp3Length, graphicsLength, marks));
    EXPECT_EQ(marks, ZIP_MARK_MP3);
    EXPECT_FALSE(ListZipPackage(m_files.filePath(u"missing.zip"_s), mp3Length, graphicsLength, marks));
    EXPECT_EQ(marks, 0u);
}

TEST_F(UnzipTool, SixteenLinesOfListingAreIgnored)
{
    QStringList members{MemberLine(10, u"a.mp3"_s), MemberLine(20, u"a.cdg"_s)};
    while (Listing(members).size() < 16)
        members.append(MemberLine(1, u"x%1.txt"_s.arg(members.size())));
    StandInTool(Listing(members));
    qint64 mp3Length = -1;
    qint64 graphicsLength = -1;
    quint32 marks = 99;
    EXPECT_FALSE(ListZipPackage(u"-any.zip"_s, mp3Length, graphicsLength, marks));
    EXPECT_EQ(marks, 0u);
    EXPECT_EQ(graphicsLength, 0);
    members.removeLast();
    StandInTool(Listing(members));
    EXPECT_TRUE(ListZipPackage(u"-any.zip"_s, mp3Length, graphicsLength, marks));
}

TEST_F(UnzipTool, ExtractsIntoAFreshFolderAndKeepsOnlyTheMp3)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QByteArray mp3(5000, 'm');
    const QByteArray mcg(700, 'c');
    const QString path = Package(u"pack.zip"_s, {{"Song.MP3", mp3, true}, {"song.cdg", QByteArray(900, 'g')},
                                                 {"song.mcg", mcg, true}, {"readme.txt", "hello"}});
    QString mp3Path;
    QByteArray buffer(700, '\0');
    EXPECT_TRUE(ExtractZipPackage(mp3Path, path, buffer, ZIP_MARK_CDG | ZIP_MARK_MCG | ZIP_MARK_MP3));
    EXPECT_EQ(buffer, mcg);
    ASSERT_FALSE(mp3Path.isEmpty());
    const QString folder = QFileInfo(mp3Path).absolutePath();
    EXPECT_EQ(QFileInfo(folder).absolutePath(), QFileInfo(WorkFolder()).absoluteFilePath());
    EXPECT_TRUE(QFileInfo(folder).fileName().startsWith(u"dec"_s));
    EXPECT_EQ(test::ReadBytes(mp3Path), mp3);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({u"Song.MP3"_s}));

    // Each extraction has its own folder; a graphics member larger than the buffer is not read.
    QString second;
    QByteArray small(100, 'z');
    EXPECT_TRUE(ExtractZipPackage(second, path, small, ZIP_MARK_CDG | ZIP_MARK_MP3));
    EXPECT_NE(QFileInfo(second).absolutePath(), folder);
    EXPECT_TRUE(small.isEmpty());
    EXPECT_EQ(QDir(QFileInfo(second).absolutePath()).entryList(QDir::Files), QStringList({u"Song.MP3"_s}));
}

TEST_F(UnzipTool, HostileMemberNamesStayInTheExtractionFolder)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QString path = Package(u"slip.zip"_s, {{"../../evil.mp3", "e"}, {"/abs/evil.cdg", "g"}, {"a/../../x.txt", "x"}});
    QString mp3Path;
    QByteArray buffer(10, '\0');
    EXPECT_TRUE(ExtractZipPackage(mp3Path, path, buffer, ZIP_MARK_CDG | ZIP_MARK_MP3));
    const QString folder = QFileInfo(mp3Path).absolutePath();
    EXPECT_TRUE(folder.startsWith(WorkFolder()));
    EXPECT_EQ(buffer, "g");
    EXPECT_EQ(QDir(WorkFolder()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(m_temp.path()).entryList(QDir::Files), QStringList());
}

TEST_F(UnzipTool, AnalysisFallbackReadsTheFirstMp3AndLeavesNothing)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QByteArray first = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(8000, '\0');
    const QByteArray second = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(80000, '\0');
    const QString path = Package(u"pack.zip"_s, {{"sub/first.mp3", first, true}, {"song.ncg", "n"},
                                                 {"second.mp3", second}});
    QStringList result;
    EXPECT_TRUE(ReadZipPackageByTool(path, result));
    ASSERT_EQ(result.size(), 3);
    EXPECT_EQ(result.value(0), u"0"_s); // first.mp3: 19 frames; second.mp3 would give 4 seconds
    // Each run has a folder of its own, which goes with everything in it.
    EXPECT_TRUE(QDir(WorkFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    EXPECT_FALSE(ReadZipPackageByTool(Package(u"plain.zip"_s, {{"song.mp3", first}}), result));
    EXPECT_TRUE(result.isEmpty());
}

TEST_F(UnzipTool, BzippedMembersAreExtractedToo)
{
    if (!HaveUnzip())
        GTEST_SKIP() << "unzip is not installed";
    const QByteArray mp3 = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(80000, '\0');
    const std::optional<SZipTestMember> bzip2 = test::Bzip2Member("song.mp3", mp3);
    if (!bzip2)
        GTEST_SKIP() << "bzip2 is not installed";
    const QString path = Package(u"bzip2.zip"_s, {*bzip2, {"song.cdg", "g"}});
    QStringList result;
    EXPECT_TRUE(ReadZipPackageByTool(path, result));
    EXPECT_EQ(result.value(0), u"4"_s);
    QString mp3Path;
    QByteArray buffer(1, '\0');
    EXPECT_TRUE(ExtractZipPackage(mp3Path, path, buffer, ZIP_MARK_CDG | ZIP_MARK_MP3));
    EXPECT_EQ(test::ReadBytes(mp3Path), mp3);
}

TEST_F(UnzipTool, WithoutTheToolNothingIsFound)
{
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_tools.path()));
    qint64 mp3Length = -1;
    qint64 graphicsLength = -1;
    quint32 marks = 99;
    const QString path = Package(u"pack.zip"_s, {{"song.mp3", "m"}, {"song.cdg", "g"}});
    EXPECT_FALSE(ListZipPackage(path, mp3Length, graphicsLength, marks));
    EXPECT_EQ(marks, 0u);
    QString mp3Path = u"stale"_s;
    QByteArray buffer(4, 'b');
    EXPECT_TRUE(ExtractZipPackage(mp3Path, path, buffer, 0x11));
    EXPECT_TRUE(mp3Path.isEmpty());
    EXPECT_EQ(buffer, "bbbb");
    QStringList result{u"stale"_s};
    EXPECT_FALSE(ReadZipPackageByTool(path, result));
    EXPECT_TRUE(result.isEmpty());
    qputenv("PATH", oldPath);
}

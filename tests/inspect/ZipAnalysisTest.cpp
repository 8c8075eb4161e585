#include "TestSupport.h"
#include "base/UserPaths.h"
#include "inspect/Mp3Analysis.h"
#include "inspect/WorkFolder.h"
#include "inspect/ZipAnalysis.h"
#include "samplegen/Id3Writer.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/OtherFormats.h"
#include "update/ZipTestArchive.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::SZipTestMember;

namespace {

QByteArray TaggedMp3(const QString &title)
{
    samplegen::SId3Fields fields;
    fields.title = title;
    fields.artist = u"The Singers"_s;
    fields.year = 2001;
    fields.track = 3;
    return samplegen::MakeMp3File(&fields, false, true, 400);
}

QStringList ImageValues(const QByteArray &mp3)
{
    QStringList values;
    ReadMp3ImageTags(mp3, values);
    return values;
}

// Packages are written to a folder of their own; the unzip work folder goes to another
// through TMPDIR.
class CZipPackages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hadTmpDir = qEnvironmentVariableIsSet("TMPDIR");
        m_oldTmpDir = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }
    void TearDown() override
    {
        if (m_hadTmpDir)
            qputenv("TMPDIR", m_oldTmpDir);
        else
            qunsetenv("TMPDIR");
    }
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_files.filePath(name);
        test::WriteBytes(path, bytes);
        return path;
    }
    QString Package(const QString &name, const QList<SZipTestMember> &members)
    {
        return Write(name, test::BuildZip(members));
    }
    // Runs the zip branch; the flag, with the result in m_result.
    bool Read(const QString &path)
    {
        m_result = {u"stale"_s};
        return ReadZipPackageTags(path, m_result);
    }

    QTemporaryDir m_files;
    QTemporaryDir m_temp;
    QByteArray m_oldTmpDir;
    bool m_hadTmpDir = false;
    QStringList m_result;
};

// The suite's name in test listings.
using ZipPackages = CZipPackages;

} // namespace

TEST_F(ZipPackages, KaraokePackagesGiveTheirMp3Values)
{
    const QByteArray mp3 = TaggedMp3(u"Zip Song"_s);
    ASSERT_EQ(ImageValues(mp3).size(), 9);

    EXPECT_TRUE(Read(Package(u"deflated.zip"_s, {{"Song.MP3", mp3, true}, {"Song.cdg", QByteArray(2400, 'g'), true}})));
    EXPECT_EQ(m_result, ImageValues(mp3));
    EXPECT_EQ(m_result.at(3), u"Zip Song"_s);

    const QString stored = Write(u"stored.zip"_s, samplegen::MakeStoredZip({{u"a/song.mp3"_s, mp3}, {u"a/song.mcg"_s, "KLOVMC"}}));
    EXPECT_TRUE(Read(stored));
    EXPECT_EQ(m_result, ImageValues(mp3));

    // The values of the last MP3 member are the ones used.
    const QByteArray other = TaggedMp3(u"Second"_s);
    EXPECT_TRUE(Read(Package(u"two.zip"_s, {{"1.mp3", mp3, true}, {"x.ncg", "n"}, {"2.mp3", other}})));
    EXPECT_EQ(m_result.at(3), u"Second"_s);

    // Members too short for an audio start or a trailer are read without tags.
    EXPECT_TRUE(Read(Package(u"tiny.zip"_s, {{"t.mp3", "ID3"}, {"t.cdg", "g"}})));
    EXPECT_EQ(m_result.size(), 3);
}

TEST_F(ZipPackages, PackagesThatAreNotExamined)
{
    const QByteArray mp3 = TaggedMp3(u"Song"_s);
    EXPECT_FALSE(Read(Package(u"only.zip"_s, {{"song.mp3", mp3}})));
    EXPECT_TRUE(m_result.isEmpty());
    EXPECT_FALSE(Read(Package(u"graphics.zip"_s, {{"song.cdg", "g"}, {"song.mp3.txt", mp3}})));
    EXPECT_TRUE(m_result.isEmpty());

    QList<SZipTestMember> members{{"song.mp3", mp3}, {"song.cdg", "g"}};
    while (members.size() < 15)
        members.append(SZipTestMember{"extra" + QByteArray::number(members.size()), "x"});
    EXPECT_TRUE(Read(Package(u"fifteen.zip"_s, members)));
    members.append(SZipTestMember{"sixteenth", "x"});
    EXPECT_FALSE(Read(Package(u"sixteen.zip"_s, members)));
    EXPECT_TRUE(m_result.isEmpty());

    EXPECT_FALSE(Read(m_files.filePath(u"missing.zip"_s)));
    EXPECT_FALSE(Read(Write(u"renamed.zip"_s, mp3)));
    EXPECT_TRUE(m_result.isEmpty());
    const QByteArray good = test::BuildZip({{"song.mp3", mp3, true}, {"song.cdg", "g"}});
    EXPECT_FALSE(Read(Write(u"truncated.zip"_s, good.first(good.size() - 30))));

    // A package of 64 MiB is not opened at all.
    const QString large = Write(u"large.zip"_s, good);
    QFile resize(large);
    ASSERT_TRUE(resize.resize(64 * 1024 * 1024));
    EXPECT_FALSE(Read(large));
}

TEST_F(ZipPackages, MembersThatLieAboutTheirSizeAreSkipped)
{
    const QByteArray mp3 = TaggedMp3(u"Honest"_s);
    SZipTestMember huge{"huge.mp3", mp3, true};
    huge.declaredSize = 0xFFFFFFF0u;
    SZipTestMember limit{"limit.mp3", mp3, true};
    limit.declaredSize = 64u * 1024 * 1024;
    SZipTestMember bomb{"bomb.mp3", QByteArray(4000000, '\0'), true};
    bomb.declaredSize = 4000;
    SZipTestMember shortOne{"short.mp3", mp3, true};
    shortOne.declaredSize = quint32(mp3.size() + 1000);
    EXPECT_FALSE(Read(Package(u"liars.zip"_s, {huge, limit, bomb, shortOne, {"song.cdg", "g"}})));
    EXPECT_TRUE(m_result.isEmpty());

    EXPECT_TRUE(Read(Package(u"mixed.zip"_s, {{"honest.mp3", mp3, true}, huge, bomb, {"song.cdg", "g"}})));
    EXPECT_EQ(m_result, ImageValues(mp3));
}

TEST_F(ZipPackages, EncryptedMembersAreNotRead)
{
    SZipTestMember encrypted{"song.mp3", TaggedMp3(u"Secret"_s)};
    encrypted.nFlags = 1;
    EXPECT_FALSE(Read(Package(u"encrypted.zip"_s, {encrypted, {"song.cdg", "g"}})));
    EXPECT_TRUE(m_result.isEmpty());
}

TEST_F(ZipPackages, CorruptEntriesAreReadByTheTool)
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    const QByteArray mp3 = TaggedMp3(u"Rescued"_s);
    SZipTestMember disagreeing{"rescued.mp3", mp3, true};
    disagreeing.localName = "other-name.mp3";
    EXPECT_TRUE(Read(Package(u"corrupt.zip"_s, {{"song.cdg", QByteArray(300, 'g')}, disagreeing})));
    EXPECT_EQ(m_result, ImageValues(mp3));
    // The analysed MP3 does not stay in the work folder.
    EXPECT_EQ(QDir(TempWorkPath(u"_unzip"_s)).entryList(QDir::Files), QStringList());

    // A corrupt package the tool cannot read either gives nothing.
    QByteArray bytes = test::BuildZip({{"song.cdg", "g"}, {"song.mp3", mp3}});
    bytes[bytes.lastIndexOf(QByteArray("PK\x01\x02", 4)) + 2] = 'X';
    EXPECT_FALSE(Read(Write(u"broken.zip"_s, bytes)));
    EXPECT_TRUE(m_result.isEmpty());
}

// Members packed by methods the in-process reader does not read go to the unzip tool, which
// reads Deflate64 and bzip2 alike.
TEST_F(ZipPackages, OtherPackingMethodsAreReadByTheTool)
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    const QByteArray mp3 = TaggedMp3(u"Wide"_s);
    EXPECT_TRUE(Read(Package(u"deflate64.zip"_s, {test::Deflate64Member("song.mp3", mp3), {"song.cdg", "g"}})));
    EXPECT_EQ(m_result, ImageValues(mp3));
    const std::optional<SZipTestMember> bzip2 = test::Bzip2Member("Song.mp3", mp3);
    if (!bzip2)
        GTEST_SKIP() << "bzip2 is not installed";
    EXPECT_TRUE(Read(Package(u"bzip2.zip"_s, {{"Song.cdg", "g", true}, *bzip2})));
    EXPECT_EQ(m_result, ImageValues(mp3));
    EXPECT_EQ(m_result.value(3), u"Wide"_s);
}

// Whatever the tool wrote is gone once it is read, also under names that are not ASCII and
// names the tool's output may spell otherwise than the disk does.
TEST_F(ZipPackages, TheToolLeavesNothingBehind)
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    const QByteArray mp3 = TaggedMp3(u"Gone"_s);
    for (const QByteArray &name : {QByteArray("plain.mp3"), QByteArray("Caf\xC3\xA9 \xC3\x9Cml\xC3\xA4ut.mp3"),
                                   QByteArray("\xE6\xAD\x8C/\xE6\xAD\x8C\xE6\x89\x8B.mp3")}) {
        SZipTestMember member = test::Deflate64Member(name, mp3);
        member.nFlags = 0x800; // the name is UTF-8
        Read(Package(u"pack.zip"_s, {member, {"song.cdg", "g"}, test::Deflate64Member("second.mp3", mp3)}));
        const QString work = TempWorkPath(u"_unzip"_s);
        EXPECT_TRUE(QDir(work).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty())
            << name.constData();
        EXPECT_EQ(QDir(m_temp.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    }
}

// Fallback reads on several threads at once, as a check with workers makes them: each gets
// its own package's song, never another's, and never a false "unknown".
TEST_F(ZipPackages, FallbacksOnSeveralThreadsKeepTheirOwnSongs)
{
    if (QStandardPaths::findExecutable(u"unzip"_s).isEmpty())
        GTEST_SKIP() << "unzip is not installed";
    constexpr int kPackages = 6;
    QStringList paths;
    QList<QStringList> expected;
    for (int i = 0; i < kPackages; ++i) {
        const QByteArray mp3 = samplegen::MakeMp3File(nullptr, false, false, samplegen::Mp3FramesForSeconds(10 + i));
        expected.append(ImageValues(mp3));
        paths.append(Package(u"song%1.zip"_s.arg(i), {{"song.cdg", "g"}, test::Deflate64Member("song.mp3", mp3)}));
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                for (int i = 0; i < kPackages; ++i) {
                    const int k = (i + t) % kPackages;
                    QStringList result;
                    if (!ReadZipPackageTags(paths[k], result) || result != expected[k])
                        ++wrong;
                }
            }
        });
    }
    for (std::thread &worker : workers)
        worker.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(QDir(TempWorkPath(u"_unzip"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

#include "TestSupport.h"
#include "rescan/TreeDescription.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::Literals::StringLiterals;

namespace {

struct SDescribed
{
    QByteArray bytes;
    STreeDescription result;
};

SDescribed Describe(const QString &folder, const WalkStopCheck &stop = {})
{
    SDescribed described;
    described.result = DescribeTree(folder, [&](QByteArrayView chunk) { described.bytes.append(chunk); }, stop);
    return described;
}

class TreeDescription : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        test::WriteBytes(Path(u"Song One.mp3"_s), QByteArray(4000, 'a'));
        test::WriteBytes(Path(u"Song One.cdg"_s), QByteArray(2400, 'c'));
        test::WriteBytes(Path(u"Disc 2/Deep/Song Two.mp3"_s), QByteArray(3000, 'b'));
        test::WriteBytes(Path(u"Disc 2/Song Three.kar"_s), QByteArray(900, 'k'));
    }
    QString Path(const QString &name) const { return m_root.filePath(name); }
    QByteArray Native(const QString &name) const { return QFile::encodeName(Path(name)); }

    QTemporaryDir m_root;
};

} // namespace

// A check must never be replayed for a tree that changed in any way a check could see, and
// must be replayed for one that did not.
TEST_F(TreeDescription, EveryVisibleChangeGivesAnotherDescriptionAndNoneTheSame)
{
    const SDescribed first = Describe(m_root.path());
    ASSERT_TRUE(first.result.bComplete);
    EXPECT_EQ(first.result.nEntries, 9); // 4 files, 2 folders as entries, and 3 folders as opened
    EXPECT_EQ(Describe(m_root.path()).bytes, first.bytes);

    const QList<std::pair<const char *, std::function<void()>>> changes = {
        {"same size, other modification time",
         [&] {
             const timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 123}};
             ASSERT_EQ(::utimensat(AT_FDCWD, Native(u"Song One.mp3"_s).constData(), times, 0), 0);
         }},
        {"a byte more", [&] { test::WriteBytes(Path(u"Disc 2/Deep/Song Two.mp3"_s), QByteArray(3001, 'b')); }},
        {"permissions", [&] { ASSERT_EQ(::chmod(Native(u"Song One.cdg"_s).constData(), 0600), 0); }},
        {"renamed", [&] { ASSERT_TRUE(QFile::rename(Path(u"Disc 2/Song Three.kar"_s), Path(u"Disc 2/Song 3.kar"_s))); }},
        {"added in a deep folder", [&] { test::WriteBytes(Path(u"Disc 2/Deep/New.mp3"_s), "x"); }},
        {"removed", [&] { ASSERT_TRUE(QFile::remove(Path(u"Disc 2/Deep/New.mp3"_s))); }},
        {"an empty folder", [&] { ASSERT_TRUE(QDir(m_root.path()).mkpath(u"Empty"_s)); }},
        {"a link", [&] { ASSERT_EQ(::symlink("Song One.mp3", Native(u"Link.mp3"_s).constData()), 0); }},
        {"the link pointed elsewhere",
         [&] {
             ASSERT_EQ(::unlink(Native(u"Link.mp3"_s).constData()), 0);
             ASSERT_EQ(::symlink("Song One.cdg", Native(u"Link.mp3"_s).constData()), 0);
         }},
        {"a dangling link", [&] { ASSERT_EQ(::symlink("Nowhere.mp3", Native(u"Gone.mp3"_s).constData()), 0); }},
    };
    QList<QByteArray> seen = {first.bytes};
    for (const auto &[label, change] : changes) {
        change();
        const SDescribed now = Describe(m_root.path());
        EXPECT_TRUE(now.result.bComplete) << label;
        EXPECT_FALSE(seen.contains(now.bytes)) << label;
        EXPECT_EQ(Describe(m_root.path()).bytes, now.bytes) << label << ": a second walk differs";
        seen.append(now.bytes);
    }
}

// Links that lead back up, pipes and sockets are described without following them forever
// or opening them; a stop leaves the description incomplete.
TEST_F(TreeDescription, LoopsAndSpecialFilesEndTheWalkAndAStopIsHeard)
{
    ASSERT_EQ(::symlink("..", Native(u"Disc 2/Back Up"_s).constData()), 0);
    ASSERT_EQ(::mkfifo(Native(u"Disc 2/Deep/pipe.mp3"_s).constData(), 0600), 0);
    const SDescribed described = Describe(m_root.path());
    ASSERT_TRUE(described.result.bComplete);
    EXPECT_TRUE(described.bytes.contains("pipe.mp3"));
    EXPECT_TRUE(described.bytes.contains("Back Up"));
    EXPECT_EQ(Describe(m_root.path()).bytes, described.bytes);

    QList<qint64> counts;
    const SDescribed whole = Describe(m_root.path(), [&](qint64 entries) {
        counts.append(entries);
        return false;
    });
    EXPECT_EQ(whole.bytes, described.bytes);
    EXPECT_EQ(counts.first(), 0);
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_LT(counts.last(), whole.result.nEntries) << "asked before each folder, the last one too";
    int asked = 0;
    const SDescribed stopped = Describe(m_root.path(), [&](qint64) { return ++asked > 1; });
    EXPECT_FALSE(stopped.result.bComplete);
    EXPECT_LT(stopped.bytes.size(), described.bytes.size());

    const SDescribed missing = Describe(Path(u"No Such Folder"_s));
    EXPECT_TRUE(missing.result.bComplete);
    EXPECT_EQ(missing.result.nEntries, 0);
    EXPECT_FALSE(missing.bytes.isEmpty()); // it says that the folder could not be read
}

// The newest time decides whether a check may be kept: a file written now shows in it.
TEST_F(TreeDescription, TheNewestTimeIsThatOfTheLastChange)
{
    const timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    for (const QString &name : {u""_s, u"Song One.mp3"_s, u"Song One.cdg"_s, u"Disc 2"_s, u"Disc 2/Deep"_s,
                                u"Disc 2/Deep/Song Two.mp3"_s, u"Disc 2/Song Three.kar"_s})
        ASSERT_EQ(::utimensat(AT_FDCWD, Native(name).constData(), old, 0), 0);
    const qint64 before = Describe(m_root.path()).result.nNewestNs;
    // The change times are those of the utimensat calls: now, not 2001.
    EXPECT_GT(before, qint64(1700000000) * 1000000000);
    usleep(20000);
    test::WriteBytes(Path(u"Disc 2/Deep/Song Two.mp3"_s), "changed");
    EXPECT_GT(Describe(m_root.path()).result.nNewestNs, before);
}

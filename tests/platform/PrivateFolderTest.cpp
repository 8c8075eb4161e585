// The private place of work, cache and update files, and the file operations that never go
// through a link.
#include "TestSupport.h"

#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

constexpr uid_t kNobody = 65534;

mode_t ModeOf(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 07777;
}

uid_t OwnerOf(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_uid : uid_t(-1);
}

// A temporary folder shared like /tmp (mode 1777) and no runtime folder, for each test.
class CPrivateFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldTmpDir = qgetenv("TMPDIR");
        m_oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        ::chmod(QFile::encodeName(m_temp.path()).constData(), 01777);
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
        qunsetenv("XDG_RUNTIME_DIR");
    }
    void TearDown() override
    {
        qputenv("TMPDIR", m_oldTmpDir);
        if (m_oldRuntime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
    }
    QString UserFolder() const { return m_temp.filePath(u"velmora-"_s + QString::number(::geteuid())); }

    QTemporaryDir m_temp;
    QByteArray m_oldTmpDir;
    QByteArray m_oldRuntime;
};

using PrivateFolder = CPrivateFolder;

} // namespace

TEST_F(PrivateFolder, IsMadeForThisUserAloneAndCheckedOnEveryUse)
{
    const QString folder = PrivateWorkFolder();
    EXPECT_EQ(folder, UserFolder());
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(OwnerOf(folder), ::geteuid());
    EXPECT_EQ(PrivateWorkFolder(), folder);

    const QString juke = PrivateWorkSubfolder(u"cache/LoadJuke"_s);
    EXPECT_EQ(juke, folder + u"/cache/LoadJuke"_s);
    EXPECT_EQ(ModeOf(folder + u"/cache"_s), 0700u);
    EXPECT_EQ(ModeOf(juke), 0700u);
    EXPECT_TRUE(PrivateWorkSubfolder(u"../escape"_s).isEmpty());

    // Opened up after it was made: refused from then on.
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_NE(PrivateWorkFolder(), folder);
    EXPECT_FALSE(IsPrivateFolder(folder));
}

TEST_F(PrivateFolder, TheRuntimeFolderIsUsedOnlyWhenItIsOurs)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(PrivateWorkFolder(), runtime.filePath(u"velmora"_s));
    EXPECT_EQ(ModeOf(runtime.filePath(u"velmora"_s)), 0700u);

    QTemporaryDir shared;
    ::chmod(QFile::encodeName(shared.path()).constData(), 0777);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(shared.path()));
    EXPECT_EQ(PrivateWorkFolder(), UserFolder());
    EXPECT_FALSE(QFileInfo::exists(shared.filePath(u"velmora"_s)));
    qputenv("XDG_RUNTIME_DIR", "relative/path");
    EXPECT_EQ(PrivateWorkFolder(), UserFolder());
}

TEST_F(PrivateFolder, AFolderSomeoneElseMadeFirstIsNeverUsed)
{
    // Another user's trap at our folder's name: a link to a folder of theirs.
    QTemporaryDir theirs;
    ::chmod(QFile::encodeName(theirs.path()).constData(), 0700);
    ASSERT_TRUE(QFile::link(theirs.path(), UserFolder()));
    const QString folder = PrivateWorkFolder();
    EXPECT_FALSE(folder.isEmpty());
    EXPECT_NE(folder, UserFolder());
    EXPECT_TRUE(IsPrivateFolder(folder));
    EXPECT_FALSE(IsPrivateFolder(UserFolder()));
    EXPECT_FALSE(PrivateWorkSubfolder(u"LoadJuke"_s).startsWith(UserFolder() + u'/'));
    EXPECT_TRUE(QDir(theirs.path()).isEmpty());
    QFile::remove(UserFolder());

    // A folder open to everyone.
    ASSERT_TRUE(QDir().mkdir(UserFolder()));
    ::chmod(QFile::encodeName(UserFolder()).constData(), 0777);
    EXPECT_NE(PrivateWorkFolder(), UserFolder());
    EXPECT_TRUE(QDir(UserFolder()).isEmpty());

    // A closed folder of another user's.
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    ::chmod(QFile::encodeName(UserFolder()).constData(), 0700);
    ASSERT_EQ(::chown(QFile::encodeName(UserFolder()).constData(), kNobody, kNobody), 0);
    EXPECT_NE(PrivateWorkFolder(), UserFolder());
    EXPECT_TRUE(QDir(UserFolder()).isEmpty());
}

TEST(PrivateFiles, AFreshFileNeverGoesThroughALink)
{
    QTemporaryDir dir;
    const QString victim = dir.filePath(u"victim.txt"_s);
    test::WriteBytes(victim, "precious");
    const QString name = dir.filePath(u"cache.txt"_s);
    ASSERT_TRUE(QFile::link(victim, name));
    {
        const std::unique_ptr<QFile> file = CreateFreshFile(name);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->write("cache"), 5);
    }
    EXPECT_EQ(test::ReadBytes(victim), "precious");
    EXPECT_FALSE(QFileInfo(name).isSymLink());
    EXPECT_EQ(test::ReadBytes(name), "cache");
    EXPECT_EQ(ModeOf(name), 0600u);

    ASSERT_TRUE(QDir().mkdir(dir.filePath(u"folder"_s)));
    EXPECT_FALSE(CreateFreshFile(dir.filePath(u"folder"_s)));
    EXPECT_FALSE(CreateFreshFile(dir.filePath(u"missing/x"_s)));
}

TEST(PrivateFiles, RemovingATreeLeavesWhatItsLinksPointAt)
{
    QTemporaryDir dir;
    const QString outside = dir.filePath(u"outside"_s);
    test::WriteBytes(outside + u"/keep.txt"_s, "keep");
    const QString run = MakeUniqueFolder(dir.path(), u"run"_s);
    ASSERT_FALSE(run.isEmpty());
    EXPECT_EQ(ModeOf(run), 0700u);
    EXPECT_TRUE(QFileInfo(run).fileName().startsWith(u"run"_s));
    EXPECT_NE(MakeUniqueFolder(dir.path(), u"run"_s), run);
    test::WriteBytes(run + u"/Caf\u00e9/\u6b4c.mp3"_s, "mp3");
    ASSERT_TRUE(QFile::link(outside, run + u"/Caf\u00e9/link"_s));
    ASSERT_TRUE(QFile::link(outside + u"/keep.txt"_s, run + u"/file-link"_s));
    EXPECT_TRUE(RemoveFolderTree(run));
    EXPECT_FALSE(QFileInfo::exists(run));
    EXPECT_EQ(test::ReadBytes(outside + u"/keep.txt"_s), "keep");
    EXPECT_TRUE(RemoveFolderTree(run)); // already gone
}

// Moving one file: on one file system, across file systems (a real tmpfs where the sandbox
// allows it, the file-system double always), and when something fails on the way. Each case
// takes a census of the files before and after: nothing may be lost or left half-written.
#include "FileCensus.h"
#include "FileSystemDouble.h"
#include "SecondFileSystem.h"
#include "TestSupport.h"

#include "platform/FileMove.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::FileCensus;
using velmora::test::Moved;

namespace {

class CFileMoveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath(u"lib"_s);
        QDir(m_root.path()).mkpath(u"other"_s);
        m_double.secondRoot = Other();
    }
    QString Lib(const QString &name = {}) const { return Join(m_root.path() + u"/lib"_s, name); }
    QString Other(const QString &name = {}) const { return Join(m_root.path() + u"/other"_s, name); }
    static QString Join(const QString &folder, const QString &name)
    {
        return name.isEmpty() ? folder : folder + u'/' + name;
    }
    QMap<QString, QByteArray> Census() const { return FileCensus({m_root.path()}); }

    QTemporaryDir m_root;
    test::CFileSystemDouble m_double;
};

QByteArray Song(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char('a' + i % 26);
    return bytes;
}

} // namespace

TEST_F(CFileMoveTest, RenamesOnOneFileSystem)
{
    test::WriteBytes(Lib(u"song.mp3"_s), Song(3000));
    const auto before = Census();
    const SMoveResult result = MoveFileTo(LocalFileSystem(), Lib(u"song.mp3"_s), Other(u"song.mp3"_s), false);
    EXPECT_TRUE(result.IsMoved()) << result.strReason.toStdString();
    EXPECT_FALSE(result.bCopied);
    EXPECT_EQ(Census(), Moved(before, Lib(u"song.mp3"_s), Other(u"song.mp3"_s)));
}

TEST_F(CFileMoveTest, CopiesAcrossFileSystemsAndKeepsTheMode)
{
    test::WriteBytes(Lib(u"song.cdg"_s), Song(600000));
    ::chmod(QFile::encodeName(Lib(u"song.cdg"_s)).constData(), 0640);
    const auto before = Census();
    const SMoveResult result = MoveFileTo(m_double, Lib(u"song.cdg"_s), Other(u"song.cdg"_s), false);
    EXPECT_TRUE(result.IsMoved()) << result.strReason.toStdString();
    EXPECT_TRUE(result.bCopied);
    EXPECT_EQ(Census(), Moved(before, Lib(u"song.cdg"_s), Other(u"song.cdg"_s)));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Other(u"song.cdg"_s)).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(CFileMoveTest, ReplacesAnExistingTargetOnlyWhenAskedAndOnlyByACompleteCopy)
{
    for (IFileSystem *fileSystem : {&LocalFileSystem(), static_cast<IFileSystem *>(&m_double)}) {
        test::WriteBytes(Lib(u"song.mp3"_s), Song(5000));
        test::WriteBytes(Other(u"song.mp3"_s), "old take");
        const auto before = Census();
        const SMoveResult kept = MoveFileTo(*fileSystem, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), false);
        EXPECT_FALSE(kept.IsMoved());
        EXPECT_EQ(kept.strReason, u"target exists"_s);
        EXPECT_EQ(Census(), before);

        const SMoveResult replaced = MoveFileTo(*fileSystem, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), true);
        EXPECT_TRUE(replaced.IsMoved()) << replaced.strReason.toStdString();
        auto expected = before;
        expected.remove(Other(u"song.mp3"_s));
        EXPECT_EQ(Census(), Moved(expected, Lib(u"song.mp3"_s), Other(u"song.mp3"_s)));
        QFile::remove(Other(u"song.mp3"_s));
    }
}

TEST_F(CFileMoveTest, AFullDiskLeavesSourceAndExistingTargetWhole)
{
    test::WriteBytes(Lib(u"song.mp3"_s), Song(700000));
    test::WriteBytes(Other(u"song.mp3"_s), "old take");
    m_double.nSecondRootSpace = 300000;
    const auto before = Census();
    const SMoveResult result = MoveFileTo(m_double, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), true);
    EXPECT_EQ(result.outcome, EMoveOutcome::Failed);
    EXPECT_EQ(result.strReason, u"no space left on device"_s);
    EXPECT_GT(m_double.nWrites, 1); // it did fail part-way through the copy
    EXPECT_EQ(Census(), before);
}

TEST_F(CFileMoveTest, AFailedFlushOrMissingSourceChangesNothing)
{
    test::WriteBytes(Lib(u"song.mp3"_s), Song(1000));
    m_double.nSyncError = EIO;
    auto before = Census();
    SMoveResult result = MoveFileTo(m_double, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), false);
    EXPECT_EQ(result.strReason, u"input/output error"_s);
    EXPECT_EQ(Census(), before);

    QFile::remove(Lib(u"song.mp3"_s));
    before = Census();
    result = MoveFileTo(m_double, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), false);
    EXPECT_EQ(result.strReason, u"source file not found"_s);
    EXPECT_EQ(Census(), before);
}

TEST_F(CFileMoveTest, TheNextMoveReplacesWhatAnInterruptedOneLeft)
{
    test::WriteBytes(Lib(u"song.mp3"_s), Song(2000));
    const QString stray = MoveTemporaryPath(Other(u"song.mp3"_s));
    EXPECT_TRUE(stray.startsWith(Other()));
    test::WriteBytes(stray, "half a copy");
    auto expected = Census();
    expected.remove(stray);
    const SMoveResult result = MoveFileTo(m_double, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), false);
    EXPECT_TRUE(result.IsMoved()) << result.strReason.toStdString();
    EXPECT_EQ(Census(), Moved(expected, Lib(u"song.mp3"_s), Other(u"song.mp3"_s)));
}

TEST_F(CFileMoveTest, ASourceThatCannotBeRemovedIsReportedWithBothCopiesWhole)
{
    test::WriteBytes(Lib(u"song.mp3"_s), Song(2000));
    m_double.nRemoveError = EACCES;
    auto expected = Census();
    const SMoveResult result = MoveFileTo(m_double, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), false);
    EXPECT_EQ(result.outcome, EMoveOutcome::SourceKept);
    EXPECT_EQ(result.strReason, u"copied, but the source cannot be removed: permission denied"_s);
    expected.insert(Other(u"song.mp3"_s), expected.value(Lib(u"song.mp3"_s)));
    EXPECT_EQ(Census(), expected);
}

TEST_F(CFileMoveTest, RefusesTheSameFileFoldersAndMissingTargetFolders)
{
    test::WriteBytes(Lib(u"song.mp3"_s), Song(100));
    test::WriteBytes(Lib(u"note.txt"_s), "not a folder");
    QDir(Other()).mkdir(u"song.mp3"_s);
    ASSERT_EQ(::link(QFile::encodeName(Lib(u"song.mp3"_s)).constData(),
                     QFile::encodeName(Lib(u"second.mp3"_s)).constData()), 0);
    const auto before = Census();
    const struct {
        QString source;
        QString target;
        QString reason;
    } cases[] = {
        {Lib(u"song.mp3"_s), Lib(u"song.mp3"_s), u"source and target are the same file"_s},
        {Lib(u"song.mp3"_s), Lib(u"second.mp3"_s), u"source and target are the same file"_s},
        {Lib(u"song.mp3"_s), Other(u"song.mp3"_s), u"target is a folder"_s},
        {Lib(u"song.mp3"_s), Lib(u"note.txt/song.mp3"_s), u"target folder is not a folder"_s},
        {Lib(u"song.mp3"_s), Other(u"gone/song.mp3"_s), u"target folder: file not found"_s},
        {Other(), Lib(u"other"_s), u"source is not a file"_s},
        {Lib(u"song.mp3"_s), Other(u"a"_s) + QChar(0xD800) + u".mp3"_s, u"name cannot be written on this system"_s},
    };
    for (const auto &c : cases) {
        const SMoveResult result = MoveFileTo(m_double, c.source, c.target, true);
        EXPECT_EQ(result.outcome, EMoveOutcome::Failed) << c.target.toStdString();
        EXPECT_EQ(result.strReason, c.reason) << c.target.toStdString();
        EXPECT_EQ(Census(), before) << c.target.toStdString();
    }
}

TEST_F(CFileMoveTest, NamesThatAreNotUtf8AndLongNamesCrossFileSystems)
{
    const QString latin1 = DecodeNativeName(QByteArray("caf\xE9 ol\xE9.mp3"));
    const QString longName = QString(240, u'x') + u".mp3"_s;
    for (const QString &name : {latin1, longName}) {
        test::WriteBytes(Lib(u"seed"_s), Song(4000));
        ASSERT_EQ(::rename(QFile::encodeName(Lib(u"seed"_s)).constData(), EncodeNativeName(Lib(name)).constData()), 0);
        EXPECT_LE(EncodeNativeName(MoveTemporaryPath(Other(name))).size() - Other().size(), 256);
        const SMoveResult result = MoveFileTo(m_double, Lib(name), Other(name), false);
        EXPECT_TRUE(result.IsMoved()) << result.strReason.toStdString();
        struct stat info {};
        EXPECT_EQ(::stat(EncodeNativeName(Other(name)).constData(), &info), 0);
        EXPECT_EQ(info.st_size, 4000);
        EXPECT_NE(::stat(EncodeNativeName(Lib(name)).constData(), &info), 0);
        ::unlink(EncodeNativeName(Other(name)).constData()); // Qt cannot name it to clean up
    }
}

TEST_F(CFileMoveTest, AReadOnlyTargetFolderRefusesTheMove)
{
    test::WriteBytes(Lib(u"song.mp3"_s), Song(100));
    // Played by the double always: the second file system refuses every new name.
    m_double.nSecondRootWriteError = EROFS;
    auto before = Census();
    SMoveResult result = MoveFileTo(m_double, Lib(u"song.mp3"_s), Other(u"song.mp3"_s), false);
    EXPECT_EQ(result.strReason, u"read-only file system"_s);
    EXPECT_EQ(Census(), before);

    // And for real: a folder without write permission (not for root), or a read-only mount.
    QDir(Other()).mkdir(u"locked"_s);
    const QByteArray locked = QFile::encodeName(Other(u"locked"_s));
    ASSERT_EQ(::chmod(locked.constData(), 0555), 0);
    if (::access(locked.constData(), W_OK) != 0) {
        result = MoveFileTo(LocalFileSystem(), Lib(u"song.mp3"_s), Other(u"locked/song.mp3"_s), false);
        EXPECT_EQ(result.strReason, u"permission denied"_s);
        EXPECT_EQ(Census(), before);
    }
    ::chmod(locked.constData(), 0755);
    test::CSecondFileSystem readOnly("64k", true);
    if (readOnly.Folder().isEmpty())
        GTEST_SKIP() << "no read-only file system can be mounted here; the double covered the case";
    before = FileCensus({m_root.path(), readOnly.Folder()});
    result = MoveFileTo(LocalFileSystem(), Lib(u"song.mp3"_s), readOnly.Folder() + u"/song.mp3"_s, false);
    EXPECT_EQ(result.strReason, u"read-only file system"_s);
    EXPECT_EQ(FileCensus({m_root.path(), readOnly.Folder()}), before);
}

// The real thing where the sandbox lets us: a 1 MiB tmpfs is another file system, and it
// fills up when a 1.5 MiB song is copied into it.
TEST_F(CFileMoveTest, ARealSmallFileSystemTakesACopyAndRunsFull)
{
    test::CSecondFileSystem second("1m");
    if (second.Folder().isEmpty())
        GTEST_SKIP() << "no second file system: cannot mount a tmpfs here and /dev/shm is not another device";
    test::WriteBytes(Lib(u"small.cdg"_s), Song(200000));
    auto before = FileCensus({m_root.path(), second.Folder()});
    SMoveResult result = MoveFileTo(LocalFileSystem(), Lib(u"small.cdg"_s), second.Folder() + u"/small.cdg"_s, false);
    EXPECT_TRUE(result.IsMoved()) << result.strReason.toStdString();
    EXPECT_TRUE(result.bCopied);
    EXPECT_EQ(FileCensus({m_root.path(), second.Folder()}),
              Moved(before, Lib(u"small.cdg"_s), second.Folder() + u"/small.cdg"_s));
    if (!second.IsSizeLimited())
        GTEST_SKIP() << "the second file system is not small enough to fill up (no tmpfs mount allowed)";

    test::WriteBytes(Lib(u"big.mp3"_s), Song(1500000));
    before = FileCensus({m_root.path(), second.Folder()});
    result = MoveFileTo(LocalFileSystem(), Lib(u"big.mp3"_s), second.Folder() + u"/big.mp3"_s, false);
    EXPECT_EQ(result.outcome, EMoveOutcome::Failed);
    EXPECT_EQ(result.strReason, u"no space left on device"_s);
    EXPECT_EQ(FileCensus({m_root.path(), second.Folder()}), before);
}

TEST(CFileMoveTexts, ErrorsReadAsAFewWords)
{
    EXPECT_EQ(MoveErrorText(EACCES), u"permission denied"_s);
    EXPECT_EQ(MoveErrorText(EROFS), u"read-only file system"_s);
    EXPECT_EQ(MoveErrorText(EDQUOT), u"no space left on device"_s);
    EXPECT_FALSE(MoveErrorText(EHOSTDOWN).isEmpty());
}

namespace {

// Access and modification times to the nanosecond.
QPair<timespec, timespec> TimesOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return {info.st_atim, info.st_mtim};
}

bool SameTime(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

void SetTimes(const QString &path, qint64 accessed, qint64 modified)
{
    const timespec times[2] = {{time_t(accessed), 123456789}, {time_t(modified), 987654321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

// A move keeps a song's times, on one file system by the rename, across file systems by
// setting them on the copy: a library sorted by date must not change order after a Move.
TEST_F(CFileMoveTest, MovesKeepTheTimes)
{
    for (const QString &name : {u"same.mp3"_s, u"across.mp3"_s}) {
        test::WriteBytes(Lib(name), Song(300000));
        SetTimes(Lib(name), 1000000000, 1100000000); // 2001 and 2004
    }
    const auto same = TimesOf(Lib(u"same.mp3"_s));
    SMoveResult result = MoveFileTo(m_double, Lib(u"same.mp3"_s), Lib(u"moved.mp3"_s), false);
    ASSERT_TRUE(result.IsMoved());
    EXPECT_FALSE(result.bCopied);
    EXPECT_TRUE(SameTime(TimesOf(Lib(u"moved.mp3"_s)).second, same.second));

    const auto across = TimesOf(Lib(u"across.mp3"_s));
    result = MoveFileTo(m_double, Lib(u"across.mp3"_s), Other(u"across.mp3"_s), false);
    ASSERT_TRUE(result.IsMoved()) << result.strReason.toStdString();
    EXPECT_TRUE(result.bCopied);
    const auto copied = TimesOf(Other(u"across.mp3"_s));
    EXPECT_TRUE(SameTime(copied.second, across.second)) << copied.second.tv_sec;
    EXPECT_TRUE(SameTime(copied.first, across.first)) << copied.first.tv_sec;

    test::CSecondFileSystem second("1m");
    if (second.Folder().isEmpty())
        GTEST_SKIP() << "no second file system: cannot mount a tmpfs here and /dev/shm is not another device";
    test::WriteBytes(Lib(u"real.cdg"_s), Song(200000));
    SetTimes(Lib(u"real.cdg"_s), 1000000000, 1100000000);
    const auto real = TimesOf(Lib(u"real.cdg"_s));
    result = MoveFileTo(LocalFileSystem(), Lib(u"real.cdg"_s), second.Folder() + u"/real.cdg"_s, false);
    ASSERT_TRUE(result.IsMoved()) << result.strReason.toStdString();
    EXPECT_TRUE(result.bCopied);
    EXPECT_TRUE(SameTime(TimesOf(second.Folder() + u"/real.cdg"_s).second, real.second));
    EXPECT_TRUE(SameTime(TimesOf(second.Folder() + u"/real.cdg"_s).first, real.first));
}

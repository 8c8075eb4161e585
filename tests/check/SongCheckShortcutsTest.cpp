// The checks' shortcuts (the media library's answer and report for bare CD+G streams, the
// row merge that moves each row once) must leave rows and run logs exactly as before.
#include "check/CheckFixture.h"

#include "check/DirectoryWalk.h"
#include "check/FileMerge.h"
#include "check/ListSelectDirectory.h"
#include "check/SortOrders.h"
#include "inspect/FileList.h"
#include "inspect/KnownLibraryAnswer.h"
#include "inspect/MediaInfoLibrary.h"
#include "inspect/SongGrouping.h"
#include "samplegen/CdgWriter.h"
#include "samplegen/Mp3Writer.h"
#include "samplegen/OtherFormats.h"
#include "samplegen/SampleLibrary.h"
#include "samplegen/ScaledLibrary.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;

namespace {

QString RowText(const _ITEMINFO &item)
{
    return QStringList{item.szFileName, item.szPath, item.szType, item.szTitle, item.szArtist, item.szAlbum,
                       item.szGenre, item.szResult, QString::number(item.nYear), QString::number(item.nTrack),
                       QString::number(item.nDuration), QString::number(item.dwFlags, 16),
                       QString::number(item.nFileSize)}
        .join(u'|');
}

struct SOutcome
{
    QStringList rows;
    QStringList directoryLog;
    QStringList errorLog;
};

SOutcome Check(const QString &folder, int topLevel, bool shortcuts, SCheckTuning tuning = {})
{
    test::CCheckFixture f;
    f.list.m_nIncludeSubfolders = 1;
    f.list.m_nTopLevel = topLevel;
    f.list.m_tuning = tuning;
    UseKnownLibraryAnswers(shortcuts);
    ListSelectDirectory(f.list, folder);
    UseKnownLibraryAnswers(true);
    SOutcome outcome{{}, f.capture.DirectoryLog(), f.capture.ErrorLog()};
    for (int i = 0; i < f.list.GetItemCount(); ++i)
        outcome.rows.append(RowText(f.list.Item(i)));
    return outcome;
}

void WriteFiles(const QString &root, const QList<samplegen::SSampleFile> &files)
{
    for (const samplegen::SSampleFile &file : files) {
        const QString path = QDir(root).filePath(file.relativePath);
        QDir().mkpath(QFileInfo(path).path());
        test::WriteBytes(path, file.content);
    }
}

// The merge done the plain way: the song's other rows erased one by one, the rows after them
// moving up each time; the row of the list's first file stays.
void EraseEachMergedRow(CDirItemList &list)
{
    for (int n = 0; n < list.GetItemCount(); ++n) {
        if (!list.Item(n).IsWalkItem())
            continue;
        QString fileList;
        const int joined = GroupSongFiles(list.m_items, n, fileList);
        if (joined > 0) {
            const QString first = fileList.section(u';', 0, 0);
            int index = n;
            for (int removed = 0; removed < joined;) {
                if (list.Item(index).szFileName.Text() == first) {
                    ++index;
                } else {
                    list.m_items.RemoveAt(index);
                    ++removed;
                }
            }
            list.Item(n).SetFileNames(fileList.split(u';'));
        }
        if (n < list.GetItemCount())
            WriteLog(Progress, u"LIST, Item FileMerge %s\r\n", LogSafePath(list.Item(n).szFileName));
    }
}

} // namespace

TEST(SongCheckShortcuts, GeneratedLibrariesGiveTheSameRowsAndLogs)
{
    QTemporaryDir library;
    WriteFiles(library.path(), samplegen::BuildScaledLibrary(120, 3));
    WriteFiles(QDir(library.path()).filePath(u"Samples"_s), samplegen::BuildSampleLibrary());
    // Graphics that only the library can judge, beside untagged audio so that they count.
    const QByteArray plainMp3 = samplegen::MakeMp3File(nullptr, false, false, 200);
    WriteFiles(library.path(), {{u"Odd/Tagged Inside.cdg"_s, samplegen::MakeMp3File(nullptr, true, true, 50)},
                                {u"Odd/Tagged Inside.mp3"_s, plainMp3},
                                {u"Odd/Damaged.cdg"_s, samplegen::MakeCdgPackets(2).chopped(7)},
                                {u"Odd/Damaged.mp3"_s, plainMp3},
                                {u"Odd/Alone.cdg"_s, samplegen::MakeCdgPackets(3)}});

    const SOutcome fast = Check(library.path(), 0, true);
    const SOutcome asked = Check(library.path(), 0, false);
    EXPECT_GT(fast.rows.size(), 120);
    EXPECT_EQ(fast.rows, asked.rows);
    EXPECT_EQ(fast.directoryLog, asked.directoryLog);
    EXPECT_EQ(fast.errorLog, asked.errorLog);
}

TEST(SongCheckShortcuts, MediaDetailsCheckGivesTheSameRowsAndLogsWithTheKnownReports)
{
    if (CMediaInfoModule::Shared().Load() != 1)
        GTEST_SKIP() << "the media-information library is needed";
    QTemporaryDir library;
    WriteFiles(library.path(), samplegen::BuildScaledLibrary(60, 5));
    WriteFiles(QDir(library.path()).filePath(u"Samples"_s), samplegen::BuildSampleLibrary());
    WriteFiles(library.path(), {{u"Odd/Tagged Inside.cdg"_s, samplegen::MakeMp3File(nullptr, true, true, 50)},
                                {u"Odd/Damaged.cdg"_s, samplegen::MakeCdgPackets(2).chopped(7)},
                                {u"Odd/Two  Blanks.cdg"_s, samplegen::MakeCdgPackets(2)},
                                {u"Odd/Alone.cdg"_s, samplegen::MakeCdgPackets(3)}});
    SCheckTuning library1;
    library1.engine = EReportEngine::Library;
    library1.nJobs = 1;
    SCheckTuning library3 = library1;
    library3.nJobs = 3;

    const SOutcome fast = Check(library.path(), 1, true, library3);
    const SOutcome asked = Check(library.path(), 1, false, library1);
    EXPECT_GT(fast.rows.size(), 100);
    EXPECT_EQ(fast.rows, asked.rows);
    EXPECT_EQ(fast.directoryLog, asked.directoryLog);
    EXPECT_EQ(fast.errorLog, asked.errorLog);
    EXPECT_FALSE(fast.errorLog.filter(u"Unknown Media"_s).isEmpty()); // the problem files
}

TEST(SongCheckShortcuts, MergeMovesRowsAsErasingEachOneDid)
{
    test::CCheckFixture f;
    for (const char *name : {"Song-.mp3", "Song.cdg", "Song.mp3", "SONG.cdg", "song.mp3", "a.cdg", "a.mp3",
                             "a.zip", "b.mcg", "b.mp3", "b-.mp3", "c.mp3", "d.cdg", "d.kar", "d.mp3", "e.cdg"})
        f.AddFile(QString::fromLatin1(name));
    f.AddFolder(u"Sub"_s);
    f.AddFile(u"Sub/c.cdg"_s);
    f.AddFile(u"Sub/c.mp3"_s);
    f.list.m_nIncludeSubfolders = 1;
    f.list.m_strCurrentFolder = f.Root();
    DirectoryItemInfo(f.list, f.Root());
    SortByDirectoryOrder(f.list);

    CDirItemList erased;
    for (const _ITEMINFO &item : f.list.m_items)
        erased.m_items.Add(item);
    const qsizetype linesBefore = f.capture.DirectoryLog().size();
    FileMerge(f.list);
    const QStringList mergeLines = f.capture.DirectoryLog().mid(linesBefore);
    EraseEachMergedRow(erased);
    const QStringList erasedLines = f.capture.DirectoryLog().mid(linesBefore + mergeLines.size());

    ASSERT_EQ(f.list.GetItemCount(), erased.GetItemCount());
    for (int i = 0; i < f.list.GetItemCount(); ++i)
        EXPECT_EQ(RowText(f.list.Item(i)), RowText(erased.Item(i)));
    EXPECT_EQ(mergeLines, erasedLines);
    EXPECT_LT(f.list.GetItemCount(), 19); // some rows really merged
}

// The Move command over a result list: which rows move, what the logs say, what the user is
// asked, and that every file is still somewhere whole afterwards.
#include "TestSupport.h"
#include "platform/FileCensus.h"
#include "platform/FileSystemDouble.h"

#include "app/MoveCheckedSongs.h"
#include "check/DirItemList.h"
#include "check/DirListObserver.h"
#include "platform/MessagePrompt.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace velmora;
using velmora::test::FileCensus;
using velmora::test::Moved;

namespace {

class CScriptedPicker final : public IFolderPicker
{
public:
    QString PickTargetFolder() override
    {
        ++nCalls;
        return strFolder;
    }
    QString strFolder;
    int nCalls = 0;
};

class CAnsweringPrompt final : public IMessagePrompt
{
public:
    void ShowMessage(const QString &text) override { messages.append(text); }
    EPromptAnswer AskYesNoCancel(const QString &text) override
    {
        questions.append(text);
        return answers.isEmpty() ? EPromptAnswer::Cancel : answers.takeFirst();
    }
    QStringList messages;
    QStringList questions;
    QList<EPromptAnswer> answers;
};

class CRedrawCounter final : public IDirListObserver
{
public:
    void OnListCleared() override {}
    void OnRowAdded(int, int) override {}
    void OnItemCountSet(int) override {}
    void OnRowsRedrawn(int first, int last) override { redrawn.append({first, last}); }
    void OnColumnHeadersRenamed() override {}
    void OnColumnAutoSized(int) override {}
    void OnBusyChanged(bool) override {}
    QList<QPair<int, int>> redrawn;
};

class CMoveCheckedSongsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(m_root.path()).mkpath(u"lib"_s);
        QDir(m_root.path()).mkpath(u"target"_s);
        m_picker.strFolder = Target();
        m_double.secondRoot = Target();
        SetMessagePrompt(&m_prompt);
        m_list.SetObserver(&m_redraws);
    }
    void TearDown() override { SetMessagePrompt(nullptr); }

    QString Lib(const QString &name) const { return m_root.path() + u"/lib/"_s + name; }
    QString Target(const QString &name = {}) const
    {
        return name.isEmpty() ? m_root.path() + u"/target"_s : m_root.path() + u"/target/"_s + name;
    }
    // A row for the file lib/<first name>, made as the check makes them.
    int AddRow(const QString &fileNames, bool checked, bool createFile = true)
    {
        const QString first = fileNames.section(u';', 0, 0);
        if (createFile)
            test::WriteBytes(Lib(first), (u"bytes of "_s + first).toUtf8());
        _ITEMINFO item;
        item.dwFlags = ITEM_WALK | ITEM_COLOURED | (checked ? ITEM_CHECKED | ITEM_MARK_PROBLEM : 0);
        item.szFileName = fileNames;
        item.szPath = Lib(first);
        return m_list.m_items.Add(item);
    }
    QMap<QString, QByteArray> Census() const { return FileCensus({m_root.path()}); }
    QStringList LogFrom(const QString &first) const
    {
        const QStringList log = m_capture.DirectoryLog();
        return log.mid(log.indexOf(first));
    }

    QTemporaryDir m_root;
    test::CLogCapture m_capture;
    CDirItemList m_list;
    CScriptedPicker m_picker;
    CAnsweringPrompt m_prompt;
    CRedrawCounter m_redraws;
    test::CFileSystemDouble m_double;
};

const QString kSeparator = u"================================================"_s;

} // namespace

TEST_F(CMoveCheckedSongsTest, ThreeTickedOfTenMoveAndLoseTheirTicks)
{
    for (int i = 0; i < 10; ++i)
        AddRow(u"song%1.mp3"_s.arg(i), i == 2 || i == 5 || i == 9);
    auto expected = Census();
    for (int i : {2, 5, 9})
        expected = Moved(expected, Lib(u"song%1.mp3"_s.arg(i)), Target(u"song%1.mp3"_s.arg(i)));

    MoveCheckedSongs(m_list, m_picker);

    EXPECT_EQ(Census(), expected);
    EXPECT_EQ(m_capture.DirectoryLog(),
              (QStringList{u""_s, kSeparator, u"MOVE (3), Directory "_s + Target(), kSeparator,
                           u"MoveFile '%1' to '%2'"_s.arg(Lib(u"song2.mp3"_s), Target(u"song2.mp3"_s)),
                           u"MoveFile '%1' to '%2'"_s.arg(Lib(u"song5.mp3"_s), Target(u"song5.mp3"_s)),
                           u"MoveFile '%1' to '%2'"_s.arg(Lib(u"song9.mp3"_s), Target(u"song9.mp3"_s))}));
    EXPECT_EQ(m_capture.ErrorLog(), m_capture.DirectoryLog()); // all Plain lines
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(m_list.Item(i).IsChecked()) << i;
    EXPECT_EQ(m_redraws.redrawn, (QList<QPair<int, int>>{{2, 2}, {5, 5}, {9, 9}}));
    EXPECT_EQ(m_list.Item(2).szPath.Text(), Lib(u"song2.mp3"_s)); // the list keeps the old place
    EXPECT_TRUE(m_prompt.questions.isEmpty());
}

TEST_F(CMoveCheckedSongsTest, AnEmptyOrUntickedListShowsTheMessageAndAsksForNoFolder)
{
    MoveCheckedSongs(m_list, m_picker);
    AddRow(u"a.mp3"_s, false);
    const auto before = Census();
    MoveCheckedSongs(m_list, m_picker);
    EXPECT_EQ(m_prompt.messages, (QStringList{u"No match file or No check box !"_s, u"No match file or No check box !"_s}));
    EXPECT_EQ(m_picker.nCalls, 0);
    EXPECT_TRUE(m_capture.DirectoryLog().isEmpty());
    EXPECT_EQ(Census(), before);
}

TEST_F(CMoveCheckedSongsTest, CancellingThePickerWritesNothing)
{
    AddRow(u"a.mp3"_s, true);
    m_picker.strFolder.clear();
    const auto before = Census();
    MoveCheckedSongs(m_list, m_picker);
    EXPECT_EQ(m_picker.nCalls, 1);
    EXPECT_TRUE(m_capture.DirectoryLog().isEmpty());
    EXPECT_TRUE(m_list.Item(0).IsChecked());
    EXPECT_EQ(Census(), before);
}

TEST_F(CMoveCheckedSongsTest, AnExistingTargetIsKeptOnNoAndCancelAndReplacedOnYes)
{
    AddRow(u"no.mp3"_s, true);
    AddRow(u"cancel.mp3"_s, true);
    AddRow(u"yes.mp3"_s, true);
    for (const QString &name : {u"no.mp3"_s, u"cancel.mp3"_s, u"yes.mp3"_s})
        test::WriteBytes(Target(name), "the old one");
    m_prompt.answers = {EPromptAnswer::No, EPromptAnswer::Cancel, EPromptAnswer::Yes};
    auto expected = Census();
    expected.remove(Target(u"yes.mp3"_s));
    expected = Moved(expected, Lib(u"yes.mp3"_s), Target(u"yes.mp3"_s));

    MoveCheckedSongs(m_list, m_picker);

    EXPECT_EQ(Census(), expected);
    ASSERT_EQ(m_prompt.questions.size(), 3);
    EXPECT_EQ(m_prompt.questions[0], u"(no.mp3) already exists in TARGET folder. \n\nDo you want overwrite ?"_s);
    EXPECT_TRUE(m_list.Item(0).IsChecked());
    EXPECT_TRUE(m_list.Item(1).IsChecked());
    EXPECT_FALSE(m_list.Item(2).IsChecked());
    const QStringList moves = m_capture.DirectoryLog().filter(u"MoveFile"_s);
    EXPECT_EQ(moves, QStringList{u"MoveFile '%1' to '%2'"_s.arg(Lib(u"yes.mp3"_s), Target(u"yes.mp3"_s))});
    EXPECT_EQ(m_capture.DirectoryLog().filter(u"MOVE (3)"_s).size(), 1);
}

TEST_F(CMoveCheckedSongsTest, ASongRowMovesOnlyItsFirstFile)
{
    AddRow(u"song.cdg;song.mp3"_s, true);
    test::WriteBytes(Lib(u"song.mp3"_s), "the audio");
    const auto expected = Moved(Census(), Lib(u"song.cdg"_s), Target(u"song.cdg"_s));
    MoveCheckedSongs(m_list, m_picker);
    EXPECT_EQ(Census(), expected);
    EXPECT_FALSE(m_list.Item(0).IsChecked());
}

TEST_F(CMoveCheckedSongsTest, AFailedMoveKeepsItsTickWritesAProblemLineAndTheNextGoesOn)
{
    AddRow(u"vanished.mp3"_s, true, false);   // gone before its turn
    AddRow(u"full.mp3"_s, true);
    AddRow(u"small.mp3"_s, true);
    test::WriteBytes(Lib(u"full.mp3"_s), QByteArray(400000, 'f'));
    // The target is another file system with room for the small song only.
    m_double.nSecondRootSpace = 100000;
    SMoveOptions options;
    options.fileSystem = &m_double;
    const auto expected = Moved(Census(), Lib(u"small.mp3"_s), Target(u"small.mp3"_s));

    const SMoveSummary summary = MoveCheckedSongs(m_list, m_picker, options);

    EXPECT_EQ(Census(), expected);
    EXPECT_TRUE(m_list.Item(0).IsChecked());
    EXPECT_TRUE(m_list.Item(1).IsChecked());
    EXPECT_FALSE(m_list.Item(2).IsChecked());
    EXPECT_EQ(summary.moved.size(), 1);
    EXPECT_EQ(summary.failed.size(), 2);
    const QStringList log = LogFrom(u"MoveFile '%1' to '%2'"_s.arg(Lib(u"vanished.mp3"_s), Target(u"vanished.mp3"_s)));
    ASSERT_GE(log.size(), 5);
    EXPECT_EQ(log[1], u"MoveFile failed: source file not found"_s);
    EXPECT_TRUE(log[2].startsWith(u"MoveFile '"_s));
    EXPECT_EQ(log[3], u"MoveFile failed: no space left on device"_s);
    EXPECT_TRUE(m_capture.ErrorLog().contains(u"MoveFile failed: no space left on device"_s));
}

TEST_F(CMoveCheckedSongsTest, BadTargetsAndRowsLoseNothing)
{
    AddRow(u"a.mp3"_s, true);
    test::WriteBytes(Target(u"plain-file"_s), "x");
    auto before = Census();
    for (const QString &target : {Target(u"plain-file"_s), Target(u"missing"_s)}) {
        m_picker.strFolder = target;
        MoveCheckedSongs(m_list, m_picker);
    }
    EXPECT_EQ(m_prompt.messages.size(), 2);
    EXPECT_TRUE(m_prompt.messages[0].startsWith(u"The target folder does not exist or is not a folder"_s));
    EXPECT_TRUE(m_capture.DirectoryLog().isEmpty());
    EXPECT_EQ(Census(), before);

    // The folder the files come from: each file is its own target, nothing is asked.
    m_picker.strFolder = m_root.path() + u"/lib/"_s;
    MoveCheckedSongs(m_list, m_picker);
    EXPECT_TRUE(m_prompt.questions.isEmpty());
    EXPECT_TRUE(m_capture.DirectoryLog().contains(u"MoveFile failed: source and target are the same file"_s));
    EXPECT_TRUE(m_capture.DirectoryLog().contains(u"MOVE (1), Directory "_s + m_root.path() + u"/lib"_s));
    EXPECT_EQ(Census(), before);
    EXPECT_TRUE(m_list.Item(0).IsChecked());
}

TEST_F(CMoveCheckedSongsTest, APathCutToItsFieldIsNotMoved)
{
    // A path longer than its field was cut and no longer ends in the row's name; it could
    // name some other file.
    const QString deep = QString(150, u'd') + u'/' + QString(150, u'e');
    const QString name = u"song.mp3"_s;
    test::WriteBytes(Lib(deep + u'/' + name), "deep song");
    _ITEMINFO item;
    item.dwFlags = ITEM_WALK | ITEM_CHECKED;
    item.szFileName = name;
    item.szPath = Lib(deep + u'/' + name);
    ASSERT_LT(item.szPath.Text().size(), Lib(deep + u'/' + name).size());
    m_list.m_items.Add(item);
    const auto before = Census();
    MoveCheckedSongs(m_list, m_picker);
    EXPECT_EQ(Census(), before);
    EXPECT_TRUE(m_capture.DirectoryLog().contains(u"MoveFile failed: the row's path does not end in its file name"_s));
    EXPECT_TRUE(m_list.Item(0).IsChecked());
}

TEST_F(CMoveCheckedSongsTest, ADryRunAsksButChangesNothing)
{
    AddRow(u"a.mp3"_s, true);
    AddRow(u"b.mp3"_s, true);
    test::WriteBytes(Target(u"b.mp3"_s), "old");
    m_prompt.answers = {EPromptAnswer::Yes};
    const auto before = Census();
    SMoveOptions options;
    options.bDryRun = true;
    const SMoveSummary summary = MoveCheckedSongs(m_list, m_picker, options);
    EXPECT_EQ(Census(), before);
    EXPECT_TRUE(m_capture.DirectoryLog().isEmpty());
    ASSERT_EQ(summary.moved.size(), 2);
    EXPECT_EQ(summary.moved[0].strTarget, Target(u"a.mp3"_s));
    EXPECT_FALSE(summary.moved[0].bReplaces);
    EXPECT_TRUE(summary.moved[1].bReplaces);
    EXPECT_TRUE(m_list.Item(0).IsChecked());
    EXPECT_TRUE(m_list.Item(1).IsChecked());
}

// One "Folder Notes.xyz" per artist folder, all ticked: the first goes to the target, and no
// later one ever replaces it, whatever the user would answer; none is even asked about. The
// later ones stay where they are, keep their ticks and get a Problem line.
TEST_F(CMoveCheckedSongsTest, AFileThisMoveBroughtIsNeverReplaced)
{
    const QString name = u"Folder Notes.xyz"_s;
    for (const QString &artist : {u"Abba"_s, u"Blur"_s, u"Cher"_s}) {
        test::WriteBytes(Lib(artist + u'/' + name), (u"notes on "_s + artist).toUtf8());
        _ITEMINFO item;
        item.dwFlags = ITEM_WALK | ITEM_CHECKED | ITEM_MARK_PROBLEM;
        item.szFileName = name;
        item.szPath = Lib(artist + u'/' + name);
        m_list.m_items.Add(item);
    }
    AddRow(u"cover.jpg"_s, true);
    test::WriteBytes(Target(u"cover.jpg"_s), "an older cover");
    m_prompt.answers = {EPromptAnswer::Yes, EPromptAnswer::Yes, EPromptAnswer::Yes};
    auto expected = Census();
    expected.remove(Target(u"cover.jpg"_s));
    expected = Moved(Moved(expected, Lib(u"Abba/"_s + name), Target(name)), Lib(u"cover.jpg"_s), Target(u"cover.jpg"_s));

    const SMoveSummary summary = MoveCheckedSongs(m_list, m_picker, SMoveOptions{});

    EXPECT_EQ(Census(), expected);
    // Only the cover that was there before the Move is asked about.
    EXPECT_EQ(m_prompt.questions, QStringList{u"(cover.jpg) already exists in TARGET folder. \n\nDo you want overwrite ?"_s});
    EXPECT_FALSE(m_list.Item(0).IsChecked());
    EXPECT_TRUE(m_list.Item(1).IsChecked());
    EXPECT_TRUE(m_list.Item(2).IsChecked());
    EXPECT_FALSE(m_list.Item(3).IsChecked());
    EXPECT_EQ(summary.moved.size(), 2);
    EXPECT_EQ(summary.failed.size(), 2);
    const QString reason = QString::fromUtf16(kMovedHereReason);
    EXPECT_EQ(summary.failureReasons, QStringList(2, reason));
    const QStringList log = LogFrom(u"MoveFile '%1' to '%2'"_s.arg(Lib(u"Blur/"_s + name), Target(name)));
    ASSERT_GE(log.size(), 4);
    EXPECT_EQ(log[1], u"MoveFile failed: "_s + reason);
    EXPECT_EQ(log[2], u"MoveFile '%1' to '%2'"_s.arg(Lib(u"Cher/"_s + name), Target(name)));
    EXPECT_EQ(log[3], u"MoveFile failed: "_s + reason);
    EXPECT_EQ(m_capture.ErrorLog().filter(reason).size(), 2);

    // The same in a dry run, which moves nothing, and across file systems.
    m_prompt.questions.clear();
    ASSERT_TRUE(QFile::rename(Target(name), Lib(u"Abba/"_s + name)));
    ASSERT_TRUE(QFile::rename(Target(u"cover.jpg"_s), Lib(u"cover.jpg"_s)));
    for (int row : {0, 3})
        m_list.Item(row).dwFlags |= ITEM_CHECKED;
    SMoveOptions dryRun;
    dryRun.bDryRun = true;
    dryRun.fileSystem = &m_double;
    const auto before = Census();
    const SMoveSummary planned = MoveCheckedSongs(m_list, m_picker, dryRun);
    EXPECT_EQ(Census(), before);
    EXPECT_EQ(planned.moved.size(), 2);
    EXPECT_EQ(planned.failureReasons, QStringList(2, reason));
    EXPECT_TRUE(m_prompt.questions.isEmpty());
    SMoveOptions across;
    across.fileSystem = &m_double;
    const SMoveSummary copied = MoveCheckedSongs(m_list, m_picker, across);
    EXPECT_EQ(copied.moved.size(), 2);
    EXPECT_EQ(copied.failureReasons, QStringList(2, reason));
    EXPECT_EQ(Census().size(), before.size());
    EXPECT_EQ(test::ReadBytes(Target(name)), "notes on Abba");
}

TEST_F(CMoveCheckedSongsTest, StopEndsTheMoveBetweenTwoFilesAndSaysHowFarItGot)
{
    for (int i = 0; i < 5; ++i)
        AddRow(u"song%1.mp3"_s.arg(i), true);
    auto expected = Census();
    for (int i : {0, 1})
        expected = Moved(expected, Lib(u"song%1.mp3"_s.arg(i)), Target(u"song%1.mp3"_s.arg(i)));
    SMoveOptions options;
    QStringList heard;
    options.progress = [&](int done, int total, const QString &name) {
        heard.append(u"%1 of %2: %3"_s.arg(done).arg(total).arg(name));
        if (done == 2)
            m_list.RequestStop(); // the second file still moves whole
    };

    const SMoveSummary summary = MoveCheckedSongs(m_list, m_picker, options);

    EXPECT_TRUE(summary.bStopped);
    EXPECT_EQ(heard, (QStringList{u"1 of 5: song0.mp3"_s, u"2 of 5: song1.mp3"_s}));
    EXPECT_EQ(Census(), expected);
    EXPECT_EQ(summary.moved.size(), 2);
    for (int i = 2; i < 5; ++i)
        EXPECT_TRUE(m_list.Item(i).IsChecked()) << "row " << i << " keeps its tick for the next Move";
    EXPECT_EQ(m_capture.DirectoryLog().last(), u"MOVE, Move stopped by the user after 2 of 5 files"_s);
    EXPECT_FALSE(m_list.IsStopRequested()) << "the next command starts afresh";
}

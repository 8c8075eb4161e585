#include "app/MoveCheckedSongs.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "inspect/FileList.h"
#include "platform/FileMove.h"
#include "platform/FileSystem.h"
#include "platform/MessagePrompt.h"
#include "platform/StopRequest.h"

#include <QPair>
#include <QSet>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr char16_t kSeparatorLine[] = u"================================================\r\n";

int CountChecked(const CDirItemList &list)
{
    int checked = 0;
    for (const _ITEMINFO &item : list.m_items)
        checked += item.IsChecked() ? 1 : 0;
    return checked;
}

QString WithoutTrailingSlashes(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

// The whole path must end in the row's first name, or the move could reach some other file.
QString RowProblem(const _ITEMINFO &item)
{
    const QString first = item.FirstFileName();
    const QString path = item.FullPath();
    if (first.isEmpty() || first.contains(u'/') || first == u"."_s || first == u".."_s)
        return u"the row has no usable file name"_s;
    if (path.mid(path.lastIndexOf(u'/') + 1) != first)
        return u"the row's path does not end in its file name"_s;
    return {};
}

void WriteSectionHeader(int checked, const QString &folder)
{
    WriteLog(Plain, u"\r\n");
    WriteLog(Plain, kSeparatorLine);
    WriteLog(Plain, u"MOVE (%d), Directory %s\r\n", checked, LogSafePath(folder));
    WriteLog(Plain, kSeparatorLine);
}

// The files this Move has put into the target folder. A later ticked file of the same name
// (one "Folder Notes.txt" per artist folder) must never replace one of them: known by path,
// and by device and inode, which also catches names that a case-blind target file system
// (a FAT stick) takes for the same.
class CMovedHere
{
public:
    void Add(IFileSystem &fileSystem, const QString &target)
    {
        m_paths.insert(target);
        SNodeStatus status;
        if (fileSystem.Status(target, false, &status) == 0)
            m_files.insert({status.nDevice, status.nInode});
    }
    bool Holds(IFileSystem &fileSystem, const QString &target) const
    {
        if (m_paths.contains(target))
            return true;
        SNodeStatus status;
        return !m_files.isEmpty() && fileSystem.Status(target, false, &status) == 0
            && m_files.contains({status.nDevice, status.nInode});
    }

private:
    QSet<QString> m_paths;
    QSet<QPair<quint64, quint64>> m_files;
};

struct SMoveRun
{
    CDirItemList &list;
    IFileSystem &fileSystem;
    const SMoveOptions &options;
    SMoveSummary &summary;
    CMovedHere movedHere;
};

void Fail(SMoveRun &run, const SPlannedMove &move, const QString &reason)
{
    if (!run.options.bDryRun)
        WriteLog(Problem, u"MoveFile failed: %s\r\n", reason);
    run.summary.failed.append(move);
    run.summary.failureReasons.append(reason);
}

void MoveOneRow(SMoveRun &run, int row)
{
    _ITEMINFO &item = run.list.Item(row);
    const QString first = item.FirstFileName();
    const QString folder = run.summary.strTargetFolder;
    SPlannedMove move{row, item.FullPath(), folder.endsWith(u'/') ? folder + first : folder + u'/' + first, false};
    QString problem = RowProblem(item);
    const bool sameFile = problem.isEmpty() && IsSameFile(run.fileSystem, move.strSource, move.strTarget);
    if (sameFile)
        problem = u"source and target are the same file"_s;
    else if (problem.isEmpty() && run.movedHere.Holds(run.fileSystem, move.strTarget))
        problem = QString::fromUtf16(kMovedHereReason);
    if (problem.isEmpty() && run.fileSystem.Status(move.strTarget, false, nullptr) == 0) {
        const QString question = Format(u"(%s) already exists in TARGET folder. \n\nDo you want overwrite ?", first);
        if (MessagePrompt().AskYesNoCancel(question) != EPromptAnswer::Yes) {
            run.summary.kept.append(move);
            return;
        }
        move.bReplaces = true;
    }
    if (!run.options.bDryRun)
        WriteLog(Plain, u"MoveFile '%s' to '%s'\r\n", LogSafePath(move.strSource), LogSafePath(move.strTarget));
    if (!problem.isEmpty()) {
        Fail(run, move, problem);
        return;
    }
    if (run.options.bDryRun) {
        run.movedHere.Add(run.fileSystem, move.strTarget);
        run.summary.moved.append(move);
        return;
    }
    const SMoveResult result = MoveFileTo(run.fileSystem, move.strSource, move.strTarget, move.bReplaces);
    if (result.outcome != EMoveOutcome::Failed)
        run.movedHere.Add(run.fileSystem, move.strTarget);
    if (!result.IsMoved()) {
        Fail(run, move, result.strReason);
        return;
    }
    item.dwFlags &= ~ITEM_CHECKED;
    run.list.RedrawRow(row);
    run.summary.moved.append(move);
}

} // namespace

QString MoveTargetPath(const QString &folder, const QString &fileNames)
{
    const QString first = fileNames.section(u';', 0, 0);
    return folder.endsWith(u'/') ? folder + first : folder + u'/' + first;
}

SMoveSummary MoveCheckedSongs(CDirItemList &list, IFolderPicker &picker, const SMoveOptions &options)
{
    SMoveSummary summary;
    summary.nChecked = CountChecked(list);
    if (list.GetItemCount() == 0 || summary.nChecked == 0) {
        MessagePrompt().ShowMessage(u"No match file or No check box !"_s);
        return summary;
    }
    const QString picked = picker.PickTargetFolder();
    if (picked.isEmpty())
        return summary;
    if (list.IsChecking())
        return summary;
    // Each log line lets the window run; this keeps a check from refilling the list meanwhile.
    CDirItemList::CCheckScope busy(list);
    IFileSystem &fileSystem = options.fileSystem ? *options.fileSystem : LocalFileSystem();
    SNodeStatus folderStatus;
    if (fileSystem.Status(picked, true, &folderStatus) != 0 || !folderStatus.bFolder) {
        MessagePrompt().ShowMessage(u"The target folder does not exist or is not a folder: "_s + picked);
        return summary;
    }
    summary.bStarted = true;
    summary.strTargetFolder = WithoutTrailingSlashes(picked);
    if (!options.bDryRun)
        WriteSectionHeader(summary.nChecked, summary.strTargetFolder);
    SMoveRun run{list, fileSystem, options, summary};
    int begun = 0;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (!list.Item(row).IsChecked())
            continue;
        // Stop ends the Move between two files, never inside one.
        if (list.IsStopRequested() || CStopRequest::IsRaised()) {
            summary.bStopped = true;
            if (!options.bDryRun)
                WriteLog(Plain, u"MOVE, Move stopped by the user after %d of %d files\r\n", begun, summary.nChecked);
            break;
        }
        if (options.progress)
            options.progress(++begun, summary.nChecked, list.Item(row).FirstFileName());
        else
            ++begun;
        MoveOneRow(run, row);
    }
    return summary;
}

void MoveCheckedSongs(CDirItemList &list, IFolderPicker &picker)
{
    MoveCheckedSongs(list, picker, SMoveOptions{});
}

} // namespace velmora

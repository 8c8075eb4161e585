#include "app/cli/CheckCommand.h"

#include "app/MoveCheckedSongs.h"
#include "base/RunLogs.h"
#include "base/UserPaths.h"
#include "app/cli/CheckOptions.h"
#include "app/cli/RowWriter.h"
#include "app/cli/TraceToStderr.h"
#include "check/CheckTuning.h"
#include "check/DirItemList.h"
#include "check/ListSelectDirectory.h"
#include "platform/CleanPath.h"
#include "platform/CodePage.h"
#include "platform/FileStatus.h"
#include "platform/MessagePrompt.h"

#include <cstdio>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

void PrintError(const QString &text)
{
    std::fprintf(stderr, "velmora: %s\n", text.toUtf8().constData());
}

bool AnyRowNeedsAttention(const CDirItemList &list)
{
    for (const _ITEMINFO &item : list.m_items) {
        if (item.MarkClass() != 0 || !item.szResult.IsEmpty())
            return true;
    }
    return false;
}

// The folder as a clean absolute path, so every row names a full path as the window's would
// ("velmora check ." lists "/home/me/Songs/a.mp3", not "/home/me/Songs/./a.mp3").
QString AbsoluteFolder(const QString &folder)
{
    return AbsoluteCleanPath(folder);
}

// The target folder comes from --move-to; nobody is asked.
class CGivenFolder final : public IFolderPicker
{
public:
    explicit CGivenFolder(QString folder) : m_folder(std::move(folder)) {}
    QString PickTargetFolder() override { return m_folder; }

private:
    QString m_folder;
};

// Messages go to stderr; the overwrite question is answered from the flags without being
// printed, since the kept targets are listed after the move.
class CMovePrompt final : public IMessagePrompt
{
public:
    explicit CMovePrompt(EExistingTarget existing) : m_existing(existing) {}
    void ShowMessage(const QString &text) override { PrintError(text); }
    EPromptAnswer AskYesNoCancel(const QString &) override
    {
        return m_existing == EExistingTarget::Overwrite ? EPromptAnswer::Yes : EPromptAnswer::No;
    }

private:
    EExistingTarget m_existing;
};

QString Quoted(const QString &path)
{
    return u"'"_s + path + u"'"_s;
}

// Moves what the check ticked; true when no move failed.
bool MoveTickedRows(CDirItemList &list, const SCheckOptions &options, const QString &target)
{
    IMessagePrompt &previous = MessagePrompt();
    CMovePrompt prompt(options.existing);
    SetMessagePrompt(&prompt);
    CGivenFolder picker(target);
    SMoveOptions moveOptions;
    moveOptions.bDryRun = options.bDryRun;
    const SMoveSummary summary = MoveCheckedSongs(list, picker, moveOptions);
    SetMessagePrompt(&previous);
    if (options.bDryRun) {
        for (const SPlannedMove &move : summary.moved) {
            PrintError(u"would move "_s + Quoted(move.strSource) + u" to "_s + Quoted(move.strTarget)
                       + (move.bReplaces ? u", replacing it"_s : QString()));
        }
    }
    for (const SPlannedMove &move : summary.kept)
        PrintError(u"kept existing "_s + Quoted(move.strTarget) + u" (--overwrite replaces it)"_s);
    for (qsizetype i = 0; i < summary.failed.size(); ++i) {
        PrintError((options.bDryRun ? u"move would fail: "_s : u"move failed: "_s) + Quoted(summary.failed.at(i).strSource) + u": "_s
                   + summary.failureReasons.value(i));
    }
    return summary.failed.isEmpty();
}

} // namespace

int RunCheckCommand(const QStringList &arguments)
{
    QString error;
    const auto options = ParseCheckOptions(arguments, &error);
    if (!options) {
        PrintError(error + u" (see velmora --help)"_s);
        return 2;
    }
    const QString folder = AbsoluteFolder(options->strFolder);
    SFileStatus status;
    if (!QueryFileStatus(folder, &status) || !status.bFolder) {
        PrintError(u"no such folder: "_s + options->strFolder);
        return 2;
    }
    QString moveTarget;
    if (!options->strMoveTo.isEmpty()) {
        moveTarget = AbsoluteFolder(options->strMoveTo);
        if (!QueryFileStatus(moveTarget, &status) || !status.bFolder) {
            PrintError(u"no such target folder: "_s + options->strMoveTo);
            return 2;
        }
    }
    if (options->nAnsiCodePage != 0)
        SetAnsiCodePage(options->nAnsiCodePage);
    if (!options->strDataDir.isEmpty())
        SetUserDataFolder(AbsoluteFolder(options->strDataDir));

    CRunLogs logs;
    CTraceToStderr trace;
    if (options->bTrace)
        logs.SetTraceSink(&trace);
    logs.OpenRunLogs();
    if (!logs.IsDirectoryLogOpen() || !logs.IsErrorLogOpen())
        PrintError(u"cannot write the run logs in "_s + UserDataPath());
    SetActiveRunLogs(&logs);

    CDirItemList list;
    list.m_nTopLevel = options->bSongs ? 0 : 1;
    list.m_nIncludeSubfolders = options->bSubfolders ? 1 : 0;
    list.m_tuning = LoadCheckTuning();
    if (!options->strEngine.isEmpty()) {
        bool ok = false;
        list.m_tuning.engine = EngineNamed(options->strEngine, &ok);
    }
    if (options->nJobs > 0)
        list.m_tuning.nJobs = options->nJobs;
    ListSelectDirectory(list, folder);
    const bool movesDone = moveTarget.isEmpty() || MoveTickedRows(list, *options, moveTarget);
    SetActiveRunLogs(nullptr);

    const QByteArray rows = WriteRows(list, options->format);
    std::fwrite(rows.constData(), 1, size_t(rows.size()), stdout);
    std::fflush(stdout);
    if (!movesDone)
        return 3;
    return AnyRowNeedsAttention(list) ? 1 : 0;
}

} // namespace velmora

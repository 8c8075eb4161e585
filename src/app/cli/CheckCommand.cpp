#include "app/cli/CheckCommand.h"

#include "app/MoveCheckedSongs.h"
#include "base/RunLogs.h"
#include "base/TraceDebug.h"
#include "base/UserPaths.h"
#include "app/cli/CheckOptions.h"
#include "app/cli/CheckProgress.h"
#include "app/cli/ProgressLine.h"
#include "app/cli/RowWriter.h"
#include "app/cli/StopSignals.h"
#include "app/cli/TraceToStderr.h"
#include "cache/CacheContext.h"
#include "cache/ResultCache.h"
#include "check/CheckTuning.h"
#include "check/DirItemList.h"
#include "check/ListSelectDirectory.h"
#include "platform/CleanPath.h"
#include "platform/CodePage.h"
#include "platform/FileStatus.h"
#include "platform/FileSystem.h"
#include "platform/MessagePrompt.h"
#include "rescan/CheckReplay.h"
#include "verify/Quarantine.h"
#include "verify/VerifyPrefetch.h"
#include "verify/VerifyRun.h"

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
    // A signal that came just as the Move began is honoured before its next file.
    moveOptions.progress = [&list](int, int, const QString &) {
        if (CStopSignals::Received() != 0)
            list.RequestStop();
    };
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

bool AnySongNeedsAttention(const SVerifyReport &report)
{
    for (const SSongVerdict &row : report.rows) {
        if (row.verdict != EVerdict::Ok)
            return true;
    }
    return false;
}

// Moves every file of the broken songs below target, keeping their folders; true when no
// move failed.
bool QuarantineBrokenSongs(const CDirItemList &list, const SVerifyReport &report, const SCheckOptions &options,
                           const QString &folder, const QString &target)
{
    const QList<SQuarantineMove> plan = PlanQuarantine(list, report, folder, target);
    if (plan.isEmpty()) {
        PrintError(u"no broken song to move"_s);
        return true;
    }
    if (options.bDryRun) {
        for (const SQuarantineMove &move : plan)
            PrintError(u"would move "_s + Quoted(move.strFrom) + u" to "_s + Quoted(move.strTo));
        return true;
    }
    const SQuarantineRun run = RunQuarantine(plan, folder, target, LocalFileSystem());
    if (!run.strManifestError.isEmpty())
        PrintError(run.strManifestError);
    if (run.strManifest.isEmpty())
        return plan.isEmpty();
    int moved = 0;
    for (const SQuarantineMove &move : run.moves) {
        if (move.state == SQuarantineMove::EState::Moved)
            ++moved;
        else
            PrintError(u"move failed: "_s + Quoted(move.strFrom) + u": "_s + move.strReason);
    }
    PrintError(u"moved %1 files of broken songs to %2; velmora undo %3 puts them back"_s.arg(moved).arg(
        Quoted(target), Quoted(run.strManifest)));
    return run.Failed() == 0 && run.strManifestError.isEmpty();
}

// A second check of the same tree, asked the same way, gives the same rows and logs; it is
// answered from the check kept last time when the tree is exactly as that check saw it.
// Verification, moves and the trace pane's lines have effects or output of their own and
// always run in full.
bool ReplayWanted(const SCheckOptions &options, const SCheckTuning &tuning)
{
    return options.bSubfolders && !options.bVerify && options.strMoveTo.isEmpty() && !options.bTrace
        && !options.bFullCheck && tuning.bUseCache;
}

QString PrintingOf(const SCheckOptions &options)
{
    return u"format %1, %2"_s.arg(int(options.format)).arg(options.bOnlyProblems ? u"problem rows"_s : u"all rows"_s);
}

bool StopRequested()
{
    return CStopSignals::Received() != 0;
}

// Prints the kept check and puts its lines into the run logs; false when its logs did not
// read back, and the logs are then made empty again for a check in full.
bool ReplayKeptCheck(const CCheckReplay &replay, CRunLogs &logs)
{
    if (!replay.WriteLogs(logs)) {
        TraceDebug(u"results cache: the logs of the kept check do not read back; checking in full\n");
        logs.OpenRunLogs();
        return false;
    }
    SetActiveRunLogs(nullptr);
    logs.CloseRunLogs();
    std::fwrite(replay.Rows().constData(), 1, size_t(replay.Rows().size()), stdout);
    std::fflush(stdout);
    return true;
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

    CStopSignals stopSignals;
    CProgressLine progress(ProgressWanted(options->bQuiet));
    CRunLogs logs;
    CTraceToStderr trace;
    trace.SetProgressLine(&progress);
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
    if (options->bNoCache)
        list.m_tuning.bUseCache = false;
    // The verification keeps its findings in the check's cache, which is then opened here
    // for both; a check alone opens its own.
    std::optional<CResultCache> cache;
    const bool replayWanted = ReplayWanted(*options, list.m_tuning);
    if ((options->bVerify || replayWanted) && list.m_tuning.bUseCache) {
        cache.emplace(ResultCachePath());
        list.m_pCache = &*cache;
        if (cache->Usable() && options->bVerify) {
            cache->SetContext(ECacheKind::Verify, VerifyContext());
            cache->Preload(ECacheKind::Verify, folder);
        }
    }
    std::optional<CCheckReplay> replay;
    if (replayWanted && cache->Usable()) {
        replay.emplace(*cache, CheckReplayKey(options->bSongs, folder, PrintingOf(*options), list.m_tuning.engine),
                       folder);
        progress.StartPhase(u"walking"_s);
        const bool unchanged = replay->FindUnchanged([&progress](qint64 entries) {
            progress.Update(entries, -1);
            return StopRequested();
        });
        progress.Clear();
        if (unchanged && ReplayKeptCheck(*replay, logs))
            return StopRequested() ? CStopSignals::ExitStatus() : replay->ExitStatus();
    }
    CCheckProgress checkProgress(list, progress);
    // With --verify the files are read on worker threads while the check goes on.
    std::optional<CVerifyPrefetch> prefetch;
    std::optional<CVerifyPrefetchObserver> prefetchObserver;
    if (options->bVerify) {
        prefetch.emplace(list.m_tuning.nJobs, list.UsableCache());
        prefetchObserver.emplace(list, *prefetch, &checkProgress);
        list.SetObserver(&*prefetchObserver);
    } else {
        list.SetObserver(&checkProgress);
    }
    ListSelectDirectory(list, folder);
    list.SetObserver(nullptr);
    bool stopped = CStopSignals::Received() != 0;
    // A stopped check prints what it read; the rows it never reached would look clean.
    if (stopped)
        list.m_items.SetSize(checkProgress.RowsRead());
    std::optional<SVerifyReport> report;
    if (options->bVerify && !stopped) {
        SVerifyOptions verifyOptions;
        verifyOptions.nJobs = list.m_tuning.nJobs;
        verifyOptions.prefetch = &*prefetch;
        verifyOptions.cache = list.UsableCache();
        progress.StartPhase(u"verifying"_s);
        verifyOptions.progress = [&progress](int done, int total) {
            progress.Update(done, total);
            return CStopSignals::Received() == 0;
        };
        report = VerifyAndLog(list, verifyOptions);
        if (!report->bComplete) {
            stopped = true;
            list.m_items.SetSize(int(report->rows.size()));
        }
    }
    progress.Clear();
    bool movesDone = true;
    if (!moveTarget.isEmpty() && !stopped) {
        movesDone = report ? QuarantineBrokenSongs(list, *report, *options, folder, moveTarget)
                           : MoveTickedRows(list, *options, moveTarget);
    }
    SetActiveRunLogs(nullptr);

    const QByteArray rows = WriteRows(list, options->format, report ? &*report : nullptr, options->bOnlyProblems);
    std::fwrite(rows.constData(), 1, size_t(rows.size()), stdout);
    std::fflush(stdout);
    if (stopped || CStopSignals::Received() != 0)
        return CStopSignals::ExitStatus();
    if (!movesDone)
        return 3;
    const int exitStatus = AnyRowNeedsAttention(list) || (report && AnySongNeedsAttention(*report)) ? 1 : 0;
    if (replay && logs.IsDirectoryLogOpen() && logs.IsErrorLogOpen()) {
        logs.CloseRunLogs();
        replay->Keep(rows, exitStatus, UserDataPath(u"directory.log"_s), UserDataPath(u"error.log"_s));
    }
    return exitStatus;
}

} // namespace velmora

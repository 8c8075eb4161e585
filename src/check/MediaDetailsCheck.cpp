#include "check/MediaDetailsCheck.h"

#include "base/RunLogs.h"
#include "cache/CacheContext.h"
#include "cache/CachedValues.h"
#include "cache/ResultCache.h"
#include "check/DirItemList.h"
#include "check/DirectoryWalk.h"
#include "check/ItemDetails.h"
#include "check/MediaExamination.h"
#include "check/MediaReport.h"
#include "check/ProblemMarking.h"
#include "check/ReadAhead.h"
#include "check/ToolTimeOutLines.h"
#include "inspect/FileList.h"
#include "inspect/KaraokeIdentification.h"
#include "inspect/MediaAnalysis.h"
#include "inspect/MediaInfoReport.h"
#include "platform/CodePage.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// One file's examination, and what to keep of it once the check has taken it.
struct SExamined
{
    SMediaExamination found;
    std::optional<SKeptResult> kept;
};

// What the walk said an entry is. A pipe, socket or device is never opened: nothing can be
// learnt of it, so it ends like an unreadable file.
enum class EEntryKind { File, Folder, Device };

SMediaExamination Examine(const QString &path, EEntryKind kind, EReportEngine engine)
{
    SMediaExamination found;
    found.bFolder = kind == EEntryKind::Folder;
    if (kind == EEntryKind::Device)
        return found;
    TakeToolTimeOuts();
    if (!found.bFolder) {
        found.summaries = ParseToolReport(MediaReportLines(engine, path));
        if (!found.summaries.strGeneral.isEmpty())
            IdentifyKaraokeFileByExtension(path, found.summaries.strGeneral, found.summaries.strVideo,
                                           found.summaries.strDuration);
        if (found.summaries.strDuration.isEmpty())
            found.identity = IdentifyKaraokeFileByContent(path);
    }
    const bool known = found.bFolder || !found.summaries.strDuration.isEmpty()
                    || (!found.identity.strFormat.isEmpty() && found.identity.bAccepted);
    if (!known) {
        AnalyseMediaFile(path, found.analysis);
        found.bAnalysed = true;
    }
    found.timeOuts = TakeToolTimeOuts();
    for (SToolTimeOut &timeOut : found.timeOuts)
        timeOut.strFile = path;
    return found;
}

// A file the cache holds unchanged is not read; a file read now is kept unless a tool was cut
// short at its time limit or the file changed while it was read.
SExamined ExamineThroughCache(const QString &path, EEntryKind kind, EReportEngine engine, const CResultCache *cache)
{
    const std::optional<SFileKey> key = cache && kind == EEntryKind::File ? ReadFileKey(path) : std::nullopt;
    if (key) {
        if (const std::optional<QByteArray> kept = cache->Find(ECacheKind::MediaDetails, *key)) {
            if (std::optional<SMediaExamination> found = DecodeExamination(*kept))
                return SExamined{std::move(*found), std::nullopt};
        }
    }
    SExamined examined{Examine(path, kind, engine), std::nullopt};
    if (key && examined.found.timeOuts.isEmpty() && StillSameReadableFile(*key))
        examined.kept = SKeptResult{*key, EncodeExamination(examined.found)};
    return examined;
}

EEntryKind KindOf(const _ITEMINFO &item)
{
    if (item.szType.Text().compare(u"Folder"_s, Qt::CaseInsensitive) == 0)
        return EEntryKind::Folder;
    return item.IsDevice() ? EEntryKind::Device : EEntryKind::File;
}

void TakeToolSummaries(_ITEMINFO &item, const SToolSummaries &summaries)
{
    item.szTitle = summaries.strGeneral;
    item.szArtist = summaries.strVideo;
    item.szAlbum = summaries.strAudio;
    item.nDuration = DurationTextToSeconds(summaries.strDuration);
    item.dwFlags |= ITEM_DETAILS_LOADED;
}

void TakeKaraokeIdentity(_ITEMINFO &item, const SKaraokeIdentity &identity)
{
    item.szTitle = identity.strGeneral;
    item.szArtist = identity.strFormat;
    item.szAlbum.Clear();
    item.nDuration = identity.nDuration;
    item.dwFlags |= ITEM_DETAILS_LOADED;
}

void ApplyExamination(CDirItemList &list, int e, const SMediaExamination &found, CCompanionIndex &companions)
{
    _ITEMINFO &item = list.Item(e);
    WriteLog(Progress, u"LOAD, LoadMediaFile %s\r\n", LogSafePath(item.szPath));
    WriteToolTimeOutLines(found.timeOuts);
    if (found.bFolder) {
        // A folder is never described or marked; reading it as a file could learn nothing.
        item.dwFlags |= ITEM_DETAILS_LOADED;
    } else if (!found.summaries.strDuration.isEmpty()) {
        TakeToolSummaries(item, found.summaries);
    } else if (!found.identity.strFormat.isEmpty() && found.identity.bAccepted) {
        TakeKaraokeIdentity(item, found.identity);
    }
    if (!item.IsDetailsLoaded() && found.bAnalysed)
        ApplyAnalysisResult(item, found.analysis);
    if (!item.IsDetailsLoaded() && item.nDuration == 0)
        MarkProblemFile(list, e, companions);
}

} // namespace

void MediaDetailsCheck(CDirItemList &list, const QString &path)
{
    if (list.ColumnHeader(2) == u"Title"_s)
        list.RenameColumnHeaders(u"General"_s, u"Video"_s, u"Audio"_s);
    DirectoryItemInfo(list, path);
    for (int j = 0; j < list.GetItemCount(); ++j)
        list.ShowRow(j);
    list.ShowAllRows();

    // The workers read only these copies, never the rows the check updates.
    QStringList paths;
    QList<EEntryKind> kinds;
    for (int e = 0; e < list.GetItemCount(); ++e) {
        paths.append(list.Item(e).FullPath());
        kinds.append(KindOf(list.Item(e)));
    }
    AnsiCodePage(); // read the setting once, before any worker needs it
    // Choosing may run the tool once; a folder without files needs no choice.
    const EReportEngine engine = paths.isEmpty() ? EReportEngine::Tool : ChooseReportEngine(list.m_tuning.engine);
    CResultCache *cache = paths.isEmpty() ? nullptr : list.UsableCache();
    if (cache) {
        cache->SetContext(ECacheKind::MediaDetails, MediaDetailsContext(engine));
        cache->Preload(ECacheKind::MediaDetails, path);
    }
    CCompanionIndex companions; // the rows stay as they are from here on
    CReadAhead<SExamined> examinations(int(paths.size()), list.m_tuning.nJobs, [&](int e) {
        return ExamineThroughCache(paths.at(e), kinds.at(e), engine, cache);
    });
    for (int e = 0; e < list.GetItemCount(); ++e) {
        if (list.StopBeforeFile(e, list.GetItemCount()))
            break;
        const SExamined examined = examinations.Take(e);
        if (list.StopBeforeFile(e, list.GetItemCount()))
            break;
        ApplyExamination(list, e, examined.found, companions);
        if (examined.kept)
            list.KeepResults(ECacheKind::MediaDetails, {*examined.kept});
        list.RedrawRow(e);
    }
    list.ShowAllRows();
}

} // namespace velmora

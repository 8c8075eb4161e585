#include "check/MediaDetailsCheck.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "check/DirectoryWalk.h"
#include "check/ItemDetails.h"
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

// Everything learnt about one file, in the order the check asks: the media report (with
// pass A), then pass B, then the analysis. Later steps run only when earlier ones found no
// playing time, so the work done is the same whether it runs ahead or in turn.
struct SExamination
{
    bool bFolder = false;
    SToolSummaries summaries;
    SKaraokeIdentity identity;
    QStringList analysis;
    bool bAnalysed = false;
    QList<SToolTimeOut> timeOuts;
};

// What the walk said an entry is. A pipe, socket or device is never opened: nothing can be
// learnt of it, so it ends like an unreadable file.
enum class EEntryKind { File, Folder, Device };

SExamination Examine(const QString &path, EEntryKind kind, EReportEngine engine)
{
    SExamination found;
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

void ApplyExamination(CDirItemList &list, int e, const SExamination &found)
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
        MarkProblemFile(list, e);
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
    CReadAhead<SExamination> examinations(int(paths.size()), list.m_tuning.nJobs,
                                          [&](int e) { return Examine(paths.at(e), kinds.at(e), engine); });
    for (int e = 0; e < list.GetItemCount(); ++e) {
        if (list.StopBeforeFile(e, list.GetItemCount()))
            break;
        const SExamination found = examinations.Take(e);
        if (list.StopBeforeFile(e, list.GetItemCount()))
            break;
        ApplyExamination(list, e, found);
        list.RedrawRow(e);
    }
    list.ShowAllRows();
}

} // namespace velmora

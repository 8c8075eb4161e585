#include "check/MediaDetailsCheck.h"

#include "app/RunLogs.h"
#include "app/UserPaths.h"
#include "check/DirItemList.h"
#include "check/DirectoryWalk.h"
#include "check/ItemDetails.h"
#include "check/ProblemMarking.h"
#include "inspect/FileList.h"
#include "inspect/MediaAnalysis.h"
#include "inspect/MediaInfoReport.h"
#include "inspect/KaraokeIdentification.h"
#include "platform/ToolLocator.h"
#include "widgets/ProcessRunner.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Runs the media tool on one file and reads its summaries; pass A may then recognise a
// karaoke file the tool only saw as data.
SToolSummaries DescribeWithMediaTool(const QString &path)
{
    ProgramRunner runner(LocateTool(ProgramFolder(), u"mediainfo"_s));
    // The path goes as one argument, so names with blanks or quotes pass unchanged.
    RunAndCollect(runner, QStringList{path});
    SToolSummaries summaries = ParseToolReport(runner.m_lines);
    if (!summaries.strGeneral.isEmpty())
        IdentifyKaraokeFileByExtension(path, summaries.strGeneral, summaries.strVideo, summaries.strDuration);
    return summaries;
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

void ExamineItem(CDirItemList &list, int e)
{
    _ITEMINFO &item = list.Item(e);
    WriteLog(Progress, u"LOAD, LoadMediaFile %s\r\n", LogSafePath(item.szPath));
    const QString path = item.szPath;
    if (item.szType.Text().compare(u"Folder"_s, Qt::CaseInsensitive) == 0) {
        // A folder is never described or marked; reading it as a file could learn nothing.
        item.dwFlags |= ITEM_DETAILS_LOADED;
    } else {
        const SToolSummaries summaries = DescribeWithMediaTool(path);
        if (!summaries.strDuration.isEmpty()) {
            TakeToolSummaries(item, summaries);
        } else {
            const SKaraokeIdentity identity = IdentifyKaraokeFileByContent(path);
            if (!identity.strFormat.isEmpty() && identity.bAccepted)
                TakeKaraokeIdentity(item, identity);
        }
    }
    if (!item.IsDetailsLoaded()) {
        QStringList result;
        AnalyseMediaFile(path, result);
        ApplyAnalysisResult(item, result);
    }
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
    for (int e = 0; e < list.GetItemCount(); ++e) {
        ExamineItem(list, e);
        list.RedrawRow(e);
    }
    list.ShowAllRows();
}

} // namespace velmora

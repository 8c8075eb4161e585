#include "check/LoadMediaFile.h"

#include "app/RunLogs.h"
#include "check/ItemDetails.h"
#include "check/ItemInfo.h"
#include "inspect/FileList.h"
#include "inspect/MediaAnalysis.h"
#include "platform/FileStatus.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

int LoadMediaFile(_ITEMINFO &item)
{
    if (item.IsFolder()) {
        WriteLog(Progress, u"LOAD, Folder %s\r\n", LogSafePath(item.szPath));
        return 1;
    }
    WriteLog(Progress, u"LOAD, LoadMediaFile %s\r\n", LogSafePath(item.szPath));
    if (item.IsDetailsLoaded())
        return 1;

    QStringList names;
    if (SplitFileList(item.szFileName, names) == 0) {
        WriteLog(Problem, u"ERROR, LoadMediaFile -1\r\n");
        item.szResult = u"LoadMediaFile -1"_s;
        return 0;
    }
    const QString folder = FolderOf(item.szPath);
    // Every file of the song is read; a later one overwrites what an earlier one gave.
    for (const QString &name : std::as_const(names)) {
        const QString path = folder + name;
        if (!QueryFileStatus(path)) {
            WriteLog(Problem, u"ERROR, LoadMediaFile -2, %s\r\n", path);
            item.szResult = u"LoadMediaFile -2"_s;
            return 0;
        }
        QStringList result;
        ReadMediaTags(path, result);
        if (result.isEmpty())
            AnalyseMediaFile(path, result);
        ApplyAnalysisResult(item, result);
    }
    return 1;
}

} // namespace velmora

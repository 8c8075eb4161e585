#include "check/LoadMediaFile.h"

#include "app/RunLogs.h"
#include "check/ItemDetails.h"
#include "check/ItemInfo.h"
#include "inspect/FileList.h"
#include "inspect/MediaAnalysis.h"
#include "platform/FileStatus.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

SSongFileResults ReadSongFiles(const QString &fileNames, const QString &path)
{
    SSongFileResults read;
    QStringList names;
    SplitFileList(fileNames, names);
    const QString folder = FolderOf(path);
    for (const QString &name : std::as_const(names)) {
        const QString file = folder + name;
        if (!QueryFileStatus(file)) {
            read.strMissingPath = file;
            break;
        }
        QStringList result;
        ReadMediaTags(file, result);
        if (result.isEmpty())
            AnalyseMediaFile(file, result);
        read.results.append(result);
    }
    return read;
}

bool NeedsSongFiles(const _ITEMINFO &item)
{
    return !item.IsFolder() && !item.IsDetailsLoaded();
}

int LoadMediaFile(_ITEMINFO &item, const SSongFileResults *readAhead)
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
    const SSongFileResults read = readAhead ? *readAhead : ReadSongFiles(item.szFileName, item.szPath);
    // Every file of the song is read; a later one overwrites what an earlier one gave.
    for (const QStringList &result : read.results)
        ApplyAnalysisResult(item, result);
    if (!read.strMissingPath.isEmpty()) {
        WriteLog(Problem, u"ERROR, LoadMediaFile -2, %s\r\n", read.strMissingPath);
        item.szResult = u"LoadMediaFile -2"_s;
        return 0;
    }
    return 1;
}

} // namespace velmora

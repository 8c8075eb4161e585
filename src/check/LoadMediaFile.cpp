#include "check/LoadMediaFile.h"

#include "base/RunLogs.h"
#include "check/ItemDetails.h"
#include "base/ItemInfo.h"
#include "cache/CachedValues.h"
#include "cache/ResultCache.h"
#include "check/ToolTimeOutLines.h"
#include "inspect/FileList.h"
#include "inspect/MediaAnalysis.h"
#include "platform/FileStatus.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList ReadOneSongFile(const QString &file)
{
    QStringList result;
    ReadMediaTags(file, result);
    if (result.isEmpty())
        AnalyseMediaFile(file, result);
    return result;
}

bool IsFullResult(const QStringList &result)
{
    return result.size() >= kFullAnalysisSlots;
}

} // namespace

// The results are applied in file order and a full result overwrites everything an earlier
// one set, so a file read only by the media library (slow, and without side effects) is
// left unread, its result empty, when a later file of the song gives a full result. Songs
// are usually graphics first, then tagged audio, so most graphics files are never opened.
SSongFileResults ReadSongFiles(const QStringList &paths, const CResultCache *cache)
{
    SSongFileResults read;
    QStringList files;
    QList<std::optional<SFileKey>> keys;
    for (const QString &file : paths) {
        // The key's query answers whether the file is there; without a key (no cache, or
        // not a plain file) the status query does.
        std::optional<SFileKey> key = cache ? ReadFileKey(file) : std::nullopt;
        if (!key && !QueryFileStatus(file)) {
            read.strMissingPath = file;
            break;
        }
        files.append(file);
        keys.append(std::move(key));
    }
    read.results.resize(files.size());
    const auto readOne = [&read, &keys, cache](qsizetype i, const QString &file) {
        const std::optional<SFileKey> &key = keys.at(i);
        if (key) {
            if (const std::optional<QByteArray> kept = cache->Find(ECacheKind::SongFile, *key)) {
                if (std::optional<QStringList> result = DecodeSongResult(*kept))
                    return *result;
            }
        }
        TakeToolTimeOuts();
        QStringList result = ReadOneSongFile(file);
        const QList<SToolTimeOut> timeOuts = TakeToolTimeOuts();
        for (SToolTimeOut timeOut : timeOuts) {
            timeOut.strFile = file;
            read.timeOuts.append(timeOut);
        }
        // A tool cut short at its time limit says nothing lasting about the file.
        if (key && timeOuts.isEmpty() && StillSameReadableFile(*key))
            read.kept.append(SKeptResult{*key, EncodeSongResult(result)});
        return result;
    };
    QList<bool> deferred(files.size(), false);
    for (qsizetype i = 0; i < files.size(); ++i) {
        deferred[i] = AnalysedByMediaLibraryOnly(files.at(i));
        if (!deferred.at(i))
            read.results[i] = readOne(i, files.at(i));
    }
    bool laterFull = false;
    for (qsizetype i = files.size() - 1; i >= 0; --i) {
        if (deferred.at(i) && !laterFull)
            read.results[i] = readOne(i, files.at(i));
        laterFull = laterFull || IsFullResult(read.results.at(i));
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

    if (item.FileNames().isEmpty()) {
        WriteLog(Problem, u"ERROR, LoadMediaFile -1\r\n");
        item.szResult = u"LoadMediaFile -1"_s;
        return 0;
    }
    const SSongFileResults read = readAhead ? *readAhead : ReadSongFiles(item.FilePaths());
    WriteToolTimeOutLines(read.timeOuts);
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

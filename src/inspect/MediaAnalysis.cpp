#include "inspect/MediaAnalysis.h"

#include "inspect/FileList.h"
#include "inspect/KnownLibraryAnswer.h"
#include "inspect/MediaInfoLibrary.h"
#include "inspect/Mp3Analysis.h"
#include "inspect/PackagedHeader.h"
#include "inspect/ZipAnalysis.h"
#include "legacy/MidiSongInfo.h"
#include "platform/FileStatus.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

enum class EBranch { None, Mp3, Zip, MediaLibrary, PackagedHeader, Midi };

EBranch BranchOf(const QString &path)
{
    if (HasEnding(path, u".mp3"))
        return EBranch::Mp3;
    if (HasEnding(path, u".zip"))
        return EBranch::Zip;
    if (HasEnding(path, u".wma") || HasEnding(path, u".wmv"))
        return EBranch::MediaLibrary;
    if (HasEnding(path, u".pcg") || HasEnding(path, u".qcg"))
        return EBranch::PackagedHeader;
    if (HasEnding(path, u".wrk") || HasEnding(path, u".mid") || HasEnding(path, u".kar"))
        return EBranch::Midi;
    return EBranch::None;
}

bool ReadWithMediaLibrary(const QString &path, QStringList &result)
{
    result.clear();
    if (std::optional<QStringList> known = KnownMediaLibraryAnswer(path)) {
        result = std::move(*known);
        return false;
    }
    CMediaInfo info;
    if (!info.Create())
        return false;
    info.Open(path);
    const int bitRate = info.IsAudio() ? info.AudioBitRate() : info.VideoBitRate();
    result = {QString::number(info.DurationSeconds()), QString::number(bitRate), QString()};
    const QString title = info.Title();
    bool tagged = false;
    if (!title.isEmpty()) {
        result << title << info.GetGeneral(u"Performer"_s) << info.GetGeneral(u"Album"_s)
               << info.ReportValue(u"General"_s, u"Recorded date"_s)
               << info.ReportValue(u"General"_s, u"Track name/Position"_s)
               << info.ReportValue(u"General"_s, u"Genre"_s);
        tagged = true;
    }
    info.Release();
    return tagged;
}

bool ReadMidiTags(const QString &path, QStringList &result)
{
    result.clear();
    MidiSongInfo info;
    if (!ReadMidiSongInfo(path, info))
        return false;
    result = QStringList(kFullAnalysisSlots);
    result[SlotDuration] = QString::number(info.nDurationSeconds);
    result[SlotTitle] = info.strTitle;
    result[SlotArtist] = info.strArtist;
    return true;
}

bool ReadBranch(EBranch branch, const QString &path, QStringList &result)
{
    switch (branch) {
    case EBranch::Mp3:
        return ReadMp3FileTags(path, result);
    case EBranch::Zip:
        return ReadZipPackageTags(path, result);
    case EBranch::MediaLibrary:
        return ReadWithMediaLibrary(path, result);
    case EBranch::PackagedHeader:
        return ReadPackagedHeader(path, result);
    case EBranch::Midi:
        return ReadMidiTags(path, result);
    case EBranch::None:
        break;
    }
    result.clear();
    return false;
}

} // namespace

// Only regular files are read: the media library opens what it is given, and a pipe or
// device would hold it (and the check) forever.
bool ReadMediaTags(const QString &path, QStringList &result)
{
    result.clear();
    if (!QueryRegularFile(path))
        return false;
    return ReadBranch(BranchOf(path), path, result);
}

bool AnalyseMediaFile(const QString &path, QStringList &result)
{
    result.clear();
    if (!QueryRegularFile(path))
        return false;
    const EBranch branch = BranchOf(path);
    return ReadBranch(branch == EBranch::None ? EBranch::MediaLibrary : branch, path, result);
}

bool AnalysedByMediaLibraryOnly(const QString &path)
{
    const EBranch branch = BranchOf(path);
    return branch == EBranch::None || branch == EBranch::MediaLibrary;
}

} // namespace velmora

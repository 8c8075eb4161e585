#include "playlist/KlovPlaylist.h"

#include "inspect/FileBytes.h"
#include "platform/FileStatus.h"
#include "platform/MessagePrompt.h"
#include "playlist/AnsiPlaylist.h"
#include "playlist/Crc32Dynamic.h"
#include "playlist/JukeCache.h"
#include "base/StdioFileEx.h"
#include "playlist/UnicodePlaylist.h"

#include <limits>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

void ShowProblem(const char16_t *text)
{
    MessagePrompt().ShowMessage(QString::fromUtf16(text));
}

bool IsUnicodeSource(const QString &sourcePath)
{
    return CStdioFileEx::GetFileEncoding(sourcePath) != 0;
}

// A regular file no larger than any playlist a player writes.
bool SourceFits(const QString &sourcePath)
{
    const qint64 size = FileSizeOf(sourcePath);
    return size >= 0 && size <= kMaxPlaylistBytes;
}

// Opens a source for reading; a missing, unreadable or oversized one shows the message.
bool OpenSource(CStdioFileEx &source, const QString &sourcePath)
{
    if (!SourceFits(sourcePath) || !source.Open(sourcePath, CStdioFileEx::modeRead | CStdioFileEx::typeText)) {
        ShowProblem(kCannotLoadPlaylist);
        return false;
    }
    return true;
}

bool IsRegularFile(const QString &path)
{
    SFileStatus status;
    return !path.isEmpty() && QueryFileStatus(path, &status) && !status.bFolder;
}

EPlaylistOutcome ReadSongLines(CStdioFileEx &source, const QString &sourcePath, bool unicode, bool forCache,
                               const SongLineSink &sink)
{
    // The in-memory reader takes a Unicode record only when it starts with a field, and
    // leaves the jukebox song list to the full record and bar layouts.
    if (unicode)
        return ReadUnicodePlaylist(source, !forCache, sink);
    return ReadAnsiPlaylist(source, sourcePath, forCache, sink);
}

// The message of an outcome that is a failure; false for the outcomes that are not.
bool ShowOutcomeProblem(EPlaylistOutcome outcome)
{
    switch (outcome) {
    case EPlaylistOutcome::InvalidUnicode:
        ShowProblem(kInvalidUnicodePlaylist);
        return true;
    case EPlaylistOutcome::InvalidAnsi:
        ShowProblem(kInvalidAnsiPlaylist);
        return true;
    case EPlaylistOutcome::SinkFailed:
        ShowProblem(kErrorOpenPlaylist);
        return true;
    case EPlaylistOutcome::Songs:
    case EPlaylistOutcome::Naming:
        break;
    }
    return false;
}

// What a conversion gives back, and whether its count belongs in the store: a naming
// file answers 1 with an empty cache, which must not be taken for one song later.
struct SCacheResult
{
    int nSongs = 0;
    bool bStoreCount = false;
};

SCacheResult WriteCacheFile(CStdioFileEx &source, const QString &sourcePath, bool unicode, const QString &cachePath)
{
    CStdioFileEx cache;
    if (cachePath.isEmpty()
        || !cache.Open(cachePath, CStdioFileEx::modeCreate | CStdioFileEx::modeFresh | CStdioFileEx::modeWrite
                                      | CStdioFileEx::modeWriteUnicode)) {
        ShowProblem(kErrorOpenPlaylist);
        return {};
    }
    int count = 0;
    const auto sink = [&cache, &count](const QString &line) {
        if (count == std::numeric_limits<int>::max() || !cache.WriteString(line + u"\r\n"_s))
            return false;
        ++count;
        return true;
    };
    EPlaylistOutcome outcome = ReadSongLines(source, sourcePath, unicode, true, sink);
    if (outcome == EPlaylistOutcome::Songs && !cache.Flush())
        outcome = EPlaylistOutcome::SinkFailed;
    cache.Close();
    if (ShowOutcomeProblem(outcome))
        return {};
    if (outcome == EPlaylistOutcome::Naming)
        return {1, false};
    return {count, count > 0};
}

} // namespace

int ConvertKlovPlaylist(const QString &sourcePath, QString &cachePath)
{
    cachePath.clear();
    quint32 crc = 0;
    if (!SourceFits(sourcePath) || !CCrc32Dynamic::FileCrc32(sourcePath, crc)) {
        ShowProblem(kCannotLoadPlaylist);
        return 0;
    }
    const QString cacheName = JukeCacheName(crc);
    const QString folder = JukeCacheFolder();
    if (!folder.isEmpty())
        cachePath = folder + u'/' + cacheName;

    // A Unicode source's records are copied as they are, so the same bytes always give the
    // same cache. The 8-bit layouts name folders found on disk and are converted every time.
    const bool unicode = IsUnicodeSource(sourcePath);
    if (unicode && IsRegularFile(cachePath)) {
        if (const int stored = StoredJukeCount(cacheName))
            return stored;
    }
    CStdioFileEx source;
    if (!OpenSource(source, sourcePath))
        return 0;
    // The cache is about to be rewritten: a count left from before must not outlive it.
    ForgetJukeCount(cacheName);
    const SCacheResult result = WriteCacheFile(source, sourcePath, unicode, cachePath);
    if (result.bStoreCount)
        StoreJukeCount(cacheName, result.nSongs);
    return result.nSongs;
}

bool ReadKlovPlaylist(const QString &sourcePath, QStringList &lines)
{
    lines.clear();
    const bool unicode = IsUnicodeSource(sourcePath);
    CStdioFileEx source;
    if (!OpenSource(source, sourcePath))
        return false;
    const auto sink = [&lines](const QString &line) {
        lines.append(line);
        return true;
    };
    const EPlaylistOutcome outcome = ReadSongLines(source, sourcePath, unicode, false, sink);
    if (ShowOutcomeProblem(outcome)) {
        lines.clear();
        return false;
    }
    lines.squeeze();
    return true;
}

} // namespace velmora

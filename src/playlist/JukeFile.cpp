#include "playlist/JukeFile.h"

#include "base/Format.h"
#include "base/RunLogs.h"
#include "base/TraceDebug.h"
#include "inspect/FileBytes.h"
#include "playlist/KlovPlaylist.h"
#include "playlist/RevItemList.h"
#include "playlist/SongRecordFields.h"
#include "base/StdioFileEx.h"
#include "widgets/ShGetFileInfo.h"

#include <QElapsedTimer>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint32 kNormalFile = 0x80;
constexpr int kSilenceSlot = 5;
constexpr qint16 kSilenceOff = -9;

int LeadingNumber(QStringView text)
{
    qint64 value = 0;
    for (const QChar ch : text) {
        if (ch.unicode() < u'0' || ch.unicode() > u'9')
            break;
        value = std::min<qint64>(999999999, value * 10 + (ch.unicode() - u'0'));
    }
    return int(value);
}

// A cache file holds UTF-16 lines of at least a line feed each after its mark, so it
// cannot hold more lines than this: a stored count beyond it (a damaged or forged
// settings store) must not size the row array.
int MostLinesOf(const QString &cachePath)
{
    const qint64 size = FileSizeOf(cachePath);
    return size < 0 ? 0 : int(std::min<qint64>(size / 2 + 1, std::numeric_limits<int>::max() / 2));
}

void FillRow(_ITEMINFO &row, const QStringList &f, bool eightFields, quint32 flags)
{
    row.dwFlags = flags | REV_CHECK_PENDING_SET;
    row.dwFileAttributes = kNormalFile;
    row.szTitle = f.value(1);
    row.szArtist = f.value(2);
    row.szFileName = f.value(3);
    row.szPath = f.value(4);
    row.anSettings[kSilenceSlot] = quint16(kSilenceOff);
    const QString iconPath =
        eightFields ? f.value(4) + u'\\' + f.value(3).section(u';', 0, 0) : f.value(4) + f.value(3);
    row.nIcon = CShGetFileInfo::Instance().IconIndex(iconPath, false, false);
    if (!eightFields)
        return;
    row.szIndex = Format(u"%06d", LeadingNumber(f.value(0)));
    row.szAlbum = f.value(5);
    if (!f.value(6).isEmpty())
        ParseSettings(f.value(6), row);
    if (f.value(7).contains(u'-'))
        DecodeTrackText(f.value(7), row);
}

// Writes the cache lines into rows base .. base + n - 1 and returns how many were written;
// lines past the last row are not read.
int ReadCacheRows(CRevItemList &grid, CStdioFileEx &cache, int base, int n)
{
    const bool eightFields = grid.PlaylistEncoding() != 0;
    const bool keepNumbers = grid.KeepsSongNumbers() && !eightFields;
    const quint32 flags = grid.NewRowFlags();
    QString line;
    int k = 0;
    while (k < n && cache.ReadString(line)) {
        const QStringList fields = line.split(u'|');
        FillRow(grid.Rows()[base + k], fields, eightFields, flags);
        if (keepNumbers)
            grid.SongNumbers()[base + k] = fields.value(0);
        ++k;
    }
    return k;
}

} // namespace

bool LoadJukeFile(CRevItemList &grid, const QString &path)
{
    QString cachePath;
    int n = ConvertKlovPlaylist(path, cachePath);
    WriteLog(2, u"LOAD, LoadJukeFile %d\r\n", n);
    if (n == 0)
        return true;
    QElapsedTimer timer;
    timer.start();
    grid.SetPlaylistPath(path);
    grid.NotifyBusy(true);
    CStdioFileEx cache;
    if (cache.Open(cachePath, CStdioFileEx::modeRead | CStdioFileEx::typeText)) {
        n = std::min(n, MostLinesOf(cachePath));
        const int base = grid.GetItemCount();
        grid.Rows().SetSize(base + n);
        const bool keepNumbers = grid.KeepsSongNumbers() && grid.PlaylistEncoding() == 0;
        if (keepNumbers)
            grid.SongNumbers().resize(base + n);
        const int written = ReadCacheRows(grid, cache, base, n);
        // A cache shorter than its count would leave blank rows that name no file; they
        // are dropped instead of shown as missing songs.
        if (written < n) {
            grid.Rows().SetSize(base + written);
            if (keepNumbers)
                grid.SongNumbers().resize(base + written);
        }
        // Nothing is drawn while the rows are read (no log line pumps events meanwhile), so
        // the view hears of the new rows once, with their real number.
        grid.NotifyRowsAboutToAppend(base, base + written - 1);
        grid.NotifyRowsAppended();
        cache.Close();
    }
    grid.NotifyBusy(false);
    TraceDebug(u"LoadJukeFile Count %d, Time %d\n", grid.GetItemCount(), int(timer.elapsed()));
    return true;
}

} // namespace velmora

#include "playlist/RevItemList.h"

#include "base/RunLogs.h"
#include "inspect/FileList.h"
#include "inspect/MediaAnalysis.h"
#include "platform/FileStatus.h"
#include "playlist/DriveMap.h"
#include "playlist/JukeFile.h"
#include "playlist/MplFile.h"
#include "playlist/RevListObserver.h"
#include "playlist/RowFileCheck.h"
#include "playlist/RowMemory.h"
#include "playlist/SongRecordFields.h"
#include "base/StdioFileEx.h"
#include "widgets/ShGetFileInfo.h"

#include <algorithm>
#include <limits>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint32 kNormalFile = 0x80;
constexpr qint16 kSilenceOff = -9;
constexpr int kSilenceSlot = 5;

bool EndsWithNoCase(const QString &path, QStringView ending)
{
    return path.size() >= ending.size() && path.right(ending.size()).compare(ending, Qt::CaseInsensitive) == 0;
}

int LeadingNumber(const QString &text)
{
    qint64 value = 0;
    for (const QChar ch : text) {
        if (ch.unicode() < u'0' || ch.unicode() > u'9')
            break;
        value = std::min<qint64>(std::numeric_limits<int>::max(), value * 10 + (ch.unicode() - u'0'));
    }
    return int(value);
}

} // namespace

CRevItemList::CRevItemList()
    : m_drives(CDriveMap::FromSettings())
{
    for (int column = 0; column < kRevColumnCount; ++column) {
        m_widths[size_t(column)] = RevColumn(column).nDefaultWidth;
        m_shown[size_t(column)] = true;
        m_order[size_t(column)] = column;
    }
}

quint32 CRevItemList::NewRowFlags() const
{
    return ITEM_WALK | ITEM_DETAILS_LOADED | ((quint32(m_nLayoutNumber) << REV_LAYOUT_SHIFT) & REV_LAYOUT_MASK);
}

void CRevItemList::SetPlaylistPath(const QString &path)
{
    m_strPlaylistPath = path;
    m_strPlaylistFolder = FolderOf(path);
}

void CRevItemList::SetPlaylist(const QString &path, int encoding)
{
    SetPlaylistPath(path);
    m_nPlaylistEncoding = encoding;
}

void CRevItemList::RemoveAllRows()
{
    if (m_observer)
        m_observer->OnRowsAboutToReset();
    m_rows.RemoveAll();
    m_songNumbers.clear();
    m_nNextIndex = -1;
    m_nBatchAnnounced = 0;
    if (m_observer)
        m_observer->OnRowsReset();
}

bool CRevItemList::ListSelectDirectory(const QString &path, bool append)
{
    if (path.isEmpty() || m_bLoading)
        return false;
    // Log lines let the interface run, so the guard covers the whole load.
    struct SLoadingScope
    {
        bool &loading;
        explicit SLoadingScope(bool &flag) : loading(flag) { loading = true; }
        ~SLoadingScope() { loading = false; }
    } scope(m_bLoading);
    if (!append)
        RemoveAllRows();
    if (EndsWithNoCase(path, u"/dummy") || EndsWithNoCase(path, u"\\dummy")) {
        m_strPlaylistPath.clear();
        m_nPlaylistEncoding = 0;
    }
    if (!FileExists(path))
        return false;
    WriteLog(0, u"\r\n");
    WriteLog(0, u"================================================\r\n");
    WriteLog(0, u"LIST, ListSelectDirectory %s\r\n", path);
    WriteLog(0, u"================================================\r\n");
    NotifyBusy(true);
    m_drives = CDriveMap::FromSettings();
    m_nPlaylistEncoding = 0;
    const bool loaded = LoadPlaylistFile(path);
    NotifyBusy(false);
    if (!loaded)
        return false;
    if (m_observer)
        m_observer->OnRowsChanged(0, GetItemCount() - 1);
    AutoSizeColumns();
    WriteLog(2, u"LIST, ListSelectDirectory OK\r\n\r\n");
    return true;
}

bool CRevItemList::LoadPlaylistFile(const QString &path)
{
    m_names.Clear();
    if (EndsWithNoCase(path, u".mpl")) {
        m_strLoadingPath = path;
        const bool loaded = LoadMplFile(*this, path);
        m_strLoadingPath.clear();
        return loaded;
    }
    if (EndsWithNoCase(path, u".txt")) {
        m_nPlaylistEncoding = CStdioFileEx::GetFileEncoding(path);
        return LoadJukeFile(*this, path);
    }
    return true;
}

void CRevItemList::AddRecordRow(const QStringList &fields)
{
    const auto field = [&fields](int i) { return fields.value(i); };
    _ITEMINFO row;
    row.dwFlags = NewRowFlags() | REV_FOUND;
    row.dwFileAttributes = kNormalFile;
    row.szFileName = field(4);
    row.szPath = field(5);
    row.nIcon = CShGetFileInfo::Instance().IconIndex(field(0), false, false);
    row.szIndex = field(3);
    row.szTitle = field(1);
    row.szArtist = field(2);
    row.szAlbum = field(6);
    row.anSettings[kSilenceSlot] = quint16(kSilenceOff);
    if (!field(7).isEmpty())
        ParseSettings(field(7), row);
    if (!field(8).isEmpty())
        DecodeTrackText(field(8), row);
    QString foundFolder;
    if (!RecordFileFound(field(4), field(5), &foundFolder))
        row.dwFlags &= ~REV_FOUND;
    else if (!foundFolder.isEmpty())
        row.szPath = foundFolder;
    if (m_nNextIndex >= 0) {
        const int number = LeadingNumber(row.szIndex);
        if (number >= m_nNextIndex)
            m_nNextIndex = number == std::numeric_limits<int>::max() ? number : number + 1;
    }
    const int first = GetItemCount();
    if (m_bBatching) {
        m_rows.Add(std::move(row));
        return;
    }
    NotifyRowsAboutToAppend(first, first);
    m_rows.Add(std::move(row));
    NotifyRowsAppended();
}

void CRevItemList::BeginRowBatch()
{
    m_bBatching = true;
    m_nBatchAnnounced = GetItemCount();
}

void CRevItemList::FlushRowBatch()
{
    if (!m_bBatching || m_nBatchAnnounced >= GetItemCount())
        return;
    // The view keeps its own row count, so the block is announced after it was added.
    NotifyRowsAboutToAppend(m_nBatchAnnounced, GetItemCount() - 1);
    NotifyRowsAppended();
    m_nBatchAnnounced = GetItemCount();
}

void CRevItemList::EndRowBatch()
{
    FlushRowBatch();
    m_bBatching = false;
}

void CRevItemList::AddSongRecord(const QString &file, const QString &folder, const QString &index,
                                 const QString &title, const QString &artist, const QString &album,
                                 const QString &settings, const QString &track)
{
    AddRecordRow({folder + file, title, artist, index, file, folder, album, settings, track});
}

void CRevItemList::AddSongFile(const QString &file, const QString &folder)
{
    const QString path = LocateSongFile(file, folder);
    QStringList values;
    QString title;
    QString artist;
    // A folder has no tags to give; the media library would only be made to open it.
    SFileStatus status;
    if (QueryFileStatus(path, &status) && !status.bFolder && AnalyseMediaFile(path, values) && values.size() >= 9) {
        title = values.at(3);
        artist = values.at(4);
    }
    // "%06d" of a positive number, built at its own size: the row keeps this text.
    const QString index = QString::number(NextIndexNumber()).rightJustified(6, u'0');
    AddSongRecord(file, folder, index, title, artist, {}, {}, {});
}

int CRevItemList::NextIndexNumber() const
{
    if (m_nNextIndex < 0) {
        int largest = 0;
        for (const _ITEMINFO &row : m_rows)
            largest = std::max(largest, LeadingNumber(row.szIndex));
        m_nNextIndex = largest == std::numeric_limits<int>::max() ? largest : largest + 1;
    }
    return m_nNextIndex;
}

const _ITEMINFO *CRevItemList::GetRow(int i)
{
    if (i < 0 || i >= GetItemCount())
        return nullptr;
    _ITEMINFO &row = m_rows[i];
    if ((row.dwFlags & REV_CHECK_PENDING) && m_nHeldFrom >= 0 && i >= m_nHeldFrom) {
        m_nLastHeldFetch = std::max(m_nLastHeldFetch, i);
        return &row;
    }
    if (row.dwFlags & REV_CHECK_PENDING) {
        const bool found = DecideFound(i, nullptr, nullptr);
        row.dwFlags = (row.dwFlags & ~(REV_CHECK_PENDING | REV_FOUND)) | (found ? REV_FOUND : 0);
    }
    return &row;
}

void CRevItemList::HoldFoundChecksFrom(int first)
{
    const int released = first < 0 ? m_nLastHeldFetch : std::min(first - 1, m_nLastHeldFetch);
    if (m_nHeldFrom >= 0 && released >= m_nHeldFrom && m_observer)
        m_observer->OnRowsChanged(m_nHeldFrom, released);
    m_nHeldFrom = first;
    if (first < 0 || m_nLastHeldFetch < first)
        m_nLastHeldFetch = -1;
}

void CRevItemList::RemoveRows(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (m_observer)
        m_observer->OnRowsAboutToReset();
    for (const int row : std::as_const(rows)) {
        if (row >= 0 && row < GetItemCount()) {
            m_rows.RemoveAt(row);
            if (row < m_songNumbers.size())
                m_songNumbers.removeAt(row);
        }
    }
    m_nBatchAnnounced = GetItemCount(); // the view has taken every row again
    m_nNextIndex = -1;
    if (m_observer)
        m_observer->OnRowsReset();
}

void CRevItemList::RemoveRowsFrom(int first)
{
    first = std::max(first, 0);
    if (first >= GetItemCount())
        return;
    if (m_observer)
        m_observer->OnRowsAboutToReset();
    m_rows.SetSize(first);
    m_rows.FreeExtra();
    if (first < m_songNumbers.size())
        m_songNumbers.resize(first);
    m_nBatchAnnounced = GetItemCount(); // the view takes every row again
    m_nNextIndex = -1;
    if (m_observer)
        m_observer->OnRowsReset();
}

qint64 CRevItemList::HeldBytes(int first) const
{
    qint64 bytes = 0;
    first = std::max(first, 0);
    for (int i = first; i < GetItemCount(); ++i)
        bytes += RowHeapBytes(m_rows[i], i > first ? &m_rows[i - 1] : nullptr);
    return bytes;
}

void CRevItemList::NotifyRowsAboutToAppend(int first, int last)
{
    m_bAppendAnnounced = m_observer && last >= first;
    if (m_bAppendAnnounced)
        m_observer->OnRowsAboutToAppend(first, last);
}

void CRevItemList::NotifyRowsAppended()
{
    if (m_bAppendAnnounced && m_observer)
        m_observer->OnRowsAppended();
    m_bAppendAnnounced = false;
}

void CRevItemList::NotifyBusy(bool busy)
{
    if (m_observer)
        m_observer->OnBusyChanged(busy);
}

} // namespace velmora

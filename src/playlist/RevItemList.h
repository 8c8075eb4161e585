#pragma once

#include "base/ItemArray.h"
#include "base/ItemInfo.h"
#include "platform/NameLookup.h"
#include "playlist/DriveMap.h"
#include "playlist/RevColumns.h"

#include <QString>
#include <QStringList>
#include <array>

namespace velmora {

class IRevListObserver;

// Flag bits the playlist grid gives rows of its own.
inline constexpr quint32 REV_FOUND = 0x8;              // the media file exists
inline constexpr quint32 REV_CHECK_PENDING = 0xC000;   // found not computed yet (bits 14-15)
inline constexpr quint32 REV_CHECK_PENDING_SET = 0x4000;
inline constexpr int REV_LAYOUT_SHIFT = 8;
inline constexpr quint32 REV_LAYOUT_MASK = 0x3F00;

// The playlist grid as the loaders and the command see it: the rows of one playlist, its
// path, folder and encoding, the sort state and the column state. A view adapts it through
// IRevListObserver and asks for cell texts row by row.
class CRevItemList
{
public:
    CRevItemList();

    void SetObserver(IRevListObserver *observer) { m_observer = observer; }

    // Loads a playlist (".mpl" or ".txt"); append false empties the grid first. True when
    // a playlist was loaded (the closing log line was written).
    bool ListSelectDirectory(const QString &path, bool append);
    void RemoveAllRows();

    int GetItemCount() const { return m_rows.GetSize(); }
    // The row, its found check settled first; null when i is out of range.
    const _ITEMINFO *GetRow(int i);
    // The row as stored, without settling anything (i must be in range).
    const _ITEMINFO &RowAt(int i) const { return m_rows[i]; }

    QString GetCellText(int row, int column) const;
    // The cells the user may edit in place: the texts Title, Artist, Album, Genre, Memo and
    // Customer. Editing changes the row shown, not the playlist file.
    static bool IsEditableColumn(int column);
    // Stores an edited cell text (cut to its field); false for another column, a row out of
    // range, or while a load runs.
    bool SetCellText(int row, int column, const QString &text);

    void AddRecordRow(const QStringList &fields);
    void AddSongRecord(const QString &file, const QString &folder, const QString &index, const QString &title,
                       const QString &artist, const QString &album, const QString &settings, const QString &track);
    void AddSongFile(const QString &file, const QString &folder);
    int NextIndexNumber() const;

    bool RowFileFound(int i);
    bool CheckRowFile(int i, QString &folder, QString &file);
    // The local folders a row's file is looked for in: its own (drive letters mapped), then
    // for a song on another drive than the playlist's, the relocation candidates.
    QStringList SongFolders(int i) const;
    // Cut: removes the rows (indices in any order, duplicates ignored).
    void RemoveRows(QList<int> rows);
    // Removes the rows from first on and gives back their room, as a refused load does.
    void RemoveRowsFrom(int first);
    // The memory the rows from first on hold (see RowMemory.h).
    qint64 HeldBytes(int first = 0) const;

    // The loaders' side: the row array grown in one step, and the rows written in place.
    CArray<_ITEMINFO> &Rows()
    {
        m_nNextIndex = -1; // the caller may write any index
        return m_rows;
    }
    void NotifyRowsAboutToAppend(int first, int last);
    void NotifyRowsAppended();
    void NotifyBusy(bool busy);
    // While a batch is open, appended rows are announced to the view in blocks (at each
    // flush and at the end) rather than one by one.
    void BeginRowBatch();
    void FlushRowBatch();
    void EndRowBatch();
    // A load is running: the interface stays live during it, and a second load started
    // meanwhile is refused. The Playlist command counts as a load until its last row is looked for.
    bool IsLoading() const { return m_bLoading || m_nHeldFrom >= 0; }
    // The Playlist command logs where it looked for each row's file, which only a pending row
    // tells: while it runs, rows from first on stay pending when fetched (painted), and a row
    // let go that was drawn meanwhile is announced for a redraw. -1 lets every fetch settle.
    void HoldFoundChecksFrom(int first);

    const QString &PlaylistPath() const { return m_strPlaylistPath; }
    const QString &PlaylistFolder() const { return m_strPlaylistFolder; }
    int PlaylistEncoding() const { return m_nPlaylistEncoding; }
    void SetPlaylist(const QString &path, int encoding);
    void SetPlaylistPath(const QString &path);
    void SetPlaylistEncoding(int encoding) { m_nPlaylistEncoding = encoding; }
    int LayoutNumber() const { return m_nLayoutNumber; }
    // The flag word every new row starts with: bits 0 and 2 and the layout number.
    quint32 NewRowFlags() const;

    // Song numbers of 8-bit text playlists, which the rows themselves do not keep; only
    // recorded when asked for (the command line prints them).
    void SetKeepSongNumbers(bool keep) { m_bKeepSongNumbers = keep; }
    bool KeepsSongNumbers() const { return m_bKeepSongNumbers; }
    QStringList &SongNumbers() { return m_songNumbers; }
    QString SongNumber(int row) const { return m_songNumbers.value(row); }

    // Sorting on a header click (columns 1-9 and 18); others do nothing.
    void SortByColumn(int column);
    int SortColumn() const { return m_nSortColumn; }
    bool SortAscending() const { return m_bSortAscending; }

    // Column state. Positions are display positions, columns the table's indices.
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    bool IsColumnShown(int column) const;
    int ColumnAtPosition(int position) const { return m_order[size_t(position)]; }
    void SetColumnOrder(const std::array<int, kRevColumnCount> &order);
    bool AutoSize() const { return m_bAutoSize; }
    void SetAutoSize(bool autoSize) { m_bAutoSize = autoSize; }
    void ShowColumn(int column, bool shown);
    void AutoSizeColumns();
    void ResetColumns();
    QString ColumnLayoutValue() const;
    bool ApplyColumnLayoutValue(const QString &value);
    void SaveColumnLayout() const;
    void RestoreColumnLayout();
    QString ColumnLayoutKey() const;

    // Where drive letters of Windows playlists are mounted; read from the settings when the
    // grid is made and again at each load.
    const CDriveMap &Drives() const { return m_drives; }
    void SetDrives(const CDriveMap &drives) { m_drives = drives; }

private:
    bool LoadPlaylistFile(const QString &path);
    bool DecideFound(int i, QString *testedFolder, QString *firstFile);
    // The found check of a row added from a record, at once: its own folder, then (a song on
    // another drive than the playlist's) the relocation candidates; *foundFolder is set when
    // the file was found in one of those.
    bool RecordFileFound(const QString &files, const QString &folder, QString *foundFolder);
    // The candidates below the playlist's folder for a song on another drive; none for a song
    // on the playlist's drive or without a drive letter.
    QStringList RelocationFolders(const QString &songFolder) const;
    // The file a version-1 MPL record names, found as its row's check finds it (any case,
    // relocated); the path as the record names it when it is nowhere.
    QString LocateSongFile(const QString &file, const QString &folder);
    // Whether name exists in folder, its steps taken in any case where needed.
    bool SongFileExists(const QString &folder, const QString &name);
    void NotifyColumns();

    CArray<_ITEMINFO> m_rows;
    QString m_strPlaylistPath;
    QString m_strPlaylistFolder;
    int m_nPlaylistEncoding = 0;
    int m_nLayoutNumber = -1;
    int m_nSortColumn = 0;
    bool m_bSortAscending = true;
    bool m_bAutoSize = true;
    bool m_bKeepSongNumbers = false;
    bool m_bAppendAnnounced = false;
    bool m_bBatching = false;
    int m_nBatchAnnounced = 0;
    bool m_bLoading = false;
    int m_nHeldFrom = -1;
    int m_nLastHeldFetch = -1; // the last held row fetched while held
    // NextIndexNumber's answer, kept while rows are only appended: a version-1 MPL file
    // numbers every row, and a scan per row would make a long file quadratic.
    mutable int m_nNextIndex = -1;
    QStringList m_songNumbers;
    std::array<int, kRevColumnCount> m_widths{};
    std::array<int, kRevColumnCount> m_rememberedWidths{};
    std::array<bool, kRevColumnCount> m_shown{};
    std::array<int, kRevColumnCount> m_order{};
    CDriveMap m_drives;
    CNoCaseNames m_names;
    // The playlist being loaded: MPL rows are checked as they are added, before the loader
    // sets the playlist path.
    QString m_strLoadingPath;
    IRevListObserver *m_observer = nullptr;
};

} // namespace velmora

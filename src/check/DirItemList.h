#pragma once

#include "check/CheckTuning.h"
#include "base/ItemArray.h"
#include "base/ItemInfo.h"

#include <QString>
#include <QStringList>

namespace velmora {

class CResultCache;
class IDirListObserver;
enum class ECacheKind : int;
struct SFindRecord;
struct SKeptResult;

// The result list as the directory check sees it: the rows, the folder checked, the kind of
// check and the column headers. A window adapts it through IDirListObserver.
class CDirItemList
{
public:
    static constexpr int kColumnCount = 7;

    CDirItemList();

    CArray<_ITEMINFO> m_items;
    QString m_strCurrentFolder;
    int m_nTopLevel = 0;          // 1 = media-details check, 0 = song check
    int m_nIncludeSubfolders = 0;
    int m_nSortColumn = 0;
    int m_bSortAscending = 1;
    SCheckTuning m_tuning;
    // The results cache of the running check, when the caller opened one; otherwise a check
    // opens its own when the tuning asks for it.
    CResultCache *m_pCache = nullptr;

    // The cache the check may use: none when it is off or could not be opened.
    CResultCache *UsableCache() const;
    // Keeps what a row's reads gave, once the row has taken it.
    void KeepResults(ECacheKind kind, const QList<SKeptResult> &kept);

    void SetObserver(IDirListObserver *observer) { m_observer = observer; }

    // Marks a check as running for its lifetime: the view shows the wait cursor, and a
    // second check started meanwhile (the interface stays live during a check) is refused.
    class CCheckScope
    {
    public:
        explicit CCheckScope(CDirItemList &list);
        ~CCheckScope();
        CCheckScope(const CCheckScope &) = delete;
        CCheckScope &operator=(const CCheckScope &) = delete;

    private:
        CDirItemList &m_list;
    };
    bool IsChecking() const { return m_bChecking; }

    // The user asked a running check to end: an outside tool it waits for ends at once, the
    // check stops before its next file, keeps the rows so far and says so in the run logs.
    // A new check clears the request. A stop request raised elsewhere (CStopRequest) counts
    // the same.
    void RequestStop();
    bool IsStopRequested() const { return m_bStopRequested; }
    // Called before each file of the per-file pass, and again once its results are in (a stop
    // meanwhile may have cut its tools short, so they are not taken): reports progress, and
    // when a stop was asked for writes the line that says so and returns true.
    bool StopBeforeFile(int done, int total);

    int GetItemCount() const { return m_items.GetSize(); }
    _ITEMINFO &Item(int index) { return m_items[index]; }
    const _ITEMINFO &Item(int index) const { return m_items[index]; }

    // Appends the row of one directory entry. Returns true after appending.
    bool AddListItem(const SFindRecord &record, const QString &path, int duration);
    void ClearList();
    // Removes the rows (indices into the item array, in any order, repeats and indices past
    // the end ignored) and shows what is left. Refused while a check runs; false then.
    bool RemoveItems(QList<int> rows);

    QString ColumnHeader(int column) const;
    void RenameColumnHeaders(const QString &second, const QString &third, const QString &fourth);

    // Row refresh: showing row j redraws it and sets the item count to j, so rows appear one
    // by one during a loop; showing all rows also fits columns 2 to 4 to their contents.
    void ShowRow(int row);
    void ShowAllRows();
    void RedrawRow(int row);

private:
    QStringList m_headers;
    IDirListObserver *m_observer = nullptr;
    bool m_bChecking = false;
    bool m_bStopRequested = false;
};

} // namespace velmora

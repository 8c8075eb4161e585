#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace velmora {

class CDirItemList;

// The rows of a list by folder and base name (case folded), so that finding a problem file's
// companions does not build the path of every row again for each problem file. Made on first
// use; valid while the rows stay as they were.
class CCompanionIndex
{
public:
    const QList<int> &RowsWithKey(const CDirItemList &list, quint64 key);

private:
    QHash<quint64, QList<int>> m_rows;
    bool m_bBuilt = false;
};

// Marks item e as a problem file (checked, red, with its unknown-media result and log line)
// and the unmarked items of the same path without extension as its companions.
void MarkProblemFile(CDirItemList &list, int e);
void MarkProblemFile(CDirItemList &list, int e, CCompanionIndex &companions);

} // namespace velmora

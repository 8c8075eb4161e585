#include "check/ProblemMarking.h"

#include "base/RunLogs.h"
#include "check/DirItemList.h"
#include "inspect/UnknownMedia.h"

#include <optional>
#include <xxhash.h>

namespace velmora {

namespace {

// A file's companion key: its folder and the base of its own name (before the name's last
// "."). Only the name counts: a dot in a folder name ("Vol.2/README") makes no base, and a
// name without a dot has no companions.
struct SCompanionKey
{
    QString strFolder;
    QString strBase;
};

std::optional<SCompanionKey> CompanionKeyOf(const _ITEMINFO &item)
{
    const QString path = item.FullPath();
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < nameStart)
        return std::nullopt;
    return SCompanionKey{path.left(nameStart), path.mid(nameStart, dot - nameStart)};
}

// Folder and case-folded base, hashed: the index only narrows down the rows to look at,
// and each of them is compared with the key itself, so two keys of one hash cost a
// comparison, never a wrong mark. Keys as texts held every row's path once more.
quint64 IndexKeyOf(const SCompanionKey &key)
{
    const QString base = key.strBase.toCaseFolded();
    const XXH64_hash_t folder = XXH3_64bits(key.strFolder.constData(), size_t(key.strFolder.size()) * sizeof(QChar));
    return XXH3_64bits_withSeed(base.constData(), size_t(base.size()) * sizeof(QChar), folder);
}

} // namespace

const QList<int> &CCompanionIndex::RowsWithKey(const CDirItemList &list, quint64 key)
{
    if (!m_bBuilt) {
        m_bBuilt = true;
        for (int i = 0; i < list.GetItemCount(); ++i) {
            if (const std::optional<SCompanionKey> rowKey = CompanionKeyOf(list.Item(i)))
                m_rows[IndexKeyOf(*rowKey)].append(i);
        }
    }
    static const QList<int> kNone;
    const auto found = m_rows.constFind(key);
    return found == m_rows.cend() ? kNone : *found;
}

void MarkProblemFile(CDirItemList &list, int e)
{
    CCompanionIndex companions;
    MarkProblemFile(list, e, companions);
}

void MarkProblemFile(CDirItemList &list, int e, CCompanionIndex &companions)
{
    _ITEMINFO &item = list.Item(e);
    // The kind of file comes from its real name; the line shows the path as the row does.
    const SUnknownMedia unknown = DescribeUnknownMedia(item.FullPath(), item.szType, item.szPath);
    WriteLogMessage(Problem, unknown.strLogLine);
    if (unknown.bSetsResult)
        item.szResult = unknown.strResult;
    item.dwFlags |= ITEM_MARK_PROBLEM | ITEM_CHECKED;

    const std::optional<SCompanionKey> key = CompanionKeyOf(item);
    if (!key)
        return;
    // Companions are files of the same folder (a folder is never one) whose own names share
    // the base, in any case.
    for (const int i : companions.RowsWithKey(list, IndexKeyOf(*key))) {
        _ITEMINFO &other = list.Item(i);
        if (i == e || other.MarkClass() != 0 || other.IsFolder())
            continue;
        // The index found the key by case folding; the rule is the case-insensitive compare.
        const std::optional<SCompanionKey> otherKey = CompanionKeyOf(other);
        if (otherKey && otherKey->strFolder == key->strFolder
            && otherKey->strBase.compare(key->strBase, Qt::CaseInsensitive) == 0)
            other.dwFlags = (other.dwFlags & ~0x20000u) | ITEM_MARK_COMPANION | ITEM_CHECKED;
    }
}

} // namespace velmora

#include "check/SortOrders.h"

#include "check/DirItemList.h"
#include "check/NoCaseKey.h"
#include "check/SafeSort.h"

#include <optional>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

struct SSortKey
{
    bool bParent = false;
    bool bFolder = false;
    CNoCaseKey text;
    std::optional<quint64> number;
};

// ".." first, then folders before files; nullopt when neither rule decides.
std::optional<bool> CompareByKind(const SSortKey &a, const SSortKey &b)
{
    if (a.bParent != b.bParent)
        return a.bParent;
    if (a.bFolder != b.bFolder)
        return a.bFolder;
    return std::nullopt;
}

// Number of a name key made of decimal digits only; large values saturate.
std::optional<quint64> NumberOfKey(const QString &key)
{
    if (key.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : key) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value > 1'000'000'000'000'000ULL ? value : value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// The first file's name without its extension; names are taken apart from the list's ";"
// joining, which a name may hold.
QString FileOrderKey(const _ITEMINFO &item)
{
    QString key = item.FileNames().value(0);
    const qsizetype dot = key.lastIndexOf(u'.');
    if (dot >= 0)
        key.truncate(dot);
    return key;
}

// Puts the rows in order in place, one cycle of the permutation at a time: a second array
// of rows would double the list's memory at its peak.
void Reorder(CDirItemList &list, const std::vector<int> &order)
{
    std::vector<bool> placed(order.size(), false);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start] || size_t(order[start]) == start)
            continue;
        _ITEMINFO held = std::move(list.Item(int(start)));
        size_t at = start;
        while (true) {
            placed[at] = true;
            const size_t from = size_t(order[at]);
            if (from == start) {
                list.Item(int(at)) = std::move(held);
                break;
            }
            list.Item(int(at)) = std::move(list.Item(int(from)));
            at = from;
        }
    }
}

template <typename MakeKey, typename Less>
void SortWith(CDirItemList &list, MakeKey makeKey, Less lessByText)
{
    std::vector<SSortKey> keys;
    keys.reserve(size_t(list.GetItemCount()));
    for (const _ITEMINFO &item : list.m_items)
        keys.push_back(makeKey(item));
    const bool ascending = list.m_bSortAscending != 0;
    const auto less = [&](int a, int b) {
        const SSortKey &x = keys[size_t(a)];
        const SSortKey &y = keys[size_t(b)];
        if (x.bParent && y.bParent)
            return false;
        if (const auto byKind = CompareByKind(x, y))
            return *byKind;
        return lessByText(x, y, ascending);
    };
    Reorder(list, SortedPositions(list.GetItemCount(), less));
}

SSortKey KindKey(const _ITEMINFO &item)
{
    SSortKey key;
    key.bParent = item.szFileName.Text() == u".."_s;
    key.bFolder = item.IsFolder();
    return key;
}

} // namespace

void SortByDirectoryOrder(CDirItemList &list)
{
    const auto makeKey = [](const _ITEMINFO &item) {
        SSortKey key = KindKey(item);
        key.text = CNoCaseKey(item.FullPath());
        return key;
    };
    const auto lessByText = [](const SSortKey &a, const SSortKey &b, bool) {
        return a.text.Compare(b.text) < 0;
    };
    SortWith(list, makeKey, lessByText);
}

void SortByFileOrder(CDirItemList &list)
{
    const auto makeKey = [](const _ITEMINFO &item) {
        SSortKey key = KindKey(item);
        key.text = CNoCaseKey(item.szFileName);
        key.number = NumberOfKey(FileOrderKey(item));
        return key;
    };
    // With sort ascending cleared the text and number orders turn round; the check itself
    // always sorts ascending.
    const auto lessByText = [](const SSortKey &a, const SSortKey &b, bool ascending) {
        int order = 0;
        if (a.number.value_or(0) > 0 && b.number.value_or(0) > 0)
            order = *a.number < *b.number ? -1 : (*a.number > *b.number ? 1 : 0);
        else
            order = a.text.Compare(b.text);
        return ascending ? order < 0 : order > 0;
    };
    SortWith(list, makeKey, lessByText);
}

} // namespace velmora

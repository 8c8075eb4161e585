#include "check/SortOrders.h"

#include "check/DirItemList.h"
#include "check/NoCaseKey.h"
#include "check/SafeSort.h"

#include <algorithm>
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

// A path's key in two parts: its folder, folded once for all the rows the walk listed in
// it one after the other, and its name. Keys for 100,000 whole paths would hold every
// folder's text once per file.
struct SPathKey
{
    bool bParent = false;
    bool bFolder = false;
    bool bSurrogates = false; // then both parts are kept as they were, not folded
    QString strFolder;        // up to and including the last '/'
    QString strName;
};

// Compares a1 + a2 with b1 + b2 unit by unit, without joining them.
int CompareJoined(QStringView a1, QStringView a2, QStringView b1, QStringView b2)
{
    while (true) {
        if (a1.isEmpty() && !a2.isEmpty())
            std::swap(a1, a2);
        if (b1.isEmpty() && !b2.isEmpty())
            std::swap(b1, b2);
        if (a1.isEmpty() || b1.isEmpty())
            return a1.isEmpty() ? (b1.isEmpty() ? 0 : -1) : 1;
        const qsizetype n = std::min(a1.size(), b1.size());
        if (const int order = a1.first(n).compare(b1.first(n), Qt::CaseSensitive))
            return order;
        a1 = a1.sliced(n);
        b1 = b1.sliced(n);
    }
}

// <0, 0 or >0, as QString::compare of the whole paths, without case.
int ComparePaths(const SPathKey &a, const SPathKey &b)
{
    if (a.bSurrogates || b.bSurrogates)
        return (a.strFolder + a.strName).compare(b.strFolder + b.strName, Qt::CaseInsensitive);
    if (a.strFolder.constData() == b.strFolder.constData())
        return a.strName.compare(b.strName, Qt::CaseSensitive);
    return CompareJoined(a.strFolder, a.strName, b.strFolder, b.strName);
}

bool HasSurrogates(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
}

// ".." first, then folders before files; nullopt when neither rule decides.
template <typename Key>
std::optional<bool> CompareByKind(const Key &a, const Key &b)
{
    if (a.bParent != b.bParent)
        return a.bParent;
    if (a.bFolder != b.bFolder)
        return a.bFolder;
    return std::nullopt;
}

// Number of a name key made of decimal digits only; large values saturate.
std::optional<quint64> NumberOfKey(QStringView key)
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

// The number the first file's name makes without its extension, if it is one; names are
// taken apart from the list's ";" joining, which a name may hold.
std::optional<quint64> FileOrderNumber(const _ITEMINFO &item)
{
    const QString name = item.FirstFileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return NumberOfKey(dot >= 0 ? QStringView(name).first(dot) : QStringView(name));
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
    std::vector<decltype(makeKey(list.Item(0)))> keys;
    keys.reserve(size_t(list.GetItemCount()));
    for (const _ITEMINFO &item : list.m_items)
        keys.push_back(makeKey(item));
    const bool ascending = list.m_bSortAscending != 0;
    const auto less = [&](int a, int b) {
        const auto &x = keys[size_t(a)];
        const auto &y = keys[size_t(b)];
        if (x.bParent && y.bParent)
            return false;
        if (const auto byKind = CompareByKind(x, y))
            return *byKind;
        return lessByText(x, y, ascending);
    };
    Reorder(list, SortedPositions(list.GetItemCount(), less));
}

template <typename Key = SSortKey>
Key KindKey(const _ITEMINFO &item)
{
    Key key;
    key.bParent = item.szFileName.Text() == u".."_s;
    key.bFolder = item.IsFolder();
    return key;
}

// Makes path keys, folding a folder once for a run of rows in it.
class CPathKeyMaker
{
public:
    SPathKey operator()(const _ITEMINFO &item)
    {
        SPathKey key = KindKey<SPathKey>(item);
        const QString path = item.FullPath();
        const qsizetype cut = path.lastIndexOf(u'/') + 1;
        const QStringView folder = QStringView(path).first(cut);
        const QStringView name = QStringView(path).sliced(cut);
        key.bSurrogates = HasSurrogates(path);
        if (key.bSurrogates) {
            key.strFolder = folder.toString();
            key.strName = name.toString();
            return key;
        }
        if (folder != m_strLastFolder) {
            m_strLastFolder = folder.toString();
            m_strLastFolded = m_strLastFolder.toCaseFolded();
        }
        key.strFolder = m_strLastFolded;
        key.strName = name.toString().toCaseFolded();
        return key;
    }

private:
    QString m_strLastFolder;
    QString m_strLastFolded;
};

} // namespace

void SortByDirectoryOrder(CDirItemList &list)
{
    const auto lessByText = [](const SPathKey &a, const SPathKey &b, bool) { return ComparePaths(a, b) < 0; };
    SortWith(list, CPathKeyMaker(), lessByText);
}

void SortByFileOrder(CDirItemList &list)
{
    const auto makeKey = [](const _ITEMINFO &item) {
        SSortKey key = KindKey(item);
        key.text = CNoCaseKey(item.szFileName);
        key.number = FileOrderNumber(item);
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

#include "playlist/KlovPlaylist.h"

#include "inspect/FileList.h"
#include "inspect/TextNumbers.h"
#include "platform/MessagePump.h"
#include "playlist/SongRecordFields.h"

#include <QHash>

#include <algorithm>
#include <numeric>
#include <optional>
#include <vector>

namespace velmora {

namespace {

QString FirstName(const _ITEMINFO &item)
{
    return item.FirstFileName();
}

// The song number of a file item: its leading number, or 0 for a name such as "000.mp3";
// nothing for any other name.
std::optional<int> SongNumberOf(const _ITEMINFO &item)
{
    const QString name = FirstName(item);
    const int number = LeadingInteger(name);
    if (number > 0)
        return number;
    const QString stem = name.section(u'.', 0, 0);
    if (!stem.isEmpty() && stem.count(u'0') == stem.size())
        return 0;
    return std::nullopt;
}

void ApplySongLine(const QString &line, _ITEMINFO &item)
{
    const QStringList fields = line.split(u'|');
    item.szTitle = fields.value(1);
    item.szArtist = fields.value(2);
    item.szAlbum = fields.value(5);
    item.nTrack = 0;
    item.szGenre.Clear();
    item.nYear = 0;
    ParseSettings(fields.value(6), item);
    const QString track = fields.value(7);
    if (track.contains(u'-'))
        DecodeTrackText(track, item);
    item.dwFlags |= ITEM_DETAILS_LOADED;
}

// The lines the items did not take stay; the used ones are consumed.
void RemoveUsedLines(QStringList &lines, const std::vector<bool> &used)
{
    QStringList left;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!used[size_t(i)])
            left.append(lines.at(i));
    }
    lines = left;
}

// The binary search needs the lines in number order; a list kept by hand is not always,
// so they are put in order first (equal numbers keep their order).
void SortByLeadingNumber(QStringList &lines, std::vector<int> &numbers)
{
    std::vector<qsizetype> order(size_t(lines.size()));
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> keys;
    keys.reserve(order.size());
    for (const QString &line : std::as_const(lines))
        keys.push_back(LeadingInteger(line));
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[size_t(a)] < keys[size_t(b)];
    });
    QStringList sorted;
    sorted.reserve(lines.size());
    numbers.clear();
    for (const qsizetype index : order) {
        sorted.append(lines.at(index));
        numbers.push_back(keys[size_t(index)]);
    }
    lines = sorted;
}

// Among the lines of one number the first one no item has taken yet; -1 when none is left.
qsizetype FreeLineOfNumber(const QStringList &lines, const std::vector<int> &numbers, const std::vector<bool> &used,
                           int number)
{
    qsizetype found = FindByNumber(lines, number);
    if (found < 0)
        return -1;
    while (found > 0 && numbers[size_t(found - 1)] == number)
        --found;
    for (; found < lines.size() && numbers[size_t(found)] == number; ++found) {
        if (!used[size_t(found)])
            return found;
    }
    return -1;
}

void ApplyByNumber(CArray<_ITEMINFO> &items, QStringList &lines)
{
    std::vector<int> numbers;
    SortByLeadingNumber(lines, numbers);
    std::vector<bool> used(size_t(lines.size()), false);
    for (_ITEMINFO &item : items) {
        const std::optional<int> number = item.IsFolder() ? std::nullopt : SongNumberOf(item);
        const qsizetype line = number ? FreeLineOfNumber(lines, numbers, used, *number) : -1;
        if (line >= 0) {
            ApplySongLine(lines.at(line), item);
            used[size_t(line)] = true;
        }
        PumpMessages();
    }
    RemoveUsedLines(lines, used);
}

// Field 0 of each line to the lines that carry it, in list order.
QHash<QString, QList<qsizetype>> LinesByName(const QStringList &lines)
{
    QHash<QString, QList<qsizetype>> byName;
    for (qsizetype i = 0; i < lines.size(); ++i)
        byName[lines.at(i).section(u'|', 0, 0)].append(i);
    return byName;
}

void ApplyByName(CArray<_ITEMINFO> &items, QStringList &lines)
{
    QHash<QString, QList<qsizetype>> byName = LinesByName(lines);
    std::vector<bool> used(size_t(lines.size()), false);
    for (_ITEMINFO &item : items) {
        if (!item.IsFolder()) {
            const auto match = byName.find(FirstName(item));
            if (match != byName.end() && !match->isEmpty()) {
                const qsizetype line = match->takeFirst();
                ApplySongLine(lines.at(line), item);
                used[size_t(line)] = true;
            }
        }
        PumpMessages();
    }
    RemoveUsedLines(lines, used);
}

} // namespace

void ApplySongList(CArray<_ITEMINFO> &items, QStringList &lines)
{
    const qsizetype numbered = std::count_if(lines.cbegin(), lines.cend(),
                                             [](const QString &line) { return LeadingInteger(line) > 0; });
    if (numbered * 2 > lines.size())
        ApplyByNumber(items, lines);
    else
        ApplyByName(items, lines);
}

} // namespace velmora

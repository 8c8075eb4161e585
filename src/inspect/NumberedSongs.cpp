#include "inspect/NumberedSongs.h"

#include "inspect/FileList.h"
#include "inspect/TextNumbers.h"
#include "platform/FindFile.h"

#include <array>

namespace velmora {

namespace {

constexpr int kSlotCount = 1000;

bool IsSongFileEnding(const QString &name)
{
    static const char16_t *const endings[] = {u".mp3", u".wav", u".mdk", u".mid", u".avi", u".wma", u".wmv",
                                              u".mcg", u".cdg", u".txt", u".ncg", u".zip", u".pcg", u"scdg"};
    for (const char16_t *ending : endings) {
        if (HasEnding(name, ending))
            return true;
    }
    return false;
}

} // namespace

bool ListNumberedSongs(const QString &folder, QStringList &list)
{
    CFindFile find;
    if (!find.FindFile(folder))
        return false;
    std::array<int, kSlotCount> entryOfSlot;
    entryOfSlot.fill(-1);
    list.clear();
    SFindRecord record;
    while (find.FindNextFile(record)) {
        const QString &name = record.cFileName;
        const int number = LeadingInteger(name);
        if (record.IsFolder() || number <= 0 || !IsSongFileEnding(name))
            continue;
        int &slot = entryOfSlot[size_t(number % kSlotCount)];
        if (slot < 0) {
            slot = int(list.size());
            list.append(name);
        } else {
            QString &entry = list[slot];
            entry += entry.isEmpty() ? name : u';' + name;
        }
    }
    return true;
}

} // namespace velmora

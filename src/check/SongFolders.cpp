#include "check/SongFolders.h"

#include "base/Format.h"
#include "check/DirItemList.h"
#include "inspect/FileList.h"
#include "inspect/TextNumbers.h"
#include "platform/FindFile.h"
#include "platform/NameLookup.h"
#include "base/StdioFileEx.h"

#include <QHash>
#include <QSet>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kFolderCount = 100;
constexpr int kFolderStep = 1000;

bool IsSongFile(const QString &name)
{
    static const char16_t *const endings[] = {u".mp3", u".wav", u".wma", u".mid", u".mdk", u".avi", u".wmv",
                                              u".mpg", u".cdg", u".mcg", u".pcg", u".ncg", u".txt"};
    for (const char16_t *ending : endings) {
        if (HasEnding(name, ending))
            return true;
    }
    return false;
}

bool IsAnyOf(const QString &name, std::initializer_list<const char16_t *> endings)
{
    for (const char16_t *ending : endings) {
        if (HasEnding(name, ending))
            return true;
    }
    return false;
}

// The lines of a song list that name a song: trimmed, with a "|" and a number other than 0.
QStringList ReadSongList(const QString &path)
{
    QStringList lines;
    CStdioFileEx file;
    if (path.isEmpty() || !file.Open(path, CStdioFileEx::modeRead | CStdioFileEx::typeText))
        return lines;
    QString line;
    while (file.ReadString(line)) {
        const QString trimmed = line.trimmed();
        if (trimmed.contains(u'|') && LeadingInteger(trimmed) != 0)
            lines.append(trimmed);
    }
    return lines;
}

// Graphics first (and, when the song has an MP3, its video too), the dashed MP3 last.
QStringList OrderSongFiles(QStringList names)
{
    if (names.size() < 2)
        return names;
    const bool hasMp3 = names.join(u';').contains(u".mp3"_s, Qt::CaseInsensitive);
    if (names.first().endsWith(u"-.mp3"_s, Qt::CaseInsensitive))
        names.append(names.takeFirst());
    QStringList ordered;
    QStringList rest;
    for (const QString &name : std::as_const(names)) {
        const bool graphics = IsAnyOf(name, {u".cdg", u".mcg", u".ncg", u".pcg"});
        const bool video = hasMp3 && IsAnyOf(name, {u".avi", u".wmv"});
        (graphics || video ? ordered : rest).append(name);
    }
    return ordered + rest;
}

struct SSongFiles
{
    QList<QStringList> entries;          // the file names of each song, in the order first met
    QHash<int, qsizetype> entryOfNumber;
    QHash<QString, SFindRecord> records; // by file name
};

SSongFiles CollectSongFiles(const QString &folder)
{
    SSongFiles files;
    CFindFile find;
    if (!find.FindFile(folder))
        return files;
    SFindRecord record;
    while (find.FindNextFile(record)) {
        const QString name = record.cFileName;
        const int number = LeadingInteger(name);
        if (name == u"."_s || !IsSongFile(name) || number <= 0)
            continue;
        const auto found = files.entryOfNumber.constFind(number);
        if (found == files.entryOfNumber.cend()) {
            files.entryOfNumber.insert(number, files.entries.size());
            files.entries.append(QStringList{name});
        } else {
            files.entries[*found].append(name);
        }
        files.records.insert(name, record);
    }
    for (QStringList &entry : files.entries)
        entry = OrderSongFiles(entry);
    return files;
}

void AddSongRow(CDirItemList &list, const QString &folder, const SSongFiles &files, qsizetype entry,
                const QString &line)
{
    const QStringList names = files.entries.at(entry);
    const auto record = files.records.constFind(names.first());
    if (record == files.records.cend())
        return;
    if (!list.AddListItem(*record, folder + u'/' + names.first(), 0))
        return;
    // The joined line is "files|number|title|artist|...".
    const QStringList fields = line.split(u'|');
    _ITEMINFO &item = list.Item(list.GetItemCount() - 1);
    item.SetFileNames(names);
    item.szTitle = fields.value(1);
    item.szArtist = fields.value(2);
    item.dwFlags |= ITEM_DETAILS_LOADED;
}

void ListOneFolder(CDirItemList &list, const QString &folder, int number)
{
    const QString listName = Format(u"ZR%06d.txt", number);
    const QStringList lines = ReadSongList(ResolveNameNoCase(folder, listName));
    const SSongFiles files = CollectSongFiles(folder);
    QSet<qsizetype> used;
    // Each list line takes the song files of its number, at most once; a line without
    // files makes no row.
    for (const QString &line : lines) {
        const auto entry = files.entryOfNumber.constFind(LeadingInteger(line));
        if (entry == files.entryOfNumber.cend() || used.contains(*entry))
            continue;
        used.insert(*entry);
        AddSongRow(list, folder, files, *entry, line);
    }
}

} // namespace

void ListSongFolders(CDirItemList &list, const QString &path)
{
    const QString base = path.endsWith(u'/') ? path : path + u'/';
    for (int i = 0; i < kFolderCount; ++i) {
        const QString folder = ResolveNameNoCase(base, Format(u"ZR%06d", i * kFolderStep));
        if (!folder.isEmpty())
            ListOneFolder(list, folder, i * kFolderStep);
    }
}

} // namespace velmora

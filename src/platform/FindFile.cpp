#include "platform/FindFile.h"

#include "platform/FileStatus.h"
#include "platform/NativeName.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>
#include <thread>
#include <dirent.h>
#include <memory>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

// A folder's entries as readdir returns them: the names' bytes one after another in one
// buffer, so reading a large folder does not allocate per entry before the names decode.
struct SNativeNames
{
    std::vector<char> bytes;
    std::vector<size_t> starts;

    void Add(const char *name)
    {
        starts.push_back(bytes.size());
        bytes.insert(bytes.end(), name, name + std::strlen(name) + 1);
    }
    size_t Count() const { return starts.size(); }
    const char *At(size_t i) const { return bytes.data() + starts[i]; }
};

// An entry that vanished or is a dangling link since the folder was read stays a plain file.
void FillStatus(int folderFd, const char *nativeName, SFindRecord &record)
{
    SFileStatus status;
    if (QueryFileStatusAt(folderFd, nativeName, &status)) {
        record.nFileSize = status.nSize;
        record.ftCreationTime = status.ftCreationTime;
        record.ftLastAccessTime = status.ftLastAccessTime;
        record.ftLastWriteTime = status.ftLastWriteTime;
        record.dwFileAttributes = FileAttributesOf(status);
    } else {
        record.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    }
}

// The kernel's path lookup and attribute read are most of a large folder's search; from this
// many entries on, a second thread stats the second half while this one stats the first and
// decodes the names.
constexpr size_t kSharedStatFrom = 2048;

void StatEntries(int folderFd, const SNativeNames &names, std::vector<SFindRecord> &records)
{
    const auto statRange = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i)
            FillStatus(folderFd, names.At(i), records[i]);
    };
    const size_t count = names.Count();
    std::optional<std::thread> helper;
    if (count >= kSharedStatFrom) {
        try {
            helper.emplace(statRange, count / 2, count);
        } catch (const std::system_error &) {
            helper.reset(); // no thread to be had: stat everything here
        }
    }
    statRange(0, helper ? count / 2 : count);
    for (size_t i = 0; i < count; ++i)
        records[i].cFileName = DecodeNativeName(QByteArrayView(names.At(i)));
    if (helper)
        helper->join();
}

// The order of an NTFS directory: code units compared after upper-casing, which puts
// "_" after the letters, unlike a lower-case fold would. Each code unit is upper-cased on its
// own (no special casing such as "ß" to "SS"), so a name's key has the name's length.
char16_t UpperUnit(char16_t unit)
{
    if (unit < 0x80)
        return unit >= u'a' && unit <= u'z' ? char16_t(unit - (u'a' - u'A')) : unit;
    return QChar(unit).toUpper().unicode();
}

int DotRank(const QString &name)
{
    if (name == u"."_s)
        return 0;
    if (name == u".."_s)
        return 1;
    return 2;
}

// One entry's place in the sort: its rank, its key in the shared key buffer, its record.
struct SSortEntry
{
    int rank;
    QStringView key;
    size_t index;
};

// The upper-cased keys of all names, built once into one buffer that the sort entries view.
std::vector<SSortEntry> SortEntries(const std::vector<SFindRecord> &records, std::vector<char16_t> &keys)
{
    size_t total = 0;
    for (const SFindRecord &record : records)
        total += size_t(record.cFileName.size());
    keys.resize(total);
    std::vector<SSortEntry> entries;
    entries.reserve(records.size());
    size_t at = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const QString &name = records[i].cFileName;
        const size_t start = at;
        for (const QChar unit : name)
            keys[at++] = UpperUnit(unit.unicode());
        entries.push_back({DotRank(name), QStringView(keys.data() + start, qsizetype(at - start)), i});
    }
    return entries;
}

} // namespace

quint32 FileAttributesOf(const SFileStatus &status)
{
    if (status.bFolder)
        return FILE_ATTRIBUTE_DIRECTORY;
    return status.bRegular ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_DEVICE;
}

bool CFindFile::FindFile(const QString &folder)
{
    Close();
    if (folder.isEmpty())
        return false;
    std::unique_ptr<DIR, DirCloser> dir(opendir(EncodeNativeName(folder).constData()));
    if (!dir)
        return false;
    SNativeNames names;
    while (const dirent *entry = readdir(dir.get()))
        names.Add(entry->d_name);
    std::vector<SFindRecord> records(names.Count());
    StatEntries(dirfd(dir.get()), names, records);

    std::vector<char16_t> keys;
    std::vector<SSortEntry> order = SortEntries(records, keys);
    // "." and ".." first, then by upper-cased key, ties broken by the exact name.
    std::sort(order.begin(), order.end(), [&](const SSortEntry &a, const SSortEntry &b) {
        if (a.rank != b.rank)
            return a.rank < b.rank;
        const int folded = a.key.compare(b.key);
        if (folded != 0)
            return folded < 0;
        return records[a.index].cFileName < records[b.index].cFileName;
    });
    m_entries.reserve(records.size());
    for (const SSortEntry &entry : order)
        m_entries.push_back(std::move(records[entry.index]));
    return !m_entries.empty();
}

bool CFindFile::FindNextFile(SFindRecord &record)
{
    if (m_next >= m_entries.size())
        return false;
    record = std::move(m_entries[m_next++]);
    return true;
}

void CFindFile::Close()
{
    m_entries.clear();
    m_next = 0;
}

} // namespace velmora

#include "platform/FindFile.h"

#include "platform/FileStatus.h"
#include "platform/NativeName.h"

#include <algorithm>
#include <dirent.h>
#include <memory>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

SFindRecord MakeRecord(int folderFd, const char *nativeName)
{
    SFindRecord record;
    record.cFileName = DecodeNativeName(QByteArray(nativeName));
    SFileStatus status;
    // An entry that vanished or is a dangling link since the folder was read stays a plain file.
    if (QueryFileStatusAt(folderFd, nativeName, &status)) {
        record.nFileSize = status.nSize;
        record.ftCreationTime = status.ftCreationTime;
        record.ftLastAccessTime = status.ftLastAccessTime;
        record.ftLastWriteTime = status.ftLastWriteTime;
    }
    record.dwFileAttributes = status.bFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    return record;
}

// The order of an NTFS directory: code units compared after upper-casing, which puts
// "_" after the letters, unlike a lower-case fold would. Each code unit is upper-cased on its
// own (no special casing such as "ß" to "SS"), so the key has the name's length.
QString UpperCaseKey(const QString &name)
{
    QString key(name.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < name.size(); ++i)
        key[i] = name.at(i).toUpper();
    return key;
}

int DotRank(const QString &name)
{
    if (name == u"."_s)
        return 0;
    if (name == u".."_s)
        return 1;
    return 2;
}

// A directory entry with its sort key computed once, not in every comparison.
struct SSortedRecord
{
    int dotRank;
    QString key;
    SFindRecord record;
};

// "." and ".." first, then by upper-cased key, ties broken by the exact name.
bool SortsBefore(const SSortedRecord &a, const SSortedRecord &b)
{
    if (a.dotRank != b.dotRank)
        return a.dotRank < b.dotRank;
    const int folded = QStringView(a.key).compare(b.key);
    if (folded != 0)
        return folded < 0;
    return a.record.cFileName < b.record.cFileName;
}

} // namespace

bool CFindFile::FindFile(const QString &folder)
{
    Close();
    if (folder.isEmpty())
        return false;
    std::unique_ptr<DIR, DirCloser> dir(opendir(EncodeNativeName(folder).constData()));
    if (!dir)
        return false;
    std::vector<SSortedRecord> sorted;
    const int folderFd = dirfd(dir.get());
    while (const dirent *entry = readdir(dir.get())) {
        SFindRecord record = MakeRecord(folderFd, entry->d_name);
        const int rank = DotRank(record.cFileName);
        QString key = UpperCaseKey(record.cFileName);
        sorted.push_back({rank, std::move(key), std::move(record)});
    }
    std::sort(sorted.begin(), sorted.end(), SortsBefore);
    m_entries.reserve(sorted.size());
    for (SSortedRecord &entry : sorted)
        m_entries.push_back(std::move(entry.record));
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

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

SFindRecord MakeRecord(const QString &folder, const QString &name)
{
    SFindRecord record;
    record.cFileName = name;
    SFileStatus status;
    QString full = folder;
    if (!full.endsWith(u'/'))
        full += u'/';
    full += name;
    // An entry that vanished or is a dangling link since the folder was read stays a plain file.
    if (QueryFileStatus(full, &status)) {
        record.nFileSize = status.nSize;
        record.ftCreationTime = status.ftCreationTime;
        record.ftLastAccessTime = status.ftLastAccessTime;
        record.ftLastWriteTime = status.ftLastWriteTime;
    }
    record.dwFileAttributes = status.bFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    return record;
}

// The order of an NTFS directory: code units compared after upper-casing, which puts
// "_" after the letters, unlike a lower-case fold would.
int CompareUpperCase(const QString &a, const QString &b)
{
    const qsizetype count = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t x = a.at(i).toUpper().unicode();
        const char16_t y = b.at(i).toUpper().unicode();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int DotRank(const QString &name)
{
    if (name == u"."_s)
        return 0;
    if (name == u".."_s)
        return 1;
    return 2;
}

} // namespace

bool CFindFile::CompareNames(const QString &a, const QString &b)
{
    const int rankA = DotRank(a);
    const int rankB = DotRank(b);
    if (rankA != rankB)
        return rankA < rankB;
    const int folded = CompareUpperCase(a, b);
    if (folded != 0)
        return folded < 0;
    return a < b;
}

bool CFindFile::FindFile(const QString &folder)
{
    Close();
    if (folder.isEmpty())
        return false;
    std::unique_ptr<DIR, DirCloser> dir(opendir(EncodeNativeName(folder).constData()));
    if (!dir)
        return false;
    while (const dirent *entry = readdir(dir.get()))
        m_entries.push_back(MakeRecord(folder, DecodeNativeName(QByteArray(entry->d_name))));
    std::sort(m_entries.begin(), m_entries.end(), [](const SFindRecord &a, const SFindRecord &b) {
        return CompareNames(a.cFileName, b.cFileName);
    });
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

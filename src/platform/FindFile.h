#pragma once

#include "platform/FileTime.h"

#include <QString>
#include <vector>

namespace velmora {

struct SFileStatus;

constexpr quint32 FILE_ATTRIBUTE_DIRECTORY = 0x10;
// Set on entries that are neither folders nor regular files (pipes, sockets, devices): they
// are listed like files but never opened.
constexpr quint32 FILE_ATTRIBUTE_DEVICE = 0x40;
constexpr quint32 FILE_ATTRIBUTE_NORMAL = 0x80;

// One entry of a directory search, shaped like the Win32 search record the checker was
// designed around.
struct SFindRecord
{
    quint32 dwFileAttributes = 0;
    SFileTime ftCreationTime;
    SFileTime ftLastAccessTime;
    SFileTime ftLastWriteTime;
    quint64 nFileSize = 0;
    QString cFileName;

    bool IsFolder() const { return (dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsDevice() const { return (dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0; }
};

// The attributes of an entry of that status: folder, device (neither folder nor regular
// file) or normal.
quint32 FileAttributesOf(const SFileStatus &status);

// Directory search over one folder. The entries come back as Windows users see them:
// "." and ".." first, then the names sorted without regard to case (then by exact name),
// so every run over the same folder is identical whatever order the file system keeps.
class CFindFile
{
public:
    // Reads the folder; false when it cannot be searched (missing, not a folder, no access).
    bool FindFile(const QString &folder);
    bool FindNextFile(SFindRecord &record);
    void Close();
    // Entries found by the last search, returned or not.
    size_t EntryCount() const { return m_entries.size(); }

private:
    std::vector<SFindRecord> m_entries;
    size_t m_next = 0;
};

} // namespace velmora

#include "rescan/TreeDescription.h"

#include "cache/FileKey.h"
#include "platform/NativeName.h"

#include <QByteArray>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

namespace {

// Record tags of the stream.
constexpr char kFolder = 'D';         // a folder's path below the root, before its entries
constexpr char kUnreadFolder = 'U';   // a folder that could not be opened or read, and why
constexpr char kRepeatedFolder = 'R'; // a folder reached again through a link
constexpr char kEntry = 'E';          // an entry and its status
constexpr char kUnknownEntry = 'X';   // an entry whose status could not be read, and why

constexpr qsizetype kChunkBytes = 64 * 1024;

class CDescriptionWriter
{
public:
    explicit CDescriptionWriter(const DescriptionSink &sink) : m_sink(sink) { m_buffer.reserve(kChunkBytes + 4096); }
    ~CDescriptionWriter() { Flush(); }
    CDescriptionWriter(const CDescriptionWriter &) = delete;
    CDescriptionWriter &operator=(const CDescriptionWriter &) = delete;

    template <typename T> void Put(T value) { m_buffer.append(reinterpret_cast<const char *>(&value), sizeof value); }
    void PutName(char tag, std::string_view name)
    {
        m_buffer.append(tag);
        Put(quint32(name.size()));
        m_buffer.append(name.data(), qsizetype(name.size()));
    }
    void EndRecord()
    {
        if (m_buffer.size() >= kChunkBytes)
            Flush();
    }
    void Flush()
    {
        if (!m_buffer.isEmpty() && m_sink)
            m_sink(m_buffer);
        m_buffer.clear();
    }

private:
    const DescriptionSink &m_sink;
    QByteArray m_buffer;
};

struct SFolderId
{
    dev_t device;
    ino_t inode;
    friend auto operator<=>(const SFolderId &, const SFolderId &) = default;
};

class CTreeWalk
{
public:
    CTreeWalk(QByteArray root, CDescriptionWriter &writer) : m_root(std::move(root)), m_writer(writer) {}

    STreeDescription Run(const WalkStopCheck &stopRequested)
    {
        std::vector<std::string> pending{std::string()};
        while (!pending.empty()) {
            if (stopRequested && stopRequested(m_result.nEntries))
                return m_result;
            std::string folder = std::move(pending.back());
            pending.pop_back();
            std::vector<std::string> subfolders = DescribeFolder(folder);
            for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
                pending.push_back(std::move(*it));
        }
        m_result.bComplete = true;
        return m_result;
    }

private:
    std::string PathOf(const std::string &relative) const
    {
        std::string path(m_root.constData(), size_t(m_root.size()));
        if (!relative.empty())
            path.append(1, '/').append(relative);
        return path;
    }

    void Unread(const std::string &folder, int error)
    {
        m_writer.PutName(kUnreadFolder, folder);
        m_writer.Put(qint32(error));
        m_writer.EndRecord();
    }

    // Describes one folder's entries; its subfolders, in name order, for the caller to visit.
    std::vector<std::string> DescribeFolder(const std::string &folder)
    {
        const int fd = ::open(PathOf(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            Unread(folder, errno);
            return {};
        }
        struct stat own {};
        if (::fstat(fd, &own) != 0) {
            Unread(folder, errno);
            ::close(fd);
            return {};
        }
        if (!m_visited.insert(SFolderId{own.st_dev, own.st_ino}).second) {
            m_writer.PutName(kRepeatedFolder, folder);
            m_writer.EndRecord();
            ::close(fd);
            return {};
        }
        m_writer.PutName(kFolder, folder);
        PutStatus(own);
        DIR *listing = ::fdopendir(fd);
        if (!listing) {
            Unread(folder, errno);
            ::close(fd);
            return {};
        }
        std::vector<std::string> names = ReadNames(listing, folder);
        std::vector<std::string> subfolders;
        for (const std::string &name : names) {
            struct stat info {};
            if (::fstatat(::dirfd(listing), name.c_str(), &info, 0) != 0) {
                m_writer.PutName(kUnknownEntry, name);
                m_writer.Put(qint32(errno));
                m_writer.EndRecord();
                continue;
            }
            m_writer.PutName(kEntry, name);
            PutStatus(info);
            if (S_ISDIR(info.st_mode))
                subfolders.push_back(folder.empty() ? name : folder + '/' + name);
        }
        ::closedir(listing);
        return subfolders;
    }

    std::vector<std::string> ReadNames(DIR *listing, const std::string &folder)
    {
        std::vector<std::string> names;
        errno = 0;
        while (const dirent *entry = ::readdir(listing)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                names.emplace_back(entry->d_name);
            errno = 0;
        }
        if (errno != 0)
            Unread(folder, errno); // what was read before the failure is still described
        std::sort(names.begin(), names.end());
        return names;
    }

    void PutStatus(const struct stat &info)
    {
        const qint64 modified = Nanoseconds(info.st_mtim);
        const qint64 changed = Nanoseconds(info.st_ctim);
        m_writer.Put(quint32(info.st_mode));
        m_writer.Put(qint64(info.st_size));
        m_writer.Put(modified);
        m_writer.Put(changed);
        m_writer.Put(quint64(info.st_ino));
        m_writer.EndRecord();
        m_result.nNewestNs = std::max({m_result.nNewestNs, modified, changed});
        ++m_result.nEntries;
    }

    QByteArray m_root;
    CDescriptionWriter &m_writer;
    std::set<SFolderId> m_visited;
    STreeDescription m_result;
};

} // namespace

STreeDescription DescribeTree(const QString &folder, const DescriptionSink &sink,
                              const WalkStopCheck &stopRequested)
{
    QByteArray root = EncodeNativeName(folder);
    while (root.size() > 1 && root.endsWith('/'))
        root.chop(1);
    CDescriptionWriter writer(sink);
    return CTreeWalk(std::move(root), writer).Run(stopRequested);
}

} // namespace velmora

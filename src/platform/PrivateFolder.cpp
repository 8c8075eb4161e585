#include "platform/PrivateFolder.h"

#include "platform/NativeName.h"
#include "platform/SystemFolders.h"

#include <QByteArray>
#include <QStringList>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// Nested folders of extracted packages are shallow; anything deeper is not removed.
constexpr int kMaxRemoveDepth = 128;

QString UserSuffix()
{
    return QString::number(qulonglong(::geteuid()));
}

// A folder of this process alone, for when the per-user one is refused; made anew when it
// fails its check (the temporary folder changed, someone removed it), removed at exit.
class CProcessFolder
{
public:
    ~CProcessFolder()
    {
        for (const QString &folder : m_made)
            RemoveFolderTree(folder);
    }
    QString Path()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_made.isEmpty() || !IsPrivateFolder(m_made.last())) {
            const QString folder = MakeUniqueFolder(SystemTempFolder(), u"velmora-"_s + UserSuffix() + u'-');
            if (folder.isEmpty())
                return {};
            m_made.append(folder);
        }
        return m_made.last();
    }

private:
    std::mutex m_mutex;
    QStringList m_made;
};

CProcessFolder &ProcessFolder()
{
    static CProcessFolder folder;
    return folder;
}

QString RuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !runtime.startsWith(u'/') || !IsPrivateFolder(runtime))
        return {};
    const QString folder = (runtime.endsWith(u'/') ? runtime : runtime + u'/') + u"velmora"_s;
    return EnsurePrivateFolder(folder) ? folder : QString();
}

bool IsPlainStep(const QString &step)
{
    return !step.isEmpty() && step != u"."_s && step != u".."_s && !step.contains(u'/');
}

bool RemoveEntries(int folder, int depth)
{
    if (depth > kMaxRemoveDepth)
        return false;
    const int listing = ::dup(folder);
    DIR *entries = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!entries) {
        if (listing >= 0)
            ::close(listing);
        return false;
    }
    bool removed = true;
    while (const dirent *entry = ::readdir(entries)) {
        const char *name = entry->d_name;
        if (qstrcmp(name, ".") == 0 || qstrcmp(name, "..") == 0)
            continue;
        struct stat info {};
        if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            removed = false;
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            removed = inner >= 0 && RemoveEntries(inner, depth + 1) && removed;
            if (inner >= 0)
                ::close(inner);
            removed = ::unlinkat(folder, name, AT_REMOVEDIR) == 0 && removed;
        } else {
            removed = ::unlinkat(folder, name, 0) == 0 && removed;
        }
    }
    ::closedir(entries);
    return removed;
}

} // namespace

bool IsPrivateFolder(const QString &path)
{
    struct stat info {};
    return !path.isEmpty() && ::lstat(EncodeNativeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

bool EnsurePrivateFolder(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    if (::mkdir(EncodeNativeName(folder).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return IsPrivateFolder(folder);
}

QString PrivateWorkFolder()
{
    const QString runtime = RuntimeFolder();
    if (!runtime.isEmpty())
        return runtime;
    const QString shared = SystemTempFolder() + u"velmora-"_s + UserSuffix();
    if (EnsurePrivateFolder(shared))
        return shared;
    return ProcessFolder().Path();
}

QString PrivateWorkSubfolder(const QString &relative)
{
    QString path = PrivateWorkFolder();
    if (path.isEmpty())
        return {};
    for (const QString &step : relative.split(u'/', Qt::SkipEmptyParts)) {
        if (!IsPlainStep(step))
            return {};
        path += u'/' + step;
        if (!EnsurePrivateFolder(path))
            return {};
    }
    return path;
}

QString MakeUniqueFolder(const QString &folder, const QString &prefix)
{
    if (folder.isEmpty() || prefix.contains(u'/'))
        return {};
    QByteArray pattern = EncodeNativeName((folder.endsWith(u'/') ? folder : folder + u'/') + prefix) + "XXXXXX";
    // mkdtemp makes the folder with mode 0700.
    if (!::mkdtemp(pattern.data()))
        return {};
    return DecodeNativeName(pattern);
}

bool RemoveFolderTree(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QByteArray native = EncodeNativeName(folder);
    const int handle = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (handle < 0)
        return errno == ENOENT;
    const bool emptied = RemoveEntries(handle, 0);
    ::close(handle);
    return ::rmdir(native.constData()) == 0 && emptied;
}

std::unique_ptr<QFile> CreateFreshFile(const QString &path, int mode)
{
    if (path.isEmpty())
        return nullptr;
    const QByteArray native = EncodeNativeName(path);
    struct stat info {};
    if (::lstat(native.constData(), &info) == 0 && (S_ISDIR(info.st_mode) || ::unlink(native.constData()) != 0))
        return nullptr;
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode_t(mode));
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

} // namespace velmora

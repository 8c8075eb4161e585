#include "platform/NameLookup.h"

#include "platform/FileStatus.h"
#include "platform/NativeName.h"

#include <dirent.h>
#include <memory>

namespace velmora {

namespace {
struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

QString Join(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}
} // namespace

QString ResolveNameNoCase(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || name.isEmpty())
        return {};
    const QString exact = Join(folder, name);
    if (QueryFileStatus(exact))
        return exact;
    std::unique_ptr<DIR, DirCloser> dir(opendir(EncodeNativeName(folder).constData()));
    if (!dir)
        return {};
    // The first match in name order, so the choice does not depend on the file system.
    QString best;
    while (const dirent *entry = readdir(dir.get())) {
        const QString candidate = DecodeNativeName(QByteArrayView(entry->d_name));
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 && (best.isEmpty() || candidate < best))
            best = candidate;
    }
    return best.isEmpty() ? QString() : Join(folder, best);
}

} // namespace velmora

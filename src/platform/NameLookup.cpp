#include "platform/NameLookup.h"

#include "platform/FileStatus.h"
#include "platform/NativeName.h"

#include <QStringList>
#include <dirent.h>
#include <ctime>
#include <sys/stat.h>
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

namespace {

// A bound on the folders kept, so that a hostile playlist naming a million folders cannot
// hold their listings all at once.
constexpr qsizetype kMaxFoldersKept = 256;

constexpr qint64 kSecondNs = 1'000'000'000;

qint64 NowNs()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * kSecondNs + now.tv_nsec;
}

// The folder's last change as one number; -1 when it cannot be read as a folder.
qint64 FolderChangeTime(const QString &folder)
{
    struct stat info {};
    if (::stat(EncodeNativeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return -1;
    return qint64(info.st_mtim.tv_sec) * kSecondNs + info.st_mtim.tv_nsec;
}

} // namespace

const CNoCaseNames::SFolder *CNoCaseNames::Listing(const QString &folder)
{
    const qint64 changed = FolderChangeTime(folder);
    if (changed < 0)
        return nullptr;
    // A folder changed within the second before it was read may have changed again since
    // without a new time (coarse file-system clocks): such a listing is not trusted again.
    const auto known = m_folders.constFind(folder);
    if (known != m_folders.cend() && known->nChangeTime == changed && changed + kSecondNs < known->nReadTime)
        return &*known;
    std::unique_ptr<DIR, DirCloser> dir(opendir(EncodeNativeName(folder).constData()));
    if (!dir)
        return nullptr;
    SFolder listing;
    listing.nChangeTime = changed;
    listing.nReadTime = NowNs();
    while (const dirent *entry = readdir(dir.get())) {
        const QString name = DecodeNativeName(QByteArrayView(entry->d_name));
        QString &kept = listing.byFoldedName[name.toCaseFolded()];
        if (kept.isEmpty() || name < kept)
            kept = name;
    }
    if (m_folders.size() >= kMaxFoldersKept)
        m_folders.clear();
    return &*m_folders.insert(folder, std::move(listing));
}

QString CNoCaseNames::ResolveStep(const QString &folder, const QString &name)
{
    const QString exact = Join(folder, name);
    if (QueryFileStatus(exact))
        return exact;
    const SFolder *listing = Listing(folder);
    if (!listing)
        return {};
    const QString found = listing->byFoldedName.value(name.toCaseFolded());
    return found.isEmpty() ? QString() : Join(folder, found);
}

QString CNoCaseNames::Resolve(const QString &folder, const QString &relative)
{
    if (folder.isEmpty() || relative.isEmpty())
        return {};
    const QString whole = Join(folder, relative);
    if (QueryFileStatus(whole))
        return whole;
    // The deepest folder that exists as written, then each step below it in any case.
    QString base = folder;
    QStringList steps = relative.split(u'/', Qt::SkipEmptyParts);
    while (!QueryFileStatus(base)) {
        const qsizetype cut = base.endsWith(u'/') ? base.lastIndexOf(u'/', base.size() - 2) : base.lastIndexOf(u'/');
        if (cut < 0)
            return {};
        const QString step = base.mid(cut + 1).remove(u'/');
        if (!step.isEmpty())
            steps.prepend(step);
        base = base.left(cut + 1);
    }
    for (const QString &step : std::as_const(steps)) {
        base = ResolveStep(base, step);
        if (base.isEmpty())
            return {};
    }
    return base;
}

} // namespace velmora

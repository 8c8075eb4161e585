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
// A listing looked at this recently is taken without asking the folder again: a playlist's
// rows come one after another, mostly from one folder.
constexpr qint64 kRecheckAfterNs = 100'000'000;

qint64 ClockNs(clockid_t clock)
{
    timespec now {};
    ::clock_gettime(clock, &now);
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

// The folder above a folder path ("/a/b/" and "/a/b" give "/a/"), and the step left out.
bool PeelLastStep(QString &folder, QString &step)
{
    const qsizetype end = folder.endsWith(u'/') ? folder.size() - 2 : folder.size() - 1;
    const qsizetype cut = end < 0 ? -1 : folder.lastIndexOf(u'/', end);
    if (cut < 0)
        return false;
    step = folder.mid(cut + 1, end - cut);
    folder.truncate(cut + 1);
    return true;
}

} // namespace

const CNoCaseNames::SFolder *CNoCaseNames::Listing(const QString &folder)
{
    const qint64 now = ClockNs(CLOCK_MONOTONIC);
    const auto known = m_folders.find(folder);
    if (known != m_folders.end() && now - known->nCheckedAt < kRecheckAfterNs)
        return &*known;
    const qint64 changed = FolderChangeTime(folder);
    if (changed < 0)
        return nullptr;
    // A folder changed within the second before it was read may have changed again since
    // without a new time (coarse file-system clocks): such a listing is not trusted again.
    if (known != m_folders.end() && known->nChangeTime == changed && changed + kSecondNs < known->nReadTime) {
        known->nCheckedAt = now;
        return &*known;
    }
    std::unique_ptr<DIR, DirCloser> dir(opendir(EncodeNativeName(folder).constData()));
    if (!dir)
        return nullptr;
    SFolder listing;
    listing.nChangeTime = changed;
    listing.nReadTime = ClockNs(CLOCK_REALTIME);
    listing.nCheckedAt = now;
    while (const dirent *entry = readdir(dir.get())) {
        const QString name = DecodeNativeName(QByteArrayView(entry->d_name));
        listing.names.insert(name);
        QString &kept = listing.byFoldedName[name.toCaseFolded()];
        if (kept.isEmpty() || name < kept)
            kept = name;
    }
    if (m_folders.size() >= kMaxFoldersKept)
        m_folders.clear();
    return &*m_folders.insert(folder, std::move(listing));
}

QString CNoCaseNames::Resolve(const QString &folder, const QString &relative)
{
    if (folder.isEmpty() || relative.isEmpty())
        return {};
    const QString whole = Join(folder, relative);
    if (QueryFileStatus(whole))
        return whole;
    // The deepest folder that exists as written, then each step below it, as written when
    // it is there and otherwise in any case.
    QString base = folder;
    QStringList steps = relative.split(u'/', Qt::SkipEmptyParts);
    while (!Listing(base)) {
        QString step;
        if (!PeelLastStep(base, step))
            return {};
        if (!step.isEmpty())
            steps.prepend(step);
    }
    for (const QString &step : std::as_const(steps)) {
        const SFolder *listing = Listing(base);
        if (!listing)
            return {};
        const QString found = listing->names.contains(step) ? step : listing->byFoldedName.value(step.toCaseFolded());
        if (found.isEmpty())
            return {};
        base = Join(base, found);
    }
    return base;
}

} // namespace velmora

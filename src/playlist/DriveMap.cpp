#include "playlist/DriveMap.h"

#include "platform/Settings.h"

#include <QStorageInfo>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

int LetterSlot(QChar letter)
{
    const char16_t upper = letter.toUpper().unicode();
    return upper >= u'A' && upper <= u'Z' ? int(upper - u'A') : -1;
}

QString WithSlash(QString folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

// The deepest candidates come from long playlist paths; a bound keeps a hostile path from
// costing thousands of lookups per row.
constexpr int kMaxRelocationDepth = 64;

} // namespace

CDriveMap CDriveMap::FromSettings()
{
    CDriveMap map;
    const auto settings = OpenSettings();
    settings->beginGroup(u"Drives"_s);
    for (const QString &key : settings->childKeys()) {
        if (key.size() == 1)
            map.SetMountPoint(key.at(0), settings->value(key).toString());
    }
    return map;
}

void CDriveMap::SetMountPoint(QChar letter, const QString &mountPoint)
{
    const int slot = LetterSlot(letter);
    if (slot >= 0)
        m_mountPoints[slot] = mountPoint;
}

QChar CDriveMap::DriveLetterOf(const QString &path)
{
    if (path.size() >= 2 && path.at(1) == u':' && LetterSlot(path.at(0)) >= 0)
        return path.at(0).toUpper();
    return {};
}

QString CDriveMap::PathBelowDrive(const QString &path)
{
    QString rest = path.mid(2);
    rest.replace(u'\\', u'/');
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    return rest;
}

QString CDriveMap::MountPointOf(QChar letter) const
{
    const int slot = LetterSlot(letter);
    return slot < 0 ? QString() : m_mountPoints[slot];
}

QString CDriveMap::NativePath(const QString &path) const
{
    const QChar letter = DriveLetterOf(path);
    if (letter.isNull())
        return path;
    const QString mount = MountPointOf(letter);
    // An unmapped drive keeps its letter, so it names nothing here and relocation decides.
    const QString base = mount.isEmpty() ? path.left(2) + u'/' : WithSlash(mount);
    return base + PathBelowDrive(path);
}

QChar CDriveMap::DriveHolding(const QString &nativePath) const
{
    QChar best;
    qsizetype bestLength = -1;
    for (int slot = 0; slot < 26; ++slot) {
        const QString mount = WithSlash(m_mountPoints[slot]);
        if (mount.isEmpty() || !WithSlash(nativePath).startsWith(mount) || mount.size() <= bestLength)
            continue;
        best = QChar(char16_t(u'A' + slot));
        bestLength = mount.size();
    }
    return best;
}

bool CDriveMap::IsOpticalDrive(QChar letter) const
{
    const QString mount = MountPointOf(letter);
    if (mount.isEmpty())
        return false;
    const QStorageInfo storage(mount);
    const QByteArray type = storage.fileSystemType();
    return storage.isValid() && (type == "iso9660" || type == "udf" || storage.device().startsWith("/dev/sr"));
}

QStringList CDriveMap::RelocationCandidates(const QString &folder, const QString &playlistFolder)
{
    QStringList candidates;
    const QString rest = PathBelowDrive(folder);
    QString base = WithSlash(playlistFolder);
    for (int depth = 0; depth < kMaxRelocationDepth && !base.isEmpty(); ++depth) {
        candidates.append(base + rest);
        if (base == u"/"_s)
            break;
        base.chop(1);
        base = base.left(base.lastIndexOf(u'/') + 1);
    }
    return candidates;
}

} // namespace velmora

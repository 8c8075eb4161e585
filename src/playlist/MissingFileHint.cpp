#include "playlist/MissingFileHint.h"

#include "inspect/FileList.h"
#include "update/ZipArchive.h"

#include <QDir>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

// A folder is looked at only this far; a hint is not worth reading a huge folder for.
constexpr qsizetype kMaxEntries = 100000;
constexpr int kMaxZipItems = 4096;

QString Comparable(const QString &name)
{
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

QString BaseOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot <= 0 ? name : name.left(dot);
}

bool ZipHolds(const QString &zipPath, const QString &wanted)
{
    HZIP zip = OpenArchive(zipPath, QDir::tempPath());
    if (!zip)
        return false;
    SZipEntry count;
    DescribeItem(zip.get(), -1, count);
    bool found = false;
    for (int i = 0; i < std::min(count.nIndex, kMaxZipItems) && !found; ++i) {
        SZipEntry item;
        if (DescribeItem(zip.get(), i, item) == ZR_OK)
            found = Comparable(item.strName.section(u'/', -1)) == wanted;
    }
    CloseArchive(zip);
    return found;
}

QString Joined(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

QString SuggestMissingFile(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty() || fileName.isEmpty())
        return {};
    QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    if (entries.size() > kMaxEntries)
        entries.resize(kMaxEntries);
    const QString wanted = Comparable(fileName);
    const QString wantedBase = BaseOf(wanted);
    for (const QString &entry : std::as_const(entries)) {
        if (entry != fileName && Comparable(entry) == wanted)
            return Joined(folder, entry);
    }
    QString package;
    for (const QString &entry : std::as_const(entries)) {
        const QString comparable = Comparable(entry);
        if (BaseOf(comparable) != wantedBase || comparable == wanted)
            continue;
        if (comparable.endsWith(u".zip"_s) && !wanted.endsWith(u".zip"_s)) {
            package = entry;
            continue;
        }
        return Joined(folder, entry);
    }
    if (!package.isEmpty() && ZipHolds(Joined(folder, package), wanted))
        return Joined(folder, package) + u':' + fileName;
    return {};
}

} // namespace velmora

#include "inspect/FileList.h"

#include "inspect/TextNumbers.h"
#include "platform/FileStatus.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {

QString JoinedPath(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QStringView LastComponent(const QString &path)
{
    return QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
}

} // namespace

int SplitFileList(const QString &list, QStringList &names)
{
    names = list.split(u';', Qt::SkipEmptyParts);
    return int(names.size());
}

bool FirstFileExists(const QString &folder, const QString &list)
{
    const QString first = list.section(u';', 0, 0);
    return !first.isEmpty() && QueryFileStatus(JoinedPath(folder, first));
}

bool FileExists(const QString &path)
{
    return !path.isEmpty() && QueryFileStatus(path);
}

QString FolderOf(const QString &path)
{
    const qsizetype lastSeparator = path.lastIndexOf(u'/');
    QString folder = lastSeparator < 0 ? QString() : path.left(lastSeparator + 1);
    while (folder.contains(u"//"_s))
        folder.replace(u"//"_s, u"/"_s);
    return folder;
}

QString BaseNameOf(const QString &path)
{
    const QStringView name = LastComponent(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return (dot < 0 ? name : name.first(dot)).toString();
}

QString ExtensionOf(const QString &path)
{
    const QStringView name = LastComponent(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.sliced(dot).toString();
}

bool HasEnding(const QString &name, QStringView ending)
{
    return QStringView(name).right(4).compare(ending, Qt::CaseInsensitive) == 0;
}

qsizetype CountChar(const QString &text, QChar ch)
{
    return text.count(ch);
}

int FindByNumber(const QStringList &lines, int number)
{
    int low = 0;
    int high = int(lines.size()) - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int found = LeadingInteger(lines.at(middle));
        if (number < found)
            high = middle - 1;
        else if (number == found)
            return middle;
        else
            low = middle + 1;
    }
    return -1;
}

QString LogSafePath(const QString &path)
{
    QString safe = path;
    safe.replace(u'%', u'?');
    return safe;
}

} // namespace velmora

#include "inspect/FileList.h"

namespace velmora {

using namespace Qt::Literals::StringLiterals;

int SplitFileList(const QString &list, QStringList &names)
{
    names = list.split(u';', Qt::SkipEmptyParts);
    return int(names.size());
}

QString FolderOf(const QString &path)
{
    const qsizetype lastSeparator = path.lastIndexOf(u'/');
    QString folder = lastSeparator < 0 ? QString() : path.left(lastSeparator + 1);
    while (folder.contains(u"//"_s))
        folder.replace(u"//"_s, u"/"_s);
    return folder;
}

QString LogSafePath(const QString &path)
{
    QString safe = path;
    safe.replace(u'%', u'?');
    return safe;
}

} // namespace velmora

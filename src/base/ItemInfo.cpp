#include "base/ItemInfo.h"

namespace velmora {

void _ITEMINFO::SetPath(const QString &path)
{
    szPath = path;
    strFullPath = path;
}

void _ITEMINFO::SetFileNames(const QStringList &names)
{
    astrFileNames = names;
    szFileName = names.join(u';');
}

QString _ITEMINFO::FullPath() const
{
    return strFullPath.isEmpty() ? szPath.Text() : strFullPath;
}

QStringList _ITEMINFO::FileNames() const
{
    if (!astrFileNames.isEmpty())
        return astrFileNames;
    return szFileName.Text().split(u';', Qt::SkipEmptyParts);
}

QStringList _ITEMINFO::FilePaths() const
{
    const QString path = FullPath();
    const QString folder = path.left(path.lastIndexOf(u'/') + 1);
    const QStringList names = FileNames();
    QStringList paths{path};
    for (qsizetype i = 1; i < names.size(); ++i)
        paths.append(folder + names.at(i));
    return paths;
}

} // namespace velmora

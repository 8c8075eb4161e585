#include "base/ItemInfo.h"

namespace velmora {

void _ITEMINFO::SetPath(const QString &path)
{
    szPath = path;
    strFullPath = path;
}

void _ITEMINFO::SetFileNames(const QStringList &names)
{
    // One name is shared with the caller's string rather than copied by a join.
    if (names.size() == 1)
        szFileName = names.first();
    else
        szFileName = names.join(u';');
    bOneFile = names.size() == 1 && names.first().size() <= szFileName.kMaxLength;
    astrFileNames = bOneFile ? QStringList() : names;
}

QString _ITEMINFO::FullPath() const
{
    return strFullPath.isEmpty() ? szPath.Text() : strFullPath;
}

QStringList _ITEMINFO::FileNames() const
{
    if (bOneFile)
        return {szFileName.Text()};
    if (!astrFileNames.isEmpty())
        return astrFileNames;
    return szFileName.Text().split(u';', Qt::SkipEmptyParts);
}

QString _ITEMINFO::FirstFileName() const
{
    if (bOneFile)
        return szFileName.Text();
    if (!astrFileNames.isEmpty())
        return astrFileNames.first();
    for (const QStringView part : QStringView(szFileName.Text()).tokenize(u';', Qt::SkipEmptyParts))
        return part.toString();
    return {};
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

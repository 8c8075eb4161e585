#include "widgets/MimeTypeSource.h"

#include "widgets/OwnMimeTypes.h"

#include <QMimeType>

namespace velmora {

using namespace Qt::Literals::StringLiterals;

namespace {
QStringList &IconList()
{
    static QStringList names;
    return names;
}
}

QString CMimeTypeSource::TypeNameOf(const QString &path)
{
    if (const SOwnMimeType *own = OwnMimeTypeOf(path))
        return QString::fromUtf16(own->szComment);
    const QMimeType type = m_database.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return {};
    QString comment = type.comment();
    if (!comment.isEmpty())
        comment[0] = comment.at(0).toUpper();
    return comment;
}

int CMimeTypeSource::IconIndexOf(const QString &path, bool isFolder, bool open)
{
    if (isFolder)
        return IndexOfIcon(open ? u"folder-open"_s : u"folder"_s);
    if (const SOwnMimeType *own = OwnMimeTypeOf(path))
        return IndexOfIcon(QString::fromUtf16(own->szIcon));
    const QMimeType type = m_database.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    return IndexOfIcon(type.isValid() ? type.iconName() : u"unknown"_s);
}

const QStringList &CMimeTypeSource::IconNames()
{
    return IconList();
}

int CMimeTypeSource::IndexOfIcon(const QString &name)
{
    QStringList &names = IconList();
    const qsizetype index = names.indexOf(name);
    if (index >= 0)
        return int(index);
    names.append(name);
    return int(names.size() - 1);
}

} // namespace velmora
